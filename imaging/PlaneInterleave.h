// Three planes of n bytes (red, green, blue, one after another) into n RGB triplets. Works on
// blocks of 8 pixels; when n is not a multiple of 8 the last block is the final 8 pixels,
// overlapping the block before it. Frames of fewer than 8 pixels go pixel by pixel. Writes
// exactly 3n bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ORN_image {

void InterleavePlanes(const uint8_t* planes, size_t n, uint8_t* destination);

}  // namespace ORN_image
