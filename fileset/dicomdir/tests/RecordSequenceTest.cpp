#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "fileset/dicomdir/DirectoryRecordWriter.h"
#include "fileset/dicomdir/TanDicomDirObject.h"

using namespace ORN_dicom;

namespace {

struct ItemSpec {
  std::string type;
  uint32_t next;
  uint32_t lower;
  std::string key;  // Referenced SOP Instance UID, or a stack key for PRIVATE records
};

// A parsed DICOMDIR as the file object holds it: meta group and the record sequence.
void Fill(TanDicomFileObject& file, const std::vector<ItemSpec>& items) {
  TanDDEFactory f(2);
  file.FMetaGroup.Insert(f->MakeDDE(0x0002, 0x0002, 1, "1.2.840.10008.1.3.10"));
  file.FMetaGroup.Insert(f->MakeDDE(0x0002, 0x0012, 1, "2.25.40263187551.0.20041017"));
  file.FMetaGroup.Insert(f->MakeDDE(0x0002, 0x0013, 1, "ORN_V3"));
  file.FDataSet.SetTransferSyntax(2);
  file.FDataSet.Insert(f->MakeDDE(0x0004, 0x1130, 1, "TEST"));
  iDDE* sq = f->MakeSequence(0x0004, 0x1220, 0);
  directory_writer::TanQuietSet quiet(*sq->GetSequence());
  for (const ItemSpec& spec : items) {
    iDDE* item = f->MakeItem(0);
    TanDDESet<iDDE>& set = *item->GetItem();
    set.Insert(f->MakeDDE(0x0004, 0x1400, 1, spec.next));
    set.Insert(f->MakeDDE(0x0004, 0x1410, 1, 0xFFFF));
    set.Insert(f->MakeDDE(0x0004, 0x1420, 1, spec.lower));
    set.Insert(f->MakeDDE(0x0004, 0x1430, 1, spec.type.c_str()));
    if (!spec.key.empty()) {
      if (spec.type == "PRIVATE") set.Insert(f->MakeDDE(0x0072, 0x0066, 1, spec.key.c_str()));
      else set.Insert(f->MakeDDE(0x0004, 0x1511, 1, spec.key.c_str()));
    }
    sq->GetSequence()->Append(item);
  }
  file.FDataSet.Insert(sq);
}

std::string Shape(const TanDirectoryRecord& r, int level = 0) {
  std::string text = std::string(static_cast<size_t>(level), ' ') + r.GetRecordType() + "\n";
  r.ForEachChild([&](TanDirectoryRecord& c) { text += Shape(c, level + 1); });
  return text;
}

std::string Shape(TanDicomDirObject& dir) {
  std::string text;
  auto& info = dir.DirectoryInfo();
  for (auto* r : info.Patients()) text += Shape(*r);
  for (auto* r : info.HangingProtocols()) text += Shape(*r);
  for (auto* r : info.Topics()) text += Shape(*r);
  for (auto* r : info.Privates()) text += Shape(*r);
  return text;
}

using Calls = std::vector<std::tuple<int32_t, int32_t, int32_t>>;

std::unique_ptr<TanDicomDirObject> Read(const std::vector<ItemSpec>& items, Calls* calls = nullptr) {
  TanDicomFileObject file;
  Fill(file, items);
  TProgressHandler progress;
  if (calls) progress = [calls](int32_t a, int32_t b, int32_t c) { calls->emplace_back(a, b, c); };
  return std::make_unique<TanDicomDirObject>(file, progress);
}

// One item of a written DICOMDIR: where it starts and its offsets.
struct Written {
  uint32_t position;
  std::string type;
  uint32_t next, lower;
};

struct WrittenFile {
  uint32_t first = 0, last = 0;
  uint16_t consistency = 0;
  std::vector<Written> items;
  std::string uid;
};

// Reads a written DICOMDIR back and lays its items out from the encoded sizes.
WrittenFile Parse(const std::vector<unsigned char>& bytes) {
  TanDicomFileObject file;
  EXPECT_EQ(file.ReadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), false), "");
  WrittenFile w;
  w.first = file.FDataSet.Find(0x00041200)->GetULong();
  w.last = file.FDataSet.Find(0x00041202)->GetULong();
  w.consistency = file.FDataSet.Find(0x00041212)->GetUShort();
  w.uid = file.FMetaGroup.Find(0x00020003)->GetString();
  uint32_t position = 132 + file.FMetaGroup.Length();
  for (uint32_t i = 0; i < file.FDataSet.Count(); ++i) {
    iDDE* e = file.FDataSet.At(i);
    if (e->Tag() != 0x00041220) {
      position += e->Size();
      continue;
    }
    position += e->HeaderSize();
    TanDDESet<iDDE>& items = *e->GetSequence();
    for (uint32_t k = 0; k < items.Count(); ++k) {
      iDDE* item = items.At(k);
      TanTags tags(*item->GetItem());
      w.items.push_back({position, tags.Find(0x00041430)->GetString(), tags.Find(0x00041400)->GetULong(),
                         tags.Find(0x00041420)->GetULong()});
      position += item->Size();
    }
  }
  return w;
}

