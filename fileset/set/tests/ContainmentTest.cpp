// A folder or a DICOMDIR is untrusted input: the file set opens, rewrites and moves only
// regular files inside its folder. Links out of the folder, a FIFO, nested file sets'
// DICOMDIRs and Referenced File IDs that climb out of the folder are met here; the files
// outside are compared byte for byte before and after.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

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

// Every entry below a folder, links as links: the target of a link, the bytes of a file.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
    const std::string name = fs::relative(it->path(), folder).string();
    if (it->is_symlink())
      entries[name] = "link to " + fs::read_symlink(it->path()).string();
    else if (it->is_regular_file())
      entries[name] = ReadAll(it->path());
    else if (!it->is_directory())
      entries[name] = "special";
  }
  return entries;
}

std::vector<std::string> ImageFiles(TanDicomFileSet& set) {
  std::vector<std::string> files;
  for (TanPatientIE* patient : set.GetDicomDir()->Patients())
    for (TanStudyIE* study : patient->FStudies)
      for (TanSeriesIE* series : study->FSeries)
        for (TanImageIE* image : series->FImages) files.push_back(image->GetReferencedFileID());
  std::sort(files.begin(), files.end());
  return files;
}

class Containment : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("fileset_containment_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
             "_" + std::to_string(std::random_device{}()));
    fs::remove_all(root_);
    folder_ = root_ / "study";
    outside_ = root_ / "outside";
    reject_ = root_ / "reject";
    fs::create_directories(folder_);
    fs::create_directories(outside_);
  }
  void TearDown() override { fs::remove_all(root_); }

  static void Image(const fs::path& path, int number, const std::string& patientName = "Doe^John") {
    TestImage image;
    image.sopInstance = image.seriesUID + "." + std::to_string(number);
    image.instanceNumber = number;
    image.position = std::vector<double>{0, 0, 5.0 * number};
    image.patientName = patientName;
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(ORN_dicom::testing::WriteTestImage(path.string(), image));
  }

  fs::path root_, folder_, outside_, reject_;
};

}  // namespace

// Links out of the folder are not followed, a link inside it stays a link, a FIFO is passed
// over (opening it would block the build for ever), and a DICOMDIR of any letter case below
// the folder belongs to another file set: neither added nor moved to the reject folder.
TEST_F(Containment, BuildFromAFolderStaysInsideIt) {
  Image(folder_ / "ct1.dcm", 1);
  Image(folder_ / "ct2.dcm", 2);
  Image(outside_ / "ct8.dcm", 8, "Outside^File");
  Image(outside_ / "deep/ct9.dcm", 9, "Outside^Folder");
  fs::create_symlink(outside_ / "ct8.dcm", folder_ / "link_out.dcm");
  fs::create_symlink(outside_ / "deep", folder_ / "linked_folder");
  fs::create_symlink("ct2.dcm", folder_ / "link_in.dcm");
  ASSERT_EQ(std::system(("mkfifo '" + (folder_ / "pipe.dcm").string() + "'").c_str()), 0);
  fs::create_directories(folder_ / "nested");
  // A broken Part 10 file named "DicomDir" would be rejected if it were taken for an image.
  std::ofstream(folder_ / "nested" / "DicomDir", std::ios::binary) << std::string(128, '\0') << "DICM" << "broken";
  const auto outsideBefore = Snapshot(outside_);

  TanDicomFileSet set(reject_.string());
  EXPECT_TRUE(set.BuildFromFolder(folder_.string(), true)) << set.GetLastError();
  ASSERT_TRUE(set.FValid);
  EXPECT_EQ(ImageFiles(set), (std::vector<std::string>{"ct1.dcm", "ct2.dcm"}));
  EXPECT_TRUE(set.BuildStacks(true));
  EXPECT_TRUE(set.BuildPrivatePixelDataInfo()) << set.GetLastError();
  EXPECT_TRUE(set.SaveDicomDir(false)) << set.GetLastError();

  EXPECT_EQ(Snapshot(outside_), outsideBefore);
  EXPECT_FALSE(fs::exists(reject_ / "DicomDir"));
  EXPECT_TRUE(fs::exists(folder_ / "nested" / "DicomDir"));
  EXPECT_TRUE(fs::is_symlink(folder_ / "link_out.dcm"));
  EXPECT_TRUE(fs::is_symlink(folder_ / "linked_folder"));
  // The index went into the file the inside link names; the link itself stayed.
  ASSERT_TRUE(fs::is_symlink(folder_ / "link_in.dcm"));
  EXPECT_EQ(fs::read_symlink(folder_ / "link_in.dcm"), "ct2.dcm");
  TanDicomFileObject indexed;
  ASSERT_EQ(indexed.LoadFromFile((folder_ / "ct2.dcm").string(), false), "");
  EXPECT_NE(indexed.FMetaGroup.Find(0x00020102u), nullptr);
  EXPECT_TRUE(fs::is_fifo(folder_ / "pipe.dcm"));
}

