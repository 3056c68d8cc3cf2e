#include "imaging/TgbYBR.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

enum Kind { kFull = 0, kFull422 = 1, kPartial422 = 2, kPartial420 = 3, kIct = 4, kRct = 5 };

int32_t KindOf(const char* text) {
  if (text == nullptr) return -1;
  static const char* const names[] = {"YBR_FULL", "YBR_FULL_422", "YBR_PARTIAL_422",
                                      "YBR_PARTIAL_420", "YBR_ICT", "YBR_RCT"};
  for (int32_t k = 0; k < 6; ++k)
    if (std::strcmp(text, names[k]) == 0) return k;
  return -1;
}

// Integer division by 2^k that maps a negative numerator to 0, then the cap at 255.
inline uint8_t Scale(int32_t numerator, int shift) {
  if (numerator < 0) return 0;
  const int32_t v = numerator >> shift;
  return static_cast<uint8_t>(v > 255 ? 255 : v);
}

inline uint8_t Clamp(int32_t v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

TgbYBR::TgbYBR(int32_t rows, int32_t columns, int32_t planarConfiguration, const char* photometric)
    : FColumns(columns), FRows(rows), FPlanar(planarConfiguration), FKind(KindOf(photometric)) {}

size_t TgbYBR::InputSize() const {
  const size_t columns = size_t(FColumns);
  const size_t rows = size_t(FRows);
  const size_t groupRow = (columns + 1) / 2 * 4;  // 4:2:2 groups of one row
  switch (FKind) {
    case kFull422:
    case kPartial422:
      return groupRow * rows;
    case kPartial420:
      return rows / 2 * (groupRow + columns) + (rows % 2) * groupRow;
    default:
      return 3 * columns * rows;
  }
}

bool TgbYBR::ConvertInPlace(uint8_t* buffer, size_t length) { return Run(buffer, length, buffer, true); }

bool TgbYBR::Convert(const uint8_t* source, size_t length, uint8_t* destination) {
  return Run(source, length, destination, false);
}

bool TgbYBR::Run(const uint8_t* source, size_t length, uint8_t* destination, bool inPlace) {
  FErrorText.clear();
  if (FKind < 0) {
    FErrorText = "Photometric interpretation is not YBR";
    return false;
  }
  if (length == 0 || source == nullptr || destination == nullptr) return false;
  if (FColumns <= 0 || FRows <= 0) return false;
  const size_t columns = size_t(FColumns);
  const size_t n = columns * size_t(FRows);
  if (FPlanar != 0 && FKind != kFull) {
    // Only YBR_FULL comes as planes. In place the data stay as they are; a separate
    // destination would be left unwritten, so that is a failure rather than a success.
    if (inPlace) return true;
    FErrorText = "Planar configuration is not supported for this photometric interpretation";
    return false;
  }
  const size_t input = FPlanar != 0 ? 3 * n : InputSize();
  if (length < input || (inPlace && length < 3 * n)) {
    FErrorText = "Buffer is too small for the image";
    return false;
  }

  std::vector<uint8_t> work;
  try {
    work.assign(3 * n, 0);
  } catch (const std::bad_alloc&) {
    FErrorText = "Memory allocation error";
    return false;
  }
  uint8_t* y = work.data();
  uint8_t* cb = y + n;
  uint8_t* cr = cb + n;

  if (FPlanar != 0) {
    std::memcpy(work.data(), source, 3 * n);
  } else if (FKind == kFull || FKind == kIct || FKind == kRct) {
    for (size_t i = 0; i < n; ++i) {
      y[i] = source[3 * i];
      cb[i] = source[3 * i + 1];
      cr[i] = source[3 * i + 2];
    }
  } else {
    // 4:2:2 groups Y0 Y1 Cb Cr; for 4:2:0 every first row of a pair is 4:2:2 and the second
    // row brings its luma only, sharing the chroma of the row above.
    const uint8_t* in = source;
    auto groupRow = [&](size_t r) {
      for (size_t c = 0; c < columns; c += 2, in += 4) {
        const size_t i = r * columns + c;
        y[i] = in[0];
        cb[i] = in[2];
        cr[i] = in[3];
        if (c + 1 < columns) {
          y[i + 1] = in[1];
          cb[i + 1] = in[2];
          cr[i + 1] = in[3];
        }
      }
    };
    const size_t rows = size_t(FRows);
    for (size_t r = 0; r < rows; ++r) {
      groupRow(r);
      if (FKind == kPartial420 && r + 1 < rows) {
        ++r;
        const size_t i = r * columns;
        std::memcpy(y + i, in, columns);
        std::memcpy(cb + i, cb + i - columns, columns);
        std::memcpy(cr + i, cr + i - columns, columns);
        in += columns;
      }
    }
  }

  for (size_t i = 0; i < n; ++i) {
    const int32_t Y = y[i];
    const int32_t Cb = cb[i];
    const int32_t Cr = cr[i];
    uint8_t r = 0, g = 0, b = 0;
    switch (FKind) {
      case kFull:
      case kFull422:
        r = Scale(64 * Y + 89 * (Cr - 128), 6);
        g = Scale(64 * Y - 22 * (Cb - 128) - 45 * (Cr - 128), 6);
        b = Scale(64 * Y + 113 * (Cb - 128), 6);
        break;
      case kPartial422:
      case kPartial420: {
        const int32_t Yp = Y < 16 ? 0 : Y - 16;
        r = Scale(148 * Yp + 204 * (Cr - 128), 7);
        g = Scale(148 * Yp - 50 * (Cb - 128) - 104 * (Cr - 128), 7);
        b = Scale(148 * Yp + 258 * (Cb - 128), 7);
        break;
      }
      case kIct:
        r = Scale(256 * Y + 358 * Cr, 8);
        g = Scale(256 * Y - 88 * Cb - 182 * Cr, 8);
        b = Scale(256 * Y + 453 * Cb, 8);
        break;
      case kRct: {
        const int32_t G = Y - ((Cb + Cr) >> 2);
        r = Clamp(Cr + G);
        b = Clamp(Cb + G);
        g = Clamp(G);
        break;
      }
    }
    y[i] = r;
    cb[i] = g;
    cr[i] = b;
  }
  for (size_t i = 0; i < n; ++i) {
    destination[3 * i] = y[i];
    destination[3 * i + 1] = cb[i];
    destination[3 * i + 2] = cr[i];
  }
  return true;
}
