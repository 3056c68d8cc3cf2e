#include <gtest/gtest.h>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/records/tests/RecordTestSupport.h"

namespace ORN_dicom {
namespace {

using testing::BuiltFile;

class DirectoryRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::LoadDictionary(); }
};

std::vector<uint32_t> TagsOf(TanDDESet<iDDE>& set) {
  std::vector<uint32_t> tags;
  for (uint32_t i = 0; i < set.Count(); ++i) tags.push_back(set.At(i)->Tag());
  return tags;
}

TEST_F(DirectoryRecordTest, EmptyRecordHoldsTheFourLeadingKeys) {
  TanDirectoryRecord r;
  auto& set = r.GetDataSet();
  ASSERT_EQ(TagsOf(set), (std::vector<uint32_t>{0x00041400, 0x00041410, 0x00041420, 0x00041430}));
  EXPECT_EQ(set.At(0)->GetULong(), 0u);
  EXPECT_EQ(set.At(0)->VRText(), "UL");
  EXPECT_EQ(set.At(1)->GetUShort(), 0xFFFF);
  EXPECT_EQ(set.At(1)->VRText(), "US");
  EXPECT_EQ(set.At(2)->GetULong(), 0u);
  EXPECT_EQ(set.At(3)->VRText(), "CS");
  EXPECT_EQ(set.At(3)->GetLength(), 0u);
  EXPECT_EQ(r.GetRecordType(), "");
  EXPECT_EQ(r.GetParent(), nullptr);
}

TEST_F(DirectoryRecordTest, RecordOverNoItemHoldsAnEmptyItem) {
  TanDirectoryRecord r(nullptr);
  EXPECT_TRUE(r.GetDataSet().IsEmpty());
  EXPECT_EQ(r.GetItem()->Tag(), kItemTag);
}

TEST_F(DirectoryRecordTest, RecordOverAnElementThatIsNotAnItemIsRefused) {
  TanDDEFactory f(2);
  EXPECT_THROW(TanDirectoryRecord(f->MakeDDE(0x0010, 0x0010, 1, "X")), std::invalid_argument);
}

TEST_F(DirectoryRecordTest, ReferencedKeysAreMadeOnDemandInTagOrder) {
  TanDirectoryRecord r;
  EXPECT_EQ(r.GetReferencedFileID(), "");
  r.SetReferencedTransferSyntaxUID("1.2.840.10008.1.2.1");
  r.SetReferencedFileID("DIR\\FILE1");
  r.SetReferencedSOPInstanceUID("1.2.3");
  r.SetReferencedSOPClassUID("1.2.840.10008.5.1.4.1.1.2");
  EXPECT_EQ(TagsOf(r.GetDataSet()), (std::vector<uint32_t>{0x00041400, 0x00041410, 0x00041420, 0x00041430,
                                                            0x00041500, 0x00041510, 0x00041511, 0x00041512}));
  EXPECT_EQ(r.GetReferencedFileID(), "DIR\\FILE1");
  EXPECT_EQ(r.GetReferencedFilePath(), "DIR/FILE1");
  EXPECT_EQ(r.GetReferencedSOPClassUID(), "1.2.840.10008.5.1.4.1.1.2");
  EXPECT_EQ(r.GetReferencedSOPInstanceUID(), "1.2.3");
  EXPECT_EQ(r.GetReferencedTransferSyntaxUID(), "1.2.840.10008.1.2.1");
  r.SetReferencedFileID("DIR\\FILE2");
  EXPECT_EQ(r.GetDataSet().Count(), 8u);
  EXPECT_EQ(r.GetReferencedFileID(), "DIR\\FILE2");
}

// Items from a foreign DICOMDIR may lack a leading key or hold a lower tag before them: the
// offsets and the type are set on their own tags, never on whatever stands at a position.
TEST_F(DirectoryRecordTest, OffsetsAndTypeAreSetByTag) {
  TanDDEFactory f(2);
  iDDE* item = f->MakeItem(0);
  item->GetItem()->Insert(f->MakeDDE(0x0004, 0x1410, 1, 0xFFFF));
  item->GetItem()->Insert(f->MakeDDE(0x0004, 0x1500, 1, "A\\B"));
  item->GetItem()->Insert(f->MakeDDE(0x0002, 0x0010, 1, "9.9"));  // a lower tag in front
  TanDirectoryRecord r(item);
  r.SetNextRecordOffset(1234);
  r.SetLowerLevelOffset(5678);
  r.SetRecordType("IMAGE");
  auto& set = r.GetDataSet();
  EXPECT_EQ(set.Find(0x00041400)->GetULong(), 1234u);
  EXPECT_EQ(set.Find(0x00041420)->GetULong(), 5678u);
  EXPECT_EQ(r.GetRecordType(), "IMAGE");
  EXPECT_EQ(set.Find(0x00020010)->GetString(), "9.9");
  EXPECT_EQ(set.Find(0x00041410)->GetUShort(), 0xFFFF);
  EXPECT_EQ(r.GetReferencedFileID(), "A\\B");
  EXPECT_EQ(TagsOf(set), (std::vector<uint32_t>{0x00020010, 0x00041400, 0x00041410, 0x00041420, 0x00041430,
                                                0x00041500}));

  TanDirectoryRecord normal;
  normal.SetNextRecordOffset(10);
  normal.SetLowerLevelOffset(20);
  normal.SetRecordType("PATIENT");
  EXPECT_EQ(normal.GetDataSet().Count(), 4u);
  EXPECT_EQ(normal.GetDataSet().At(0)->GetULong(), 10u);
  EXPECT_EQ(normal.GetDataSet().At(2)->GetULong(), 20u);
  EXPECT_EQ(normal.GetDataSet().At(3)->GetString(), "PATIENT");
}

