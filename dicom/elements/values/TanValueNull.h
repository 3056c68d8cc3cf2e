// The value of item and sequence delimiters: no bytes.
#pragma once

#include <istream>
#include <ostream>

#include "dicom/elements/values/TanValueBasis.h"

namespace ORN_dicom {

class TanValueNull : public TanValueBasis {
 public:
  explicit TanValueNull(uint16_t vr) : TanValueBasis(vr) {}
  // The element forms: a delimiter carries no bytes, whatever its header says.
  TanValueNull(uint16_t vr, uint32_t, const void*) : TanValueBasis(vr) {}
  TanValueNull(uint16_t vr, uint32_t, std::istream&) : TanValueBasis(vr) {}
  TanValueNull(uint16_t vr, const void*, uint32_t) : TanValueBasis(vr) {}
  TanValueNull(const TanValueNull&) = default;

  uint32_t Length() const override { return 0; }
  void CopyTo(void*) const {}
  void WriteTo(std::ostream&) const {}
};

}  // namespace ORN_dicom
