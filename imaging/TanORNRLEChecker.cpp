#include "imaging/TanORNRLEChecker.h"

namespace {

inline uint32_t LE32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

bool TanORNRLEChecker::CollectFrameOffsets(const uint8_t* data, size_t length, uint32_t frames,
                                           std::deque<uint32_t>& offsets) {
  if (data == nullptr) return frames == 0;
  try {
    size_t position = 0;
    uint32_t walked = 0;
    while (walked < frames && position < length) {
      if (length - position < 64) return false;
      const uint8_t* header = data + position;
      const uint32_t k = LE32(header);
      if (k == 0 || k > 15) return false;
      const uint64_t last = LE32(header + 4 * k);
      uint64_t end;
      if (last == 0) {
        end = position;
      } else {
        const uint64_t next = k < 15 ? LE32(header + 4 * (k + 1)) : 0;
        uint64_t segment;
        if (next != 0 && next >= last) {
          segment = next - last;
        } else {
          if (position + last > length) return false;
          segment = length - position - last;
        }
        end = position + last + segment;
      }
      if (end > length) return false;
      offsets.push_back(uint32_t(end));
      position = size_t(end);
      ++walked;
    }
    return walked == frames;
  } catch (...) {
    return false;
  }
}
