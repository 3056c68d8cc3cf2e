#include "components/unpackwell/fuzz/FuzzEntries.h"

#include <string>
#include <vector>

#include "components/unpackwell/JpegFrame.h"
#include "components/unpackwell/RleDecoder.h"

namespace unpackwell::fuzz {

bool DecodeJpegInput(const uint8_t* data, size_t size) {
  JpegFrameHeader header;
  if (!ReadJpegFrameHeader(data, size, header)) return false;
  // Fuzzing looks for crashes, not for large allocations.
  if (uint64_t(header.width) * header.height * header.components > (uint64_t{1} << 22)) return false;
  DecodedFrame frame;
  std::string error;
  if (IsLosslessMarker(header.marker)) {
    if (header.precision < 2 || header.precision > 16) return false;
    return header.precision <= 8 ? DecodeJpegLossless8(data, size, header, frame, error)
                                 : DecodeJpegLossless16(data, size, header, frame, error);
  }
  if (header.precision == 8) return DecodeJpeg8(data, size, header, frame, error);
  if (header.precision == 12) return DecodeJpeg12(data, size, header, frame, error);
  return false;
}

bool DecodeRleInput(const uint8_t* data, size_t size) {
  if (size < 4) return false;
  const int32_t columns = data[0] + 1;
  const int32_t rows = data[1] + 1;
  const RleLayout layout = data[2] % 3 == 0 ? RleLayout::Grey8 : data[2] % 3 == 1 ? RleLayout::Grey16 : RleLayout::Rgb8;
  std::vector<uint8_t> out(size_t(columns) * rows * 3);
  std::string error;
  return DecodeRleFrame(columns, rows, layout, data + 4, size - 4, out.data(), error);
}

}  // namespace unpackwell::fuzz
