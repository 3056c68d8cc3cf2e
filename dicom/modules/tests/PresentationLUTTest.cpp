#include <cstdlib>
#include <stdexcept>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/PresentationLUTModule.h"
#include "dicom/modules/tests/ModulesTestSupport.h"

namespace ndl_test {
namespace {

using ORN_dicom::iDDE;
using Object = ndl_impl::TanPresentationLUTObject<>;

class PresentationLUT : public ModulesTest {
 protected:
  std::unique_ptr<ndl::TanPresentationLUTModule> Read(ndl::DataSet& set) {
    auto module = std::make_unique<ndl::TanPresentationLUTModule>();
    module->InitializeFromDataSet(FFile, set);
    return module;
  }
  void TableItem(ndl::DataSet& set) {
    iDDE* sq = set.Find(0x20500010u);
    if (sq == nullptr) {
      sq = F()->MakeSequence(0x2050, 0x0010, 0);
      set.Insert(sq);
    }
    iDDE* item = F()->MakeItem(0);
    item->GetItem()->Insert(F()->MakeDDE(0x0028, 0x3002, 3, 3, 10, 16));
    iDDE* data = F()->MakeDDEWithVR(0x0028, 0x3006, "OW", 0);
    for (int v : {5, 6, 7}) data->AddUShort(static_cast<uint16_t>(v));
    item->GetItem()->Insert(data);
    sq->GetSequence()->Append(item);
  }
  ORN_dicom::TanDicomFileObject FFile;
};

TEST_F(PresentationLUT, ShapesAndTablesMap) {
  ndl::TanPresentationLUTFactory f;
  std::unique_ptr<ndl::iDICOM_PRESENTATION_LUT> inverse(f.CreateShape(-1)), identity(f.CreateShape(1)),
      none(f.CreateDefault());
  const unsigned short e[] = {5, 6, 7};
  std::unique_ptr<ndl::iDICOM_PRESENTATION_LUT> table(f.CreateTable16(e, 3, 10, nullptr));
  const struct {
    const ndl::iDICOM_PRESENTATION_LUT* lut;
    int in, out;
  } cases[] = {{inverse.get(), 100, -100}, {identity.get(), 100, 100}, {none.get(), 100, 0},
               {table.get(), 0, 5},        {table.get(), 11, 6},       {table.get(), 50, 7}};
  for (const auto& c : cases) EXPECT_EQ(c.lut->Map(c.in), c.out);
  EXPECT_EQ(table->GetShape(), 1);
  EXPECT_EQ(inverse->GetCount(), -1);
  EXPECT_EQ(none->GetCount(), 0);
  EXPECT_EQ(table->GetBytesPerEntry(), 2);
  Object target;
  target.SetShape(1);
  EXPECT_FALSE(target.Assign(*none));
  EXPECT_EQ(target.GetShape(), 1);
  EXPECT_THROW(target = *none, std::runtime_error);
  EXPECT_FALSE(target.SetShape(0));
  EXPECT_TRUE(target.IsEmpty());
}

TEST_F(PresentationLUT, ReadOrderAndShapeText) {
  ORN_dicom::TanIOD data;
  Text(data, 0x2050, 0x0020, " IDENTITY ");
  auto m = Read(data);
  ASSERT_EQ(m->GetCount(), 1);
  EXPECT_EQ(m->Front()->GetShape(), 1);

  ORN_dicom::TanIOD both;
  Text(both, 0x2050, 0x0020, "INVERSE");
  TableItem(both);
  TableItem(both);
  auto three = Read(both);
  ASSERT_EQ(three->GetCount(), 3);
  EXPECT_EQ(three->At(0)->GetDataKind(), 2);
  EXPECT_EQ(three->At(2)->Map(11), 6);

  ORN_dicom::TanIOD lower;
  Text(lower, 0x2050, 0x0020, "identity");
  TableItem(lower);
  EXPECT_TRUE(Read(lower)->IsEmpty());
  lower.DeleteByTag(0x20500020u);
  EXPECT_EQ(Read(lower)->GetCount(), 1);
}

TEST_F(PresentationLUT, WriteShapeAndTables) {
  ndl::TanPresentationLUTModule set;
  set.InsertNew(-1)->SetShape(1);
  const unsigned short e[20] = {1, 2, 3};
  set.InsertNew(-1)->SetTable16(e, 20, -10, u"table");
  ORN_dicom::TanIOD data;
  Text(data, 0x2050, 0x0020, "INVERSE");
  ASSERT_TRUE(set.Write(data, F()));
  EXPECT_EQ(StringOf(data, 0x20500020u), "IDENTITY");
  EXPECT_EQ(CountOf(data, 0x20500020u), 1);
  auto back = Read(data);
  ASSERT_EQ(back->GetCount(), 2);
  EXPECT_TRUE(back->At(1)->IsEqual(set.At(1)));
  EXPECT_EQ(back->At(1)->GetFirstMapped(), -10);

  ndl::TanPresentationLUTModule bad;
  bad.InsertNew(-1);
  EXPECT_FALSE(bad.Write(data, F()));
  ndl::TanPresentationLUTModule two;
  two.InsertNew(-1)->SetShape(2);
  EXPECT_FALSE(two.Write(data, F()));
}

TEST_F(PresentationLUT, ReadsDcmmklutPresentationTable) {
  const std::string file = ::testing::TempDir() + "presentation_mklut.dcm";
  std::remove(file.c_str());
  if (std::system(("dcmmklut -q +Tp -b 16 -e 256 -f 0 '" + file + "'").c_str()) != 0)
    GTEST_SKIP() << "dcmmklut (dcmtk) is not installed";
  ORN_dicom::TanDicomFileObject f;
  ASSERT_EQ(f.LoadFromFile(file, false), "");
  ndl::TanPresentationLUTModule set;
  ASSERT_TRUE(set.Initialize(f));
  const auto* lut = set.Back();
  EXPECT_EQ(lut->GetDataKind(), 1);
  EXPECT_EQ(lut->GetCount(), 256);
  EXPECT_EQ(lut->Map(-5), lut->Map(0));
  EXPECT_EQ(lut->Map(1000), lut->Map(255));
  EXPECT_EQ(lut->Map(255), 65535);
}

}  // namespace
}  // namespace ndl_test
