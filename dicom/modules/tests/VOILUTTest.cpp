#include <cstdlib>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/VOILUTModule.h"
#include "dicom/modules/tests/ModulesTestSupport.h"

namespace ndl_test {
namespace {

using ORN_dicom::iDDE;
using Object = ndl_impl::TanVOIObject<>;

TEST(VOIObject, MapCases) {
  ndl::TanVOILUTFactory f;
  std::unique_ptr<ndl::iDICOM_VOI_LUT> linear(f.CreateLinear(40, 400, nullptr));
  std::unique_ptr<ndl::iDICOM_VOI_LUT> odd(f.CreateLinear(40, 401, nullptr));
  std::unique_ptr<ndl::iDICOM_VOI_LUT> sigmoid(f.CreateSigmoid(12, 100, 50, nullptr));
  std::unique_ptr<ndl::iDICOM_VOI_LUT> flat(f.CreateSigmoid(0, 100, 50, nullptr));
  const unsigned short entries[] = {7, 8, 9};
  std::unique_ptr<ndl::iDICOM_VOI_LUT> table(f.CreateTable16(entries, 3, -1, nullptr));
  const struct {
    const ndl::iDICOM_VOI_LUT* lut;
    int in, out;
  } cases[] = {{linear.get(), -500, -160}, {linear.get(), 0, 0},      {linear.get(), 500, 240},
               {odd.get(), -200, -160},    {odd.get(), 300, 240},     {sigmoid.get(), 100, 2047},
               {sigmoid.get(), 125, 3606}, {sigmoid.get(), 75, 488},  {sigmoid.get(), 0, 1},
               {flat.get(), 125, 0},       {table.get(), -9, 7},      {table.get(), 0, 8},
               {table.get(), 1, 9},        {table.get(), 99, 9}};
  for (const auto& c : cases) EXPECT_EQ(c.lut->Map(c.in), c.out) << c.in;
  EXPECT_EQ(linear->GetFirstMapped(), -160);
  EXPECT_EQ(linear->GetLastMapped(), 240);
  EXPECT_EQ(linear->GetCount(), 400);
  EXPECT_EQ(linear->GetBytesPerEntry(), -1);
  EXPECT_EQ(linear->GetData(), nullptr);
}

TEST(VOIObject, SettersEqualityAndCopies) {
  Object a;
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.Map(5), 0);
  EXPECT_EQ(a.GetExplanation(), nullptr);
  ASSERT_TRUE(a.SetLinearWindow(1, 2, u"e"));
  EXPECT_FALSE(a.SetTable8(nullptr, 3, 0, nullptr));
  EXPECT_EQ(a.GetDataKind(), 2);
  Object copy(a);
  a.SetExplanation(u"other");
  EXPECT_EQ(std::u16string(copy.GetExplanation()), u"e");
  EXPECT_FALSE(copy.IsEqual(&a));
  Object s1, s2;
  s1.SetSigmoidWindow(8, 1, 2, u"e");
  s2.SetSigmoidWindow(12, 1, 2, u"e");
  EXPECT_TRUE(s1.IsEqual(&s2));
  EXPECT_FALSE(s1.IsEqual(&copy));
  Object none;
  EXPECT_FALSE(a.Assign(none));
  EXPECT_EQ(a.GetDataKind(), 2);
  a = none;
  EXPECT_EQ(a.GetDataKind(), 0);
  EXPECT_FALSE(copy.SetLinearWindow(5, 0, nullptr));
  EXPECT_EQ(copy.GetDataKind(), 0);

