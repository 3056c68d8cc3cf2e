#include "viewer/contextmenu/TfmEditor.h"

#include <algorithm>

#include "platform/core/Clock.h"
#include "platform/windows/Messages.h"
#include "viewer/engine/EngineMessages.h"

namespace {

constexpr uint16_t kVkReturn = 0x0D, kVkEscape = 0x1B;
constexpr int kMinWidth = 150, kMaxWidth = 300, kMinHeight = 72;

// Hebrew and Arabic letters (and their presentation forms) read right to left.
bool IsRightToLeft(wchar_t c) {
  return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF);
}

}  // namespace

TfmEditor::TfmEditor(TComponent* owner) : TForm(owner) {
  SetName("fmEditor");
  SetBorderStyle(bsNone);
  SetBounds(0, 0, 225, 72);
  pnlBack = new TTntPanel(this);
  pnlBack->SetParent(this);
  pnlBack->SetColor(clWhite);
  pnlBack->SetAlign(alClient);
  pnlMain = new TTntPanel(this);
  pnlMain->SetParent(pnlBack);
  pnlMain->SetBounds(2, 2, 221, 68);
  pnlMain->Anchors = akLeft | akTop | akRight | akBottom;
  pnlRightSize = new TTntPanel(this);
  pnlRightSize->SetParent(pnlMain);
  pnlRightSize->SetWidth(6);
  pnlRightSize->SetAlign(alRight);
  pnlRightSize->SetCursor(crHSplit);
  pnlEditor = new TTntPanel(this);
  pnlEditor->SetParent(pnlMain);
  pnlEditor->SetAlign(alClient);
  pnlHeader = new TTntPanel(this);
  pnlHeader->SetName("pnlHeader");
  pnlHeader->SetParent(pnlEditor);
  pnlHeader->SetHeight(11);
  pnlHeader->SetAlign(alTop);
  pnlHeader->SetColor(clBlack);
  pnlHeader->SetCursor(crHandPoint);
  btnClose = new TTntSpeedButton(this);
  btnClose->SetParent(pnlHeader);
  btnClose->Flat = true;
  btnClose->SetWidth(11);
  btnClose->SetAlign(alRight);
  btnClose->SetCaption(L"x");
  pnlTools = new TTntPanel(this);
  pnlTools->SetParent(pnlEditor);
  pnlTools->SetHeight(32);
  pnlTools->SetAlign(alBottom);
  pnlTools->SetColor(clSilver);
  lblKbdLayout = new TTntLabel(this);
  lblKbdLayout->SetParent(pnlTools);
  lblKbdLayout->SetBounds(4, 9, 60, 14);
  lblKbdLayout->Font.Style = fsBold;
  lblKbdLayout->FontChanged();
  lblKbdLayout->SetCaption(L"unknown");
  btnOK = new TTntButton(this);
  btnOK->SetName("btnOK");
  btnOK->SetParent(pnlTools);
  btnOK->SetBounds(70, 4, 64, 24);
  btnOK->Anchors = akTop | akRight;
  btnOK->SetCaption(L"OK");
  btnOK->Font.Style = fsBold;
  btnOK->FontChanged();
  btnCancel = new TTntButton(this);
  btnCancel->SetName("btnCancel");
  btnCancel->SetParent(pnlTools);
  btnCancel->SetBounds(138, 4, 64, 24);
  btnCancel->Anchors = akTop | akRight;
  btnCancel->SetCaption(L"Cancel");
  Panel1 = new TTntPanel(this);
  Panel1->SetParent(pnlEditor);
  Panel1->SetAlign(alClient);
  memEditor = new TTntMemo(this);
  memEditor->SetName("memEditor");
  memEditor->SetParent(Panel1);
  memEditor->SetAlign(alClient);
  memEditor->Font.SetHeight(16);
  memEditor->FontChanged();
  ApplicationEvents1 = new TApplicationEvents(this);
  AlignControls();
  baseMemoHeight_ = std::max(memEditor->Height(), 1);

  btnOK->OnClick = [this](TObject*) { SetModalResult(mrOk); };
  btnCancel->OnClick = [this](TObject*) { CancelEdit(); };
  btnClose->OnClick = [this](TObject*) { CancelEdit(); };
  memEditor->OnChange = [this](TObject*) { FitHeightToLines(); };
  ApplicationEvents1->OnShortCut = [this](uint16_t key, TShiftState shift, bool& handled) {
    handled = HandleKey(key, shift);
  };
  OnShow = [this](TObject*) {
    memEditor->SelectAll();
    FitHeightToLines();
  };
  auto press = [this](TObject*, TMouseButton button, TShiftState, int, int) {
    if (button == mbLeft) drag_ = GetCursorPos();
  };
  pnlHeader->OnMouseDown = press;
  pnlRightSize->OnMouseDown = press;
  pnlHeader->OnMouseMove = [this](TObject*, TShiftState shift, int, int) {
    if (!(shift & ssLeft)) return;
    const TPoint now = GetCursorPos();
    SetBounds(Left() + now.x - drag_.x, Top() + now.y - drag_.y, Width(), Height());
    drag_ = now;
    Repaint();
  };
  pnlRightSize->OnMouseMove = [this](TObject*, TShiftState shift, int, int) {
    if (!(shift & ssLeft)) return;
    const TPoint now = GetCursorPos();
    SetWidth(std::clamp(Width() + now.x - drag_.x, kMinWidth, kMaxWidth));
    FitHeightToLines();
    drag_ = now;
    Repaint();
  };
  WindowProc = [this](uint32_t message, platform::WParam, platform::LParam lParam) -> platform::LResult {
    if (message == platform::kWmCopyData) OnTextReceived(reinterpret_cast<const platform::CopyDataStruct*>(lParam));
    return 0;
  };
}

