#include <gtest/gtest.h>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/tests/RecordTestSupport.h"

namespace ORN_dicom {
namespace {

class StackRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::LoadDictionary(); }
  TanDicomFileObject FNone;
};

TEST_F(StackRecordTest, NewStackRecord) {
  TanPrivateIE s(FNone);
  EXPECT_EQ(s.GetRecordType(), "PRIVATE");
  EXPECT_EQ(s.GetText(0x00041432), "1.3.51.99999.1.1.1");
  EXPECT_EQ(s.GetDataSet().Count(), 5u);
  EXPECT_EQ(s.GetStackImageCount(), 0);
  EXPECT_EQ(s.GetStackKey(), "");
  EXPECT_EQ(s.GetStackImageIndex(0), 65535);
  EXPECT_EQ(s.GetStackFrameNumber(0), -1);
  EXPECT_EQ(s.GetPresentationRefCount(), 0);
  EXPECT_EQ(s.GetIconImageSequence(), nullptr);
  EXPECT_EQ(s.GetReferencedSOPInstanceUID(), "");
  EXPECT_EQ(s.GetDataSet().Find(0x00041500), nullptr);
}

TEST_F(StackRecordTest, KeyAndRecordUIDAreTrimmed) {
  TanPrivateIE s(FNone);
  s.SetStackKey("  6f1c-22  ");
  EXPECT_EQ(s.GetStackKey(), "6f1c-22");
  EXPECT_EQ(s.GetDataSet().Find(0x00720066)->VRText(), "LO");
  s.SetStackKey("new");
  EXPECT_EQ(s.GetStackKey(), "new");
  s.SetPrivateRecordUID(" 1.2.3 ");
  EXPECT_EQ(s.GetText(0x00041432), "1.2.3");
}

TEST_F(StackRecordTest, ImageIndexesAreSetPositionByPosition) {
  TanPrivateIE s(FNone);
  s.SetStackImageIndex(0, 5);
  s.SetStackImageIndex(1, 6);
  s.SetStackImageIndex(2, 7);
  EXPECT_EQ(s.GetStackImageCount(), 3);
  EXPECT_EQ(s.GetStackImageIndex(0), 5);
  EXPECT_EQ(s.GetStackImageIndex(2), 7);
  s.SetStackImageIndex(1, 9);
  EXPECT_EQ(s.GetStackImageIndex(1), 9);
  try {
    s.SetStackImageIndex(5, 1);
    ADD_FAILURE();
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "out-of-bound");
  }
  EXPECT_THROW(s.SetStackImageIndex(-1, 1), std::out_of_range);
  EXPECT_EQ(s.GetStackImageCount(), 3);
  EXPECT_EQ(s.GetStackImageIndex(3), 65535);
  EXPECT_EQ(s.GetStackImageIndex(-1), 65535);
  s.SetStackImageIndex(3, 65535);
  EXPECT_EQ(s.GetStackImageIndex(3), 65535);
  EXPECT_EQ(s.GetDataSet().Find(0x0072007A)->VRText(), "US");
}

TEST_F(StackRecordTest, FrameNumbersKeepTheirSign) {
  TanPrivateIE s(FNone);
  EXPECT_THROW(s.SetStackFrameNumber(1, 0), std::out_of_range);
  EXPECT_NE(s.GetDataSet().Find(0x0072007C), nullptr);  // made, without value
  EXPECT_EQ(s.GetStackFrameNumber(0), -1);
  s.SetStackFrameNumber(0, -3);
  s.SetStackFrameNumber(1, 70000);
  EXPECT_EQ(s.GetStackFrameNumber(0), -3);
  EXPECT_EQ(s.GetStackFrameNumber(1), 70000);
  s.SetStackFrameNumber(0, 4);
  EXPECT_EQ(s.GetStackFrameNumber(0), 4);
  EXPECT_EQ(s.GetDataSet().Find(0x0072007C)->VRText(), "SL");
}

