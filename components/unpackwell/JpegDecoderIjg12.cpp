// 12-bit DCT frames (extended, processes 2 and 4) through the IJG library of GDCM built for 12-bit samples.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "components/unpackwell/JpegFrame.h"

namespace unpackwell {
namespace ijg12 {
extern "C" {
#include <gdcm-3.0/gdcmjpeg/12/jpeglib.h>
#include <gdcm-3.0/gdcmjpeg/12/jerror.h>
}
#define LIBRARY_HAS_LOSSLESS 1
#include "components/unpackwell/JpegDecodeBody.inc"
#undef LIBRARY_HAS_LOSSLESS
}  // namespace ijg12

bool DecodeJpeg12(const uint8_t* data, size_t length, const JpegFrameHeader&, DecodedFrame& frame,
        std::string& error) {
  return ijg12::DecodeWithLibrary(data, length, false, frame, error);
}

}  // namespace unpackwell
