// DICOM RLE frames: a 64-byte header (segment count, then 15 segment offsets, little endian)
// followed by PackBits segments, one per byte plane of the frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace unpackwell {

enum class RleLayout {
  Grey8,   // one segment
  Grey16,  // two segments, high bytes first; samples written little endian
  Rgb8,    // three segments, red, green, blue; written as interleaved triplets
};

// Decodes the frame into columns × rows pixels of the layout. Fails, with a reason, when the
// segment count does not match the layout, an offset lies outside the data or out of order,
// or a segment ends before its plane is full. Bytes a segment holds beyond its plane are
// ignored.
bool DecodeRleFrame(int32_t columns, int32_t rows, RleLayout layout, const uint8_t* source, size_t length,
                    uint8_t* destination, std::string& error);

}  // namespace unpackwell
