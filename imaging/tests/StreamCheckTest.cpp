// The JPEG and RLE stream checks.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "imaging/TanORNRLEChecker.h"
#include "imaging/TgbORNJpegChecker.h"

namespace {

// SOI, an APP0 segment, an SOF0 header with Nf components, EOI.
std::vector<uint8_t> Jpeg(uint8_t components, uint8_t marker = 0xC0) {
  return {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x4A, 0x46, 0xFF, marker, 0x00, 0x0B, 0x08, 0x00, 0x10,
          0x00, 0x10, components, 0x01, 0x11, 0x00, 0xFF, 0xD9, 0x00};
}

TEST(TgbORNJpegChecker, ComponentCountAfterAnAppSegment) {
  int32_t count = -1;
  const auto rgb = Jpeg(3);
  EXPECT_TRUE(TgbORNJpegChecker::GetComponentCount(rgb.data(), rgb.size(), &count));
  EXPECT_EQ(count, 3);
  const auto lossless = Jpeg(1, 0xC3);
  EXPECT_TRUE(TgbORNJpegChecker::GetComponentCount(lossless.data(), lossless.size(), &count));
  EXPECT_EQ(count, 1);
  std::vector<uint8_t> noSoi(rgb.begin() + 2, rgb.end());
  count = -1;
  EXPECT_FALSE(TgbORNJpegChecker::GetComponentCount(noSoi.data(), noSoi.size(), &count));
  EXPECT_FALSE(TgbORNJpegChecker::GetComponentCount(nullptr, 10, &count));
  // SOI without a frame header: true, count unchanged.
  const std::vector<uint8_t> bare = {0xFF, 0xD8, 0xFF, 0xD9, 0x00, 0x00};
  EXPECT_TRUE(TgbORNJpegChecker::GetComponentCount(bare.data(), bare.size(), &count));
  EXPECT_EQ(count, -1);
  // A header cut off before Nf is not read past the end.
  EXPECT_TRUE(TgbORNJpegChecker::GetComponentCount(rgb.data(), 14, &count));
}

TEST(TgbORNJpegChecker, TwoFramesInOneFragment) {
  auto data = Jpeg(1);
  const auto second = Jpeg(1);
  data.insert(data.end(), second.begin(), second.end());  // the second starts at an even offset
  std::deque<uint32_t> offsets;
  EXPECT_TRUE(TgbORNJpegChecker::CollectFrameOffsets(data.data(), data.size(), 2, offsets));
  EXPECT_EQ(offsets, (std::deque<uint32_t>{0, 24}));
  offsets.clear();
  EXPECT_FALSE(TgbORNJpegChecker::CollectFrameOffsets(data.data(), data.size(), 3, offsets));
  offsets.clear();
  EXPECT_TRUE(TgbORNJpegChecker::CollectFrameOffsets(data.data() + 2, data.size() - 2, 0, offsets));
  EXPECT_FALSE(TgbORNJpegChecker::CollectFrameOffsets(data.data() + 2, data.size() - 2, 1, offsets));
}

std::vector<uint8_t> RleFrame(std::initializer_list<uint32_t> words, size_t body) {
  std::vector<uint8_t> out(64 + body, 0);
  size_t i = 0;
  for (uint32_t w : words) {
    for (int b = 0; b < 4; ++b) out[4 * i + b] = uint8_t(w >> (8 * b));
    ++i;
  }
  return out;
}

TEST(TanORNRLEChecker, FrameEnds) {
  // Two segments, the second's length given by nothing: it runs to the end of the data.
  const auto one = RleFrame({2, 64, 70}, 10);
  std::deque<uint32_t> offsets;
  EXPECT_TRUE(TanORNRLEChecker::CollectFrameOffsets(one.data(), one.size(), 1, offsets));
  EXPECT_EQ(offsets, std::deque<uint32_t>{74});
  // No segments: failure. More than 15: failure. A short header: failure.
  const auto none = RleFrame({0}, 4);
  const auto many = RleFrame({16}, 4);
  offsets.clear();
  EXPECT_FALSE(TanORNRLEChecker::CollectFrameOffsets(none.data(), none.size(), 1, offsets));
  EXPECT_FALSE(TanORNRLEChecker::CollectFrameOffsets(many.data(), many.size(), 1, offsets));
  EXPECT_FALSE(TanORNRLEChecker::CollectFrameOffsets(one.data(), 40, 1, offsets));
  // An offset past the end of the data.
  const auto wild = RleFrame({1, 900}, 4);
  EXPECT_FALSE(TanORNRLEChecker::CollectFrameOffsets(wild.data(), wild.size(), 1, offsets));
}

}  // namespace
