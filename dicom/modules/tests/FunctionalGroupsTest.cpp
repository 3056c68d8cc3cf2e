#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/FunctionalGroupsModule.h"
#include "dicom/modules/tests/ModulesTestSupport.h"

namespace ndl_test {
namespace {

using ORN_dicom::iDDE;

class FunctionalGroups : public ModulesTest {
 protected:
  // A sequence with one item holding the given elements.
  iDDE* Sequence(uint16_t g, uint16_t e, std::initializer_list<iDDE*> elements) {
    iDDE* sq = F()->MakeSequence(g, e, 0);
    iDDE* item = F()->MakeItem(0);
    for (iDDE* x : elements) item->GetItem()->Insert(x);
    sq->GetSequence()->Append(item);
    return sq;
  }
  // A complete data set; positions holds the per-frame In-Stack Position Numbers.
  void Complete(ndl::DataSet& set, const char* frames, std::vector<int> positions) {
    Text(set, 0x0008, 0x0023, "20240101");
    Text(set, 0x0008, 0x0033, "120000");
    Text(set, 0x0020, 0x0013, "7");
    Text(set, 0x0028, 0x0008, frames);
    iDDE* shared = Sequence(0x5200, 0x9229, {});
    auto& item = *shared->GetSequence()->At(0)->GetItem();
    item.Insert(Sequence(0x0020, 0x9071, {F()->MakeDDE(0x0020, 0x9072, 1, "L ")}));
    item.Insert(Sequence(0x0018, 0x9226, {F()->MakeDDE(0x0008, 0x9007, 1, "ORIGINAL\\PRIMARY")}));
    item.Insert(Sequence(0x0028, 0x9145,
                         {F()->MakeDDE(0x0028, 0x1052, 1, "-1024"), F()->MakeDDE(0x0028, 0x1053, 1, "2"),
                          F()->MakeDDE(0x0028, 0x1054, 1, "HU")}));
    item.Insert(Sequence(0x0020, 0x9111, {F()->MakeDDE(0x0020, 0x9056, 1, "1")}));
    item.Insert(Sequence(0x0028, 0x9110, {F()->MakeDDE(0x0028, 0x0030, 1, "0.5\\0.5")}));
    item.Insert(Sequence(0x0020, 0x9116, {F()->MakeDDE(0x0020, 0x0037, 1, "1\\0\\0\\0\\1\\0")}));
    set.Insert(shared);
    if (positions.empty()) return;
    iDDE* perFrame = F()->MakeSequence(0x5200, 0x9230, 0);
    for (int p : positions) {
      iDDE* frameItem = F()->MakeItem(0);
      iDDE* content = Sequence(0x0020, 0x9111, {F()->MakeDDE(0x0020, 0x9056, 1, "1")});
      content->GetSequence()->At(0)->GetItem()->Insert(F()->MakeDDE(0x0020, 0x9057, 1, p));
      frameItem->GetItem()->Insert(content);
      frameItem->GetItem()->Insert(Sequence(0x0020, 0x9113, {F()->MakeDDE(0x0020, 0x0032, 1, "0\\0\\" "5")}));
      perFrame->GetSequence()->Append(frameItem);
    }
    set.Insert(perFrame);
  }
  ORN_dicom::TanDicomFileObject FFile;
};

TEST_F(FunctionalGroups, PerFrameGroupsAndFrameOrder) {
  ORN_dicom::TanIOD data;
  Complete(data, "3", {3, 1, 2});
  ndl::TanFunctionalGroupsModule set;
  ASSERT_TRUE(set.InitializeFrame(FFile, data)) << set.GetErrorText();
  auto* e = set.Front();
  ASSERT_EQ(e->Macros.GetCount(), 3u);
  for (uint32_t i = 0; i < 3; ++i) {
    const auto& m = e->Macros.At(i);
    EXPECT_EQ(m.GetFrameNumber(), static_cast<int>(i + 1));
    EXPECT_STREQ(m.FrameContent.GetStackID(), "1");
    EXPECT_EQ(m.FrameContent.GetTemporalPositionIndex(), -1);
    EXPECT_EQ(m.GetFrameLaterality(), 'L');
    EXPECT_EQ(m.ModalityLUT.Map(1), -1022);
    EXPECT_EQ(m.ImagePlane.ImagePosition.GetZ(), 5.0);
    EXPECT_EQ(m.ImagePlane.PixelSpacing.GetRowSpacing(), 0.5);
  }
  EXPECT_EQ(e->Macros.At(0).FrameContent.GetInStackPositionNumber(), 3);
  e->SortFrames();
  EXPECT_EQ(e->Macros.At(0).GetFrameNumber(), 2);
  EXPECT_EQ(e->Macros.At(1).GetFrameNumber(), 3);
  EXPECT_EQ(e->Macros.At(2).GetFrameNumber(), 1);
  EXPECT_FALSE(set.Write(data, F()));

  ndl::TanFunctionalGroupsModule copy;
  ASSERT_TRUE(copy.Assign(set));
  EXPECT_TRUE(copy.Front()->IsEqual(*set.Front()));
}

TEST_F(FunctionalGroups, FrameCountsAndMissingAttributes) {
  struct Case {
    const char* frames;
    std::vector<int> positions;
    bool ok;
  } cases[] = {{"3", {1, 2}, true}, {"0", {}, false}, {"-2", {}, false}, {"70000", {}, false}, {"2", {}, true}};
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    Complete(data, c.frames, c.positions);
    ndl::TanFunctionalGroupsModule set;
    EXPECT_EQ(set.InitializeFromDataSet(FFile, data), c.ok) << c.frames;
    if (c.ok) {
      EXPECT_EQ(set.Front()->Macros.At(2 - (c.positions.empty() ? 1 : 0)).GetFrameNumber(),
                c.positions.empty() ? 2 : 3);
    }
  }
  ORN_dicom::TanIOD noInstance;
  Complete(noInstance, "2", {});
  noInstance.DeleteByTag(0x00200013u);
  ndl::TanFunctionalGroupsModule set;
  EXPECT_FALSE(set.InitializeFromDataSet(FFile, noInstance));
  EXPECT_STREQ(set.GetErrorText(),
               "error-occured-during-initialization-of-DICOM-object-module-DICOM-MULTI-FRAME-FUNCTIONAL-GROUPS-MODULE");
}

}  // namespace
}  // namespace ndl_test
