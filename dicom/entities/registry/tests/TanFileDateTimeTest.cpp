#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <random>

#include "dicom/entities/registry/TanFileDateTime.h"
#include "platform/files/FileHandle.h"
#include "platform/files/FileTime.h"

namespace ORN_utility {
namespace {

namespace fs = std::filesystem;

class FileDateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() /
           ("filedatetime_" + std::to_string(std::random_device{}()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(FDir);
    fs::create_directories(FDir);
  }
  void TearDown() override { fs::remove_all(FDir); }

  std::string Make(const std::string& name, uint64_t writeTicks) {
    const std::string path = (FDir / name).string();
    std::ofstream(path) << name;
    platform::FileHandle h = platform::CreateFile(path, platform::access::GenericWrite, platform::share::Read,
                                                  platform::Disposition::OpenExisting, 0);
    EXPECT_NE(h, platform::kInvalidFileHandle);
    platform::FileTime t{writeTicks};
    EXPECT_TRUE(platform::SetFileTime(h, nullptr, nullptr, &t));
    platform::CloseFile(h);
    return path;
  }

  fs::path FDir;
};

constexpr uint64_t kDay = 864000000000ull;
constexpr uint64_t k2020 = 132223104000000000ull;  // 2020-01-01 UTC

TEST_F(FileDateTimeTest, MissingFilesRankFirstAndByPath) {
  const std::string existing = Make("a.dcm", k2020);
  TanFileDateTime missingA((FDir / "missing_a").string(), 0);
  TanFileDateTime missingB((FDir / "missing_b").string(), 0);
  TanFileDateTime present(existing, 0);
  EXPECT_FALSE(missingA.Valid());
  EXPECT_EQ(missingA.FileTime(), 0u);
  EXPECT_TRUE(present.Valid());
  EXPECT_TRUE(TanFileDateTime::IsEarlier(missingB, present));
  EXPECT_FALSE(TanFileDateTime::IsEarlier(present, missingA));
  // Two missing files: the path settles it, so the answer does not depend on the order asked.
  EXPECT_TRUE(TanFileDateTime::IsEarlier(missingA, missingB));
  EXPECT_FALSE(TanFileDateTime::IsEarlier(missingB, missingA));
  TanFileDateTime missingA2((FDir / "missing_a").string(), 0);
  EXPECT_FALSE(TanFileDateTime::IsEarlier(missingA, missingA2));
  EXPECT_TRUE(TanFileDateTime::IsNotLater(missingA, missingA2));
}

TEST_F(FileDateTimeTest, LastWriteTimeDecidesWhereCreationTimesTie) {
  // Both files get the same creation time where the file system keeps one; the platform gives
  // the last write time where it does not. Either way the later written file ranks later.
  const std::string older = Make("z_older.dcm", k2020);
  const std::string newer = Make("a_newer.dcm", k2020 + kDay);
  platform::FileTime creation{k2020 - kDay};
  for (const std::string& p : {older, newer}) {
    platform::FileHandle h = platform::CreateFile(p, platform::access::GenericWrite, platform::share::Read,
                                                  platform::Disposition::OpenExisting, 0);
    platform::SetFileTime(h, &creation, nullptr, nullptr);  // may be unsupported: then ignored
    platform::CloseFile(h);
  }
  TanFileDateTime a(older, 0), b(newer, 0);
  EXPECT_TRUE(TanFileDateTime::IsEarlier(a, b));
  EXPECT_FALSE(TanFileDateTime::IsEarlier(b, a));
  EXPECT_TRUE(TanFileDateTime::IsNotLater(a, b));
  EXPECT_FALSE(TanFileDateTime::IsNotLater(b, a));
}

TEST_F(FileDateTimeTest, KindsReadTheirTimeInLocalForm) {
  const std::string path = Make("k.dcm", k2020);
  TanFileDateTime write(path, TanFileDateTime::kLastWrite);
  ASSERT_TRUE(write.Valid());
  // Local time lies within a day of UTC.
  EXPECT_LT(write.FileTime() > k2020 ? write.FileTime() - k2020 : k2020 - write.FileTime(), kDay);
  TanFileDateTime other(path, 7);  // any other kind reads the creation time
  EXPECT_TRUE(other.Valid());
  TanFileDateTime padded("  " + path + " ", 2);
  EXPECT_TRUE(padded.Valid());
}

TEST_F(FileDateTimeTest, SameFileByDeviceAndInode) {
  const std::string path = Make("s.dcm", k2020);
  const std::string other = Make("t.dcm", k2020);
  fs::create_hard_link(path, FDir / "hard.dcm");
  EXPECT_TRUE(TanFileDateTime::IsSameFile(path, (FDir / "." / "s.dcm").string()));
  EXPECT_TRUE(TanFileDateTime::IsSameFile(path, (FDir / "hard.dcm").string()));
  EXPECT_FALSE(TanFileDateTime::IsSameFile(path, other));
  EXPECT_FALSE(TanFileDateTime::IsSameFile(path, (FDir / "gone").string()));
}

}  // namespace
}  // namespace ORN_utility
