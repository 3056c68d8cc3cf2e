#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/process/Process.h"
#include "viewer/frame/VoiPresets.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own per run, removed at the end.
class VoiPresetsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("voi_presets_" + std::to_string(platform::CurrentProcessId()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    path_ = (folder_ / kVoiPresetsFileName).string();
  }
  void TearDown() override { fs::remove_all(folder_); }
  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }

  fs::path folder_;
  std::string path_;
};

const char kFile[] =
    "[ Lung ]\r\nModalities=CT\r\nWindowCenter=-600\r\nWindowWidth=1500\r\n"
    "[Brain]\r\nModalities=CT,MR\r\nWindowCenter=40\r\nWindowWidth=80\r\n"
    "[PET]\r\nModalities=PT\\CT\r\nWindowCenter=3\r\nWindowWidth=6\r\n"
    "[Retina]\r\nModalities=OCT\r\nWindowCenter=100\r\nWindowWidth=200\r\n"
    "[NoWidth]\r\nModalities=CT\r\nWindowCenter=50\r\n"
    "[NoCenter]\r\nModalities=CT\r\nWindowWidth=50\r\n"
    "[Garbage]\r\nModalities=CT\r\nWindowCenter=abc\r\nWindowWidth=12x\r\n"
    "[Bone]\r\nWindowCenter=500\r\nWindowWidth=2000\r\n"
    "[Mammo]\r\nModalities=MG\r\nWindowCenter=0x10\r\nWindowWidth=$20\r\n";

std::string Names(const VoiPresetList& list) {
  std::string out;
  for (const auto& p : list) out += (out.empty() ? "" : "|") + p.Name;
  return out;
}

TEST_F(VoiPresetsFile, PresetsByModality) {
  Write(kFile);
  const struct {
    const char* modality;
    const char* names;
  } cases[] = {
      {"CT", "Full Range|Lung|Brain|PET|Garbage"},  // sections without a width or centre skipped
      {" CT ", "Full Range|Lung|Brain|PET|Garbage"},  // the modality is trimmed
      {"MR", "Full Range|Brain"},
      {"PT", "Full Range|PET"},
      {"OCT", "Full Range|Retina"},
      {"C", "Full Range"},     // a piece of an entry is no match
      {"T", "Full Range"},     // nor is the tail of "OCT" or "PT"
      {"ct", "Full Range"},    // codes compare exactly
      {"US", "Full Range"},    // nothing matches
      {"", "Full Range"},      // an empty modality reads nothing
      {"   ", "Full Range"},
      {"MG", "Full Range|Mammo"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.modality);
    VoiPresetList list{{"old", 1, 2, 3}};
    RebuildVoiPresets(list, c.modality, path_);
    EXPECT_EQ(Names(list), c.names);
    EXPECT_EQ(list.front().WindowCenter, 0);
    EXPECT_EQ(list.front().WindowWidth, 0);
  }
}

TEST_F(VoiPresetsFile, ValuesAndOrderOfMatchingSections) {
  Write(kFile);
  VoiPresetList list;
  LoadVoiPresets(list, "CT", path_);
  ASSERT_EQ(list.size(), 4u);
  const struct {
    const char* name;
    int center, width;
  } expected[] = {{"Lung", -600, 1500}, {"Brain", 40, 80}, {"PET", 3, 6}, {"Garbage", 0, 0}};
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].Name, expected[i].name);
    EXPECT_EQ(list[i].WindowCenter, expected[i].center);
    EXPECT_EQ(list[i].WindowWidth, expected[i].width);
    EXPECT_EQ(list[i].Reserved, 0);
  }
  VoiPresetList mammo;
  LoadVoiPresets(mammo, "MG", path_);  // hexadecimal as the ini integer reader takes it
  ASSERT_EQ(mammo.size(), 1u);
  EXPECT_EQ(mammo[0].WindowCenter, 16);
  EXPECT_EQ(mammo[0].WindowWidth, 32);
}

TEST_F(VoiPresetsFile, MissingOrEmptyFileLeavesFullRange) {
  VoiPresetList list;
  RebuildVoiPresets(list, "CT", (folder_ / "absent.ini").string());
  EXPECT_EQ(Names(list), "Full Range");
  Write("");
  RebuildVoiPresets(list, "CT", path_);
  EXPECT_EQ(Names(list), "Full Range");
  LoadVoiPresets(list, "CT", path_);  // appending nothing keeps what is there
  EXPECT_EQ(Names(list), "Full Range");
}

TEST(VoiPresets, ModalityListedAsWholeEntries) {
  const struct {
    const char* list;
    const char* modality;
    bool listed;
  } cases[] = {
      {"CT", "CT", true},       {"OCT", "CT", false},       {"CT,MR", "MR", true},  {"CT, MR", "MR", true},
      {"PT\\CT", "CT", true},   {"PT/CT", "PT", true},      {"CT MR", "MR", true},  {"CTMR", "CT", false},
      {"", "CT", false},        {"CT", "", false},          {",,CT,,", "CT", true}, {"CT;MR", "MR", true},
      {"RTSTRUCT", "RT", false}, {"RT_X", "RT_X", true},    {"CT", " CT", true},
  };
  for (const auto& c : cases) EXPECT_EQ(ModalityListed(c.list, c.modality), c.listed) << c.list << " / " << c.modality;
}

TEST(VoiPresets, RecordTextIsReadWithinItsLength) {
  const char terminated[] = {'C', 'T', 0, 'X', 'Y'};
  const char unterminated[] = {'M', 'R', 'X'};
  const struct {
    const void* data;
    size_t size;
    const char* text;
  } cases[] = {
      {terminated, sizeof terminated, "CT"},
      {unterminated, 2, "MR"},  // no terminator inside the record: stop at its end
      {unterminated, 3, "MRX"},
      {terminated, 0, ""},
      {nullptr, 5, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ModalityOfRecord(c.data, c.size), c.text);
}

}  // namespace
