// Menu shortcuts: a 16-bit TShortCut is a virtual key with the modifier bits scShift, scCtrl
// and scAlt. The texts are the VCL's ("Ctrl+S", "Shift+Ctrl+F5", "Del", "PgUp").
#pragma once

#include <cstdint>

#include "platform/vcl/SystemTypes.h"

using TShortCut = uint16_t;

// The mouse buttons held down join the keys in the shift state of mouse events, as in the VCL.
enum TShiftStateBits : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = uint8_t;

constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "" for 0 and for keys without a name.
System::AnsiString ShortCutToText(TShortCut shortCut);
// Modifier prefixes in any order and case, then a key name; 0 for an unknown text.
TShortCut TextToShortCut(const System::AnsiString& text);
