// Lossless frames of precision 2 to 8 through the IJG library of GDCM built for 8-bit samples.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "components/unpackwell/JpegFrame.h"

namespace unpackwell {
namespace ijgLossless8 {
extern "C" {
#include <gdcm-3.0/gdcmjpeg/8/jpeglib.h>
#include <gdcm-3.0/gdcmjpeg/8/jerror.h>
}
#define LIBRARY_HAS_LOSSLESS 1
#include "components/unpackwell/JpegDecodeBody.inc"
#undef LIBRARY_HAS_LOSSLESS
}  // namespace ijgLossless8

bool DecodeJpegLossless8(const uint8_t* data, size_t length, const JpegFrameHeader&, DecodedFrame& frame,
        std::string& error) {
  return ijgLossless8::DecodeWithLibrary(data, length, true, frame, error);
}

}  // namespace unpackwell
