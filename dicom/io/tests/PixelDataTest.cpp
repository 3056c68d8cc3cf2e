// Pixel data in the element factories: fragments joined, native copies between byte orders,
// encapsulated frames decoded (frame boundaries without an offset table, bad frame counts) and
// agreement with dcmtk's decoders on files dcmtk compresses at test time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <filesystem>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/element/ElementClasses.h"
#include "dicom/io/explicit/TanExplicitDDEFactory.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/implicit/TanImplicitDDEFactory.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/pixel/TanFrameSplitter.h"
#include "dicom/io/tests/Bytes.h"
#include "imaging/TsgImageConverter.h"

namespace ORN_dicom {
namespace {

namespace fs = std::filesystem;
using Bytes8 = std::vector<uint8_t>;

Bytes8 ValueOf(iDDE* e) {
  const uint8_t* p = e->GetData();
  return p == nullptr ? Bytes8{} : Bytes8(p, p + e->GetLength());
}

// The owner's closures over one set that is both source and target.
void Bind(TanDDEFactoryBasis& f, TanDDESet<iDDE>& set, int32_t kind) {
  f.FFindDDE = [&set](uint32_t tag, iDDE** found, uint8_t) { return *found = set.Find(tag); };
  f.FRemoveDDE = [&set](uint32_t tag) { set.DeleteByTag(tag); };
  f.FGetTargetPixelAttributes = [&f, &set](int32_t& columns, int32_t& rows, int32_t& bitsStored,
                                           int32_t& bitsAllocated, int32_t& highBit, std::string& photometric,
                                           int32_t& planar, int32_t& frames) {
    f.PixelAttributesOf(set, columns, rows, highBit, bitsStored, bitsAllocated, photometric, planar, frames);
  };
  f.FGetSourceKind = [kind](int32_t& k) { k = kind; };
}

class PixelData : public ::testing::Test {
 protected:
  void SetUp() override { EnsureDDERegistry(); }
};

TEST_F(PixelData, FragmentsAreJoinedIntoOneValue) {
  const uint8_t a[] = {1, 2, 3}, b[] = {4, 5, 6, 7, 8};
  TanImplicitDDEFactory implicit;
  std::unique_ptr<iDDE> e(implicit.MakePixelData(vr::OB, 2, uint32_t{3}, a, uint32_t{4}, b));
  EXPECT_EQ(e->VR(), vr::OW);
  EXPECT_EQ(ValueOf(e.get()), (Bytes8{1, 2, 3, 4, 5, 6, 7, 0}));
  e.reset(implicit.MakePixelData(vr::OB, 0));
  EXPECT_EQ(e->VR(), vr::OW);
  EXPECT_EQ(e->Length(), 0u);

  TanExplicitLEFactory le;
  e.reset(le.MakePixelData(vr::OB, 2, uint32_t{3}, a, uint32_t{5}, b));
  EXPECT_EQ(e->VR(), vr::OB);
  EXPECT_EQ(ValueOf(e.get()), (Bytes8{1, 2, 3, 4, 5, 6, 7, 8}));
  e.reset(le.MakePixelData(vr::OW, 1, uint32_t{5}, b));
  EXPECT_EQ(e->Length(), 6u);
  e.reset(le.MakePixelData(vr::OB, 0));
  EXPECT_EQ(e->Length(), 0u);
}

TEST_F(PixelData, NativeCopiesTurnWordsBetweenByteOrders) {
  const uint8_t raw[] = {1, 2, 3, 4};
  dde::LongWords little(0x7FE0, 0x0010, vr::OW, raw, 4);
  dde::LongWordsBE big(0x7FE0, 0x0010, vr::OW, raw, 4);
  dde::LongBytes bytes(0x7FE0, 0x0010, vr::OB, raw, 4);
  TanImplicitDDEFactory implicit;
  TanExplicitLEFactory le;
  TanExplicitBEFactory be;
  struct Case {
    iDDEFactory* factory;
    iDDE* source;
    Bytes8 stored;
    uint16_t vr;
  } cases[] = {
      {&le, &little, {1, 2, 3, 4}, vr::OW},       {&le, &big, {2, 1, 4, 3}, vr::OW},
      {&be, &little, {2, 1, 4, 3}, vr::OW},       {&be, &big, {1, 2, 3, 4}, vr::OW},
      {&implicit, &big, {2, 1, 4, 3}, vr::OW},    {&implicit, &little, {1, 2, 3, 4}, vr::OW},
      {&le, &bytes, {1, 2, 3, 4}, vr::OB},        {&be, &bytes, {1, 2, 3, 4}, vr::OB},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    std::unique_ptr<iDDE> e(c.factory->MakeDDEFromDDE(c.source));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Tag(), 0x7FE00010u);
    EXPECT_EQ(e->VR(), c.vr);
    EXPECT_EQ(e->Length(), 4u);
    EXPECT_EQ(ValueOf(e.get()), c.stored);
  }
  // Round trip little -> big -> little is byte-identical.
  std::unique_ptr<iDDE> there(be.MakeDDEFromDDE(&little));
  std::unique_ptr<iDDE> back(le.MakeDDEFromDDE(there.get()));
  EXPECT_EQ(ValueOf(back.get()), (Bytes8{1, 2, 3, 4}));
}

// An 8-bit grey image of 4 x 2 pixels with frame number f in every pixel's low bits.
Bytes8 GreyFrame(uint8_t f) {
  Bytes8 p(8);
  for (size_t i = 0; i < p.size(); ++i) p[i] = uint8_t(f * 16 + i);
  return p;
}

Bytes8 Rle(const Bytes8& frame) {
  Bytes8 out(1024);
  TsgImageConverter c;
  out.resize(c.CompressRle(4, 2, 8, frame.data(), out.data(), uint32_t(out.size())));
  return out;
}

Bytes8 LosslessJpeg(const Bytes8& frame) {
  Bytes8 out(4096);
  TsgImageConverter c;
  out.resize(c.CompressJpegLossless(4, 2, 8, frame.data(), out.data(), uint32_t(out.size())));
  return out;
}

// An encapsulated pixel-data element with an empty offset table and the given fragments.
iDDE* Encapsulated(const std::vector<Bytes8>& fragments) {
  testing::Bytes b;
  b.u16(0x7FE0).u16(0x0010).str("OB").u16(0).u32(0xFFFFFFFFu);
  b.u16(0xFFFE).u16(0xE000).u32(0);
  for (Bytes8 f : fragments) {
    if (f.size() % 2) f.push_back(0);
    b.u16(0xFFFE).u16(0xE000).u32(uint32_t(f.size()));
    b.b.insert(b.b.end(), f.begin(), f.end());
  }
  b.u16(0xFFFE).u16(0xE0DD).u32(0);
  TanExplicitLEFactory reader;
  return reader.MakeDDEFromRange(b.b.data(), b.b.data() + b.b.size());
}

void GreyAttributes(TanDDESet<iDDE>& set, iDDEFactory& f, const char* frames) {
  set.Insert(f.MakeDDE(0x0028, 0x0002, 1, 1));
  set.Insert(f.MakeDDE(0x0028, 0x0004, 1, "MONOCHROME2"));
  set.Insert(f.MakeDDE(0x0028, 0x0008, 1, frames));
  set.Insert(f.MakeDDE(0x0028, 0x0010, 1, 2));
  set.Insert(f.MakeDDE(0x0028, 0x0011, 1, 4));
  set.Insert(f.MakeDDE(0x0028, 0x0100, 1, 8));
  set.Insert(f.MakeDDE(0x0028, 0x0101, 1, 8));
}

TEST_F(PixelData, FramesWithoutAnOffsetTableKeepTheirBoundaries) {
  const Bytes8 f0 = GreyFrame(1), f1 = GreyFrame(2), f2 = GreyFrame(3);
  Bytes8 all = f0;
  all.insert(all.end(), f1.begin(), f1.end());
  all.insert(all.end(), f2.begin(), f2.end());
  const Bytes8 r0 = Rle(f0), r1 = Rle(f1), r2 = Rle(f2);
  ASSERT_FALSE(r0.empty());
  Bytes8 j0 = LosslessJpeg(f0), j1 = LosslessJpeg(f1), j2 = LosslessJpeg(f2);
  ASSERT_FALSE(j0.empty());
  // Make the second JPEG stream start at an odd offset within the one fragment.
  if (j0.size() % 2 == 0) j0.push_back(0);
  Bytes8 jpegs = j0;
  jpegs.insert(jpegs.end(), j1.begin(), j1.end());
  jpegs.insert(jpegs.end(), j2.begin(), j2.end());
  const Bytes8 r1a(r1.begin(), r1.begin() + 70), r1b(r1.begin() + 70, r1.end());
  ASSERT_GT(r1.size(), 70u);
  Bytes8 rAll = r0;
  rAll.insert(rAll.end(), r1.begin(), r1.end());

  struct Case {
    const char* name;
    std::vector<Bytes8> fragments;
    int32_t kind;
  } cases[] = {
      {"RLE, one fragment per frame", {r0, r1, r2}, 6},
      {"RLE, a frame over two fragments", {r0, r1a, r1b, r2}, 6},
      {"lossless JPEG, one fragment per frame", {j0, j1, j2}, 5},
      {"lossless JPEG, all frames in one fragment", {jpegs}, 5},
      {"lossless JPEG, a frame over two fragments", {j0, Bytes8(j1.begin(), j1.begin() + 10), Bytes8(j1.begin() + 10, j1.end()), j2}, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TanExplicitLEFactory f;
    TanDDESet<iDDE> set;
    GreyAttributes(set, f, "3");
    Bind(f, set, c.kind);
    std::unique_ptr<iDDE> source(Encapsulated(c.fragments));
    ASSERT_NE(source, nullptr);
    std::unique_ptr<iDDE> made(f.MakeDDEFromDDE(source.get()));
    ASSERT_NE(made, nullptr) << f.FLastMessage;
    EXPECT_EQ(made->VR(), vr::OB);
    EXPECT_EQ(ValueOf(made.get()), all);
    // Reading never fills the source's offset table.
    EXPECT_FALSE(source->GetEncapsulatedPixelData()->FFrames.HasOffsetTable());
  }
}

TEST_F(PixelData, BadFrameCountsFailWithAText) {
  const Bytes8 r0 = Rle(GreyFrame(1)), r1 = Rle(GreyFrame(2));
  for (const char* frames : {"0", "abc", "-2", "3"}) {
    SCOPED_TRACE(frames);
    TanExplicitLEFactory f;
    TanDDESet<iDDE> set;
    GreyAttributes(set, f, frames);
    Bind(f, set, 6);
    std::unique_ptr<iDDE> source(Encapsulated({r0, r1}));
    std::unique_ptr<iDDE> made(f.MakeDDEFromDDE(source.get()));
    EXPECT_EQ(made, nullptr);
    EXPECT_FALSE(f.FLastMessage.empty());
  }
}

TEST_F(PixelData, IconPixelDataChangesOnlyItsItem) {
  // Colour RLE inside an item: the item's photometric attributes follow; the image's stay.
  Bytes8 rgb(4 * 2 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 7);
  Bytes8 rle(2048);
  TsgImageConverter c;
  rle.resize(c.CompressRleRGB(4, 2, 1, rgb.data(), rle.data(), uint32_t(rle.size())));
  ASSERT_FALSE(rle.empty());
  TanExplicitLEFactory f;
  TanDDESet<iDDE> top, item;
  for (TanDDESet<iDDE>* s : {&top, &item}) {
    s->Insert(f.MakeDDE(0x0028, 0x0002, 1, 3));
    s->Insert(f.MakeDDE(0x0028, 0x0004, 1, "YBR_FULL"));
    s->Insert(f.MakeDDE(0x0028, 0x0006, 1, 1));
    s->Insert(f.MakeDDE(0x0028, 0x0010, 1, 2));
    s->Insert(f.MakeDDE(0x0028, 0x0011, 1, 4));
    s->Insert(f.MakeDDE(0x0028, 0x0100, 1, 8));
    s->Insert(f.MakeDDE(0x0028, 0x0101, 1, 8));
  }
  top.Find(0x00280004u)->SetString("RGB");
  Bind(f, top, 6);
  f.FCurrentSet = &item;
  f.FPixelDataInItem = 1;
  std::unique_ptr<iDDE> source(Encapsulated({rle}));
  std::unique_ptr<iDDE> made(f.MakeDDEFromDDE(source.get()));
  ASSERT_NE(made, nullptr) << f.FLastMessage;
  EXPECT_EQ(made->GetLength(), 24u);
  EXPECT_EQ(item.Find(0x00280004u)->GetString().substr(0, 3), "RGB");
  EXPECT_EQ(item.Find(0x00280006u)->GetUShort(), 0);
  EXPECT_EQ(top.Find(0x00280004u)->GetString().substr(0, 3), "RGB");
  EXPECT_EQ(top.Find(0x00280006u)->GetUShort(), 1);
}

// ---- agreement with dcmtk ----

const fs::path kPydicom = "/usr/lib/python3/dist-packages/pydicom/data/test_files";

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// The pixel bytes of a file with interleaved colour samples.
Bytes8 NativePixels(TanDicomFileObject& file) {
  iDDE* e = file.FDataSet.Find(0x7FE00010u);
  Bytes8 p = e != nullptr ? ValueOf(e) : Bytes8{};
  iDDE* planar = file.FDataSet.Find(0x00280006u);
  iDDE* samples = file.FDataSet.Find(0x00280002u);
  if (planar == nullptr || planar->GetUShort() == 0 || samples == nullptr || samples->GetUShort() != 3) return p;
  const uint32_t columns = file.FDataSet.Find(0x00280011u)->GetUShort();
  const uint32_t rows = file.FDataSet.Find(0x00280010u)->GetUShort();
  const size_t plane = size_t(columns) * rows, frame = plane * 3;
  Bytes8 out(p.size());
  for (size_t f = 0; f + frame <= p.size(); f += frame)
    for (size_t i = 0; i < plane; ++i)
      for (size_t s = 0; s < 3; ++s) out[f + i * 3 + s] = p[f + s * plane + i];
  return out;
}

TEST_F(PixelData, DecodedLikeDcmtk) {
  if (!fs::exists("/usr/bin/dcmcjpeg") || !fs::exists(kPydicom)) GTEST_SKIP() << "dcmtk or pydicom's files missing";
  const fs::path dir = fs::temp_directory_path() / ("vistrel_pixel_" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  struct Case {
    const char* source;
    const char* compress;  // dcmtk compressor and options; empty: the source is compressed
    const char* decompress;
    int tolerance;
  } cases[] = {
      {"MR_small_RLE.dcm", "", "dcmdrle", 0},
      {"SC_rgb_rle_2frame.dcm", "", "dcmdrle", 0},
      {"MR_small.dcm", "dcmcrle", "dcmdrle", 0},
      {"MR_small.dcm", "dcmcjpeg +e1", "dcmdjpeg", 0},
      {"SC_rgb.dcm", "dcmcjpeg +e1", "dcmdjpeg", 0},
      {"SC_rgb_rle_2frame.dcm", "dcmdrle {in} {in}.n && dcmcjpeg +e1 {in}.n", "dcmdjpeg", 0},
      {"SC_rgb_rle_2frame.dcm", "dcmdrle {in} {in}.n && dcmcjpeg +eb {in}.n", "dcmdjpeg", 1},
      {"MR_small_RLE.dcm", "dcmdrle {in} {in}.n && dcmcjpeg +e1 {in}.n", "dcmdjpeg", 0},
      {"SC_rgb_jpeg_dcmtk.dcm", "", "dcmdjpeg", 1},
      {"SC_rgb.dcm", "dcmcjpeg +eb", "dcmdjpeg", 1},
      {"CT_small.dcm", "dcmcjpeg +ee", "dcmdjpeg", 1},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source) + " " + c.compress);
    fs::path compressed = kPydicom / c.source;
    if (!fs::exists(compressed)) continue;
    const fs::path made = dir / ("c" + std::to_string(n) + ".dcm"), reference = dir / ("d" + std::to_string(n) + ".dcm");
    ++n;
    if (*c.compress) {
      std::string command = c.compress;
      for (size_t at; (at = command.find("{in}")) != std::string::npos;) command.replace(at, 4, (dir / "in").string());
      fs::copy_file(compressed, dir / "in", fs::copy_options::overwrite_existing);
      // A command without {in} takes the source as its first argument.
      const std::string input = command == c.compress ? " '" + compressed.string() + "'" : "";
      ASSERT_TRUE(Shell(command + input + " '" + made.string() + "'"));
      compressed = made;
    }
    ASSERT_TRUE(Shell(std::string(c.decompress) + " +te '" + compressed.string() + "' '" + reference.string() + "'"));
    TanDicomFileObject source, expected;
    ASSERT_EQ(source.LoadFromFile(compressed.string(), false), "");
    ASSERT_EQ(expected.LoadFromFile(reference.string(), false), "");
    TanExplicitLEFactory f;
    Bind(f, source.FDataSet, source.GetTransferSyntaxKind());
    std::unique_ptr<iDDE> decoded(f.MakeDDEFromDDE(source.FDataSet.Find(0x7FE00010u)));
    ASSERT_NE(decoded, nullptr) << f.FLastMessage;
    const Bytes8 want = NativePixels(expected), got = ValueOf(decoded.get());
    ASSERT_EQ(got.size(), want.size());
    size_t worst = 0;
    for (size_t i = 0; i < got.size(); ++i) worst = std::max<size_t>(worst, std::abs(int(got[i]) - int(want[i])));
    EXPECT_LE(worst, size_t(c.tolerance));
    iDDE* photometric = source.FDataSet.Find(0x00280004u);
    iDDE* reference3 = expected.FDataSet.Find(0x00280004u);
    EXPECT_EQ(photometric->GetString(), reference3->GetString());
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ORN_dicom
