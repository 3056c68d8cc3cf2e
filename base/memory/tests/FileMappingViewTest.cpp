#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/memory/TanFileMappingView.h"

namespace {

using ORN_std::TanFileMappingView;
namespace fs = std::filesystem;

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "vistrel_pool_" + std::to_string(getpid()) + "_" + name;
}

TEST(FileMappingView, PagingFilePoolMapsWindows) {
  for (const char* name : {static_cast<const char*>(nullptr), ""}) {
    TanFileMappingView pool(name);
    EXPECT_FALSE(pool.IsValid());
    EXPECT_TRUE(pool.Reserve(65537, nullptr).IsValid());
    EXPECT_EQ(pool.GetSize(), 65537u);
    EXPECT_EQ(pool.GetLastErrorText(), "");

    void* last = pool.Map(65536, 1);
    ASSERT_NE(last, nullptr);
    static_cast<unsigned char*>(last)[0] = 9;
    pool.Unmap(last);
    EXPECT_EQ(last, nullptr);

    struct Case {
      uint64_t offset, bytes;
    };
    for (Case c : {Case{65537, 1}, Case{65537, 0}, Case{0, 65538}, Case{65536, 2}}) {
      EXPECT_EQ(pool.Map(c.offset, c.bytes), nullptr) << c.offset << " " << c.bytes;
      EXPECT_EQ(pool.GetLastErrorText(), "Out of range");
    }
    auto* whole = static_cast<unsigned char*>(pool.Map(0, 65537));
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole[65536], 9);
    pool.Unmap(whole);
  }
}

TEST(FileMappingView, WindowAtAnUnalignedOffset) {
  TanFileMappingView pool;
  pool.Reserve(0x30000, nullptr);
  auto* p = static_cast<unsigned char*>(pool.Map(0x12345, 16));
  ASSERT_NE(p, nullptr);
  // The view starts at the 64 KiB boundary below the offset.
  EXPECT_EQ(reinterpret_cast<uintptr_t>(p - 0x2345) % 4096, 0u);
  p[0] = 0xAB;
  p[-0x2345] = 0xCD;
  auto* again = static_cast<unsigned char*>(pool.Map(0x10000, 0x2346));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again[0x2345], 0xAB);
  EXPECT_EQ(again[0], 0xCD);
  pool.Unmap(p);
  EXPECT_EQ(p, nullptr);
  pool.Unmap(p);  // null does nothing
  pool.Unmap(again);
}

TEST(FileMappingView, FilePoolCreatesAndDeletesItsOwnFile) {
  const std::string path = TempPath("own");
  {
    TanFileMappingView pool(path.c_str());
    EXPECT_TRUE(fs::exists(path));
    ASSERT_TRUE(pool.Reserve(100000, nullptr).IsValid());
    EXPECT_EQ(fs::file_size(path), 131072u);
    void* p = pool.Map(99999, 1);
    EXPECT_NE(p, nullptr);
    pool.Unmap(p);
  }
  EXPECT_FALSE(fs::exists(path));
}

TEST(FileMappingView, FilePoolNeverTouchesAFileItDidNotCreate) {
  const std::string path = TempPath("theirs");
  { std::ofstream(path) << "keep me"; }
  {
    TanFileMappingView pool(path.c_str());
    EXPECT_FALSE(pool.IsValid());
    EXPECT_EQ(pool.GetLastErrorText(), "The file exists.\r\n");
    pool.Reserve(65536, nullptr);  // a failed pool does nothing
    EXPECT_FALSE(pool.IsValid());
    EXPECT_EQ(pool.GetSize(), 0u);
  }
  std::ifstream in(path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep me");
  fs::remove(path);
}

TEST(FileMappingView, FailedReservationDeletesTheFileAndFailsThePool) {
  const std::string path = TempPath("failed");
  TanFileMappingView pool(path.c_str());
  ASSERT_TRUE(fs::exists(path));
  EXPECT_FALSE(pool.Reserve(0, nullptr).IsValid());  // an empty file cannot be mapped
  EXPECT_EQ(pool.GetLastErrorText(), "The parameter is incorrect.\r\n");
  EXPECT_EQ(pool.GetSize(), 0u);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_FALSE(pool.Reserve(65536, nullptr).IsValid());  // stays failed
}

TEST(FileMappingView, AnotherReservationReplacesTheMapping) {
  TanFileMappingView pool;
  pool.Reserve(65536, nullptr);
  void* p = pool.Map(0, 4);
  static_cast<unsigned char*>(p)[0] = 1;
  pool.Unmap(p);
  ASSERT_TRUE(pool.Reserve(200000, nullptr).IsValid());
  EXPECT_EQ(pool.GetSize(), 200000u);
  auto* q = static_cast<unsigned char*>(pool.Map(0, 4));
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q[0], 0);  // a new mapping
  pool.Unmap(q);
}

}  // namespace
