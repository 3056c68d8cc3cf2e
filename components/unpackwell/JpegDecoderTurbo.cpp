// 8-bit DCT frames (baseline, extended, progressive) through libjpeg-turbo.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "components/unpackwell/JpegFrame.h"

namespace unpackwell {
namespace turbo {
extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}
#define LIBRARY_HAS_LOSSLESS 0
#include "components/unpackwell/JpegDecodeBody.inc"
#undef LIBRARY_HAS_LOSSLESS
}  // namespace turbo

bool DecodeJpeg8(const uint8_t* data, size_t length, const JpegFrameHeader&, DecodedFrame& frame,
                 std::string& error) {
  return turbo::DecodeWithLibrary(data, length, false, frame, error);
}

}  // namespace unpackwell
