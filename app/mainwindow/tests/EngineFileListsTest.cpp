#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "app/mainwindow/EngineFileLists.h"
#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/set/TanDicomFileSet.h"
#include "fileset/testing/TestImages.h"

using namespace ORN_dicom;
namespace fs = std::filesystem;

namespace {

std::string Golden(const std::string& name, const std::string& folder) {
  std::ifstream in(fs::path(ENGINE_LISTS_GOLDEN) / name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::string text = s.str();
  EXPECT_FALSE(text.empty()) << name;
  for (size_t at; (at = text.find("@FOLDER@")) != std::string::npos;) text.replace(at, 8, folder);
  return text;
}

// A file set of five images of one series, built from a folder, with one stack made by hand
// (order, frames and presentation states chosen to reach every rule of the lists) after the
// stacks the file set formed itself.
class EngineFileLists : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("engine_lists_" + std::to_string(std::random_device{}()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "DICOM");
    const char* names[] = {"DICOM/IM1", "DICOM/IM2", "DICOM/IM3", "IM0", "KEY1.ornkitmp"};
    for (int i = 0; i < 5; ++i) {
      ORN_dicom::testing::TestImage image;
      image.seriesUID = "1.2.3.1";
      image.sopInstance = "1.2.3.1." + std::to_string(i + 1);
      image.instanceNumber = i + 1;
      image.position = std::vector<double>{0, 0, static_cast<double>(i)};
      ASSERT_TRUE(ORN_dicom::testing::WriteTestImage((folder_ / names[i]).string(), image));
    }
    ASSERT_TRUE(fileSet_.BuildFromFolder(folder_.string(), false)) << fileSet_.GetLastError();
    ASSERT_TRUE(fileSet_.BuildStacks(true)) << fileSet_.GetLastError();
    ASSERT_EQ(fileSet_.GetFolderWithSeparator(), folder_.string() + "/");

    series_ = fileSet_.GetDicomDir()->Patients().At(0)->FStudies.At(0)->FSeries.At(0);
    ASSERT_EQ(series_->FImages.Count(), 5);
    builtStacks_ = series_->Stacks().Count();
    ASSERT_GE(builtStacks_, 1);

    auto state = [&](const char* id) {
      auto record = series_->FPresentations.Append(ntl::auto_ptr<TanPresentationIE>(new TanPresentationIE(nullptr)));
      record->SetReferencedFileID(id);
    };
    state("PR\\PS1");
    state("PR\\..\\..\\ESCAPE");

    stack_ = series_->Stacks().Append(ntl::auto_ptr<TanPrivateIE>(new TanPrivateIE(nullptr)));
    const std::pair<const char*, int32_t> order[] = {
        {"DICOM\\IM3", -1}, {"DICOM\\IM1", 2}, {"IM0", 0}, {"KEY1.ornkitmp", -1}, {"DICOM\\IM2", 7}};
    for (int32_t j = 0; j < 5; ++j) {
      stack_->SetStackImageIndex(j, static_cast<uint16_t>(ImageIndex(order[j].first)));
      stack_->SetStackFrameNumber(j, order[j].second);
    }
    ASSERT_TRUE(stack_->AddPresentationRef(0, 0));
    ASSERT_TRUE(stack_->AddPresentationRef(0, 1));
    ASSERT_TRUE(stack_->AddPresentationRef(0, 9));
    ASSERT_EQ(stack_->GetStackKey(), "");
  }
  void TearDown() override { fs::remove_all(folder_); }

  int32_t ImageIndex(const std::string& id) {
    for (int32_t i = 0; i < series_->FImages.Count(); ++i)
      if (series_->FImages.At(i)->GetReferencedFileID() == id) return i;
    ADD_FAILURE() << "no image " << id;
    return 0;
  }

  struct Lists {
    bool ok;
    std::string images, states, frames, key;
  };
  Lists Fill(int32_t stack, bool lossy, TanDicomFileSet* fileSet = nullptr) {
    std::ostringstream images, states, frames;
    Lists lists;
    lists.key = "before";
    lists.ok = vistrel_main::FillEngineFileLists(fileSet ? fileSet : &fileSet_, 0, 0, 0, stack, lossy, images,
                                                 states, frames, lists.key);
    lists.images = images.str();
    lists.states = states.str();
    lists.frames = frames.str();
    return lists;
  }

  fs::path folder_;
  TanDicomFileSet fileSet_;
  TanSeriesIE* series_ = nullptr;
  TanPrivateIE* stack_ = nullptr;
  int32_t builtStacks_ = 0;
};

TEST_F(EngineFileLists, ListsAreTheHandMadeBytes) {
  const std::string folder = folder_.string();
  for (bool lossy : {false, true}) {
    const Lists lists = Fill(builtStacks_, lossy);
    ASSERT_TRUE(lists.ok);
    EXPECT_EQ(lists.images, Golden(lossy ? "images-lossy.bin" : "images.bin", folder)) << "lossy " << lossy;
    EXPECT_EQ(lists.frames, Golden("frames.bin", folder));
    EXPECT_EQ(lists.states, Golden("presentation-states.bin", folder));
  }
}

TEST_F(EngineFileLists, AStackWithoutKeyKeepsTheKeyItIsGiven) {
  const Lists first = Fill(builtStacks_, false);
  ASSERT_TRUE(first.ok);
  EXPECT_EQ(first.key.size(), 36u) << first.key;
  EXPECT_EQ(stack_->GetStackKey(), first.key);
  EXPECT_EQ(Fill(builtStacks_, false).key, first.key);

  // A formed stack has its key already, and without presentation states its list is one NUL.
  const std::string formedKey = series_->Stacks().At(0)->GetStackKey();
  const Lists formed = Fill(0, false);
  ASSERT_TRUE(formed.ok);
  EXPECT_EQ(formed.key, formedKey);
  EXPECT_EQ(formed.states, Golden("empty.bin", folder_.string()));
  EXPECT_EQ(formed.images.back(), '\0');
}

TEST_F(EngineFileLists, RefusedStacksWriteNothing) {
  struct Case {
    const char* what;
    std::function<void()> spoil;
  } cases[] = {
      {"an image ID that climbs out", [&] { series_->FImages.At(ImageIndex("IM0"))->SetReferencedFileID("..\\..\\etc\\passwd"); }},
      {"an absolute image ID", [&] { series_->FImages.At(ImageIndex("IM0"))->SetReferencedFileID("\\etc\\passwd"); }},
      {"an image index outside the series", [&] { stack_->SetStackImageIndex(1, 200); }},
  };
  for (const Case& c : cases) {
    TearDown();
    fileSet_.Close();
    SetUp();
    c.spoil();
    const Lists lists = Fill(builtStacks_, false);
    EXPECT_FALSE(lists.ok) << c.what;
    EXPECT_EQ(lists.images + lists.states + lists.frames, "") << c.what;
    EXPECT_EQ(lists.key, "before") << c.what;
  }
}

TEST_F(EngineFileLists, NoOpenFileSetAndIndexesOutsideTheSets) {
  TanDicomFileSet none;
  const Lists closed = Fill(0, false, &none);
  EXPECT_FALSE(closed.ok);
  EXPECT_EQ(closed.images + closed.states + closed.frames, "");
  std::ostringstream a, b, c;
  std::string key;
  EXPECT_FALSE(vistrel_main::FillEngineFileLists(nullptr, 0, 0, 0, 0, false, a, b, c, key));
  EXPECT_THROW(Fill(builtStacks_ + 1, false), std::out_of_range);
  fileSet_.Close();
  EXPECT_FALSE(Fill(0, false).ok);
}

}  // namespace
