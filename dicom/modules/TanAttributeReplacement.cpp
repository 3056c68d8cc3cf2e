#include "dicom/modules/TanAttributeReplacement.h"

namespace ndl_impl {

using ORN_dicom::iDDE;

TanAttributeReplacement::TanAttributeReplacement(ORN_dicom::TanDDESet<iDDE>& dataSet, std::initializer_list<uint32_t> tags)
    : FDataSet(dataSet) {
  for (uint32_t tag : tags) {
    for (int32_t i = FDataSet.IndexOf(tag); i >= 0; i = FDataSet.IndexOf(tag))
      FOld.push_back(FDataSet.Remove(static_cast<uint32_t>(i)));
  }
}

TanAttributeReplacement::~TanAttributeReplacement() {
  if (FCommitted) {
    for (iDDE* e : FOld) delete e;
    return;
  }
  for (iDDE* e : FNew) {
    for (uint32_t i = 0; i < FDataSet.Count(); ++i) {
      if (FDataSet.At(i) == e) {
        delete FDataSet.Remove(i);
        break;
      }
    }
  }
  for (iDDE* e : FOld) {
    if (!FDataSet.Insert(e)) delete e;
  }
}

bool TanAttributeReplacement::Insert(iDDE* element) {
  if (element == nullptr) return false;
  if (!FDataSet.Insert(element)) {
    delete element;
    return false;
  }
  FNew.push_back(element);
  return true;
}

void TanAttributeReplacement::Commit() { FCommitted = true; }

}  // namespace ndl_impl
