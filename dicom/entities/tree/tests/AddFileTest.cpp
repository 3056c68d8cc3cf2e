#include <filesystem>
#include <fstream>
#include <iostream>

#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/entities/tree/tests/TreeFixture.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "platform/files/FileHandle.h"
#include "platform/files/FileTime.h"

namespace tree_test {
namespace {

using ORN_dicom::TanGeneralDirectoryInfo;
namespace fs = std::filesystem;

constexpr char kCT[] = "1.2.840.10008.5.1.4.1.1.2";
// Patient, study and series of one CT image; add "|sopuid=...|InstanceNumber=..." and the rest.
const std::string kCTBase = std::string("|sopclass=") + kCT +
                            "|PatientID=P1|PatientName=DOE^J|StudyInstanceUID=1.2.1|SeriesInstanceUID=1.2.1.1"
                            "|Modality=CT|SeriesNumber=1";

std::string PatientIDIn(const std::string& path) {
  ORN_dicom::TanDicomFileObject file;
  if (!file.LoadFromFile(path, false).empty()) return "<unreadable>";
  ORN_dicom::iDDE* e = file.FDataSet.Find(0x00100020u);
  return e == nullptr ? "<absent>" : e->GetString();
}

std::string TransferSyntaxOf(const std::string& path) {
  ORN_dicom::TanDicomFileObject file;
  if (!file.LoadFromFile(path, false).empty()) return "<unreadable>";
  ORN_dicom::iDDE* e = file.FMetaGroup.Find(0x00020010u);
  return e == nullptr ? "<absent>" : ORN_dicom::TrimText(e->GetString());
}

class AddFileTest : public TreeFixture {};

TEST_F(AddFileTest, RefusalsNameTheFileAndChangeNothing) {
  ASSERT_TRUE(MakeFiles({
      "dicomdir.dcm|sopclass=1.2.840.10008.1.3.10|pixels=0|PatientID=P",
      "unknown.dcm|sopclass=1.2.3.4.5|sopuid=9.1|StudyInstanceUID=1.2.1|AccessionNumber=ACC",
      "patient.dcm|sopclass=1.2.840.10008.3.1.2.1.1|sopuid=9.2|pixels=0|PatientID=P",
      "nopixel.dcm|sopuid=9.3|pixels=0" + kCTBase,
      "noid.dcm|sopuid=9.4|PatientID=|StudyInstanceUID= |Modality=CT|SeriesInstanceUID=1.1",
  }));
  const auto before = Snapshot();
  TanGeneralDirectoryInfo tree;
  struct Case {
    const char* path;
    std::string message;
  } cases[] = {
      {"dicomdir.dcm", "The file \"dicomdir.dcm\" is Dicom Directory File."},
      {"unknown.dcm", "Unsupported Information Entity for the file \"unknown.dcm\"."},
      {"patient.dcm", "Unsupported Information Entity for the file \"patient.dcm\"."},
      {"nopixel.dcm", "Some attributes of Image Pixel Macro Module in the file \"nopixel.dcm\" are not correct."},
      {"noid.dcm", "Cannot define PatientID in the file \"noid.dcm\"."},
      {"missing.dcm", ""},
  };
  for (const Case& c : cases) {
    const std::string result = tree.AddFile(c.path);
    if (c.message.empty()) {
      EXPECT_FALSE(result.empty()) << c.path;
    } else {
      EXPECT_EQ(result, c.message);
    }
  }
  EXPECT_EQ(tree.FPatients.Count(), 0);
  // The unsupported file had no Patient ID but an Accession Number: refused, so not rewritten.
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(AddFileTest, EmptyDataSetIsRefused) {
  ASSERT_TRUE(MakeFiles({"meta_only.dcm|sopuid=9.9|pixels=0"}));
  // Strip the data set: keep the preamble and the meta group only.
  ORN_dicom::TanDicomFileObject file;
  ASSERT_EQ(file.LoadFromFile("meta_only.dcm", false), "");
  while (file.FDataSet.Count() > 0) file.FDataSet.DeleteAt(0);
  TanGeneralDirectoryInfo tree;
  EXPECT_EQ(tree.InsertFileObject(file, nullptr, nullptr, nullptr),
            "A content of the file \"meta_only.dcm\" is empty.");
}

TEST_F(AddFileTest, MissingPatientIDIsWrittenSafelyInTheFilesOwnSyntax) {
  ASSERT_TRUE(MakeFiles({
      "acc.dcm|sopuid=2.1|ts=implicit|StudyInstanceUID=1.2.9|AccessionNumber=ACC7  |SeriesInstanceUID=1.2.9.1"
      "|Modality=CT",
      "uid.dcm|sopuid=2.2|PatientID=|StudyInstanceUID=1.2.8|SeriesInstanceUID=1.2.8.1|Modality=MR",
  }));
  TanGeneralDirectoryInfo tree;
  EXPECT_EQ(tree.AddFile("acc.dcm"), "");
  EXPECT_EQ(tree.AddFile("uid.dcm"), "");
  EXPECT_EQ(PatientIDIn("acc.dcm"), "ACC7");
  EXPECT_EQ(TransferSyntaxOf("acc.dcm"), "1.2.840.10008.1.2");  // still implicit VR
  EXPECT_EQ(PatientIDIn("uid.dcm"), "1.2.8");
  ASSERT_EQ(tree.FPatients.Count(), 2);
  // Both without a name: in the order added.
  EXPECT_EQ(tree.FPatients.At(0)->GetPatientID() + "," + tree.FPatients.At(1)->GetPatientID(), "ACC7,1.2.8");
  // pydicom reads the rewritten implicit file back with the new element.
  const std::string check =
      "/usr/bin/python3 -c \"import pydicom,sys; d=pydicom.dcmread('acc.dcm'); "
      "sys.exit(0 if d.PatientID=='ACC7' and d.file_meta.TransferSyntaxUID=='1.2.840.10008.1.2' else 1)\"";
  EXPECT_EQ(std::system(check.c_str()), 0);
  // No temporary left beside the files.
  for (const auto& entry : fs::directory_iterator(FDir))
    EXPECT_TRUE(entry.path().extension() == ".dcm") << entry.path();
}

TEST_F(AddFileTest, HangingProtocolNeedsNoPatient) {
  ASSERT_TRUE(MakeFiles({"hp.dcm|sopclass=1.2.840.10008.5.1.4.38.1|sopuid=7.1|pixels=0|HangingProtocolName=HP"}));
  const auto before = Snapshot();
  TanGeneralDirectoryInfo tree;
  EXPECT_EQ(tree.AddFile("hp.dcm"), "");
  EXPECT_EQ(tree.FHangingProtocols.Count(), 1);
  EXPECT_EQ(tree.FPatients.Count(), 0);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(AddFileTest, FailedInstanceLeavesNoEmptyBranch) {
  // A pixel module without Pixel Data: the module reads, the IMAGE record cannot be made.
  ASSERT_TRUE(MakeFiles({"ok.dcm|sopuid=3.1" + kCTBase,
                         "bad.dcm|sopuid=3.2|pixels=1|PatientID=P2|PatientName=B"
                         "|StudyInstanceUID=1.3|SeriesInstanceUID=1.3.1|Modality=CT|sopclass=" +
                             std::string(kCT)}));
  {
    // Drop the pixel data of bad.dcm.
    ORN_dicom::TanDicomFileObject file;
    ASSERT_EQ(file.LoadFromFile("bad.dcm", false), "");
    const int32_t i = file.FDataSet.IndexOf(0x7FE00010u);
    ASSERT_GE(i, 0);
    file.FDataSet.DeleteAt(static_cast<uint32_t>(i));
    ASSERT_TRUE(file.SaveToFile(""));
  }
  TanGeneralDirectoryInfo tree;
  ASSERT_EQ(tree.AddFile("ok.dcm"), "");
  const std::string before = Describe(tree);
  EXPECT_NE(tree.AddFile("bad.dcm"), "");
  EXPECT_EQ(Describe(tree), before);
}

// Sets a file's creation time where the file system allows it, and its last write time.
void SetTimes(const std::string& path, uint64_t ticks) {
  platform::FileHandle h = platform::CreateFile(path, platform::access::GenericWrite, platform::share::Read,
                                                platform::Disposition::OpenExisting, 0);
  ASSERT_NE(h, platform::kInvalidFileHandle);
  platform::FileTime t{ticks};
  platform::SetFileTime(h, &t, nullptr, nullptr);  // unsupported here and there: then ignored
  ASSERT_TRUE(platform::SetFileTime(h, nullptr, nullptr, &t));
  platform::CloseFile(h);
}

constexpr uint64_t k2020 = 132223104000000000ull;
constexpr uint64_t kHour = 36000000000ull;

// The newer file wins; a winning new record takes the stored record's place, whatever its keys.
TEST_F(AddFileTest, DuplicatesKeepTheNewerFileAndDeleteNothing) {
  ASSERT_TRUE(MakeFiles({"old.dcm|sopuid=4.1|InstanceNumber=1" + kCTBase, "new.dcm|sopuid=4.1|InstanceNumber=5" + kCTBase,
                         "mid.dcm|sopuid=4.2|InstanceNumber=3" + kCTBase}));
  SetTimes("old.dcm", k2020);
  SetTimes("new.dcm", k2020 + kHour);
  const auto files = Snapshot();
  for (bool newFirst : {false, true}) {
    SCOPED_TRACE(newFirst ? "newer first" : "older first");
    TanGeneralDirectoryInfo tree;
    const std::string first = tree.AddFile(newFirst ? "new.dcm" : "old.dcm");
    EXPECT_EQ(tree.AddFile("mid.dcm"), "");
    const std::string second = tree.AddFile(newFirst ? "old.dcm" : "new.dcm");
    EXPECT_EQ(first, "");
    const auto displaced = tree.TakeDuplicateFiles();
    auto& images = tree.FPatients.At(0)->FStudies.At(0)->FSeries.At(0)->FImages;
    ASSERT_EQ(images.Count(), 2);
    if (newFirst) {
      EXPECT_EQ(second, "The file \"old.dcm\" holds the same SOP instance as the file \"new.dcm\".");
      EXPECT_TRUE(displaced.empty());
      EXPECT_EQ(images.At(0)->GetReferencedFileID() + " " + images.At(1)->GetReferencedFileID(), "mid.dcm new.dcm");
    } else {
      EXPECT_EQ(second, "");
      ASSERT_EQ(displaced.size(), 1u);
      EXPECT_EQ(displaced[0].path, "old.dcm");
      EXPECT_EQ(displaced[0].reason, "The file \"old.dcm\" holds the same SOP instance as the file \"new.dcm\".");
      // number 5 where number 1 stood: the order is not looked at again
      EXPECT_EQ(images.At(0)->GetReferencedFileID() + " " + images.At(1)->GetReferencedFileID(), "new.dcm mid.dcm");
    }
    EXPECT_EQ(Snapshot(), files);
  }
}

// Three files of one SOP instance under one patient, each with its own Patient Name and Series
// Time. Whatever the order of adding, the patient and the series hold what the kept (newest)
// file holds: a refused file changes nothing, and a displaced file's texts go with it.
TEST_F(AddFileTest, RecordsTakeTheirAttributesFromTheFileTheyKeep) {
  const std::string base = std::string("|sopuid=6.1|InstanceNumber=1|sopclass=") + kCT +
                           "|PatientID=P1|StudyInstanceUID=1.2.1|SeriesInstanceUID=1.2.1.1|Modality=CT|SeriesNumber=1";
  ASSERT_TRUE(MakeFiles({"newest.dcm|PatientName=DOE^J|SeriesTime=10" + base,
                         "oldest.dcm|PatientName=DOE^JOHNATHAN^LONGNAME|SeriesTime=101010.123" + base,
                         "middle.dcm|PatientName=DOE^JO|SeriesTime=1010" + base}));
  SetTimes("oldest.dcm", k2020);
  SetTimes("middle.dcm", k2020 + kHour);
  SetTimes("newest.dcm", k2020 + 2 * kHour);
  const std::vector<std::vector<std::string>> orders = {{"newest.dcm", "oldest.dcm", "middle.dcm"},
                                                        {"middle.dcm", "oldest.dcm", "newest.dcm"},
                                                        {"oldest.dcm", "middle.dcm", "newest.dcm"},
                                                        {"middle.dcm", "newest.dcm", "oldest.dcm"}};
  for (const auto& order : orders) {
    SCOPED_TRACE(order[0] + " " + order[1] + " " + order[2]);
    TanGeneralDirectoryInfo tree;
    for (const std::string& file : order) tree.AddFile(file);
    ASSERT_EQ(tree.FPatients.Count(), 1);
    auto* series = tree.FPatients.At(0)->FStudies.At(0)->FSeries.At(0);
    ASSERT_EQ(series->FImages.Count(), 1);
    EXPECT_EQ(series->FImages.At(0)->GetReferencedFileID(), "newest.dcm");
    EXPECT_EQ(tree.FPatients.At(0)->GetPatientName(), "DOE^J");
    EXPECT_EQ(series->GetSeriesTime(), "10");
  }
  // Files of different instances still lend a found patient their longer name.
  ASSERT_TRUE(MakeFiles({"other.dcm|PatientName=DOE^JOHN|sopuid=6.2|InstanceNumber=2|sopclass=" + std::string(kCT) +
                         "|PatientID=P1|StudyInstanceUID=1.2.1|SeriesInstanceUID=1.2.1.1|Modality=CT|SeriesNumber=1"}));
  TanGeneralDirectoryInfo tree;
  EXPECT_EQ(tree.AddFile("newest.dcm"), "");
  EXPECT_EQ(tree.AddFile("other.dcm"), "");
  EXPECT_EQ(tree.FPatients.At(0)->GetPatientName(), "DOE^JOHN");
}

// STEREOMETRIC records of one class: in front of the first when its file is older, else further
// down the run, in front of the first older file.
TEST_F(AddFileTest, StereometricRecordsByFileTime) {
  const std::string s = "|pixels=0|sopclass=1.2.840.10008.5.1.4.1.1.77.1.5.3|PatientID=P1|PatientName=DOE^J"
                        "|StudyInstanceUID=1.2.1|SeriesInstanceUID=1.2.1.9|Modality=SMR";
  ASSERT_TRUE(MakeFiles({"s1.dcm|sopuid=5.1" + s, "s2.dcm|sopuid=5.2" + s, "s3.dcm|sopuid=5.3" + s,
                         "s4.dcm|sopuid=5.4" + s}));
  SetTimes("s1.dcm", k2020 + 2 * kHour);
  SetTimes("s2.dcm", k2020);
  SetTimes("s3.dcm", k2020 + 4 * kHour);
  SetTimes("s4.dcm", k2020 + kHour);
  TanGeneralDirectoryInfo tree;
  for (const char* p : {"s1.dcm", "s2.dcm", "s3.dcm", "s4.dcm"}) ASSERT_EQ(tree.AddFile(p), "") << p;
  std::string order;
  for (auto* r : tree.FPatients.At(0)->FStudies.At(0)->FSeries.At(0)->FStereometrics)
    order += r->GetReferencedFileID() + " ";
  EXPECT_EQ(order, "s3.dcm s1.dcm s4.dcm s2.dcm ");
}

// Hanging protocols and HL7 documents: the same rule; a new record goes in file-time order, a
// winning one takes the loser's place.
TEST_F(AddFileTest, RootAndPatientDocumentsFollowTheDuplicateRule) {
  const std::string hp = "|sopclass=1.2.840.10008.5.1.4.38.1|pixels=0";
  const std::string hl7 = "|sopclass=2.16.840.1.113883.1.7.1|pixels=0|PatientID=P|PatientName=X";
  ASSERT_TRUE(MakeFiles({"hp_old.dcm|sopuid=7.1" + hp, "hp_new.dcm|sopuid=7.1" + hp, "hp_other.dcm|sopuid=7.2" + hp,
                         "h_old.dcm|sopuid=8.1" + hl7, "h_new.dcm|sopuid=8.1" + hl7}));
  SetTimes("hp_old.dcm", k2020);
  SetTimes("hp_new.dcm", k2020 + 2 * kHour);
  SetTimes("hp_other.dcm", k2020 + kHour);
  SetTimes("h_old.dcm", k2020);
  SetTimes("h_new.dcm", k2020 + kHour);
  const auto files = Snapshot();
  for (bool newFirst : {false, true}) {
    SCOPED_TRACE(newFirst ? "newer first" : "older first");
    TanGeneralDirectoryInfo tree;
    const std::vector<std::string> order =
        newFirst ? std::vector<std::string>{"hp_new.dcm", "h_new.dcm", "hp_other.dcm", "hp_old.dcm", "h_old.dcm"}
                 : std::vector<std::string>{"hp_old.dcm", "h_old.dcm", "hp_other.dcm", "hp_new.dcm", "h_new.dcm"};
    int refused = 0;
    for (const std::string& p : order) refused += tree.AddFile(p).empty() ? 0 : 1;
    EXPECT_EQ(refused + static_cast<int>(tree.TakeDuplicateFiles().size()), 2);
    ASSERT_EQ(tree.FHangingProtocols.Count(), 2);
    EXPECT_EQ(tree.FHangingProtocols.At(0)->GetReferencedFileID() + " " +
                  tree.FHangingProtocols.At(1)->GetReferencedFileID(),
              newFirst ? "hp_other.dcm hp_new.dcm" : "hp_new.dcm hp_other.dcm");
    ASSERT_EQ(tree.FPatients.Count(), 1);
    ASSERT_EQ(tree.FPatients.At(0)->FHL7StrucDocs.Count(), 1);
    EXPECT_EQ(tree.FPatients.At(0)->FHL7StrucDocs.At(0)->GetReferencedFileID(), "h_new.dcm");
    EXPECT_EQ(Snapshot(), files);
  }
}

TEST_F(AddFileTest, SameFileTwiceAndBlankUIDsAreNoDuplicates) {
  ASSERT_TRUE(MakeFiles({"a.dcm|sopuid=5.1|InstanceNumber=1" + kCTBase, "b1.dcm|sopuid= |InstanceNumber=2" + kCTBase,
                         "b2.dcm|sopuid= |InstanceNumber=3" + kCTBase}));
  fs::create_hard_link("a.dcm", "a_link.dcm");
  const auto files = Snapshot();
  TanGeneralDirectoryInfo tree;
  EXPECT_EQ(tree.AddFile("a.dcm"), "");
  EXPECT_EQ(tree.AddFile("a.dcm"), "");
  EXPECT_EQ(tree.AddFile("./a_link.dcm"), "");
  EXPECT_EQ(tree.AddFile("b1.dcm"), "");
  EXPECT_EQ(tree.AddFile("b2.dcm"), "");
  EXPECT_TRUE(tree.TakeDuplicateFiles().empty());
  auto& images = tree.FPatients.At(0)->FStudies.At(0)->FSeries.At(0)->FImages;
  ASSERT_EQ(images.Count(), 3);
  EXPECT_EQ(images.At(0)->GetReferencedFileID(), "a.dcm");
  EXPECT_EQ(Snapshot(), files);
}

TEST_F(AddFileTest, RefusedDuplicateWithoutPatientIDIsNotRewritten) {
  ASSERT_TRUE(
      MakeFiles({"kept.dcm|sopuid=6.1|PatientID=ACC|AccessionNumber=ACC|StudyInstanceUID=1.6"
                 "|SeriesInstanceUID=1.6.1|Modality=CT|sopclass=" +
                     std::string(kCT),
                 "dup.dcm|sopuid=6.1|AccessionNumber=ACC|StudyInstanceUID=1.6|SeriesInstanceUID=1.6.1"
                 "|Modality=CT|sopclass=" +
                     std::string(kCT)}));
  SetTimes("kept.dcm", k2020 + kHour);
  SetTimes("dup.dcm", k2020);
  const auto files = Snapshot();
  TanGeneralDirectoryInfo tree;
  EXPECT_EQ(tree.AddFile("kept.dcm"), "");
  EXPECT_EQ(tree.AddFile("dup.dcm"), "The file \"dup.dcm\" holds the same SOP instance as the file \"kept.dcm\".");
  EXPECT_EQ(Snapshot(), files);
  EXPECT_EQ(PatientIDIn("dup.dcm"), "<absent>");
}

TEST_F(AddFileTest, PatientIDThatCannotBeWrittenRefusesTheFile) {
  ASSERT_TRUE(
      MakeFiles({"stored.dcm|sopuid=6.5|PatientID=ACC|AccessionNumber=ACC|StudyInstanceUID=1.6"
                 "|SeriesInstanceUID=1.6.1|Modality=CT|sopclass=" +
                     std::string(kCT),
                 "newer.dcm|sopuid=6.5|AccessionNumber=ACC|StudyInstanceUID=1.6|SeriesInstanceUID=1.6.1"
                 "|Modality=CT|sopclass=" +
                     std::string(kCT),
                 "alone.dcm|sopuid=6.6|AccessionNumber=NEW|StudyInstanceUID=1.7|SeriesInstanceUID=1.7.1"
                 "|Modality=CT|sopclass=" +
                     std::string(kCT)}));
  SetTimes("stored.dcm", k2020);
  SetTimes("newer.dcm", k2020 + kHour);
  const auto files = Snapshot();
  TanGeneralDirectoryInfo tree;
  ASSERT_EQ(tree.AddFile("stored.dcm"), "");
  const std::string before = Describe(tree);
  ORN_dicom::TanDicomFileObject::FWriteFaultHook = [](uint64_t) { return false; };
  const std::string replaced = tree.AddFile("newer.dcm");
  const std::string alone = tree.AddFile("alone.dcm");
  ORN_dicom::TanDicomFileObject::FWriteFaultHook = nullptr;
  EXPECT_NE(replaced, "");
  EXPECT_NE(alone, "");
  EXPECT_EQ(Describe(tree), before);  // the stored record stays, no new patient is left behind
  EXPECT_TRUE(tree.TakeDuplicateFiles().empty());
  EXPECT_EQ(Snapshot(), files);
}

TEST_F(AddFileTest, MalformedStoredTimeDoesNotBlockLaterAdds) {
  ASSERT_TRUE(MakeFiles({"bad_time.dcm|sopuid=8.1|InstanceNumber=1|ContentDate=20200101|ContentTime=1:15" + kCTBase,
                         "next.dcm|sopuid=8.2|InstanceNumber=1|ContentDate=20200101|ContentTime=101500" + kCTBase,
                         "last.dcm|sopuid=8.3|InstanceNumber=1|ContentDate=20200101|ContentTime=1:16" + kCTBase}));
  TanGeneralDirectoryInfo tree;
  EXPECT_EQ(tree.AddFile("bad_time.dcm"), "");
  EXPECT_EQ(tree.AddFile("next.dcm"), "");
  EXPECT_EQ(tree.AddFile("last.dcm"), "");
  auto& images = tree.FPatients.At(0)->FStudies.At(0)->FSeries.At(0)->FImages;
  ASSERT_EQ(images.Count(), 3);
  // A time that parses comes first; the two that do not follow in byte order.
  EXPECT_EQ(images.At(0)->GetReferencedSOPInstanceUID(), "8.2");
  EXPECT_EQ(images.At(1)->GetReferencedSOPInstanceUID(), "8.1");
  EXPECT_EQ(images.At(2)->GetReferencedSOPInstanceUID(), "8.3");
}

TEST_F(AddFileTest, PresentationKeepsStacksOtherInstancesDropThem) {
  ASSERT_TRUE(MakeFiles({"i1.dcm|sopuid=9.1|InstanceNumber=1" + kCTBase, "i2.dcm|sopuid=9.2|InstanceNumber=2" + kCTBase,
                         "pr.dcm|sopuid=9.3|pixels=0|sopclass=1.2.840.10008.5.1.4.1.1.11.1|PatientID=P1"
                         "|PatientName=DOE^J|StudyInstanceUID=1.2.1|SeriesInstanceUID=1.2.1.1|Modality=CT"}));
  TanGeneralDirectoryInfo tree;
  ASSERT_EQ(tree.AddFile("i1.dcm"), "");
  ORN_dicom::TanSeriesIE* series = tree.FPatients.At(0)->FStudies.At(0)->FSeries.At(0);
  series->Stacks().AppendNew(static_cast<ORN_dicom::iDDE*>(nullptr));
  ASSERT_EQ(tree.AddFile("pr.dcm"), "");
  EXPECT_EQ(series->Stacks().Count(), 1);
  EXPECT_EQ(series->FPresentations.Count(), 1);
  ASSERT_EQ(tree.AddFile("i2.dcm"), "");
  EXPECT_EQ(series->Stacks().Count(), 0);
}

// Files of two patients, three studies, several series and instance types, a duplicate pair,
// a file without Patient ID and a malformed time: every order gives one tree and one disk.
// The set is chosen so that its order does not depend on the order of adding: patient names
// differ (the longer name of P1 wins either way), study dates differ, series numbers rise
// along each study's modality runs, instance numbers differ within each set, and the two
// files of the duplicate pair have equal keys and times, so the path alone picks the one kept.
TEST_F(AddFileTest, AnyOrderGivesTheSameTree) {
  const std::string study = std::string("|sopclass=") + kCT +
                            "|PatientID=P1|PatientName=DOE^J|StudyInstanceUID=1.2.1|StudyDate=20200101";
  const std::string ct1 = study + "|SeriesInstanceUID=1.2.1.1|Modality=CT|SeriesNumber=1";
  const std::string p2 = "|PatientID=P2|PatientName=ROE^A|StudyInstanceUID=2.1";
  std::vector<std::string> files = {
      "a/1.dcm|sopuid=1.1.1|InstanceNumber=2" + ct1,
      "a/2.dcm|sopuid=1.1.2|InstanceNumber=1" + ct1,
      "a/3.dcm|sopuid=1.1.10|InstanceNumber=3|ContentTime=1:00" + ct1,
      "a/4.dcm|sopuid=1.1.9|InstanceNumber=4|ContentTime=1:00" + ct1,
      "a/5.dcm|sopuid=1.1.5|InstanceNumber=5|ContentTime=120000" + ct1,
      "a/sc.dcm|sopuid=1.1.20|InstanceNumber=1|sopclass=1.2.840.10008.5.1.4.1.1.7|PatientID=P1|PatientName=DOE^J"
      "|StudyInstanceUID=1.2.1|SeriesInstanceUID=1.2.1.5|Modality=OT|SeriesNumber=5",
      "a/dupA.dcm|sopuid=1.1.30|InstanceNumber=6" + ct1,
      "a/dupB.dcm|sopuid=1.1.30|InstanceNumber=6" + ct1,
      "b/mr1.dcm|sopuid=1.2.1|sopclass=1.2.840.10008.5.1.4.1.1.4|PatientID=P1|PatientName=DOE^JOHN"
      "|StudyInstanceUID=1.2.1|SeriesInstanceUID=1.2.1.2|Modality=MR|SeriesNumber=3",
      "b/mr3.dcm|sopuid=1.2.3|sopclass=1.2.840.10008.5.1.4.1.1.4|PatientID=P1|PatientName=DOE^J"
      "|StudyInstanceUID=1.2.1|SeriesInstanceUID=1.2.1.3|Modality=MR|SeriesNumber=4",
      "b/ct2.dcm|sopuid=1.2.2" + study + "|SeriesInstanceUID=1.2.1.4|Modality=CT|SeriesNumber=2",
      "c/old.dcm|sopuid=1.3.1|PatientID=P1|StudyInstanceUID=1.3|StudyDate=20190101|SeriesInstanceUID=1.3.1"
      "|Modality=CT|sopclass=" +
          std::string(kCT),
      "c/older.dcm|sopuid=1.4.1|PatientID=P1|StudyInstanceUID=1.4|StudyDate=20180101|SeriesInstanceUID=1.4.1"
      "|Modality=CT|sopclass=" +
          std::string(kCT),
      "d/noid.dcm|sopuid=2.1.1|AccessionNumber=P2|PatientName=ROE^A|StudyInstanceUID=2.1|SeriesInstanceUID=2.1.1"
      "|Modality=CT|SeriesNumber=1|sopclass=" +
          std::string(kCT),
      "d/pr.dcm|sopuid=2.1.2|pixels=0|sopclass=1.2.840.10008.5.1.4.1.1.11.1" + p2 +
          "|SeriesInstanceUID=2.1.2|Modality=PR|SeriesNumber=9",
  };
  const std::vector<std::vector<int>> orders = {
      {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
      {14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
      {7, 2, 11, 5, 0, 13, 9, 4, 14, 1, 12, 6, 10, 3, 8},
  };
  std::string firstTree;
  std::map<std::string, std::string> firstDisk;
  for (size_t o = 0; o < orders.size(); ++o) {
    SCOPED_TRACE("order " + std::to_string(o));
    fs::remove_all("a");
    fs::remove_all("b");
    fs::remove_all("c");
    fs::remove_all("d");
    ASSERT_TRUE(MakeFiles(files));
    SetTimes("a/dupA.dcm", k2020);
    SetTimes("a/dupB.dcm", k2020);  // equal times: the path settles it
    const auto before = Snapshot();
    TanGeneralDirectoryInfo tree;
    for (int i : orders[o]) {
      const std::string path = files[static_cast<size_t>(i)].substr(0, files[static_cast<size_t>(i)].find('|'));
      const std::string result = tree.AddFile(path);
      if (path.find("dup") == std::string::npos) {
        EXPECT_EQ(result, "") << path;
      }
    }
    const auto after = Snapshot();
    // Only the file without Patient ID changed on disk.
    for (const auto& [path, bytes] : before) {
      if (path == "d/noid.dcm") {
        EXPECT_NE(after.at(path), bytes);
      } else {
        EXPECT_EQ(after.at(path), bytes) << path;
      }
    }
    EXPECT_EQ(after.size(), before.size());
    if (o == 0) {
      firstTree = Describe(tree);
      firstDisk = after;
    } else {
      EXPECT_EQ(Describe(tree), firstTree);
      EXPECT_EQ(after, firstDisk);
    }
  }
  std::cout << firstTree;
}

}  // namespace
}  // namespace tree_test
