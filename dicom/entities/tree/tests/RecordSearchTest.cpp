#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/entities/tree/tests/TreeFixture.h"

namespace tree_test {
namespace {

using ORN_dicom::TanGeneralDirectoryInfo;
using ORN_dicom::TanIEKind;

// P1: study 1 (series 1.1: two images and a presentation state; series 1.2: one image),
// study 2 (series 2.1: one image). P2: one HL7 document and no study.
class RecordSearchTest : public TreeFixture {
 protected:
  void SetUp() override {
    TreeFixture::SetUp();
    const std::string ct = "|sopclass=1.2.840.10008.5.1.4.1.1.2|PatientID=P1|PatientName=A|Modality=CT";
    ASSERT_TRUE(MakeFiles({
        "i1.dcm|sopuid=9.1|InstanceNumber=1|StudyInstanceUID=1|SeriesInstanceUID=1.1|SeriesNumber=1" + ct,
        "i2.dcm|sopuid=9.2|InstanceNumber=2|StudyInstanceUID=1|SeriesInstanceUID=1.1|SeriesNumber=1" + ct,
        "pr.dcm|sopuid=9.3|pixels=0|sopclass=1.2.840.10008.5.1.4.1.1.11.1|PatientID=P1|PatientName=A|Modality=CT"
        "|StudyInstanceUID=1|SeriesInstanceUID=1.1|SeriesNumber=1",
        "j1.dcm|sopuid=9.4|StudyInstanceUID=1|SeriesInstanceUID=1.2|SeriesNumber=2" + ct,
        "k1.dcm|sopuid=9.5|StudyInstanceUID=2|StudyDate=19990101|SeriesInstanceUID=2.1" + ct,
        "hl7.dcm|sopuid=9.6|pixels=0|sopclass=2.16.840.1.113883.1.7.1|PatientID=P2|PatientName=B",
    }));
    for (const char* p : {"i1.dcm", "i2.dcm", "pr.dcm", "j1.dcm", "k1.dcm", "hl7.dcm"})
      ASSERT_EQ(FTree.AddFile(p), "") << p;
  }
  ORN_dicom::TanStudyIE* Study(int32_t p, int32_t s) { return FTree.FPatients.At(p)->FStudies.At(s); }

