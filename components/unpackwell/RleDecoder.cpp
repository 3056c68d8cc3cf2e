#include "components/unpackwell/RleDecoder.h"

#include <cstring>

namespace unpackwell {
namespace {

uint32_t ReadLE32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// One PackBits segment into `count` bytes placed `Step` bytes apart.
template <size_t Step>
bool DecodeSegment(const uint8_t* in, const uint8_t* end, uint8_t* out, size_t count) {
  size_t done = 0;
  while (done < count) {
    if (in >= end) return false;
    const int header = static_cast<int8_t>(*in++);
    if (header >= 0) {
      size_t run = static_cast<size_t>(header) + 1;
      if (static_cast<size_t>(end - in) < run) return false;
      if (run > count - done) run = count - done;
      if constexpr (Step == 1) {
        std::memcpy(out + done, in, run);
      } else {
        for (size_t i = 0; i < run; ++i) out[(done + i) * Step] = in[i];
      }
      in += run;
      done += run;
    } else if (header != -128) {
      if (in >= end) return false;
      size_t run = static_cast<size_t>(1 - header);
      if (run > count - done) run = count - done;
      const uint8_t value = *in++;
      if constexpr (Step == 1) {
        std::memset(out + done, value, run);
      } else {
        for (size_t i = 0; i < run; ++i) out[(done + i) * Step] = value;
      }
      done += run;
    }
  }
  return true;
}

}  // namespace

bool DecodeRleFrame(int32_t columns, int32_t rows, RleLayout layout, const uint8_t* source, size_t length,
                    uint8_t* destination, std::string& error) {
  if (columns <= 0 || rows <= 0 || source == nullptr || destination == nullptr) {
    error = "Invalid RLE frame arguments";
    return false;
  }
  if (length < 64) {
    error = "RLE header is truncated";
    return false;
  }
  const uint32_t expected = layout == RleLayout::Grey8 ? 1 : layout == RleLayout::Grey16 ? 2 : 3;
  const uint32_t segments = ReadLE32(source);
  if (segments != expected) {
    error = "RLE segment count does not match the image";
    return false;
  }
  const size_t pixels = size_t(columns) * size_t(rows);
  for (uint32_t s = 0; s < segments; ++s) {
    const uint32_t start = ReadLE32(source + 4 + 4 * s);
    const size_t end = s + 1 < segments ? ReadLE32(source + 8 + 4 * s) : length;
    if (start < 64 || start > end || end > length) {
      error = "RLE segment offset out of range";
      return false;
    }
    const uint8_t* in = source + start;
    const uint8_t* inEnd = source + end;
    bool ok = false;
    switch (layout) {
      case RleLayout::Grey8:
        ok = DecodeSegment<1>(in, inEnd, destination, pixels);
        break;
      case RleLayout::Grey16:  // segment 0 holds the high bytes
        ok = DecodeSegment<2>(in, inEnd, destination + (s == 0 ? 1 : 0), pixels);
        break;
      case RleLayout::Rgb8:
        ok = DecodeSegment<3>(in, inEnd, destination + s, pixels);
        break;
    }
    if (!ok) {
      error = "RLE segment ends before its plane is complete";
      return false;
    }
  }
  return true;
}

}  // namespace unpackwell