TfmEditor::~TfmEditor() = default;

void TfmEditor::SetMemoReadOnly(bool on) {
  readOnly_ = on;
  memEditor->SetReadOnly(on);
}

void TfmEditor::SetText(const System::WideString& text) {
  restore_ = text;
  memEditor->SetText(text);
}

void TfmEditor::SetSource(platform::WindowHandle engine, uint32_t requestCode, uint32_t replyCode) {
  replyCode_ = replyCode;
  platform::PostMessage(engine, requestCode, 0, static_cast<platform::LParam>(Handle()));
  SetMemoReadOnly(true);
}

void TfmEditor::OnTextReceived(const platform::CopyDataStruct* record) {
  if (record && record->dwData == replyCode_ && record->cbData != 0 && record->lpData) {
    const auto* bytes = static_cast<const uint8_t*>(record->lpData);
    std::wstring text;
    for (uint32_t i = 0; i + 1 < record->cbData; i += 2) {
      const wchar_t c = static_cast<wchar_t>(bytes[i] | bytes[i + 1] << 8);
      if (c == 0) break;  // a NUL ends the text
      text += c;
    }
    SetText(text);
    received_ = true;
    rightToLeft_ = !text.empty() && IsRightToLeft(text[0]);
  }
  SetMemoReadOnly(false);
  memEditor->SelectAll();
}

bool TfmEditor::HandleKey(uint16_t key, TShiftState shift) {
  if (key == kVkReturn && !(shift & ssCtrl)) {
    SetModalResult(mrOk);
    return true;
  }
  if (key == kVkEscape) {
    CancelEdit();
    return true;
  }
  return false;
}

void TfmEditor::CancelEdit() {
  SetModalResult(mrCancel);
  memEditor->SetText(restore_);
  cancelled_ = true;
  Application->ProcessMessages();
  const bool wasReadOnly = readOnly_;
  SetMemoReadOnly(true);
  platform::Sleep(400);
  SetMemoReadOnly(wasReadOnly);
}

void TfmEditor::FitHeightToLines() {
  const int lines = std::max(memEditor->LineCount(), 1);
  TCanvas canvas;
  canvas.Font = memEditor->Font;
  const int h = canvas.TextHeight(L"M");
  if (h <= 0) return;
  const int height = lines * h + pnlTools->Height() + pnlHeader->Height() + (Height() - pnlMain->Height()) +
                     (baseMemoHeight_ - h);
  SetHeight(std::max(height, kMinHeight));
}
