#include <cstdlib>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/ModalityLUTModule.h"
#include "dicom/modules/tests/ModulesTestSupport.h"

namespace ndl_test {
namespace {

using ORN_dicom::iDDE;
using Object = ndl_impl::TanModalityObject<>;

class ModalityLUT : public ModulesTest {
 protected:
  std::unique_ptr<ndl::TanModalityLUTModule> Read(ndl::DataSet& set) {
    auto module = std::make_unique<ndl::TanModalityLUTModule>();
    module->InitializeFromDataSet(FFile, set);
    return module;
  }
  // One item of (0028,3000) with a descriptor, a type and LUT Data words.
  void Item(ndl::DataSet& set, std::vector<int> descriptor, const char* type, std::vector<int> words,
            const char* descriptorVR = "US", bool representationInItem = false) {
    iDDE* sq = F()->MakeSequence(0x0028, 0x3000, 0);
    iDDE* item = F()->MakeItem(0);
    auto& s = *item->GetItem();
    if (representationInItem) s.Insert(F()->MakeDDE(0x0028, 0x0103, 1, 1));
    iDDE* d = F()->MakeDDEWithVR(0x0028, 0x3002, descriptorVR, 0);
    for (int v : descriptor) {
      if (std::string(descriptorVR) == "SS") d->AddShort(static_cast<int16_t>(v));
      else d->AddUShort(static_cast<uint16_t>(v));
    }
    s.Insert(d);
    if (type) s.Insert(F()->MakeDDE(0x0028, 0x3004, 1, type));
    iDDE* data = F()->MakeDDEWithVR(0x0028, 0x3006, "OW", 0);
    for (int v : words) data->AddUShort(static_cast<uint16_t>(v));
    s.Insert(data);
    sq->GetSequence()->Append(item);
    ASSERT_TRUE(set.Insert(sq));
  }
  ORN_dicom::TanDicomFileObject FFile;
};

TEST_F(ModalityLUT, RescaleValuesAndMapping) {
  struct Case {
    const char *slope, *intercept, *type;
    int count;  // elements
    int in, out;
  } cases[] = {{"2", "-1024", "HU", 1, 0, -1024}, {"2", "-1024", "HU", 1, 1, -1022}, {"0.5", "0", nullptr, 1, 3, 1},
               {"0.5", "0", nullptr, 1, -3, -1},  {"0", "0", "HU", 0, 0, 0},        {nullptr, "5", "HU", 0, 0, 0},
               {"1.5", "-0.5", "XX", 1, 3, 4}};
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    Text(data, 0x0028, 0x1052, c.intercept);
    if (c.slope) Text(data, 0x0028, 0x1053, c.slope);
    if (c.type) Text(data, 0x0028, 0x1054, c.type);
    auto m = Read(data);
    ASSERT_EQ(m->GetCount(), c.count) << c.slope << " " << c.intercept;
    if (c.count == 0) continue;
    const auto* e = m->Front();
    EXPECT_EQ(e->Map(c.in), c.out);
    EXPECT_EQ(e->GetCount(), -1);
    EXPECT_EQ(e->GetBytesPerEntry(), -1);
    EXPECT_EQ(e->GetRescaleType(), c.type && std::string(c.type) == "HU" ? 2 : 0);
  }
}

TEST_F(ModalityLUT, RescaleWriteBackKeepsTypeRule) {
  ORN_dicom::TanIOD data;
  Text(data, 0x0028, 0x1052, "-1024.5");
  Text(data, 0x0028, 0x1053, "2");
  Text(data, 0x0028, 0x1054, "HU");
  auto m = Read(data);
  EXPECT_TRUE(m->Front()->IsSigned());
  ORN_dicom::TanIOD out;
  ASSERT_TRUE(m->Write(out, F()));
  ASSERT_TRUE(m->Write(out, F()));
  EXPECT_EQ(StringOf(out, 0x00281052u), "-1024.5");
  EXPECT_EQ(CountOf(out, 0x00281052u), 1);
  EXPECT_EQ(StringOf(out, 0x00281053u), "2");
  EXPECT_EQ(StringOf(out, 0x00281054u), "HU");
  auto back = Read(out);
  EXPECT_TRUE(back->Front()->IsEqual(m->Front()));

  ndl::TanModalityLUTModule noType;
  noType.InsertNew(-1)->SetRescale(0, 1, 2);
  ORN_dicom::TanIOD out2;
  EXPECT_FALSE(noType.Write(out2, F()));
  EXPECT_EQ(StringOf(out2, 0x00281052u), "2");
}

TEST_F(ModalityLUT, TableLayouts) {
  struct Case {
    std::vector<int> descriptor;
    std::vector<int> words;
    std::vector<int> entries;  // empty: no element
  } cases[] = {
      {{4, 0, 8}, {0x0110, 0x0220, 0x0330, 0x0440}, {0x10, 0x20, 0x30, 0x40}},
      // Packed two to a word in the order of the data: entry 0 in the low byte.
      {{4, 0, 8}, {0x0201, 0x0403}, {1, 2, 3, 4}},
      {{3, 0, 8}, {0x0201, 0x0003}, {1, 2, 3}},  // odd count: a pad byte in the last word
      {{4, 0, 8}, {1, 2, 3}, {}},
      {{3, 0, 16}, {7, 8}, {7, 8, 0}},
      {{0, 0, 16}, {7, 8}, {}},
      {{2, 0, 4}, {7, 8}, {}},
      {{2, 0, 40}, {7, 8}, {}},
  };
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    Item(data, c.descriptor, "US", c.words);
    auto m = Read(data);
    ASSERT_EQ(m->IsEmpty(), c.entries.empty()) << c.descriptor[0] << " " << c.words.size();
    if (c.entries.empty()) continue;
    for (size_t i = 0; i < c.entries.size(); ++i) EXPECT_EQ(m->Front()->Map(static_cast<int>(i)), c.entries[i]);
    // Clamped at both ends.
    EXPECT_EQ(m->Front()->Map(-1), c.entries.front());
    EXPECT_EQ(m->Front()->Map(-70000), c.entries.front());
    EXPECT_EQ(m->Front()->Map(static_cast<int>(c.entries.size()) + 5), c.entries.back());
  }
  for (const char* type : {static_cast<const char*>(nullptr), "XX"}) {
    ORN_dicom::TanIOD data;
    Item(data, {2, 0, 16}, type, {1, 2});
    EXPECT_TRUE(Read(data)->IsEmpty());
  }
}

