// Normalises the stored bits of grey samples: shifts them down to bit 0, then masks unsigned
// samples and sign-extends signed ones. The caller sets the four attributes and calls Prepare.
#pragma once

#include <string>

#include "imaging/iSTATIC_IMAGE_OPERATION.h"

namespace ORN_image {

class TgbPixelDataCorrector : public iSTATIC_IMAGE_OPERATION {
 public:
  // Works out the resulting High Bit and Bits Stored.
  void Prepare();

  size_t Apply(uint8_t* buffer, size_t length) override;
  size_t Apply(const uint8_t* source, size_t length, uint8_t* destination) override;
  size_t GetOutputSize(size_t length) override { return length; }
  const char* GetErrorText() override { return FErrorText.c_str(); }

  int32_t FBitsAllocated = 0;
  int32_t FBitsStored = 0;
  int32_t FHighBit = 0;
  int32_t FSigned = 0;
  int32_t FResultingHighBit = 0;
  int32_t FResultingBitsStored = 0;

 private:
  std::string FErrorText;
};

}  // namespace ORN_image
