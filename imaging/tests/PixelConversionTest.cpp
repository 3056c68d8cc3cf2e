// YBR to RGB, padding replacement and the preparation for lossy compression.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imaging/TgbCompressConverter.h"
#include "imaging/TgbPaddingChecker.h"
#include "imaging/TgbYBR.h"

namespace {

std::vector<uint8_t> Words(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values) {
    const auto w = uint16_t(v);
    out.push_back(uint8_t(w));
    out.push_back(uint8_t(w >> 8));
  }
  return out;
}

int WordAt(const std::vector<uint8_t>& b, size_t i, bool isSigned) {
  const uint16_t w = uint16_t(b[2 * i] | (b[2 * i + 1] << 8));
  return isSigned ? int(int16_t(w)) : int(w);
}

TEST(TgbYBR, KindIsChosenByTheExactText) {
  EXPECT_EQ(TgbYBR(1, 1, 0, "YBR_FULL").Kind(), 0);
  EXPECT_EQ(TgbYBR(1, 1, 0, "YBR_RCT").Kind(), 5);
  for (const char* text : {"YBR_FULL ", "ybr_full", "RGB", ""}) {
    TgbYBR ybr(1, 1, 0, text);
    EXPECT_EQ(ybr.Kind(), -1);
    uint8_t pixel[3] = {1, 2, 3};
    EXPECT_FALSE(ybr.ConvertInPlace(pixel, 3));
    EXPECT_EQ(ybr.ErrorText(), "Photometric interpretation is not YBR");
  }
  EXPECT_EQ(TgbYBR(1, 1, 0, nullptr).Kind(), -1);
}

TEST(TgbYBR, PixelValues) {
  struct Row {
    const char* kind;
    uint8_t y, cb, cr;
    uint8_t r, g, b;
  } table[] = {
      {"YBR_FULL", 128, 128, 128, 128, 128, 128},
      {"YBR_FULL", 0, 128, 0, 0, 90, 0},
      {"YBR_ICT", 255, 255, 255, 255, 0, 255},
      {"YBR_RCT", 100, 0, 0, 100, 100, 100},
      {"YBR_RCT", 10, 200, 0, 0, 0, 160},
  };
  for (const Row& row : table) {
    SCOPED_TRACE(row.kind);
    TgbYBR ybr(1, 1, 0, row.kind);
    uint8_t pixel[3] = {row.y, row.cb, row.cr};
    ASSERT_TRUE(ybr.ConvertInPlace(pixel, 3));
    EXPECT_EQ(pixel[0], row.r);
    EXPECT_EQ(pixel[1], row.g);
    EXPECT_EQ(pixel[2], row.b);
  }
}

TEST(TgbYBR, PartialFromSubsampledGroups) {
  // Two pixels as one 4:2:2 group Y0 Y1 Cb Cr: Y 16 gives black, Y 235 gives 253.
  std::vector<uint8_t> buffer = {16, 235, 128, 128, 0, 0};
  TgbYBR ybr(1, 2, 0, "YBR_PARTIAL_422");
  ASSERT_TRUE(ybr.ConvertInPlace(buffer.data(), buffer.size()));
  EXPECT_EQ(buffer, (std::vector<uint8_t>{0, 0, 0, 253, 253, 253}));
  // Y 100 with Cr 0 gives R 0.
  std::vector<uint8_t> red = {100, 100, 128, 0, 0, 0};
  ASSERT_TRUE(ybr.ConvertInPlace(red.data(), red.size()));
  EXPECT_EQ(red[0], 0);
  // 4:2:0: the second row takes the chroma of the first.
  std::vector<uint8_t> quad = {16, 16, 128, 255, 16, 16, 0, 0, 0, 0, 0, 0};
  TgbYBR ybr420(2, 2, 0, "YBR_PARTIAL_420");
  ASSERT_TRUE(ybr420.ConvertInPlace(quad.data(), quad.size()));
  EXPECT_EQ(quad[0], quad[9]);
  EXPECT_GT(quad[9], 200);
}

TEST(TgbYBR, EveryPixelOfAThreeByThreeImage) {
  std::vector<uint8_t> source(27), out(27, 0);
  for (size_t i = 0; i < 9; ++i) {
    source[3 * i] = uint8_t(20 * i + 10);
    source[3 * i + 1] = 128;
    source[3 * i + 2] = 128;
  }
  TgbYBR ybr(3, 3, 0, "YBR_FULL");
  ASSERT_TRUE(ybr.Convert(source.data(), source.size(), out.data()));
  for (size_t i = 0; i < 9; ++i)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(out[3 * i + c], 20 * i + 10);
}

TEST(TgbYBR, PlanarKindsItCannotConvertDoNotReportZerosAsSuccess) {
  std::vector<uint8_t> source(12, 77), out(12, 0);
  TgbYBR ybr(2, 2, 1, "YBR_PARTIAL_422");
  EXPECT_FALSE(ybr.Convert(source.data(), source.size(), out.data()));
  EXPECT_FALSE(ybr.ErrorText().empty());
  // In place the data stay as they were.
  EXPECT_TRUE(ybr.ConvertInPlace(source.data(), source.size()));
  // Planar YBR_FULL is converted.
  std::vector<uint8_t> planes = {128, 128, 128, 128, 128, 128};
  TgbYBR full(1, 2, 1, "YBR_FULL");
  ASSERT_TRUE(full.ConvertInPlace(planes.data(), planes.size()));
  EXPECT_EQ(planes, std::vector<uint8_t>(6, 128));
}

