// 12-bit extended (process 4) frames through the IJG library of GDCM built for 12-bit samples.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "components/packwell/JpegEncoder.h"

namespace packwell {
namespace ijg12 {
extern "C" {
#include <gdcm-3.0/gdcmjpeg/12/jpeglib.h>
}
#define LIBRARY_HAS_LOSSLESS 1
#include "components/packwell/JpegEncodeBody.inc"
#undef LIBRARY_HAS_LOSSLESS
}  // namespace ijg12

bool EncodeJpeg12(const JpegEncodeRequest& request, uint8_t* destination, size_t capacity,
        JpegEncodeResult& result) {
  return ijg12::EncodeWithLibrary(request, destination, capacity, result);
}

}  // namespace packwell
