#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/set/FileSetFiles.h"
#include "fileset/set/TanDicomFileSet.h"
#include "fileset/stacks/TanStackBuilder.h"
#include "fileset/testing/TestImages.h"

using namespace ORN_dicom;
using ORN_dicom::testing::TestImage;
namespace fs = std::filesystem;

namespace {

iDDE* Sequence(iDDEFactory& f, uint16_t g, uint16_t e, std::vector<iDDE*> items) {
  iDDE* sq = f.MakeSequence(g, e, 0);
  for (iDDE* item : items) sq->GetSequence()->Append(item);
  return sq;
}

iDDE* Item(iDDEFactory& f, std::vector<iDDE*> elements) {
  iDDE* item = f.MakeItem(0);
  for (iDDE* x : elements) item->GetItem()->Insert(x);
  return item;
}

class StackBuilder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("fileset_stackbuilder_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(std::random_device{}()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  TestImage Ct(const std::string& series, int number, double z) {
    TestImage image;
    image.seriesUID = series;
    image.sopInstance = series + "." + std::to_string(number);
    image.instanceNumber = number;
    image.position = std::vector<double>{0, 0, z};
    return image;
  }
  void Write(const std::string& name, const TestImage& image) {
    ASSERT_TRUE(ORN_dicom::testing::WriteTestImage((folder_ / name).string(), image));
  }
  // Builds the file set of the folder with its stacks.
  TanDicomFileSet& Build() {
    EXPECT_TRUE(set_.BuildFromFolder(folder_.string(), true)) << set_.GetLastError();
    EXPECT_TRUE(set_.BuildStacks(true));
    return set_;
  }
  TanSeriesIE* Series(const std::string& uid) {
    for (TanPatientIE* p : set_.GetDicomDir()->Patients())
      for (TanStudyIE* s : p->FStudies)
        for (TanSeriesIE* r : s->FSeries)
          if (r->GetSeriesInstanceUID() == uid) return r;
    return nullptr;
  }
  static std::vector<std::vector<int32_t>> Stacks(TanSeriesIE& series) {
    std::vector<std::vector<int32_t>> stacks;
    for (TanPrivateIE* stack : series.FPrivateRecords) {
      std::vector<int32_t> entries;
      for (int32_t i = 0; i < stack->GetStackImageCount(); ++i)
        entries.push_back(stack->GetStackImageIndex(i) * 100 + stack->GetStackFrameNumber(i));
      stacks.push_back(entries);
    }
    return stacks;
  }

  fs::path folder_;
  TanDicomFileSet set_;
};

}  // namespace

TEST_F(StackBuilder, RegularSeriesAndTheSecondPassWithoutSpatialTests) {
  for (int i = 0; i < 3; ++i) Write("a" + std::to_string(i), Ct("1.2.3.4.1.1", i + 1, 5.0 * i));
  // Two pairs far apart: pass 1 gives stacks of 2 and 2, pass 2 one stack of all four.
  Write("b0", Ct("1.2.3.4.1.2", 1, 0));
  Write("b1", Ct("1.2.3.4.1.2", 2, 5));
  Write("b2", Ct("1.2.3.4.1.2", 3, 100));
  Write("b3", Ct("1.2.3.4.1.2", 4, 105));
  Build();
  TanSeriesIE* a = Series("1.2.3.4.1.1");
  TanSeriesIE* b = Series("1.2.3.4.1.2");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(Stacks(*a), (std::vector<std::vector<int32_t>>{{0, 100, 200}}));
  EXPECT_EQ(Stacks(*b), (std::vector<std::vector<int32_t>>{{0, 100, 200, 300}}));
  const std::string key = a->FPrivateRecords.At(0)->GetStackKey();
  EXPECT_EQ(key.size(), 36u);
  EXPECT_EQ(key[8], '-');
  EXPECT_EQ(a->FPrivateRecords.At(0)->GetText(0x00041432), "1.3.51.99999.1.1.1");
  // The icon of the middle image, 128 x 128.
  iDDE* icon = a->FPrivateRecords.At(0)->GetIconImageSequence();
  ASSERT_NE(icon, nullptr);
  ASSERT_NE(icon->GetSequence(), nullptr);
  ASSERT_EQ(icon->GetSequence()->Count(), 1u);
  iDDE* rows = icon->GetSequence()->At(0)->GetItem()->Find(0x00280010u);
  ASSERT_NE(rows, nullptr);
  EXPECT_EQ(rows->GetUShort(), 128);
  // A rebuild makes new keys. The records name their files relative to the file-set folder.
  ORN_dicom::fileset_files::TanCurrentFolder current(folder_.string());
  EXPECT_TRUE(a->FStackBuilder.RebuildStacks());
  EXPECT_NE(a->FPrivateRecords.At(0)->GetStackKey(), key);
}

