// The module-set framework over a small sequence kind made for the test (items of (0008,1115)
// holding a class and an instance UID) and over the pixel macro kind for the top-level form.
#include <stdexcept>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/ImagePixelMacroModule.h"
#include "dicom/modules/tests/ModulesTestSupport.h"

namespace ndl_test {
struct ReferenceFactory {
  ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO* CreateDefault() const { return new ndl_impl::TanImageSOPInstanceReferenceMacro(); }
  ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO* CreateCopy(const ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO& o) const {
    auto* r = new ndl_impl::TanImageSOPInstanceReferenceMacro();
    r->SetFromPair(o);
    return r;
  }
};
}  // namespace ndl_test

namespace ndl_impl {
template <>
struct DICOM_OBJECT_MODULE_INTERFACE_STRUCT<99> {
  using Interface = ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO;
  using Factory = ndl_test::ReferenceFactory;
  static constexpr const char* FName = "TEST-MODULE";
};
}  // namespace ndl_impl

namespace ndl_test {
namespace {

using ORN_dicom::iDDE;

class TestSet : public ndl_impl::TanDICOMObjectModuleSetFromSQ<0x00081115u, 99> {
 public:
  bool ReadElement(ndl::DataSet& item, Vector& vector) override {
    iDDE* c = item.Find(0x00081150u);
    iDDE* i = item.Find(0x00081155u);
    if (c == nullptr || i == nullptr) return false;
    vector.emplace_back(new ndl_impl::TanImageSOPInstanceReferenceMacro(c->GetString().c_str(), i->GetString().c_str(), 1));
    return true;
  }
  bool WriteElement(ndl::DataSet& item, ORN_dicom::iDDEFactory* f, ndl::iIMAGE_SOP_INSTANCE_REFERENCE_MACRO& e) override {
    if (e.IsEmpty()) return true;
    item.Append(f->MakeDDE(0x0008, 0x1150, 1, e.GetSOPClassUID()));
    item.Append(f->MakeDDE(0x0008, 0x1155, 1, e.GetSOPInstanceUID()));
    return true;
  }
};

const std::string kAccess = "error-occured-during-access-to-DICOM-object-module-TEST-MODULE";
const std::string kInit = "error-occured-during-initialization-of-DICOM-object-module-TEST-MODULE";

class ModuleSet : public ModulesTest {
 protected:
  // A (0008,1115) whose items hold the given instance UIDs; "" makes an item without the
  // instance UID, "-" an item with no element.
  void Sequence(ndl::DataSet& set, std::initializer_list<const char*> instances) {
    iDDE* sq = F()->MakeSequence(0x0008, 0x1115, 0);
    for (const char* uid : instances) {
      iDDE* item = F()->MakeItem(0);
      if (std::string(uid) != "-") {
        item->GetItem()->Append(F()->MakeDDE(0x0008, 0x1150, 1, "1.2"));
        if (*uid != 0) item->GetItem()->Append(F()->MakeDDE(0x0008, 0x1155, 1, uid));
      }
      sq->GetSequence()->Append(item);
    }
    ASSERT_TRUE(set.Insert(sq));
  }
  ORN_dicom::TanDicomFileObject FFile;
};

TEST_F(ModuleSet, NeverInitialisedSetReportsAccessErrors) {
  TestSet set;
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_EQ(set.GetCount(), 0);
  EXPECT_EQ(set.Item(0), nullptr);
  EXPECT_EQ(set.GetErrorText(), kAccess);
  try {
    set.At(0);
    FAIL();
  } catch (const std::out_of_range& e) {
    EXPECT_EQ(e.what(), kAccess);
  }
  EXPECT_THROW(set.Erase(0), std::out_of_range);
  EXPECT_EQ(set.GetKind(), 99);
}

TEST_F(ModuleSet, InitialiseTakesTheResultOfTheLastReadableItem) {
  struct Case {
    std::initializer_list<const char*> items;
    bool ok;
    int count;
  } cases[] = {{{"", "", "1.1"}, true, 1}, {{"1.1", "1.2", ""}, false, 0}, {{"-", "-"}, false, 0},
               {{"1.1", "-", "1.3"}, true, 2}};
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    Sequence(data, c.items);
    TestSet set;
    EXPECT_EQ(set.InitializeFromDataSet(FFile, data), c.ok);
    EXPECT_EQ(set.GetCount(), c.count);
    if (!c.ok) {
      EXPECT_EQ(set.GetErrorText(), kInit);
    }
  }
  TestSet set;
  EXPECT_FALSE(set.Initialize(FFile));
  EXPECT_EQ(set.GetErrorText(), kInit);
  set.Clear();
  EXPECT_EQ(set.GetErrorText(), kInit);
}

TEST_F(ModuleSet, WriteKeepsFilledItemsAndDropsEmptyOnes) {
  ORN_dicom::TanIOD data;
  Sequence(data, {"1.1", "1.2", "-"});
  TestSet set;
  EXPECT_TRUE(set.Write(data, F()));  // nothing to write
  set.InsertNew(-1)->SetUIDs("1.2", "7.7");
  set.FReferences->InsertNew(-1).SetReference("1.9", "9.9", 0);
  ASSERT_TRUE(set.Write(data, F()));
  ASSERT_TRUE(set.Write(data, F()));
  TestSet back;
  ASSERT_TRUE(back.InitializeFromDataSet(FFile, data));
  ASSERT_EQ(back.GetCount(), 4);
  EXPECT_STREQ(back.At(0)->GetSOPInstanceUID(), "1.1");
  EXPECT_STREQ(back.At(1)->GetSOPInstanceUID(), "1.2");
  EXPECT_STREQ(back.At(2)->GetSOPInstanceUID(), "7.7");
  // The Referenced Image Sequence is replaced, never duplicated, by a second write.
  EXPECT_EQ(CountOf(data, 0x00081140u), 1);
  ndl_impl::TanImageSOPInstanceReferenceMacroSet<> refs;
  ASSERT_TRUE(ndl_impl::ReadReferencedImageSequence(data, refs));
  EXPECT_EQ(refs.GetCount(), 1u);
  EXPECT_EQ(refs.Front().GetFrameNumber(), 0);
}

TEST_F(ModuleSet, InsertEraseAndAssign) {
  TestSet set;
  set.InsertNew(-1);
  EXPECT_EQ(set.GetCount(), 1);
  EXPECT_TRUE(set.Front()->IsEmpty());
  set.Front()->SetUIDs("1", "a");
  set.InsertNew(-1)->SetUIDs("1", "b");
  auto* first = set.InsertNew(0);
  EXPECT_EQ(set.Front(), first);
  EXPECT_EQ(set.GetCount(), 3);
  EXPECT_THROW(set.InsertNew(5), std::out_of_range);
  EXPECT_EQ(set.GetCount(), 3);
  set.Erase(0);

  TestSet copy;
  ASSERT_TRUE(copy.Assign(set));
  EXPECT_EQ(copy.GetCount(), 2);
  copy.At(0)->SetUIDs("1", "changed");
  EXPECT_STREQ(set.At(0)->GetSOPInstanceUID(), "a");
  EXPECT_TRUE(copy.Assign(copy));
  EXPECT_EQ(copy.GetCount(), 2);
  TestSet empty;
  EXPECT_TRUE(copy.Assign(empty));
  EXPECT_TRUE(copy.IsEmpty());

  TestSet one;
  one.InsertNew(-1);
  one.Erase(0);
  EXPECT_TRUE(one.IsEmpty());
  try {
    one.Front();
    FAIL();
  } catch (const std::out_of_range& e) {
    EXPECT_EQ(e.what(), kAccess);
  }
}

TEST_F(ModuleSet, TopLevelKindWithoutPresenceAttributeFails) {
  ORN_dicom::TanIOD data;
  Text(data, 0x0008, 0x0060, "CT");
  ndl::TanImagePixelMacroModule set;
  EXPECT_FALSE(set.InitializeFromDataSet(FFile, data));
  EXPECT_STREQ(set.GetErrorText(), "error-occured-during-initialization-of-DICOM-object-module-DICOM-IMAGE-PIXEL-MACRO-MODULE");
  // A data set made in memory has no factory kind: writing needs a given factory.
  set.InsertNew(-1)->Set(1, 2, 0, 255, 16, 12, 4, 4, 11, 1.0);
  EXPECT_FALSE(set.Write(data));
  EXPECT_TRUE(set.Write(data, F()));
  EXPECT_EQ(StringOf(data, 0x00280004u), "MONOCHROME2");
}

}  // namespace
}  // namespace ndl_test
