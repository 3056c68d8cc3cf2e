// Text in a Windows code page to wide text and back, the work of Win32's MultiByteToWideChar
// and WideCharToMultiByte, done with iconv. Wide text holds Unicode code points (wchar_t is
// 32-bit here).
//
// Code pages and their converters:
//   0, 1252        CP1252 (0 is the ANSI code page of this platform); the five bytes CP1252
//                  leaves undefined (81 8D 8F 90 9D) map to U+0081... as on Windows
//   28591..28599   ISO-8859-1 .. ISO-8859-9
//   874            CP874 (Thai, TIS 620 with Windows' additions)
//   936            decoded as GB18030 (every GBK sequence gives the same character, and the
//                  four-byte sequences of GB18030 text come out instead of '?'); encoded as CP936
//   65001          UTF-8
//   50220..50222   decoded by one decoder, as Windows does: ISO-2022-JP-2 (ASCII, JIS X 0201
//                  Roman, JIS X 0208, JIS X 0212, ...) plus half-width katakana in all three
//                  forms: 8-bit bytes A1..DF, ESC ( I, and SO..SI. Encoded as ISO-2022-JP;
//                  half-width katakana as ESC ( I (50221), as SO..SI (50222), '?' (50220)
//   50225          decoded as EUC-KR after undoing the ISO-2022-KR wrapping (ESC $ ) C, SO..SI),
//                  so both forms read; encoded as ISO-2022-KR
//
// A conversion never fails on its input: bytes that do not decode become U+FFFD, characters
// the code page lacks become '?'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The iconv name used to decode a code page; nullptr for a code page this platform lacks.
const char* CodePageDecoderName(uint32_t codePage);

// False, with the last error InvalidParameter and an empty result, only for a code page
// this platform lacks.
bool MultiByteToWide(uint32_t codePage, std::string_view bytes, std::wstring& result);
bool WideToMultiByte(uint32_t codePage, std::wstring_view text, std::string& result);

}  // namespace platform