TEST_F(StackBuilder, KeyImageSeriesIsOneStackOfAllItsImages) {
  for (const char* description : {"Key Image Series", "key image series"}) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    const std::string uid = "1.2.3.2.25.40263187551.0.7";
    for (int i = 0; i < 3; ++i) {
      TestImage image = Ct(uid, i + 1, 50.0 * i * i);
      image.seriesDescription = description;
      if (i == 1) image.numberOfFrames = "2";
      Write("k" + std::to_string(i), image);
    }
    TanDicomFileSet set;
    ASSERT_TRUE(set.BuildFromFolder(folder_.string(), true));
    ASSERT_TRUE(set.BuildStacks(true));
    TanSeriesIE* series = set.GetDicomDir()->Patients().At(0)->FStudies.At(0)->FSeries.At(0);
    if (std::string(description) == "Key Image Series") {
      EXPECT_EQ(Stacks(*series), (std::vector<std::vector<int32_t>>{{0, 100, 200}}));
      EXPECT_EQ(series->FPrivateRecords.At(0)->GetIconImageSequence(), nullptr);
    } else {
      EXPECT_GT(series->FPrivateRecords.Count(), 1) << description;
    }
  }
}

TEST_F(StackBuilder, UnreadableImagesAndEmptySeries) {
  Write("a0", Ct("1.2.3.4.1.1", 1, 0));
  Write("a1", Ct("1.2.3.4.1.1", 2, 5));
  Write("c0", Ct("1.2.3.4.1.3", 1, 0));
  EXPECT_TRUE(set_.BuildFromFolder(folder_.string(), true));
  fs::remove(folder_ / "a0");
  fs::remove(folder_ / "c0");
  EXPECT_TRUE(set_.BuildStacks(true));
  EXPECT_EQ(Stacks(*Series("1.2.3.4.1.1")), (std::vector<std::vector<int32_t>>{{100}}));
  EXPECT_TRUE(Series("1.2.3.4.1.3")->FPrivateRecords.IsEmpty());
  {
    ORN_dicom::fileset_files::TanCurrentFolder current(folder_.string());
    EXPECT_FALSE(Series("1.2.3.4.1.3")->FStackBuilder.RebuildStacks());
  }

  // One series without stacks does not stop the DICOMDIR of the others; it is named.
  EXPECT_TRUE(set_.SaveDicomDir(false));
  EXPECT_EQ(set_.GetLastError(), "Cannot build the stacks of the series \"1.2.3.4.1.3\".");
  TanDicomFileSet opened;
  ASSERT_TRUE(opened.OpenDicomDir((folder_ / "DICOMDIR").string()));
  EXPECT_EQ(opened.GetDicomDir()->GetStackCount(), 1);

  TanSeriesIE empty(static_cast<iDDE*>(nullptr));
  EXPECT_TRUE(empty.FStackBuilder.RebuildStacks());
  EXPECT_TRUE(empty.FPrivateRecords.IsEmpty());
}

