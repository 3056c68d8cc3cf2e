// Replaces a group of top-level attributes as one step: the old elements are taken out when
// the writer starts, and put back (with the new ones removed) unless the writer commits, so a
// failed write leaves the data set as it was.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/elements/element/iDDE.h"

namespace ndl_impl {

class TanAttributeReplacement {
 public:
  TanAttributeReplacement(ORN_dicom::TanDDESet<ORN_dicom::iDDE>& dataSet, std::initializer_list<uint32_t> tags);
  ~TanAttributeReplacement();
  TanAttributeReplacement(const TanAttributeReplacement&) = delete;
  TanAttributeReplacement& operator=(const TanAttributeReplacement&) = delete;

  // Inserts a new element in tag order; false (and the element deleted) for null or a refusal.
  bool Insert(ORN_dicom::iDDE* element);
  // The new elements stay and the old ones are deleted.
  void Commit();

 private:
  ORN_dicom::TanDDESet<ORN_dicom::iDDE>& FDataSet;
  std::vector<ORN_dicom::iDDE*> FOld;
  std::vector<ORN_dicom::iDDE*> FNew;
  bool FCommitted = false;
};

}  // namespace ndl_impl
