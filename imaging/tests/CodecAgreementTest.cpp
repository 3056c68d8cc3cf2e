// The codecs against dcmtk on independent files: pydicom's test files and files made here with
// dcmcjpeg and dcmcrle, decoded by dcmdjpeg and dcmdrle (exact for lossless and RLE, within 1
// per sample for lossy); and what the encoders write, decoded by dcmtk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/TsgImageConverter.h"

namespace fs = std::filesystem;

namespace {

const char kScript[] = VISTREL_SOURCE_DIR "/imaging/tests/codec_fixtures.py";

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

// The largest difference between two buffers of samples (one or two bytes each).
int MaxDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, bool wide) {
  int worst = 0;
  const size_t count = wide ? a.size() / 2 : a.size();
  for (size_t i = 0; i < count; ++i) {
    const int x = wide ? a[2 * i] | (a[2 * i + 1] << 8) : a[i];
    const int y = wide ? b[2 * i] | (b[2 * i + 1] << 8) : b[i];
    worst = std::max(worst, std::abs(x - y));
  }
  return worst;
}

struct Case {
  std::string name, kind;
  int rows = 0, columns = 0, bits = 0, samples = 0, planar = 0, tolerance = 0;
  std::string frame, reference;
};

class CodecAgreement : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::random_device random;
    Folder() = fs::temp_directory_path() / ("vistrel_codecs_" + std::to_string(random()));
    fs::create_directories(Folder());
    const std::string command = "/usr/bin/python3 " + std::string(kScript) + " prepare " + Folder().string();
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static void TearDownTestSuite() { fs::remove_all(Folder()); }
  static fs::path& Folder() {
    static fs::path folder;
    return folder;
  }

  static std::vector<Case> Cases() {
    std::vector<Case> cases;
    std::ifstream in(Folder() / "manifest.txt");
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty()) continue;
      std::istringstream fields(line);
      Case c;
      fields >> c.name >> c.kind >> c.rows >> c.columns >> c.bits >> c.samples >> c.planar >> c.tolerance >>
          c.frame >> c.reference;
      cases.push_back(c);
    }
    return cases;
  }

  // dcmtk's decoding of one frame written by our encoder.
  static std::vector<uint8_t> DcmtkDecode(const std::string& name, const char* transferSyntax, int rows,
                                          int columns, int bits, int stored, int samples, const char* photometric,
                                          const uint8_t* frame, size_t size) {
    const std::string framePath = (Folder() / (name + ".ours")).string();
    const std::string outPath = framePath + ".raw";
    WriteAll(framePath, frame, size);
    std::ostringstream command;
    command << "/usr/bin/python3 " << kScript << " decode " << transferSyntax << ' ' << rows << ' ' << columns << ' '
            << bits << ' ' << stored << ' ' << samples << ' ' << photometric << ' ' << framePath << ' ' << outPath;
    if (std::system(command.str().c_str()) != 0) return {};
    std::vector<uint8_t> pixels = ReadAll(outPath);
    // Pixel data of odd length carry a pad byte.
    const size_t frameSize = size_t(rows) * columns * samples * (bits > 8 ? 2 : 1);
    if (pixels.size() == frameSize + 1) pixels.pop_back();
    return pixels;
  }
};

TEST_F(CodecAgreement, DecodersAgreeWithDcmtkOnIndependentFiles) {
  const std::vector<Case> cases = Cases();
  ASSERT_GE(cases.size(), 50u);
  TsgImageConverter converter;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.kind == "refused") continue;
    const std::vector<uint8_t> frame = ReadAll(c.frame);
    const std::vector<uint8_t> reference = ReadAll(c.reference);
    const bool wide = c.bits > 8;
    std::vector<uint8_t> out(size_t(c.rows) * c.columns * c.samples * (wide ? 2 : 1));
    ASSERT_EQ(out.size(), reference.size());
    bool ok = false;
    const auto size = uint32_t(frame.size());
    const auto capacity = uint32_t(out.size());
    if (c.kind == "rle") {
      ok = c.samples == 3 ? converter.DecompressRleRGB(c.columns, c.rows, c.planar, frame.data(), size, out.data(), capacity)
                          : converter.DecompressRle(c.columns, c.rows, c.bits, frame.data(), size, out.data(), capacity);
    } else if (c.kind == "lossless") {
      ok = c.samples == 3
               ? converter.DecompressJpegLosslessRGB(c.columns, c.rows, 0, frame.data(), size, out.data(), capacity)
               : converter.DecompressJpegLossless(c.columns, c.rows, c.bits, frame.data(), size, out.data(), capacity);
    } else {
      ok = converter.DecompressJpegLossy(c.columns, c.rows, frame.data(), size, out.data(), capacity);
    }
    ASSERT_TRUE(ok) << converter.ErrorText();
    if (c.kind == "lossy") {
      EXPECT_LE(MaxDifference(out, reference, wide), c.tolerance);
    } else {
      EXPECT_TRUE(out == reference);
    }
  }
}

// RLE frames deeper than 16 bits (pydicom's 32-bit dose and colour files) and 16-bit colour
// are refused, never decoded as 8 or 16 bits.
TEST_F(CodecAgreement, DeeperRleFramesAreRefused) {
  TsgImageConverter converter;
  int refused = 0;
  for (const Case& c : Cases()) {
    if (c.kind != "refused") continue;
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> frame = ReadAll(c.frame);
    std::vector<uint8_t> out(size_t(c.rows) * c.columns * c.samples * (c.bits / 8));
    const bool ok = c.samples == 3 ? converter.DecompressRleRGB(c.columns, c.rows, c.planar, frame.data(),
                                                                uint32_t(frame.size()), out.data(), uint32_t(out.size()))
                                   : converter.DecompressRle(c.columns, c.rows, c.bits, frame.data(),
                                                             uint32_t(frame.size()), out.data(), uint32_t(out.size()));
    EXPECT_FALSE(ok);
    if (c.samples == 1) {
      EXPECT_EQ(converter.ErrorText(), "RLE pixel data with more than 16 bits allocated is not supported");
    }
    ++refused;
  }
  EXPECT_EQ(refused, 3);
}

