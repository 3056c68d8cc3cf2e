// Lossless frames of 16-bit samples through the IJG library of GDCM built for 16-bit samples.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "components/packwell/JpegEncoder.h"

namespace packwell {
namespace ijgLossless16 {
extern "C" {
#include <gdcm-3.0/gdcmjpeg/16/jpeglib.h>
}
#define LIBRARY_HAS_LOSSLESS 1
#include "components/packwell/JpegEncodeBody.inc"
#undef LIBRARY_HAS_LOSSLESS
}  // namespace ijgLossless16

bool EncodeJpegLossless16(const JpegEncodeRequest& request, uint8_t* destination, size_t capacity,
        JpegEncodeResult& result) {
  return ijgLossless16::EncodeWithLibrary(request, destination, capacity, result);
}

}  // namespace packwell
