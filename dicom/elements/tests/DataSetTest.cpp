#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanIOD.h"
#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/ElementClasses.h"

namespace ORN_dicom {
namespace {

using Bytes = std::vector<unsigned char>;

iDDE* Text(uint32_t tag, const std::string& text = "X") {
  return new dde::ShortText(static_cast<uint16_t>(tag >> 16), static_cast<uint16_t>(tag), vr::LO, text.data(),
                            static_cast<uint32_t>(text.size()));
}

std::vector<uint32_t> Tags(const TanDDESet<iDDE>& set) {
  std::vector<uint32_t> tags;
  for (uint32_t i = 0; i < set.Count(); ++i) tags.push_back(set.At(i)->Tag());
  return tags;
}

// Records the lengths a top-level set reports to an owner.
struct Owner {
  std::vector<uint32_t> heard;
  static void On(void* self, uint32_t n) { static_cast<Owner*>(self)->heard.push_back(n); }
};

TEST(DataSet, EmptySet) {
  TanDDESet<iDDE> set;
  for (uint32_t tag : {0u, 0x00100010u, 0xFFFEE0DDu}) {
    EXPECT_EQ(set.Find(tag), nullptr);
    EXPECT_EQ(set.IndexOf(tag), -1);
    EXPECT_EQ(set.FindFromCursor(tag), nullptr);
  }
  EXPECT_EQ(set.Last(), nullptr);
  EXPECT_EQ(set.Length(), 0u);
  EXPECT_TRUE(set.AreAllInitialized());
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_EQ(set.FCursor, -1);
  try {
    set.At(0);
    FAIL();
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "vector");
  }
  EXPECT_EQ(set.Remove(0), nullptr);
  EXPECT_EQ(set.TakeFirst(), nullptr);
}

TEST(DataSet, InsertPlacesByTagAndMovesTheCursor) {
  struct Case {
    uint32_t tag;
    std::vector<uint32_t> order;
    int32_t cursor;
  } cases[] = {
      {0x00100020, {0x00080016, 0x00100010, 0x00100020, 0x00100030}, 3},
      {0x7FE00010, {0x00080016, 0x00100010, 0x00100030, 0x7FE00010}, 3},
      {0x00080005, {0x00080005, 0x00080016, 0x00100010, 0x00100030}, 1},
      {0xFFFEE0DD, {0x00080016, 0x00100010, 0x00100030, 0xFFFEE0DD}, 3},  // unsigned order
  };
  for (const Case& c : cases) {
    TanDDESet<iDDE> set;
    for (uint32_t t : {0x00100030u, 0x00080016u, 0x00100010u}) set.Insert(Text(t));
    EXPECT_TRUE(set.Insert(Text(c.tag)));
    EXPECT_EQ(Tags(set), c.order);
    EXPECT_EQ(set.FCursor, c.cursor);
  }
}

TEST(DataSet, InsertOfAPresentTagGoesAfterIt) {
  TanDDESet<iDDE> set;
  iDDE* first = Text(0x00100010, "OLD");
  set.Insert(first);
  set.Insert(Text(0x00100010, "NEW"));
  EXPECT_EQ(set.Count(), 2u);
  EXPECT_EQ(set.Find(0x00100010), first);
  EXPECT_EQ(set.At(1)->GetString(), "NEW");
}

TEST(DataSet, CursorSearchFindsOnlyAtOrAfterTheCursor) {
  TanDDESet<iDDE> set;
  for (uint32_t t : {0x00080016u, 0x00100010u, 0x00100030u, 0x00200013u}) set.Append(Text(t));
  set.FCursor = 0;
  EXPECT_EQ(set.IndexOfFromCursor(0x00100030), 2);
  EXPECT_EQ(set.FCursor, 2);
  EXPECT_EQ(set.FindFromCursor(0x00100010), nullptr);
  EXPECT_EQ(set.FCursor, 2);  // a miss leaves it
  EXPECT_NE(set.Find(0x00100010), nullptr);
  EXPECT_EQ(set.FCursor, 2);  // Find never moves it
  EXPECT_EQ(set.IndexOfFromCursor(0x00100031), -1);
  set.FCursor = 0;
  EXPECT_EQ(set.FindFromCursor(0x00100010), set.At(1));
  EXPECT_EQ(set.FindFromCursor(0x00200013), set.At(3));
  EXPECT_EQ(set.FCursor, 3);
}

TEST(DataSet, AppendOfAnInvalidElementKeepsItAndTellsWhy) {
  TanDDESet<iDDE> set;
  const std::string big(70000, 'x');
  iDDE* bad = new dde::ShortChars(0x0008, 0x0081, vr::ST, big.data(), static_cast<uint32_t>(big.size()));
  EXPECT_TRUE(set.Append(bad));
  EXPECT_EQ(set.Count(), 1u);
  EXPECT_FALSE(set.IsSuccess());
  EXPECT_EQ(set.LastError(), std::string("Some elements is not initialized-") + TanValueBasis::kTooLongText);
  set.Append(Text(0x00100010));
  EXPECT_TRUE(set.IsSuccess());
  EXPECT_EQ(set.LastError(), "");
  set.Insert(new dde::ShortChars(0x0008, 0x0082, vr::ST, big.data(), static_cast<uint32_t>(big.size())));
  EXPECT_EQ(set.LastError(), "Some elements is not initialized.");
  EXPECT_FALSE(set.AreAllInitialized());
}

TEST(DataSet, RemoveTakeFirstAndDelete) {
  Owner owner;
  TanDDESet<iDDE> set;
  set.SetChangeCallback(&Owner::On, &owner);
  iDDE* only = Text(0x00100010);
  set.Append(only);
  iDDE* out = nullptr;
  EXPECT_EQ(set.Remove(0, &out), only);
  EXPECT_EQ(out, only);
  EXPECT_EQ(set.FCursor, -1);
  EXPECT_EQ(only->FOnChange.Function, nullptr);  // unlinked
  owner.heard.clear();
  only->SetString("CHANGED");
  EXPECT_TRUE(owner.heard.empty());  // its changes no longer reach the set
  delete only;

  for (uint32_t t : {0x00080016u, 0x00100010u, 0x00100030u}) set.Append(Text(t));
  set.FCursor = 2;
  iDDE* first = set.TakeFirst();
  EXPECT_EQ(first->Tag(), 0x00080016u);
  delete first;
  EXPECT_EQ(set.Count(), 2u);
  EXPECT_EQ(set.FCursor, 1);

  owner.heard.clear();
  set.DeleteByTag(0x00200000);  // absent: nothing, no notice
  EXPECT_TRUE(owner.heard.empty());
  set.DeleteByTag(0x00100010);
  EXPECT_EQ(Tags(set), std::vector<uint32_t>{0x00100030});
  EXPECT_EQ(owner.heard.size(), 1u);
  set.Clear();
  EXPECT_EQ(owner.heard.back(), 0u);
  EXPECT_EQ(set.FCursor, -1);
}

TEST(DataSet, CopyToWritesExactlyLengthBytesInSetOrder) {
  TanDDESet<iDDE> set;
  set.Append(new dde::ShortUS(0x0028, 0x0010, vr::US, "\x00\x02", 2));
  set.Append(Text(0x0008'0060, "CT"));
  ASSERT_EQ(set.Length(), 20u);
  Bytes out(set.Length() + 4, 0xAA);
  set.CopyTo(out.data());
  const Bytes want = {0x28, 0x00, 0x10, 0x00, 'U', 'S', 2, 0, 0x00, 0x02,
                      0x08, 0x00, 0x60, 0x00, 'L', 'O', 2, 0, 'C',  'T', 0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_EQ(out, want);
  std::ostringstream os;
  set.WriteTo(os);
  EXPECT_EQ(os.str(), std::string(want.begin(), want.begin() + 20));
}

// A sequence of undefined length holding one defined-length item inside a top-level set.
struct Nested : ::testing::Test {
  Owner owner;
  TanIOD top;
  dde::LongSequence* sq = new dde::LongSequence(0x0008, 0x1115, vr::SQ, kUndefinedLength);
  dde::ImplicitItem* item = new dde::ImplicitItem(0xFFFE, 0xE000, vr::no);
  void SetUp() override {
    top.SetChangeCallback(&Owner::On, &owner);
    top.Insert(sq);
    sq->GetSequence()->Append(item);
  }
};

TEST_F(Nested, LengthChangesClimbToTheTop) {
  EXPECT_EQ(sq->Length(), kUndefinedLength);
  EXPECT_EQ(item->Length(), 0u);
  iDDE* uid = Text(0x00081150, "1.2");
  item->GetItem()->Insert(uid);
  EXPECT_EQ(item->Length(), 12u);
  EXPECT_EQ(sq->Length(), kUndefinedLength);  // undefined stays undefined
  EXPECT_EQ(sq->GetLength(), 20u);
  EXPECT_EQ(top.Length(), 32u);
  EXPECT_EQ(owner.heard.back(), 32u);
  uid->SetString("1.2.3.4");
  EXPECT_EQ(item->Length(), 16u);
  EXPECT_EQ(owner.heard.back(), 36u);
  item->GetItem()->Clear();
  EXPECT_EQ(item->Length(), 0u);
  EXPECT_EQ(owner.heard.back(), 20u);
  // The sequence becoming empty sets its length to 0; the next change sets a real one.
  sq->GetSequence()->Clear();
  EXPECT_EQ(sq->Length(), 0u);
  sq->GetSequence()->Append(new dde::ImplicitItem(0xFFFE, 0xE000, vr::no));
  EXPECT_EQ(sq->Length(), 8u);
  EXPECT_EQ(owner.heard.back(), 20u);
}

TEST_F(Nested, EncodingOfNestedSets) {
  item->GetItem()->Insert(Text(0x00081150, "12"));
  sq->GetSequence()->Append(new dde::ImplicitDelimiter(0xFFFE, 0xE0DD, vr::no));
  Bytes out(top.Length());
  top.CopyTo(out.data());
  const Bytes want = {0x08, 0x00, 0x15, 0x11, 'S', 'Q', 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                      0xFE, 0xFF, 0x00, 0xE0, 10, 0, 0, 0,
                      0x08, 0x00, 0x50, 0x11, 'L', 'O', 2, 0, '1', '2',
                      0xFE, 0xFF, 0xDD, 0xE0, 0, 0, 0, 0};
  EXPECT_EQ(out, want);
  TanItems items(*sq->GetSequence());
  EXPECT_EQ(items.Count(), 1u);
  EXPECT_EQ(items.Item(0), item->GetItem());
  EXPECT_THROW(items.Item(2), std::out_of_range);
  EXPECT_EQ(items.Item(1), nullptr);  // the delimiter is not an item
  TanTags tags(*item->GetItem());
  EXPECT_EQ(tags.Count(), 1u);
  EXPECT_NE(tags.Find(0x00081150), nullptr);
}

TEST_F(Nested, ItemsClearKeepsTheDelimiterAndReleasesTheItems) {
  sq->GetSequence()->Append(new dde::ImplicitDelimiter(0xFFFE, 0xE0DD, vr::no));
  TanItems items(*sq->GetSequence());
  std::unique_ptr<iDDE> held(item);  // the new owner
  items.Clear();
  EXPECT_EQ(items.Count(), 0u);
  EXPECT_EQ(sq->GetSequence()->Count(), 1u);
  EXPECT_EQ(sq->GetSequence()->At(0)->Tag(), kSequenceDelimitationTag);
  EXPECT_EQ(item->FOnChange.Function, nullptr);
  // Without a delimiter every element is released.
  TanDDESequenceValue plain(vr::SQ);
  std::unique_ptr<iDDE> a(new dde::ImplicitItem(0xFFFE, 0xE000, vr::no));
  plain.Append(a.get());
  TanItems(plain).Clear();
  EXPECT_TRUE(plain.IsEmpty());
}

TEST_F(Nested, DestroyingASetValuedElementDestroysItsElementsWithoutNotices) {
  item->GetItem()->Insert(Text(0x00081150));
  owner.heard.clear();
  const auto before = nalloc::TanORNMemoryHeapAllocator<dde::ShortText>::UseCount();
  top.DeleteByTag(0x00081115);
  EXPECT_EQ(nalloc::TanORNMemoryHeapAllocator<dde::ShortText>::UseCount(), before - 1);
  EXPECT_EQ(owner.heard, std::vector<uint32_t>{0});  // only the top set's own notice
}

TEST(IOD, TransferSyntaxKinds) {
  struct Case {
    uint8_t kind;
    uint8_t stored;
    const char* uid;
  } cases[] = {{1, 1, "1.2.840.10008.1.2"},      {2, 2, "1.2.840.10008.1.2.1"},   {3, 3, "1.2.840.10008.1.2.2"},
               {4, 0, ""},                       {5, 5, "1.2.840.10008.1.2.4.70"}, {6, 6, "1.2.840.10008.1.2.5"},
               {7, 7, "1.2.840.10008.1.2.4.51"}, {0, 0, ""},                       {9, 0, ""}};
  for (const Case& c : cases) {
    TanIOD iod;
    iod.SetTransferSyntax(c.kind);
    EXPECT_EQ(iod.GetTransferSyntaxKind(), c.stored);
    EXPECT_EQ(iod.GetTransferSyntaxUID(), c.uid);
    iod.Clear();
    EXPECT_EQ(iod.GetTransferSyntaxKind(), 0);
  }
}

}  // namespace
}  // namespace ORN_dicom
