// The encoders of Packwell against the decoders of Unpackwell: RLE and lossless JPEG give the
// frame back exactly, in every sample width; a frame that does not fit fails cleanly.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "components/packwell/JpegEncoder.h"
#include "components/packwell/RleEncoder.h"
#include "components/unpackwell/JpegFrame.h"
#include "components/unpackwell/RleDecoder.h"

namespace {

TEST(RleEncoder, RoundTripsEveryLayout) {
  std::mt19937 random(3);
  const int columns = 131, rows = 7;
  const size_t n = size_t(columns) * rows;
  std::vector<uint8_t> grey8(n), grey16(2 * n), rgb(3 * n);
  for (size_t i = 0; i < n; ++i) {
    // Runs, literals and both mixed, across row boundaries.
    grey8[i] = uint8_t((i / 5) % 3 == 0 ? 9 : random());
    grey16[2 * i] = uint8_t(i % 200 < 150 ? 0 : random());
    grey16[2 * i + 1] = uint8_t(i / 300);
    for (int c = 0; c < 3; ++c) rgb[3 * i + c] = uint8_t(c == 1 ? 0x55 : random() % 4);
  }
  std::vector<uint8_t> packed(8 * n + 64), out(3 * n);
  std::string error;
  struct Row {
    packwell::RleSource source;
    unpackwell::RleLayout layout;
    const std::vector<uint8_t>* data;
  } table[] = {{packwell::RleSource::Grey8, unpackwell::RleLayout::Grey8, &grey8},
               {packwell::RleSource::Grey16, unpackwell::RleLayout::Grey16, &grey16},
               {packwell::RleSource::RgbInterleaved, unpackwell::RleLayout::Rgb8, &rgb}};
  for (const Row& r : table) {
    const size_t length = packwell::EncodeRleFrame(columns, rows, r.source, r.data->data(), packed.data(), packed.size());
    ASSERT_GT(length, 64u);
    EXPECT_EQ(length % 2, 0u);
    ASSERT_TRUE(unpackwell::DecodeRleFrame(columns, rows, r.layout, packed.data(), length, out.data(), error));
    EXPECT_TRUE(std::equal(r.data->begin(), r.data->end(), out.begin()));
    // One byte less than needed fails, and nothing is written past the capacity.
    std::vector<uint8_t> tight(length + 16, 0xCD);
    EXPECT_EQ(packwell::EncodeRleFrame(columns, rows, r.source, r.data->data(), tight.data(), length - 1), 0u);
    for (size_t i = length - 1; i < tight.size(); ++i) ASSERT_EQ(tight[i], 0xCD);
  }
}

TEST(JpegLossless, RoundTripsPrecisionsAndColour) {
  std::mt19937 random(5);
  const int width = 37, height = 23;
  const size_t n = size_t(width) * height;
  std::vector<uint8_t> packed(16 * n + 4096);
  std::string error;
  for (int wide : {0, 1}) {
    for (int components : {1, 3}) {
      if (wide && components == 3) continue;
      std::vector<uint16_t> samples16(n * components);
      std::vector<uint8_t> samples8(n * components);
      for (size_t i = 0; i < samples16.size(); ++i) {
        samples16[i] = uint16_t(i % 7 == 0 ? 65535 - (i % 3) : random());
        samples8[i] = uint8_t(random());
      }
      packwell::JpegEncodeRequest request;
      request.width = width;
      request.height = height;
      request.components = components;
      request.lossless = true;
      request.precision = wide ? 16 : 8;
      request.samples = wide ? static_cast<const void*>(samples16.data()) : samples8.data();
      packwell::JpegEncodeResult result;
      const bool ok = wide ? packwell::EncodeJpegLossless16(request, packed.data(), packed.size(), result)
                           : packwell::EncodeJpegLossless8(request, packed.data(), packed.size(), result);
      ASSERT_TRUE(ok) << result.error;
      unpackwell::JpegFrameHeader header;
      ASSERT_TRUE(unpackwell::ReadJpegFrameHeader(packed.data(), result.length, header));
      EXPECT_EQ(header.marker, 0xC3);
      unpackwell::DecodedFrame frame;
      const bool decoded = wide ? unpackwell::DecodeJpegLossless16(packed.data(), result.length, header, frame, error)
                                : unpackwell::DecodeJpegLossless8(packed.data(), result.length, header, frame, error);
      ASSERT_TRUE(decoded) << error;
      const uint8_t* expected = wide ? reinterpret_cast<const uint8_t*>(samples16.data()) : samples8.data();
      ASSERT_EQ(frame.pixels.size(), n * components * (wide ? 2 : 1));
      EXPECT_TRUE(std::equal(frame.pixels.begin(), frame.pixels.end(), expected));

      // Too small a buffer: a clean failure.
      packwell::JpegEncodeResult small;
      std::vector<uint8_t> tight(200, 0xCD);
      const bool fits = wide ? packwell::EncodeJpegLossless16(request, tight.data(), 100, small)
                             : packwell::EncodeJpegLossless8(request, tight.data(), 100, small);
      EXPECT_FALSE(fits);
      EXPECT_TRUE(small.tooLarge);
      for (size_t i = 100; i < tight.size(); ++i) ASSERT_EQ(tight[i], 0xCD);
    }
  }
}

}  // namespace
