#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/PresentationStateRelationshipModule.h"
#include "dicom/modules/tests/ModulesTestSupport.h"

namespace ndl_test {
namespace {

using ORN_dicom::iDDE;
using ndl_impl::TanImageSOPInstanceReferenceMacro;

class Relationship : public ModulesTest {
 protected:
  // One (0008,1115) item with a series UID (null: none) and one referenced image whose
  // frame text is null for no (0008,1160); instance null leaves out (0008,1155).
  void Series(ndl::DataSet& set, const char* uid, const char* instance, const char* frames, bool withImages = true) {
    iDDE* sq = set.Find(0x00081115u);
    if (sq == nullptr) {
      sq = F()->MakeSequence(0x0008, 0x1115, 0);
      set.Insert(sq);
    }
    iDDE* item = F()->MakeItem(0);
    if (uid) item->GetItem()->Insert(F()->MakeDDE(0x0020, 0x000E, 1, uid));
    if (withImages) {
      iDDE* images = F()->MakeSequence(0x0008, 0x1140, 0);
      iDDE* image = F()->MakeItem(0);
      image->GetItem()->Insert(F()->MakeDDE(0x0008, 0x1150, 1, "1.2.840.10008.5.1.4.1.1.2 "));
      if (instance) image->GetItem()->Insert(F()->MakeDDE(0x0008, 0x1155, 1, instance));
      if (frames) image->GetItem()->Insert(F()->MakeDDE(0x0008, 0x1160, 1, frames));
      images->GetSequence()->Append(image);
      item->GetItem()->Insert(images);
    }
    sq->GetSequence()->Append(item);
  }
  ORN_dicom::TanDicomFileObject FFile;
};

TEST_F(Relationship, ReadsSeriesAndFrames) {
  ORN_dicom::TanIOD data;
  Series(data, "1.1", nullptr, nullptr, false);
  Series(data, "1.2", "9.9", nullptr);
  Series(data, "1.3", "9.9", "1\\3");
  ndl::TanPresentationStateRelationshipModule set;
  ASSERT_TRUE(set.InitializeFrame(FFile, data)) << set.GetErrorText();
  ASSERT_EQ(set.GetCount(), 3);
  EXPECT_TRUE(set.At(0)->FReferences->IsEmpty());
  const TanImageSOPInstanceReferenceMacro frame7(0, "1.2.840.10008.5.1.4.1.1.2", "9.9", 7), frame2(0, "1.2.840.10008.5.1.4.1.1.2", "9.9", 2),
      frame3(0, "1.2.840.10008.5.1.4.1.1.2", "9.9", 3);
  EXPECT_TRUE(set.At(1)->FReferences->Contains(&frame7));
  EXPECT_EQ(set.At(2)->FReferences->GetCount(), 2u);
  EXPECT_FALSE(set.At(2)->FReferences->Contains(&frame2));
  EXPECT_TRUE(set.At(2)->FReferences->Contains(&frame3));

  ORN_dicom::TanIOD out;
  ASSERT_TRUE(set.Write(out, F()));
  ndl::TanPresentationStateRelationshipModule back;
  ASSERT_TRUE(back.InitializeFromDataSet(FFile, out));
  ASSERT_EQ(back.GetCount(), 3);
  EXPECT_STREQ(back.At(2)->GetSeriesInstanceUID(), "1.3");
  EXPECT_EQ(back.At(2)->FReferences->GetCount(), 2u);
  EXPECT_TRUE(back.At(0)->FReferences->IsEmpty());
}

TEST_F(Relationship, BadItemsAndElementRules) {
  ORN_dicom::TanIOD bad;
  Series(bad, "1.1", "9.9", nullptr);
  Series(bad, "1.2", nullptr, nullptr);
  ndl::TanPresentationStateRelationshipModule set;
  EXPECT_FALSE(set.InitializeFromDataSet(FFile, bad));
  ORN_dicom::TanIOD noUID;
  Series(noUID, nullptr, "9.9", nullptr);
  EXPECT_FALSE(set.InitializeFromDataSet(FFile, noUID));

  ndl_impl::TanPresentationStateRelationship<> e;
  EXPECT_EQ(e.GetSeriesInstanceUID(), nullptr);
  ASSERT_TRUE(e.Initialize("1.5"));
  e.FReferences->InsertNew(-1).SetReference("1", "2", 0);
  EXPECT_FALSE(e.Initialize(""));
  EXPECT_EQ(e.FReferences->GetCount(), 1u);
  ASSERT_TRUE(e.Initialize("1.6"));
  EXPECT_EQ(e.FReferences->GetCount(), 0u);
  ndl_impl::TanPresentationStateRelationship<> empty;
  EXPECT_FALSE(e.Assign(empty));
  EXPECT_STREQ(e.GetSeriesInstanceUID(), "1.6");
  e = empty;
  EXPECT_TRUE(e.IsEmpty());
}

}  // namespace
}  // namespace ndl_test