TEST_F(StackBuilder, PresentationStatesGetPairsInTheStacksTheyApplyTo) {
  for (int i = 0; i < 3; ++i) Write("a" + std::to_string(i), Ct("1.2.3.4.1.1", i + 1, 5.0 * i));
  // A multi-frame image without functional groups: a stack of its own frames.
  TestImage multi = Ct("1.2.3.4.1.1", 9, 0);
  multi.numberOfFrames = "4";
  Write("m", multi);
  struct State {
    const char* name;
    const char* image;  // referenced SOP instance, or null for the whole series
    const char* frame;  // referenced frame number, or null
  } states[] = {{"p0", nullptr, nullptr}, {"p1", "1.2.3.4.1.1.9", "3"}, {"p2", "1.2.3.4.1.1.2", nullptr}};
  int n = 0;
  for (const State& s : states) {
    TestImage pr;
    pr.sopClass = "1.2.840.10008.5.1.4.1.1.11.1";
    pr.modality = "PR";
    pr.seriesUID = "1.2.3.4.1.9";
    pr.sopInstance = std::string("1.2.3.4.1.9.") + std::to_string(++n);
    pr.instanceNumber = n;
    pr.seriesNumber = "9";
    pr.position.reset();
    pr.extra = [s](TanDDESet<iDDE>& data, iDDEFactory& f) {
      std::vector<iDDE*> series = {f.MakeDDE(0x0020, 0x000E, 1, "1.2.3.4.1.1")};
      if (s.image) {
        std::vector<iDDE*> image = {f.MakeDDE(0x0008, 0x1150, 1, "1.2.840.10008.5.1.4.1.1.2"),
                                    f.MakeDDE(0x0008, 0x1155, 1, s.image)};
        if (s.frame) image.push_back(f.MakeDDE(0x0008, 0x1160, 1, s.frame));
        series.push_back(Sequence(f, 0x0008, 0x1140, {Item(f, image)}));
      }
      data.Insert(Sequence(f, 0x0008, 0x1115, {Item(f, series)}));
      data.DeleteByTag(0x7FE00010u);
    };
    Write(s.name, pr);
  }
  Build();
  TanSeriesIE* ct = Series("1.2.3.4.1.1");
  ASSERT_NE(ct, nullptr);
  ASSERT_EQ(Series("1.2.3.4.1.9")->FPresentations.Count(), 3);
  const int32_t prSeries = ct->GetStudy()->FindSeriesByUID("1.2.3.4.1.9");
  ASSERT_EQ(ct->FPrivateRecords.Count(), 2);
  auto pairs = [&](TanPrivateIE& stack) {
    std::vector<int32_t> presentations;
    for (int32_t k = 0; k < stack.GetPresentationRefCount(); ++k) {
      int32_t s = -1, p = -1;
      EXPECT_TRUE(stack.GetPresentationRef(k, s, p));
      EXPECT_EQ(s, prSeries);
      presentations.push_back(p);
    }
    return presentations;
  };
  // The stack that holds image 2 gets p0 and p2; the frame stack gets p0 and p1 (frame 3 is
  // the stack's frame number 2).
  TanPrivateIE* single = ct->FPrivateRecords.At(0)->GetStackImageCount() == 3 ? ct->FPrivateRecords.At(0)
                                                                              : ct->FPrivateRecords.At(1);
  TanPrivateIE* frames = single == ct->FPrivateRecords.At(0) ? ct->FPrivateRecords.At(1) : ct->FPrivateRecords.At(0);
  const int32_t p2 = Series("1.2.3.4.1.9")->FPresentations.FindByReferencedSOPInstanceUID("1.2.3.4.1.9.3");
  const int32_t p1 = Series("1.2.3.4.1.9")->FPresentations.FindByReferencedSOPInstanceUID("1.2.3.4.1.9.2");
  const int32_t p0 = Series("1.2.3.4.1.9")->FPresentations.FindByReferencedSOPInstanceUID("1.2.3.4.1.9.1");
  auto sorted = [](std::vector<int32_t> v) {
    std::sort(v.begin(), v.end());
    return v;
  };
  EXPECT_EQ(sorted(pairs(*single)), sorted({p0, p2}));
  EXPECT_EQ(sorted(pairs(*frames)), sorted({p0, p1}));
  EXPECT_EQ(frames->GetStackImageCount(), 4);
}
