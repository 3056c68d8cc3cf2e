// One frame of native pixel data compressed into a byte vector: grey and RGB lossless JPEG,
// grey and RGB RLE, grey and RGB lossy JPEG. Every routine first checks that the frame has the
// size its geometry demands (that size, or that size rounded up to even) and leaves the output
// untouched when it has not; on success the output holds exactly the compressed bytes.
// The output is reserved at a size the codecs never exceed, so that an incompressible frame
// still compresses; a frame that would not fit fails rather than being written past the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ORN_dicom {

class TanPixelDataCompressor {
 public:
  // The lossy JPEG quality; the lossless routines do not use it.
  uint8_t FQuality = 50;

  bool CompressJpegLossless(int32_t columns, int32_t rows, int32_t bitsAllocated, const uint8_t* data,
                            uint32_t length, std::vector<uint8_t>& out);
  bool CompressJpegLosslessRGB(int32_t columns, int32_t rows, const uint8_t* data, uint32_t length,
                               std::vector<uint8_t>& out, int32_t planar);
  bool CompressRle(int32_t columns, int32_t rows, int32_t bitsAllocated, const uint8_t* data, uint32_t length,
                   std::vector<uint8_t>& out);
  bool CompressRleRGB(int32_t columns, int32_t rows, int32_t planar, const uint8_t* data, uint32_t length,
                      std::vector<uint8_t>& out);

  // Lossy JPEG at FQuality: grey (samples 1) baseline 8-bit when bits allocated is at most 8,
  // else 12-bit extended; colour as RGB baseline, YBR frames converted to RGB first. The
  // compressor may bring 16-bit samples into 12 bits: slope and intercept (in and out) are
  // then changed so that stored values keep their real values. The compressed size, 0 on
  // failure.
  uint32_t CompressJpegLossy(int32_t columns, int32_t rows, const uint8_t* data, uint32_t length,
                             std::vector<uint8_t>& out, int32_t samples, int32_t bitsAllocated,
                             int32_t pixelRepresentation, int32_t planar, double& slope, double& intercept,
                             const std::string& photometric);

  // True when length is expected or expected rounded up to even.
  static bool FrameSizeFits(uint64_t expected, uint32_t length) {
    return expected > 0 && (length == expected || length == expected + (expected & 1));
  }
};

}  // namespace ORN_dicom