TEST_F(DirectoryRecordTest, RecordOverAnItemIsDetachedFromItsSequence) {
  TanDDEFactory f(2);
  iDDE* sq = f->MakeSequence(0x0004, 0x1220, 0);
  iDDE* item = f->MakeItem(0);
  sq->GetSequence()->Append(item);
  const uint32_t before = sq->Length();
  TanDirectoryRecord r(item);
  EXPECT_EQ(item->FOnChange.Function, nullptr);
  r.SetReferencedFileID("LONGER\\NAME");
  EXPECT_EQ(sq->Length(), before);
  sq->GetSequence()->ReleaseAll();  // the record owns the item
  delete sq;
}

class CopySequenceTest : public DirectoryRecordTest {};

TEST_F(CopySequenceTest, ItemsAreReducedToTheListedTags) {
  BuiltFile b;
  b.Text(0x00100010, "Doe^J").Text(0x00200010, "ID");
  b.Add(b.Sequence(0x00081032, {{{0x00080100, "A1"}, {0x00080104, "first"}, {0x00100020, "dropped"}},
                                {{0x00100020, "only other"}},
                                {{0x00080102, "DCM"}}}));
  b.File.FDataSet.FCursor = 2;
  TanDirectoryRecord r;
  TanDDEFactory f(2);
  r.CopyCodeSequence(*f, b.File, 0x00081032);
  EXPECT_EQ(b.File.FDataSet.FCursor, 2);
  iDDE* sq = r.GetDataSet().Find(0x00081032);
  ASSERT_NE(sq, nullptr);
  TanItems items(*sq->GetSequence());
  ASSERT_EQ(items.Count(), 3u);
  EXPECT_EQ(items.Item(0)->Count(), 2u);
  EXPECT_EQ(items.Item(0)->Find(0x00080100)->GetString(), "A1");
  EXPECT_EQ(items.Item(0)->Find(0x00100020), nullptr);
  EXPECT_TRUE(items.Item(1)->IsEmpty());
  EXPECT_EQ(items.Item(2)->Find(0x00080102)->GetString(), "DCM");
}

TEST_F(CopySequenceTest, OnlyTheSecondItemHoldsAListedTag) {
  BuiltFile b;
  b.Add(b.Sequence(0x00189507, {{{0x00100020, "x"}}, {{0x00180010, "AGENT"}}, {{0x00100020, "y"}}}));
  TanDirectoryRecord r;
  TanDDEFactory f(2);
  r.CopySequence(*f, b.File, 0x00189507, {0x00180010});
  TanItems items(*r.GetDataSet().Find(0x00189507)->GetSequence());
  ASSERT_EQ(items.Count(), 3u);
  EXPECT_TRUE(items.Item(0)->IsEmpty());
  EXPECT_EQ(items.Item(1)->Find(0x00180010)->GetString(), "AGENT");
  EXPECT_TRUE(items.Item(2)->IsEmpty());
}

TEST_F(CopySequenceTest, AbsentEmptyAndUnmatchedSequences) {
  BuiltFile b;
  b.Add(b.Sequence(0x00081032, {}));
  b.Add(b.Sequence(0x0040A372, {{{0x00100020, "x"}}, {{0x00100010, "y"}}}));
  TanDirectoryRecord r;
  TanDDEFactory f(2);
  r.CopyCodeSequence(*f, b.File, 0x00400260);  // absent
  EXPECT_EQ(r.GetDataSet().Count(), 4u);
  r.CopyCodeSequence(*f, b.File, 0x00081032);  // no items: an empty sequence
  ASSERT_NE(r.GetDataSet().Find(0x00081032), nullptr);
  EXPECT_TRUE(TanItems(*r.GetDataSet().Find(0x00081032)->GetSequence()).IsEmpty());
  r.CopyCodeSequence(*f, b.File, 0x0040A372);  // no item holds a listed tag: no item at all
  ASSERT_NE(r.GetDataSet().Find(0x0040A372), nullptr);
  EXPECT_TRUE(TanItems(*r.GetDataSet().Find(0x0040A372)->GetSequence()).IsEmpty());
}

TEST_F(DirectoryRecordTest, WideTextCases) {
  struct Case {
    const char* value;
    const wchar_t* expected;
  } cases[] = {
      {"AB  ", L"AB"},
      {"7", L"7"},     // one character is a value, not nothing
      {"7 ", L"7"},
      {" ", L""},
      {"", L""},
      {"Doe^John", L"Doe^John"},
  };
  for (const Case& c : cases) {
    TanDirectoryRecord r;
    TanDDEFactory f(2);
    r.GetDataSet().Insert(f->MakeDDE(0x0010, 0x0020, 1, c.value));
    EXPECT_EQ(r.GetWideText("ISO_IR 6", 0x00100020), c.expected) << "value '" << c.value << "'";
  }
  TanDirectoryRecord r;
  EXPECT_EQ(r.GetWideText("ISO_IR 6", 0x00100020), L"");
  TanDDEFactory f(2);
  r.GetDataSet().Insert(f->MakeDDE(0x0010, 0x0010, 1, "\xC4rger^J\xFCrgen"));
  EXPECT_EQ(r.GetWideText("ISO_IR 100", 0x00100010), L"\u00C4rger^J\u00FCrgen");
}

}  // namespace
}  // namespace ORN_dicom