TEST(TgbYBR, ShortBuffersAreRefused) {
  std::vector<uint8_t> buffer(8);
  TgbYBR ybr(2, 2, 0, "YBR_FULL");
  EXPECT_FALSE(ybr.ConvertInPlace(buffer.data(), buffer.size()));
  EXPECT_FALSE(ybr.ConvertInPlace(buffer.data(), 0));
}

TEST(TgbPaddingChecker, LowAndHighEnd) {
  auto low = Words({-2000, -1000, -500});
  auto copy = low;
  EXPECT_TRUE(TgbPaddingChecker(16, 1, true, -2000).Apply(low.data(), low.data(), low.size()));
  EXPECT_EQ(low, copy) << "the padding value is the minimum";
  EXPECT_TRUE(TgbPaddingChecker(16, 1, true, -1000).Apply(low.data(), low.data(), low.size()));
  EXPECT_EQ(low, Words({-500, -500, -500}));

  std::vector<uint8_t> high = {10, 250, 255, 200};
  EXPECT_TRUE(TgbPaddingChecker(8, 0, false, 250).Apply(high.data(), high.data(), high.size()));
  EXPECT_EQ(high, (std::vector<uint8_t>{10, 200, 200, 200}));
}

TEST(TgbCompressConverter, NormalisesStoredBits) {
  // Bits Stored 12, High Bit 15, unsigned: shifted down by 4, High Bit becomes 11.
  auto data = Words({0xFFF0, 0x0010});
  int32_t stored = 12, high = 15;
  TgbCompressConverter::NormaliseStoredBits(16, &stored, &high, 0, data.data(), data.size());
  EXPECT_EQ(WordAt(data, 0, false), 0x0FFF);
  EXPECT_EQ(WordAt(data, 1, false), 0x0001);
  EXPECT_EQ(high, 11);
  // Signed, Bits Stored 12: 0x0800 becomes 0xF800 and Bits Stored 16.
  auto signedData = Words({0x0800, 0x07FF});
  stored = 12;
  high = 11;
  TgbCompressConverter::NormaliseStoredBits(16, &stored, &high, 1, signedData.data(), signedData.size());
  EXPECT_EQ(WordAt(signedData, 0, false), 0xF800);
  EXPECT_EQ(WordAt(signedData, 1, false), 0x07FF);
  EXPECT_EQ(stored, 16);
  EXPECT_EQ(high, 15);
}

TEST(TgbCompressConverter, RescaleOfUnsignedTwelveBitWithInterceptIsSigned) {
  auto data = Words({0, 1024, 4095, 2000, 7});
  int32_t stored = 12, high = 11, representation = 0;
  TgbCompressConverter converter(false, false, 0);
  ASSERT_TRUE(converter.ApplyRescale(1.0, -1024.0, 16, &stored, &high, &representation, data.data(), data.size(),
                                     data.data()));
  EXPECT_EQ(representation, 1);
  const int expected[] = {-1024, 0, 3071, 976, -1017};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(WordAt(data, i, true), expected[i]) << i;
}

TEST(TgbCompressConverter, RescaleWithSlope) {
  auto data = Words({100, 200, 300, 400, 500});
  int32_t stored = 16, high = 15, representation = 1;
  TgbCompressConverter converter(false, false, 0);
  ASSERT_TRUE(converter.ApplyRescale(2.5, 10.0, 16, &stored, &high, &representation, data.data(), data.size(),
                                     data.data()));
  const int expected[] = {260, 510, 760, 1010, 1260};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(WordAt(data, i, true), expected[i]) << i;
}

TEST(TgbCompressConverter, ModalityLutClampsIndexes) {
  const uint16_t table[] = {1000, 1001, 1002, 1003};
  auto data = Words({-5, 10, 11, 13, 99});
  int32_t stored = 16, high = 15;
  TgbCompressConverter converter(false, false, 0);
  ASSERT_TRUE(converter.ApplyModalityLUT(10, 4, table, 16, &stored, &high, 1, data.data(), data.size(), data.data()));
  const int expected[] = {1000, 1000, 1001, 1003, 1003};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(WordAt(data, i, false), expected[i]) << i;
}

TEST(TgbCompressConverter, PaletteIntoThreePlanes) {
  const uint16_t red[] = {1, 2, 3}, green[] = {4, 5, 6}, blue[] = {7, 8, 9};
  const std::vector<uint8_t> indexes = {0, 2, 1, 9};
  std::vector<uint8_t> out(12);
  TgbCompressConverter converter(false, false, 0);
  ASSERT_TRUE(converter.ApplyPaletteColor(0, 3, red, green, blue, 8, indexes.data(), 4, out.data(), 12));
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 3, 2, 3, 4, 6, 5, 6, 7, 9, 8, 9}));
  EXPECT_FALSE(converter.ApplyPaletteColor(0, 3, red, green, blue, 8, indexes.data(), 4, out.data(), 9))
      << "a destination too small for the planes";
}

}  // namespace
