// The converter's checks of decoded frames, the component clients, and the mended faults:
// output capacity, 32-bit RLE, and planes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "imaging/ComponentErrorText.h"
#include "imaging/PlaneInterleave.h"
#include "imaging/TgbCodecClient.h"
#include "imaging/TsgImageConverter.h"

namespace {

// A decoder that reports what it is told and counts GetPixels.
class FakeDecoder : public ORN_decompressor::iJPEG_DECOMPRESSOR_INTERFACE {
 public:
  int32_t width = 0, height = 0, depth = 8, components = 1;
  int pixelsCalls = 0;
  bool Decode(const uint8_t*, uint32_t) override { return true; }
  bool Reset() override { return true; }
  int32_t HasFrame() override { return 0; }
  bool GetPixels(void* destination) override {
    ++pixelsCalls;
    auto* out = static_cast<uint8_t*>(destination);
    const size_t size = size_t(width) * height * components * (depth / 8);
    for (size_t i = 0; i < size; ++i) out[i] = uint8_t(i);
    return true;
  }
  int32_t GetWidth() override { return width; }
  int32_t GetHeight() override { return height; }
  int32_t GetComponentCount() override { return components; }
  int32_t GetBitDepth() override { return depth; }
  int32_t GetPrecision() override { return depth; }
  int32_t GetFrameMarker() override { return 0xC3; }
};

using Kind = TsgImageConverter::JpegKind;

TEST(ImageConverterChecks, GeometryMayBeSwappedButNotOther) {
  TsgImageConverter converter;
  struct Row {
    int32_t w, h;
    bool accepted;
  } table[] = {{4, 3, true}, {3, 4, true}, {4, 4, false}, {12, 1, false}};
  for (const Row& r : table) {
    FakeDecoder decoder;
    decoder.width = r.w;
    decoder.height = r.h;
    std::vector<uint8_t> out(64, 0xEE);
    EXPECT_EQ(converter.DecompressJpegWith(decoder, Kind::LosslessGrey, 4, 3, 8, 0, nullptr, 0, out.data(), 64),
              r.accepted);
    EXPECT_EQ(decoder.pixelsCalls, r.accepted ? 1 : 0);
    if (!r.accepted) {
      EXPECT_EQ(out[0], 0xEE);
    }
  }
}

TEST(ImageConverterChecks, LosslessGreyDepthFollowsBitsAllocated) {
  TsgImageConverter converter;
  struct Row {
    int32_t bits, depth;
    bool accepted;
  } table[] = {{16, 16, true}, {12, 16, true}, {16, 8, false}, {8, 8, true}, {8, 16, false}};
  for (const Row& r : table) {
    FakeDecoder decoder;
    decoder.width = 4;
    decoder.height = 3;
    decoder.depth = r.depth;
    std::vector<uint8_t> out(64);
    EXPECT_EQ(converter.DecompressJpegWith(decoder, Kind::LosslessGrey, 4, 3, r.bits, 0, nullptr, 0, out.data(), 64),
              r.accepted)
        << r.bits << " " << r.depth;
  }
}

TEST(ImageConverterChecks, PlanarRgbComesAsThreeTimesTallAndLeavesInterleaved) {
  TsgImageConverter converter;
  FakeDecoder decoder;
  decoder.width = 4;
  decoder.height = 9;  // three planes of 4 × 3
  std::vector<uint8_t> out(36);
  ASSERT_TRUE(converter.DecompressJpegWith(decoder, Kind::LosslessRGB, 4, 3, 8, 1, nullptr, 0, out.data(), 36));
  // Pixel i takes byte i of each plane.
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 12);
  EXPECT_EQ(out[2], 24);
  EXPECT_EQ(out[33], 11);
  EXPECT_EQ(out[35], 35);
  // The same frame is not an interleaved one.
  EXPECT_FALSE(converter.DecompressJpegWith(decoder, Kind::LosslessRGB, 4, 3, 8, 0, nullptr, 0, out.data(), 36));
}

TEST(ImageConverterChecks, FrameLargerThanTheDestinationIsRefused) {
  TsgImageConverter converter;
  FakeDecoder decoder;
  decoder.width = 4;
  decoder.height = 3;
  decoder.components = 3;  // a colour stream where grey was expected
  std::vector<uint8_t> out(12);
  EXPECT_FALSE(converter.DecompressJpegWith(decoder, Kind::LosslessGrey, 4, 3, 8, 0, nullptr, 0, out.data(), 12));
  EXPECT_FALSE(converter.DecompressJpegWith(decoder, Kind::Lossy, 4, 3, 8, 0, nullptr, 0, out.data(), 12));
  EXPECT_EQ(decoder.pixelsCalls, 0);
}

