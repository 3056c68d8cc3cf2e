// 8-bit baseline frames through libjpeg-turbo.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "components/packwell/JpegEncoder.h"

namespace packwell {
namespace turbo {
extern "C" {
#include <jpeglib.h>
}
#define LIBRARY_HAS_LOSSLESS 0
#include "components/packwell/JpegEncodeBody.inc"
#undef LIBRARY_HAS_LOSSLESS
}  // namespace turbo

bool EncodeJpeg8(const JpegEncodeRequest& request, uint8_t* destination, size_t capacity,
                 JpegEncodeResult& result) {
  return turbo::EncodeWithLibrary(request, destination, capacity, result);
}

}  // namespace packwell
