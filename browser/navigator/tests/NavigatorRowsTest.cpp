#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "browser/navigator/NavigatorRows.h"
#include "browser/navigator/tests/NavigatorFixture.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/dicomdir/TanDicomDirObject.h"

using namespace ORN_dicomdir;

TEST(NavigatorDateText, DicomDatesBecomeShortDates) {
  struct Case {
    const char* value;
    const char* text;  // null: no text
  };
  const Case cases[] = {
      {"19630927", "9/27/1963"},   {"1963.09.27", "9/27/1963"}, {" 20010102 ", "1/2/2001"},
      {"1963", nullptr},           {"196300", nullptr},         {"19630027", nullptr},
      {"19631327", nullptr},       {"00000927", nullptr},       {"19630931", nullptr},
      {"20000229", "2/29/2000"},   {"19000229", nullptr},       {"1963092", nullptr},
      {"19630900", nullptr},       {"", nullptr},               {"abcd0927", nullptr},
      {"15000101", nullptr},  // before the formatter's first year
  };
  for (const Case& c : cases) {
    const auto text = DicomDateText(c.value);
    if (c.text) {
      ASSERT_TRUE(text.has_value()) << c.value;
      EXPECT_EQ(*text, c.text) << c.value;
    } else {
      EXPECT_FALSE(text.has_value()) << c.value << " -> " << text.value_or("");
    }
  }
}

TEST(NavigatorTimeText, DicomTimesBecome24HourTimes) {
  struct Case {
    const char* value;
    const char* text;
  };
  const Case cases[] = {
      {"1015", "10:15:00"},       {"10:15:30", "10:15:30"}, {"101530.123456", "10:15:30"},
      {"235959", "23:59:59"},     {"2400", nullptr},        {"10", nullptr},
      {"1060", nullptr},          {"101560", nullptr},      {"2500", nullptr},
      {"", nullptr},              {" 0830 ", "08:30:00"},   {"08301", "08:30:00"},
  };
  for (const Case& c : cases) {
    const auto text = DicomTimeText(c.value);
    if (c.text) {
      ASSERT_TRUE(text.has_value()) << c.value;
      EXPECT_EQ(*text, c.text) << c.value;
    } else {
      EXPECT_FALSE(text.has_value()) << c.value << " -> " << text.value_or("");
    }
  }
}

TEST(NavigatorRows, SexIsTheFirstLetterAfterTrimming) {
  struct Case {
    const char* value;
    char sex;
  };
  for (const Case& c : {Case{"M", 'M'}, Case{" F", 'F'}, Case{"O ", 'O'}, Case{"", 0}, Case{"   ", 0}, Case{"\t\n", 0}}) {
    TanPatientInfoObj<char> row;
    row.SetSex(c.value);
    EXPECT_EQ(row.m_Sex, c.sex) << "[" << c.value << "]";
  }
}

TEST(NavigatorRows, UnreadableDateOrTimeKeepsTheMember) {
  TanStudyInfoObj<char> row;
  row.SetStudyDate("20240102");
  row.SetStudyDate("2024");
  EXPECT_EQ(row.m_StudyDate, "1/2/2024");
  row.SetStudyTime("2400");
  EXPECT_EQ(row.m_StudyTime, "");
}

TEST(NavigatorRows, StackRowCopiesOwnTheirIconsAndRefuseUnsoundBitmaps) {
  TanStackInfoObj<char> source;
  source.m_Icon = platform::CreateDibSection24(5, 3);
  source.m_Icon->StoredRow(1)[2] = 77;
  source.m_Index = 4;
  {
    TanStackInfoObj<char> copy(source);
    ASSERT_NE(copy.m_Icon, nullptr);
    EXPECT_NE(copy.m_Icon, source.m_Icon);
    EXPECT_EQ(copy.m_Icon->StoredRow(1)[2], 77);
    EXPECT_EQ(copy.m_Index, 4);
    copy.Clear();
    EXPECT_EQ(copy.m_Icon, nullptr);
    EXPECT_EQ(copy.m_Index, -1);
  }
  EXPECT_EQ(source.m_Icon->StoredRow(1)[2], 77);  // still valid

  // A bitmap whose rows are shorter than it claims is not read.
  platform::HBITMAP bad = platform::CreateDibSection24(8, 8);
  bad->Bits.resize(bad->Stride * 4);
  EXPECT_FALSE(IsSoundBitmap(bad));
  EXPECT_EQ(TanStackInfoObj<char>::CopyBitmap(bad), nullptr);
  bad->Bits.resize(bad->Stride * 8);
  bad->Stride = 8;  // narrower than 8 pixels of 3 bytes
  EXPECT_EQ(TanStackInfoObj<char>::CopyBitmap(bad), nullptr);
  platform::DeleteBitmap(bad);
  EXPECT_EQ(TanStackInfoObj<char>::CopyBitmap(nullptr), nullptr);
}