std::vector<unsigned char> Blob(TanDicomDirObject& dir) {
  const uint32_t length = dir.GetFileLength();
  std::vector<unsigned char> bytes(length);
  EXPECT_EQ(dir.SaveToBlob(bytes.data()), "");
  return bytes;
}

}  // namespace

TEST(RecordSequence, EmptySequenceGivesEmptySetsAndOneProgressCall) {
  Calls calls;
  auto dir = Read({}, &calls);
  EXPECT_TRUE(dir->DirectoryInfo().Records().IsEmpty());
  EXPECT_EQ(calls, (Calls{{0, 0, 0}}));
  EXPECT_EQ(dir->Identification().FFileSetID->GetString(), "TEST");
}

TEST(RecordSequence, ChildrenFollowTheirParentAndOnlyZeroOffsetsCount) {
  const std::vector<ItemSpec> items = {
      {"PATIENT", 0, 1, ""}, {"STUDY", 1, 1, ""}, {"SERIES", 0, 1, ""}, {"IMAGE", 1, 0, "a"},
      {"IMAGE", 0, 0, "b"},  {"STUDY", 0, 1, ""}, {"SERIES", 0, 0, ""}, {"PATIENT", 0, 0, ""},
  };
  Calls calls;
  auto dir = Read(items, &calls);
  EXPECT_EQ(Shape(*dir), "PATIENT\n STUDY\n  SERIES\n   IMAGE\n   IMAGE\n STUDY\n  SERIES\nPATIENT\n");
  EXPECT_EQ(calls, (Calls{{0, 3, 8}, {0, 4, 8}, {0, 6, 8}, {0, 7, 8}, {0, 8, 8}}));
  // Any non-zero values give the same tree.
  std::vector<ItemSpec> other = items;
  for (ItemSpec& i : other) {
    if (i.next) i.next = 987654;
    if (i.lower) i.lower = 3;
  }
  EXPECT_EQ(Shape(*Read(other)), Shape(*dir));
}

