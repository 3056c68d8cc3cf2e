#include "dicom/io/pixel/TanPixelDataCompressor.h"

#include <algorithm>
#include <functional>

#include "imaging/TgbYBR.h"
#include "imaging/TsgImageConverter.h"

namespace ORN_dicom {

namespace {

uint64_t Pixels(int32_t columns, int32_t rows) {
  return columns > 0 && rows > 0 ? uint64_t(columns) * uint64_t(rows) : 0;
}

uint32_t GreyBytes(int32_t bitsAllocated) { return static_cast<uint8_t>(bitsAllocated) <= 8 ? 1 : 2; }

// Room for the compressed frame: what the routine reserves, but never less than the codecs'
// worst case (noise does not shrink, and RLE grows it by a little).
uint64_t Room(uint64_t reserved, uint32_t length) { return std::max<uint64_t>(reserved, uint64_t(length) * 2 + 4096); }

// Checks the size, sizes the output and lets compress fill it; the output then holds exactly
// the compressed bytes.
bool Run(uint64_t expected, uint64_t reserved, uint32_t length, std::vector<uint8_t>& out,
         const std::function<uint32_t(uint8_t*, uint32_t)>& compress) {
  if (!TanPixelDataCompressor::FrameSizeFits(expected, length)) return false;
  try {
    const uint64_t room = Room(reserved, length);
    if (room > 0xFFFFFFFFull) return false;
    out.assign(room, 0);
    const uint32_t written = compress(out.data(), static_cast<uint32_t>(room));
    if (written == 0) return false;
    out.resize(written);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

bool TanPixelDataCompressor::CompressJpegLossless(int32_t columns, int32_t rows, int32_t bitsAllocated,
                                                  const uint8_t* data, uint32_t length, std::vector<uint8_t>& out) {
  const uint64_t e = Pixels(columns, rows) * GreyBytes(bitsAllocated);
  return data != nullptr && Run(e, e, length, out, [&](uint8_t* to, uint32_t room) {
           TsgImageConverter c;
           return c.CompressJpegLossless(columns, rows, bitsAllocated, data, to, room);
         });
}

bool TanPixelDataCompressor::CompressJpegLosslessRGB(int32_t columns, int32_t rows, const uint8_t* data,
                                                     uint32_t length, std::vector<uint8_t>& out, int32_t planar) {
  const uint64_t e = Pixels(columns, rows) * 3;
  return data != nullptr && Run(e, e, length, out, [&](uint8_t* to, uint32_t room) {
           TsgImageConverter c;
           return c.CompressJpegLosslessRGB(columns, rows, data, to, planar, room);
         });
}

bool TanPixelDataCompressor::CompressRle(int32_t columns, int32_t rows, int32_t bitsAllocated, const uint8_t* data,
                                         uint32_t length, std::vector<uint8_t>& out) {
  const uint64_t e = Pixels(columns, rows) * GreyBytes(bitsAllocated);
  return data != nullptr && Run(e, e + 64, length, out, [&](uint8_t* to, uint32_t room) {
           TsgImageConverter c;
           return c.CompressRle(columns, rows, bitsAllocated, data, to, room);
         });
}

bool TanPixelDataCompressor::CompressRleRGB(int32_t columns, int32_t rows, int32_t planar, const uint8_t* data,
                                            uint32_t length, std::vector<uint8_t>& out) {
  const uint64_t e = Pixels(columns, rows) * 3;
  return data != nullptr && Run(e, e + 64, length, out, [&](uint8_t* to, uint32_t room) {
           TsgImageConverter c;
           return c.CompressRleRGB(columns, rows, planar == 0 ? 1 : 0, data, to, room);
         });
}

uint32_t TanPixelDataCompressor::CompressJpegLossy(int32_t columns, int32_t rows, const uint8_t* data,
                                                   uint32_t length, std::vector<uint8_t>& out, int32_t samples,
                                                   int32_t bitsAllocated, int32_t pixelRepresentation,
                                                   int32_t planar, double& slope, double& intercept,
                                                   const std::string& photometric) {
  if (data == nullptr) return 0;
  const bool grey = samples <= 1;
  // Grey JPEG takes 8- or 16-bit samples, colour 8-bit triplets.
  if (grey ? (bitsAllocated != 8 && bitsAllocated != 16) : bitsAllocated != 8) return 0;
  const uint64_t e = Pixels(columns, rows) * (grey ? uint64_t(bitsAllocated / 8) : uint64_t(samples));
  std::vector<uint8_t> rgb;
  uint32_t size = 0;
  const bool ok = Run(e, e, length, out, [&](uint8_t* to, uint32_t room) -> uint32_t {
    TsgImageConverter c;
    if (grey) {
      int32_t representation = pixelRepresentation;
      double s = slope, i = intercept;
      const uint32_t n =
          c.CompressJpegLossy(columns, rows, data, to, bitsAllocated, &representation, &s, &i, FQuality, room);
      if (n != 0) {
        slope = s;
        intercept = i;
      }
      return n;
    }
    if (samples != 3) return 0;
    const uint8_t* from = data;
    int32_t p = planar;
    if (photometric.find("YBR") != std::string::npos) {
      rgb.assign(size_t(Pixels(columns, rows)) * 3, 0);
      TgbYBR ybr(rows, columns, planar, photometric.c_str());
      if (!ybr.Convert(data, length, rgb.data())) return 0;
      from = rgb.data();
      p = 0;
    }
    return c.CompressJpegLossyRGB(columns, rows, from, to, p, FQuality, room);
  });
  if (ok) size = static_cast<uint32_t>(out.size());
  return size;
}

}  // namespace ORN_dicom
