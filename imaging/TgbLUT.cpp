#include "imaging/TgbLUT.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace ORN_image {
namespace {

inline uint16_t Load16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline void Store16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }

// Truncation toward zero of a value that may be far out of range (a wild slope or intercept)
// or not a number: bounded first, so the conversion is always defined.
inline int64_t Truncate(double x) {
  if (!(x == x)) return 0;
  if (x > 1e18) return int64_t(1e18);
  if (x < -1e18) return -int64_t(1e18);
  return int64_t(x);
}

}  // namespace

bool TgbLUT::Initialize(int32_t firstMapped, uint32_t entries, int32_t outputBits, const uint16_t* table) {
  FTable.clear();
  FTable.shrink_to_fit();
  FFirstMapped = firstMapped;
  FEntries = entries;
  FOutputBits = outputBits;
  try {
    FTable.assign(entries, 0);
  } catch (const std::bad_alloc&) {
    FEntries = 0;
    return false;
  }
  if (table != nullptr && entries > 0) std::memcpy(FTable.data(), table, size_t(entries) * 2);
  return true;
}

void TgbLUT::SetEntries(const uint16_t* table, size_t lengthInBytes) {
  if (table == nullptr) return;
  const size_t bytes = std::min(lengthInBytes, FTable.size() * 2);
  std::memcpy(FTable.data(), table, bytes);
}

size_t TgbLUT::IndexOf(int64_t sample) const {
  int64_t i = sample - FFirstMapped;
  if (i < 0) i = 0;
  const int64_t last = int64_t(FTable.size()) - 1;
  if (i > last) i = last;
  return size_t(i);
}

size_t TgbLUT::Lookup(const uint8_t* source, size_t length, uint8_t* destination) {
  FErrorText.clear();
  if (FTable.empty()) {
    FErrorText = "Memory allocation error";
    return 0;
  }
  if (source == nullptr || destination == nullptr) {
    FErrorText = "Empty input buffer";
    return 0;
  }
  if (FInputBits == 16 && (FOutputBits == 16 || FOutputBits == 8)) {
    // Going forward, an in-place 16 to 8 lookup writes byte i only after reading bytes 2i, 2i+1.
    const size_t count = length / 2;
    for (size_t i = 0; i < count; ++i) {
      const uint16_t raw = Load16(source + 2 * i);
      const int64_t v = FSigned != 0 ? int64_t(int16_t(raw)) : int64_t(raw);
      const uint16_t entry = FTable[IndexOf(v)];
      if (FOutputBits == 16) Store16(destination + 2 * i, entry);
      else destination[i] = uint8_t(entry & 0xFF);
    }
    return length;
  }
  if (FInputBits == 8 && FOutputBits == 8) {
    for (size_t i = 0; i < length; ++i) {
      const int64_t v = FSigned != 0 ? int64_t(int8_t(source[i])) : int64_t(source[i]);
      destination[i] = uint8_t(FTable[IndexOf(v)] & 0xFF);
    }
    return length;
  }
  if (FInputBits == 8 && FOutputBits == 16) {
    // The 16-bit entries are stretched into one byte between their smallest and largest value,
    // by one formula for every sample.
    std::vector<uint16_t> looked(length);
    uint16_t lo = 0xFFFF, hi = 0;
    for (size_t i = 0; i < length; ++i) {
      const int64_t v = FSigned != 0 ? int64_t(int8_t(source[i])) : int64_t(source[i]);
      const uint16_t entry = FTable[IndexOf(v)];
      looked[i] = entry;
      if (entry < lo) lo = entry;
      if (entry > hi) hi = entry;
    }
    const uint32_t range = hi > lo ? uint32_t(hi - lo) : 1u;
    for (size_t i = 0; i < length; ++i) {
      const uint32_t above = looked[i] > lo ? uint32_t(looked[i] - lo) : 0u;
      const uint32_t out = above * 255u / range;
      destination[i] = uint8_t(out > 255 ? 255 : out);
    }
    return length;
  }
  if (source != destination) std::memmove(destination, source, length);
  return length;
}

TgbModalityLUT::TgbModalityLUT(float slope, float intercept, int32_t bitsAllocated, int32_t highBit,
                               bool signedInput)
    : TgbLUT(bitsAllocated > 8 ? 16 : 8, signedInput),
      FSlope(slope),
      FIntercept(intercept),
      FBitsAllocated(bitsAllocated),
      FHighBit(highBit),
      FSignedInput(signedInput ? 1 : 0),
      FRescaleActive(slope != 0.0f || intercept != 0.0f ? 1 : 0) {}

TgbModalityLUT::TgbModalityLUT(int32_t firstMapped, uint32_t entries, int32_t outputBits, const uint16_t* table,
                               int32_t bitsAllocated, bool signedInput)
    : TgbLUT(bitsAllocated > 8 ? 16 : 8, signedInput),
      FBitsAllocated(bitsAllocated),
      FSignedInput(signedInput ? 1 : 0),
      FTableActive(1) {
  Initialize(firstMapped, entries, outputBits, table);
}

bool TgbModalityLUT::IsOutputSigned(double slope, double intercept, int32_t bitsAllocated, int32_t highBit,
                                    bool signedInput) {
  if (signedInput) {
    double k = std::ldexp(1.0, bitsAllocated - 1);
    if (slope < 0) k = -k;
    return k * slope > intercept;
  }
  const double g = slope >= 0 ? 0.0 : std::trunc(slope * (std::ldexp(1.0, highBit + 1) - 1));
  return g + intercept < 0;
}