TEST_F(ModalityLUT, FirstMappedSignednessComesFromTheImage) {
  struct Case {
    int topRepresentation;  // -1 absent
    bool inItem;
    const char* vr;
    int first;
  } cases[] = {{-1, false, "US", 65535}, {1, false, "US", -1}, {0, true, "US", 65535}, {-1, false, "SS", -1}};
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    if (c.topRepresentation >= 0) Number(data, 0x0028, 0x0103, c.topRepresentation);
    Item(data, {2, 65535, 16}, "HU", {1, 2}, c.vr, c.inItem);
    auto m = Read(data);
    ASSERT_FALSE(m->IsEmpty());
    EXPECT_EQ(static_cast<int>(m->Front()->GetFirstMapped()), c.first);
  }
}

TEST_F(ModalityLUT, TableWriteBackAndElementRules) {
  ndl::TanModalityLUTModule set;
  const unsigned short e[] = {100, 200, 300};
  ASSERT_TRUE(set.InsertNew(-1)->SetTable16(2, e, 3, -5, nullptr));
  const unsigned char e8[] = {1, 2, 3, 255};
  ASSERT_TRUE(set.InsertNew(-1)->SetTable8(3, e8, 4, 0, u"lut"));
  ORN_dicom::TanIOD out;
  ASSERT_TRUE(set.Write(out, F()));
  auto back = Read(out);
  ASSERT_EQ(back->GetCount(), 2);
  EXPECT_TRUE(back->At(0)->IsEqual(set.At(0)));
  EXPECT_TRUE(back->At(1)->IsEqual(set.At(1)));
  EXPECT_EQ(back->At(0)->Map(-100), 100);
  EXPECT_EQ(back->At(1)->Map(100), 255);

  Object a;
  EXPECT_FALSE(a.SetTable8(1, nullptr, 3, 0, nullptr));
  EXPECT_TRUE(a.SetRescale(1, 2, 3));
  EXPECT_FALSE(a.SetTable8(1, nullptr, 3, 0, nullptr));
  EXPECT_EQ(a.GetDataKind(), 2);
  Object b;
  b.SetRescale(2, 2, 3);
  EXPECT_TRUE(a.IsEqual(&b));
  EXPECT_FALSE(a.IsEqual(set.At(0)));
  Object none;
  EXPECT_FALSE(a.Assign(none));
  EXPECT_EQ(a.GetDataKind(), 2);
  a = none;
  EXPECT_EQ(a.GetDataKind(), 0);
  EXPECT_FALSE(b.SetRescale(1, 0.0, 0.0));
  EXPECT_EQ(b.GetDataKind(), 0);
}

TEST_F(ModalityLUT, ReadsDcmmklutTables) {
  const std::string file = ::testing::TempDir() + "modality_mklut.dcm";
  std::remove(file.c_str());
  if (std::system(("dcmmklut -q +Tm -b 8 -e 6 -f 0 --explanation 'eight bit' '" + file + "'").c_str()) != 0)
    GTEST_SKIP() << "dcmmklut (dcmtk) is not installed";
  ORN_dicom::TanDicomFileObject f;
  ASSERT_EQ(f.LoadFromFile(file, false), "");
  ndl::TanModalityLUTModule set;
  ASSERT_TRUE(set.Initialize(f));
  const int expected[] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(set.Front()->Map(i), expected[i]) << i;
  EXPECT_EQ(std::u16string(set.Front()->GetExplanation()), u"eight bit");
  EXPECT_EQ(set.Front()->GetBytesPerEntry(), 1);

  std::remove(file.c_str());
  ASSERT_EQ(std::system(("dcmmklut -q +Tm -b 16 -e 5 -f 0 '" + file + "'").c_str()), 0);
  ORN_dicom::TanDicomFileObject g;
  ASSERT_EQ(g.LoadFromFile(file, false), "");
  ndl::TanModalityLUTModule wide;
  ASSERT_TRUE(wide.Initialize(g));
  EXPECT_EQ(wide.Front()->Map(0), 0);
  EXPECT_EQ(wide.Front()->Map(4), 65535);
  EXPECT_EQ(wide.Front()->Map(99), 65535);
  EXPECT_EQ(wide.Front()->GetBytesPerEntry(), 2);
}

}  // namespace
}  // namespace ndl_test