  ndl_impl::TanVOILUTCollection<> collection;
  collection.InsertNew(-1);
  EXPECT_EQ(collection.GetCount(), 1u);
  EXPECT_TRUE(collection.IsEmpty());
  collection.Back().SetLinearWindow(1, 2, nullptr);
  EXPECT_FALSE(collection.IsEmpty());
}

class VOIModule : public ModulesTest {
 protected:
  std::unique_ptr<ndl::TanVOILUTModule> Read(ndl::DataSet& set) {
    auto module = std::make_unique<ndl::TanVOILUTModule>();
    module->InitializeFromDataSet(FFile, set);
    return module;
  }
  ORN_dicom::TanDicomFileObject FFile;
};

TEST_F(VOIModule, WindowsRead) {
  struct Case {
    const char *center, *width, *function;
    std::vector<std::pair<double, double>> windows;
    int kind;
  } cases[] = {{"40\\300", "400\\1500", nullptr, {{40, 400}, {300, 1500}}, 2},
               {"1\\2\\3", "10\\0", nullptr, {{1, 10}}, 2},
               {"40.25", "400.5", "SIGMOID ", {{40.25, 400.5}}, 3},
               {"40", "400", "sigmoid", {{40, 400}}, 2}};
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    Number(data, 0x0028, 0x0101, 12);
    Text(data, 0x0028, 0x1050, c.center);
    Text(data, 0x0028, 0x1051, c.width);
    if (c.function) Text(data, 0x0028, 0x1056, c.function);
    auto m = Read(data);
    ASSERT_EQ(m->GetCount(), static_cast<int>(c.windows.size())) << c.center;
    for (size_t i = 0; i < c.windows.size(); ++i) {
      const auto* w = m->At(static_cast<uint32_t>(i));
      EXPECT_EQ(w->GetDataKind(), c.kind);
      EXPECT_DOUBLE_EQ(static_cast<double>(w->GetLastMapped() - w->GetFirstMapped()), c.windows[i].second);
      EXPECT_DOUBLE_EQ(static_cast<double>((w->GetLastMapped() + w->GetFirstMapped()) / 2), c.windows[i].first);
    }
    if (c.kind == 3) {
      EXPECT_EQ(m->Front()->Map(100000), 4095);
    }
  }
  ORN_dicom::TanIOD centerOnly;
  Text(centerOnly, 0x0028, 0x1050, "40");
  iDDE* sq = F()->MakeSequence(0x0028, 0x3010, 0);
  iDDE* item = F()->MakeItem(0);
  item->GetItem()->Insert(F()->MakeDDE(0x0028, 0x3002, 3, 2, 0, 16));
  item->GetItem()->Insert(F()->MakeDDEWithVR(0x0028, 0x3006, "OW", 0));
  item->GetItem()->Find(0x00283006u)->AddUShort(1);
  item->GetItem()->Find(0x00283006u)->AddUShort(2);
  sq->GetSequence()->Append(item);
  centerOnly.Insert(sq);
  EXPECT_TRUE(Read(centerOnly)->IsEmpty());
  centerOnly.DeleteByTag(0x00281050u);
  auto tables = Read(centerOnly);
  ASSERT_EQ(tables->GetCount(), 1);
  EXPECT_EQ(tables->Front()->Map(1), 2);
}

TEST_F(VOIModule, WritingKeepsFractionsAndNeverDuplicates) {
  ndl::TanVOILUTModule set;
  set.InsertNew(-1)->SetLinearWindow(40.7, 400.9, u"A");
  set.InsertNew(-1)->SetLinearWindow(-50.5, 1e-9 + 1.0 / 3.0, nullptr);
  const unsigned short entries[] = {1, 2, 3, 4};
  set.InsertNew(-1)->SetTable16(entries, 4, -1024, u"T");
  ORN_dicom::TanIOD data;
  Number(data, 0x0028, 0x0103, 1);
  ASSERT_TRUE(set.Write(data, F()));
  EXPECT_EQ(StringOf(data, 0x00281050u), "40.7\\-50.5");
  EXPECT_LE(ValueLength(data, 0x00281051u, 1), 16u);
  EXPECT_EQ(StringOf(data, 0x00281055u), "A\\");
  EXPECT_EQ(StringOf(data, 0x00281056u), "LINEAR");
  ASSERT_TRUE(set.Write(data, F()));
  for (uint32_t tag : {0x00281050u, 0x00281051u, 0x00281055u, 0x00281056u}) EXPECT_EQ(CountOf(data, tag), 1);
  auto back = Read(data);
  ASSERT_EQ(back->GetCount(), 4);  // two windows, the table item written twice
  EXPECT_NEAR(static_cast<double>(back->At(0)->GetLastMapped() - back->At(0)->GetFirstMapped()), 400.9, 1e-9);
  EXPECT_EQ(back->At(2)->GetFirstMapped(), -1024);
  EXPECT_TRUE(back->At(2)->IsEqual(set.At(2)));
  EXPECT_EQ(std::u16string(back->At(0)->GetExplanation()), u"A");
}

TEST_F(VOIModule, ReadsDcmmklutVOITable) {
  const std::string file = ::testing::TempDir() + "voi_mklut.dcm";
  std::remove(file.c_str());
  if (std::system(("dcmmklut -q +Tv -b 8 -e 5 -f 0 --explanation voi '" + file + "'").c_str()) != 0)
    GTEST_SKIP() << "dcmmklut (dcmtk) is not installed";
  ORN_dicom::TanDicomFileObject f;
  ASSERT_EQ(f.LoadFromFile(file, false), "");
  ndl::TanVOILUTModule set;
  ASSERT_TRUE(set.Initialize(f));
  const int expected[] = {0, 63, 127, 191, 255};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(set.Front()->Map(i), expected[i], 1) << i;
  EXPECT_EQ(set.Front()->Map(-3), set.Front()->Map(0));
  EXPECT_EQ(set.Front()->Map(30), 255);
}

}  // namespace
}  // namespace ndl_test