TEST(PlaneInterleave, ThirteenPixelsInTwoOverlappingBlocks) {
  for (size_t n : {13u, 8u, 5u, 1u, 24u}) {
    std::vector<uint8_t> planes(3 * n);
    for (size_t i = 0; i < planes.size(); ++i) planes[i] = uint8_t(i * 7 + 1);
    std::vector<uint8_t> out(3 * n + 3, 0xAB);
    ORN_image::InterleavePlanes(planes.data(), n, out.data());
    for (size_t i = 0; i < n; ++i) {
      EXPECT_EQ(out[3 * i], planes[i]);
      EXPECT_EQ(out[3 * i + 1], planes[n + i]);
      EXPECT_EQ(out[3 * i + 2], planes[2 * n + i]);
    }
    EXPECT_EQ(out[3 * n], 0xAB) << "writes exactly 3n bytes";
  }
}

TEST(ComponentErrorText, TableOfResults) {
  EXPECT_EQ(ORN_image::ComponentErrorText(static_cast<int32_t>(0x8000FFFFu)), "COM-system-is-out-of-memory");
  EXPECT_EQ(ORN_image::ComponentErrorText(static_cast<int32_t>(0x80004002u)), "COM-no-interface");
  EXPECT_EQ(ORN_image::ComponentErrorText(static_cast<int32_t>(0x80004005u)), "COM-initialization-fail");
  EXPECT_EQ(ORN_image::ComponentErrorText(static_cast<int32_t>(0x80040110u)), "COM-no-aggregation");
  EXPECT_EQ(ORN_image::ComponentErrorText(static_cast<int32_t>(0x80070057u)), "COM-argument-is-invalid");
  EXPECT_EQ(ORN_image::ComponentErrorText(static_cast<int32_t>(0x80004001u)), "COM-unexpected-error");
}

TEST(CodecClients, LoadBothComponents) {
  ORN_decompressor::TgbDecompressorClient decompressor;
  EXPECT_TRUE(decompressor.Jpeg().IsAttached());
  EXPECT_TRUE(decompressor.Rle().IsAttached());
  EXPECT_TRUE(decompressor.ErrorText().empty());
  ORN_compressor::TgbCompressorClient compressor;
  EXPECT_TRUE(compressor.Jpeg().IsAttached());
  EXPECT_TRUE(compressor.Rle().IsAttached());
}

TEST(CodecClients, RefusedObjectAndMissingEntryPoint) {
  ORN_decompressor::TgbDecompressorClient refused("CodecProbe.dll");
  EXPECT_FALSE(refused.Jpeg().IsAttached());
  EXPECT_FALSE(refused.Rle().IsAttached());
  EXPECT_EQ(refused.LastResult(), static_cast<int32_t>(0x8000FFFFu));
  EXPECT_EQ(refused.ErrorText(), "COM-system-is-out-of-memory");

  ORN_decompressor::TgbDecompressorClient noEntry("ComTestNoEntry.dll");
  EXPECT_FALSE(noEntry.Jpeg().IsAttached());
  EXPECT_EQ(noEntry.LastResult(), static_cast<int32_t>(0x80070000u | 127u));
  EXPECT_FALSE(noEntry.ErrorText().empty());
  uint8_t byte = 0;
  EXPECT_FALSE(noEntry.Jpeg().Decode(&byte, 1));
  EXPECT_EQ(noEntry.Jpeg().GetWidth(), 0);
}

TEST(CodecClients, MissingComponentGivesNullInterfacesAndIsNotLookedForAgain) {
  TsgImageConverter::ResetClientsForTesting("NoSuchUnpackwell.dll", "NoSuchPackwell.dll");
  TsgImageConverter converter;
  std::vector<uint8_t> data(256), out(256);
  EXPECT_FALSE(converter.DecompressJpegLossy(4, 4, data.data(), 256, out.data(), 256));
  auto& client = TsgImageConverter::DecompressorClient();
  EXPECT_FALSE(client.Jpeg().IsAttached());
  EXPECT_FALSE(client.ErrorText().empty());
  EXPECT_NE(client.LastResult(), 0);
  EXPECT_FALSE(converter.DecompressRle(4, 4, 8, data.data(), 256, out.data(), 256));
  EXPECT_EQ(&TsgImageConverter::DecompressorClient(), &client) << "the failed client is kept";
  EXPECT_EQ(converter.CompressRle(4, 4, 8, data.data(), out.data(), 256), 0u);
  TsgImageConverter::ResetClientsForTesting("Unpackwell.dll", "Packwell.dll");
}

