// What the navigator takes from the main window and the start-up record: the GUI scale
// factor, the fonts, the colours by name and the texts of two GUI pages. The main window
// passes its own; tests pass defaults or their own values.
#pragma once

#include <functional>
#include <string>

#include "platform/vcl/Graphics.h"

namespace ORN_browser {

struct TNavigatorStyle {
  double Scale = 1.0;  // whole-number GUI scale factor
  TFont DefaultFont;   // "fntDefault"
  TFont GridFont;      // "fntGrid"
  TFont TitleFont;     // "fntTitle"
  TFont FooterFont;    // "fntFooter"
  // A colour by name, or the fallback when the colours have none of that name.
  std::function<TColor(const std::string& name, TColor fallback)> Colors;
  // The XML texts of the pages GUI_STRINGS and GUI_IMAGES; empty when there is none.
  std::string GuiStrings;
  std::string GuiImages;
  // Loads a bitmap resource of the images module into the bitmap; false when there is none.
  std::function<bool(const std::string& name, TBitmap& bitmap)> LoadImage;

  TColor Color(const std::string& name, TColor fallback) const { return Colors ? Colors(name, fallback) : fallback; }
  // A value scaled by the factor, truncated toward zero.
  int Scaled(int value) const { return static_cast<int>(value * Scale); }

  TNavigatorStyle() {
    DefaultFont.Name = GridFont.Name = TitleFont.Name = FooterFont.Name = "MS Sans Serif";
    DefaultFont.SetHeight(-11);
    GridFont.SetHeight(-11);
    TitleFont.SetHeight(-11);
    TitleFont.Style = fsBold;
    FooterFont.SetHeight(-11);
  }
};

// Reads the "value" attribute of each named child of a GUI page text (UTF-8): for a
// child that exists the target takes the attribute (empty when it has none); a missing page
// or child leaves the target. `suffix` follows every value taken.
struct TGuiText {
  const wchar_t* key;
  std::wstring* target;
  const wchar_t* suffix = L"";
};
void ApplyGuiStrings(const std::string& page, std::initializer_list<TGuiText> texts);
// One attribute of one child of a GUI page: found is set when the page and the child exist
// (value then empty when the attribute is missing).
void ReadGuiAttribute(const std::string& page, const wchar_t* child, const wchar_t* attribute, std::wstring& value,
                      bool& found);

}  // namespace ORN_browser
