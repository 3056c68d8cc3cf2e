// The VCL's colour value: 0x00BBGGRR, or a system colour (0xFF000000 | the system colour
// index) that is resolved when drawn.
#pragma once

#include <cstdint>

#include "platform/vcl/SystemTypes.h"

using TColor = int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor clScrollBar = clSystemColor | 0, clBackground = clSystemColor | 1,
                 clActiveCaption = clSystemColor | 2, clInactiveCaption = clSystemColor | 3,
                 clMenu = clSystemColor | 4, clWindow = clSystemColor | 5,
                 clWindowFrame = clSystemColor | 6, clMenuText = clSystemColor | 7,
                 clWindowText = clSystemColor | 8, clCaptionText = clSystemColor | 9,
                 clActiveBorder = clSystemColor | 10, clInactiveBorder = clSystemColor | 11,
                 clAppWorkSpace = clSystemColor | 12, clHighlight = clSystemColor | 13,
                 clHighlightText = clSystemColor | 14, clBtnFace = clSystemColor | 15,
                 clBtnShadow = clSystemColor | 16, clGrayText = clSystemColor | 17,
                 clBtnText = clSystemColor | 18, clInactiveCaptionText = clSystemColor | 19,
                 clBtnHighlight = clSystemColor | 20, cl3DDkShadow = clSystemColor | 21,
                 cl3DLight = clSystemColor | 22, clInfoText = clSystemColor | 23,
                 clInfoBk = clSystemColor | 24;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF,
                 clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

// A colour identifier ("clNavy", "clBtnFace", any case) or, failing that, StrToInt of the
// text; throws EConvertError when neither reads.
TColor StringToColor(const System::AnsiString& text);
// The identifier of a named colour, else "$" and eight hexadecimal digits.
System::AnsiString ColorToString(TColor color);
// The 0x00BBGGRR value of a colour, system colours resolved to this platform's palette.
uint32_t ColorToRGB(TColor color);
