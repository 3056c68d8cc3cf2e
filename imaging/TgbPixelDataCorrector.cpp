#include "imaging/TgbPixelDataCorrector.h"

#include <cstring>

#include "imaging/TgbCompressConverter.h"

namespace ORN_image {

void TgbPixelDataCorrector::Prepare() {
  FErrorText.clear();
  FResultingHighBit = FHighBit;
  FResultingBitsStored = FBitsStored;
  if (FHighBit + 1 - FBitsStored > 0) FResultingHighBit = FBitsStored - 1;
  if (FSigned != 0) {
    FResultingBitsStored = FBitsAllocated;
    FResultingHighBit = FBitsAllocated - 1;
  }
}

size_t TgbPixelDataCorrector::Apply(uint8_t* buffer, size_t length) {
  FErrorText.clear();
  if (buffer == nullptr) {
    FErrorText = "Empty input buffer";
    return 0;
  }
  int32_t bitsStored = FBitsStored;
  int32_t highBit = FHighBit;
  TgbCompressConverter::NormaliseStoredBits(FBitsAllocated, &bitsStored, &highBit, FSigned, buffer, length);
  return length;
}

size_t TgbPixelDataCorrector::Apply(const uint8_t* source, size_t length, uint8_t* destination) {
  if (source == nullptr || destination == nullptr) {
    FErrorText = "Empty input buffer";
    return 0;
  }
  if (source != destination) std::memmove(destination, source, length);
  return Apply(destination, length);
}

}  // namespace ORN_image
