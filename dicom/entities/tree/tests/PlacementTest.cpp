#include <filesystem>
#include <fstream>

#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/entities/tree/tests/TreeFixture.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "fileset/settings/dicom_file_set_ini.h"

namespace tree_test {
namespace {

using ORN_dicom::TanGeneralDirectoryInfo;

const std::string kCT = "|sopclass=1.2.840.10008.5.1.4.1.1.2";

// A case: files added in this order to an empty tree, and the order expected.
struct Case {
  const char* what;
  std::vector<std::string> files;
  std::string expected;
};

class PlacementTest : public TreeFixture {
 protected:
  void TearDown() override {
    ORN_dicomdir::InitializeFileSetSettings(std::string());
    TreeFixture::TearDown();
  }
  // Writes the files of every case (folder c<n>, file <i>.dcm, SOP Instance UID 9.<n>.<i>),
  // inserts each case's files in order into a tree of its own and compares describe(tree).
  // InsertFileObject places the records; AddFile (whole) also runs the file set's series
  // ordering.
  template <class Describe>
  void Run(const std::vector<Case>& cases, const std::string& common, Describe describe, bool whole = false) {
    std::vector<std::string> lines;
    for (size_t c = 0; c < cases.size(); ++c)
      for (size_t i = 0; i < cases[c].files.size(); ++i)
        lines.push_back(Path(c, i) + "|sopuid=9." + std::to_string(c) + "." + std::to_string(i + 1) + common + "|" +
                        cases[c].files[i]);
    ASSERT_TRUE(MakeFiles(lines));
    for (size_t c = 0; c < cases.size(); ++c) {
      TanGeneralDirectoryInfo tree;
      for (size_t i = 0; i < cases[c].files.size(); ++i) {
        if (whole) {
          ASSERT_EQ(tree.AddFile(Path(c, i)), "") << cases[c].what;
          continue;
        }
        ORN_dicom::TanDicomFileObject file;
        ASSERT_EQ(file.LoadFromFile(Path(c, i), false), "");
        ASSERT_EQ(tree.InsertFileObject(file, nullptr, nullptr, nullptr), "") << cases[c].what;
      }
      EXPECT_EQ(describe(tree), cases[c].expected) << cases[c].what;
    }
  }
  static std::string Path(size_t c, size_t i) { return "c" + std::to_string(c) + "/" + std::to_string(i) + ".dcm"; }
};

TEST_F(PlacementTest, PatientsByNameInTheOrderAdded) {
  const std::vector<Case> cases = {
      {"by name", {"PatientID=1|PatientName=SMITH", "PatientID=2|PatientName=JONES", "PatientID=3|PatientName=TAYLOR"},
       "JONES/2 SMITH/1 TAYLOR/3 "},
      {"equal names stand in the order added",
       {"PatientID=B|PatientName=SMITH", "PatientID=A|PatientName=SMITH", "PatientID=C|PatientName=SMITH"},
       "SMITH/B SMITH/A SMITH/C "},
      {"byte order, a prefix first",
       {"PatientID=1|PatientName=SMITHSON", "PatientID=2|PatientName=smith", "PatientID=3|PatientName=SMITH"},
       "SMITH/3 SMITHSON/1 smith/2 "},
      {"a longer name is taken over and the patient keeps its place",
       {"PatientID=C|PatientName=JONES", "PatientID=D|PatientName=SMITH", "PatientID=C|PatientName=TAYLOR^ANN"},
       "TAYLOR^ANN/C SMITH/D "},
      {"a shorter or equally long name changes nothing",
       {"PatientID=C|PatientName=TAYLOR^ANN", "PatientID=C|PatientName=TAY", "PatientID=C|PatientName=TAYLOR^BOB"},
       "TAYLOR^ANN/C "},
  };
  Run(cases, kCT + "|StudyInstanceUID=1|SeriesInstanceUID=1.1|Modality=CT", [](TanGeneralDirectoryInfo& tree) {
    std::string order;
    for (auto* p : tree.FPatients) order += p->GetPatientName() + "/" + p->GetPatientID() + " ";
    return order;
  });
}

TEST_F(PlacementTest, StudiesNewestFirst) {
  const std::vector<Case> cases = {
      {"middle, old, new",
       {"StudyInstanceUID=1|StudyDate=20200601", "StudyInstanceUID=2|StudyDate=20100101",
        "StudyInstanceUID=3|StudyDate=20230101"},
       "3/20230101 1/20200601 2/20100101 "},
      {"same date: the stored time-less study reads as midnight, a new one with a time goes first",
       {"StudyInstanceUID=1|StudyDate=20200601", "StudyInstanceUID=2|StudyDate=20200601|StudyTime=080000"},
       "2/20200601 1/20200601 "},
      {"same date, both without time: the new one goes after",
       {"StudyInstanceUID=1|StudyDate=20200601", "StudyInstanceUID=2|StudyDate=20200601"},
       "1/20200601 2/20200601 "},
      {"same date and time: the new one goes first",
       {"StudyInstanceUID=1|StudyDate=20200601|StudyTime=1200", "StudyInstanceUID=2|StudyDate=20200601|StudyTime=1200"},
       "2/20200601 1/20200601 "},
      {"later times first within a date",
       {"StudyInstanceUID=1|StudyDate=20200601|StudyTime=0800", "StudyInstanceUID=2|StudyDate=20200601|StudyTime=1200",
        "StudyInstanceUID=3|StudyDate=20200601|StudyTime=10:00"},
       "2/20200601 3/20200601 1/20200601 "},
      {"a new study without a date goes to the end",
       {"StudyInstanceUID=1|StudyDate=20200101", "StudyInstanceUID=2", "StudyInstanceUID=3|StudyDate=20250101"},
       "3/20250101 1/20200101 2/ "},
      {"a new study never goes before a stored one without a date",
       {"StudyInstanceUID=1", "StudyInstanceUID=2|StudyDate=20250101"}, "1/ 2/20250101 "},
      {"a longer date is taken over and the study keeps its place",
       {"StudyInstanceUID=1|StudyDate=20200101", "StudyInstanceUID=2", "StudyInstanceUID=2|StudyDate=20250101"},
       "1/20200101 2/20250101 "},
  };
  Run(cases, kCT + "|PatientID=P|PatientName=X|SeriesInstanceUID=|Modality=CT", [](TanGeneralDirectoryInfo& tree) {
    std::string order;
    for (auto* s : tree.FPatients.At(0)->FStudies)
      order += s->GetStudyInstanceUID() + "/" + s->GetStudyDate() + " ";
    return order;
  });
}

std::string SeriesOrder(TanGeneralDirectoryInfo& tree) {
  std::string order;
  for (auto* s : tree.FPatients.At(0)->FStudies.At(0)->FSeries)
    order += s->GetModality() + std::to_string(s->GetSeriesNumber()) + ":" + s->GetSeriesInstanceUID() + " ";
  return order;
}

TEST_F(PlacementTest, SeriesByNumberNextToTheirModality) {
  const auto series = [](const std::string& uid, const std::string& modality, int number, const std::string& more = "") {
    return "SeriesInstanceUID=" + uid + "|Modality=" + modality + "|SeriesNumber=" + std::to_string(number) + more;
  };
  const std::vector<Case> cases = {
      {"MR1 CT2 MR3 stored (CT2 placed last, by number): a new CT4 goes right after CT2",
       {series("a", "MR", 1), series("c", "MR", 3), series("b", "CT", 2), series("d", "CT", 4)},
       "MR1:a CT2:b CT4:d MR3:c "},
      {"in front of the first series of its modality it goes before",
       {series("a", "CT", 2), series("b", "MR", 3), series("c", "MR", 1)}, "CT2:a MR1:c MR3:b "},
      {"a run that ends the set: before the first higher number of any modality, else appended",
       {series("a", "CT", 1), series("b", "MR", 2), series("c", "MR", 5), series("d", "CT", 0)},
       "CT0:d CT1:a MR2:b MR5:c "},
      {"a modality the study lacks goes before the first higher number",
       {series("a", "MR", 1), series("b", "CT", 3), series("c", "US", 2)}, "MR1:a US2:c CT3:b "},
      {"equal numbers: the earlier date first",
       {series("a", "CT", 1, "|SeriesDate=20200102"), series("b", "CT", 1, "|SeriesDate=20200101")},
       "CT1:b CT1:a "},
      {"equal number and date: the earlier time first",
       {series("a", "CT", 1, "|SeriesDate=20200101|SeriesTime=1200"),
        series("b", "CT", 1, "|SeriesDate=20200101|SeriesTime=0800")},
       "CT1:b CT1:a "},
      {"equal number, date and time: after",
       {series("a", "CT", 1, "|SeriesDate=20200101|SeriesTime=1200"),
        series("b", "CT", 1, "|SeriesDate=20200101|SeriesTime=1200")},
       "CT1:a CT1:b "},
      {"a stored series without Series Date is compared by its first image's Content Date",
       {series("a", "CT", 1, "|ContentDate=20200105"), series("b", "CT", 1, "|SeriesDate=20200110"),
        series("c", "CT", 1, "|SeriesDate=20200101")},
       "CT1:c CT1:a CT1:b "},
      {"a stored series without any date: a new one of the same number with a date goes first",
       {series("a", "CT", 1), series("b", "CT", 1, "|SeriesDate=20200101")}, "CT1:b CT1:a "},
      {"a longer date is taken over and the series keeps its place",
       {series("a", "CT", 1, "|SeriesDate=20200105"), series("b", "CT", 1),
        series("b", "CT", 1, "|SeriesDate=20200101")},
       "CT1:a CT1:b "},
  };
  Run(cases, kCT + "|PatientID=P|PatientName=X|StudyInstanceUID=1", SeriesOrder);
}

// With the series grouping at 0 or above every new series is appended and the file set's
// series ordering sorts them (0: by number, date and time).
TEST_F(PlacementTest, SeriesGroupingSettingLeavesTheOrderToOrganizeSeries) {
  std::ofstream("grouping.ini") << "[SERIES]\nGroupingByModalityType=0\n";
  ORN_dicomdir::InitializeFileSetSettings((FDir / "grouping.ini").string());
  const std::vector<Case> cases = {
      {"ordered by OrganizeSeries",
       {"SeriesInstanceUID=a|Modality=CT|SeriesNumber=4", "SeriesInstanceUID=b|Modality=MR|SeriesNumber=1",
        "SeriesInstanceUID=c|Modality=CT|SeriesNumber=2"},
       "MR1:b CT2:c CT4:a "},
  };
  Run(cases, kCT + "|PatientID=P|PatientName=X|StudyInstanceUID=1", SeriesOrder, true);
  // Appended: the file set's ordering has not run yet when the series is placed.
  TanGeneralDirectoryInfo tree;
  ASSERT_EQ(tree.AddFile(Path(0, 0)), "");
  ORN_dicom::TanDicomFileObject file;
  ASSERT_EQ(file.LoadFromFile(Path(0, 1), false), "");
  auto& set = tree.FPatients.At(0)->FStudies.At(0)->FSeries;
  int32_t index = -1;
  tree.FindOrAddSeries(set, file, index);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(set.At(1)->GetSeriesInstanceUID(), "b");
}

}  // namespace
}  // namespace tree_test
