#include "components/packwell/RleEncoder.h"

#include <cstring>

namespace packwell {
namespace {

class Output {
 public:
  Output(uint8_t* start, size_t capacity) : FStart(start), FCapacity(capacity) {}
  bool Put(uint8_t value) {
    if (FAt >= FCapacity) return false;
    FStart[FAt++] = value;
    return true;
  }
  void Skip(size_t count) { FAt += count; }  // the header, written in place
  size_t At() const { return FAt; }

 private:
  uint8_t* FStart;
  size_t FCapacity;
  size_t FAt = 0;
};

// One row of `count` bytes, read `step` bytes apart, in PackBits: runs of two or more equal
// bytes as a repeat, everything else as literals of at most 128 bytes.
bool EncodeRow(const uint8_t* in, size_t step, size_t count, Output& out) {
  size_t i = 0;
  auto at = [&](size_t k) { return in[k * step]; };
  while (i < count) {
    size_t run = 1;
    while (i + run < count && run < 128 && at(i + run) == at(i)) ++run;
    if (run >= 2) {
      if (!out.Put(static_cast<uint8_t>(257 - run)) || !out.Put(at(i))) return false;
      i += run;
      continue;
    }
    // A literal: up to the start of the next run of three or more, or 128 bytes.
    size_t end = i + 1;
    while (end < count && end - i < 128) {
      if (end + 2 < count && at(end) == at(end + 1) && at(end) == at(end + 2)) break;
      ++end;
    }
    const size_t length = end - i;
    if (!out.Put(static_cast<uint8_t>(length - 1))) return false;
    for (size_t k = i; k < end; ++k)
      if (!out.Put(at(k))) return false;
    i = end;
  }
  return true;
}

void PutLE32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

}  // namespace

size_t EncodeRleFrame(int32_t columns, int32_t rows, RleSource source, const uint8_t* samples,
                      uint8_t* destination, size_t capacity) {
  if (columns <= 0 || rows <= 0 || samples == nullptr || destination == nullptr || capacity < 64) return 0;
  const size_t width = size_t(columns);
  const size_t pixels = width * size_t(rows);

  struct Plane {
    const uint8_t* first;
    size_t step;       // between samples of a row
    size_t rowStride;  // between rows
  };
  Plane planes[3];
  int count = 0;
  switch (source) {
    case RleSource::Grey8:
      planes[count++] = {samples, 1, width};
      break;
    case RleSource::Grey16:
      planes[count++] = {samples + 1, 2, 2 * width};
      planes[count++] = {samples, 2, 2 * width};
      break;
    case RleSource::RgbInterleaved:
      for (int c = 0; c < 3; ++c) planes[count++] = {samples + c, 3, 3 * width};
      break;
    case RleSource::RgbPlanar:
      for (int c = 0; c < 3; ++c) planes[count++] = {samples + size_t(c) * pixels, 1, width};
      break;
  }

  std::memset(destination, 0, 64);
  PutLE32(destination, uint32_t(count));
  Output out(destination, capacity);
  out.Skip(64);
  for (int s = 0; s < count; ++s) {
    if (out.At() > UINT32_MAX) return 0;
    PutLE32(destination + 4 + 4 * s, uint32_t(out.At()));
    for (size_t r = 0; r < size_t(rows); ++r)
      if (!EncodeRow(planes[s].first + r * planes[s].rowStride, planes[s].step, width, out)) return 0;
    if (out.At() % 2 != 0 && !out.Put(0)) return 0;
  }
  return out.At();
}

}  // namespace packwell
