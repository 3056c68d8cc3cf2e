#include "engine/ScreenCapture.h"

#include <algorithm>
#include <cstring>

namespace ORN_engine {

namespace {
void Put32(std::vector<uint8_t>& b, size_t at, int32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = uint8_t(uint32_t(v) >> (8 * k));
}
void PutText(std::vector<uint8_t>& b, size_t at, size_t width, const std::string& text) {
  std::memcpy(b.data() + at, text.data(), std::min(text.size(), width - 1));
}
}  // namespace

std::vector<uint8_t> ScreenCaptureBlock(const uint32_t* pixels, int width, int height, double columnSpacing,
                                        double rowSpacing, const std::vector<CaptureSource>& sources) {
  const size_t n = sources.size();
  const size_t pixelBytes = size_t(width) * size_t(height) * 3;
  std::vector<uint8_t> b(kCaptureHeaderBytes + 4 + n * kCaptureRecordBytes + pixelBytes, 0);
  Put32(b, 0, height);
  Put32(b, 4, width);
  Put32(b, 8, 3);   // samples per pixel
  Put32(b, 12, 8);  // bits allocated
  Put32(b, 16, 8);  // bits stored
  Put32(b, 20, 0);  // planar configuration: colour by pixel
  Put32(b, 24, 0);  // unsigned
  uint8_t lo = 255, hi = 0;
  for (size_t i = 0; i < size_t(width) * size_t(height); ++i)
    for (int shift = 0; shift <= 16; shift += 8) {
      const auto v = uint8_t(pixels[i] >> shift);
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  Put32(b, 28, pixelBytes ? lo : 0);
  Put32(b, 32, pixelBytes ? hi : 0);
  Put32(b, 36, 0);  // no reconstruction
  PutText(b, 40, 72, "RGB");
  std::memcpy(b.data() + 112, &columnSpacing, 8);
  std::memcpy(b.data() + 120, &rowSpacing, 8);
  Put32(b, 152, int32_t(n));
  for (size_t r = 0; r < n; ++r) {
    const size_t at = kCaptureHeaderBytes + 4 + r * kCaptureRecordBytes;
    PutText(b, at, 65, sources[r].SopClassUid);
    PutText(b, at + 65, 65, sources[r].SopInstanceUid);
    Put32(b, at + 132, sources[r].Frame);
  }
  uint8_t* out = b.data() + kCaptureHeaderBytes + 4 + n * kCaptureRecordBytes;
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = pixels + size_t(height - 1 - y) * width;  // bottom row first
    for (int x = 0; x < width; ++x) {
      *out++ = uint8_t(row[x]);        // blue
      *out++ = uint8_t(row[x] >> 8);   // green
      *out++ = uint8_t(row[x] >> 16);  // red
    }
  }
  return b;
}

}  // namespace ORN_engine
