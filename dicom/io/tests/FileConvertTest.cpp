// Changing a file object's transfer syntax: the route of one or two steps, the kind that kind 4
// becomes, the meta group brought into line, the pixels surviving lossless round trips, and
// failures leaving the object as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/file/TanPrivatePixelDataInfo.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/tests/Bytes.h"

namespace ORN_dicom {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = DICOM_IO_PYDICOM_FILES;

std::string Text(const TanIOD& set, uint32_t tag) {
  iDDE* e = set.Find(tag);
  return e != nullptr ? e->GetString() : std::string("<absent>");
}

std::string PixelBytes(const TanIOD& set) {
  iDDE* e = set.Find(0x7FE00010u);
  if (e == nullptr || e->GetData() == nullptr) return "";
  return std::string(reinterpret_cast<const char*>(e->GetData()), e->GetLength());
}

// Every element as tag, VR and value, pixel data left out: what a conversion must not change.
std::string Attributes(const TanIOD& set) {
  std::string s;
  for (uint32_t i = 0; i < set.Count(); ++i) {
    iDDE* e = set.At(i);
    if (e->Tag() == 0x7FE00010u || e->Element() == 0) continue;
    s += e->TagText() + " " + e->GetString() + "\n";
  }
  return s;
}

// The meta group and data set as they are, to show that a failure changed nothing.
std::string State(TanDicomFileObject& f) {
  std::string s = std::to_string(f.GetTransferSyntaxKind()) + "/" + std::to_string(f.FDataSet.GetTransferSyntaxKind()) +
                  " " + f.FDataSet.GetTransferSyntaxUID() + "\n";
  for (const TanIOD* set : {&f.FMetaGroup, &f.FDataSet}) {
    for (uint32_t i = 0; i < set->Count(); ++i) {
      iDDE* e = set->At(i);
      s += e->TagText() + " " + e->VRText() + " " + std::to_string(e->Length()) + " " + e->GetString() + "\n";
    }
  }
  return s + PixelBytes(f.FDataSet);
}

class FileConvert : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDDERegistry();
    dir = fs::temp_directory_path() /
          ("vistrel_convert_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
           std::to_string(std::random_device{}()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  static bool Load(TanDicomFileObject& f, const char* name) {
    if (!fs::exists(kFolder / name)) return false;
    return f.LoadFromFile((kFolder / name).string(), false).empty();
  }

  // The source's pixels in explicit VR little endian.
  static std::string NativePixels(const char* name) {
    TanDicomFileObject f;
    if (!Load(f, name) || !f.ChangeTransferSyntax(2, 90)) return "<failed>";
    return PixelBytes(f.FDataSet);
  }

  // A small in-memory image without a meta group.
  static void MakeImage(TanDicomFileObject& f, const char* photometric) {
    TanDDEFactory factory(2);
    f.FDataSet.SetTransferSyntaxKind(2);
    const bool rgb = std::string(photometric) == "RGB";
    f.FDataSet.Insert(factory->MakeDDE(0x0008, 0x0016, 1, "1.2.840.10008.5.1.4.1.1.7"));
    f.FDataSet.Insert(factory->MakeDDE(0x0008, 0x0018, 1, "1.2.3.4.5"));
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0002, 1, rgb ? 3 : 1));
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0004, 1, photometric));
    if (rgb) f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0006, 1, 0));
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0010, 1, 4));
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0011, 1, 4));
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0100, 1, 8));
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0101, 1, 8));
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0102, 1, 7));
    f.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0103, 1, 0));
    const uint32_t count = rgb ? 48 : 16;
    std::string pixels;
    for (uint32_t i = 0; i < count; ++i) pixels += static_cast<char>(i * 13 % 7 * 31);
    f.FDataSet.Insert(factory->MakeDDE(0x7FE0, 0x0010, 1, count, static_cast<const void*>(pixels.data())));
  }

  fs::path dir;
};