// A 16-bit value length holds 32767 US values or 16383 SL values; one more is refused with
// a text, and the values already there stay whole.
TEST_F(StackRecordTest, ValuesBeyondTheSixteenBitLengthAreRefused) {
  TanPrivateIE s(FNone);
  for (int32_t i = 0; i < TanPrivateIE::kMaxImageIndexes; ++i) s.SetStackImageIndex(i, static_cast<uint16_t>(i));
  try {
    s.SetStackImageIndex(TanPrivateIE::kMaxImageIndexes, 1);
    ADD_FAILURE();
  } catch (const std::length_error& e) {
    EXPECT_STREQ(e.what(), "A stack holds at most 32767 image indexes (16-bit value length).");
  }
  EXPECT_EQ(s.GetStackImageCount(), 32767);
  EXPECT_EQ(s.GetStackImageIndex(32766), 32766);
  s.SetStackImageIndex(32766, 1);  // replacing stays possible
  EXPECT_EQ(s.GetStackImageIndex(32766), 1);

  for (int32_t i = 0; i < TanPrivateIE::kMaxFrameNumbers; ++i) s.SetStackFrameNumber(i, i);
  try {
    s.SetStackFrameNumber(TanPrivateIE::kMaxFrameNumbers, 1);
    ADD_FAILURE();
  } catch (const std::length_error& e) {
    EXPECT_STREQ(e.what(), "A stack holds at most 16383 frame numbers (16-bit value length).");
  }
  EXPECT_EQ(s.GetStackFrameNumber(16382), 16382);
  EXPECT_EQ(s.GetStackFrameNumber(16383), -1);
}

TEST_F(StackRecordTest, PresentationPairs) {
  TanPrivateIE s(FNone);
  int32_t series = -7, presentation = -7, k = -7;
  EXPECT_FALSE(s.GetPresentationRef(0, series, presentation));
  EXPECT_FALSE(s.FindPresentationRef(2, 0, &k));
  EXPECT_TRUE(s.ClearPresentationRefs());  // nothing there: nothing changes
  EXPECT_EQ(s.GetDataSet().Count(), 5u);

  EXPECT_TRUE(s.AddPresentationRef(2, 0));
  EXPECT_TRUE(s.AddPresentationRef(1, 65535));
  EXPECT_EQ(s.GetPresentationRefCount(), 2);
  EXPECT_TRUE(s.GetPresentationRef(0, series, presentation));
  EXPECT_EQ(series, 2);
  EXPECT_EQ(presentation, 0);
  EXPECT_TRUE(s.GetPresentationRef(1, series, presentation));
  EXPECT_EQ(presentation, 65535);
  series = presentation = -7;
  EXPECT_FALSE(s.GetPresentationRef(2, series, presentation));
  EXPECT_FALSE(s.GetPresentationRef(-1, series, presentation));
  EXPECT_EQ(series, -7);
  EXPECT_TRUE(s.FindPresentationRef(2, 0, &k));
  EXPECT_EQ(k, 0);
  EXPECT_TRUE(s.FindPresentationRef(1, 65535, nullptr));
  EXPECT_FALSE(s.FindPresentationRef(0, 2, &k));

  // An odd count counts only the whole pairs.
  s.GetDataSet().Find(0x00720212)->AddUShort(3);
  EXPECT_EQ(s.GetPresentationRefCount(), 2);

  EXPECT_TRUE(s.ClearPresentationRefs());
  EXPECT_EQ(s.GetPresentationRefCount(), 0);
  EXPECT_EQ(s.GetDataSet().Find(0x00720212), nullptr);
}

TEST_F(StackRecordTest, IconSequenceIsReplacedOrRemoved) {
  TanPrivateIE s(FNone);
  TanDDEFactory f(2);
  auto icon = [&] {
    iDDE* sq = f->MakeSequence(0x0088, 0x0200, 0);
    iDDE* item = f->MakeItem(0);
    item->GetItem()->Insert(f->MakeDDE(0x0028, 0x0010, 1, 64));
    sq->GetSequence()->Append(item);
    return sq;
  };
  iDDE* first = icon();
  s.SetIconImageSequence(first);
  EXPECT_EQ(s.GetIconImageSequence(), first);
  iDDE* second = icon();
  s.SetIconImageSequence(second);
  EXPECT_EQ(s.GetIconImageSequence(), second);
  s.SetIconImageSequence(f->MakeSequence(0x0088, 0x0200, 0));  // empty: removes the old one
  EXPECT_EQ(s.GetIconImageSequence(), nullptr);
  s.SetIconImageSequence(icon());
  s.SetIconImageSequence(nullptr);
  EXPECT_EQ(s.GetIconImageSequence(), nullptr);
}

}  // namespace
}  // namespace ORN_dicom
