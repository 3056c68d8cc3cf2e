#include "app/widgets/ItemPainter.h"

#include "app/widgets/GradientFill.h"
#include "platform/vcl/Forms.h"

namespace app {

namespace {

struct ColorKey {
  const char* key;
  TColor paintDefault;
  const char* guiName;  // null: never loaded
  TColor loadDefault;
};

// The painter's keys with their painting defaults and the GUI colours that fill them.
constexpr ColorKey kColorKeys[] = {
    {"hdr_normal", 0x00FFFF, "popup_header_normal", 0x404040},
    {"hdr_disabled", 0x00FFFF, "popup_header_disabled", 0x404040},
    {"hdr_hotchecked", 0xF0CAA6, "popup_header_hotchecked", 0x000000},
    {"hdr_hot", 0x0000FF, "popup_header_hot", 0x000000},
    {"hdr_checked", 0x00FFFF, "popup_header_checked", 0x808080},
    {"base_normal", 0xFFFFFF, "popup_back_normal", 0x404040},
    {"base_disabled", 0xFFFFFF, "popup_back_disabled", 0x404040},
    {"base_hotchecked", 0xF0CAA6, "popup_back_hotchecked", 0x000000},
    {"base_hot", 0xFF0000, "popup_back_hot", 0x000000},
    {"base_checked", 0xFFFFFF, "popup_back_checked", 0x808080},
    {"text_normal", 0x000000, "popup_text_normal", 0xC0C0C0},
    {"text_disabled", 0x808080, "popup_text_disabled", 0x808080},
    {"text_hotchecked", 0xFFFFFF, "popup_text_hotchecked", 0xFFFFFF},
    {"text_hot", 0xFFFFFF, "popup_text_hot", 0xFFFFFF},
    {"text_checked", 0x000000, nullptr, 0},
};

TColor PaintDefault(const std::string& key) {
  for (const auto& k : kColorKeys)
    if (key == k.key) return k.paintDefault;
  return 0;
}

}  // namespace

TItemStateClass StateClassOf(TOwnerDrawState state) {
  if (state & (odDisabled | odGrayed)) return TItemStateClass::Disabled;
  if ((state & odChecked) && (state & odSelected)) return TItemStateClass::HotChecked;
  if (state & odSelected) return TItemStateClass::Hot;
  if (state & odChecked) return TItemStateClass::Checked;
  return TItemStateClass::Normal;
}

const char* StateClassName(TItemStateClass stateClass) {
  switch (stateClass) {
    case TItemStateClass::Disabled: return "disabled";
    case TItemStateClass::HotChecked: return "hotchecked";
    case TItemStateClass::Hot: return "hot";
    case TItemStateClass::Checked: return "checked";
    case TItemStateClass::Normal: break;
  }
  return "normal";
}

template <class TFontT, class TColorT>
TsgItemPainter<TFontT, TColorT>::TsgItemPainter()
    : markWidth_(GetSystemMetrics(SM_CXMENUCHECK)), markHeight_(GetSystemMetrics(SM_CYMENUCHECK)) {}

template <class TFontT, class TColorT>
TsgItemPainter<TFontT, TColorT>::~TsgItemPainter() = default;

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::SetFont(const std::string& name, int height, bool bold, bool italic,
                                              bool strikeOut, bool underline) {
  if (!font_) font_ = std::make_unique<TFontT>();
  font_->Name = name;
  font_->SetHeight(height);
  font_->Style = static_cast<TFontStyles>((bold ? fsBold : 0) | (italic ? fsItalic : 0) |
                                          (strikeOut ? fsStrikeOut : 0) | (underline ? fsUnderline : 0));
}

template <class TFontT, class TColorT>
TColorT TsgItemPainter<TFontT, TColorT>::LookupColor(const std::string& key, TColorT fallback) {
  auto it = colors_.find(key);
  if (it != colors_.end()) return it->second;
  colors_[key] = fallback;
  return fallback;
}

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::DrawBands(TCanvas* canvas, const TRect& rect, TColorT normal,
                                                TColorT stateColor) {
  const int h = rect.Bottom - rect.Top;
  TsgRectangleGradientFill upper, lower;
  upper.SetBounds(rect.Left, rect.Top, rect.Width(), h / 3);
  upper.FillVertical(canvas, normal, stateColor);
  lower.SetBounds(rect.Left, rect.Top + (2 * h) / 3, rect.Width(), h - (2 * h) / 3);
  lower.FillVertical(canvas, stateColor, normal);
}

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::DrawBackground(TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
  const TColorT normalHeader = LookupColor("hdr_normal", 0x00FFFF);
  const TColorT normalBase = LookupColor("base_normal", 0xFFFFFF);
  TColorT header = normalHeader, base = normalBase;
  const TItemStateClass stateClass = StateClassOf(state);
  if (stateClass != TItemStateClass::Normal) {
    const std::string name = StateClassName(stateClass);
    header = LookupColor("hdr_" + name, PaintDefault("hdr_" + name));
    base = LookupColor("base_" + name, PaintDefault("base_" + name));
  }
  canvas->Brush.Color = base;
  canvas->FillRect(rect);
  const TRect stripe = Rect(rect.Left, rect.Top, headerWidth_, rect.Bottom);
  canvas->Brush.Color = header;
  canvas->FillRect(stripe);
  if (gradient_) {
    DrawBands(canvas, rect, normalBase, base);
    DrawBands(canvas, stripe, normalHeader, header);
  }
}

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::DrawBitmap(TCanvas* canvas, const TRect& rect, TOwnerDrawState state,
                                                 const TsgBitmapSet<TBitmap>* pictures) {
  if (!pictures || pictures->GetCount() == 0) return;
  TBitmap picture;
  pictures->GetBitmap("normal", &picture);
  const TItemStateClass stateClass = StateClassOf(state);
  if (stateClass != TItemStateClass::Normal) pictures->GetBitmap(StateClassName(stateClass), &picture);
  if (picture.Empty()) return;
  picture.TransparentMode = tmAuto;
  picture.Transparent = true;
  canvas->Draw(rect.Left + bitmapOffset_, rect.Top + (rect.Height() - picture.Height()) / 2, picture);
}

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::MarkPosition(const TRect& rect, int w, int h, int& x, int& y) const {
  x = rect.Left + (headerWidth_ - rect.Left - w) / 2;
  y = rect.Top + (rect.Height() - h) / 2;
}

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::DrawCheckMark(TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
  if (!(state & odChecked)) return;
  TBitmap mark;
  if (!LoadSystemBitmap(OBM_CHECK, mark)) return;
  mark.TransparentMode = tmAuto;
  mark.Transparent = true;
  int x, y;
  MarkPosition(rect, mark.Width(), mark.Height(), x, y);
  canvas->Draw(x, y, mark);
}

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::DrawRadioMark(TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
  const TColorT text = TextColor(state);
  if (!(state & odChecked)) return;
  TBitmap mark;
  mark.SetSize(markWidth_, markHeight_);
  TCanvas* c = mark.Canvas();
  c->Brush.Color = 0xFF00FF;
  c->FillRect(Rect(0, 0, mark.Width(), mark.Height()));
  c->Pen.Color = text;
  c->Brush.Color = text;
  const int w = mark.Width(), h = mark.Height();
  c->Ellipse(w / 2 - 3, h / 2 - 3, w / 2 + 3, h / 2 + 3);
  mark.TransparentMode = tmAuto;
  mark.Transparent = true;
  int x, y;
  MarkPosition(rect, w, h, x, y);
  canvas->Draw(x, y, mark);
}

template <class TFontT, class TColorT>
TColorT TsgItemPainter<TFontT, TColorT>::TextColor(TOwnerDrawState state) {
  TColorT color = LookupColor("text_normal", 0x000000);
  const TItemStateClass stateClass = StateClassOf(state);
  if (stateClass != TItemStateClass::Normal) {
    const std::string key = std::string("text_") + StateClassName(stateClass);
    color = LookupColor(key, PaintDefault(key));
  }
  return color;
}

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::DrawCaption(TCanvas* canvas, const TRect& rect, TOwnerDrawState state,
                                                  const std::wstring& text) {
  canvas->Font.Color = TextColor(state);
  TRect area = Rect(rect.Left + headerWidth_ + textMargin_, rect.Top, rect.Right, rect.Bottom);
  DrawText(*canvas, text, area, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
}

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::DrawShortcut(TCanvas* canvas, const TRect& rect, TOwnerDrawState state,
                                                   const std::wstring& text) {
  canvas->Font.Color = TextColor(state);
  TRect area = Rect(rect.Right - shortcutColumn_ - rightMargin_, rect.Top, rect.Right, rect.Bottom);
  DrawText(*canvas, text, area, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
}

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::DrawSubmenuArrow(TCanvas* canvas, const TRect& rect) {
  TBitmap arrow;
  if (!LoadSystemBitmap(OBM_MNARROW, arrow)) return;
  arrow.TransparentMode = tmAuto;
  arrow.Transparent = true;
  canvas->Draw(rect.Right - arrow.Width(), rect.Top, arrow);
}

template <class TFontT, class TColorT>
void TsgItemPainter<TFontT, TColorT>::DrawDivider(TCanvas* canvas, const TRect& rect) {
  const TColorT header = LookupColor("hdr_normal", 0x00FFFF);
  const TColorT base = LookupColor("base_normal", 0xFFFFFF);
  canvas->Brush.Color = base;
  canvas->FillRect(rect);
  canvas->Brush.Color = header;
  canvas->FillRect(Rect(rect.Left, rect.Top, headerWidth_, rect.Bottom));
  canvas->Pen.Color = clSilver;
  const int y = rect.Top + (rect.Bottom - rect.Top) / 2;
  canvas->MoveTo(rect.Left, y);
  canvas->LineTo(rect.Right, y);
}

template class TsgItemPainter<TFont, TColor>;

void TVCLItemPainter::LoadColors(iWIDGET_RESOURCES* resources) {
  if (!resources) return;
  colors_.clear();
  for (const auto& k : kColorKeys)
    if (k.guiName) colors_[k.key] = resources->GetColor(k.guiName, k.loadDefault);
}

}  // namespace app
