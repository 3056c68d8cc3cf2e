#include "platform/vcl/Colors.h"

#include <cstdio>
#include <iterator>

#include "platform/vcl/SysUtils.h"

namespace {

struct NamedColor {
  const char* name;
  TColor color;
};

constexpr NamedColor kNames[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue}, {"clCream", clCream},
    {"clMedGray", clMedGray}, {"clScrollBar", clScrollBar}, {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption}, {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu}, {"clWindow", clWindow}, {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText}, {"clWindowText", clWindowText}, {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText}, {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText}, {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText}, {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight}, {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk}, {"clNone", clNone}, {"clDefault", clDefault}};

// The classic Windows palette for the system colours.
constexpr uint32_t kSystemRgb[] = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000,
    0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D,
    0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xE1FFFF};

}  // namespace

TColor StringToColor(const System::AnsiString& text) {
  for (const auto& entry : kNames)
    if (SameText(text, entry.name)) return entry.color;
  return StrToInt(text);
}

System::AnsiString ColorToString(TColor color) {
  for (const auto& entry : kNames)
    if (entry.color == color) return entry.name;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<uint32_t>(color));
  return buffer;
}

uint32_t ColorToRGB(TColor color) {
  if ((color & clSystemColor) == clSystemColor) {
    const auto index = static_cast<size_t>(color & 0xFF);
    return index < std::size(kSystemRgb) ? kSystemRgb[index] : 0;
  }
  return static_cast<uint32_t>(color) & 0xFFFFFF;
}
