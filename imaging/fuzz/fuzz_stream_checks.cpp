// libFuzzer target: hostile bytes into the JPEG and RLE stream checks that run on encapsulated
// fragments before any decoder sees them.
#include <deque>

#include "imaging/TanORNRLEChecker.h"
#include "imaging/TgbORNJpegChecker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int32_t count = 0;
  TgbORNJpegChecker::GetComponentCount(data, size, &count);
  std::deque<uint32_t> offsets;
  TgbORNJpegChecker::CollectFrameOffsets(data, size, 4, offsets);
  offsets.clear();
  TanORNRLEChecker::CollectFrameOffsets(data, size, 4, offsets);
  return 0;
}
