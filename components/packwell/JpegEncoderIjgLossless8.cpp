// Lossless frames of 8-bit samples through the IJG library of GDCM built for 8-bit samples.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "components/packwell/JpegEncoder.h"

namespace packwell {
namespace ijgLossless8 {
extern "C" {
#include <gdcm-3.0/gdcmjpeg/8/jpeglib.h>
}
#define LIBRARY_HAS_LOSSLESS 1
#include "components/packwell/JpegEncodeBody.inc"
#undef LIBRARY_HAS_LOSSLESS
}  // namespace ijgLossless8

bool EncodeJpegLossless8(const JpegEncodeRequest& request, uint8_t* destination, size_t capacity,
        JpegEncodeResult& result) {
  return ijgLossless8::EncodeWithLibrary(request, destination, capacity, result);
}

}  // namespace packwell
