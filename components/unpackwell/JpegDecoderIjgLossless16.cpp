// Lossless frames of precision 9 to 16 through the IJG library of GDCM built for 16-bit samples.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "components/unpackwell/JpegFrame.h"

namespace unpackwell {
namespace ijgLossless16 {
extern "C" {
#include <gdcm-3.0/gdcmjpeg/16/jpeglib.h>
#include <gdcm-3.0/gdcmjpeg/16/jerror.h>
}
#define LIBRARY_HAS_LOSSLESS 1
#include "components/unpackwell/JpegDecodeBody.inc"
#undef LIBRARY_HAS_LOSSLESS
}  // namespace ijgLossless16

bool DecodeJpegLossless16(const uint8_t* data, size_t length, const JpegFrameHeader&, DecodedFrame& frame,
        std::string& error) {
  return ijgLossless16::DecodeWithLibrary(data, length, true, frame, error);
}

}  // namespace unpackwell
