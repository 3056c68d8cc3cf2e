#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "dicom/elements/dataset/TanTags.h"
#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanIESet.h"
#include "dicom/entities/records/tests/RecordTestSupport.h"

namespace ORN_dicom {
namespace {

using testing::BuiltFile;
using Maker = std::function<TanInstatnceBasis*(TanDicomFileObject&)>;

template <class T>
Maker MakerOf() {
  return [](TanDicomFileObject& f) -> TanInstatnceBasis* { return new T(f); };
}

struct Kind {
  const char* type;
  Maker make;
};

const std::vector<Kind>& AllKinds() {
  static const std::vector<Kind> kinds = {
      {"IMAGE", MakerOf<TanImageIE>()},
      {"OVERLAY", MakerOf<TanOverlayIE>()},
      {"MODALITY LUT", MakerOf<TanModalityLutIE>()},
      {"VOI LUT", MakerOf<TanVoiLutIE>()},
      {"CURVE", MakerOf<TanCurveIE>()},
      {"STORED PRINT", MakerOf<TanStoredPrintIE>()},
      {"RT DOSE", MakerOf<TanRtDoseIE>()},
      {"RT STRUCTURE SET", MakerOf<TanRtStructureSetIE>()},
      {"RT PLAN", MakerOf<TanRtPlanIE>()},
      {"RT TREAT RECORD", MakerOf<TanRtTreatmentRecordIE>()},
      {"PRESENTATION", MakerOf<TanPresentationIE>()},
      {"WAVEFORM", MakerOf<TanWaveformIE>()},
      {"SR DOCUMENT", MakerOf<TanSrDocumentIE>()},
      {"KEY OBJECT DOC", MakerOf<TanKeyObjectDocIE>()},
      {"SPECTROSCOPY", MakerOf<TanSpectroscopyIE>()},
      {"RAW DATA", MakerOf<TanRawDataIE>()},
      {"REGISTRATION", MakerOf<TanRegistrationIE>()},
      {"FIDUCIAL", MakerOf<TanFiducialIE>()},
      {"ENCAP DOC", MakerOf<TanEncapsulatedDocIE>()},
      {"VALUE MAP", MakerOf<TanValueMappingIE>()},
      {"STEREOMETRIC", MakerOf<TanSteriometricIE>()},
  };
  return kinds;
}

std::vector<uint32_t> TagsOf(const TanDDESet<iDDE>& set) {
  std::vector<uint32_t> tags;
  for (uint32_t i = 0; i < set.Count(); ++i) tags.push_back(set.At(i)->Tag());
  return tags;
}

std::string ThrownBy(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::invalid_argument& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

class InstanceRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::LoadDictionary(); }
};

TEST_F(InstanceRecordTest, MissingMetaUIDsAreReportedInOrderForEveryKind) {
  struct Case {
    bool sopClass, sopInstance, syntax;
    const char* expected;
  } cases[] = {
      {true, false, true, "Cannot find SOP Instance UID (0002,0003)."},
      {false, false, true, "Cannot find SOP Class UID (0002,0002)."},
      {true, true, false, "Cannot find Transfer Syntax UID (0002,0010)."},
      {false, true, false, "Cannot find SOP Class UID (0002,0002)."},
  };
  for (const Kind& kind : AllKinds()) {
    for (const Case& c : cases) {
      BuiltFile b;
      if (c.sopClass) b.Meta(0x00020002, "1.2.840.10008.5.1.4.1.1.2");
      if (c.sopInstance) b.Meta(0x00020003, "1.2.3");
      if (c.syntax) b.Meta(0x00020010, "1.2.840.10008.1.2.1");
      b.PixelData();
      EXPECT_EQ(ThrownBy([&] { delete kind.make(b.File); }), c.expected) << kind.type;
    }
  }
}

TEST_F(InstanceRecordTest, ImageWithoutPixelData) {
  BuiltFile b;
  b.StandardMeta().Text(0x00200013, "4").Text(0x00280008, "2").Text(0x00080008, "ORIGINAL\\PRIMARY");
  EXPECT_EQ(ThrownBy([&] { TanImageIE r(b.File); }), "Cannot find Pixel Data (7FE0,0010).");
  b.PixelData();
  TanImageIE r(b.File);
  EXPECT_EQ(r.GetInstanceNumber(), 4);
  EXPECT_EQ(r.GetNumberOfFrames(), 2);
  EXPECT_EQ(r.GetImageType(), "ORIGINAL\\PRIMARY");
  EXPECT_EQ(r.GetDataSet().Find(0x7FE00010), nullptr);  // never copied
}

// A file holding only its meta group (and pixel data): every kind's keys and defaults.
TEST_F(InstanceRecordTest, DefaultsOfEveryKind) {
  struct Case {
    const char* type;
    std::vector<std::pair<uint32_t, const char*>> texts;  // "" for an element without value
    std::vector<uint32_t> emptySequences;
    int32_t number;
  } cases[] = {
      {"IMAGE", {{0x00200013, "1"}, {0x00280008, "1"}}, {}, 1},
      {"OVERLAY", {{0x00200022, "1"}}, {}, 1},
      {"MODALITY LUT", {{0x00200026, "1"}}, {}, 1},
      {"VOI LUT", {{0x00200026, "1"}}, {}, 1},
      {"CURVE", {{0x00200024, "1"}}, {}, 1},
      {"STORED PRINT", {{0x00200013, "1"}}, {}, 1},
      {"RT DOSE", {{0x00200013, "1"}, {0x3004000A, ""}}, {}, 1},
      {"RT STRUCTURE SET", {{0x00200013, "1"}, {0x30060002, "Unknown"}, {0x30060008, ""}, {0x30060009, ""}}, {}, 1},
      {"RT PLAN", {{0x00200013, "1"}, {0x30060008, ""}, {0x30060009, ""}, {0x300A0002, "Unknown"}}, {}, 1},
      {"RT TREAT RECORD", {{0x00200013, "1"}, {0x30080250, ""}, {0x30080251, ""}}, {}, 1},
      {"PRESENTATION",
       {{0x00200013, "1"}, {0x00700080, "Unknown"}, {0x00700081, ""}, {0x00700082, ""}, {0x00700083, ""},
        {0x00700084, ""}},
       {0x00081115},
       1},
      {"WAVEFORM", {{0x00200013, "1"}}, {}, 1},
      {"SR DOCUMENT", {{0x00200013, "1"}, {0x0040A491, "PARTIAL"}, {0x0040A493, "UNVERIFIED"}}, {0x0040A043}, 1},
      {"KEY OBJECT DOC", {{0x00200013, "1"}}, {0x0040A043}, 1},
      {"SPECTROSCOPY", {{0x00280010, ""}, {0x00280011, ""}, {0x00289001, ""}, {0x00289002, ""}}, {0x00089092}, -1},
      {"RAW DATA", {{0x00200013, "1"}}, {}, 1},
      {"REGISTRATION", {}, {}, -1},
      {"FIDUCIAL", {}, {}, -1},
      {"ENCAP DOC", {{0x00200013, "1"}, {0x00420010, ""}, {0x00420012, ""}}, {0x0040A043}, 1},
      {"VALUE MAP", {}, {}, -1},
  };
  for (const Case& c : cases) {
    const Kind* kind = nullptr;
    for (const Kind& k : AllKinds())
      if (std::string(k.type) == c.type) kind = &k;
    ASSERT_NE(kind, nullptr);
    BuiltFile b;
    b.StandardMeta().PixelData();
    std::unique_ptr<TanInstatnceBasis> r(kind->make(b.File));
    auto* instance = dynamic_cast<TanInstance*>(r.get());
    ASSERT_NE(instance, nullptr) << c.type;
    std::vector<uint32_t> expected = {0x00041400, 0x00041410, 0x00041420, 0x00041430, 0x00041500, 0x00041510,
                                      0x00041511, 0x00041512, 0x00080012, 0x00080013, 0x00080023, 0x00080033};
    for (auto& [tag, text] : c.texts) expected.push_back(tag);
    for (uint32_t tag : c.emptySequences) expected.push_back(tag);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(TagsOf(r->GetDataSet()), expected) << c.type;
    EXPECT_EQ(r->GetRecordType(), c.type);
    EXPECT_EQ(r->GetReferencedFileID(), "DIR1\\IMG1") << c.type;
    EXPECT_EQ(r->GetReferencedSOPClassUID(), "1.2.840.10008.5.1.4.1.1.2");
    EXPECT_EQ(r->GetReferencedSOPInstanceUID(), "1.2.3.4");
    EXPECT_EQ(r->GetReferencedTransferSyntaxUID(), "1.2.840.10008.1.2.1");
    for (uint32_t tag : {0x00080012u, 0x00080013u, 0x00080023u, 0x00080033u})
      EXPECT_EQ(r->GetDataSet().Find(tag)->GetLength(), 0u) << c.type;
    for (auto& [tag, text] : c.texts) EXPECT_EQ(r->GetText(tag), text) << c.type << " " << std::hex << tag;
    for (uint32_t tag : c.emptySequences) {
      iDDE* sq = r->GetDataSet().Find(tag);
      EXPECT_EQ(sq->VRText(), "SQ");
      EXPECT_TRUE(TanItems(*sq->GetSequence()).IsEmpty());
    }
    EXPECT_EQ(instance->GetInstanceNumber(), c.number) << c.type;
    EXPECT_EQ(r->GetNumberOfFrames(), 1);
  }
}

TEST_F(InstanceRecordTest, AttributesAreCopiedFromTheFile) {
  BuiltFile b;
  b.StandardMeta()
      .Text(0x00080012, "20240101")
      .Text(0x00080023, "20240102")
      .Text(0x00200022, "7")
      .Text(0x30060002, "Label")
      .Text(0x00700080, "CONTENT")
      .Text(0x00080005, "ISO_IR 100")
      .Text(0x00200062, "L");
  TanOverlayIE overlay(b.File);
  EXPECT_EQ(overlay.GetInstanceNumber(), 7);
  EXPECT_EQ(overlay.GetInstanceCreationDate(), "20240101");
  EXPECT_EQ(overlay.GetContentDate(), "20240102");
  EXPECT_EQ(overlay.GetInstanceCreationTime(), "");
  EXPECT_EQ(overlay.GetImageLaterality(), "");  // the overlay does not copy it
  TanRtStructureSetIE structure(b.File);
  EXPECT_EQ(structure.GetText(0x30060002), "Label");
  TanPresentationIE presentation(b.File);
  EXPECT_EQ(presentation.GetText(0x00700080), "CONTENT");
  EXPECT_EQ(presentation.GetText(0x00080005), "ISO_IR 100");
  b.Empty(0x00080005);
  TanPresentationIE withoutCharset(b.File);
  EXPECT_EQ(withoutCharset.GetDataSet().Find(0x00080005), nullptr);
}

TEST_F(InstanceRecordTest, InstanceNumbers) {
  BuiltFile b;
  b.StandardMeta().PixelData().Text(0x00200013, "   ");
  TanImageIE blank(b.File);
  EXPECT_EQ(blank.GetInstanceNumber(), 0);
  blank.SetInstanceNumber(12);
  EXPECT_EQ(blank.GetText(0x00200013), "12");
  EXPECT_EQ(blank.GetInstanceNumber(), 12);

  TanSpectroscopyIE spectroscopy(b.File);  // has no (0020,0013) of its own
  EXPECT_EQ(spectroscopy.GetDataSet().Find(0x00200013), nullptr);
  EXPECT_EQ(spectroscopy.GetInstanceNumber(), -1);
  spectroscopy.SetInstanceNumber(5);  // the instance rule makes it
  EXPECT_EQ(spectroscopy.GetInstanceNumber(), 5);

  TanRegistrationIE registration(b.File);
  registration.SetInstanceNumber(3);
  EXPECT_EQ(registration.GetInstanceNumber(), -1);
  EXPECT_EQ(registration.GetDataSet().Find(0x00200013), nullptr);

  // Over DICOMDIR items: the instance rule gives -1 for blank, the own-attribute rule 0,
  // and a record without its attribute keeps it absent.
  TanDDEFactory f(2);
  auto item = [&](uint32_t tag, const char* text) {
    iDDE* i = f->MakeItem(0);
    i->GetItem()->Insert(f->MakeDDE(testing::G(tag), testing::E(tag), 1, text));
    return i;
  };
  TanSpectroscopyIE read(item(0x00200013, " "));
  EXPECT_EQ(read.GetInstanceNumber(), -1);
  TanCurveIE curve(item(0x00200024, " "));
  EXPECT_EQ(curve.GetInstanceNumber(), 0);
  TanOverlayIE noNumber(item(0x00200013, "4"));
  EXPECT_EQ(noNumber.GetInstanceNumber(), -1);
  noNumber.SetInstanceNumber(9);
  EXPECT_EQ(noNumber.GetDataSet().Find(0x00200022), nullptr);
}

TEST_F(InstanceRecordTest, RecordOverAnItemIsTheItem) {
  TanDDEFactory f(2);
  iDDE* item = f->MakeItem(0);
  item->GetItem()->Insert(f->MakeDDE(0x0004, 0x1430, 1, "IMAGE"));
  item->GetItem()->Insert(f->MakeDDE(0x0004, 0x1511, 1, "9.8.7"));
  TanIESet<TanImageIE> images;
  TanImageIE* r = images.AppendFromItem(item);
  EXPECT_EQ(TagsOf(r->GetDataSet()), (std::vector<uint32_t>{0x00041430, 0x00041511}));
  EXPECT_EQ(r->GetInstanceNumber(), -1);
  EXPECT_EQ(r->GetNumberOfFrames(), 1);
  EXPECT_EQ(images.FindByReferencedSOPInstanceUID("9.8.7"), 0);
  EXPECT_THROW(r->GetPrivateRecord(0), std::out_of_range);
}

TEST_F(InstanceRecordTest, StereometricHoldsOnlyTheRecordKeys) {
  BuiltFile b;
  b.StandardMeta().Text(0x00200013, "3").Text(0x00080012, "20240101");
  TanSteriometricIE r(b.File);
  EXPECT_EQ(r.GetRecordType(), "STEREOMETRIC");
  EXPECT_EQ(TagsOf(r.GetDataSet()), (std::vector<uint32_t>{0x00041400, 0x00041410, 0x00041420, 0x00041430,
                                                            0x00041500, 0x00041510, 0x00041511, 0x00041512}));
}

TEST_F(InstanceRecordTest, WaveformHoldsContentDateAndTimeOnce) {
  BuiltFile b;
  b.StandardMeta().Text(0x00080023, "20130125").Text(0x00080033, "105919");
  TanWaveformIE r(b.File);
  int dates = 0, times = 0;
  for (uint32_t tag : TagsOf(r.GetDataSet())) {
    dates += tag == 0x00080023;
    times += tag == 0x00080033;
  }
  EXPECT_EQ(dates, 1);
  EXPECT_EQ(times, 1);
  EXPECT_EQ(r.GetContentTime(), "105919");
}

TEST_F(InstanceRecordTest, ImagePrivateBlocks) {
  struct Case {
    const char* name;
    std::vector<std::pair<uint32_t, const char*>> elements;
    std::vector<uint32_t> expected;
  } cases[] = {
      {"creator in block 0x11",
       {{0x20010011, "Tessary Imaging DD 001"}, {0x2001110B, "X"}},
       {0x20010011, 0x2001110B}},
      {"first creator lacks its element",
       {{0x20010010, "Tessary Imaging DD 001"}, {0x20010011, "Tessary Imaging DD 001"}, {0x2001110B, "X"}},
       {}},
      {"creator text differs in case", {{0x20010010, "tessary imaging dd 001"}, {0x2001100B, "X"}}, {}},
      {"creator with blanks", {{0x00190010, " Tessary-CR Release 2 "}, {0x00191060, "V"}}, {0x00190010, 0x00191060}},
      {"third group",
       {{0x55010012, "2.16.840.1.999999.4.10.1:TSRY_30"}, {0x5501121C, "V"}, {0x5501121D, "W"}},
       {0x55010012, 0x5501121C}},
  };
  for (const Case& c : cases) {
    BuiltFile b;
    b.StandardMeta().PixelData();
    for (auto& [tag, text] : c.elements)
      b.Add(b.Factory().MakeDDEWithVR(testing::G(tag), testing::E(tag), "LO", 1, text));
    TanImageIE r(b.File);
    std::vector<uint32_t> privates;
    for (uint32_t tag : TagsOf(r.GetDataSet()))
      if ((tag >> 16) & 1) privates.push_back(tag);
    EXPECT_EQ(privates, c.expected) << c.name;
  }
}

TEST_F(InstanceRecordTest, ImageCopiesItsAttributesReencoded) {
  TanDicomFileObject file;
  ASSERT_EQ(file.LoadFromFile(testing::PydicomFile("CT_small.dcm"), true), "");
  file.FFileName = "CT/CT_small.dcm";
  TanImageIE r(file);
  EXPECT_EQ(r.GetReferencedFileID(), "CT\\CT_small.dcm");
  EXPECT_EQ(r.GetReferencedSOPInstanceUID(), "1.3.6.1.4.1.5962.1.1.1.1.1.20040119072730.12322");
  EXPECT_EQ(r.GetImageType(), "ORIGINAL\\PRIMARY\\AXIAL");
  EXPECT_EQ(r.GetInstanceNumber(), 1);
  EXPECT_EQ(r.GetNumberOfFrames(), 1);
  EXPECT_EQ(r.GetText(0x00200032), "-158.135803\\-179.035797\\-75.699997");
  EXPECT_EQ(r.GetDataSet().Find(0x00280008)->GetString(), "1");  // made: the file has none
}

// The same image in four transfer syntaxes gives the same record, element by element, apart
// from the file name and the transfer syntax: records hold explicit VR little-endian copies.
TEST_F(InstanceRecordTest, RecordsDoNotDependOnTheTransferSyntax) {
  auto build = [](const char* name) {
    auto file = std::make_unique<TanDicomFileObject>();
    EXPECT_EQ(file->LoadFromFile(testing::PydicomFile(name), true), "") << name;
    return std::make_unique<TanImageIE>(*file);
  };
  auto reference = build("MR_small.dcm");
  for (const char* name : {"MR_small_bigendian.dcm", "MR_small_implicit.dcm", "MR_small_RLE.dcm"}) {
    auto other = build(name);
    const auto& a = reference->GetDataSet();
    const auto& b = other->GetDataSet();
    ASSERT_EQ(TagsOf(a), TagsOf(b)) << name;
    for (uint32_t i = 0; i < a.Count(); ++i) {
      const uint32_t tag = a.At(i)->Tag();
      if (tag == 0x00041500 || tag == 0x00041512) continue;
      EXPECT_EQ(a.At(i)->GetString(), b.At(i)->GetString()) << name << " " << std::hex << tag;
      EXPECT_EQ(a.At(i)->VRText(), b.At(i)->VRText()) << name << " " << std::hex << tag;
      EXPECT_EQ(a.At(i)->Size(), b.At(i)->Size()) << name << " " << std::hex << tag;
    }
  }
  EXPECT_EQ(reference->GetText(0x00200032), "-83.9063\\-91.2000\\6.6406");
}

TEST_F(InstanceRecordTest, PydicomFilesOfOtherKinds) {
  struct Case {
    const char* file;
    Maker make;
    std::vector<std::pair<uint32_t, const char*>> texts;
    int32_t number;
  } cases[] = {
      {"rtplan.dcm", MakerOf<TanRtPlanIE>(), {{0x300A0002, "Plan1"}, {0x30060008, ""}, {0x00200013, "1"}}, 1},
      // rtdose.dcm holds an empty Instance Number: copied as it is, numbered 0.
      {"rtdose.dcm", MakerOf<TanRtDoseIE>(), {{0x3004000A, "BEAM"}, {0x00200013, ""}}, 0},
      {"waveform_ecg.dcm", MakerOf<TanWaveformIE>(), {{0x00080023, "20130125"}, {0x00200013, "1"}}, 1},
      {"reportsi.dcm", MakerOf<TanSrDocumentIE>(), {{0x0040A491, "PARTIAL"}, {0x0040A493, "UNVERIFIED"}}, 1},
      {"test-SR.dcm",
       MakerOf<TanSrDocumentIE>(),
       {{0x0040A491, "COMPLETE"}, {0x0040A493, "VERIFIED"}, {0x0040A030, "20010213184746"}},
       1},
  };
  for (const Case& c : cases) {
    TanDicomFileObject file;
    ASSERT_EQ(file.LoadFromFile(testing::PydicomFile(c.file), true), "") << c.file;
    std::unique_ptr<TanInstatnceBasis> r(c.make(file));
    for (auto& [tag, text] : c.texts) {
      ASSERT_NE(r->GetDataSet().Find(tag), nullptr) << c.file << " " << std::hex << tag;
      EXPECT_EQ(r->GetText(tag), text) << c.file << " " << std::hex << tag;
    }
    EXPECT_EQ(dynamic_cast<TanInstance&>(*r).GetInstanceNumber(), c.number) << c.file;
    // Everything in the record is explicit VR little endian, whatever the file's encoding.
    EXPECT_NE(r->GetDataSet().Find(0x00080012)->VRText(), "");
  }
}

}  // namespace
}  // namespace ORN_dicom
