// The static image operations: table lookups, modality rescale, palette colour, stored-bit
// correction, row flips and the RGB palette quantiser.
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <set>
#include <vector>

#include "imaging/TgbImageFlipRows.h"
#include "imaging/TgbLUT.h"
#include "imaging/TgbPixelDataCorrector.h"
#include "imaging/TgbRGBtoPaletteColorConverter.h"

using namespace ORN_image;

namespace {

std::vector<uint8_t> Words(const std::vector<int32_t>& values) {
  std::vector<uint8_t> bytes(values.size() * 2);
  for (size_t i = 0; i < values.size(); ++i) {
    const uint16_t v = uint16_t(values[i]);
    std::memcpy(&bytes[2 * i], &v, 2);
  }
  return bytes;
}

int32_t WordAt(const std::vector<uint8_t>& bytes, size_t i, bool isSigned) {
  uint16_t v;
  std::memcpy(&v, &bytes[2 * i], 2);
  return isSigned ? int32_t(int16_t(v)) : int32_t(v);
}

std::vector<uint16_t> Ramp(size_t n, uint16_t step = 1) {
  std::vector<uint16_t> table(n);
  for (size_t i = 0; i < n; ++i) table[i] = uint16_t(i * step);
  return table;
}

}  // namespace

TEST(TgbLUT, SignedSixteenBitLookupClampsToTheTable) {
  const std::vector<uint16_t> table = Ramp(4096);
  TgVOILUT lut(-1024, 4096, 16, table.data(), 16, true, 1.0f, 0.0f, 15);
  std::vector<uint8_t> data = Words({-2000, -1024, 0, 5000, 100});
  ASSERT_EQ(lut.Apply(data.data(), data.size()), data.size());
  EXPECT_EQ(WordAt(data, 0, false), 0);
  EXPECT_EQ(WordAt(data, 1, false), 0);
  EXPECT_EQ(WordAt(data, 2, false), 1024);
  EXPECT_EQ(WordAt(data, 3, false), 4095);
  EXPECT_EQ(WordAt(data, 4, false), 1124);
  EXPECT_STREQ(lut.GetErrorText(), "");
}

TEST(TgbLUT, EightBitLookupReadsTheEntryOfTheByte) {
  const std::vector<uint16_t> table = Ramp(300);
  TgVOILUT lut(0, 300, 8, table.data(), 8, false, 1.0f, 0.0f, 7);
  std::vector<uint8_t> data = {0, 1, 254, 255};
  ASSERT_EQ(lut.Apply(data.data(), data.size()), 4u);
  EXPECT_EQ(data, (std::vector<uint8_t>{0, 1, 254, 255}));
}

TEST(TgbLUT, SixteenInEightOutWritesOneLowBytePerSample) {
  std::vector<uint16_t> table(16);
  for (size_t i = 0; i < table.size(); ++i) table[i] = uint16_t(0xAB00 | (i * 3));
  TgVOILUT lut(0, 16, 8, table.data(), 16, false, 1.0f, 0.0f, 15);
  std::vector<int32_t> samples(13);
  std::iota(samples.begin(), samples.end(), 0);
  const std::vector<uint8_t> source = Words(samples);
  std::vector<uint8_t> out(source.size(), 0xEE);
  lut.Apply(source.data(), source.size(), out.data());
  for (size_t i = 0; i < 13; ++i) EXPECT_EQ(out[i], uint8_t(i * 3)) << i;
  EXPECT_EQ(out[13], 0xEE);
}

TEST(TgbLUT, WithoutATableTheLookupFails) {
  TgVOILUT lut(0, 0, 16, nullptr, 16, false, 1.0f, 0.0f, 15);
  std::vector<uint8_t> data(8, 7);
  EXPECT_EQ(lut.Apply(data.data(), data.size()), 0u);
  EXPECT_STREQ(lut.GetErrorText(), "Memory allocation error");
}

