// The fuzz target's seeds, and every prefix of them, through all readers: no crash, no read
// past the data (the address sanitizer watches), and the whole seeds read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "dicom/io/fuzz/FuzzReaders.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {
namespace {

TEST(SeedCorpus, SeedsAndTheirPrefixesPassEveryReader) {
  EnsureDDERegistry();
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(DICOM_IO_CORPUS)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_GE(fuzz::ReadAllWays(bytes.data(), bytes.size()), 4) << entry.path();
    for (size_t n = 0; n < bytes.size(); n += 3) fuzz::ReadAllWays(bytes.data(), n);
    ++files;
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace ORN_dicom
