#include "app/support/VersionInfo.h"

#include <stdexcept>

#include "app/support/ErrorGuard.h"
#include "platform/com/Library.h"
#include "platform/resources/VersionInfo.h"

namespace app {

TsgVersionInfo<std::wstring>::TsgVersionInfo(platform::ResourceModuleHandle module) : CodePage(GetACP()) {
  if (!module) return;
  platform::ResourceHandle resource = platform::FindResource(module, platform::ResourceId(uint16_t{1}),
                                                             platform::ResourceId(platform::rt::Version));
  if (!resource) return;
  const void* data = platform::LoadResource(module, resource);
  const uint32_t size = platform::SizeofResource(module, resource);
  if (!data || size == 0) return;
  // The copy is kept with NUL bytes after it; its size is taken in 64 bits, so no size
  // overflows the buffer arithmetic.
  VersionData.assign(2 * (static_cast<size_t>(size) + 4), 0);
  std::copy_n(static_cast<const uint8_t*>(data), size, VersionData.begin());

  S languagePart = L"0409", codePagePart = L"04E4";
  const void* value = nullptr;
  uint32_t length = 0;
  if (platform::VerQueryValue(VersionData.data(), size, L"\\VarFileInfo\\Translation", &value, &length) && value &&
      length >= 4) {
    const auto* entry = static_cast<const uint8_t*>(value);
    Language = entry[0] | (entry[1] << 8);
    CodePage = entry[2] | (entry[3] << 8);
    languagePart = FormatHex4(static_cast<uint16_t>(Language));
    codePagePart = FormatHex4(static_cast<uint16_t>(CodePage));
    wchar_t probe[9] = {};
    const uint32_t needed = platform::VerLanguageName(Language, probe, 9);
    std::vector<wchar_t> name(static_cast<size_t>(needed) + 1, L'\0');
    if (platform::VerLanguageName(Language, name.data(), needed + 1) != 0) LanguageName = name.data();
  }
  QueryPrefix = L"\\StringFileInfo\\" + languagePart + codePagePart + L"\\";
  const std::pair<const wchar_t*, S*> keys[] = {
      {L"CompanyName", &CompanyName},       {L"FileDescription", &FileDescription},
      {L"FileVersion", &FileVersion},       {L"InternalName", &InternalName},
      {L"LegalCopyright", &LegalNotice},    {L"OriginalFilename", &FileNameAtBuild},
      {L"ProductName", &ProductName},       {L"ProductVersion", &ProductVersion}};
  for (const auto& [key, field] : keys) {
    S text;
    if (platform::VerQueryString(VersionData.data(), size, QueryPrefix + key, text)) *field = text.substr(0, text.find(L'\0'));
  }
}

std::wstring TsgVersionInfo<std::wstring>::FormatHex4(uint16_t value) const {
  static const wchar_t digits[] = L"0123456789ABCDEF";
  S text;
  do {
    text.insert(text.begin(), digits[value & 0xF]);
    value = static_cast<uint16_t>(value >> 4);
  } while (value != 0);
  while (text.size() < 4) text.insert(text.begin(), L'0');
  return text;
}

TsgVersionInfoSet<std::wstring>::TsgVersionInfoSet() {
  executablePath_ = platform::ModuleFileNameW();
  if (!executablePath_.empty()) AddModule(executablePath_, platform::ExecutableModule());
  position_ = records_.begin();
}

void TsgVersionInfoSet<std::wstring>::AddModule(const S& path, platform::ResourceModuleHandle module) {
  records_[path] = std::make_unique<TsgVersionInfo<S>>(module);
}

TsgVersionInfo<std::wstring>* TsgVersionInfoSet<std::wstring>::GetVersionInfo(const S& path) {
  auto it = records_.find(path);
  if (it == records_.end()) it = records_.find(executablePath_);
  if (it == records_.end()) throw std::range_error("Error getting version info!");
  return it->second.get();
}

std::wstring TsgVersionInfoSet<std::wstring>::NextModuleName(bool fromStart) {
  if (fromStart)
    position_ = records_.begin();
  else if (position_ != records_.end())
    ++position_;
  return position_ == records_.end() ? S() : position_->first;
}

void TsgVersionInfoSet<std::wstring>::Clear() {
  records_.clear();
  position_ = records_.end();
}

}  // namespace app
