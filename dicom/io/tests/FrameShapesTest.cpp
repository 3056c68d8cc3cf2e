// Multi-frame encapsulated files as real writers store them (offset tables with an entry too
// many or offsets that ignore padding, odd-length fragments, frames over several fragments):
// read as stored, converted to explicit little endian and compared with dcmtk's decoding.
// The files are made at test time by make_frame_shapes.py (pydicom, dcmcjpeg, dcmcrle).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/file/TanPrivatePixelDataInfo.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/pixel/TanFrameSplitter.h"

namespace ORN_dicom {
namespace {

namespace fs = std::filesystem;
using Bytes8 = std::vector<uint8_t>;

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

Bytes8 PixelsOf(TanDicomFileObject& file) {
  iDDE* e = file.FDataSet.Find(0x7FE00010u);
  const uint8_t* p = e != nullptr ? e->GetData() : nullptr;
  return p == nullptr ? Bytes8{} : Bytes8(p, p + e->GetLength());
}

int32_t FramesOf(TanDicomFileObject& file) {
  iDDE* e = file.FDataSet.Find(0x00280008u);
  return e != nullptr ? std::atoi(e->GetString().c_str()) : 0;
}

class FrameShapes : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    EnsureDDERegistry();
    if (!fs::exists("/usr/bin/dcmcjpeg") || !Shell("/usr/bin/python3 -c 'import pydicom, numpy'")) return;
    Dir = fs::temp_directory_path() / ("vistrel_shapes_" + std::to_string(std::random_device{}()));
    Made = Shell("/usr/bin/python3 '" DICOM_IO_TESTS_DIR "/make_frame_shapes.py' '" + Dir.string() + "'");
  }
  static void TearDownTestSuite() {
    if (!Dir.empty()) fs::remove_all(Dir);
  }
  void SetUp() override {
    if (!Made) GTEST_SKIP() << "dcmtk, pydicom or numpy missing";
  }
  static inline fs::path Dir;
  static inline bool Made = false;
};

TEST_F(FrameShapes, ConvertedToThePixelsDcmtkDecodes) {
  struct Case {
    const char* codec;
    const char* shape;
    uint32_t tableEntries;  // as read: the element is kept as stored
    int tolerance;
  } cases[] = {
      {"jpeg_lossless", "extra_entry", 5, 0},          {"jpeg_lossless", "odd_fragments", 4, 0},
      {"jpeg_lossless", "offsets_ignore_padding", 4, 0}, {"jpeg_lossless", "split_no_table", 0, 0},
      {"jpeg_lossless", "split_bad_table", 4, 0},      {"jpeg_baseline", "extra_entry", 5, 1},
      {"jpeg_baseline", "odd_fragments", 4, 1},        {"jpeg_baseline", "offsets_ignore_padding", 4, 1},
      {"jpeg_baseline", "split_no_table", 0, 1},       {"jpeg_baseline", "split_bad_table", 4, 1},
      {"rle", "extra_entry", 5, 0},                    {"rle", "split_no_table", 0, 0},
      {"rle", "split_bad_table", 4, 0},
  };
  for (const Case& c : cases) {
    const std::string name = std::string(c.codec) + "_" + c.shape;
    SCOPED_TRACE(name);
    TanDicomFileObject file, reference;
    ASSERT_EQ(file.LoadFromFile((Dir / (name + ".dcm")).string(), false), "");
    ASSERT_EQ(reference.LoadFromFile((Dir / (std::string(c.codec) + "_reference.dcm")).string(), false), "");
    TanEPDValue* value = file.FDataSet.Find(0x7FE00010u)->GetEncapsulatedPixelData();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->FFrames.HasOffsetTable() ? value->FFrames.Count() : 0u, c.tableEntries);
    ASSERT_TRUE(file.ChangeTransferSyntax(2, 90)) << file.FLastError;
    const Bytes8 got = PixelsOf(file), want = PixelsOf(reference);
    ASSERT_EQ(got.size(), want.size());
    int worst = 0;
    for (size_t i = 0; i < got.size(); ++i) worst = std::max(worst, std::abs(int(got[i]) - int(want[i])));
    EXPECT_LE(worst, c.tolerance);
    EXPECT_EQ(FramesOf(file), 4);
  }
}

TEST_F(FrameShapes, OnlyTheFrameThatCannotBeFoundFails) {
  for (const char* codec : {"jpeg_lossless", "jpeg_baseline"}) {
    SCOPED_TRACE(codec);
    TanDicomFileObject file;
    // Four frames declared, three stored: the file reads, its first three frames are found.
    ASSERT_EQ(file.LoadFromFile((Dir / (std::string(codec) + "_missing_frame.dcm")).string(), false), "");
    TanFrameSplitter splitter;
    EXPECT_FALSE(splitter.Split(*file.FDataSet.Find(0x7FE00010u)->GetEncapsulatedPixelData(), 4,
                                file.GetTransferSyntaxKind()));
    EXPECT_EQ(splitter.Count(), 3u);
    EXPECT_EQ(splitter.ErrorText(), "Frame 4 cannot be found in the encapsulated pixel data.");
    EXPECT_NE(splitter.Frame(2).Data, nullptr);
    EXPECT_EQ(splitter.Frame(3).Data, nullptr);
    // A conversion needs every frame: it fails with that text and leaves the file as read.
    const Bytes8 before = PixelsOf(file);
    EXPECT_FALSE(file.ChangeTransferSyntax(2, 90));
    EXPECT_NE(file.FLastError.find("Frame 4 cannot be found"), std::string::npos) << file.FLastError;
    EXPECT_EQ(PixelsOf(file), before);
  }
}

