// The interface of the data-set factories: reading a data set from memory or a stream, whole
// or up to a stop tag. Making, merging and converting data sets come with the writers.
#pragma once

#include <cstdint>
#include <istream>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/elements/dataset/TanIOD.h"

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

  // Data sets in memory: an empty object of the factory's kind (null with a message when none
  // can be had); the elements of several sets re-encoded into one target; one set converted
  // element by element (group lengths above group 0002 left out; private elements that cannot
  // be converted left out when tolerate is true).
  virtual TanIOD* MakeIOD() = 0;
  virtual bool AddDDEsFromSets(TanDDESet<iDDE>* target, int32_t count, TanDDESet<iDDE>** sets) = 0;
  virtual bool ConvertIOD(TanDDESet<iDDE>& target, TanDDESet<iDDE>& source, bool tolerate) = 0;
  virtual bool ConvertIODPtr(TanDDESet<iDDE>* target, TanDDESet<iDDE>* source, bool tolerate) {
    return ConvertIOD(*target, *source, tolerate);
  }

  // The reads up to a stop tag also end in front of a tag below this one (the meta group
  // read ends at the first element outside group 0002, whichever side of it).
  uint32_t FLowestTag = 0;
};

}  // namespace ORN_dicom
