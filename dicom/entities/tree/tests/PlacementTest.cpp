#include <filesystem>
#include <fstream>

#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/entities/tree/tests/TreeFixture.h"
#include "fileset/settings/dicom_file_set_ini.h"

namespace tree_test {
namespace {

using ORN_dicom::TanGeneralDirectoryInfo;

const std::string kCT = "|sopclass=1.2.840.10008.5.1.4.1.1.2";

class PlacementTest : public TreeFixture {
 protected:
  void TearDown() override {
    ORN_dicomdir::InitializeFileSetSettings(std::string());
    TreeFixture::TearDown();
  }
  void AddAll(TanGeneralDirectoryInfo& tree, const std::vector<std::string>& paths) {
    for (const std::string& p : paths) ASSERT_EQ(tree.AddFile(p), "") << p;
  }
  static std::string Series(const ORN_dicom::TanStudyIE& study) {
    std::string text;
    for (auto* s : study.FSeries) text += s->GetModality() + std::to_string(s->GetSeriesNumber()) + " ";
    return text;
  }
};

TEST_F(PlacementTest, PatientsByNameThenIDAndTheLongerNameIsKept) {
  ASSERT_TRUE(MakeFiles({
      "1.dcm|sopuid=1.1|PatientID=B|PatientName=SMITH|StudyInstanceUID=1|SeriesInstanceUID=1.1|Modality=CT" + kCT,
      "2.dcm|sopuid=1.2|PatientID=A|PatientName=SMITH|StudyInstanceUID=2|SeriesInstanceUID=2.1|Modality=CT" + kCT,
      "3.dcm|sopuid=1.3|PatientID=C|PatientName=JONES|StudyInstanceUID=3|SeriesInstanceUID=3.1|Modality=CT" + kCT,
      "4.dcm|sopuid=1.4|PatientID=C|PatientName=TAYLOR^ANN|StudyInstanceUID=3|SeriesInstanceUID=3.1|Modality=CT" + kCT,
      "5.dcm|sopuid=1.5|PatientID=C|PatientName=TAY|StudyInstanceUID=3|SeriesInstanceUID=3.1|Modality=CT" + kCT,
  }));
  TanGeneralDirectoryInfo tree;
  AddAll(tree, {"1.dcm", "2.dcm", "3.dcm"});
  std::string order;
  for (auto* p : tree.FPatients) order += p->GetPatientName() + "/" + p->GetPatientID() + " ";
  EXPECT_EQ(order, "JONES/C SMITH/A SMITH/B ");
  // A longer name is taken over and the patient moves to the place of its new name; a shorter
  // one changes nothing.
  AddAll(tree, {"4.dcm", "5.dcm"});
  order.clear();
  for (auto* p : tree.FPatients) order += p->GetPatientName() + "/" + p->GetPatientID() + " ";
  EXPECT_EQ(order, "SMITH/A SMITH/B TAYLOR^ANN/C ");
}

TEST_F(PlacementTest, StudiesNewestFirst) {
  const std::string p = "|PatientID=P|PatientName=X|Modality=CT" + kCT;
  ASSERT_TRUE(MakeFiles({
      "mid.dcm|sopuid=2.1|StudyInstanceUID=1.1|StudyDate=20200601|SeriesInstanceUID=1.1.1" + p,
      "old.dcm|sopuid=2.2|StudyInstanceUID=1.2|StudyDate=20100101|SeriesInstanceUID=1.2.1" + p,
      "new.dcm|sopuid=2.3|StudyInstanceUID=1.3|StudyDate=20230101|SeriesInstanceUID=1.3.1" + p,
      "notime.dcm|sopuid=2.4|StudyInstanceUID=1.4|StudyDate=20200601|SeriesInstanceUID=1.4.1" + p,
      "timed.dcm|sopuid=2.5|StudyInstanceUID=1.5|StudyDate=20200601|StudyTime=080000|SeriesInstanceUID=1.5.1" + p,
  }));
  TanGeneralDirectoryInfo tree;
  AddAll(tree, {"mid.dcm", "old.dcm", "new.dcm", "notime.dcm", "timed.dcm"});
  std::string order;
  for (auto* s : tree.FPatients.At(0)->FStudies) order += s->GetStudyInstanceUID() + " ";
  // Same date: a study with a time goes before those without (midnight); without times the
  // UID settles it.
  EXPECT_EQ(order, "1.3 1.5 1.1 1.4 1.2 ");
}

TEST_F(PlacementTest, SeriesStandInModalityRuns) {
  const std::string s = "|PatientID=P|PatientName=X|StudyInstanceUID=1" + kCT;
  ASSERT_TRUE(MakeFiles({
      "mr1.dcm|sopuid=3.1|SeriesInstanceUID=1.1|Modality=MR|SeriesNumber=1" + s,
      "ct2.dcm|sopuid=3.2|SeriesInstanceUID=1.2|Modality=CT|SeriesNumber=2" + s,
      "mr3.dcm|sopuid=3.3|SeriesInstanceUID=1.3|Modality=MR|SeriesNumber=3" + s,
      "ct4.dcm|sopuid=3.4|SeriesInstanceUID=1.4|Modality=CT|SeriesNumber=4" + s,
      "us0.dcm|sopuid=3.5|SeriesInstanceUID=1.5|Modality=US|SeriesNumber=0" + s,
  }));
  {
    TanGeneralDirectoryInfo tree;
    AddAll(tree, {"mr1.dcm", "ct2.dcm", "mr3.dcm", "ct4.dcm"});
    EXPECT_EQ(Series(*tree.FPatients.At(0)->FStudies.At(0)), "MR1 MR3 CT2 CT4 ");
    // A modality the study lacks goes by its number among the runs.
    AddAll(tree, {"us0.dcm"});
    EXPECT_EQ(Series(*tree.FPatients.At(0)->FStudies.At(0)), "US0 MR1 MR3 CT2 CT4 ");
  }
  // With the series grouping at 0 or above every new series is appended and the file set's
  // series ordering sorts them (0: by number, date and time).
  {
    std::ofstream("grouping.ini") << "[SERIES]\nGroupingByModalityType=0\n";
    ORN_dicomdir::InitializeFileSetSettings((FDir / "grouping.ini").string());
    TanGeneralDirectoryInfo tree;
    AddAll(tree, {"ct4.dcm", "mr1.dcm", "ct2.dcm"});
    EXPECT_EQ(Series(*tree.FPatients.At(0)->FStudies.At(0)), "MR1 CT2 CT4 ");
  }
}

TEST_F(PlacementTest, StoredSeriesWithoutDateUsesItsFirstImage) {
  const std::string s = "|PatientID=P|PatientName=X|StudyInstanceUID=1|Modality=CT|SeriesNumber=1" + kCT;
  ASSERT_TRUE(MakeFiles({
      "late.dcm|sopuid=4.1|SeriesInstanceUID=1.1|ContentDate=20200105" + s,
      "early.dcm|sopuid=4.2|SeriesInstanceUID=1.2|SeriesDate=20200101" + s,
      "undated.dcm|sopuid=4.3|SeriesInstanceUID=1.0" + s,
  }));
  TanGeneralDirectoryInfo tree;
  AddAll(tree, {"late.dcm", "undated.dcm", "early.dcm"});
  std::string order;
  for (auto* r : tree.FPatients.At(0)->FStudies.At(0)->FSeries) order += r->GetSeriesInstanceUID() + " ";
  EXPECT_EQ(order, "1.2 1.1 1.0 ");
}

}  // namespace
}  // namespace tree_test
