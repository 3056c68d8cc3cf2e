#include "fileset/settings/dicom_file_set_ini.h"

#include <memory>

#include "platform/files/FileAttributes.h"
#include "platform/process/Process.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TIniFile.h"
#include "platform/vcl/TStringList.h"

namespace ORN_dicomdir {
namespace {

constexpr char kIniName[] = "ORNDicomFileSet.ini";
constexpr char kConditionSection[] = "IGNORE STACK_ID OF ENCHANCED SERIES";
constexpr char kStacksSection[] = "STACKS";
constexpr char kSeriesSection[] = "SERIES";

bool FileExists(const std::string& path) {
  const uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidFileAttributes && (attributes & platform::attr::Directory) == 0;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

int16_t HexWord(const std::string& four) {
  return static_cast<int16_t>(static_cast<uint16_t>(std::stoul(four, nullptr, 16)));
}

struct Settings {
  dicom_file_set_ini ini{std::string()};
  int32_t grouping = -1;
};

std::unique_ptr<Settings>& Current() {
  static std::unique_ptr<Settings> current;
  return current;
}

}  // namespace

const std::string EmptyDateValue = "99991231";
const std::string EmptyTimeValue = "240000000";

std::string FileSetIniPath() {
  const std::string exe = platform::ExecutablePath();
  const size_t slash = exe.rfind('/');
  return (slash == std::string::npos ? std::string() : exe.substr(0, slash + 1)) + kIniName;
}

dicom_file_set_ini::dicom_file_set_ini() { Read(FileSetIniPath()); }

dicom_file_set_ini::dicom_file_set_ini(const std::string& iniPath) { Read(iniPath); }

bool dicom_file_set_ini::ParseConditionKey(const std::string& keyName, uint32_t& tag, int32_t& index) {
  std::string digits;
  for (char c : Trim(keyName))
    if (IsHexDigit(c)) digits += c;
  if (digits.size() < 8) return false;
  const int16_t group = HexWord(digits.substr(0, 4));
  const int16_t element = HexWord(digits.substr(4, 4));
  if (group <= 0 || element <= 0) return false;
  tag = static_cast<uint32_t>(group) << 16 | static_cast<uint32_t>(element);
  index = digits.size() > 8 ? StrToIntDef(digits.substr(8), 0) : 0;
  return true;
}

std::vector<std::string> dicom_file_set_ini::SplitConditionValue(const std::string& value, int32_t index) {
  std::vector<std::string> values;
  if (index == 0) {
    const std::string whole = Trim(value);
    if (!whole.empty()) values.push_back(whole);
    return values;
  }
  std::string rest = Trim(value);
  while (!rest.empty()) {
    const size_t slash = rest.find('\\');
    const std::string piece = Trim(rest.substr(0, slash));
    rest = slash == std::string::npos ? std::string() : Trim(rest.substr(slash + 1));
    if (!piece.empty()) values.push_back(piece);
  }
  return values;
}

void dicom_file_set_ini::Read(const std::string& iniPath) {
  if (iniPath.empty() || !FileExists(iniPath)) return;
  TIniFile ini(iniPath);
  TStringList keys;
  ini.ReadSection(kConditionSection, keys);
  for (int i = 0; i < keys.Count(); ++i) {
    const std::string name = Trim(keys.Strings[i]);
    consition_tag condition;
    if (!ParseConditionKey(name, condition.tag, condition.index)) continue;
    const std::string value = ini.ReadString(kConditionSection, name, "");
    if (value.empty()) continue;
    condition.values = SplitConditionValue(value, condition.index);
    if (!condition.values.empty()) conditions.push_back(std::move(condition));
  }
  enhanced_spatial_stack_discernment = ini.ReadInteger(kStacksSection, "EnhancedSpatialStackDiscernment", 0) != 0;
  regular_spatial_stack_discernment = ini.ReadInteger(kStacksSection, "RegularSpatialStackDiscernment", 1) != 0;
}

int32_t ReadGroupingByModalityType() { return ReadGroupingByModalityType(FileSetIniPath()); }

int32_t ReadGroupingByModalityType(const std::string& iniPath) {
  if (iniPath.empty() || !FileExists(iniPath)) return -1;
  TIniFile ini(iniPath);
  return ini.ReadInteger(kSeriesSection, "GroupingByModalityType", -1);
}

void InitializeFileSetSettings() { InitializeFileSetSettings(FileSetIniPath()); }

void InitializeFileSetSettings(const std::string& iniPath) {
  auto settings = std::make_unique<Settings>();
  settings->ini = dicom_file_set_ini(iniPath);
  settings->grouping = ReadGroupingByModalityType(iniPath);
  Current() = std::move(settings);
}

const dicom_file_set_ini& GetFileSetIni() {
  static const dicom_file_set_ini defaults{std::string()};
  return Current() ? Current()->ini : defaults;
}

int32_t GetGroupingByModalityType() { return Current() ? Current()->grouping : -1; }

}  // namespace ORN_dicomdir
