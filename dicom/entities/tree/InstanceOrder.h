// The order of the instance records of one series set. A fixed order on the records' own keys,
// so that a set comes out the same whatever order its files are added in: records of one SOP
// class stand together (the ultrasound classes count as one class), classes in UID order;
// within a class by number, date, time and SOP Instance UID (component by component), and by
// Referenced File ID when everything else is equal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ORN_dicom {

class TanDirectoryRecord;

struct TanInstanceKey {
  std::string group;  // SOP class UID; the ultrasound classes share one group
  int32_t number = 0;
  std::string date;                  // Content Date, else Instance Creation Date
  std::string time;                  // Content Time, else Instance Creation Time
  std::optional<double> parsedTime;  // empty when the time text does not parse
  std::string uid;
  std::string file;

  // Keys of a record: number, date and time only for records that have them (hasNumber).
  static TanInstanceKey Of(const TanDirectoryRecord& record, bool hasNumber, int32_t number);
};

// True when a ranks after b.
bool RanksAfter(const TanInstanceKey& a, const TanInstanceKey& b);

// Time texts compared as parsed times of day; a text that does not parse ranks after every
// one that does, and two such texts by their bytes. -1, 0 or 1.
int CompareTimes(const std::string& a, const std::optional<double>& parsedA, const std::string& b,
                 const std::optional<double>& parsedB);

}  // namespace ORN_dicom