TEST(NavigatorRows, MainWindowCountsStacksInReverse) {
  struct Case {
    int index, count, expected;
  };
  for (const Case& c : {Case{0, 1, 0}, Case{0, 3, 2}, Case{2, 3, 0}, Case{1, 3, 1}, Case{-1, 3, -1}, Case{3, 3, -1}}) {
    EXPECT_EQ(ToMainWindowStackIndex(c.index, c.count), c.expected) << c.index << " of " << c.count;
  }
}

TEST(NavigatorRows, RowsOfAGeneratedFileSet) {
  browser_testing::ThreePatientFileSet fixture;
  auto* dir = fixture.Set().GetDicomDir();
  ASSERT_NE(dir, nullptr);
  TPatientRows patients;
  BuildPatientRows(*dir, patients);
  ASSERT_EQ(patients.size(), 3u);
  struct PatientCase {
    const char* name;
    const char* id;
    int studies;
  };
  const PatientCase expectedPatients[] = {{"Alpha^Ann", "PID-A", 1}, {"Bravo^Bob", "PID-B", 2}, {"Charlie^Cy", "PID-C", 1}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(patients[i].m_Index, i);
    EXPECT_EQ(patients[i].m_PatientName, expectedPatients[i].name);
    EXPECT_EQ(patients[i].m_PatientID, expectedPatients[i].id);
    EXPECT_EQ(patients[i].m_StudyCount, expectedPatients[i].studies);
    EXPECT_EQ(patients[i].m_Sex, 'M');
    EXPECT_EQ(patients[i].m_BirthDate, "1/1/1970");
    EXPECT_EQ(patients[i].m_CharacterSet, "ISO_IR 6");
  }

  struct StudyCase {
    int patient, study;
    const char* date;
    const char* time;
    int series, stacks;
    const char* modalities;
  };
  const StudyCase studyCases[] = {
      {0, 0, "1/2/2024", "10:15:30", 2, 2, "CT,MR"},
      // The file set puts the later study first; the earlier one is written in the dotted form.
      {1, 0, "12/31/2023", "23:59:59", 1, 1, "CT"},
      {1, 1, "11/5/2023", "08:30:00", 1, 1, "CT"},
      {2, 0, "", "", 1, 1, "MR"},  // month 13 and hour 24 give no text
  };
  for (const StudyCase& c : studyCases) {
    TStudyRows studies;
    BuildStudyRows(*dir->Patients().At(c.patient), studies);
    ASSERT_GT(int(studies.size()), c.study);
    const auto& row = studies[c.study];
    EXPECT_EQ(row.m_Index, c.study);
    EXPECT_EQ(row.m_StudyDate, c.date) << c.patient << "/" << c.study;
    EXPECT_EQ(row.m_StudyTime, c.time) << c.patient << "/" << c.study;
    EXPECT_EQ(row.m_SeriesCount, c.series);
    EXPECT_EQ(row.m_StackCount, c.stacks);
    EXPECT_EQ(row.m_Modalities, c.modalities);
  }

  // Stacks: running numbers over the series, instance counts per file.
  TStackRows stacks;
  BuildStackRows(*dir->Patients().At(0)->FStudies.At(0), stacks);
  ASSERT_EQ(stacks.size(), 2u);
  EXPECT_EQ(stacks[0].m_Index, 0);
  EXPECT_EQ(stacks[1].m_Index, 1);
  std::set<std::string> modalities{stacks[0].m_Modality, stacks[1].m_Modality};
  EXPECT_EQ(modalities, (std::set<std::string>{"CT", "MR"}));
  for (const auto& row : stacks) {
    const int slices = row.m_Modality == "CT" ? 3 : 2;
    EXPECT_EQ(row.m_FrameCount, slices);
    EXPECT_EQ(row.m_InstanceCount, slices);
    EXPECT_EQ(row.m_PresentationStateCount, 0);
  }
  TStackRows multiframe;
  BuildStackRows(*dir->Patients().At(2)->FStudies.At(0), multiframe);
  ASSERT_EQ(multiframe.size(), 1u);
  EXPECT_EQ(multiframe[0].m_FrameCount, 4);
  EXPECT_EQ(multiframe[0].m_InstanceCount, 1);
  EXPECT_EQ(multiframe[0].m_SeriesNumber, 7);
}
