#include "platform/vcl/ShortCuts.h"

#include "platform/vcl/SysUtils.h"

namespace {

System::AnsiString KeyName(uint16_t key) {
  switch (key) {
    case 0x08: return "BkSp";
    case 0x09: return "Tab";
    case 0x0D: return "Enter";
    case 0x1B: return "Esc";
    case 0x20: return "Space";
    case 0x21: return "PgUp";
    case 0x22: return "PgDn";
    case 0x23: return "End";
    case 0x24: return "Home";
    case 0x25: return "Left";
    case 0x26: return "Up";
    case 0x27: return "Right";
    case 0x28: return "Down";
    case 0x2D: return "Ins";
    case 0x2E: return "Del";
    default: break;
  }
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return System::AnsiString(1, static_cast<char>(key));
  if (key >= 0x60 && key <= 0x69) return "Num " + std::to_string(key - 0x60);
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);
  switch (key) {
    case 0x6A: return "Num *";
    case 0x6B: return "Num +";
    case 0x6D: return "Num -";
    case 0x6F: return "Num /";
    case 0xBB: return "=";
    case 0xBC: return ",";
    case 0xBD: return "-";
    case 0xBE: return ".";
    default: return {};
  }
}

}  // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
  if (key & 0xFF00) return 0;
  TShortCut result = key;
  if (shift & ssShift) result |= scShift;
  if (shift & ssCtrl) result |= scCtrl;
  if (shift & ssAlt) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = 0;
  if (shortCut & scShift) shift |= ssShift;
  if (shortCut & scCtrl) shift |= ssCtrl;
  if (shortCut & scAlt) shift |= ssAlt;
}

System::AnsiString ShortCutToText(TShortCut shortCut) {
  const System::AnsiString name = KeyName(shortCut & 0xFF);
  if (name.empty()) return {};
  System::AnsiString text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + name;
}

TShortCut TextToShortCut(const System::AnsiString& text) {
  System::AnsiString rest = text;
  TShortCut shift = 0;
  for (bool found = true; found;) {
    found = false;
    for (auto [prefix, bit] : {std::pair<const char*, TShortCut>{"Shift+", scShift},
                               {"Ctrl+", scCtrl}, {"Alt+", scAlt}}) {
      const System::AnsiString p = prefix;
      if (rest.size() > p.size() && SameText(rest.substr(0, p.size()), p)) {
        shift |= bit;
        rest = rest.substr(p.size());
        found = true;
      }
    }
  }
  for (uint16_t key = 0x08; key <= 0xFF; ++key)
    if (!KeyName(key).empty() && SameText(KeyName(key), rest)) return static_cast<TShortCut>(key | shift);
  return 0;
}
