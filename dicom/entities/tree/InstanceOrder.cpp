#include "dicom/entities/tree/InstanceOrder.h"

#include <map>

#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/registry/RecordKeys.h"
#include "dicom/entities/registry/TanStrinUID.h"

namespace ORN_dicom {

TanInstanceKey TanInstanceKey::Of(const TanDirectoryRecord& record, bool hasNumber, int32_t number) {
  TanInstanceKey key;
  key.sopClass = record.GetReferencedSOPClassUID();
  key.ultrasound = IsUltrasoundSOPClass(key.sopClass);
  key.uid = record.GetReferencedSOPInstanceUID();
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
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool RanksLater(const TanInstanceKey& r, const TanInstanceKey& n) {
  if (const int c = r.date.compare(n.date)) return c > 0;
  if (const int c = CompareTimes(r.time, r.parsedTime, n.time, n.parsedTime)) return c > 0;
  return ORN_utility::TanStrinUID::IsGreater(r.uid, n.uid);
}

int32_t InstancePosition(const std::vector<TanInstanceSlot>& slots, const std::vector<TanInstanceKey>& keys,
                         const TanInstanceKey& added, int32_t addedClassCode) {
  const int32_t n = static_cast<int32_t>(slots.size());
  const bool runRule = !added.ultrasound;
  for (int32_t i = 0; i < n; ++i) {
    const TanInstanceSlot& r = slots[static_cast<size_t>(i)];
    if (r.number > added.number) return i;
    if (r.number == added.number && RanksLater(keys[static_cast<size_t>(i)], added)) return i;
    if (runRule && r.classCode == addedClassCode && i < n - 1 &&
        slots[static_cast<size_t>(i) + 1].classCode != addedClassCode)
      return i + 1;
  }
  return n;
}

int32_t InstancePosition(const std::vector<TanInstanceKey>& keys, const TanInstanceKey& added) {
  std::map<std::string, int32_t> codes;
  const auto code = [&codes](const std::string& sopClass) {
    return codes.emplace(sopClass, static_cast<int32_t>(codes.size())).first->second;
  };
  std::vector<TanInstanceSlot> slots;
  for (const TanInstanceKey& k : keys) slots.push_back({k.number, code(k.sopClass)});
  return InstancePosition(slots, keys, added, code(added.sopClass));
}

}  // namespace ORN_dicom
