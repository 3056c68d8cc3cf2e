// The value of encapsulated pixel data (7FE0,0010): offset-table item, fragment items and the
// sequence delimitation item, with a frames view of itself.
#pragma once

#include "dicom/elements/dataset/TanFrames.h"

namespace ORN_dicom {

class TanEPDValue : public TanDDESet<iDDE> {
 public:
  explicit TanEPDValue(uint16_t vr) : TanDDESet<iDDE>(0, vr), FFrames(*this) {}
  TanEPDValue(uint16_t vr, uint32_t, const void*) : TanEPDValue(vr) {}
  TanEPDValue(uint16_t vr, uint32_t, std::istream&) : TanEPDValue(vr) {}
  TanEPDValue(uint16_t vr, const void*, uint32_t) : TanEPDValue(vr) {}

  bool CheckFrameCount(uint32_t frames) { return FFrames.CheckFrameCount(frames); }

  TanFrames FFrames;
};

using VALUE_EPD = TanEPDValue;

}  // namespace ORN_dicom
