#include "components/unpackwell/JpegFrame.h"

namespace unpackwell {

bool ReadJpegFrameHeader(const uint8_t* data, size_t length, JpegFrameHeader& header) {
  if (data == nullptr || length < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  size_t at = 2;
  while (at + 4 <= length) {
    if (data[at] != 0xFF) return false;
    const uint8_t marker = data[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9)) {  // markers without a segment
      at += 2;
      continue;
    }
    const size_t segment = (size_t{data[at + 2]} << 8) | data[at + 3];
    if (segment < 2 || at + 2 + segment > length) return false;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (segment < 8) return false;
      const uint8_t* f = data + at + 4;
      header.marker = marker;
      header.precision = f[0];
      header.height = (f[1] << 8) | f[2];
      header.width = (f[3] << 8) | f[4];
      header.components = f[5];
      return true;
    }
    at += 2 + segment;
  }
  return false;
}

}  // namespace unpackwell
