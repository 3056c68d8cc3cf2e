#include "platform/resources/ResourceId.h"

#include <cwctype>

namespace platform {

ResourceId::ResourceId(const std::wstring& text) {
  if (text.size() > 1 && text[0] == L'#') {
    uint32_t value = 0;
    bool digits = true;
    for (size_t i = 1; i < text.size() && digits; ++i) {
      digits = text[i] >= L'0' && text[i] <= L'9';
      value = value * 10 + static_cast<uint32_t>(text[i] - L'0');
      digits = digits && value <= 0xFFFF;
    }
    if (digits && value != 0) {
      isId = true;
      id = static_cast<uint16_t>(value);
      return;
    }
  }
  name = text;
  for (auto& c : name)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
}

bool ResourceId::operator<(const ResourceId& other) const {
  if (isId != other.isId) return !isId;
  return isId ? id < other.id : name < other.name;
}

std::wstring ResourceId::Text() const { return isId ? L"#" + std::to_wstring(id) : name; }

}  // namespace platform
