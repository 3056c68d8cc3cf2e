// Replaces pixel padding samples by the nearest real sample value, when real samples lie
// beyond the padding value (at the low or the high end of the range).
#pragma once

#include <cstddef>
#include <cstdint>

class TgbPaddingChecker {
 public:
  TgbPaddingChecker(int32_t bitsAllocated, int32_t isSigned, bool lowEnd, int32_t paddingValue)
      : FBitsAllocated(bitsAllocated), FSigned(isSigned), FLowEnd(lowEnd), FPaddingValue(paddingValue) {}

  // Source and destination may be the same buffer. When nothing changes the destination is
  // not written. False only when an exception occurred.
  bool Apply(const uint8_t* source, uint8_t* destination, size_t length);

 private:
  int32_t FBitsAllocated;
  int32_t FSigned;
  bool FLowEnd;
  int32_t FPaddingValue;
};
