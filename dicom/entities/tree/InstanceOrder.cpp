#include "dicom/entities/tree/InstanceOrder.h"

#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/registry/RecordKeys.h"
#include "dicom/entities/registry/TanStrinUID.h"

namespace ORN_dicom {
namespace {

constexpr char kUltrasoundGroup[] = "1.2.840.10008.5.1.4.1.1.6";

int CompareUIDs(const std::string& a, const std::string& b) {
  if (ORN_utility::TanStrinUID::IsGreater(a, b)) return 1;
  if (ORN_utility::TanStrinUID::IsGreater(b, a)) return -1;
  return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;  // texts the UID order cannot tell apart
}

int CompareBytes(const std::string& a, const std::string& b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace

TanInstanceKey TanInstanceKey::Of(const TanDirectoryRecord& record, bool hasNumber, int32_t number) {
  TanInstanceKey key;
  const std::string sopClass = record.GetReferencedSOPClassUID();
  key.group = IsUltrasoundSOPClass(sopClass) ? std::string(kUltrasoundGroup) : sopClass;
  key.uid = record.GetReferencedSOPInstanceUID();
  key.file = record.GetReferencedFileID();
  if (hasNumber) {
    key.number = number;
    key.date = record.GetText(0x00080023u);
    if (key.date.empty()) key.date = record.GetText(0x00080012u);
    key.time = record.GetText(0x00080033u);
    if (key.time.empty()) key.time = record.GetText(0x00080013u);
    key.parsedTime = TryParseDicomTime(key.time);
  }
  return key;
}

int CompareTimes(const std::string& a, const std::optional<double>& parsedA, const std::string& b,
                 const std::optional<double>& parsedB) {
  if (parsedA && parsedB) return *parsedA < *parsedB ? -1 : *parsedA > *parsedB ? 1 : 0;
  if (parsedA != parsedB) return parsedA ? -1 : 1;
  return CompareBytes(a, b);
}

bool RanksAfter(const TanInstanceKey& a, const TanInstanceKey& b) {
  if (int c = CompareUIDs(a.group, b.group)) return c > 0;
  if (a.number != b.number) return a.number > b.number;
  if (int c = CompareBytes(a.date, b.date)) return c > 0;
  if (int c = CompareTimes(a.time, a.parsedTime, b.time, b.parsedTime)) return c > 0;
  if (int c = CompareUIDs(a.uid, b.uid)) return c > 0;
  return CompareBytes(a.file, b.file) > 0;
}

}  // namespace ORN_dicom
