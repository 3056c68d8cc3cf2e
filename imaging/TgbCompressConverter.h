// Prepares grey or palette pixel data for lossy JPEG compression: normalises the stored bits,
// replaces padding and applies the modality LUT, the rescale, or the palette colour tables.
// Each operation catches every exception and reports false.
#pragma once

#include <cstddef>
#include <cstdint>

class TgbCompressConverter {
 public:
  TgbCompressConverter(bool checkPadding, bool lowEnd, int32_t paddingValue)
      : FCheckPadding(checkPadding), FLowEnd(lowEnd), FPaddingValue(paddingValue) {}

  bool ApplyModalityLUT(int32_t firstMapped, int32_t entries, const uint16_t* table, int32_t bitsAllocated,
                        int32_t* bitsStored, int32_t* highBit, int32_t pixelRepresentation, const uint8_t* source,
                        size_t length, uint8_t* destination);
  bool ApplyRescale(double slope, double intercept, int32_t bitsAllocated, int32_t* bitsStored, int32_t* highBit,
                    int32_t* pixelRepresentation, const uint8_t* source, size_t length, uint8_t* destination);
  // The destination receives three planes of destinationSize / 3 bytes (red, green, blue).
  bool ApplyPaletteColor(int32_t firstMapped, int32_t entries, const uint16_t* red, const uint16_t* green,
                         const uint16_t* blue, int32_t bitsAllocated, const uint8_t* source, size_t length,
                         uint8_t* destination, size_t destinationSize);

  // The first step of the LUT and the rescale, on the destination in place: shift the stored
  // bits down, then mask (unsigned) or sign-extend (signed 16-bit).
  static void NormaliseStoredBits(int32_t bitsAllocated, int32_t* bitsStored, int32_t* highBit,
                                  int32_t pixelRepresentation, uint8_t* data, size_t length);

 private:
  bool FCheckPadding;
  bool FLowEnd;
  int32_t FPaddingValue;
};
