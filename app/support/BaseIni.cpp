#include "app/support/BaseIni.h"

#include <filesystem>

#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TIniFile.h"

namespace orn_ini {

bool TsgBaseIni<System::AnsiString>::Load(const S& fileName) {
  std::error_code ec;
  if (fileName.empty() || !std::filesystem::is_regular_file(fileName, ec)) return false;
  TIniFile ini(fileName);
  TStringList names;
  ini.ReadSections(names);
  if (names.Count() == 0) return false;
  sections_.clear();
  for (int i = 0; i < names.Count(); ++i) {
    const S section = names.Strings[i];
    auto values = std::make_unique<std::map<S, S>>();
    TStringList keys;
    ini.ReadSection(section, keys);
    for (int k = 0; k < keys.Count(); ++k) {
      const S key = keys.Strings[k];
      (*values)[key] = ini.ReadString(section, key, "");
    }
    if (!values->empty()) sections_[section] = std::move(values);
  }
  return !sections_.empty();
}

const System::AnsiString* TsgBaseIni<System::AnsiString>::Find(const S& section, const S& key) const {
  auto s = sections_.find(section);
  if (s == sections_.end()) return nullptr;
  auto k = s->second->find(key);
  return k == s->second->end() ? nullptr : &k->second;
}

int32_t TsgBaseIni<System::AnsiString>::ReadInteger(const S& section, const S& key, int32_t fallback) const {
  const S* value = Find(section, key);
  int32_t number = 0;
  if (!value || !::TryStrToInt(*value, number)) return fallback;
  return number;
}

System::AnsiString TsgBaseIni<System::AnsiString>::ReadString(const S& section, const S& key,
                                                              const S& fallback) const {
  const S* value = Find(section, key);
  if (!value) return fallback;
  size_t begin = 0, end = value->size();
  while (begin < end && static_cast<unsigned char>((*value)[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>((*value)[end - 1]) <= 32) --end;
  if (begin == end) return fallback;
  return value->substr(begin, end - begin);
}

}  // namespace orn_ini
