#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <random>

#include "dicom/elements/element/iDDE.h"
#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "fileset/set/TanDicomFileSet.h"
#include "fileset/testing/TestImages.h"

using namespace ORN_dicom;
using ORN_dicom::testing::TestImage;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> FilesBelow(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    if (e.is_regular_file()) names.push_back(fs::relative(e.path(), folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

class FileSet : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("fileset_set_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
             std::to_string(std::random_device{}()));
    fs::remove_all(root_);
    folder_ = root_ / "study";
    reject_ = root_ / "reject";
    fs::create_directories(folder_ / "sub");
  }
  void TearDown() override { fs::remove_all(root_); }

  void Image(const std::string& name, const std::string& series, int number, double z, const std::string& modality = "CT") {
    TestImage image;
    image.seriesUID = series;
    image.sopInstance = series + "." + std::to_string(number);
    image.instanceNumber = number;
    image.position = std::vector<double>{0, 0, z};
    image.modality = modality;
    if (modality == "MR") image.sopClass = "1.2.840.10008.5.1.4.1.1.4";
    ASSERT_TRUE(ORN_dicom::testing::WriteTestImage((folder_ / name).string(), image));
  }
  void Bytes(const std::string& name, const std::string& bytes) { std::ofstream(folder_ / name, std::ios::binary) << bytes; }

  // Three CT images, two MR images in a subfolder, and the files that cannot be added.
  void Populate() {
    Image("ct1.dcm", "1.2.3.4.1.1", 1, 0);
    Image("ct2.dcm", "1.2.3.4.1.1", 2, 5);
    Image("ct3.dcm", "1.2.3.4.1.1", 3, 10);
    Image("sub/mr1.dcm", "1.2.3.4.1.2", 1, 0, "MR");
    Image("sub/mr2.dcm", "1.2.3.4.1.2", 2, 4, "MR");
    Bytes("notes.txt", "not a DICOM file at all");
    const std::string full = ReadAll(folder_ / "ct1.dcm");
    Bytes("truncated.dcm", full.substr(0, 200));
    Bytes("sub/garbage.dcm", std::string(128, '\0') + "DICM" + std::string(40, '\xff'));
  }

  fs::path root_, folder_, reject_;
};

}  // namespace

TEST_F(FileSet, BuildStacksIndexAndSaveThenOpenTheSameTree) {
  Populate();
  // An older DICOMDIR of the folder is neither added nor rejected.
  Bytes("DICOMDIR", ReadAll(folder_ / "ct1.dcm"));
  TanDicomFileSet set(reject_.string());
  std::vector<std::string> done;
  set.OnFileDone = [&](int32_t total, int32_t n, const char* path) {
    EXPECT_EQ(total, 7);
    EXPECT_EQ(n, static_cast<int32_t>(done.size()) + 1);
    done.push_back(path);
  };
  EXPECT_FALSE(set.BuildFromFolder(folder_.string() + "/", true));
  ASSERT_TRUE(set.FValid);
  EXPECT_EQ(set.GetFolder(), folder_.string());
  EXPECT_EQ(done.size(), 5u);
  EXPECT_EQ(done[0].rfind(folder_.string() + "/", 0), 0u);

  // Only the two broken Part 10 files moved; the text file and the DICOMDIR stayed.
  EXPECT_EQ(FilesBelow(reject_), (std::vector<std::string>{"DicomkDirErrors.log", "garbage.dcm", "truncated.dcm"}));
  EXPECT_TRUE(fs::exists(folder_ / "notes.txt"));
  EXPECT_TRUE(fs::exists(folder_ / "DICOMDIR"));
  const std::string log = ReadAll(reject_ / "DicomkDirErrors.log");
  const std::regex line("\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d Error : .+\\[ file: (garbage|truncated)\\.dcm\\]");
  std::istringstream lines(log);
  int count = 0;
  for (std::string l; std::getline(lines, l); ++count) EXPECT_TRUE(std::regex_match(l, line)) << l;
  EXPECT_EQ(count, 2);

  set.OnFileDone = nullptr;
  EXPECT_TRUE(set.BuildStacks(true));
  EXPECT_EQ(set.GetDicomDir()->GetImageCount(), 5);
  EXPECT_EQ(set.GetDicomDir()->GetStackCount(), 2);
  EXPECT_TRUE(set.BuildPrivatePixelDataInfo()) << set.GetLastError();
  TanDicomFileObject indexed;
  ASSERT_EQ(indexed.LoadFromFile((folder_ / "sub/mr2.dcm").string(), false), "");
  EXPECT_NE(indexed.FMetaGroup.Find(0x00020102u), nullptr);

  EXPECT_TRUE(set.SaveDicomDir(false)) << set.GetLastError();
  EXPECT_EQ(set.GetLastError(), "");
  // No copy of any file is left behind by the passes.
  EXPECT_EQ(FilesBelow(folder_),
            (std::vector<std::string>{"DICOMDIR", "ct1.dcm", "ct2.dcm", "ct3.dcm", "notes.txt", "sub/mr1.dcm", "sub/mr2.dcm"}));

  TanDicomFileSet opened;
  ASSERT_TRUE(opened.OpenDicomDir((folder_ / "DICOMDIR").string())) << opened.GetLastError();
  EXPECT_TRUE(opened.IsOwnDicomDir());
  EXPECT_EQ(opened.GetDicomDir()->GetImageCount(), 5);
  EXPECT_EQ(opened.GetDicomDir()->GetStackCount(), 2);
  auto& patients = opened.GetDicomDir()->Patients();
  ASSERT_EQ(patients.Count(), 1);
  std::vector<std::string> files;
  for (TanStudyIE* study : patients.At(0)->FStudies)
    for (TanSeriesIE* series : study->FSeries)
      for (TanImageIE* image : series->FImages) files.push_back(image->GetReferencedFileID());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"ct1.dcm", "ct2.dcm", "ct3.dcm", "sub\\mr1.dcm", "sub\\mr2.dcm"}));
  EXPECT_EQ(opened.GetDicomDirLength(), fs::file_size(folder_ / "DICOMDIR"));
}