TEST(TgbLUT, EightInSixteenOutStretchesEverySampleAlike) {
  // Entries 1000 .. 1255: the stretch maps them onto 0 .. 255, the same value wherever the
  // sample stands (also the samples after the last group of four).
  std::vector<uint16_t> table(256);
  for (size_t i = 0; i < 256; ++i) table[i] = uint16_t(1000 + i);
  TgbModalityLUT lut(0, 256, 16, table.data(), 8, false);
  std::vector<uint8_t> data = {0, 255, 128, 128, 128, 128, 128};
  ASSERT_EQ(lut.Apply(data.data(), data.size()), data.size());
  EXPECT_EQ(data[0], 0);
  EXPECT_EQ(data[1], 255);
  for (size_t i = 2; i < data.size(); ++i) EXPECT_EQ(data[i], 128) << i;
}

TEST(TgbModalityLUT, RescaleFormsAndTheSameResultAtEveryPosition) {
  struct Case {
    float slope, intercept;
    int32_t bits, highBit;
    bool isSigned;
    std::vector<int32_t> in, out;
  };
  const std::vector<Case> cases = {
      {0, 0, 16, 11, false, {5, 4095, 100}, {5, 4095, 100}},                        // inactive
      {1, 0, 16, 11, false, {5, 4095, 100}, {5, 4095, 100}},                        // identity
      {1, -1024, 16, 11, false, {0, 1024, 4095}, {-1024, 0, 3071}},                 // CT
      {2.5f, -1000, 16, 15, true, {-200, 0, 20000}, {-1500, -1000, 32767}},         // saturates
      {1, 0, 16, 15, false, {65535, 40000, 1}, {65535, 40000, 1}},                  // High Bit 15
      {0.5f, 10, 16, 15, false, {65535, 40000, 1}, {32777, 20010, 10}},
      {1e30f, 0, 16, 15, true, {1, -1, 0}, {32767, -32768, 0}},                     // wild slope
  };
  for (const Case& c : cases) {
    TgbModalityLUT rescale(c.slope, c.intercept, c.bits, c.highBit, c.isSigned);
    // Each value is placed at every position of a 9-sample buffer.
    for (size_t k = 0; k < c.in.size(); ++k) {
      std::vector<int32_t> values(9, c.in[k]);
      std::vector<uint8_t> data = Words(values);
      ASSERT_EQ(rescale.Apply(data.data(), data.size()), data.size());
      const bool outSigned = TgbModalityLUT::IsOutputSigned(c.slope, c.intercept, c.bits, c.highBit, c.isSigned);
      for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(WordAt(data, i, outSigned), c.out[k]) << "slope " << c.slope << " value " << c.in[k] << " at " << i;
    }
  }
}

TEST(TgbModalityLUT, LargeFramesRescaleLikeSmallOnes) {
  // Every 16-bit value, once in a frame of all of them and once on its own.
  for (bool isSigned : {false, true}) {
    TgbModalityLUT rescale(1.5f, -1024.0f, 16, 11, isSigned);
    std::vector<int32_t> all(65536);
    std::iota(all.begin(), all.end(), 0);
    std::vector<uint8_t> frame = Words(all);
    ASSERT_EQ(rescale.Apply(frame.data(), frame.size()), frame.size());
    for (int32_t v = 0; v < 65536; v += 97) {
      std::vector<uint8_t> one = Words({v});
      ASSERT_EQ(rescale.Apply(one.data(), one.size()), 2u);
      ASSERT_EQ(WordAt(one, 0, false), WordAt(frame, size_t(v), false)) << v << (isSigned ? " signed" : "");
    }
  }
}

TEST(TgbModalityLUT, EightBitRescaleIsTheSameAtEveryPosition) {
  TgbModalityLUT rescale(2.0f, -10.0f, 8, 7, false);
  std::vector<uint8_t> data(11, 100);
  data[3] = 3;
  ASSERT_EQ(rescale.Apply(data.data(), data.size()), data.size());
  for (size_t i = 0; i < data.size(); ++i) EXPECT_EQ(data[i], i == 3 ? 0 : 190) << i;
}

