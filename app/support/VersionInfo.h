// The version records of the modules of the process: one record per module, each read once
// from the module's version resource; values the resource does not hold read "Unavailable".
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/resources/ResourceModule.h"

namespace app {

template <class S>
class TsgVersionInfo;

template <>
class TsgVersionInfo<std::wstring> {
 public:
  using S = std::wstring;
  explicit TsgVersionInfo(platform::ResourceModuleHandle module);
  virtual S FormatHex4(uint16_t value) const;
  virtual ~TsgVersionInfo() = default;

  std::vector<uint8_t> VersionData;
  S QueryPrefix = L"\\StringFileInfo\\040904E4";
  uint32_t Language = 0x0400;
  uint32_t CodePage;
  S LanguageName = L"Unavailable";
  S CompanyName = L"Unavailable";
  S FileDescription = L"Unavailable";
  S FileVersion = L"Unavailable";
  S InternalName = L"Unavailable";
  S LegalNotice = L"Unavailable";
  S FileNameAtBuild = L"Unavailable";
  S ProductName = L"Unavailable";
  S ProductVersion = L"Unavailable";
};

template <class S>
class TsgVersionInfoSet;

template <>
class TsgVersionInfoSet<std::wstring> {
 public:
  using S = std::wstring;
  TsgVersionInfoSet();
  virtual ~TsgVersionInfoSet() = default;
  // Replaces a record stored under the same key.
  virtual void AddModule(const S& path, platform::ResourceModuleHandle module);
  // The record under the key, else the executable's; throws std::range_error when neither is held.
  virtual TsgVersionInfo<S>* GetVersionInfo(const S& path);
  virtual S NextModuleName(bool fromStart);
  virtual void Clear();

  const S& ExecutablePath() const { return executablePath_; }

 private:
  S executablePath_;
  std::map<S, std::unique_ptr<TsgVersionInfo<S>>> records_;
  std::map<S, std::unique_ptr<TsgVersionInfo<S>>>::iterator position_;
};

}  // namespace app