TEST_F(FileSet, FailedSaveKeepsTheOldDicomDir) {
  Image("ct1.dcm", "1.2.3.4.1.1", 1, 0);
  TanDicomFileSet set;
  ASSERT_TRUE(set.BuildFromFolder(folder_.string(), true));
  ASSERT_TRUE(set.SaveDicomDir(false));
  const std::string before = ReadAll(folder_ / "DICOMDIR");
  TanDicomFileObject::FWriteFaultHook = [](uint64_t) { return false; };
  EXPECT_FALSE(set.SaveDicomDir(false));
  TanDicomFileObject::FWriteFaultHook = nullptr;
  EXPECT_EQ(set.GetLastError(), "Cannot save the file \"" + (folder_ / "DICOMDIR").string() + "\".");
  EXPECT_EQ(ReadAll(folder_ / "DICOMDIR"), before);
  EXPECT_EQ(FilesBelow(folder_), (std::vector<std::string>{"DICOMDIR", "ct1.dcm"}));
}

TEST_F(FileSet, UnreadableImageFailsThePixelDataPass) {
  Image("ct1.dcm", "1.2.3.4.1.1", 1, 0);
  Image("ct2.dcm", "1.2.3.4.1.1", 2, 5);
  TanDicomFileSet set;
  ASSERT_TRUE(set.BuildFromFolder(folder_.string(), true));
  fs::remove(folder_ / "ct2.dcm");
  EXPECT_FALSE(set.BuildPrivatePixelDataInfo());
  EXPECT_EQ(set.GetLastError(), "Unable to build some Private Pixel Data Info objects.");
  EXPECT_EQ(FilesBelow(folder_), (std::vector<std::string>{"ct1.dcm"}));
}

TEST_F(FileSet, EmptyFolderRejectWithoutMoveAndNotInitialized) {
  TanDicomFileSet set(reject_.string());
  EXPECT_TRUE(set.BuildFromFolder(folder_.string(), true));
  EXPECT_FALSE(set.FValid);
  EXPECT_FALSE(set.BuildStacks(true));
  EXPECT_EQ(set.GetLastError(), "The structure 'Dicom File Set' is not initialized.");
  EXPECT_FALSE(set.SaveDicomDir(false));
  EXPECT_FALSE(set.BuildPrivatePixelDataInfo());
  EXPECT_EQ(set.GetLastError(), "The structure \"Dicom File Set\" is not initialized.");
  EXPECT_FALSE(fs::exists(folder_ / "DICOMDIR"));

  // With the move flag clear a rejected file stays, and its entry names the target.
  Image("ct1.dcm", "1.2.3.4.1.1", 1, 0);
  Bytes("bad.dcm", std::string(128, '\0') + "DICM");
  EXPECT_FALSE(set.BuildFromFolder(folder_.string(), false));
  EXPECT_TRUE(set.FValid);
  EXPECT_TRUE(fs::exists(folder_ / "bad.dcm"));
  EXPECT_NE(ReadAll(reject_ / "DicomkDirErrors.log").find("[ file: bad.dcm]\n"), std::string::npos);
}

TEST_F(FileSet, OpeningWhatIsNoDicomDir) {
  Image("ct1.dcm", "1.2.3.4.1.1", 1, 0);
  TanDicomFileSet set;
  const std::string path = (folder_ / "ct1.dcm").string();
  EXPECT_FALSE(set.OpenDicomDir(path));
  EXPECT_EQ(set.GetLastError(), "The file \"" + path + "\" isn't Dicom Directory File.");
  EXPECT_EQ(set.GetDicomDir(), nullptr);
  EXPECT_FALSE(set.OpenDicomDir((folder_ / "missing").string()));
  EXPECT_FALSE(set.GetLastError().empty());
  EXPECT_FALSE(set.DeleteSeries("1", "", ""));
  EXPECT_EQ(set.GetLastError(), "DICOMDIR is not initialized.");
}