TEST(RecordSequence, MisplacedAndUnknownItemsArePassedOver) {
  struct Case {
    const char* name;
    std::vector<ItemSpec> items;
    const char* shape;
  } cases[] = {
      {"study at the root", {{"STUDY", 0, 1, ""}, {"SERIES", 0, 1, ""}, {"IMAGE", 1, 0, ""}, {"PRIVATE", 0, 0, ""}},
       "PRIVATE\n"},
      {"image right after a study",
       {{"PATIENT", 0, 1, ""}, {"STUDY", 1, 1, ""}, {"IMAGE", 1, 0, ""}, {"IMAGE", 0, 0, ""}, {"STUDY", 0, 0, ""}},
       "PATIENT\n STUDY\n"},
      {"type texts", {{"PATIENT ", 0, 0, ""}, {"Patient", 0, 0, ""}, {"", 0, 0, ""}, {"TOPIC", 0, 0, ""}},
       "PATIENT\nTOPIC\n"},
      {"empty type below a series",
       {{"PATIENT", 0, 1, ""}, {"STUDY", 1, 1, ""}, {"SERIES", 0, 1, ""}, {"IMAGE", 1, 0, ""}, {"", 1, 0, ""},
        {"STUDY", 0, 0, ""}},
       "PATIENT\n STUDY\n  SERIES\n   IMAGE\n STUDY\n"},
      {"last item with a lower-level offset", {{"PATIENT", 0, 5, ""}}, "PATIENT\n"},
      {"hanging protocol and topic children",
       {{"HANGING PROTOCOL", 0, 1, ""}, {"PRIVATE", 0, 0, ""}, {"TOPIC", 0, 1, ""}, {"SERIES", 1, 0, ""},
        {"IMAGE", 0, 0, ""}},
       "HANGING PROTOCOL\n PRIVATE\nTOPIC\n SERIES\n IMAGE\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Shape(*Read(c.items)), c.shape) << c.name;
}

// Items whose offsets name other items by index (-1: 0), set from the items' file positions.
std::unique_ptr<TanDicomDirObject> ReadLinked(const std::vector<ItemSpec>& items,
                                              const std::vector<std::pair<int, int>>& links, int first,
                                              uint32_t bogus = 0) {
  TanDicomFileObject file;
  Fill(file, items);
  TanDDEFactory f(2);
  file.FDataSet.Insert(f->MakeDDE(0x0004, 0x1200, 1, 0));
  const uint32_t start = TanDirRecSequence::FirstItemPosition(file);
  TanDDESet<iDDE>& sequence = *file.FDataSet.Find(0x00041220)->GetSequence();
  std::vector<uint32_t> position;
  uint32_t at = start;
  for (uint32_t i = 0; i < sequence.Count(); ++i) {
    position.push_back(at);
    at += sequence.At(i)->Size();
  }
  auto offset = [&](int index) { return index < 0 ? 0u : index >= 100 ? bogus : position[static_cast<size_t>(index)]; };
  for (uint32_t i = 0; i < sequence.Count(); ++i) {
    TanTags tags(*sequence.At(i)->GetItem());
    tags.Find(0x00041400)->SetULong(offset(links[i].first));
    tags.Find(0x00041420)->SetULong(offset(links[i].second));
  }
  file.FDataSet.Find(0x00041200)->SetULong(offset(first));
  return std::make_unique<TanDicomDirObject>(file, TProgressHandler());
}

TEST(RecordSequence, OffsetsAreFollowedWhenEveryOneNamesAnItem) {
  // Records of a level first, then the next level, as gdcmgendir writes them.
  const std::vector<ItemSpec> items = {{"PATIENT", 0, 0, ""}, {"PATIENT", 0, 0, ""}, {"STUDY", 0, 0, ""},
                                       {"STUDY", 0, 0, ""},   {"SERIES", 0, 0, ""},  {"SERIES", 0, 0, ""}};
  const std::vector<std::pair<int, int>> links = {{1, 2}, {-1, 3}, {-1, 4}, {-1, 5}, {-1, -1}, {-1, -1}};
  EXPECT_EQ(Shape(*ReadLinked(items, links, 0)), "PATIENT\n STUDY\n  SERIES\nPATIENT\n STUDY\n  SERIES\n");
  // The first root record is the one (0004,1200) names.
  EXPECT_EQ(Shape(*ReadLinked(items, links, 1)), "PATIENT\n STUDY\n  SERIES\n");
  // An offset that names no item, or a loop: the items' order decides.
  std::vector<std::pair<int, int>> stray = links;
  stray[4].first = 100;
  EXPECT_EQ(Shape(*ReadLinked(items, stray, 0, 12345)), "PATIENT\n");
  std::vector<std::pair<int, int>> loop = links;
  loop[1].first = 0;
  EXPECT_EQ(Shape(*ReadLinked(items, loop, 0)), "PATIENT\n STUDY\n");
}

TEST(RecordSequence, PrivateBelowPrivateIsPassedOverAndNestingIsBounded) {
  // A stack with a PRIVATE item below it: the inner one becomes no record.
  auto dir = Read({{"PATIENT", 0, 1, ""}, {"STUDY", 0, 1, ""}, {"SERIES", 0, 1, ""}, {"PRIVATE", 0, 1, "k"},
                   {"PRIVATE", 0, 0, ""}});
  EXPECT_EQ(Shape(*dir), "PATIENT\n STUDY\n  SERIES\n   PRIVATE\n");
  // A long chain of PRIVATE items, each claiming children: no deep recursion, nothing leaks.
  std::vector<ItemSpec> chain(20000, {"PRIVATE", 0, 1, ""});
  auto deep = Read(chain);
  EXPECT_EQ(deep->DirectoryInfo().Privates().Count(), 10000);
  for (auto* p : deep->DirectoryInfo().Privates()) EXPECT_EQ(p->FPrivateRecords.Count(), 0);
}

TEST(RecordSequence, WrittenOffsetsFollowTheLayout) {
  auto dir = Read({{"PATIENT", 0, 1, ""},
                   {"STUDY", 0, 1, ""},
                   {"SERIES", 0, 1, ""},
                   {"IMAGE", 1, 0, "1.2.3.1"},
                   {"IMAGE", 1, 0, "1.2.3.2"},
                   {"PRIVATE", 0, 0, "stack-key"}});
  const WrittenFile w = Parse(Blob(*dir));
  ASSERT_EQ(w.items.size(), 6u);
  const auto& it = w.items;
  EXPECT_EQ(w.first, it[0].position);
  EXPECT_EQ(w.last, it[0].position);
  EXPECT_EQ(w.consistency, 0);
  EXPECT_EQ(it[0].lower, it[1].position);
  EXPECT_EQ(it[1].lower, it[2].position);
  EXPECT_EQ(it[2].lower, it[3].position);
  EXPECT_EQ(it[3].next, it[4].position);
  EXPECT_EQ(it[4].next, it[5].position);  // the last image points at the series' first stack
  for (int k : {0, 1, 2, 5}) EXPECT_EQ(it[static_cast<size_t>(k)].next, 0u) << k;
  for (int k : {3, 4, 5}) EXPECT_EQ(it[static_cast<size_t>(k)].lower, 0u) << k;
}

TEST(RecordSequence, OneChainLinksEveryRootRecord) {
  auto dir = Read({{"PATIENT", 1, 0, ""},
                   {"HANGING PROTOCOL", 0, 0, ""},
                   {"PATIENT", 0, 0, ""},
                   {"PRIVATE", 0, 0, ""},
                   {"TOPIC", 0, 1, ""},
                   {"STUDY", 0, 0, ""}});
  const WrittenFile w = Parse(Blob(*dir));
  ASSERT_EQ(w.items.size(), 6u);
  std::vector<std::string> order;
  for (const Written& x : w.items) order.push_back(x.type);
  EXPECT_EQ(order, (std::vector<std::string>{"PATIENT", "PATIENT", "HANGING PROTOCOL", "TOPIC", "STUDY", "PRIVATE"}));
  const auto& it = w.items;
  EXPECT_EQ(w.first, it[0].position);
  EXPECT_EQ(it[0].next, it[1].position);
  EXPECT_EQ(it[1].next, it[2].position);
  EXPECT_EQ(it[2].next, it[3].position);
  EXPECT_EQ(it[3].next, it[5].position);
  EXPECT_EQ(it[3].lower, it[4].position);
  EXPECT_EQ(it[4].next, 0u);
  EXPECT_EQ(it[5].next, 0u);
  EXPECT_EQ(w.last, it[5].position);
}

TEST(RecordSequence, EmptyTreeAndRepeatedWrites) {
  TanDicomDirObject empty;
  EXPECT_TRUE(empty.IsOwnDicomDir());
  const std::vector<unsigned char> bytes = Blob(empty);
  const WrittenFile w = Parse(bytes);
  EXPECT_EQ(w.first, 0u);
  EXPECT_EQ(w.last, 0u);
  EXPECT_TRUE(w.items.empty());

  auto dir = Read({{"PATIENT", 0, 1, ""}, {"STUDY", 0, 0, ""}, {"TOPIC", 0, 0, ""}});
  const std::vector<unsigned char> a = Blob(*dir);
  const std::vector<unsigned char> b = Blob(*dir);
  ASSERT_EQ(a.size(), b.size());
  const WrittenFile wa = Parse(a), wb = Parse(b);
  EXPECT_NE(wa.uid, wb.uid);
  // Apart from the Media Storage SOP Instance UID the bytes are the same.
  const size_t at = std::string(a.begin(), a.end()).find(wa.uid);
  ASSERT_NE(at, std::string::npos);
  std::vector<unsigned char> c = b;
  std::memcpy(c.data() + at, wa.uid.data(), wa.uid.size());
  EXPECT_EQ(a, c);
  EXPECT_EQ(dir->DirectoryInfo().Patients().Count(), 1);
}

TEST(RecordSequence, OwnDicomDirNeedsOurImplementationAndStacksForImages) {
  auto withStack = Read({{"PATIENT", 0, 1, ""}, {"STUDY", 0, 1, ""}, {"SERIES", 0, 1, ""}, {"IMAGE", 1, 0, "x"},
                         {"PRIVATE", 0, 0, "k"}});
  EXPECT_TRUE(withStack->IsOwnDicomDir());
  auto withoutStack = Read({{"PATIENT", 0, 1, ""}, {"STUDY", 0, 1, ""}, {"SERIES", 0, 1, ""}, {"IMAGE", 0, 0, "x"}});
  EXPECT_FALSE(withoutStack->IsOwnDicomDir());
}
