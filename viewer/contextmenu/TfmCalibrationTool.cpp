#include "viewer/contextmenu/TfmCalibrationTool.h"

#include <algorithm>
#include <cstdio>

#include "platform/com/Library.h"
#include "platform/core/Clock.h"
#include "platform/vcl/SysUtils.h"

namespace {

constexpr uint16_t kVkReturn = 0x0D, kVkEscape = 0x1B, kVkUp = 0x26, kVkDown = 0x28;

// The text equals itself without leading and trailing blanks and control characters.
bool IsTrimmed(const std::string& text) { return Trim(text) == text; }

}  // namespace

// ---- the value frame ----

TfrmCalibrationEditor::TfrmCalibrationEditor(TComponent* owner) : TFrame(owner) {
  SetName("m_CalibrationTool");
  SetBounds(0, 0, 142, 26);
  edCalibrationValue = new TTntEdit(this);
  edCalibrationValue->SetName("edCalibrationValue");
  edCalibrationValue->SetParent(this);
  edCalibrationValue->SetBounds(2, 2, 84, 22);
  edCalibrationValue->Font.SetHeight(16);
  edCalibrationValue->FontChanged();
  sbMeasures = new TTntSpeedButton(this);
  sbMeasures->SetName("sbMeasures");
  sbMeasures->SetParent(this);
  sbMeasures->Flat = true;
  sbMeasures->SetBounds(88, 2, 36, 22);
  sbMeasures->SetCaption(L"inch");
  sbPopup = new TTntSpeedButton(this);
  sbPopup->SetName("sbPopup");
  sbPopup->SetParent(this);
  sbPopup->Flat = true;
  sbPopup->SetBounds(124, 2, 16, 22);
  sbPopup->SetCaption(L"\u25BE");
  sbPopup->OnClick = [this](TObject*) { ShowUnitMenu(); };
  mnuMeasures = new TTntPopupMenu(this);
  mnuMeasures->SetName("mnuMeasures");
  mnuMeasures->OwnerDraw = true;
  mnuMeasures->AutoHotkeys = false;
  edCalibrationValue->SetText(L"0.0");
  acceptedText_ = L"0.0";
  edCalibrationValue->OnChange = [this](TObject* sender) { edCalibrationValueChange(sender); };
}

TfrmCalibrationEditor::~TfrmCalibrationEditor() { ClearUnitItems(); }

System::WideString TfrmCalibrationEditor::FormatValue(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", value);
  std::string out = text;
  std::replace(out.begin(), out.end(), '.', FormatSettings.DecimalSeparator);
  return platform::Utf8ToWide(out);
}

void TfrmCalibrationEditor::SetValue(double value) {
  savedUnitCaption_ = unitCaption_;
  savedUnitKey_ = unitKey_;
  savedValue_ = value;
  edCalibrationValue->SetText(FormatValue(value));
  // Through the change handler the text becomes the accepted value.
}

void TfrmCalibrationEditor::Revert() {
  edCalibrationValue->SetText(FormatValue(savedValue_));
  unitCaption_ = savedUnitCaption_;
  unitKey_ = savedUnitKey_;
}

void TfrmCalibrationEditor::edCalibrationValueChange(TObject*) {
  if (reverting_) return;
  const std::string text = platform::WideToUtf8(edCalibrationValue->Text());
  if (text.empty()) {
    acceptedText_.clear();
    return;  // the accepted value stays
  }
  double number = 0.0;
  if (TryStrToFloat(text, number) && IsTrimmed(text)) {
    value_ = number;
    acceptedText_ = edCalibrationValue->Text();
    return;
  }
  // Undo: the last accepted text comes back.
  reverting_ = true;
  edCalibrationValue->SetText(acceptedText_);
  reverting_ = false;
}

void TfrmCalibrationEditor::ClearUnitItems() {
  for (TTntMenuItem* item : unitItems_) delete item;
  unitItems_.clear();
  unitKeys_.clear();
}

void TfrmCalibrationEditor::AddUnitItem(const System::WideString& caption, bool checked, const System::AnsiString& key) {
  auto* item = new TTntMenuItem(nullptr);
  item->SetCaption(caption);
  item->GroupIndex = 1;
  item->RadioItem = true;
  item->OnClick = [this](TObject* sender) { OnUnitItemClick(sender); };
  item->OnMeasureItem = [this](TObject*, TCanvas*, int& width, int& height) {
    width = itemWidth_;
    height = itemHeight_;
  };
  mnuMeasures->Items()->Add(item);
  item->SetChecked(checked);
  unitItems_.push_back(item);
  unitKeys_.push_back(key);
  if (checked) item->Click();
}

