#include <gtest/gtest.h>

#include <filesystem>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/tests/RecordTestSupport.h"

namespace ORN_dicom {
namespace {

using testing::BuiltFile;

std::string ThrownBy(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::invalid_argument& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

class PatientStudySeriesTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::LoadDictionary(); }

  // A series record over an item with the given modality, UID, description and number.
  static ntl::auto_ptr<TanSeriesIE> Series(const char* modality, const char* uid = "1.2",
                                           const char* description = nullptr, const char* number = nullptr) {
    BuiltFile b;
    b.Text(0x00080060, modality).Text(0x0020000E, uid);
    if (description != nullptr) b.Text(0x0008103E, description);
    if (number != nullptr) b.Text(0x00200011, number);
    return ntl::auto_ptr<TanSeriesIE>(new TanSeriesIE(b.File));
  }
  static ntl::auto_ptr<TanStudyIE> Study() {
    BuiltFile b;
    b.Text(0x0020000D, "1.2.3");
    return ntl::auto_ptr<TanStudyIE>(new TanStudyIE(b.File));
  }
};

TEST_F(PatientStudySeriesTest, PatientFromAFile) {
  struct Case {
    const char* name;
    std::function<void(BuiltFile&)> fill;
    const char* id;
    const wchar_t* idW;
    const char* charset;
  } cases[] = {
      {"no Patient ID", [](BuiltFile&) {}, "", L"", "ISO_IR 6"},
      {"one-character ID", [](BuiltFile& b) { b.Text(0x00100020, "7"); }, "7", L"7", "ISO_IR 6"},
      {"ID with blanks", [](BuiltFile& b) { b.Text(0x00100020, " 12 "); }, "12", L" 12", "ISO_IR 6"},
      {"empty character set", [](BuiltFile& b) { b.Empty(0x00080005).Text(0x00100020, "A"); }, "A", L"A", "ISO_IR 6"},
      {"blank character set", [](BuiltFile& b) { b.Text(0x00080005, "  ").Text(0x00100020, "A"); }, "A", L"A",
       "ISO_IR 6"},
      {"Latin-1", [](BuiltFile& b) { b.Text(0x00080005, "ISO_IR 100").Text(0x00100020, "\xDC" "1"); }, "\xDC" "1",
       L"\u00DC1", "ISO_IR 100"},
  };
  for (const Case& c : cases) {
    BuiltFile b;
    c.fill(b);
    TanPatientIE p(b.File);
    EXPECT_EQ(p.GetRecordType(), "PATIENT");
    for (uint32_t tag : {0x00100010u, 0x00100020u, 0x00100030u, 0x00100040u})
      EXPECT_NE(p.GetDataSet().Find(tag), nullptr) << c.name;
    EXPECT_EQ(p.GetPatientID(), c.id) << c.name;
    EXPECT_EQ(p.GetPatientIDW(), c.idW) << c.name;
    EXPECT_EQ(p.GetSpecificCharacterSet(), c.charset) << c.name;
    if (std::string(c.name) == "empty character set") {
      EXPECT_EQ(p.GetDataSet().Find(0x00080005), nullptr);
    }
  }
}

TEST_F(PatientStudySeriesTest, StudyFromAFile) {
  BuiltFile b;
  EXPECT_EQ(ThrownBy([&] { TanStudyIE s(b.File); }), "Cannot find Study Instance UID (0020,000D).");
  b.Text(0x0020000D, " 1.2.3 ").Text(0x00080050, "ACC").Text(0x00324000, "comment");
  b.Add(b.Sequence(0x00081032, {{{0x00080100, "P1"}, {0x00100010, "dropped"}}}));
  TanStudyIE s(b.File);
  EXPECT_EQ(s.GetStudyInstanceUID(), "1.2.3");
  EXPECT_EQ(s.GetAccessionNumber(), "ACC");
  EXPECT_EQ(s.GetAccessionNumberW(), L"ACC");
  EXPECT_EQ(s.GetText(0x00324000), "comment");
  EXPECT_EQ(TanItems(*s.GetDataSet().Find(0x00081032)->GetSequence()).Item(0)->Count(), 1u);
  EXPECT_EQ(s.GetDataSet().Find(0x0040A372), nullptr);
  ASSERT_NE(s.GetDataSet().Find(0x00080020), nullptr);
  EXPECT_EQ(s.GetStudyDate(), "");
  const uint32_t count = s.GetDataSet().Count();
  s.SetStudyDate("20240102");
  s.SetStudyTime(" 101500 ");
  EXPECT_EQ(s.GetDataSet().Count(), count);
  EXPECT_EQ(s.GetStudyDate(), "20240102");
  EXPECT_EQ(s.GetStudyTime(), "101500");
  EXPECT_EQ(s.GetSpecificCharacterSet(), "ISO_IR 6");
}

TEST_F(PatientStudySeriesTest, SeriesFromAFile) {
  struct Case {
    const char* modality;
    const char* uid;
    const char* expected;
  } failures[] = {
      {nullptr, nullptr, "Cannot find Modality (0008,0060)."},
      {nullptr, "1.2", "Cannot find Modality (0008,0060)."},
      {"CT", nullptr, "Cannot find Series Instance UID (0020,000E)."},
  };
  for (const Case& c : failures) {
    BuiltFile b;
    if (c.modality != nullptr) b.Text(0x00080060, c.modality);
    if (c.uid != nullptr) b.Text(0x0020000E, c.uid);
    EXPECT_EQ(ThrownBy([&] { TanSeriesIE s(b.File); }), c.expected);
  }
  struct Number {
    const char* text;
    int32_t expected;
  } numbers[] = {{" 12 ", 12}, {nullptr, 0}, {"   ", 0}, {"-3", -3}, {"7\\8", 7}};
  for (const Number& n : numbers) {
    auto s = Series("CT", "1.2", nullptr, n.text);
    EXPECT_EQ(s->GetSeriesNumber(), n.expected) << (n.text ? n.text : "(absent)");
  }
  auto s = Series("MR");
  EXPECT_EQ(s->GetRecordType(), "SERIES");
  EXPECT_EQ(s->GetDataSet().Find(0x00200060), nullptr);
  EXPECT_EQ(s->GetLaterality(), "");
  EXPECT_NE(s->GetDataSet().Find(0x00200011), nullptr);
  s->SetSeriesTime("0930");
  EXPECT_EQ(s->GetSeriesTime(), "0930");
}

TEST_F(PatientStudySeriesTest, ModalitiesInStudyCompareWholeValues) {
  struct Case {
    std::vector<const char*> modalities;
    const char* expected;
  } cases[] = {
      {{}, ""},
      {{"CT", "CT", "PR"}, "CT,PR"},
      {{"MR", "MR"}, "MR"},
      {{"OPT", "PT"}, "OPT,PT"},
      {{"PT", "OPT", "PT"}, "PT,OPT"},
      {{"SR", "R"}, "SR,R"},
      {{"CT", " ", "MR"}, "CT,MR"},
  };
  for (const Case& c : cases) {
    auto study = Study();
    for (const char* m : c.modalities) study->FSeries.Append(Series(m));
    EXPECT_EQ(study->GetModalitiesInStudy(), c.expected);
  }
}

TEST_F(PatientStudySeriesTest, StudySearches) {
  auto study = Study();
  EXPECT_EQ(study->FindKeyImageSeries(), -1);
  EXPECT_EQ(study->GetMaxSeriesNumber(), 0);
  study->FSeries.Append(Series("KO", "2.25.40263187551.0.1", "key image series", "3"));
  study->FSeries.Append(Series("KO", "1.2.840.5", "Key Image Series", "-9"));
  EXPECT_EQ(study->FindKeyImageSeries(), -1);
  EXPECT_EQ(study->GetMaxSeriesNumber(), 3);
  study->FSeries.Append(Series("KO", "9.2.25.40263187551.0.7", "Key Image Series", "12"));
  study->FSeries.Append(Series("KO", "2.25.40263187551.0.8", "Key Image Series"));
  EXPECT_EQ(study->FindKeyImageSeries(), 2);
  EXPECT_EQ(study->GetMaxSeriesNumber(), 12);
  EXPECT_EQ(study->FindSeriesByUID("1.2.840.5"), 1);
  EXPECT_EQ(study->FindSeriesByUID("1.2.840"), -1);
  EXPECT_EQ(study->FindSeriesByUID("1.2.840.5 "), -1);
}

TEST_F(PatientStudySeriesTest, SeriesReachItsStudyOnlyThroughAStudysSeriesSet) {
  auto study = Study();
  TanSeriesIE* inStudy = study->FSeries.Append(Series("CT"));
  EXPECT_EQ(inStudy->GetStudy(), study.get());
  EXPECT_EQ(inStudy->FStackBuilder.GetStudy(), study.get());
  EXPECT_EQ(&inStudy->FStackBuilder.GetSeries(), inStudy);

  TanStudyIE fromItem(nullptr);
  TanSeriesIE* read = fromItem.FSeries.AppendFromItem(nullptr);
  EXPECT_EQ(read->FStackBuilder.GetStudy(), &fromItem);

  TanIESet<TanSeriesIE> plain;  // as a TOPIC holds series
  TanSeriesIE* loose = plain.Append(Series("CT"));
  EXPECT_EQ(loose->GetStudy(), nullptr);
  EXPECT_EQ(loose->FStackBuilder.GetStudy(), nullptr);
  auto alone = Series("CT");
  EXPECT_EQ(alone->GetStudy(), nullptr);
}

TEST_F(PatientStudySeriesTest, EmptinessAndCounts) {
  TanDicomFileObject none;
  auto series = Series("CT");
  EXPECT_TRUE(series->IsEmpty());
  series->Stacks().AppendNew(none);
  EXPECT_FALSE(series->IsEmpty());
  EXPECT_EQ(series->GetInstanceCount(), 0);
  series->FStereometrics.AppendFromItem(nullptr);
  series->FPresentations.AppendFromItem(nullptr);
  series->FImages.AppendFromItem(nullptr);
  EXPECT_EQ(series->GetImageCount(), 1);
  EXPECT_EQ(series->GetOtherInstanceCount(), 2);
  EXPECT_EQ(series->GetInstanceCount(), 3);

  auto study = Study();
  study->FPrivateRecords.AppendNew(none);
  EXPECT_TRUE(study->IsEmpty());
  study->FVisits.AppendFromItem(nullptr);
  EXPECT_FALSE(study->IsEmpty());
  study->FSeries.Append(std::move(series));
  study->FSeries.Append(Series("MR"));
  EXPECT_EQ(study->GetImageCount(), 1);
  EXPECT_EQ(study->GetStackCount(), 1);

  BuiltFile b;
  TanPatientIE patient(b.File);
  patient.FStudies.Append(std::move(study));
  patient.FStudies.Append(Study());
  EXPECT_EQ(patient.GetImageCount(), 1);
  EXPECT_EQ(patient.GetStackCount(), 1);
  EXPECT_EQ(patient.GetSeriesCount(), 2);
}

std::vector<std::string> destroyed;
struct WatchedStack : TanPrivateIE {
  using TanPrivateIE::TanPrivateIE;
  ~WatchedStack() override { destroyed.push_back("PRIVATE"); }
};
struct WatchedImage : TanImageIE {
  using TanImageIE::TanImageIE;
  ~WatchedImage() override { destroyed.push_back("IMAGE"); }
};
struct WatchedKeyObject : TanKeyObjectDocIE {
  using TanKeyObjectDocIE::TanKeyObjectDocIE;
  ~WatchedKeyObject() override { destroyed.push_back("KEY OBJECT DOC"); }
};

TEST_F(PatientStudySeriesTest, DeletingASeriesDeletesItsStacksFirst) {
  auto series = Series("CT");
  series->FImages.Append(ntl::auto_ptr<TanImageIE>(new WatchedImage(nullptr)));
  series->FKeyObjectDocs.Append(ntl::auto_ptr<TanKeyObjectDocIE>(new WatchedKeyObject(nullptr)));
  series->Stacks().Append(ntl::auto_ptr<TanPrivateIE>(new WatchedStack(nullptr)));
  destroyed.clear();
  series.reset();
  EXPECT_EQ(destroyed, (std::vector<std::string>{"PRIVATE", "KEY OBJECT DOC", "IMAGE"}));
}

TEST_F(PatientStudySeriesTest, SeriesChildrenInDicomdirOrder) {
  auto series = Series("CT");
  TanDicomFileObject none;
  TanPrivateIE* stack = series->Stacks().AppendNew(none);
  TanSteriometricIE* s = series->FStereometrics.AppendFromItem(nullptr);
  TanSpectroscopyIE* sp = series->FSpectroscopies.AppendFromItem(nullptr);
  TanImageIE* image = series->FImages.AppendFromItem(nullptr);
  std::vector<TanDirectoryRecord*> order;
  series->ForEachChild([&](TanDirectoryRecord& r) { order.push_back(&r); });
  EXPECT_EQ(order, (std::vector<TanDirectoryRecord*>{image, sp, s, stack}));
  EXPECT_EQ(series->GetSubtreeLength(), series->GetItem()->Size() + image->GetItem()->Size() +
                                            sp->GetItem()->Size() + s->GetItem()->Size() +
                                            stack->GetItem()->Size());
}

// A series generated with pydicom: three CT images of one patient, study and series.
TEST_F(PatientStudySeriesTest, GeneratedSeries) {
  const std::string folder = testing::UniqueTempName("records_generated_series");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  ASSERT_EQ(testing::RunPython(R"(
import numpy as np, pydicom
from pydicom.dataset import Dataset, FileMetaDataset
from pydicom.uid import ExplicitVRLittleEndian, ImplicitVRLittleEndian
for i in range(3):
    meta = FileMetaDataset()
    meta.MediaStorageSOPClassUID = '1.2.840.10008.5.1.4.1.1.2'
    meta.MediaStorageSOPInstanceUID = '1.2.826.0.1.3680043.8.498.%d' % (i + 1)
    meta.TransferSyntaxUID = ImplicitVRLittleEndian if i == 1 else ExplicitVRLittleEndian
    ds = Dataset()
    ds.file_meta = meta
    ds.SpecificCharacterSet = 'ISO_IR 100'
    ds.SOPClassUID = meta.MediaStorageSOPClassUID
    ds.SOPInstanceUID = meta.MediaStorageSOPInstanceUID
    ds.PatientName = 'M\u00fcller^Hans'
    ds.PatientID = '7'
    ds.PatientBirthDate = '19600101'
    ds.PatientSex = 'M'
    ds.StudyInstanceUID = '1.2.826.0.1.3680043.8.498.100'
    ds.StudyDate = '20240105'
    ds.StudyID = 'S1'
    ds.SeriesInstanceUID = '1.2.826.0.1.3680043.8.498.200'
    ds.SeriesNumber = 4
    ds.Modality = 'CT'
    ds.Laterality = 'R'
    ds.InstanceNumber = 3 - i
    ds.ImageType = ['ORIGINAL', 'PRIMARY', 'AXIAL']
    ds.ImagePositionPatient = [0, 0, float(i)]
    ds.ImageOrientationPatient = [1, 0, 0, 0, 1, 0]
    ds.Rows = ds.Columns = 4
    ds.BitsAllocated = ds.BitsStored = 16
    ds.HighBit = 15
    ds.PixelRepresentation = 0
    ds.SamplesPerPixel = 1
    ds.PhotometricInterpretation = 'MONOCHROME2'
    ds.PixelData = np.zeros((4, 4), dtype=np.uint16).tobytes()
    ds.is_little_endian = True
    ds.is_implicit_VR = i == 1
    ds.save_as(')" + folder + R"(/IMG%d' % (i + 1), write_like_original=False)
)"),
            0);
  std::vector<std::unique_ptr<TanDicomFileObject>> files;
  for (int i = 1; i <= 3; ++i) {
    files.push_back(std::make_unique<TanDicomFileObject>());
    ASSERT_EQ(files.back()->LoadFromFile(folder + "/IMG" + std::to_string(i), true), "");
    files.back()->FFileName = "SERIES/IMG" + std::to_string(i);
  }
  TanPatientIE patient(*files[0]);
  EXPECT_EQ(patient.GetPatientID(), "7");
  EXPECT_EQ(patient.GetPatientIDW(), L"7");
  EXPECT_EQ(patient.GetPatientNameW(), L"M\u00fcller^Hans");
  EXPECT_EQ(patient.GetPatientBirthDate(), "19600101");
  EXPECT_EQ(patient.GetPatientSex(), "M");
  TanStudyIE* study = patient.FStudies.Append(ntl::auto_ptr<TanStudyIE>(new TanStudyIE(*files[0])));
  EXPECT_EQ(study->GetStudyID(), "S1");
  EXPECT_EQ(study->GetStudyDate(), "20240105");
  TanSeriesIE* series = study->FSeries.Append(ntl::auto_ptr<TanSeriesIE>(new TanSeriesIE(*files[1])));
  EXPECT_EQ(series->GetModality(), "CT");
  EXPECT_EQ(series->GetSeriesNumber(), 4);
  EXPECT_EQ(series->GetLaterality(), "R");
  EXPECT_EQ(series->GetSeriesInstanceUID(), "1.2.826.0.1.3680043.8.498.200");
  for (auto& f : files) series->FImages.InsertNewAt(0, *f);
  ASSERT_EQ(series->GetImageCount(), 3);
  EXPECT_EQ(series->FImages.At(0)->GetInstanceNumber(), 1);
  EXPECT_EQ(series->FImages.At(0)->GetReferencedFileID(), "SERIES\\IMG3");
  EXPECT_EQ(series->FImages.At(1)->GetReferencedTransferSyntaxUID(), "1.2.840.10008.1.2");
  EXPECT_EQ(series->FImages.FindByReferencedSOPInstanceUID("1.2.826.0.1.3680043.8.498.1"), 2);
  EXPECT_EQ(study->GetModalitiesInStudy(), "CT");
  EXPECT_EQ(patient.GetImageCount(), 3);
  EXPECT_EQ(patient.GetSeriesCount(), 1);
  EXPECT_EQ(series->FImages.At(2)->GetText(0x00200032), "0.0\\0.0\\0.0");
  files.clear();
  std::filesystem::remove_all(folder);
}

TEST_F(PatientStudySeriesTest, PydicomFiles) {
  struct Case {
    const char* file;
    const char* name;
    const char* id;
    const char* modality;
    const char* charset;
    const char* institution;
  } cases[] = {
      {"CT_small.dcm", "CompressedSamples^CT1", "1CT1", "CT", "ISO_IR 100", "JFK IMAGING CENTER"},
      {"MR_small.dcm", "CompressedSamples^MR1", "4MR1", "MR", "ISO_IR 6", "TOSHIBA"},
  };
  for (const Case& c : cases) {
    TanDicomFileObject file;
    ASSERT_EQ(file.LoadFromFile(testing::PydicomFile(c.file), true), "");
    TanPatientIE patient(file);
    TanStudyIE study(file);
    TanSeriesIE series(file);
    EXPECT_EQ(patient.GetPatientName(), c.name);
    EXPECT_EQ(patient.GetPatientID(), c.id);
    EXPECT_EQ(series.GetModality(), c.modality);
    EXPECT_EQ(series.GetSpecificCharacterSet(), c.charset);
    EXPECT_EQ(series.GetInstitutionName(), c.institution);
    EXPECT_EQ(series.GetSeriesNumber(), 1);
    EXPECT_FALSE(study.GetStudyInstanceUID().empty());
  }
}

}  // namespace
}  // namespace ORN_dicom
