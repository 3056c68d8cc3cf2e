#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/core/LastError.h"
#include "platform/memory/FileMapping.h"
#include "platform/memory/ScratchFile.h"

namespace {

using namespace platform;

TEST(FileMapping, ViewsOfAPagingFileMappingShareTheBytes) {
  FileMapping* mapping = CreateFileMapping(kNoFile, 3 * kAllocationGranularity);
  ASSERT_NE(mapping, nullptr);
  auto* whole = static_cast<unsigned char*>(MapView(mapping, 0, 0));
  auto* second = static_cast<unsigned char*>(MapView(mapping, kAllocationGranularity, 16));
  ASSERT_NE(whole, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(whole[kAllocationGranularity + 5], 0);
  second[5] = 42;
  EXPECT_EQ(whole[kAllocationGranularity + 5], 42);

  // Closing the handle keeps the views; unmapping takes any address inside a view.
  EXPECT_TRUE(CloseFileMapping(mapping));
  EXPECT_TRUE(UnmapView(second + 7));
  EXPECT_FALSE(UnmapView(second + 7));
  EXPECT_EQ(GetLastError(), err::InvalidAddress);
  EXPECT_TRUE(UnmapView(whole));
}

TEST(FileMapping, RefusedViewsAndSizes) {
  EXPECT_EQ(CreateFileMapping(kNoFile, 0), nullptr);
  EXPECT_EQ(GetLastError(), err::InvalidParameter);

  FileMapping* mapping = CreateFileMapping(kNoFile, kAllocationGranularity + 1);
  ASSERT_NE(mapping, nullptr);
  EXPECT_EQ(MapView(mapping, 4096, 1), nullptr);  // not on a 64 KiB boundary
  EXPECT_EQ(GetLastError(), err::InvalidParameter);
  EXPECT_EQ(MapView(mapping, kAllocationGranularity, 2), nullptr);  // beyond the mapping
  EXPECT_EQ(GetLastError(), err::AccessDenied);
  void* view = MapView(mapping, kAllocationGranularity, 1);
  EXPECT_NE(view, nullptr);
  EXPECT_TRUE(UnmapView(view));
  EXPECT_TRUE(CloseFileMapping(mapping));
}

TEST(FileMapping, MappingOnAScratchFileGrowsItAndNeverOpensAnExistingOne) {
  const std::string path = ::testing::TempDir() + "vistrel_scratch_" + std::to_string(getpid());
  const int file = CreateScratchFile(path);
  ASSERT_NE(file, kNoFile);
  EXPECT_EQ(CreateScratchFile(path), kNoFile);
  EXPECT_EQ(GetLastError(), err::FileExists);

  FileMapping* mapping = CreateFileMapping(file, kAllocationGranularity);
  ASSERT_NE(mapping, nullptr);
  auto* view = static_cast<unsigned char*>(MapView(mapping, 0, 8));
  ASSERT_NE(view, nullptr);
  std::memcpy(view, "abcdefgh", 8);
  EXPECT_TRUE(UnmapView(view));
  EXPECT_TRUE(CloseFileMapping(mapping));
  EXPECT_EQ(lseek(file, 0, SEEK_END), static_cast<off_t>(kAllocationGranularity));
  char head[8] = {};
  EXPECT_EQ(pread(file, head, 8, 0), 8);
  EXPECT_EQ(std::string(head, 8), "abcdefgh");

  EXPECT_TRUE(CloseScratchFile(file));
  EXPECT_TRUE(DeleteScratchFile(path));
  EXPECT_FALSE(DeleteScratchFile(path));
  EXPECT_EQ(GetLastError(), err::FileNotFound);
}

}  // namespace