void TfrmCalibrationEditor::OnUnitItemClick(TObject* sender) {
  auto* item = static_cast<TTntMenuItem*>(sender);
  item->SetChecked(true);
  sbMeasures->SetCaption(item->Caption());
  unitCaption_ = item->Caption();
  const auto it = std::find(unitItems_.begin(), unitItems_.end(), item);
  if (it != unitItems_.end()) unitKey_ = unitKeys_[static_cast<size_t>(it - unitItems_.begin())];
}

void TfrmCalibrationEditor::ShowUnitMenu() {
  const TPoint p = sbPopup->ClientToScreen(Point(0, 0));
  const int x = std::max(p.x, 0);
  const int y = std::max(p.y + sbPopup->Height(), 0);
  mnuMeasures->Popup(x + sbPopup->Width() - itemWidth_, y);
}

// ---- the dialog ----

TfmCalibrationTool::TfmCalibrationTool(TComponent* owner) : TForm(owner) {
  SetName("fmCalibrationTool");
  SetBorderStyle(bsNone);
  SetColor(clSilver);
  KeyPreview = true;
  SetBounds(0, 0, 150, 78);
  pnlCalibrationHeader = new TTntPanel(this);
  pnlCalibrationHeader->SetName("pnlCalibrationHeader");
  pnlCalibrationHeader->SetParent(this);
  pnlCalibrationHeader->SetBounds(0, 0, 150, 11);
  pnlCalibrationHeader->SetColor(clBlack);
  pnlCalibrationHeader->SetCursor(crHandPoint);
  sbCancel = new TTntSpeedButton(this);
  sbCancel->SetName("sbCancel");
  sbCancel->SetParent(pnlCalibrationHeader);
  sbCancel->Flat = true;
  sbCancel->SetBounds(139, 0, 11, 11);
  sbCancel->SetCaption(L"x");
  Panel1 = new TTntPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetParent(this);
  Panel1->SetBounds(0, 11, 150, 34);
  m_CalibrationTool = new TfrmCalibrationEditor(this);
  m_CalibrationTool->SetParent(Panel1);
  m_CalibrationTool->SetBounds(4, 4, 142, 26);
  btnOk = new TTntButton(this);
  btnOk->SetName("btnOk");
  btnOk->SetParent(this);
  btnOk->SetBounds(4, 49, 68, 25);
  btnOk->SetCaption(L"OK");
  btnOk->Font.Style = fsBold;
  btnOk->FontChanged();
  btnCancel = new TTntButton(this);
  btnCancel->SetName("btnCancel");
  btnCancel->SetParent(this);
  btnCancel->SetBounds(78, 49, 68, 25);
  btnCancel->SetCaption(L"Cancel");
  ApplicationEvents1 = new TApplicationEvents(this);

  btnOk->OnClick = [this](TObject* s) { btnOkClick(s); };
  m_CalibrationTool->sbMeasures->OnClick = [this](TObject* s) { btnOkClick(s); };
  btnCancel->OnClick = [this](TObject* s) { sbCancelClick(s); };
  sbCancel->OnClick = [this](TObject* s) { sbCancelClick(s); };
  ApplicationEvents1->OnShortCut = [this](uint16_t key, TShiftState, bool& handled) { handled = HandleKey(key); };
  pnlCalibrationHeader->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != mbLeft) return;
    drag_ = GetCursorPos();
    dragging_ = true;
  };
  pnlCalibrationHeader->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { dragging_ = false; };
  pnlCalibrationHeader->OnMouseMove = [this](TObject*, TShiftState shift, int, int) {
    if (!dragging_ || !(shift & ssLeft)) return;
    const TPoint now = GetCursorPos();
    SetBounds(Left() + now.x - drag_.x, Top() + now.y - drag_.y, Width(), Height());
    drag_ = now;
    Repaint();
  };
}

TfmCalibrationTool::~TfmCalibrationTool() = default;

bool TfmCalibrationTool::HandleKey(uint16_t key) {
  switch (key) {
    case kVkReturn:
      btnOkClick(this);
      return true;
    case kVkEscape:
      sbCancelClick(this);
      return true;
    case kVkUp:
    case kVkDown:
      m_CalibrationTool->ShowUnitMenu();
      return true;
    default:
      return false;
  }
}

void TfmCalibrationTool::btnOkClick(TObject*) {
  if (m_CalibrationTool->edCalibrationValue->Text().empty()) m_CalibrationTool->SetValue(0.0);
  SetModalResult(mrOk);
}

void TfmCalibrationTool::sbCancelClick(TObject*) {
  m_CalibrationTool->Revert();
  SetModalResult(mrCancel);
  cancelled_ = true;
  Application->ProcessMessages();
  // A key still held (Esc repeating) must not reach whatever gets the focus next.
  platform::Sleep(400);
}
