#include <gtest/gtest.h>

#include <string>

#include "dicom/entities/records/ReferencedFileID.h"
#include "dicom/entities/records/TanDirectoryRecord.h"

using namespace ORN_dicom;

namespace {

// IDs as a hostile DICOMDIR may hold them: every one that could name a file outside the
// file-set folder, or a different file than the one it spells, gives no path.
TEST(ReferencedFileID, OnlyRelativeIDsOfPlainComponentsGiveAPath) {
  using namespace std::string_literals;
  struct Case {
    std::string id;
    const char* path;  // null: refused
  } cases[] = {
      {"IM1", "IM1"},
      {"DICOM\\ST1\\IM1", "DICOM/ST1/IM1"},
      {"sub/IM1", "sub/IM1"},
      {"A\\..B\\C..", "A/..B/C.."},
      {".\\IM1", "./IM1"},
      {"", nullptr},
      {"..", nullptr},
      {"..\\..\\etc\\passwd", nullptr},
      {"A\\..\\..\\IM1", nullptr},
      {"A/../IM1", nullptr},
      {"\\etc\\passwd", nullptr},
      {"/etc/passwd", nullptr},
      {"C:\\IM1", nullptr},
      {"C:IM1", nullptr},
      {"A\\\\IM1", nullptr},
      {"A\\", nullptr},
      {"A\\IM1\\", nullptr},
      {"A\\IM\0" "1"s, nullptr},
      {"IM1\0/../../x"s, nullptr},
      {"A\\I\nM1", nullptr},
      {"A\\IM1\x7f", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(IsSafeReferencedFileID(c.id), c.path != nullptr);
    EXPECT_EQ(SafePathOfFileID(c.id), c.path ? c.path : "");
  }
}

TEST(ReferencedFileID, RecordGivesNoPathForAnEscapingID) {
  TanDirectoryRecord record;
  record.SetReferencedFileID("DICOM\\IM1");
  EXPECT_EQ(record.GetReferencedFilePath(), "DICOM/IM1");
  record.SetReferencedFileID("..\\..\\etc\\passwd");
  EXPECT_EQ(record.GetReferencedFileID(), "..\\..\\etc\\passwd") << "the record stays readable";
  EXPECT_EQ(record.GetReferencedFilePath(), "");
}

}  // namespace