TEST_F(FileConvert, RoutesAndTheKindsTheyGive) {
  struct Case {
    const char* file;
    uint8_t target;
    uint8_t kind;  // the kind the object ends in
    const char* uid;
  };
  const Case cases[] = {
      {"CT_small.dcm", 4, 5, "1.2.840.10008.1.2.4.70"},      // MONOCHROME2: lossless JPEG
      {"SC_rgb_small_odd.dcm", 4, 6, "1.2.840.10008.1.2.5"},  // RGB: RLE
      {"MR_small.dcm", 6, 6, "1.2.840.10008.1.2.5"},
      {"MR_small.dcm", 3, 3, "1.2.840.10008.1.2.2"},
      {"MR_small_bigendian.dcm", 1, 1, "1.2.840.10008.1.2"},
      {"MR_small_RLE.dcm", 5, 5, "1.2.840.10008.1.2.4.70"},  // two steps, through kind 2
      {"MR_small_RLE.dcm", 6, 6, "1.2.840.10008.1.2.5"},     // one step into its own kind
      {"MR_small_RLE.dcm", 1, 1, "1.2.840.10008.1.2"},
      {"MR_small_RLE.dcm", 4, 5, "1.2.840.10008.1.2.4.70"},
      {"SC_rgb_rle_2frame.dcm", 5, 5, "1.2.840.10008.1.2.4.70"},
      {"rtdose.dcm", 3, 3, "1.2.840.10008.1.2.2"},            // 15 frames of 32 bits
      {"rtplan.dcm", 6, 2, "1.2.840.10008.1.2.1"},            // no pixel data: explicit VR LE
      {"rtplan.dcm", 7, 2, "1.2.840.10008.1.2.1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " to " + std::to_string(c.target));
    TanDicomFileObject f;
    if (!Load(f, c.file)) continue;
    const std::string attributes = Attributes(f.FDataSet);
    const TanIOD* identity = &f.FDataSet;
    ASSERT_TRUE(f.ChangeTransferSyntax(c.target, 90)) << f.FLastError;
    EXPECT_EQ(f.FKind, c.kind);
    EXPECT_EQ(f.GetTransferSyntaxKind(), c.kind);
    EXPECT_EQ(f.FDataSet.GetTransferSyntaxKind(), c.kind);
    EXPECT_EQ(f.FDataSet.GetTransferSyntaxUID(), c.uid);
    EXPECT_EQ(Text(f.FMetaGroup, 0x00020010u), c.uid);
    EXPECT_EQ(&f.FDataSet, identity);
    ASSERT_EQ(f.FMetaGroup.At(0)->Tag(), 0x00020000u);
    EXPECT_EQ(f.FMetaGroup.At(0)->GetULong(), f.FMetaGroup.Length() - 12);
    // Photometric Interpretation may change when colour pixels are decoded; nothing else does.
    if (std::string(c.file).rfind("SC_", 0) != 0) {
      EXPECT_EQ(Attributes(f.FDataSet), attributes);
    }

    // Written, read back, and decoded again: the source's pixels.
    const fs::path out = dir / "converted.dcm";
    ASSERT_TRUE(f.SaveToFile(out.string())) << f.FLastError;
    TanDicomFileObject back;
    ASSERT_EQ(back.LoadFromFile(out.string(), false), "");
    EXPECT_EQ(back.GetTransferSyntaxKind(), c.kind);
    ASSERT_TRUE(back.ChangeTransferSyntax(2, 90)) << back.FLastError;
    EXPECT_EQ(PixelBytes(back.FDataSet), NativePixels(c.file));
  }
}

TEST_F(FileConvert, LossyJpegFromNativeAndEncapsulatedFiles) {
  for (const char* name : {"CT_small.dcm", "MR_small_RLE.dcm", "SC_rgb_rle_2frame.dcm", "JPEG-lossy.dcm"}) {
    SCOPED_TRACE(name);
    TanDicomFileObject f;
    if (!Load(f, name)) continue;
    const std::string native = NativePixels(name);
    ASSERT_TRUE(f.ChangeTransferSyntax(7, 90)) << f.FLastError;
    EXPECT_EQ(f.FKind, 7);
    EXPECT_EQ(Text(f.FMetaGroup, 0x00020010u), "1.2.840.10008.1.2.4.51");
    EXPECT_EQ(f.FMetaGroup.At(0)->GetULong(), f.FMetaGroup.Length() - 12);
    ASSERT_TRUE(f.ChangeTransferSyntax(2, 90)) << f.FLastError;
    EXPECT_EQ(PixelBytes(f.FDataSet).size(), native.size());  // closeness: the dcmtk check
  }
}

TEST_F(FileConvert, KindFourFollowsThePhotometricInterpretation) {
  struct Case {
    const char* photometric;
    uint8_t kind;
  };
  for (const Case c : {Case{"MONOCHROME1", 5}, Case{"MONOCHROME2", 5}, Case{"RGB", 6}, Case{"PALETTE COLOR", 6},
                       Case{"monochrome2", 6}}) {
    SCOPED_TRACE(c.photometric);
    TanDicomFileObject f;
    MakeImage(f, c.photometric);
    EXPECT_EQ(f.ResolveTargetKind(4), c.kind);
    for (uint8_t k : {1, 2, 3, 5, 6, 7}) EXPECT_EQ(f.ResolveTargetKind(k), k);
  }
  TanDicomFileObject noPhotometric;
  MakeImage(noPhotometric, "MONOCHROME2");
  noPhotometric.FDataSet.DeleteByTag(0x00280004u);
  EXPECT_EQ(noPhotometric.ResolveTargetKind(4), 6);

  // Pixel data among the first two elements counts as none.
  TanDDEFactory factory(2);
  TanDicomFileObject early;
  early.FDataSet.SetTransferSyntaxKind(2);
  early.FDataSet.Insert(factory->MakeDDE(0x0028, 0x0004, 1, "MONOCHROME2"));
  early.FDataSet.Insert(factory->MakeDDE(0x7FE0, 0x0010, 1, uint32_t{2}, static_cast<const void*>("ab")));
  for (uint8_t k : {4, 5, 6, 7}) EXPECT_EQ(early.ResolveTargetKind(k), 2);
  EXPECT_EQ(early.ResolveTargetKind(1), 1);
  ASSERT_TRUE(early.ChangeTransferSyntax(5, 90)) << early.FLastError;
  EXPECT_EQ(early.FKind, 2);
}

TEST_F(FileConvert, EmptyMetaGroupGetsTheDefaultOne) {
  TanDicomFileObject f;
  MakeImage(f, "MONOCHROME2");
  const std::string pixels = PixelBytes(f.FDataSet);
  ASSERT_TRUE(f.ChangeTransferSyntax(4, 90)) << f.FLastError;
  const TanIOD& meta = f.FMetaGroup;
  ASSERT_EQ(meta.Count(), 8u);
  const uint32_t tags[] = {0x00020000, 0x00020001, 0x00020002, 0x00020003,
                           0x00020010, 0x00020012, 0x00020013, 0x00020016};
  for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(meta.At(i)->Tag(), tags[i]);
  EXPECT_EQ(meta.At(0)->GetULong(), meta.Length() - 12);
  ASSERT_EQ(meta.At(1)->GetLength(), 2u);
  EXPECT_EQ(meta.At(1)->GetData()[0], 0x00);
  EXPECT_EQ(meta.At(1)->GetData()[1], 0x01);
  EXPECT_EQ(Text(meta, 0x00020002u), "1.2.840.10008.5.1.4.1.1.7");
  EXPECT_EQ(Text(meta, 0x00020003u), "1.2.3.4.5");
  EXPECT_EQ(Text(meta, 0x00020010u), "1.2.840.10008.1.2.4.70");
  EXPECT_EQ(Text(meta, 0x00020012u), "2.25.40263187551.0.20041017");
  EXPECT_EQ(Text(meta, 0x00020013u), "ORN_V3");
  EXPECT_EQ(Text(meta, 0x00020016u), "No AETitle");
  EXPECT_EQ(f.FKind, 5);

  // The object writes and reads back as a Part 10 file with the same pixels.
  const fs::path out = dir / "jpeg.dcm";
  ASSERT_TRUE(f.SaveToFile(out.string())) << f.FLastError;
  TanDicomFileObject back;
  ASSERT_EQ(back.LoadFromFile(out.string(), false), "");
  ASSERT_TRUE(back.ChangeTransferSyntax(1, 90)) << back.FLastError;
  EXPECT_EQ(PixelBytes(back.FDataSet), pixels);

  // Without SOP UIDs the two meta elements are there, without value.
  TanDicomFileObject bare;
  MakeImage(bare, "RGB");
  bare.FDataSet.DeleteByTag(0x00080016u);
  bare.FDataSet.DeleteByTag(0x00080018u);
  ASSERT_TRUE(bare.ChangeTransferSyntax(4, 90)) << bare.FLastError;
  EXPECT_EQ(Text(bare.FMetaGroup, 0x00020010u), "1.2.840.10008.1.2.5");
  ASSERT_NE(bare.FMetaGroup.Find(0x00020002u), nullptr);
  EXPECT_EQ(bare.FMetaGroup.Find(0x00020002u)->GetLength(), 0u);
  EXPECT_EQ(bare.FMetaGroup.Find(0x00020003u)->GetLength(), 0u);
}

TEST_F(FileConvert, MetaGroupBroughtIntoLine) {
  // This system's index is dropped: its offsets fit the old encoding only.
  TanDicomFileObject indexed;
  if (!Load(indexed, "CT_small.dcm")) GTEST_SKIP() << "pydicom's test files are not installed";
  ASSERT_TRUE(indexed.BuildPrivatePixelDataInfo());
  const std::string implementation = Text(indexed.FMetaGroup, 0x00020012u);
  ASSERT_TRUE(indexed.ChangeTransferSyntax(6, 90)) << indexed.FLastError;
  EXPECT_EQ(indexed.FMetaGroup.Find(0x00020100u), nullptr);
  EXPECT_EQ(indexed.FMetaGroup.Find(0x00020102u), nullptr);
  EXPECT_EQ(Text(indexed.FMetaGroup, 0x00020012u), implementation);
  EXPECT_EQ(indexed.FMetaGroup.At(0)->GetULong(), indexed.FMetaGroup.Length() - 12);
  ASSERT_TRUE(indexed.BuildPrivatePixelDataInfo());  // built again for the new encoding
  EXPECT_FALSE(TanPrivatePixelDataInfo(indexed).FFrames.IsEmpty());

  // Private information of another title stays, as does a meta group's other content; a
  // missing group length is made and stands first.
  TanDicomFileObject foreign;
  ASSERT_TRUE(Load(foreign, "CT_small.dcm"));
  TanDDEFactory factory(2);
  foreign.FMetaGroup.DeleteByTag(0x00020000u);
  foreign.FMetaGroup.Insert(factory->MakeDDE(0x0002, 0x0100, 1, "1.2.3"));
  foreign.FMetaGroup.Insert(factory->MakeDDE(0x0002, 0x0102, 1, uint32_t{4}, static_cast<const void*>("abcd")));
  ASSERT_TRUE(foreign.ChangeTransferSyntax(1, 90)) << foreign.FLastError;
  EXPECT_EQ(Text(foreign.FMetaGroup, 0x00020100u), "1.2.3");
  ASSERT_NE(foreign.FMetaGroup.Find(0x00020102u), nullptr);
  ASSERT_EQ(foreign.FMetaGroup.At(0)->Tag(), 0x00020000u);
  EXPECT_EQ(foreign.FMetaGroup.At(0)->GetULong(), foreign.FMetaGroup.Length() - 12);
  EXPECT_EQ(Text(foreign.FMetaGroup, 0x00020010u), "1.2.840.10008.1.2");

  // A meta group without (0002,0010) gains one.
  TanDicomFileObject noSyntax;
  ASSERT_TRUE(Load(noSyntax, "CT_small.dcm"));
  noSyntax.FMetaGroup.DeleteByTag(0x00020010u);
  ASSERT_TRUE(noSyntax.ChangeTransferSyntax(3, 90)) << noSyntax.FLastError;
  EXPECT_EQ(Text(noSyntax.FMetaGroup, 0x00020010u), "1.2.840.10008.1.2.2");
  EXPECT_EQ(noSyntax.FMetaGroup.At(0)->GetULong(), noSyntax.FMetaGroup.Length() - 12);
}

TEST_F(FileConvert, FailuresLeaveTheObjectAsItWas) {
  TanDicomFileObject f;
  if (!Load(f, "MR_small_RLE.dcm")) GTEST_SKIP() << "pydicom's test files are not installed";
  const std::string before = State(f);
  for (uint8_t kind : {0, 8, 255}) {
    SCOPED_TRACE(static_cast<int>(kind));
    f.FLastError.clear();
    EXPECT_FALSE(f.ChangeTransferSyntax(kind, 90));
    EXPECT_EQ(f.FLastError, "Cannot change the transfer syntax to kind " + std::to_string(kind) + ".");
    EXPECT_EQ(State(f), before);
  }

  // A value too long for an explicit VR header: the first step fails with the factory's text.
  TanDDEFactory implicit(1);
  const std::string text(70000, '1');
  TanDicomFileObject longText;
  ASSERT_TRUE(Load(longText, "MR_small_implicit.dcm"));
  longText.FDataSet.Insert(implicit->MakeDDE(0x3006, 0x0050, 1, text.c_str()));
  const std::string longBefore = State(longText);
  EXPECT_FALSE(longText.ChangeTransferSyntax(2, 90));
  EXPECT_NE(longText.FLastError.find("3006,0050"), std::string::npos) << longText.FLastError;
  EXPECT_EQ(State(longText), longBefore);

  // Samples of 32 bits have no RLE encoder: refused in one step.
  TanDicomFileObject dose;
  ASSERT_TRUE(Load(dose, "rtdose.dcm"));
  const std::string doseBefore = State(dose);
  EXPECT_FALSE(dose.ChangeTransferSyntax(6, 90));
  EXPECT_EQ(dose.FLastError, "Cannot compress frame 1.");
  EXPECT_EQ(State(dose), doseBefore);

  // A second step that fails leaves the object in its first kind, not in the middle one.
  TanDicomFileObject rgb32;
  ASSERT_TRUE(Load(rgb32, "SC_rgb_rle_32bit.dcm"));
  const std::string rgbBefore = State(rgb32);
  rgb32.FLastError.clear();
  EXPECT_FALSE(rgb32.ChangeTransferSyntax(5, 90));
  EXPECT_FALSE(rgb32.FLastError.empty());
  EXPECT_EQ(State(rgb32), rgbBefore);
  EXPECT_EQ(rgb32.FKind, 6);
}

TEST_F(FileConvert, ConvertToIsOneStep) {
  TanDicomFileObject f;
  MakeImage(f, "MONOCHROME2");
  ASSERT_TRUE(f.ConvertTo(4, 90)) << f.FLastError;
  EXPECT_EQ(f.FKind, 5);
  const std::string before = State(f);
  EXPECT_FALSE(f.ConvertTo(0, 90));
  EXPECT_EQ(State(f), before);
  TanDicomFileObject g;
  MakeImage(g, "MONOCHROME2");
  TanIOD other;
  TanDDEFactory factory(2);
  other.Insert(factory->MakeDDE(0x0010, 0x0010, 1, "Doe^Jane"));
  g.ReplaceDataSet(other);
  EXPECT_TRUE(other.IsEmpty());
  ASSERT_EQ(g.FDataSet.Count(), 1u);
  EXPECT_EQ(g.FDataSet.GetTransferSyntaxKind(), 0);
  EXPECT_EQ(g.FDataSet.GetTransferSyntaxUID(), "");
}

}  // namespace
}  // namespace ORN_dicom