// Writes the indexed file and reads every indexed frame back at its offsets: each must lie
// inside the file and hold the bytes of the frame that the splitter finds.
void ExpectIndexedFramesAreTheDecodersFrames(TanDicomFileObject& file, const fs::path& out, uint32_t frames,
                                             uint32_t fragmentsPerFrame) {
  ASSERT_TRUE(file.SaveToFile(out.string())) << file.FLastError;
  std::ifstream in(out, std::ios::binary);
  const Bytes8 bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TanDicomFileObject back;
  ASSERT_EQ(back.LoadFromFile(out.string(), false), "");
  TanPrivatePixelDataInfo index(back);
  ASSERT_EQ(index.FFrames.GetCount(), frames);
  TanFrameSplitter splitter;
  ASSERT_TRUE(splitter.Split(*back.FDataSet.Find(0x7FE00010u)->GetEncapsulatedPixelData(),
                             static_cast<int32_t>(frames), back.GetTransferSyntaxKind()));
  for (uint32_t i = 0; i < frames; ++i) {
    iPRIVATE_PIXEL_DATA_INFO_FRAME& frame = index.FFrames.Frame(i);
    if (fragmentsPerFrame != 0) EXPECT_EQ(frame.GetFragmentCount(), fragmentsPerFrame) << "frame " << i;
    Bytes8 indexed;
    for (uint32_t j = 0; j < frame.GetFragmentCount(); ++j) {
      const uint64_t end = uint64_t{frame.FragmentOffset(j)} + frame.FragmentLength(j);
      ASSERT_LE(end, bytes.size()) << "frame " << i << " lies beyond the end of the file";
      indexed.insert(indexed.end(), bytes.begin() + frame.FragmentOffset(j), bytes.begin() + end);
    }
    const TanFrameSplitter::Range found = splitter.Frame(i);
    EXPECT_TRUE(indexed == Bytes8(found.Data, found.Data + found.Length)) << "frame " << i;
  }
}

// The private pixel-data index of a file without offset table names each frame where a
// decoder finds it: one fragment per frame (as dcmcjpeg -ot and dcmcrle -ot store them), or the
// fragments from one JPEG or RLE start to the next.
TEST_F(FrameShapes, EmptyOffsetTableIndexedWhereTheFramesAre) {
  struct Case {
    const char* file;
    uint32_t fragmentsPerFrame;
  } cases[] = {{"jpeg_lossless_empty_table", 1}, {"jpeg_baseline_empty_table", 1}, {"rle_empty_table", 1},
               {"jpeg_lossless_split_no_table", 2}, {"rle_split_no_table", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TanDicomFileObject file;
    ASSERT_EQ(file.LoadFromFile((Dir / (std::string(c.file) + ".dcm")).string(), false), "");
    TanEPDValue* value = file.FDataSet.Find(0x7FE00010u)->GetEncapsulatedPixelData();
    ASSERT_NE(value, nullptr);
    ASSERT_FALSE(value->FFrames.HasOffsetTable());
    ASSERT_TRUE(file.BuildPrivatePixelDataInfo()) << file.FLastError;
    ExpectIndexedFramesAreTheDecodersFrames(file, Dir / (std::string(c.file) + "_indexed.dcm"), 4,
                                            c.fragmentsPerFrame);
  }
}

TEST_F(FrameShapes, GdcmExampleWithAnOddFragmentAndAnExtraTableEntry) {
  const fs::path gdcm = "/usr/share/doc/libgdcm3.0/examples/00191113.dcm";
  if (!fs::exists(gdcm)) GTEST_SKIP() << "GDCM's examples are not installed";
  const fs::path reference = Dir / "00191113_reference.dcm";
  ASSERT_TRUE(Shell("dcmdjpeg +te '" + gdcm.string() + "' '" + reference.string() + "'"));
  TanDicomFileObject file, expected;
  ASSERT_EQ(file.LoadFromFile(gdcm.string(), false), "");
  ASSERT_EQ(expected.LoadFromFile(reference.string(), false), "");
  // Its offset table groups the fragments wrongly (frame 1 would get two, frame 4 none): the
  // index is made from the frames the decoder finds instead, one fragment each.
  TanDicomFileObject indexed;
  ASSERT_EQ(indexed.LoadFromFile(gdcm.string(), false), "");
  ASSERT_TRUE(indexed.BuildPrivatePixelDataInfo()) << indexed.FLastError;
  ExpectIndexedFramesAreTheDecodersFrames(indexed, Dir / "00191113_indexed.dcm", 4, 1);
  ASSERT_TRUE(file.ChangeTransferSyntax(2, 90)) << file.FLastError;
  const Bytes8 got = PixelsOf(file);
  EXPECT_EQ(got.size(), 512u * 512u * 4u);
  EXPECT_TRUE(got == PixelsOf(expected));
}

}  // namespace
}  // namespace ORN_dicom
