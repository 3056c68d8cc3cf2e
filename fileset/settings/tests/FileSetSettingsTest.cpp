#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <random>

#include "fileset/settings/dicom_file_set_ini.h"

namespace ORN_dicomdir {
namespace {

namespace fs = std::filesystem;

class FileSetSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPath = (fs::temp_directory_path() /
             ("fsini_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
              std::to_string(std::random_device{}()) + ".ini"))
                .string();
    fs::remove(FPath);
  }
  void TearDown() override {
    fs::remove(FPath);
    InitializeFileSetSettings(std::string());
  }
  void Write(const std::string& text) { std::ofstream(FPath, std::ios::binary) << text; }

  std::string FPath;
};

TEST_F(FileSetSettingsTest, NoFileKeepsEveryDefault) {
  dicom_file_set_ini ini(FPath);
  EXPECT_TRUE(ini.conditions.empty());
  EXPECT_FALSE(ini.enhanced_spatial_stack_discernment);
  EXPECT_TRUE(ini.regular_spatial_stack_discernment);
  EXPECT_EQ(ReadGroupingByModalityType(FPath), -1);
  InitializeFileSetSettings(FPath);
  EXPECT_EQ(GetGroupingByModalityType(), -1);
  EXPECT_EQ(EmptyDateValue, "99991231");
  EXPECT_EQ(EmptyTimeValue, "240000000");
}

TEST_F(FileSetSettingsTest, SeriesGroupingAlone) {
  Write("[SERIES]\nGroupingByModalityType=0\n");
  InitializeFileSetSettings(FPath);
  EXPECT_EQ(GetGroupingByModalityType(), 0);
  EXPECT_TRUE(GetFileSetIni().conditions.empty());
  EXPECT_FALSE(GetFileSetIni().enhanced_spatial_stack_discernment);
  EXPECT_TRUE(GetFileSetIni().regular_spatial_stack_discernment);
  // Read once: a later edit changes nothing until the settings are built again.
  Write("[SERIES]\nGroupingByModalityType=2\n");
  EXPECT_EQ(GetGroupingByModalityType(), 0);
  Write("[SERIES]\nGroupingByModalityType=two\n");
  EXPECT_EQ(ReadGroupingByModalityType(FPath), -1);
}

TEST_F(FileSetSettingsTest, Switches) {
  struct Case {
    const char* text;
    bool enhanced;
    bool regular;
  } cases[] = {
      {"[STACKS]\nEnhancedSpatialStackDiscernment=7\n", true, true},
      {"[STACKS]\nRegularSpatialStackDiscernment=0\n", false, false},
      {"[STACKS]\nEnhancedSpatialStackDiscernment=yes\nRegularSpatialStackDiscernment=off\n", false, true},
  };
  for (const Case& c : cases) {
    Write(c.text);
    dicom_file_set_ini ini(FPath);
    EXPECT_EQ(ini.enhanced_spatial_stack_discernment, c.enhanced) << c.text;
    EXPECT_EQ(ini.regular_spatial_stack_discernment, c.regular) << c.text;
  }
}

TEST_F(FileSetSettingsTest, ConditionKeys) {
  struct Case {
    const char* key;
    bool accepted;
    uint32_t tag;
    int32_t index;
  } cases[] = {
      {"(0008,0008)", true, 0x00080008, 0}, {"(0008,0008) [3]", true, 0x00080008, 3},
      {"0008 0008-x", true, 0x00080008, 0}, {"(0008,0008)A", true, 0x00080008, 0},
      {"(0018,9087)", false, 0, 0},         {"(0000,0010)", false, 0, 0},
      {"(0008,008)", false, 0, 0},          {"  (7FFF,0001)[12]  ", true, 0x7FFF0001, 12},
  };
  for (const Case& c : cases) {
    uint32_t tag = 0;
    int32_t index = -5;
    EXPECT_EQ(dicom_file_set_ini::ParseConditionKey(c.key, tag, index), c.accepted) << c.key;
    if (c.accepted) {
      EXPECT_EQ(tag, c.tag) << c.key;
      EXPECT_EQ(index, c.index) << c.key;
    }
  }
}

TEST_F(FileSetSettingsTest, ConditionValuesAndFileOrder) {
  Write(
      "[IGNORE STACK_ID OF ENCHANCED SERIES]\n"
      "(0008,0008)=ORIGINAL\\PRIMARY\n"
      "(0020,0100)=\n"
      "(0008,0008)[3]=AXIAL \\ \\ LOCALIZER\n"
      "(0018,9087)=1\n"
      "(0028,0010)=512\n");
  dicom_file_set_ini ini(FPath);
  ASSERT_EQ(ini.conditions.size(), 3u);
  EXPECT_EQ(ini.conditions[0].tag, 0x00080008u);
  EXPECT_EQ(ini.conditions[0].index, 0);
  EXPECT_EQ(ini.conditions[0].values, std::vector<std::string>{"ORIGINAL\\PRIMARY"});
  EXPECT_EQ(ini.conditions[1].index, 3);
  EXPECT_EQ(ini.conditions[1].values, (std::vector<std::string>{"AXIAL", "LOCALIZER"}));
  EXPECT_EQ(ini.conditions[2].tag, 0x00280010u);
  EXPECT_EQ(ini.conditions[2].values, std::vector<std::string>{"512"});
  EXPECT_EQ(dicom_file_set_ini::SplitConditionValue(" \\ \\ ", 2), std::vector<std::string>{});
}

}  // namespace
}  // namespace ORN_dicomdir
