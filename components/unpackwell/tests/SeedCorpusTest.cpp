// Every file of the fuzz targets' seed corpus goes through the decoders as a plain regression
// test: malformed streams must fail cleanly, the valid seeds must decode.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "components/unpackwell/fuzz/FuzzEntries.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void RunCorpus(const char* target, bool (*decode)(const uint8_t*, size_t)) {
  const fs::path folder = fs::path(UNPACKWELL_CORPUS) / target;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().filename().string());
    const auto data = ReadAll(entry.path());
    const bool decoded = decode(data.data(), data.size());
    const std::string name = entry.path().filename().string();
    if (name.rfind("valid_", 0) == 0) {
      EXPECT_TRUE(decoded);
    }
    if (name.rfind("bad_", 0) == 0) {
      EXPECT_FALSE(decoded);
    }
    ++files;
  }
  EXPECT_GT(files, 0);
}

TEST(SeedCorpus, JpegDecoder) { RunCorpus("jpeg_decode", unpackwell::fuzz::DecodeJpegInput); }
TEST(SeedCorpus, RleDecoder) { RunCorpus("rle_decode", unpackwell::fuzz::DecodeRleInput); }

}  // namespace
