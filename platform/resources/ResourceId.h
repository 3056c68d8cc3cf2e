// A resource type or name: an integer identifier (1 to 65535) or a text. Texts compare
// without regard to ASCII case, as Win32 compares resource names; "#123" names the
// identifier 123. The standard types keep Win32's numbers.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct ResourceId {
  ResourceId() = default;
  ResourceId(uint16_t id) : isId(true), id(id) {}  // NOLINT: an integer names an identifier
  ResourceId(const wchar_t* text) : ResourceId(std::wstring(text)) {}  // NOLINT
  ResourceId(const std::wstring& text);                                // NOLINT

  bool isId = false;
  uint16_t id = 0;
  std::wstring name;  // upper case

  bool operator==(const ResourceId& other) const {
    return isId == other.isId && (isId ? id == other.id : name == other.name);
  }
  // Named entries first in code-unit order, then identifiers ascending (Win32's order).
  bool operator<(const ResourceId& other) const;
  std::wstring Text() const;  // the name, or "#" and the identifier
};

namespace rt {
constexpr uint16_t Cursor = 1;
constexpr uint16_t Bitmap = 2;
constexpr uint16_t Icon = 3;
constexpr uint16_t RcData = 10;
constexpr uint16_t GroupCursor = 12;
constexpr uint16_t Version = 16;
}  // namespace rt

}  // namespace platform
