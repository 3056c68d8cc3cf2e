#include "imaging/TgbImageFlipRows.h"

#include <cstring>

namespace ORN_image {
namespace {

// Whole rows are exchanged through a small buffer, whatever their length.
void SwapRows(uint8_t* a, uint8_t* b, size_t rowLength) {
  uint8_t chunk[256];
  for (size_t done = 0; done < rowLength; done += sizeof chunk) {
    const size_t n = rowLength - done < sizeof chunk ? rowLength - done : sizeof chunk;
    std::memcpy(chunk, a + done, n);
    std::memcpy(a + done, b + done, n);
    std::memcpy(b + done, chunk, n);
  }
}

}  // namespace

void FlipRowsInPlace(uint8_t* buffer, size_t rowLength, size_t rows) {
  if (buffer == nullptr || rows < 2) return;
  for (size_t i = 0; i < rows / 2; ++i) SwapRows(buffer + i * rowLength, buffer + (rows - 1 - i) * rowLength, rowLength);
}

void InvertBytes(uint8_t* buffer, size_t length) {
  if (buffer == nullptr) return;
  for (size_t i = 0; i < length; ++i) buffer[i] = uint8_t(255 - buffer[i]);
}

TgbImageFlipRows::TgbImageFlipRows(int32_t rows, int32_t columns, int32_t samplesPerPixel, int32_t bitsAllocated,
                                   int32_t planarConfiguration)
    : FColumns(columns),
      FRows(rows),
      FSamplesPerPixel(samplesPerPixel),
      FBitsAllocated(bitsAllocated),
      FPlanarConfiguration(planarConfiguration) {}

bool TgbImageFlipRows::Layout(size_t length, size_t& rowLength, size_t& planes) {
  FErrorText.clear();
  if (FColumns <= 0 || FRows <= 0 || FSamplesPerPixel <= 0 || FBitsAllocated <= 0) {
    FErrorText = "Invalid image attributes";
    return false;
  }
  if (FPlanarConfiguration != 0 && FSamplesPerPixel == 3) {
    rowLength = size_t(FColumns);
    planes = 3;
  } else {
    rowLength = size_t(FColumns) * size_t(FSamplesPerPixel) * size_t(FBitsAllocated) / 8;
    planes = 1;
  }
  if (rowLength * size_t(FRows) * planes > length) {
    FErrorText = "Buffer is too small for the image";
    return false;
  }
  return true;
}

size_t TgbImageFlipRows::Apply(uint8_t* buffer, size_t length) {
  size_t rowLength = 0, planes = 0;
  if (buffer == nullptr || !Layout(length, rowLength, planes)) return 0;
  const size_t plane = rowLength * size_t(FRows);
  for (size_t p = 0; p < planes; ++p) FlipRowsInPlace(buffer + p * plane, rowLength, size_t(FRows));
  return length;
}

size_t TgbImageFlipRows::Apply(const uint8_t* source, size_t length, uint8_t* destination) {
  size_t rowLength = 0, planes = 0;
  if (source == nullptr || destination == nullptr || !Layout(length, rowLength, planes)) return 0;
  if (source == destination) return Apply(destination, length);
  const size_t rows = size_t(FRows);
  const size_t plane = rowLength * rows;
  for (size_t p = 0; p < planes; ++p)
    for (size_t i = 0; i < rows; ++i)
      std::memcpy(destination + p * plane + (rows - 1 - i) * rowLength, source + p * plane + i * rowLength,
                  rowLength);
  return length;
}

}  // namespace ORN_image
