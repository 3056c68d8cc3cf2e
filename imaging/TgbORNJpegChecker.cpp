#include "imaging/TgbORNJpegChecker.h"

namespace {

inline uint32_t Word(const uint8_t* p) { return (uint32_t(p[0]) << 8) | p[1]; }

bool IsFrameMarker(uint32_t w) {
  return (w >= 0xFFC0 && w <= 0xFFC3) || (w >= 0xFFC5 && w <= 0xFFC7) || (w >= 0xFFC9 && w <= 0xFFCB) ||
         (w >= 0xFFCD && w <= 0xFFCF);
}

}  // namespace

int64_t TgbORNJpegChecker::FindFrameHeader(const uint8_t* data, size_t length) {
  if (data == nullptr) return -1;
  size_t offset = 0;
  while (offset + 4 < length) {
    const uint32_t w = Word(data + offset);
    if (IsFrameMarker(w)) return int64_t(offset) + 4;
    if (w == 0xFFC4 || w == 0xFFC8 || w == 0xFFCC || (w >= 0xFFDA && w <= 0xFFFE)) {
      offset += 2 + Word(data + offset + 2);
    } else if ((w >= 0xFFD0 && w <= 0xFFD9) || w == 0xFF01) {
      offset += 2;
    } else if (data[offset] == 0xFF && data[offset + 1] >= 0x03 && data[offset + 1] <= 0xBF) {
      offset += 2;
    } else {
      return -1;
    }
  }
  return -1;
}

bool TgbORNJpegChecker::GetComponentCount(const uint8_t* data, size_t length, int32_t* count) {
  if (data == nullptr) return false;
  if (length < 2 || Word(data) != 0xFFD8) return false;
  const int64_t p = FindFrameHeader(data, length);
  // Nf lies 5 bytes after the precision byte.
  if (p > 3 && count != nullptr && size_t(p) + 5 < length) *count = data[p + 5];
  return true;
}

bool TgbORNJpegChecker::CollectFrameOffsets(const uint8_t* data, size_t length, uint32_t frames,
                                            std::deque<uint32_t>& offsets) {
  if (data == nullptr || length < 2 || Word(data) != 0xFFD8) return frames == 0;
  try {
    size_t position = 0;
    for (uint32_t f = 0; f < frames; ++f) {
      bool found = false;
      while (position + 2 <= length) {
        if (Word(data + position) == 0xFFD8 && FindFrameHeader(data + position, length - position) >= 0) {
          found = true;
          break;
        }
        position += 2;
      }
      if (!found) return false;
      offsets.push_back(uint32_t(position));
      position += 4;
    }
    return true;
  } catch (...) {
    return false;
  }
}
