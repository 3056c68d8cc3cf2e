// Views over the element set of one item (TanTags) and of one sequence (TanItems). They own
// nothing and must not outlive the set.
#pragma once

#include <cstdint>

#include "dicom/elements/dataset/TanDDEItemValue.h"

namespace ORN_dicom {

constexpr uint32_t kItemTag = 0xFFFEE000u;
constexpr uint32_t kItemDelimitationTag = 0xFFFEE00Du;
constexpr uint32_t kSequenceDelimitationTag = 0xFFFEE0DDu;

class TanTags {
 public:
  explicit TanTags(TanDDESet<iDDE>& set) : FSet(set) {}
  // Elements, an item delimitation item not counted.
  uint32_t Count() const;
  bool IsEmpty() const { return Count() == 0; }
  iDDE* Find(uint32_t tag) const { return FSet.Find(tag); }

 private:
  TanDDESet<iDDE>& FSet;
};

class TanItems {
 public:
  explicit TanItems(TanDDESet<iDDE>& set) : FSet(set) {}
  // Items, a sequence delimitation item not counted.
  uint32_t Count() const;
  bool IsEmpty() const { return Count() == 0; }
  // The element set of item i; throws std::out_of_range "vector" past the stored elements,
  // null when element i is not an item.
  TanDDEItemValue* Item(uint32_t i) const;
  // Gives up every item without destroying it (their new owner holds them already) and keeps
  // the sequence delimitation item.
  void Clear();

 private:
  TanDDESet<iDDE>& FSet;
};

}  // namespace ORN_dicom