TEST(ImageConverterFaults, RleWithMoreThan16BitsIsRefusedWithAText) {
  TsgImageConverter converter;
  std::vector<uint8_t> frame(64 + 16, 0), out(4 * 4 * 4);
  frame[0] = 4;  // a 32-bit RLE frame has four segments
  EXPECT_FALSE(converter.DecompressRle(2, 2, 32, frame.data(), uint32_t(frame.size()), out.data(), 16));
  EXPECT_EQ(converter.ErrorText(), "RLE pixel data with more than 16 bits allocated is not supported");
  EXPECT_EQ(converter.CompressRle(2, 2, 32, out.data(), frame.data(), uint32_t(frame.size())), 0u);
  EXPECT_FALSE(converter.ErrorText().empty());
}

TEST(ImageConverterFaults, CompressionThatDoesNotFitFailsWithoutWritingPastTheBuffer) {
  TsgImageConverter converter;
  const int columns = 64, rows = 32;
  std::vector<uint8_t> noise(size_t(columns) * rows * 2);
  uint32_t x = 12345;
  for (auto& b : noise) b = uint8_t((x = x * 1103515245u + 12345u) >> 16);
  // Worst-case RLE is larger than the frame plus its header.
  const uint32_t capacity = uint32_t(noise.size()) + 64;
  std::vector<uint8_t> out(capacity + 32, 0xCD);
  EXPECT_EQ(converter.CompressRle(columns, rows, 16, noise.data(), out.data(), capacity), 0u);
  for (size_t i = capacity; i < out.size(); ++i) ASSERT_EQ(out[i], 0xCD);
  // JPEG lossless of noise into a buffer of the raw frame size.
  std::fill(out.begin(), out.end(), 0xCD);
  const uint32_t raw = uint32_t(noise.size());
  EXPECT_EQ(converter.CompressJpegLossless(columns, rows, 16, noise.data(), out.data(), raw / 4), 0u);
  for (size_t i = raw / 4; i < out.size(); ++i) ASSERT_EQ(out[i], 0xCD);
  // With room it succeeds.
  std::vector<uint8_t> roomy(noise.size() * 2 + 1024);
  EXPECT_GT(converter.CompressRle(columns, rows, 16, noise.data(), roomy.data(), uint32_t(roomy.size())), capacity);
}

TEST(ImageConverterLossy, SignedWideGreyIsBroughtIntoTwelveBitsKeepingRealValues) {
  TsgImageConverter converter;
  const int columns = 40, rows = 30;
  const size_t n = size_t(columns) * rows;
  std::vector<uint8_t> source(2 * n);
  std::vector<int> values(n);
  for (size_t i = 0; i < n; ++i) {
    values[i] = -2000 + int((i % columns) * 200 + (i / columns) * 3);  // -2000 .. 5887
    const auto w = uint16_t(int16_t(values[i]));
    source[2 * i] = uint8_t(w);
    source[2 * i + 1] = uint8_t(w >> 8);
  }
  std::vector<uint8_t> packed(4 * n + 1024), decoded(2 * n);
  int32_t representation = 1;
  double slope = 1.0, intercept = -10.0;
  const uint32_t length = converter.CompressJpegLossy(columns, rows, source.data(), packed.data(), 16,
                                                      &representation, &slope, &intercept, 95,
                                                      uint32_t(packed.size()));
  ASSERT_GT(length, 0u);
  EXPECT_EQ(representation, 0);
  EXPECT_EQ(slope, 2.0);  // a range of 7888 needs a step of 2
  EXPECT_EQ(intercept, -2010.0);
  ASSERT_TRUE(converter.DecompressJpegLossy(columns, rows, packed.data(), length, decoded.data(),
                                            uint32_t(decoded.size())));
  int worst = 0;
  for (size_t i = 0; i < n; ++i) {
    const int stored = decoded[2 * i] | (decoded[2 * i + 1] << 8);
    ASSERT_LE(stored, 4095);
    const double real = slope * stored + intercept;
    worst = std::max(worst, int(std::abs(real - (values[i] - 10))));
  }
  EXPECT_LE(worst, 40);
  // Without a slope and intercept to report into, such a frame is refused.
  representation = 1;
  EXPECT_EQ(converter.CompressJpegLossy(columns, rows, source.data(), packed.data(), 16, &representation, nullptr,
                                        nullptr, 95, uint32_t(packed.size())),
            0u);
}

}  // namespace
