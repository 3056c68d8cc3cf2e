#include <gtest/gtest.h>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/tests/RecordTestSupport.h"

namespace ORN_dicom {
namespace {

using testing::BuiltFile;

class ImageFrameTypeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::LoadDictionary();
    b.StandardMeta().PixelData();
  }

  // A functional-groups item holding a frame-type sequence (or nothing when tag is 0).
  iDDE* GroupItem(uint32_t frameTypeTag, const char* frameType) {
    iDDE* item = b.Factory().MakeItem(0);
    if (frameTypeTag != 0)
      item->GetItem()->Insert(b.Sequence(frameTypeTag, {{{0x00089007, frameType}, {0x00089209, "MIXED"},
                                                         {0x00089205, "dropped"}}}));
    else
      item->GetItem()->Insert(b.Factory().MakeDDE(0x0020, 0x9111, 0));  // something else
    return item;
  }
  iDDE* Groups(uint32_t tag, std::initializer_list<iDDE*> items) {
    iDDE* sq = b.Factory().MakeSequence(testing::G(tag), testing::E(tag), 0);
    for (iDDE* i : items) sq->GetSequence()->Append(i);
    return sq;
  }
  static TanItems ItemsOf(TanImageIE& r, uint32_t tag) { return TanItems(*r.GetDataSet().Find(tag)->GetSequence()); }

  BuiltFile b;
};

TEST_F(ImageFrameTypeTest, SharedMRFrameTypeAndAnEmptyPerFrameItemFromTheCTStep) {
  b.Add(Groups(0x52009229, {GroupItem(0x00189226, "ORIGINAL\\PRIMARY")}));
  b.Add(Groups(0x52009230, {GroupItem(0, ""), GroupItem(0, "")}));
  TanImageIE r(b.File);
  TanItems shared = ItemsOf(r, 0x52009229);
  ASSERT_EQ(shared.Count(), 1u);
  iDDE* frameType = shared.Item(0)->Find(0x00189226);
  ASSERT_NE(frameType, nullptr);
  TanDDEItemValue* reduced = TanItems(*frameType->GetSequence()).Item(0);
  EXPECT_EQ(reduced->Count(), 2u);
  EXPECT_EQ(reduced->Find(0x00089007)->GetString(), "ORIGINAL\\PRIMARY");
  EXPECT_EQ(reduced->Find(0x00089209)->GetString(), "MIXED");
  TanItems perFrame = ItemsOf(r, 0x52009230);
  ASSERT_EQ(perFrame.Count(), 1u);
  EXPECT_TRUE(perFrame.Item(0)->IsEmpty());
}

TEST_F(ImageFrameTypeTest, PerFrameCTFrameTypesUpToTheFirstFrameWithout) {
  b.Add(Groups(0x52009230, {GroupItem(0x00189329, "A"), GroupItem(0x00189329, "B"), GroupItem(0, ""),
                            GroupItem(0x00189329, "D")}));
  TanImageIE r(b.File);
  EXPECT_EQ(r.GetDataSet().Find(0x52009229), nullptr);
  TanItems perFrame = ItemsOf(r, 0x52009230);
  ASSERT_EQ(perFrame.Count(), 3u);
  auto frameType = [&](uint32_t i) {
    iDDE* s = perFrame.Item(i)->Find(0x00189329);
    if (s == nullptr) return std::string("(none)");
    TanDDEItemValue* item = TanItems(*s->GetSequence()).Item(0);
    EXPECT_EQ(item->Find(0x00089209), nullptr);  // the CT step keeps only the frame type
    return item->Find(0x00089007)->GetString();
  };
  EXPECT_EQ(frameType(0), "A");
  EXPECT_EQ(frameType(1), "B");
  EXPECT_EQ(frameType(2), "(none)");
}

TEST_F(ImageFrameTypeTest, WithoutFunctionalGroupsNeitherSequence) {
  TanImageIE r(b.File);
  EXPECT_EQ(r.GetDataSet().Find(0x52009229), nullptr);
  EXPECT_EQ(r.GetDataSet().Find(0x52009230), nullptr);
}

TEST_F(ImageFrameTypeTest, ContrastSequencesAreReduced) {
  b.Add(b.Sequence(0x00180012, {{{0x00080100, "C-B0322"}, {0x00080104, "Iohexol"}, {0x00181041, "dropped"}}}));
  b.Add(b.Sequence(0x00189507, {{{0x00180010, "AGENT"}, {0x00181041, "dropped"}}}));
  b.File.FDataSet.FCursor = 1;
  TanImageIE r(b.File);
  TanDDEItemValue* code = ItemsOf(r, 0x00180012).Item(0);
  EXPECT_EQ(code->Count(), 2u);
  EXPECT_EQ(code->Find(0x00080104)->GetString(), "Iohexol");
  TanDDEItemValue* agent = ItemsOf(r, 0x00189507).Item(0);
  EXPECT_EQ(agent->Count(), 1u);
  EXPECT_EQ(agent->Find(0x00180010)->GetString(), "AGENT");
}

}  // namespace
}  // namespace ORN_dicom