  TanGeneralDirectoryInfo FTree;
};

TEST_F(RecordSearchTest, KeysOfMoreThan64CharactersFailAtOnce) {
  const std::string key65(65, '9');
  TanIEKind kind = ORN_dicom::ieNone;
  EXPECT_FALSE(FTree.DeleteInstance("9.1", key65.c_str(), nullptr, nullptr, &kind));
  EXPECT_FALSE(FTree.ContainsInstance(key65.c_str(), nullptr, nullptr, nullptr));
  EXPECT_FALSE(FTree.FindInstance(key65.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(FTree.DeleteSeries("1.1", nullptr, key65.c_str()), 0);
  EXPECT_EQ(kind, ORN_dicom::ieNone);
  EXPECT_TRUE(FTree.ContainsInstance(std::string(64, '9').c_str(), "", "", "") == false);
  EXPECT_TRUE(FTree.ContainsInstance(" 9.2 ", nullptr, "1", "P1"));
  EXPECT_FALSE(FTree.ContainsInstance("9.2", "1.2", nullptr, nullptr));
  EXPECT_FALSE(FTree.ContainsInstance("", nullptr, nullptr, nullptr));  // a blank key finds nothing
}

TEST_F(RecordSearchTest, FindInstanceReportsPositions) {
  int32_t instance = 77, series = 0, study = 0, patient = 0;
  TanIEKind kind = ORN_dicom::ieNone;
  ASSERT_TRUE(FTree.FindInstance("9.6", &instance, &series, &study, &patient, &kind));
  EXPECT_EQ(instance, 77);
  EXPECT_EQ(series, -1);
  EXPECT_EQ(study, -1);
  EXPECT_EQ(patient, 1);
  EXPECT_EQ(kind, ORN_dicom::ieHL7StrucDoc);
  ASSERT_TRUE(FTree.FindInstance("9.2", &instance, &series, &study, &patient, &kind));
  EXPECT_EQ(instance, 1);
  EXPECT_EQ(series, 0);
  EXPECT_EQ(study, 0);
  EXPECT_EQ(patient, 0);
  EXPECT_EQ(kind, ORN_dicom::ieImage);
  EXPECT_FALSE(FTree.FindInstance("1.2.3", &instance, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(RecordSearchTest, DeletingInstancesRemovesWhatBecomesEmpty) {
  TanIEKind kind = ORN_dicom::ieNone;
  EXPECT_TRUE(FTree.DeleteInstance("0.0", nullptr, nullptr, nullptr, &kind));
  EXPECT_EQ(kind, ORN_dicom::ieNone);
  ORN_dicom::TanSeriesIE* series = Study(0, 0)->FSeries.At(0);
  series->Stacks().AppendNew(static_cast<ORN_dicom::iDDE*>(nullptr));
  ASSERT_TRUE(FTree.DeleteInstance("9.1", nullptr, nullptr, nullptr, &kind));
  ASSERT_TRUE(FTree.DeleteInstance("9.2", "1.1", "1", "P1", &kind));
  EXPECT_EQ(kind, ORN_dicom::ieImage);
  EXPECT_EQ(Study(0, 0)->FSeries.Count(), 2);  // the presentation state keeps the series
  EXPECT_EQ(series->Stacks().Count(), 0);
  ASSERT_TRUE(FTree.DeleteInstance("9.3", nullptr, nullptr, nullptr, &kind));
  EXPECT_EQ(kind, ORN_dicom::iePresentation);
  EXPECT_EQ(Study(0, 0)->FSeries.Count(), 1);
  ASSERT_TRUE(FTree.DeleteInstance("9.4", nullptr, nullptr, nullptr, &kind));
  EXPECT_EQ(FTree.FPatients.At(0)->FStudies.Count(), 1);  // study 1 went with its last series
  // The HL7 document was all patient P2 had.
  ASSERT_TRUE(FTree.DeleteInstance("9.6", nullptr, nullptr, nullptr, &kind));
  EXPECT_EQ(kind, ORN_dicom::ieHL7StrucDoc);
  EXPECT_EQ(FTree.FPatients.Count(), 1);
}

TEST_F(RecordSearchTest, DeleteSeries) {
  EXPECT_EQ(FTree.DeleteSeries("none", nullptr, nullptr), -1);
  EXPECT_EQ(FTree.DeleteSeries("2.1", nullptr, "P1"), 1);
  ASSERT_EQ(FTree.FPatients.Count(), 2);
  ASSERT_EQ(FTree.FPatients.At(0)->FStudies.Count(), 1);  // study 2 went with its only series
  EXPECT_EQ(Study(0, 0)->GetStudyInstanceUID(), "1");
  EXPECT_EQ(FTree.DeleteSeries("1.2", "1", nullptr), 1);
  EXPECT_EQ(Study(0, 0)->FSeries.Count(), 1);
  EXPECT_EQ(FTree.DeleteSeries("1.1", nullptr, nullptr), 1);
  EXPECT_EQ(FTree.FPatients.Count(), 1);  // P1 is gone; P2 keeps its HL7 document
  EXPECT_EQ(FTree.FPatients.At(0)->GetPatientID(), "P2");
}

TEST_F(RecordSearchTest, EnsureStacksBuildsOnlyWhenAsked) {
  EXPECT_FALSE(FTree.EnsureStacks(false));
  for (auto* study : FTree.FPatients.At(0)->FStudies)
    for (auto* series : study->FSeries) EXPECT_EQ(series->Stacks().Count(), 0);
  EXPECT_TRUE(FTree.EnsureStacks(true));
  for (auto* study : FTree.FPatients.At(0)->FStudies)
    for (auto* series : study->FSeries) EXPECT_GT(series->Stacks().Count(), 0) << series->GetSeriesInstanceUID();
  EXPECT_TRUE(FTree.EnsureStacks(false));
  EXPECT_TRUE(FTree.OrganizeAllStudies());
}

}  // namespace
}  // namespace tree_test
