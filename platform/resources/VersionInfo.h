// Version records in the layout of Win32's VS_VERSIONINFO (blocks of length, value length,
// type, UTF-16 key, value and children, each on a 4-byte boundary), built by the resource
// packer and read with VerQueryValue's paths: "\" (the fixed record),
// "\VarFileInfo\Translation" (language in the low and code page in the high 16 bits of each
// entry) and "\StringFileInfo\<language><code page>\<key>" (UTF-16 text with its NUL).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace platform {

struct VersionSource {
  uint16_t fileVersion[4] = {0, 0, 0, 0};
  uint16_t productVersion[4] = {0, 0, 0, 0};
  uint16_t language = 0x0409;
  uint16_t codePage = 1200;
  std::vector<std::pair<std::wstring, std::wstring>> strings;  // e.g. {"FileVersion", "1.0"}
};

// Reads "key=value" lines: FILEVERSION and PRODUCTVERSION (upper case, as in a resource
// script; "FileVersion" is a text) as "a.b.c.d" or with commas,
// Translation as "0409 04B0" (hexadecimal), every other key a string value.
bool ParseVersionSource(const std::wstring& text, VersionSource& source);
std::vector<uint8_t> BuildVersionResource(const VersionSource& source);

// The value at `subBlock` (keys compared without regard to case) inside `size` bytes of a
// version record; false when there is none or the record is not sound. `length` is in
// bytes for "\" and the translation table, in UTF-16 units (NUL included) for texts.
bool VerQueryValue(const void* block, size_t size, const std::wstring& subBlock, const void** value,
                   uint32_t* length);
// A text value as wide text, up to its first NUL.
bool VerQueryString(const void* block, size_t size, const std::wstring& subBlock, std::wstring& text);

// The system's name of a language identifier ("English (United States)"): copies at most
// size - 1 characters and a NUL into buffer and returns the whole name's length, so a short
// buffer tells the length needed, as in Win32.
uint32_t VerLanguageName(uint32_t language, wchar_t* buffer, uint32_t size);

}  // namespace platform
