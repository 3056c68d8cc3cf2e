#include "app/support/PropertiesBag.h"

#include "app/support/Utf16Text.h"
#include "platform/core/LastError.h"
#include "platform/text/CodePageConversion.h"

namespace app {

std::wstring DecodeResourceText(const void* data, uint32_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    std::string_view utf8(reinterpret_cast<const char*>(bytes) + 3, size - 3);
    utf8 = utf8.substr(0, utf8.find('\0'));
    std::wstring text;
    platform::MultiByteToWide(65001, utf8, text);
    return text;
  }
  // The mark U+FEFF is not part of the text.
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return Utf16LeToWide(bytes + 2, size - 2);
  return Utf16LeToWide(bytes, size);
}

TsgPropertiesBag<wchar_t>::TsgPropertiesBag() {
  prefix_ = L"UNICODE->";
  type_ = L"UNICODE";
}

std::wstring TsgPropertiesBag<wchar_t>::fLoadResource(HMODULE module, platform::ResourceHandle resource, int32_t) {
  const void* data = platform::LoadResource(module, resource);
  if (!data) {
    SetSystemError(prefix_ + L"fLoadResource: ");
    return {};
  }
  return DecodeResourceText(data, platform::SizeofResource(module, resource));
}

std::wstring TsgPropertiesBag<wchar_t>::Find(HMODULE module, const platform::ResourceId& name, int32_t codePage) {
  platform::ResourceHandle resource = platform::FindResource(module, name, platform::ResourceId(type_));
  if (!resource) {
    SetSystemError(prefix_ + L"AddString (name): ");
    return {};
  }
  return fLoadResource(module, resource, codePage);
}

std::wstring TsgPropertiesBag<wchar_t>::AddString(HMODULE module, const std::wstring& name, int32_t codePage) {
  return Find(module, platform::ResourceId(name), codePage);
}

std::wstring TsgPropertiesBag<wchar_t>::AddString(HMODULE module, uint16_t id, int32_t codePage) {
  return Find(module, platform::ResourceId(id), codePage);
}

}  // namespace app
