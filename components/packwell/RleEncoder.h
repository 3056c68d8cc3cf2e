// DICOM RLE encoding of one frame: the 64-byte header and one PackBits segment per byte plane
// (high bytes first for 16-bit samples; red, green, blue for colour), each row encoded on its
// own and each segment padded to an even length.
#pragma once

#include <cstddef>
#include <cstdint>

namespace packwell {

enum class RleSource {
  Grey8,
  Grey16,       // little-endian 16-bit samples
  RgbInterleaved,
  RgbPlanar,
};

// Returns the number of bytes written, or 0 when the frame does not fit the capacity (nothing
// is written past it) or the arguments are invalid.
size_t EncodeRleFrame(int32_t columns, int32_t rows, RleSource source, const uint8_t* samples,
                      uint8_t* destination, size_t capacity);

}  // namespace packwell
