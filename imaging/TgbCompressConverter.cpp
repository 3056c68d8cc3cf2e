#include "imaging/TgbCompressConverter.h"

#include <cmath>
#include <cstring>

#include "imaging/TgbPaddingChecker.h"

namespace {

inline uint16_t Load16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline void Store16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }

// The source brought into the destination, where every later step works in place.
void Prepare(const uint8_t* source, size_t length, uint8_t* destination) {
  if (source != destination) std::memmove(destination, source, length);
}

int64_t Trunc(double v) { return static_cast<int64_t>(std::trunc(v)); }

}  // namespace

void TgbCompressConverter::NormaliseStoredBits(int32_t bitsAllocated, int32_t* bitsStored, int32_t* highBit,
                                               int32_t pixelRepresentation, uint8_t* data, size_t length) {
  const bool wide = bitsAllocated > 8;
  const size_t count = wide ? length / 2 : length;
  const int32_t shift = *highBit + 1 - *bitsStored;
  if (shift > 0 && shift < 16) {
    for (size_t i = 0; i < count; ++i) {
      if (wide) Store16(data + 2 * i, uint16_t(Load16(data + 2 * i) >> shift));
      else data[i] = uint8_t(data[i] >> shift);
    }
    *highBit = *bitsStored - 1;
  }
  if (*bitsStored > 0 && *bitsStored < bitsAllocated && *bitsStored < 16) {
    if (pixelRepresentation == 0) {
      const uint16_t mask = uint16_t((1u << *bitsStored) - 1);
      for (size_t i = 0; i < count; ++i) {
        if (wide) Store16(data + 2 * i, uint16_t(Load16(data + 2 * i) & mask));
        else data[i] = uint8_t(data[i] & mask);
      }
    } else if (wide) {
      const uint16_t sign = uint16_t(1u << (*bitsStored - 1));
      const uint16_t extend = uint16_t(0xFFFFu << (*bitsStored - 1));
      for (size_t i = 0; i < count; ++i) {
        const uint16_t v = Load16(data + 2 * i);
        if (v & sign) Store16(data + 2 * i, uint16_t(v | extend));
      }
    }
  }
  if (pixelRepresentation != 0) {
    *bitsStored = bitsAllocated;
    *highBit = bitsAllocated - 1;
  }
}

