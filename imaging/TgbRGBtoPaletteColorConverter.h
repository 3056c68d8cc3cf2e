// Reduces interleaved 8-bit RGB pixels to an index picture with three colour tables: the
// colours are listed exactly when there are few enough of them, otherwise with fewer bits
// kept per component until they fit the indexes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ORN_image {

class TgbRGBtoPaletteColorConverter {
 public:
  TgbRGBtoPaletteColorConverter();

  // pixels: columns × rows triplets (c0, c1, c2); index bits 8 or 16. Fills the tables and the
  // index buffer.
  bool BuildPalette(const uint8_t* pixels, int32_t columns, int32_t rows, int32_t indexBits);

  const char* GetErrorText() const { return FErrorText; }
  // Entries of the palette; the tables hold this many 16-bit values (v, or v × 257 with 16
  // index bits).
  uint32_t PaletteSize() const { return FPaletteSize; }
  const std::vector<uint16_t>& FirstTable() const { return FFirst; }
  const std::vector<uint16_t>& SecondTable() const { return FSecond; }
  const std::vector<uint16_t>& ThirdTable() const { return FThird; }
  // One index per pixel, 8 or 16 bits.
  const std::vector<uint8_t>& Indexes() const { return FIndexes; }
  // Bits kept of the first, second and third byte of a colour by the last call.
  int32_t KeptBits(int32_t component) const { return FKept[component]; }

 private:
  void SetError(const char* text);
  void FreeResult();
  // Marks the colours of all pixels with the given kept bits; returns their number.
  uint32_t MarkColours(const uint8_t* pixels, size_t count, const uint8_t masks[3]);

  std::vector<uint64_t> FPresence;    // one bit per 24-bit colour
  std::vector<uint32_t> FRankBefore;  // set bits in the presence words before each word
  uint32_t FStart[256] = {};
  char FErrorText[256] = {};
  std::vector<uint16_t> FFirst, FSecond, FThird;
  std::vector<uint8_t> FIndexes;
  uint32_t FPaletteSize = 0;
  int32_t FReserved = 0;
  int32_t FIndexBits = 8;
  int32_t FKept[3] = {8, 8, 8};
};

}  // namespace ORN_image
