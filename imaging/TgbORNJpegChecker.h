// Reads JPEG marker streams: the component count of the first frame header, and the start
// offsets of the frames that lie together in one fragment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

class TgbORNJpegChecker {
 public:
  // True when the data begins with SOI; count then receives Nf of the first frame header when
  // there is one (and stays otherwise).
  static bool GetComponentCount(const uint8_t* data, size_t length, int32_t* count);
  // Appends the offset of each SOI from which a frame header is reached, until `frames` were
  // found (true) or the data ends (false).
  static bool CollectFrameOffsets(const uint8_t* data, size_t length, uint32_t frames, std::deque<uint32_t>& offsets);
  // The position of the sample-precision byte of the first frame header, -1 when none.
  static int64_t FindFrameHeader(const uint8_t* data, size_t length);
};
