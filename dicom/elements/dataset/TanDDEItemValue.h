// Element-set values: the elements of one item (FFFE,E000) and the items of a sequence.
#pragma once

#include "dicom/elements/dataset/TanDDESet.h"

namespace ORN_dicom {

class TanDDEItemValue : public TanDDESet<iDDE> {
 public:
  using TanDDESet<iDDE>::TanDDESet;
  explicit TanDDEItemValue(uint16_t vr) : TanDDESet<iDDE>(0, vr) {}
};

class TanDDESequenceValue : public TanDDESet<iDDE> {
 public:
  using TanDDESet<iDDE>::TanDDESet;
  explicit TanDDESequenceValue(uint16_t vr) : TanDDESet<iDDE>(0, vr) {}
};

using VALUE_ITEM = TanDDEItemValue;
using VALUE_SQ = TanDDESequenceValue;

}  // namespace ORN_dicom