TEST(TgbModalityLUT, TableFormLooksUp) {
  const std::vector<uint16_t> table = Ramp(10, 100);
  TgbModalityLUT lut(5, 10, 16, table.data(), 16, false);
  const std::vector<uint8_t> source = Words({0, 5, 9, 14, 99});
  std::vector<uint8_t> out(source.size());
  ASSERT_EQ(lut.Apply(source.data(), source.size(), out.data()), source.size());
  EXPECT_EQ(WordAt(out, 0, false), 0);
  EXPECT_EQ(WordAt(out, 1, false), 0);
  EXPECT_EQ(WordAt(out, 2, false), 400);
  EXPECT_EQ(WordAt(out, 3, false), 900);
  EXPECT_EQ(WordAt(out, 4, false), 900);
}

TEST(TgbPaletteColor, PlanesInPlaceAndFromSourceToDestination) {
  const std::vector<uint16_t> red = {0x1000, 0x2000, 0x3000}, green = {0x4000, 0x5000, 0x6000},
                              blue = {0x7000, 0x8000, 0x9000};
  TgbPaletteColor eight(8, false, 3, 0, 16, red.data(), green.data(), blue.data());
  ASSERT_TRUE(eight.TablesLoaded());
  EXPECT_EQ(eight.GetOutputSize(100), 308u);

  std::vector<uint8_t> buffer(12, 0);
  const uint8_t indexes[4] = {0, 1, 2, 7};
  std::memcpy(buffer.data(), indexes, 4);
  ASSERT_EQ(eight.Apply(buffer.data(), buffer.size()), 12u);
  EXPECT_EQ(buffer, (std::vector<uint8_t>{0x10, 0x20, 0x30, 0x30, 0x40, 0x50, 0x60, 0x60, 0x70, 0x80, 0x90, 0x90}));

  std::vector<uint8_t> destination(eight.GetOutputSize(4), 0);
  ASSERT_EQ(eight.Apply(indexes, 4, destination.data()), 20u);
  EXPECT_EQ(destination[0], 0x10);
  EXPECT_EQ(destination[6 + 1], 0x50);
  EXPECT_EQ(destination[12 + 2], 0x90);

  // Sixteen-bit indexes: planes of one byte per index.
  TgbPaletteColor sixteen(16, false, 3, 100, 8, red.data(), green.data(), blue.data());
  std::vector<uint8_t> wide(12, 0);
  const std::vector<uint8_t> words = Words({100, 102});
  std::memcpy(wide.data(), words.data(), 4);
  ASSERT_EQ(sixteen.Apply(wide.data(), wide.size()), 12u);
  EXPECT_EQ(wide[0], 0x00);  // 8-bit entries: the low byte of 0x1000
  EXPECT_EQ(wide[1], 0x00);

  TgbPaletteColor empty(8, false, 3, 0, 8, nullptr, green.data(), blue.data());
  EXPECT_FALSE(empty.TablesLoaded());
  EXPECT_EQ(empty.Apply(buffer.data(), buffer.size()), 0u);
}

TEST(TgbPixelDataCorrector, ShiftsMasksAndSignExtends) {
  struct Case {
    int32_t bitsStored, highBit, isSigned;
    int32_t in, out, resultingHighBit, resultingBitsStored;
  };
  const std::vector<Case> cases = {
      {12, 15, 0, 0xFFF0, 0x0FFF, 11, 12},  // shifted down
      {12, 11, 0, 0xF123, 0x0123, 11, 12},  // masked
      {12, 11, 1, 0x0800, -2048, 15, 16},   // sign extended
      {12, 11, 1, 0x07FF, 2047, 15, 16},
      {16, 15, 0, 0xFFFF, 0xFFFF, 15, 16},
  };
  for (const Case& c : cases) {
    TgbPixelDataCorrector corrector;
    corrector.FBitsAllocated = 16;
    corrector.FBitsStored = c.bitsStored;
    corrector.FHighBit = c.highBit;
    corrector.FSigned = c.isSigned;
    corrector.Prepare();
    std::vector<uint8_t> data = Words({c.in, c.in, c.in});
    ASSERT_EQ(corrector.Apply(data.data(), data.size()), data.size());
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(WordAt(data, i, c.isSigned != 0), c.out) << c.in;
    EXPECT_EQ(corrector.FResultingHighBit, c.resultingHighBit);
    EXPECT_EQ(corrector.FResultingBitsStored, c.resultingBitsStored);
  }
}

