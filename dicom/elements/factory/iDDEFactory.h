// The interface of every element factory: it makes single elements for one transfer-syntax
// kind from encoded bytes, from another element or from a tag and values, and reaches the data
// sets of its owner through seven closures. The factories themselves are built on this.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <istream>
#include <string>

#include "dicom/elements/element/iDDE.h"

namespace ORN_dicom {

class iDDEFactory {
 public:
  virtual ~iDDEFactory() = default;                                                      // 0
  virtual iDDE* MakeDDEFromMemory(const void* element) = 0;                              // 1
  virtual iDDE* MakeDDEFromStream(std::istream& in) = 0;                                 // 2
  virtual iDDE* MakeDDEFromDDE(iDDE* source) = 0;                                        // 3
  virtual iDDE* MakeDDEFromDDEPtr(iDDE* source) = 0;                                     // 4
  virtual iDDE* MakeDDE(uint16_t group, uint16_t element, uint32_t count, ...) = 0;      // 5
  virtual iDDE* MakeDDEWithVR(uint16_t group, uint16_t element, const char* vr, uint32_t count, ...) = 0;  // 6
  virtual iDDE* MakeSequence(uint16_t group, uint16_t element, uint8_t undefinedLength) = 0;  // 7
  virtual iDDE* MakeItem(uint8_t undefinedLength) = 0;                                   // 8
  virtual iDDE* MakePixelData(uint16_t vr, uint32_t count, ...) = 0;                     // 9
  virtual const char* GetLastMessage() = 0;                                              // 10

  // Tags are group * 65536 + element.
  std::function<void(iDDE*)> FReplaceDDE;
  std::function<iDDE*(uint32_t tag, iDDE** found, uint8_t inTarget)> FFindDDE;
  std::function<void(uint32_t tag)> FRemoveDDE;
  std::function<void(int32_t& columns, int32_t& rows, int32_t& bitsStored, int32_t& bitsAllocated,
                     int32_t& highBit, std::string& photometric, int32_t& planar, int32_t& frames)>
      FGetTargetPixelAttributes;
  std::function<void(int32_t& columns, int32_t& rows, int32_t& bitsStored, int32_t& bitsAllocated,
                     int32_t& highBit, int32_t& samplesPerPixel)>
      FGetIconPixelAttributes;
  std::function<void(int32_t& kind)> FGetSourceKind;
  std::function<void(uint8_t& quality)> FGetQuality;
};

}  // namespace ORN_dicom