// A DICOMDIR whose Referenced File IDs climb out of its folder: the records stay readable,
// every pass that opens, indexes or saves passes over them and names the file that is out of
// reach, and the files they point at are left as they were.
TEST_F(Containment, EscapingReferencedFileIDsReachNothingOutside) {
  Image(folder_ / "ct1.dcm", 1);
  Image(folder_ / "ct2.dcm", 2);
  Image(folder_ / "ct3.dcm", 3);
  Image(outside_ / "ct2.dcm", 2, "Outside^File");
  Image(outside_ / "ct3.dcm", 3, "Outside^File");
  {
    TanDicomFileSet built;
    ASSERT_TRUE(built.BuildFromFolder(folder_.string(), true));
    ASSERT_TRUE(built.SaveDicomDir(false));
    auto* series = built.GetDicomDir()->Patients().At(0)->FStudies.At(0)->FSeries.At(0);
    ASSERT_EQ(series->FImages.Count(), 3);
    series->FImages.At(1)->SetReferencedFileID("..\\outside\\ct2.dcm");
    std::string absolute = (outside_ / "ct3.dcm").string();
    for (char& c : absolute)
      if (c == '/') c = '\\';
    series->FImages.At(2)->SetReferencedFileID(absolute);
    ASSERT_TRUE(built.SaveDicomDir(false)) << built.GetLastError();
  }
  fs::remove(folder_ / "ct2.dcm");
  fs::remove(folder_ / "ct3.dcm");
  const auto outsideBefore = Snapshot(outside_);

  TanDicomFileSet set;
  ASSERT_TRUE(set.OpenDicomDir((folder_ / "DICOMDIR").string())) << set.GetLastError();
  const std::vector<std::string> files = ImageFiles(set);
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0], "..\\outside\\ct2.dcm");
  EXPECT_TRUE(set.BuildStacks(true));
  EXPECT_FALSE(set.BuildPrivatePixelDataInfo());
  EXPECT_NE(set.GetLastError().find("is out of reach of the file set."), std::string::npos) << set.GetLastError();
  EXPECT_TRUE(set.Refresh());
  EXPECT_TRUE(set.SaveDicomDir(false)) << set.GetLastError();
  EXPECT_EQ(Snapshot(outside_), outsideBefore);
}

// Files that a hostile DICOMDIR's neighbour reaches through a linked folder are passed over
// when the DICOMDIR is indexed: the resolved path is checked, not only the ID.
TEST_F(Containment, IndexPassDoesNotFollowALinkedFolderOut) {
  Image(folder_ / "ct1.dcm", 1);
  Image(folder_ / "sub/ct2.dcm", 2);
  TanDicomFileSet set;
  ASSERT_TRUE(set.BuildFromFolder(folder_.string(), true));
  // The subfolder is swapped for a link to a folder outside holding a file of the same name.
  fs::remove_all(folder_ / "sub");
  Image(outside_ / "ct2.dcm", 2, "Outside^File");
  fs::create_symlink(outside_, folder_ / "sub");
  const auto outsideBefore = Snapshot(outside_);
  EXPECT_FALSE(set.BuildPrivatePixelDataInfo());
  EXPECT_NE(set.GetLastError().find("\"sub\\ct2.dcm\" is out of reach"), std::string::npos) << set.GetLastError();
  EXPECT_EQ(Snapshot(outside_), outsideBefore);
}
