// Paints the items of an owner-drawn popup menu in two columns: a header stripe on the left
// (the item's picture or its check or radio mark) and the text area (caption, and the
// shortcut text at the right). Colours come from a table by key with painting defaults;
// `TVCLItemPainter::LoadColors` fills the table from the GUI colours.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "app/widgets/BitmapSet.h"
#include "app/widgets/WidgetResources.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"

namespace app {

// The five state classes of an item; their names are also picture names and key endings.
enum class TItemStateClass { Disabled, HotChecked, Hot, Checked, Normal };
TItemStateClass StateClassOf(TOwnerDrawState state);
const char* StateClassName(TItemStateClass stateClass);

template <class TFontT, class TColorT>
class TsgItemPainter {
 public:
  TsgItemPainter();
  virtual ~TsgItemPainter();
  TsgItemPainter(const TsgItemPainter&) = delete;
  TsgItemPainter& operator=(const TsgItemPainter&) = delete;

  virtual void SetFont(const std::string& name, int height, bool bold, bool italic, bool strikeOut, bool underline);
  virtual int GetBitmapOffset() const { return bitmapOffset_; }
  virtual int GetTextMargin() const { return textMargin_; }
  virtual int GetShortcutGap() const { return shortcutGap_; }
  virtual void FitShortcutWidth(int width) { shortcutColumn_ = std::max(shortcutColumn_, width); }
  virtual int GetHeaderWidth() const { return headerWidth_; }
  virtual void FitHeaderWidth(int width) { headerWidth_ = std::max(headerWidth_, width); }
  virtual int GetRightMargin() const { return rightMargin_; }
  virtual int GetDividerHeight() const { return dividerHeight_; }
  virtual TFontT* GetFont() const { return font_.get(); }
  virtual void SetGradient(bool on) { gradient_ = on; }

  void DrawBackground(TCanvas* canvas, const TRect& rect, TOwnerDrawState state);
  void DrawBitmap(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, const TsgBitmapSet<TBitmap>* pictures);
  void DrawCheckMark(TCanvas* canvas, const TRect& rect, TOwnerDrawState state);
  void DrawRadioMark(TCanvas* canvas, const TRect& rect, TOwnerDrawState state);
  void DrawCaption(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, const std::wstring& text);
  void DrawShortcut(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, const std::wstring& text);
  void DrawSubmenuArrow(TCanvas* canvas, const TRect& rect);
  void DrawDivider(TCanvas* canvas, const TRect& rect);
  // The colour of a key; a missing key takes the default, which is then kept.
  TColorT LookupColor(const std::string& key, TColorT fallback);

  int GetShortcutColumn() const { return shortcutColumn_; }
  int GetMarkWidth() const { return markWidth_; }
  int GetMarkHeight() const { return markHeight_; }

 protected:
  std::map<std::string, TColorT> colors_;

 private:
  void MarkPosition(const TRect& rect, int w, int h, int& x, int& y) const;
  TColorT TextColor(TOwnerDrawState state);
  void DrawBands(TCanvas* canvas, const TRect& rect, TColorT normal, TColorT stateColor);

  bool gradient_ = false;
  int shortcutGap_ = 0;
  int textMargin_ = 5;
  int headerWidth_ = 20;
  int rightMargin_ = 15;
  int bitmapOffset_ = 3;
  int dividerHeight_ = 10;
  int markWidth_;
  int markHeight_;
  int shortcutColumn_ = 0;
  std::unique_ptr<TFontT> font_;
};

class TVCLItemPainter : public TsgItemPainter<TFont, TColor> {
 public:
  // Fills the colour table from the GUI colours; null changes nothing.
  virtual void LoadColors(iWIDGET_RESOURCES* resources);
};

}  // namespace app
