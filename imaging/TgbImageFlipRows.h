// Reverses the row order of a frame (each of the three planes of planar RGB on its own), and the
// two small routines of the icon's bitmap: a row flip of any buffer and a byte inversion.
#pragma once

#include <string>

#include "imaging/iSTATIC_IMAGE_OPERATION.h"

namespace ORN_image {

class TgbImageFlipRows : public iSTATIC_IMAGE_OPERATION {
 public:
  TgbImageFlipRows(int32_t rows, int32_t columns, int32_t samplesPerPixel, int32_t bitsAllocated,
                   int32_t planarConfiguration);

  // Both fail (0) when the buffer is shorter than the frame.
  size_t Apply(uint8_t* buffer, size_t length) override;
  // The destination receives the source's rows in reverse order; the source stays as it is.
  size_t Apply(const uint8_t* source, size_t length, uint8_t* destination) override;
  size_t GetOutputSize(size_t length) override { return length; }
  const char* GetErrorText() override { return FErrorText.c_str(); }

 private:
  // Row length in bytes and the number of planes flipped one after another.
  bool Layout(size_t length, size_t& rowLength, size_t& planes);

  int32_t FColumns;
  int32_t FRows;
  int32_t FSamplesPerPixel;
  int32_t FBitsAllocated;
  int32_t FPlanarConfiguration;
  std::string FErrorText;
};

// Exchanges rows i and rows − 1 − i of rows rows of rowLength bytes.
void FlipRowsInPlace(uint8_t* buffer, size_t rowLength, size_t rows);
// Every byte b becomes 255 − b.
void InvertBytes(uint8_t* buffer, size_t length);

}  // namespace ORN_image
