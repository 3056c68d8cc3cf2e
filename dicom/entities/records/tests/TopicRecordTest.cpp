#include <gtest/gtest.h>

#include "dicom/entities/records/TanTopicIE.h"
#include "dicom/entities/records/tests/RecordTestSupport.h"

namespace ORN_dicom {
namespace {

class TopicRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::LoadDictionary(); }
};

TEST_F(TopicRecordTest, TopicOverNoItemOrAnEmptyOne) {
  TanDDEFactory f(2);
  TanTopicIE none(nullptr);
  TanTopicIE empty(f->MakeItem(0));
  for (TanTopicIE* t : {&none, &empty}) {
    auto& set = t->GetDataSet();
    ASSERT_EQ(set.Count(), 5u);
    EXPECT_EQ(set.At(0)->Tag(), 0x00041430u);
    EXPECT_EQ(t->GetRecordType(), "TOPIC");
    const uint32_t tags[] = {0x00880904, 0x00880906, 0x00880910, 0x00880912};
    for (uint32_t i = 0; i < 4; ++i) {
      EXPECT_EQ(set.At(i + 1)->Tag(), tags[i]);
      EXPECT_EQ(set.At(i + 1)->GetLength(), 0u);
    }
  }
}

TEST_F(TopicRecordTest, ReadItemIsKeptUnchanged) {
  TanDDEFactory f(2);
  iDDE* item = f->MakeItem(0);
  item->GetItem()->Insert(f->MakeDDE(0x0004, 0x1430, 1, "TOPIC"));
  item->GetItem()->Insert(f->MakeDDE(0x0088, 0x0904, 1, "Teaching"));
  TanTopicIE t(item);
  EXPECT_EQ(t.GetDataSet().Count(), 2u);
  EXPECT_EQ(t.GetText(0x00880904), "Teaching");
}

TEST_F(TopicRecordTest, EmptinessCountsEverySet) {
  TanTopicIE t;
  EXPECT_TRUE(t.IsEmpty());
  TanDicomFileObject none;
  t.FPrivateRecords.AppendNew(none);
  EXPECT_FALSE(t.IsEmpty());
  TanTopicIE u;
  u.FKeyObjectDocs.AppendFromItem(nullptr);
  EXPECT_FALSE(u.IsEmpty());
}

TEST_F(TopicRecordTest, SeriesBelowATopicReachNoStudy) {
  TanTopicIE t;
  TanSeriesIE* s = t.FSeries.AppendFromItem(nullptr);
  EXPECT_EQ(s->GetStudy(), nullptr);
  EXPECT_EQ(s->FStackBuilder.GetStudy(), nullptr);
  TanStudyIE* study = t.FStudies.AppendFromItem(nullptr);
  TanSeriesIE* inStudy = study->FSeries.AppendFromItem(nullptr);
  EXPECT_EQ(inStudy->GetStudy(), study);
  std::vector<TanDirectoryRecord*> order;
  TanImageIE* image = t.FImages.AppendFromItem(nullptr);
  t.ForEachChild([&](TanDirectoryRecord& r) { order.push_back(&r); });
  EXPECT_EQ(order, (std::vector<TanDirectoryRecord*>{study, s, image}));
  EXPECT_EQ(t.GetSubtreeLength(), t.GetItem()->Size() + study->GetSubtreeLength() + s->GetItem()->Size() +
                                      image->GetItem()->Size());
}

}  // namespace
}  // namespace ORN_dicom
