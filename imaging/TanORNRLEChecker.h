// Walks the RLE frames that lie one after another in a fragment, each starting with its
// 64-byte header, and appends where each frame ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

class TanORNRLEChecker {
 public:
  // True when `frames` frames were walked within the data. A header with no segments, or with
  // more than 15, or one that does not fit the remaining data, fails. The last segment of a
  // frame runs to the end of the data unless the header names a further offset.
  static bool CollectFrameOffsets(const uint8_t* data, size_t length, uint32_t frames, std::deque<uint32_t>& offsets);
};
