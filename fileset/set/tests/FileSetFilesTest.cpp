#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <random>

#include "fileset/set/FileSetFiles.h"

using namespace ORN_dicom::fileset_files;
namespace fs = std::filesystem;

namespace {

class FileSetFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("fileset_files_" + std::to_string(std::random_device{}()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  static std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path folder_;
};

}  // namespace

TEST_F(FileSetFiles, Part10TestLooksAtByte128WithoutRegardToCase) {
  const std::string pre(128, '\0');
  struct Case {
    const char* name;
    std::string bytes;
    bool part10;
  } cases[] = {
      {"upper", pre + "DICM" + "rest", true}, {"lower", pre + "dicm", true},     {"mixed", pre + "DiCm", true},
      {"other", pre + "DICN", false},       {"short", pre + "DIC", false},      {"empty", "", false},
      {"at0", "DICM" + pre, false},
  };
  for (const Case& c : cases) {
    Write(c.name, c.bytes);
    EXPECT_EQ(IsDicomPart10File(Path(c.name)), c.part10) << c.name;
  }
  EXPECT_FALSE(IsDicomPart10File(Path("missing")));
  EXPECT_FALSE(IsDicomPart10File(folder_.string()));

  TStringList list;
  for (const char* name : {"other", "upper", "missing", "lower", "short", "mixed"}) list.Add(Path(name));
  FilterDicomFiles(list);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Strings[0], Path("upper"));
  EXPECT_EQ(list.Strings[1], Path("lower"));
  EXPECT_EQ(list.Strings[2], Path("mixed"));
}

TEST_F(FileSetFiles, ErrorLogLinesHaveTheTimeAndTheTextUnchanged) {
  const std::string log = Path("DicomkDirErrors.log");
  AppendErrorLog("Reason %s %d.[ file: a.dcm]\n", log);
  AppendErrorLog("Second[ file: b]", log);
  AppendErrorLog(" - is not moved\n", log);
  const std::string text = ReadAll(log);
  const std::regex pattern(
      "\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d Error : Reason %s %d\\.\\[ file: a\\.dcm\\]\n"
      "\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d Error : Second\\[ file: b\\]"
      "\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d Error :  - is not moved\n");
  EXPECT_TRUE(std::regex_match(text, pattern)) << text;
  // A log that cannot be opened is skipped silently.
  AppendErrorLog("x", Path("no/such/folder/log"));
}

TEST_F(FileSetFiles, RejectFolderIsMadeWithItsParents) {
  const std::string nested = Path("a/b/c");
  EXPECT_EQ(MakeRejectFolder("  " + nested + "//  "), nested);
  EXPECT_TRUE(FolderExists(nested));
  EXPECT_EQ(MakeRejectFolder(nested), nested);
  Write("file", "x");
  EXPECT_EQ(MakeRejectFolder(Path("file/sub")), "");
  // An empty name gives the program's folder, without a trailing separator.
  const std::string program = MakeRejectFolder("");
  EXPECT_FALSE(program.empty());
  EXPECT_NE(program.back(), '/');
}

TEST_F(FileSetFiles, RejectTargetGetsAStampWhenTheNameIsTaken) {
  const std::string reject = Path("reject");
  fs::create_directories(reject);
  EXPECT_EQ(RejectTarget(reject, "sub/dir/image.dcm"), reject + "/image.dcm");
  Write("reject/image.dcm", "x");
  const std::string target = RejectTarget(reject, "sub/dir/image.dcm");
  EXPECT_TRUE(std::regex_match(target, std::regex(".*/reject/image\\.dcm_\\d{17}"))) << target;
  EXPECT_FALSE(PathExists(target));
}