namespace ORN_dicom {

// A (0002,0000) read with a value of another size is made anew by a conversion, not kept:
// its old value could not hold the group's length.
TEST(FileConvertMeta, GroupLengthOfAnotherSizeIsRewritten) {
  EnsureDDERegistry();
  for (const std::string& value : {std::string("\x10\0", 2), std::string("\x10\0\0\0\0\0", 6)}) {
    SCOPED_TRACE(value.size());
    ORN_dicom::testing::Bytes meta;
    meta.expl(0x0002, 0x0001, "OB", std::string("\0\1", 2)).expl(0x0002, 0x0010, "UI", std::string("1.2.840.10008.1.2.1\0", 20));
    ORN_dicom::testing::Bytes file;
    file.b.assign(128, 0);
    file.str("DICM").expl(0x0002, 0x0000, "UL", value).add(meta);
    file.expl(0x0008, 0x0060, "CS", "CT");
    TanDicomFileObject f;
    ASSERT_EQ(f.ReadFromMemory(file.b.data(), file.size(), false), "");
    ASSERT_TRUE(f.ChangeTransferSyntax(1, 90)) << f.FLastError;
    iDDE* length = f.FMetaGroup.Find(0x00020000u);
    ASSERT_NE(length, nullptr);
    EXPECT_EQ(length->VRText(), "UL");
    EXPECT_EQ(length->GetLength(), 4u);
    EXPECT_EQ(length->GetULong(), f.FMetaGroup.Length() - 12);
  }
}

}  // namespace ORN_dicom
