#include "app/startup/HintWindow.h"

#include "app/startup/TResourceInitialization.h"
#include "platform/com/Library.h"

namespace app {

TORNDynamicHints*& DynamicHints() {
  static TORNDynamicHints* hints = nullptr;
  return hints;
}

THintColors& HintColors() {
  static THintColors colors;
  return colors;
}

TORNHint::TORNHint(TComponent* owner) : THintWindow(owner), page_(std::make_unique<TsgPropertiesPage>()) {
  const std::wstring& text = HintPageText();
  if (!text.empty() && page_->Init(text, -1) && !page_->IsEmpty())
    rightToLeft_ = page_->GetAttribute<bool>(L"right_to_left", false, -1);
}

TORNHint::~TORNHint() = default;

std::wstring TORNHint::KeyOf(const std::wstring& hint, std::wstring& suffix) {
  std::wstring key = hint;
  suffix.clear();
  for (size_t i = 0; i < key.size(); ++i) {
    if (key[i] == L' ' || key[i] == L'/') key[i] = L'_';
    if (key[i] == L':') {
      suffix = key.substr(i);
      key.resize(i);
      break;
    }
  }
  return key;
}

std::wstring TORNHint::SuffixText(std::wstring suffix) {
  std::wstring result = L":";
  std::wstring segmentKey, segmentText;
  auto endSegment = [&](bool separator) {
    if (!segmentKey.empty() && page_->SeekChild(segmentKey))
      result += page_->GetChildAttribute<std::wstring>(L"value", segmentText, -1);
    else
      result += segmentText;
    if (separator) result += L"\\";
    segmentKey.clear();
    segmentText.clear();
  };
  const size_t length = suffix.size();
  for (size_t i = 0; i < length; ++i) {
    if (suffix[i] == L' ') suffix[i] = L'_';
    const wchar_t c = suffix[i];
    if (c == L':') continue;
    if (c == L'\\') {
      endSegment(true);
      if (i + 1 < length && suffix[i + 1] == L'\\') ++i;  // "\\" is one separator
      continue;
    }
    segmentKey += c;
    segmentText += c == L'_' ? L' ' : c;
  }
  endSegment(false);
  return result;
}

void TORNHint::SetHintText(const System::AnsiString& text) {
  if (PageLoaded()) {
    current_.clear();
    std::wstring suffix;
    const std::wstring key = KeyOf(platform::Utf8ToWide(text), suffix);
    const std::wstring suffixText = suffix.empty() ? std::wstring() : SuffixText(suffix);
    if (!key.empty() && page_->SeekChild(key)) current_ = page_->GetChildAttribute<std::wstring>(L"value", L"", -1);
    if (!current_.empty()) current_ += suffixText;
  }
  if (current_.empty() && DynamicHints())
    if (const wchar_t* hint = DynamicHints()->GetHint(text)) current_ = hint;
  THintWindow::SetHintText(text);
}

void TORNHint::FitTo(int width, int height) {
  if (width != Width() || height != Height()) SetBounds(Left(), Top(), width, height);
}

void TORNHint::Paint() {
  if (!PageLoaded()) {
    THintWindow::Paint();
    return;
  }
  TCanvas& canvas = *Canvas();
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Color = HintColors().Background;
  canvas.Font = Font;
  if (current_.empty()) {
    FitTo(canvas.TextWidth(Caption()) + 20, canvas.TextHeight(Caption()) + 10);
    canvas.FillRect(ClientRect());
    canvas.Font.Color = HintColors().Text;
    canvas.TextOut(10, 2, Caption());
    return;
  }
  canvas.Font.Color = HintColors().Text;
  const TPoint extent = canvas.TextExtent(current_);
  FitTo(extent.x + 20, extent.y + 10);
  canvas.FillRect(ClientRect());
  lastFlags_ = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | (rightToLeft_ ? DT_RTLREADING : 0);
  TRect rect = ClientRect();
  canvas.Brush.Style = bsClear;  // the text's background stays the fill
  DrawText(canvas, current_, rect, lastFlags_);
  canvas.Brush.Style = bsSolid;
}

void TORNHint::NCPaint() {
  TCanvas& canvas = *Canvas();
  canvas.Pen.Color = HintColors().Border;
  canvas.Brush.Style = bsClear;
  canvas.Rectangle(0, 0, Width(), Height());
  canvas.Brush.Style = bsSolid;
}

}  // namespace app
