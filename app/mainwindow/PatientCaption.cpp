#include "app/mainwindow/PatientCaption.h"

namespace vistrel_main {

namespace {

TLabel* NewLabel(TWinControl* parent, const char* name, const std::wstring& caption, bool bold) {
  TLabel* label = new TLabel(parent);
  label->SetName(name);
  label->SetParent(parent);
  label->Font.SetHeight(-13);
  if (bold) label->Font.Style = fsBold;
  label->FontChanged();
  label->SetCaption(caption);
  return label;
}

TSpeedButton* NewButton(TWinControl* parent, const char* name, const wchar_t* caption) {
  TSpeedButton* button = new TSpeedButton(parent);
  button->SetName(name);
  button->SetParent(parent);
  button->Flat = true;
  button->SetCaption(caption);
  button->SetBounds(0, 2, 22, 22);
  button->SetVisible(false);
  return button;
}

}  // namespace

TfrmPatientInfo::TfrmPatientInfo(TComponent* owner) : TFrame(owner) {
  SetName("frmPatientInfo");
  SetBounds(0, 0, 600, 26);
  sbFirst = NewButton(this, "sbFirst", L"|<");
  sbPrevious = NewButton(this, "sbPrevious", L"<");
  sbNext = NewButton(this, "sbNext", L">");
  sbLast = NewButton(this, "sbLast", L">|");
  lblPatientTitle = NewLabel(this, "lblPatientTitle", PatientTitle, true);
  lblNameTitle = NewLabel(this, "lblNameTitle", L"Name:", false);
  lblName = NewLabel(this, "lblName", L"", true);
  lblIDTitle = NewLabel(this, "lblIDTitle", L"ID:", false);
  lblID = NewLabel(this, "lblID", L"", true);
  lblSexTitle = NewLabel(this, "lblSexTitle", L"Sex:", false);
  lblSex = NewLabel(this, "lblSex", L"", true);
  lblDOBTitle = NewLabel(this, "lblDOBTitle", L"Birth date:", false);
  lblDOB = NewLabel(this, "lblDOB", L"", true);
  for (TLabel* l : {lblNameTitle, lblName, lblIDTitle, lblID, lblSexTitle, lblSex, lblDOBTitle, lblDOB})
    l->SetVisible(false);
  ArrangeLabels();
}

void TfrmPatientInfo::SetPair(TLabel* title, TLabel* value, const std::wstring& text) {
  value->SetCaption(text);
  value->SetVisible(!text.empty());
  title->SetVisible(!text.empty());
}

void TfrmPatientInfo::SetPatientID(const std::wstring& text) { SetPair(lblIDTitle, lblID, text); }
void TfrmPatientInfo::SetPatientName(const std::wstring& text) { SetPair(lblNameTitle, lblName, text); }
void TfrmPatientInfo::SetPatientSex(const std::wstring& text) { SetPair(lblSexTitle, lblSex, text); }
void TfrmPatientInfo::SetBirthDate(const std::wstring& text) { SetPair(lblDOBTitle, lblDOB, text); }

void TfrmPatientInfo::SetPatientPosition(int count, int position) {
  std::wstring text = PatientTitle;
  if (count > 0 && position > 0) text += L" " + std::to_wstring(position) + L"/" + std::to_wstring(count) + L":";
  lblPatientTitle->SetCaption(text);
  ArrangeLabels();
}

void TfrmPatientInfo::ArrangeLabels() {
  int x = 4;
  for (TControl* c : std::initializer_list<TControl*>{sbFirst, sbPrevious, sbNext, sbLast}) {
    if (!c->Visible()) continue;
    c->SetBounds(x, 2, 22, 22);
    x += 24;
  }
  for (TLabel* l : {lblPatientTitle, lblNameTitle, lblName, lblIDTitle, lblID, lblSexTitle, lblSex, lblDOBTitle,
                    lblDOB}) {
    if (!l->Visible()) continue;
    l->SetLeft(x + 4);
    l->SetTop(5);
    x += 4 + l->Width() + (l == lblName || l == lblID || l == lblSex || l == lblPatientTitle ? 10 : 0);
  }
  SetWidth(x + 8);
}

TfrmMessagePanel::TfrmMessagePanel(TComponent* owner) : TFrame(owner) {
  SetName("frmMessagePanel");
  SetBounds(0, 0, 400, 20);
  lblMessage = NewLabel(this, "lblMessage", L"", false);
  lblMessage->SetBounds(4, 2, 380, 16);
}

void TfrmMessagePanel::SetMessage(const std::wstring& text) { lblMessage->SetCaption(text); }

}  // namespace vistrel_main
