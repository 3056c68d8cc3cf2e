// The interface of the data-set factories: reading a data set from memory or a stream, whole
// or up to a stop tag. Making, merging and converting data sets come with the writers.
#pragma once

#include <cstdint>
#include <istream>

#include "dicom/elements/dataset/TanDDESet.h"

namespace ORN_dicom {

class iIODFactory {
 public:
  virtual ~iIODFactory() = default;
  // count: in, the bytes available from block; out, the bytes consumed.
  virtual bool ReadFromMemory(TanDDESet<iDDE>& target, const void* block, uint32_t& count, bool skip) = 0;
  virtual bool ReadFromMemoryUntilTag(TanDDESet<iDDE>& target, const void* block, uint32_t& count, uint16_t stopGroup,
                                      uint16_t stopElement, bool skip) = 0;
  virtual bool ReadFromStream(TanDDESet<iDDE>& target, std::istream& in, uint32_t& count, bool skip) = 0;
  virtual bool ReadFromStreamUntilTag(TanDDESet<iDDE>& target, std::istream& in, uint32_t& count, uint16_t stopGroup,
                                      uint16_t stopElement, bool skip) = 0;
  virtual const char* GetLastMessage() = 0;

  // The reads up to a stop tag also end in front of a tag below this one (the meta group
  // read ends at the first element outside group 0002, whichever side of it).
  uint32_t FLowestTag = 0;
};

}  // namespace ORN_dicom
