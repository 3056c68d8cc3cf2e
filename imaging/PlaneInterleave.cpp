#include "imaging/PlaneInterleave.h"

namespace ORN_image {
namespace {

inline void InterleaveBlock(const uint8_t* r, const uint8_t* g, const uint8_t* b, uint8_t* out) {
  for (int i = 0; i < 8; ++i) {
    out[3 * i] = r[i];
    out[3 * i + 1] = g[i];
    out[3 * i + 2] = b[i];
  }
}

}  // namespace

void InterleavePlanes(const uint8_t* planes, size_t n, uint8_t* destination) {
  const uint8_t* r = planes;
  const uint8_t* g = planes + n;
  const uint8_t* b = planes + 2 * n;
  if (n < 8) {
    for (size_t i = 0; i < n; ++i) {
      destination[3 * i] = r[i];
      destination[3 * i + 1] = g[i];
      destination[3 * i + 2] = b[i];
    }
    return;
  }
  size_t at = 0;
  for (; at + 8 <= n; at += 8) InterleaveBlock(r + at, g + at, b + at, destination + 3 * at);
  if (at < n) {
    const size_t last = n - 8;
    InterleaveBlock(r + last, g + last, b + last, destination + 3 * last);
  }
}

}  // namespace ORN_image
