#include <gtest/gtest.h>

#include "fileset/proxy/ReferencedFile.h"

using namespace ORN_dicom;

namespace {

TEST(ReferencedFile, PathsStayInsideTheFileSetFolder) {
  struct Case {
    const char* id;
    const char* path;  // null: refused
  } cases[] = {
      {"IM1", "/fs/IM1"},
      {"DICOM\\IM1", "/fs/DICOM/IM1"},
      {"A\\B\\C\\IM1", "/fs/A/B/C/IM1"},
      {"A\\..B\\C..", "/fs/A/..B/C.."},
      {".\\IM1", "/fs/./IM1"},
      {"..", nullptr},
      {"..\\IM1", nullptr},
      {"A\\..\\..\\etc\\passwd", nullptr},
      {"A\\..", nullptr},
      {"A/../IM1", nullptr},
      {"\\etc\\passwd", nullptr},
      {"/etc/passwd", nullptr},
      {"C:\\IM1", nullptr},
      {"C:IM1", nullptr},
      {"", nullptr},
      {"A\\\\IM1", nullptr},
      {"A\\IM1\\", nullptr},
      {"A\\I\nM1", nullptr},
  };
  for (const Case& c : cases) {
    std::string path = "unchanged";
    EXPECT_EQ(ReferencedFilePath("/fs/", c.id, path), c.path != nullptr) << c.id;
    EXPECT_EQ(path, c.path ? c.path : "unchanged") << c.id;
    EXPECT_EQ(IsSafeReferencedFileID(c.id), c.path != nullptr) << c.id;
  }
  std::string path;
  ASSERT_TRUE(ReferencedFilePath("/a\\b/", "X\\Y", path));
  EXPECT_EQ(path, "/a\\b/X/Y") << "the folder itself is left as it is";
}

TEST(ReferencedFile, UidsUsedAsFolderNames) {
  const std::string longest = "1." + std::string(62, '2');
  struct Case {
    std::string text;
    bool uid;
  } cases[] = {
      {"1.2.840.10008.1.2", true},
      {"0", true},
      {"1.0.3", true},
      {longest, true},
      {longest + "2", false},
      {"", false},
      {"..", false},
      {"1..2", false},
      {".1.2", false},
      {"1.2.", false},
      {"1.02", false},
      {"1.2/3", false},
      {"1.2\\3", false},
      {"1.2 ", false},
      {"1.2.a", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsDicomUID(c.text), c.uid) << c.text;
}

}  // namespace
