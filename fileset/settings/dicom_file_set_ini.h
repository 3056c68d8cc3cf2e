// The file set's own settings, read once at start-up from "ORNDicomFileSet.ini" beside the
// executable: the conditions under which frames of enhanced series may ignore their Stack ID,
// the two spatial-discernment switches of stack building, and the series grouping. Nothing is
// reported: whatever cannot be read keeps its default.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ORN_dicomdir {

// One condition of section "IGNORE STACK_ID OF ENCHANCED SERIES".
struct consition_tag {
  std::vector<std::string> values;  // accepted texts or numbers, as written, at least one
  uint32_t tag = 0;                 // group << 16 | element
  int32_t index = 0;                // 1-based value to test; 0 means the whole value
};

class dicom_file_set_ini {
 public:
  // Defaults, then the settings file beside the executable when it exists.
  dicom_file_set_ini();
  // Defaults, then the given file when it exists.
  explicit dicom_file_set_ini(const std::string& iniPath);

  std::vector<consition_tag> conditions;
  bool enhanced_spatial_stack_discernment = false;
  bool regular_spatial_stack_discernment = true;

  // Parses one condition key name; false when the key is to be ignored.
  static bool ParseConditionKey(const std::string& keyName, uint32_t& tag, int32_t& index);
  // The values of a condition: split at "\" when an index is given, else the whole value.
  static std::vector<std::string> SplitConditionValue(const std::string& value, int32_t index);

 private:
  void Read(const std::string& iniPath);
};

// "<folder of the executable>/ORNDicomFileSet.ini".
std::string FileSetIniPath();

// [SERIES] GroupingByModalityType of the file: -1 when the file does not exist or the key does
// not read as an integer.
int32_t ReadGroupingByModalityType();
int32_t ReadGroupingByModalityType(const std::string& iniPath);

// The process-wide settings. Start-up builds them once (the stack settings, then the series
// grouping) from the file beside the executable; until then, and without a file, the defaults
// stand. Initializing again replaces them (tests read their own files this way).
void InitializeFileSetSettings();
void InitializeFileSetSettings(const std::string& iniPath);
const dicom_file_set_ini& GetFileSetIni();
int32_t GetGroupingByModalityType();

// Texts that stand in for an empty date and an empty time when studies and series are ordered.
extern const std::string EmptyDateValue;  // "99991231"
extern const std::string EmptyTimeValue;  // "240000000"

}  // namespace ORN_dicomdir
