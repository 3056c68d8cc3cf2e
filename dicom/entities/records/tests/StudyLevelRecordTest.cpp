#include <gtest/gtest.h>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/entities/records/StudyLevelRecords.h"
#include "dicom/entities/records/tests/RecordTestSupport.h"

namespace ORN_dicom {
namespace {

using testing::BuiltFile;

std::vector<uint32_t> TagsOf(const TanDDESet<iDDE>& set) {
  std::vector<uint32_t> tags;
  for (uint32_t i = 0; i < set.Count(); ++i) tags.push_back(set.At(i)->Tag());
  return tags;
}

class StudyLevelRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::LoadDictionary(); }
};

TEST_F(StudyLevelRecordTest, HangingProtocolWithOnlyItsName) {
  BuiltFile b;
  b.StandardMeta("1.2.840.10008.5.1.4.38.1", "5.6.7").Text(0x00720002, "CHEST PA").Empty(0x00080005);
  TanHangingProtocolIE r(b.File);
  EXPECT_EQ(r.GetRecordType(), "HANGING PROTOCOL");
  EXPECT_EQ(TagsOf(r.GetDataSet()),
            (std::vector<uint32_t>{0x00041400, 0x00041410, 0x00041420, 0x00041430, 0x00041500, 0x00041510,
                                   0x00041511, 0x00041512, 0x00080012, 0x00080013, 0x00080023, 0x00080033,
                                   0x00720002, 0x00720004, 0x00720006, 0x00720008, 0x0072000A, 0x0072000C,
                                   0x0072000E, 0x00720014}));
  EXPECT_EQ(r.GetText(0x00720002), "CHEST PA");
  for (uint32_t tag : {0x00720004u, 0x00720006u, 0x00720008u, 0x0072000Au})
    EXPECT_EQ(r.GetDataSet().Find(tag)->GetLength(), 0u);
  for (uint32_t tag : {0x0072000Cu, 0x0072000Eu}) {
    EXPECT_EQ(r.GetDataSet().Find(tag)->VRText(), "SQ");
    EXPECT_TRUE(TanItems(*r.GetDataSet().Find(tag)->GetSequence()).IsEmpty());
  }
  EXPECT_EQ(r.GetDataSet().Find(0x00720014)->VRText(), "US");
  EXPECT_EQ(r.GetDataSet().Find(0x00720014)->GetUShort(), 1);
  EXPECT_EQ(r.GetInstanceNumber(), -1);
  EXPECT_EQ(r.GetReferencedSOPInstanceUID(), "5.6.7");
}

TEST_F(StudyLevelRecordTest, HangingProtocolChildrenAreInItsSecondSet) {
  TanHangingProtocolIE r(nullptr);
  TanDicomFileObject none;
  TanPrivateIE* child = r.FHangingProtocolPrivateRecords.AppendNew(none);
  r.FPrivateRecords.AppendNew(none);  // the instance record's own set is not written
  EXPECT_EQ(r.GetSubtreeLength(), r.GetItem()->Size() + child->GetItem()->Size());
}

TEST_F(StudyLevelRecordTest, HL7Documents) {
  BuiltFile b;
  b.StandardMeta("1.2.840.10008.5.1.4.1.1.104.2", "1.1").Text(0x0040E001, "ID^^^X").Text(0x00080005, "ISO_IR 100");
  TanHL7StrucDocIE first(b.File);
  EXPECT_EQ(first.GetRecordType(), "HL7 STRUC DOC");
  EXPECT_EQ(TagsOf(first.GetDataSet()),
            (std::vector<uint32_t>{0x00041400, 0x00041410, 0x00041420, 0x00041430, 0x00041500, 0x00041510,
                                   0x00041511, 0x00041512, 0x00080005, 0x0040E001, 0x0040E004, 0x0040E006,
                                   0x00420010}));
  EXPECT_TRUE(TanItems(*first.GetDataSet().Find(0x0040E006)->GetSequence()).IsEmpty());
  b.Meta(0x00020003, "1.2");
  b.File.FFileName = "DIR1/HL7B";
  TanHL7StrucDocIE second(b.File);
  EXPECT_EQ(first.GetReferencedSOPInstanceUID(), "1.1");
  EXPECT_EQ(second.GetReferencedSOPInstanceUID(), "1.2");
  EXPECT_EQ(first.GetReferencedFileID(), "DIR1\\IMG1");
  EXPECT_EQ(second.GetReferencedFileID(), "DIR1\\HL7B");

  BuiltFile noInstance;
  noInstance.Meta(0x00020002, "1.2.840.10008.5.1.4.1.1.104.2");
  try {
    TanHL7StrucDocIE r(noInstance.File);
    ADD_FAILURE();
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "Cannot find SOP Instance UID (0002,0003).");
  }
}

std::vector<std::string> destroyed;

// Records that note their destruction; they add no member, so they fit their class's heap.
struct WatchedInterpretation : TanInterpretationIE {
  using TanInterpretationIE::TanInterpretationIE;
  ~WatchedInterpretation() override { destroyed.push_back("INTERPRETATION"); }
};
struct WatchedPrivate : TanPrivateIE {
  using TanPrivateIE::TanPrivateIE;
  ~WatchedPrivate() override { destroyed.push_back("PRIVATE"); }
};

TEST_F(StudyLevelRecordTest, ResultsDeleteInterpretationsBeforePrivateRecords) {
  auto* results = new TanResultIE(nullptr);
  results->FPrivateRecords.Append(ntl::auto_ptr<TanPrivateIE>(new WatchedPrivate(nullptr)));
  results->FInterpretations.Append(ntl::auto_ptr<TanInterpretationIE>(new WatchedInterpretation(nullptr)));
  std::vector<TanDirectoryRecord*> visited;
  results->ForEachChild([&](TanDirectoryRecord& r) { visited.push_back(&r); });
  EXPECT_EQ(visited, (std::vector<TanDirectoryRecord*>{results->FInterpretations.At(0),
                                                       results->FPrivateRecords.At(0)}));
  destroyed.clear();
  delete results;
  EXPECT_EQ(destroyed, (std::vector<std::string>{"INTERPRETATION", "PRIVATE"}));
}

TEST_F(StudyLevelRecordTest, StudyLevelRecordsHoldTheirItem) {
  TanDDEFactory f(2);
  iDDE* item = f->MakeItem(0);
  item->GetItem()->Insert(f->MakeDDE(0x0004, 0x1430, 1, "VISIT"));
  item->GetItem()->Insert(f->MakeDDE(0x0038, 0x0010, 1, "ADM1"));
  TanIESet<TanVisitIE> visits;
  TanVisitIE* v = visits.AppendFromItem(item);
  EXPECT_EQ(TagsOf(v->GetDataSet()), (std::vector<uint32_t>{0x00041430, 0x00380010}));
  TanStudyComponentIE component(nullptr);
  EXPECT_TRUE(component.GetDataSet().IsEmpty());
}

}  // namespace
}  // namespace ORN_dicom