// A CT-like 16-bit frame, an 8-bit grey frame and an RGB frame, each encoded here and decoded
// by dcmtk.
TEST_F(CodecAgreement, DcmtkDecodesWhatTheEncodersWrite) {
  const int rows = 61, columns = 47;
  const size_t n = size_t(rows) * columns;
  std::mt19937 random(7);
  std::vector<uint8_t> grey16(2 * n), grey8(n), rgb(3 * n);
  for (size_t i = 0; i < n; ++i) {
    const int x = int(i % columns), y = int(i / columns);
    const uint16_t v = uint16_t((x * 40 + y * 25 + random() % 200) % 4096);
    grey16[2 * i] = uint8_t(v);
    grey16[2 * i + 1] = uint8_t(v >> 8);
    grey8[i] = uint8_t(x * 3 + y * 2 + random() % 9);
    rgb[3 * i] = uint8_t(x * 5);
    rgb[3 * i + 1] = uint8_t(y * 4);
    rgb[3 * i + 2] = uint8_t((x + y) * 2 + random() % 5);
  }
  // A 16-bit frame with the full range of the samples, 0 and 65535 next to each other.
  std::vector<uint8_t> full16(2 * n);
  for (size_t i = 0; i < n; ++i) {
    const uint16_t v = (i % 2) ? 65535 : uint16_t(random());
    full16[2 * i] = uint8_t(v);
    full16[2 * i + 1] = uint8_t(v >> 8);
  }

  TsgImageConverter converter;
  std::vector<uint8_t> packed(8 * n + 64);
  const auto capacity = uint32_t(packed.size());

  struct Lossless {
    const char* name;
    const std::vector<uint8_t>* source;
    int bits, samples;
    bool rle;
  } lossless[] = {
      {"ours_jpeg16", &grey16, 16, 1, false}, {"ours_jpeg16_full", &full16, 16, 1, false},
      {"ours_jpeg8", &grey8, 8, 1, false},    {"ours_jpegrgb", &rgb, 8, 3, false},
      {"ours_rle16", &grey16, 16, 1, true},   {"ours_rle16_full", &full16, 16, 1, true},
      {"ours_rle8", &grey8, 8, 1, true},      {"ours_rlergb", &rgb, 8, 3, true},
  };
  for (const auto& c : lossless) {
    SCOPED_TRACE(c.name);
    uint32_t length = 0;
    if (c.rle) {
      length = c.samples == 3 ? converter.CompressRleRGB(columns, rows, 1, c.source->data(), packed.data(), capacity)
                              : converter.CompressRle(columns, rows, c.bits, c.source->data(), packed.data(), capacity);
    } else {
      length = c.samples == 3
                   ? converter.CompressJpegLosslessRGB(columns, rows, c.source->data(), packed.data(), 0, capacity)
                   : converter.CompressJpegLossless(columns, rows, c.bits, c.source->data(), packed.data(), capacity);
    }
    ASSERT_GT(length, 0u);
    const char* ts = c.rle ? "1.2.840.10008.1.2.5" : "1.2.840.10008.1.2.4.70";
    const auto decoded = DcmtkDecode(c.name, ts, rows, columns, c.bits, c.bits, c.samples,
                                     c.samples == 3 ? "RGB" : "MONOCHROME2", packed.data(), length);
    EXPECT_TRUE(decoded == *c.source);
  }

  // Lossy: dcmtk's decoding of our stream agrees with ours within 1 per sample.
  struct Lossy {
    const char* name;
    const std::vector<uint8_t>* source;
    int bits, stored, samples;
  } lossy[] = {{"ours_lossy12", &grey16, 16, 12, 1}, {"ours_lossy8", &grey8, 8, 8, 1}, {"ours_lossyrgb", &rgb, 8, 8, 3}};
  for (const auto& c : lossy) {
    SCOPED_TRACE(c.name);
    uint32_t length = 0;
    if (c.samples == 3) {
      length = converter.CompressJpegLossyRGB(columns, rows, c.source->data(), packed.data(), 0, 90, capacity);
    } else {
      int32_t representation = 0;
      double slope = 1.0, intercept = 0.0;
      length = converter.CompressJpegLossy(columns, rows, c.source->data(), packed.data(), c.bits, &representation,
                                           &slope, &intercept, 90, capacity);
      EXPECT_EQ(slope, 1.0);
      EXPECT_EQ(intercept, 0.0);
    }
    ASSERT_GT(length, 0u);
    std::vector<uint8_t> ours(c.source->size());
    ASSERT_TRUE(converter.DecompressJpegLossy(columns, rows, packed.data(), length, ours.data(), uint32_t(ours.size())));
    const auto decoded = DcmtkDecode(c.name, c.bits > 8 ? "1.2.840.10008.1.2.4.51" : "1.2.840.10008.1.2.4.50", rows,
                                     columns, c.bits, c.stored, c.samples, c.samples == 3 ? "YBR_FULL_422" : "MONOCHROME2",
                                     packed.data(), length);
    ASSERT_EQ(decoded.size(), ours.size());
    EXPECT_LE(MaxDifference(ours, decoded, c.bits > 8), 1);
    // And the picture is still the picture.
    EXPECT_LE(MaxDifference(ours, *c.source, c.bits > 8), c.bits > 8 ? 200 : 40);
  }
}

}  // namespace