TEST_F(FileSet, AddFileReferencesItRelativeToTheFolder) {
  Image("ct1.dcm", "1.2.3.4.1.1", 1, 0);
  Image("sub/ct2.dcm", "1.2.3.4.1.1", 2, 5);
  TanDicomFileSet set;
  ASSERT_TRUE(set.BuildFromFolder(folder_.string(), true));
  fs::remove(folder_ / "sub/ct2.dcm");
  Image("sub/ct2.dcm", "1.2.3.4.1.1", 2, 5);
  Image("sub/ct3.dcm", "1.2.3.4.1.1", 3, 10);
  ASSERT_TRUE(set.AddFile((folder_ / "sub/ct3.dcm").string())) << set.GetLastError();
  auto* series = set.GetDicomDir()->Patients().At(0)->FStudies.At(0)->FSeries.At(0);
  std::vector<std::string> files;
  for (TanImageIE* image : series->FImages) files.push_back(image->GetReferencedFileID());
  EXPECT_EQ(files, (std::vector<std::string>{"ct1.dcm", "sub\\ct2.dcm", "sub\\ct3.dcm"}));
  EXPECT_TRUE(set.DeleteInstance("1.2.3.4.1.1.9", "", "", ""));
  EXPECT_EQ(set.GetLastError(), "The instance is not found.");
  EXPECT_TRUE(set.DeleteSeries("9.9", "", ""));
  EXPECT_EQ(set.GetLastError(), "The series was not found.");
  int32_t instance = -1, seriesIndex = -1, study = -1, patient = -1;
  TanIEKind kind = ieNone;
  EXPECT_TRUE(set.FindInstance("1.2.3.4.1.1.3", &instance, &seriesIndex, &study, &patient, &kind));
  EXPECT_EQ(instance, 2);
  EXPECT_EQ(kind, ieImage);
  EXPECT_TRUE(set.Refresh());
  set.Close();
  EXPECT_FALSE(set.FindInstance("1.2.3.4.1.1.3", &instance, &seriesIndex, &study, &patient, &kind));
  EXPECT_EQ(set.GetLastError(), "DICOMDIR is uninitialized.");
  EXPECT_EQ(set.GetDicomDir(), nullptr);
  EXPECT_FALSE(set.FValid);
}

TEST_F(FileSet, BlobRoundTripAndProgress) {
  Image("ct1.dcm", "1.2.3.4.1.1", 1, 0);
  Image("ct2.dcm", "1.2.3.4.1.1", 2, 5);
  TanDicomFileSet set;
  std::vector<std::tuple<int32_t, int32_t, int32_t>> progress;
  set.OnProgress = [&](int32_t a, int32_t b, int32_t c) { progress.emplace_back(a, b, c); };
  ASSERT_TRUE(set.BuildFromFolder(folder_.string(), true));
  EXPECT_EQ(progress, (std::vector<std::tuple<int32_t, int32_t, int32_t>>{{0, 1, 2}, {0, 2, 2}}));
  const uint32_t length = set.GetDicomDirLength();
  ASSERT_GT(length, 0u);
  std::vector<unsigned char> blob(length);
  ASSERT_TRUE(set.SaveToBlob(blob.data())) << set.GetLastError();

  TanDicomFileSet host;
  ASSERT_TRUE(host.OpenFromBlob(blob.data(), length)) << host.GetLastError();
  EXPECT_TRUE(host.IsOwnDicomDir());
  EXPECT_EQ(host.GetFolder(), "");
  EXPECT_EQ(host.GetDicomDir()->GetImageCount(), 2);
  EXPECT_EQ(host.GetDicomDir()->GetStackCount(), 1);
  EXPECT_FALSE(host.OpenFromBlob(blob.data(), 100));
  std::vector<unsigned char> image(fs::file_size(folder_ / "ct1.dcm"));
  std::ifstream(folder_ / "ct1.dcm", std::ios::binary).read(reinterpret_cast<char*>(image.data()), image.size());
  EXPECT_FALSE(host.OpenFromBlob(image.data(), static_cast<uint32_t>(image.size())));
  EXPECT_EQ(host.GetLastError(), "Cannot be initialized with the blob.");
}

TEST_F(FileSet, RejectThatCannotMoveIsLoggedAsNotMoved) {
  TanDicomFileSet set(reject_.string());
  const std::string missing = (root_ / "gone.dcm").string();
  EXPECT_FALSE(set.AddFile(missing));
  const std::string log = ReadAll(reject_ / "DicomkDirErrors.log");
  const std::regex entry("\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d Error : .+\\[ file: " + missing +
                         "\\]\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d Error :  - is not moved\n");
  EXPECT_TRUE(std::regex_match(log, entry)) << log;
}
