#include <gtest/gtest.h>

#include "dicom/entities/records/TanIESet.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/tests/RecordTestSupport.h"

namespace ORN_dicom {
namespace {

class RecordSetTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::LoadDictionary(); }

  // A record that counts its destruction and names itself by its SOP Instance UID.
  struct Counted : TanDirectoryRecord {
    explicit Counted(const std::string& uid, int* deaths = nullptr) : FDeaths(deaths) {
      if (!uid.empty()) SetReferencedSOPInstanceUID(uid);
    }
    explicit Counted(iDDE* item) : TanDirectoryRecord(item) {}
    ~Counted() override {
      if (FDeaths != nullptr) ++*FDeaths;
    }
    int* FDeaths = nullptr;
  };

  static ntl::auto_ptr<Counted> Make(const std::string& uid, int* deaths = nullptr) {
    return ntl::auto_ptr<Counted>(new Counted(uid, deaths));
  }
  static std::vector<std::string> Uids(const TanIESet<Counted>& set) {
    std::vector<std::string> uids;
    for (Counted* r : set) uids.push_back(r->GetReferencedSOPInstanceUID());
    return uids;
  }
};

TEST_F(RecordSetTest, AtOutsideTheSetThrowsVector) {
  TanIESet<Counted> set;
  set.Append(Make("1"));
  for (int32_t i : {1, -1, 100}) {
    try {
      set.At(i);
      ADD_FAILURE() << i;
    } catch (const std::out_of_range& e) {
      EXPECT_STREQ(e.what(), "vector");
    }
  }
  EXPECT_THROW(set.EraseAt(1), std::out_of_range);
  EXPECT_EQ(set.Count(), 1);
}

TEST_F(RecordSetTest, InsertEraseAndOrder) {
  int deaths = 0;
  TanIESet<Counted> set;
  set.Append(Make("b", &deaths));
  set.InsertAt(set.Count(), Make("c", &deaths));  // at Count: appends
  Counted* first = set.InsertAt(0, Make("a", &deaths));
  EXPECT_EQ(first->GetReferencedSOPInstanceUID(), "a");
  EXPECT_EQ(Uids(set), (std::vector<std::string>{"a", "b", "c"}));
  Counted* second = set.At(1);
  set.EraseAt(0);
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(set.At(0), second);
  set.Clear();
  EXPECT_EQ(deaths, 3);
  EXPECT_EQ(set.Count(), 0);
  set.Clear();
  EXPECT_EQ(set.GetRecordsLength(), 0u);
}

TEST_F(RecordSetTest, DestroyingTheSetDeletesItsRecords) {
  int deaths = 0;
  {
    TanIESet<Counted> set;
    set.Append(Make("1", &deaths));
    set.Append(Make("2", &deaths));
  }
  EXPECT_EQ(deaths, 2);
}

TEST_F(RecordSetTest, FindByReferencedSOPInstanceUID) {
  TanIESet<Counted> set;
  EXPECT_EQ(set.FindByReferencedSOPInstanceUID("1.2"), -1);
  set.Append(Make(""));  // no (0004,1511)
  set.Append(Make("1.2"));
  set.Append(Make("1.2.3"));
  set.Append(Make("1.2"));
  struct Case {
    const char* uid;
    int32_t expected;
  } cases[] = {{"1.2", 1}, {"1.2.3", 2}, {"1.2.", -1}, {"1.2.3 ", -1}, {"", -1}, {nullptr, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(set.FindByReferencedSOPInstanceUID(c.uid), c.expected) << (c.uid ? c.uid : "(null)");
}

// The key "" never finds a stack record (which has no instance key), so deleting instance ""
// from a series cannot remove a stack.
TEST_F(RecordSetTest, EmptyKeyNeverFindsStackRecords) {
  TanIESet<TanPrivateIE> stacks;
  TanDicomFileObject none;
  stacks.AppendNew(none);
  stacks.AppendNew(none);
  EXPECT_EQ(stacks.FindByReferencedSOPInstanceUID(""), -1);
  EXPECT_EQ(stacks.FindByReferencedSOPInstanceUID(std::string()), -1);
}

TEST_F(RecordSetTest, ParentLinkIsHandedToEveryRecord) {
  TanDirectoryRecord holder;
  TanIESet<Counted> linked([&holder] { return &holder; });
  TanIESet<Counted> plain;
  Counted* a = linked.Append(Make("a"));
  EXPECT_EQ(a->GetParent(), &holder);
  Counted* b = plain.Append(Make("b"));
  EXPECT_EQ(b->GetParent(), nullptr);
  // Moving a record from a linked set to a plain one overwrites its link.
  Counted* moved = plain.InsertAt(0, linked.TakeAt(0));
  EXPECT_EQ(moved, a);
  EXPECT_EQ(moved->GetParent(), nullptr);
  EXPECT_EQ(linked.Count(), 0);
}

TEST_F(RecordSetTest, AppendFromItemAndRecordsLength) {
  TanIESet<TanPrivateIE> set;
  TanDDEFactory f(2);
  iDDE* item = f->MakeItem(0);
  item->GetItem()->Insert(f->MakeDDE(0x0004, 0x1430, 1, "PRIVATE"));
  TanPrivateIE* r = set.AppendFromItem(item);
  EXPECT_EQ(r->GetItem(), item);
  TanDicomFileObject none;
  TanPrivateIE* child = r->FPrivateRecords.AppendNew(none);
  EXPECT_EQ(set.GetRecordsLength(), item->Size() + child->GetItem()->Size());
  EXPECT_EQ(r->GetSubtreeLength(), set.GetRecordsLength());
}

}  // namespace
}  // namespace ORN_dicom
