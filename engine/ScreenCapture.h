// The screen-capture data block the engine answers a key-image request with: a 152-byte
// header describing the picture, image identification records of 136 bytes, and the pixel
// rows bottom-up in blue, green, red order (as a device-independent bitmap holds them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ORN_engine {

struct CaptureSource {
  std::string SopClassUid, SopInstanceUid;
  int32_t Frame = 0;
};

// `pixels` are 0xAARRGGBB, top row first. Spacings are those of one picture pixel in mm
// (0 when unknown); the records name the source images, the first the one shown.
std::vector<uint8_t> ScreenCaptureBlock(const uint32_t* pixels, int width, int height, double columnSpacing,
                                        double rowSpacing, const std::vector<CaptureSource>& sources);

constexpr size_t kCaptureHeaderBytes = 152, kCaptureRecordBytes = 136;

}  // namespace ORN_engine