TEST(TgbImageFlipRows, FiveRowsOfThreeBytes) {
  std::vector<uint8_t> data(15);
  std::iota(data.begin(), data.end(), 0);
  TgbImageFlipRows flip(5, 3, 1, 8, 0);
  ASSERT_EQ(flip.Apply(data.data(), data.size()), 15u);
  EXPECT_EQ(data, (std::vector<uint8_t>{12, 13, 14, 9, 10, 11, 6, 7, 8, 3, 4, 5, 0, 1, 2}));
}

TEST(TgbImageFlipRows, WholeRowsForEveryRowLengthAndTheSourceStays) {
  for (int32_t columns = 1; columns <= 40; ++columns) {
    for (int32_t rows : {1, 2, 3, 6, 7}) {
      for (int32_t samples : {1, 3}) {
        const size_t rowLength = size_t(columns) * size_t(samples) * 2;
        std::vector<uint8_t> source(rowLength * size_t(rows));
        for (size_t i = 0; i < source.size(); ++i) source[i] = uint8_t(i * 7 + 1);
        std::vector<uint8_t> expected(source.size());
        for (int32_t r = 0; r < rows; ++r)
          std::memcpy(&expected[size_t(rows - 1 - r) * rowLength], &source[size_t(r) * rowLength], rowLength);

        TgbImageFlipRows flip(rows, columns, samples, 16, 0);
        const std::vector<uint8_t> original = source;
        std::vector<uint8_t> destination(source.size(), 0);
        ASSERT_EQ(flip.Apply(source.data(), source.size(), destination.data()), source.size());
        EXPECT_EQ(destination, expected) << columns << "x" << rows;
        EXPECT_EQ(source, original) << "source changed, " << columns << "x" << rows;

        ASSERT_EQ(flip.Apply(source.data(), source.size()), source.size());
        EXPECT_EQ(source, expected) << columns << "x" << rows;
      }
    }
  }
}

TEST(TgbImageFlipRows, PlanesAreFlippedOneByOneAndShortBuffersRefused) {
  // Two rows of two pixels, three planes.
  std::vector<uint8_t> data = {1, 2, 3, 4, 11, 12, 13, 14, 21, 22, 23, 24};
  TgbImageFlipRows planar(2, 2, 3, 8, 1);
  ASSERT_EQ(planar.Apply(data.data(), data.size()), data.size());
  EXPECT_EQ(data, (std::vector<uint8_t>{3, 4, 1, 2, 13, 14, 11, 12, 23, 24, 21, 22}));

  std::vector<uint8_t> shortBuffer(11, 0);
  EXPECT_EQ(planar.Apply(shortBuffer.data(), shortBuffer.size()), 0u);
  EXPECT_STRNE(planar.GetErrorText(), "");
}

