#include "dicom/elements/dataset/TanTags.h"

#include "dicom/elements/element/iDDE.h"

namespace ORN_dicom {

namespace {
bool Holds(const TanDDESet<iDDE>& set, uint32_t tag) {
  for (uint32_t i = 0; i < set.Count(); ++i)
    if (set.At(i)->Tag() == tag) return true;
  return false;
}
}  // namespace

uint32_t TanTags::Count() const {
  return FSet.Count() - (Holds(FSet, kItemDelimitationTag) ? 1 : 0);
}

uint32_t TanItems::Count() const {
  return FSet.Count() - (Holds(FSet, kSequenceDelimitationTag) ? 1 : 0);
}

TanDDEItemValue* TanItems::Item(uint32_t i) const {
  return FSet.At(i)->ValueAs<TanDDEItemValue>();
}

void TanItems::Clear() {
  const uint32_t n = Count();
  if (n == FSet.Count()) {
    FSet.ReleaseAll();
    return;
  }
  iDDE* delimiter = FSet.Remove(n);
  FSet.ReleaseAll();
  if (delimiter != nullptr) FSet.Append(delimiter);
}

}  // namespace ORN_dicom
