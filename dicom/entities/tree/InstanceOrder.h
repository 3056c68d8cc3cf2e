// The place of a new instance record in a series set. A new record goes in front of the first
// record with a greater number, or with the same number and a later date, time or UID; but when
// it meets the last record of a run of its own SOP class first (a run that does not end the
// set), it goes right after that run. Records of an ultrasound class never take the run rule,
// so ultrasound images of different classes mix in number order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ORN_dicom {

class TanDirectoryRecord;

struct TanInstanceKey {
  std::string sopClass;
  bool ultrasound = false;
  int32_t number = 0;
  std::string date;                  // Content Date, else Instance Creation Date
  std::string time;                  // Content Time, else Instance Creation Time
  std::optional<double> parsedTime;  // empty when the time text does not parse
  std::string uid;

  // Keys of a record: number, date and time only for records that have them (hasNumber).
  static TanInstanceKey Of(const TanDirectoryRecord& record, bool hasNumber, int32_t number);
};

// True when the stored record r ranks after the new record n of the same number: by date
// (bytes, a prefix first), then parsed time, then UID component by component.
bool RanksLater(const TanInstanceKey& r, const TanInstanceKey& n);

// The position at which the new record goes in a set whose records have the given keys;
// keys.size() means appended.
int32_t InstancePosition(const std::vector<TanInstanceKey>& keys, const TanInstanceKey& added);

// The same with the number and a class code of every record at hand in a compact array
// (slots[i] mirrors keys[i]; equal codes for equal SOP classes), so that the scan over a large
// set reads little memory and compares no texts until the numbers meet.
struct TanInstanceSlot {
  int32_t number;
  int32_t classCode;
};
int32_t InstancePosition(const std::vector<TanInstanceSlot>& slots, const std::vector<TanInstanceKey>& keys,
                         const TanInstanceKey& added, int32_t addedClassCode);

// Time texts compared as parsed times of day; a text that does not parse ranks after every
// one that does, and two such texts by their bytes, so that a malformed stored time never
// makes a later add fail. -1, 0 or 1.
int CompareTimes(const std::string& a, const std::optional<double>& parsedA, const std::string& b,
                 const std::optional<double>& parsedB);

}  // namespace ORN_dicom