TEST(BitmapRoutines, RowFlipAndInversion) {
  std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  FlipRowsInPlace(data.data(), 9, 2);
  EXPECT_EQ(data, (std::vector<uint8_t>{10, 11, 12, 13, 14, 15, 16, 17, 18, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  std::vector<uint8_t> bytes = {0, 1, 127, 128, 254, 255, 9, 10, 11};
  InvertBytes(bytes.data(), bytes.size());
  EXPECT_EQ(bytes, (std::vector<uint8_t>{255, 254, 128, 127, 1, 0, 246, 245, 244}));
}

namespace {

// Every pixel's masked colour is the colour of its palette entry.
void ExpectIndexesMatch(const TgbRGBtoPaletteColorConverter& c, const std::vector<uint8_t>& rgb) {
  uint8_t masks[3];
  for (int k = 0; k < 3; ++k) masks[k] = uint8_t(0xFF << (8 - c.KeptBits(k)));
  for (size_t i = 0; i < rgb.size() / 3; ++i) {
    const uint8_t index = c.Indexes()[i];
    ASSERT_LT(index, c.PaletteSize());
    EXPECT_EQ(c.FirstTable()[index], rgb[3 * i] & masks[0]) << i;
    EXPECT_EQ(c.SecondTable()[index], rgb[3 * i + 1] & masks[1]) << i;
    EXPECT_EQ(c.ThirdTable()[index], rgb[3 * i + 2] & masks[2]) << i;
  }
}

}  // namespace

TEST(TgbRGBtoPaletteColorConverter, FewColoursAreKeptExactlyWhiteIncluded) {
  const std::vector<uint8_t> rgb = {255, 255, 255, 0, 0, 0, 10, 20, 30, 255, 255, 255, 10, 20, 30, 1, 0, 0};
  TgbRGBtoPaletteColorConverter c;
  ASSERT_TRUE(c.BuildPalette(rgb.data(), 3, 2, 8));
  EXPECT_EQ(c.PaletteSize(), 4u);
  EXPECT_EQ(c.KeptBits(0), 8);
  ExpectIndexesMatch(c, rgb);
  // Ascending order, the third byte slowest: black, (1,0,0), (10,20,30), white.
  EXPECT_EQ(c.Indexes()[1], 0);
  EXPECT_EQ(c.Indexes()[5], 1);
  EXPECT_EQ(c.Indexes()[0], 3);
}

TEST(TgbRGBtoPaletteColorConverter, ManyColoursKeepFewerBitsUntilTheyFit) {
  // 300 distinct colours: seven bits per component leave at most 256.
  std::vector<uint8_t> rgb;
  for (int i = 0; i < 300; ++i) {
    rgb.push_back(uint8_t(i % 256));
    rgb.push_back(uint8_t(i / 256 * 2));
    rgb.push_back(0);
  }
  TgbRGBtoPaletteColorConverter c;
  ASSERT_TRUE(c.BuildPalette(rgb.data(), 300, 1, 8));
  EXPECT_EQ(c.KeptBits(0), 7);
  EXPECT_LE(c.PaletteSize(), 256u);
  ExpectIndexesMatch(c, rgb);
}

TEST(TgbRGBtoPaletteColorConverter, TooManyColoursAtFourBitsStillGetTheirOwnEntries) {
  // 4096 colours survive four bits per component; 3, 3 and 2 bits keep every index right.
  std::vector<uint8_t> rgb;
  for (int r = 0; r < 16; ++r)
    for (int g = 0; g < 16; ++g)
      for (int b = 0; b < 16; ++b) {
        rgb.push_back(uint8_t(r * 16));
        rgb.push_back(uint8_t(g * 16));
        rgb.push_back(uint8_t(b * 16));
      }
  TgbRGBtoPaletteColorConverter c;
  ASSERT_TRUE(c.BuildPalette(rgb.data(), 64, 64, 8));
  EXPECT_EQ(c.PaletteSize(), 256u);
  EXPECT_EQ(c.KeptBits(0), 3);
  EXPECT_EQ(c.KeptBits(2), 2);
  ExpectIndexesMatch(c, rgb);
}

TEST(TgbRGBtoPaletteColorConverter, SixteenBitIndexesWidenTheTables) {
  const std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6};
  TgbRGBtoPaletteColorConverter c;
  ASSERT_TRUE(c.BuildPalette(rgb.data(), 2, 1, 16));
  EXPECT_EQ(c.PaletteSize(), 2u);
  EXPECT_EQ(c.FirstTable()[1], 4 * 257);
  uint16_t second;
  std::memcpy(&second, &c.Indexes()[2], 2);
  EXPECT_EQ(second, 1);

  EXPECT_FALSE(c.BuildPalette(nullptr, 2, 1, 8));
  EXPECT_STREQ(c.GetErrorText(), "Empty input buffer");
}
