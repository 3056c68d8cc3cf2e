// Records made over the items of pydicom's DICOMDIR (dicomdirtests/DICOMDIR): each record is
// its item, with the getters reading what the item holds.
#include <gtest/gtest.h>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/tests/RecordTestSupport.h"

namespace ORN_dicom {
namespace {

class DicomdirItemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::LoadDictionary();
    ASSERT_EQ(FFile.LoadFromFile(testing::PydicomFile("dicomdirtests/DICOMDIR"), true), "");
    iDDE* sequence = FFile.FDataSet.Find(0x00041220);
    ASSERT_NE(sequence, nullptr);
    FItems = sequence->GetSequence();
  }
  void TearDown() override {
    // The records own the items they were made over; the sequence lets go of them all.
    if (FItems != nullptr) FItems->ReleaseAll();
    FPatients.Clear();
    FLoose.Clear();
  }

  // A simple depth-first tree: every record below the last record of the level above.
  void Build() {
    TanItems items(*FItems);
    TanPatientIE* patient = nullptr;
    TanStudyIE* study = nullptr;
    TanSeriesIE* series = nullptr;
    for (uint32_t i = 0; i < items.Count(); ++i) {
      iDDE* item = FItems->At(i);
      const std::string type = TanDirectoryRecord::Trim(item->GetItem()->Find(0x00041430)->GetString());
      if (type == "PATIENT") patient = FPatients.AppendFromItem(item);
      else if (type == "STUDY") study = patient->FStudies.AppendFromItem(item);
      else if (type == "SERIES") series = study->FSeries.AppendFromItem(item);
      else if (type == "IMAGE") series->FImages.AppendFromItem(item);
      else FLoose.AppendFromItem(item);
    }
  }

  TanDicomFileObject FFile;
  TanDDESet<iDDE>* FItems = nullptr;
  TanIESet<TanPatientIE> FPatients;
  TanIESet<TanPrivateIE> FLoose;
};

TEST_F(DicomdirItemTest, TreeOfRecordsOverTheItems) {
  Build();
  ASSERT_EQ(FPatients.Count(), 2);
  EXPECT_EQ(FLoose.Count(), 0);
  TanPatientIE* p = FPatients.At(0);
  EXPECT_EQ(p->GetPatientID(), "77654033");
  EXPECT_EQ(p->GetRecordType(), "PATIENT");
  EXPECT_EQ(p->FStudies.At(0)->GetStudyInstanceUID(), "1.3.6.1.4.1.5962.1.1.0.0.0.1196527414.5534.0.1");
  TanSeriesIE* series = p->FStudies.At(0)->FSeries.At(0);
  EXPECT_EQ(series->GetModality(), "CR");
  EXPECT_EQ(series->GetSeriesNumber(), 1);
  EXPECT_EQ(series->GetStudy(), p->FStudies.At(0));
  TanImageIE* image = series->FImages.At(0);
  EXPECT_EQ(image->GetReferencedFileID(), "77654033\\CR1\\6154");
  EXPECT_EQ(image->GetReferencedFilePath(), "77654033/CR1/6154");
  EXPECT_EQ(image->GetInstanceNumber(), 1);
  EXPECT_EQ(FPatients.At(0)->GetImageCount() + FPatients.At(1)->GetImageCount(), 31);
  EXPECT_EQ(FPatients.At(0)->GetSeriesCount() + FPatients.At(1)->GetSeriesCount(), 13);

  // The subtrees together are the sequence's items: nothing added, nothing lost.
  uint32_t items = 0;
  for (uint32_t i = 0; i < FItems->Count(); ++i) items += FItems->At(i)->Size();
  EXPECT_EQ(FPatients.GetRecordsLength(), items);
}

TEST_F(DicomdirItemTest, RewritingOffsetsChangesNoSize) {
  Build();
  TanPatientIE* p = FPatients.At(0);
  const uint32_t before = p->GetSubtreeLength();
  p->SetNextRecordOffset(123456);
  p->SetLowerLevelOffset(654321);
  EXPECT_EQ(p->GetSubtreeLength(), before);
  EXPECT_EQ(p->GetDataSet().Find(0x00041400)->GetULong(), 123456u);
  EXPECT_EQ(p->GetDataSet().Find(0x00041420)->GetULong(), 654321u);
}

}  // namespace
}  // namespace ORN_dicom
