// The in-memory copy of <program name>Base.ini: read once at start, looked up by exact section
// and key (letter case included) with a conversion and a default.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/vcl/SystemTypes.h"

namespace orn_ini {

template <class S>
class TsgBaseIni;

template <>
class TsgBaseIni<System::AnsiString> {
 public:
  using S = System::AnsiString;
  TsgBaseIni() = default;
  TsgBaseIni(const TsgBaseIni&) = delete;
  TsgBaseIni& operator=(const TsgBaseIni&) = delete;

  // True when the file named at least one section and the cache now holds one; a missing
  // file or a file without sections leaves the cache as it was.
  bool Load(const S& fileName);
  // StrToInt of the untrimmed value; the default when the entry is missing or does not convert.
  int32_t ReadInteger(const S& section, const S& key, int32_t fallback) const;
  // The value without blanks and control characters at its ends; the default when that is empty.
  S ReadString(const S& section, const S& key, const S& fallback) const;

 private:
  const S* Find(const S& section, const S& key) const;
  std::map<S, std::unique_ptr<std::map<S, S>>> sections_;
};

using BASE_INI_ANSI = TsgBaseIni<System::AnsiString>;

}  // namespace orn_ini