size_t TgbModalityLUT::Rescale(const uint8_t* source, size_t length, uint8_t* destination) {
  FErrorText.clear();
  if (source == nullptr || destination == nullptr) {
    FErrorText = "Empty input buffer";
    return 0;
  }
  const double slope = FSlope;
  const double intercept = FIntercept;
  // Every sample by the same formula, wherever it stands in the buffer.
  if (FBitsAllocated <= 8) {
    for (size_t i = 0; i < length; ++i) {
      const double v = FSignedInput != 0 ? double(int8_t(source[i])) : double(source[i]);
      const int64_t r = Truncate(intercept + slope * v);
      destination[i] = uint8_t(r < 0 ? 0 : r > 255 ? 255 : r);
    }
    return length;
  }
  const bool outputSigned = IsOutputSigned(slope, intercept, FBitsAllocated, FHighBit, FSignedInput != 0);
  auto rescaled = [&](uint16_t raw) {
    const double v = FSignedInput != 0 ? double(int16_t(raw)) : double(raw);
    const int64_t r = Truncate(intercept + slope * v);
    // Signed results saturate; unsigned ones keep their low 16 bits.
    if (outputSigned) return uint16_t(int16_t(r < -32768 ? -32768 : r > 32767 ? 32767 : r));
    return uint16_t(uint64_t(r) & 0xFFFF);
  };
  const size_t count = length / 2;
  if (count >= 32768) {
    // Large frames go through a table of every possible sample: the same function, fewer calls.
    std::vector<uint16_t> table(65536);
    for (uint32_t raw = 0; raw < 65536; ++raw) table[raw] = rescaled(uint16_t(raw));
    for (size_t i = 0; i < count; ++i) Store16(destination + 2 * i, table[Load16(source + 2 * i)]);
  } else {
    for (size_t i = 0; i < count; ++i) Store16(destination + 2 * i, rescaled(Load16(source + 2 * i)));
  }
  if (length % 2 != 0 && source != destination) destination[length - 1] = source[length - 1];
  return length;
}

size_t TgbModalityLUT::Apply(uint8_t* buffer, size_t length) {
  FErrorText.clear();
  if (FRescaleActive != 0 && Rescale(buffer, length, buffer) == 0) return 0;
  if (FTableActive != 0) return Lookup(buffer, length, buffer);
  return length;
}

size_t TgbModalityLUT::Apply(const uint8_t* source, size_t length, uint8_t* destination) {
  FErrorText.clear();
  if (FTableActive != 0) return Lookup(source, length, destination);
  if (FRescaleActive != 0) return Rescale(source, length, destination);
  if (source == nullptr || destination == nullptr) return 0;
  if (source != destination) std::memmove(destination, source, length);
  return length;
}

TgVOILUT::TgVOILUT(int32_t firstMapped, uint32_t entries, int32_t outputBits, const uint16_t* table,
                   int32_t bitsAllocated, bool signedInput, float, float, int32_t)
    : TgbLUT(bitsAllocated > 8 ? 16 : 8, signedInput),
      FBitsAllocated(bitsAllocated),
      FSignedFlag(signedInput ? 1 : 0) {
  Initialize(firstMapped, entries, outputBits, table);
}

TgbPaletteColor::TgbPaletteColor(int32_t indexBits, bool signedIndexes, uint32_t entries, int32_t firstMapped,
                                 int32_t entryBits, const uint16_t* red, const uint16_t* green,
                                 const uint16_t* blue)
    : TgbLUT(indexBits > 8 ? 16 : 8, signedIndexes), FIndexBits(indexBits > 8 ? 16 : 8) {
  if (red == nullptr || green == nullptr || blue == nullptr || entries == 0) return;
  try {
    FRed.assign(red, red + entries);
    FGreen.assign(green, green + entries);
    FBlue.assign(blue, blue + entries);
    if (entryBits > 8) {
      for (auto* table : {&FRed, &FGreen, &FBlue})
        for (uint16_t& v : *table) v = uint16_t(v >> 8);
    }
    if (!Initialize(firstMapped, entries, 8, nullptr)) throw std::bad_alloc();
    FTableSize = size_t(entries) * 2;
    FTablesLoaded = 1;
  } catch (const std::bad_alloc&) {
    FErrorText = "Memory allocation error";
    FRed.clear();
    FGreen.clear();
    FBlue.clear();
  }
}

void TgbPaletteColor::LoadTable(const std::vector<uint16_t>& table) { SetEntries(table.data(), table.size() * 2); }

size_t TgbPaletteColor::Apply(uint8_t* buffer, size_t length) {
  if (FTablesLoaded == 0 || buffer == nullptr) return 0;
  const size_t indexBytes = length / 3;
  const size_t plane = indexBytes * 8 / size_t(FIndexBits);
  try {
    FScratch.assign(buffer, buffer + indexBytes);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  const std::vector<uint16_t>* tables[3] = {&FRed, &FGreen, &FBlue};
  for (size_t k = 0; k < 3; ++k) {
    LoadTable(*tables[k]);
    if (Lookup(FScratch.data(), indexBytes, buffer + k * plane) == 0) return 0;
  }
  return length;
}

size_t TgbPaletteColor::Apply(const uint8_t* source, size_t length, uint8_t* destination) {
  if (FTablesLoaded == 0 || source == nullptr || destination == nullptr) return 0;
  const size_t size = GetOutputSize(length);
  const size_t third = size / 3;
  LoadTable(FBlue);
  if (Lookup(source, length, destination + 2 * third) == 0) return 0;
  LoadTable(FGreen);
  if (Lookup(source, length, destination + third) == 0) return 0;
  LoadTable(FRed);
  if (Lookup(source, length, destination) == 0) return 0;
  return size;
}

}  // namespace ORN_image