bool TgbCompressConverter::ApplyModalityLUT(int32_t firstMapped, int32_t entries, const uint16_t* table,
                                            int32_t bitsAllocated, int32_t* bitsStored, int32_t* highBit,
                                            int32_t pixelRepresentation, const uint8_t* source, size_t length,
                                            uint8_t* destination) {
  try {
    if (table == nullptr || entries <= 0 || source == nullptr || destination == nullptr) return false;
    Prepare(source, length, destination);
    NormaliseStoredBits(bitsAllocated, bitsStored, highBit, pixelRepresentation, destination, length);
    if (FCheckPadding) {
      TgbPaddingChecker padding(bitsAllocated, pixelRepresentation, FLowEnd, FPaddingValue);
      if (!padding.Apply(destination, destination, length)) return false;
    }
    const int64_t f = firstMapped;
    const int64_t last = int64_t(entries) - 1;
    auto index = [&](int64_t v) {
      int64_t i = v - f;
      if (i < 0) i = 0;
      if (i > last) i = last;
      return size_t(i);
    };
    if (bitsAllocated > 8) {
      for (size_t i = 0; 2 * i + 1 < length; ++i) {
        const uint16_t raw = Load16(destination + 2 * i);
        const int64_t v = pixelRepresentation != 0 ? int64_t(int16_t(raw)) : int64_t(raw);
        Store16(destination + 2 * i, table[index(v)]);
      }
    } else {
      for (size_t i = 0; i < length; ++i) destination[i] = uint8_t(table[index(destination[i])] & 0xFF);
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool TgbCompressConverter::ApplyRescale(double slope, double intercept, int32_t bitsAllocated, int32_t* bitsStored,
                                        int32_t* highBit, int32_t* pixelRepresentation, const uint8_t* source,
                                        size_t length, uint8_t* destination) {
  try {
    if (source == nullptr || destination == nullptr || pixelRepresentation == nullptr) return false;
    Prepare(source, length, destination);
    const int32_t inputSigned = *pixelRepresentation;
    NormaliseStoredBits(bitsAllocated, bitsStored, highBit, inputSigned, destination, length);
    if (FCheckPadding) {
      TgbPaddingChecker padding(bitsAllocated, inputSigned, FLowEnd, FPaddingValue);
      if (!padding.Apply(destination, destination, length)) return false;
    }

    bool outputSigned;
    if (inputSigned != 0) {
      double k = std::ldexp(1.0, bitsAllocated - 1);
      if (slope < 0) k = -k;
      outputSigned = k * slope > intercept;
    } else {
      const double g = slope >= 0 ? 0.0 : double(Trunc(slope * (std::ldexp(1.0, *highBit + 1) - 1)));
      outputSigned = g + intercept < 0;
    }
    *pixelRepresentation = outputSigned ? 1 : 0;
    if (slope == 1.0 && intercept == 0.0) return true;

    const bool wide = bitsAllocated > 8;
    int s = wide ? 14 : 7;
    if (std::fabs(slope) > 1) {
      const int64_t t = Trunc(std::ldexp(1.0, s) / std::fabs(slope));
      while (s > 0 && (int64_t{1} << s) > t) --s;
    }
    const int64_t m = Trunc(std::ldexp(1.0, s) * slope);
    const int64_t b = Trunc(intercept);

    if (!wide) {
      const size_t grouped = length / 4 * 4;
      for (size_t i = 0; i < grouped; ++i) {
        const uint32_t product = uint32_t(int64_t(destination[i]) * m) & 0xFFFFu;
        const int16_t sum = int16_t(uint16_t(((product >> s) + uint32_t(b)) & 0xFFFFu));
        destination[i] = uint8_t(sum < 0 ? 0 : sum > 255 ? 255 : sum);
      }
      for (size_t i = grouped; i < length; ++i)
        destination[i] = uint8_t(Trunc(intercept + slope * destination[i]) & 0xFF);
      return true;
    }

    const size_t count = length / 2;
    auto sampleOf = [&](size_t i) {
      const uint16_t raw = Load16(destination + 2 * i);
      return inputSigned != 0 ? int64_t(int16_t(raw)) : int64_t(raw);
    };
    if (inputSigned == 0 && *highBit >= 15) {
      for (size_t i = 0; i < count; ++i)
        Store16(destination + 2 * i, uint16_t(Trunc(intercept + slope * double(sampleOf(i))) & 0xFFFF));
      return true;
    }
    const size_t grouped = count / 4 * 4;
    for (size_t i = 0; i < grouped; ++i) {
      const int64_t v = int64_t(int16_t(Load16(destination + 2 * i)));
      const int64_t q = (v * m) / (int64_t{1} << s);  // rounds toward zero
      int64_t r = q + b;
      if (outputSigned) {
        r = r < -32768 ? -32768 : r > 32767 ? 32767 : r;
      }
      Store16(destination + 2 * i, uint16_t(r & 0xFFFF));
    }
    for (size_t i = grouped; i < count; ++i)
      Store16(destination + 2 * i, uint16_t(Trunc(intercept + slope * double(sampleOf(i))) & 0xFFFF));
    return true;
  } catch (...) {
    return false;
  }
}

bool TgbCompressConverter::ApplyPaletteColor(int32_t firstMapped, int32_t entries, const uint16_t* red,
                                             const uint16_t* green, const uint16_t* blue, int32_t bitsAllocated,
                                             const uint8_t* source, size_t length, uint8_t* destination,
                                             size_t destinationSize) {
  try {
    if (red == nullptr || green == nullptr || blue == nullptr || entries <= 0 || source == nullptr ||
        destination == nullptr)
      return false;
    const size_t plane = destinationSize / 3;
    const bool wide = bitsAllocated > 8;
    const size_t count = wide ? length / 2 : length;
    if (count > plane) return false;
    const int64_t last = int64_t(entries) - 1;
    for (size_t i = 0; i < count; ++i) {
      const int64_t v = wide ? int64_t(Load16(source + 2 * i)) : int64_t(source[i]);
      int64_t k = v - firstMapped;
      if (k < 0) k = 0;
      if (k > last) k = last;
      destination[i] = uint8_t(red[k] & 0xFF);
      destination[plane + i] = uint8_t(green[k] & 0xFF);
      destination[2 * plane + i] = uint8_t(blue[k] & 0xFF);
    }
    return true;
  } catch (...) {
    return false;
  }
}
