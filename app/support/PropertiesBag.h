// The localised text store: the UTF-16 texts of one resource type, collected from one or more
// resource modules and found by resource name or integer identifier.
#pragma once

#include <string>

#include "app/support/StringBasis.h"

namespace app {

template <class C>
class TsgPropertiesBag;

template <>
class TsgPropertiesBag<wchar_t> : public TStringBasis {
 public:
  TsgPropertiesBag();
  virtual std::wstring fLoadResource(HMODULE module, platform::ResourceHandle resource, int32_t codePage);
  std::wstring AddString(HMODULE module, const std::wstring& name, int32_t codePage) override;
  std::wstring AddString(HMODULE module, uint16_t id, int32_t codePage) override;

 private:
  std::wstring Find(HMODULE module, const platform::ResourceId& name, int32_t codePage);
};

// The text of a resource's bytes: UTF-16LE with an optional mark, up to the first NUL or the
// end of the data; data that starts with the UTF-8 mark is taken as UTF-8.
std::wstring DecodeResourceText(const void* data, uint32_t size);

}  // namespace app
