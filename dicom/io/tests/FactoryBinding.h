// Binds a factory's closures over a source set and a target set, as the data-set factory does
// while it converts: tests and benchmarks convert element by element through it.
#pragma once

#include <cstdint>
#include <string>

#include "dicom/elements/element/iDDE.h"
#include "dicom/io/factory/TanDDEFactoryBasis.h"

namespace ORN_dicom::test_support {

// quality 0 leaves the factory's own quality in place.
inline void BindFactory(TanDDEFactoryBasis& f, TanDDESet<iDDE>& source, TanDDESet<iDDE>& target, int32_t kind,
                        uint8_t quality = 0) {
  f.FFindDDE = [&source, &target](uint32_t tag, iDDE** found, uint8_t inTarget) {
    return *found = inTarget ? target.Find(tag) : source.Find(tag);
  };
  f.FRemoveDDE = [&target](uint32_t tag) { target.DeleteByTag(tag); };
  f.FReplaceDDE = [&target](iDDE* e) {
    target.DeleteByTag(e->Tag());
    if (!target.Insert(e)) delete e;
  };
  f.FGetTargetPixelAttributes = [&f, &target](int32_t& columns, int32_t& rows, int32_t& bitsStored,
                                              int32_t& bitsAllocated, int32_t& highBit, std::string& photometric,
                                              int32_t& planar, int32_t& frames) {
    f.PixelAttributesOf(target, columns, rows, highBit, bitsStored, bitsAllocated, photometric, planar, frames);
  };
  f.FGetSourceKind = [kind](int32_t& k) { k = kind; };
  if (quality != 0) f.FGetQuality = [quality](uint8_t& q) { q = quality; };
}

}  // namespace ORN_dicom::test_support
