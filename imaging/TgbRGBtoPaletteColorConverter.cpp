#include "imaging/TgbRGBtoPaletteColorConverter.h"

#include <bit>
#include <cstring>
#include <new>

namespace ORN_image {
namespace {

constexpr size_t kColours = size_t(1) << 24;
constexpr size_t kWords = kColours / 64;

inline uint8_t MaskOf(int32_t kept) { return uint8_t(0xFF << (8 - kept)); }

}  // namespace

TgbRGBtoPaletteColorConverter::TgbRGBtoPaletteColorConverter() = default;

void TgbRGBtoPaletteColorConverter::SetError(const char* text) {
  std::strncpy(FErrorText, text, sizeof FErrorText - 1);
  FErrorText[sizeof FErrorText - 1] = '\0';
}

void TgbRGBtoPaletteColorConverter::FreeResult() {
  FFirst.clear();
  FSecond.clear();
  FThird.clear();
  FIndexes.clear();
  FPaletteSize = 0;
}

uint32_t TgbRGBtoPaletteColorConverter::MarkColours(const uint8_t* pixels, size_t count, const uint8_t masks[3]) {
  std::memset(FPresence.data(), 0, kWords * sizeof(uint64_t));
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = pixels + 3 * i;
    const uint32_t key = (uint32_t(p[2] & masks[2]) << 16) | (uint32_t(p[1] & masks[1]) << 8) | (p[0] & masks[0]);
    FPresence[key >> 6] |= uint64_t(1) << (key & 63);
  }
  uint32_t colours = 0;
  for (size_t w = 0; w < kWords; ++w) colours += uint32_t(std::popcount(FPresence[w]));
  return colours;
}

bool TgbRGBtoPaletteColorConverter::BuildPalette(const uint8_t* pixels, int32_t columns, int32_t rows,
                                                 int32_t indexBits) {
  if (pixels == nullptr) {
    SetError("Empty input buffer");
    return false;
  }
  try {
    if (FPresence.empty()) FPresence.assign(kWords, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  FErrorText[0] = '\0';
  FIndexBits = indexBits > 8 ? 16 : 8;
  try {
    const size_t count = columns > 0 && rows > 0 ? size_t(columns) * size_t(rows) : 0;
    const uint64_t limit = uint64_t(1) << FIndexBits;

    // Fewer bits per component until the colours fit the indexes. Eight index bits may still be
    // too few at four bits each; then three, three and two bits are kept, at most 256 colours.
    int32_t kept = 8;
    uint8_t masks[3] = {0xFF, 0xFF, 0xFF};
    uint32_t colours = MarkColours(pixels, count, masks);
    while (colours > limit && kept - 1 > 3) {
      --kept;
      masks[0] = masks[1] = masks[2] = MaskOf(kept);
      colours = MarkColours(pixels, count, masks);
    }
    FKept[0] = FKept[1] = FKept[2] = kept;
    if (colours > limit) {
      FKept[0] = 3;
      FKept[1] = 3;
      FKept[2] = 2;
      for (int k = 0; k < 3; ++k) masks[k] = MaskOf(FKept[k]);
      colours = MarkColours(pixels, count, masks);
    }

    FreeResult();
    try {
      FIndexes.assign(count * size_t(FIndexBits / 8), 0);
      FFirst.assign(colours, 0);
      FSecond.assign(colours, 0);
      FThird.assign(colours, 0);
      FRankBefore.assign(kWords, 0);
    } catch (const std::bad_alloc&) {
      FreeResult();
      SetError("Memory allocation error");
      return false;
    }

    // The colours in ascending key order (third byte slowest), and for every value of the
    // third byte the index of its first colour.
    std::memset(FStart, 0, sizeof FStart);
    uint32_t rank = 0;
    int32_t lastThird = -1;
    for (size_t w = 0; w < kWords; ++w) {
      FRankBefore[w] = rank;
      uint64_t bits = FPresence[w];
      while (bits != 0) {
        const uint32_t key = uint32_t(w * 64 + size_t(std::countr_zero(bits)));
        bits &= bits - 1;
        const int32_t third = int32_t(key >> 16);
        if (third != lastThird) {
          FStart[third] = rank;
          lastThird = third;
        }
        FFirst[rank] = uint16_t(key & 0xFF);
        FSecond[rank] = uint16_t((key >> 8) & 0xFF);
        FThird[rank] = uint16_t(third);
        ++rank;
      }
    }

    // Every masked pixel colour is in the list, so its index is its rank among the colours.
    const uint32_t maxIndex = uint32_t(limit - 1);
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* p = pixels + 3 * i;
      const uint32_t key = (uint32_t(p[2] & masks[2]) << 16) | (uint32_t(p[1] & masks[1]) << 8) | (p[0] & masks[0]);
      const uint64_t below = FPresence[key >> 6] & ((uint64_t(1) << (key & 63)) - 1);
      uint32_t index = FRankBefore[key >> 6] + uint32_t(std::popcount(below));
      if (index > maxIndex) index = maxIndex;
      if (FIndexBits == 8) {
        FIndexes[i] = uint8_t(index);
      } else {
        const uint16_t v = uint16_t(index);
        std::memcpy(&FIndexes[2 * i], &v, 2);
      }
    }

    FPaletteSize = maxIndex < colours - 1 && colours > 0 ? uint32_t(limit) : colours;
    if (FIndexBits == 16) {
      for (auto* table : {&FFirst, &FSecond, &FThird})
        for (uint16_t& v : *table) v = uint16_t(v * 257);
    }
    return true;
  } catch (...) {
    FreeResult();
    if (FErrorText[0] == '\0') SetError("Access violation error");
    return false;
  }
}

}  // namespace ORN_image
