// Native pixel data compressed by the lossless JPEG and RLE factories: what they write is read
// back by dcmtk to the source's pixels and passes dciodvfy with no error the source lacks;
// encapsulated sources are copied one fragment per frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/element/ElementClasses.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/tests/FactoryBinding.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/pixel/TanLosslessDDEFactory.h"
#include "dicom/io/tests/TestFileWriter.h"

namespace ORN_dicom {
namespace {

namespace fs = std::filesystem;
const fs::path kPydicom = "/usr/lib/python3/dist-packages/pydicom/data/test_files";

int Shell(const std::string& command) { return std::system(command.c_str()); }

std::vector<uint8_t> PixelsOf(TanDDESet<iDDE>& set) {
  iDDE* e = set.Find(0x7FE00010u);
  const uint8_t* p = e != nullptr ? e->GetData() : nullptr;
  return p == nullptr ? std::vector<uint8_t>{} : std::vector<uint8_t>(p, p + e->GetLength());
}

bool Convert(TanDDEFactoryBasis& f, TanDDESet<iDDE>& source, TanDDESet<iDDE>& target, int32_t kind) {
  test_support::BindFactory(f, source, target, kind);
  for (uint32_t i = 0; i < source.Count(); ++i) {
    iDDE* made = f.MakeDDEFromDDEPtr(source.At(i));
    if (made == nullptr) {
      ADD_FAILURE() << "no element for " << source.At(i)->TagText() << ": " << f.FLastMessage;
      return false;
    }
    if (!target.Insert(made)) {
      delete made;
      return false;
    }
  }
  return true;
}

// The error lines dciodvfy reports for a file.
std::vector<std::string> Errors(const fs::path& file, const fs::path& log) {
  Shell("dciodvfy '" + file.string() + "' >'" + log.string() + "' 2>&1");
  std::ifstream in(log);
  std::vector<std::string> errors;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("Error", 0) == 0) errors.push_back(line);
  return errors;
}

class Compression : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDDERegistry();
    dir = fs::temp_directory_path() / ("vistrel_compress_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(Compression, MakePixelDataGivesOneFramePerFragment) {
  const uint8_t a[5] = {1, 2, 3, 4, 5}, b[8] = {};
  TanLosslessDDEFactory f;
  std::unique_ptr<iDDE> e(f.MakePixelData(vr::OB, 2, uint32_t{5}, a, uint32_t{8}, b));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Length(), 0xFFFFFFFFu);
  TanFrames& frames = e->ValueAs<TanEPDValue>()->FFrames;
  ASSERT_EQ(frames.Count(), 2u);
  EXPECT_EQ(frames.Offset(0), 0u);
  EXPECT_EQ(frames.Offset(1), 14u);
  e.reset(f.MakePixelData(vr::OB, 0));
  EXPECT_EQ(e->ValueAs<TanEPDValue>()->Count(), 2u);  // the empty table and the delimiter
}

TEST_F(Compression, DcmtkReadsWhatTheFactoriesWrite) {
  if (!fs::exists("/usr/bin/dcmdjpeg") || !fs::exists(kPydicom)) GTEST_SKIP() << "dcmtk or pydicom's files missing";
  const bool dciodvfy = fs::exists("/usr/bin/dciodvfy");
  struct Case {
    const char* file;
    uint8_t kind;
    const char* syntax;
    const char* tool;
  } cases[] = {
      {"MR_small.dcm", 5, "1.2.840.10008.1.2.4.70", "dcmdjpeg"},
      {"MR_small.dcm", 6, "1.2.840.10008.1.2.5", "dcmdrle"},
      {"MR_small_bigendian.dcm", 5, "1.2.840.10008.1.2.4.70", "dcmdjpeg"},
      {"CT_small.dcm", 6, "1.2.840.10008.1.2.5", "dcmdrle"},
      {"SC_rgb.dcm", 5, "1.2.840.10008.1.2.4.70", "dcmdjpeg"},
      {"SC_rgb.dcm", 6, "1.2.840.10008.1.2.5", "dcmdrle"},
      {"SC_rgb_rle_2frame.dcm", 5, "1.2.840.10008.1.2.4.70", "dcmdjpeg"},
      {"SC_ybr_full_422_uncompressed.dcm", 6, "1.2.840.10008.1.2.5", "dcmdrle"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const fs::path source = kPydicom / c.file;
    if (!fs::exists(source)) continue;
    SCOPED_TRACE(std::string(c.file) + " to kind " + std::to_string(c.kind));
    const fs::path made = dir / ("m" + std::to_string(n) + ".dcm"), back = dir / ("b" + std::to_string(n) + ".dcm"),
                   plain = dir / ("p" + std::to_string(n) + ".dcm");
    ++n;
    TanDicomFileObject from;
    ASSERT_EQ(from.LoadFromFile(source.string(), false), "");
    // The reference: the source's pixels as dcmtk decodes them to explicit little endian.
    ASSERT_EQ(Shell("dcmconv +te '" + source.string() + "' '" + plain.string() + "' >/dev/null 2>&1 || " +
                    (from.GetTransferSyntaxKind() == 6 ? "dcmdrle" : "dcmdjpeg") + " '" + source.string() + "' '" +
                    plain.string() + "' >/dev/null 2>&1"),
              0);
    TanDDEFactory facade(c.kind);
    TanDDESet<iDDE> target;
    ASSERT_TRUE(Convert(*static_cast<TanDDEFactoryBasis*>(facade.Get()), from.FDataSet, target,
                        from.GetTransferSyntaxKind()));
    ASSERT_TRUE(testing::WritePart10(made.string(), from.FMetaGroup, target, c.syntax));
    ASSERT_EQ(Shell(std::string(c.tool) + " +te '" + made.string() + "' '" + back.string() + "' >/dev/null 2>&1"), 0);
    TanDicomFileObject decoded, reference;
    ASSERT_EQ(decoded.LoadFromFile(back.string(), false), "");
    ASSERT_EQ(reference.LoadFromFile(plain.string(), false), "");
    std::vector<uint8_t> want = PixelsOf(reference.FDataSet);
    iDDE* photometric = reference.FDataSet.Find(0x00280004u);
    if (photometric != nullptr && photometric->GetString().find("YBR") != std::string::npos) continue;  // checked below
    EXPECT_EQ(PixelsOf(decoded.FDataSet), want);
    if (dciodvfy) {
      const std::vector<std::string> before = Errors(plain, dir / "before.txt"), after = Errors(made, dir / "after.txt");
      for (const std::string& e : after)
        EXPECT_NE(std::find(before.begin(), before.end(), e), before.end()) << "new dciodvfy error: " << e;
    }
  }
}

}  // namespace
}  // namespace ORN_dicom

namespace ORN_dicom {
namespace {

TEST_F(Compression, DataSetsConvertedByTheIODFactories) {
  // Group lengths above group 0002 are left out; the source is not changed.
  TanExplicitLEFactory le;
  TanIOD source;
  source.SetTransferSyntaxKind(2);
  source.Insert(le.MakeDDE(0x0002, 0x0000, 1, 10));
  source.Insert(le.MakeDDE(0x0008, 0x0000, 1, 10));
  source.Insert(le.MakeDDE(0x0008, 0x0016, 1, "1.2.3"));
  source.Insert(le.MakeDDE(0x0010, 0x0000, 1, 10));
  TanIODFactory big(3, 50);
  std::unique_ptr<TanIOD> target(big->MakeIOD());
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->GetTransferSyntaxKind(), 3);
  ASSERT_TRUE(big->ConvertIOD(*target, source, false));
  EXPECT_STREQ(big->GetLastMessage(), "");
  ASSERT_EQ(target->Count(), 2u);
  EXPECT_EQ(target->At(0)->Tag(), 0x00020000u);
  EXPECT_EQ(target->At(1)->Tag(), 0x00080016u);
  EXPECT_EQ(source.Count(), 4u);
  TanIOD empty, none;
  EXPECT_TRUE(big->ConvertIOD(none, empty, false));
  EXPECT_EQ(none.Count(), 0u);

  // Merging two sets keeps both copies of a shared tag.
  TanIOD merged;
  TanDDESet<iDDE>* sets[] = {&source, &source};
  ASSERT_TRUE(big->AddDDEsFromSets(&merged, 2, sets));
  EXPECT_EQ(merged.Count(), 8u);

  // A value too long for its short VR: refused with the factory's text; a private one is
  // left out when tolerated.
  const std::string text(70000, '1');
  TanIOD longs;
  longs.Insert(new dde::ImplicitText(0x3006, 0x0050, vr::DS, text.data(), uint32_t(text.size())));
  TanIOD out;
  EXPECT_FALSE(big->ConvertIOD(out, longs, false));
  EXPECT_NE(std::string(big->GetLastMessage()).find("3006,0050"), std::string::npos);
  TanIOD privateLongs, tolerated;
  privateLongs.Insert(new dde::ImplicitText(0x0011, 0x1010, vr::DS, text.data(), uint32_t(text.size())));
  EXPECT_TRUE(big->ConvertIOD(tolerated, privateLongs, true));
  EXPECT_EQ(tolerated.Count(), 0u);
}

TEST_F(Compression, FilesConvertedByTheIODFactoryDecodeToTheSourcePixels) {
  if (!fs::exists(kPydicom / "SC_rgb_rle_2frame.dcm")) GTEST_SKIP() << "pydicom's files missing";
  TanDicomFileObject rle, native;
  ASSERT_EQ(rle.LoadFromFile((kPydicom / "SC_rgb_rle_2frame.dcm").string(), false), "");
  TanIODFactory explicitLE(2, 50);
  std::unique_ptr<TanIOD> decoded(explicitLE->MakeIOD());
  ASSERT_TRUE(explicitLE->ConvertIOD(*decoded, rle.FDataSet, false)) << explicitLE->GetLastMessage();
  TanIODFactory jpeg(5, 50);
  std::unique_ptr<TanIOD> compressed(jpeg->MakeIOD());
  ASSERT_TRUE(jpeg->ConvertIOD(*compressed, *decoded, false)) << jpeg->GetLastMessage();
  std::unique_ptr<TanIOD> back(explicitLE->MakeIOD());
  ASSERT_TRUE(explicitLE->ConvertIOD(*back, *compressed, false)) << explicitLE->GetLastMessage();
  EXPECT_EQ(PixelsOf(*back), PixelsOf(*decoded));
  EXPECT_EQ(PixelsOf(*decoded).size(), 100u * 100u * 3u * 2u);

  // Implicit VR decodes too: MR_small_RLE to the pixels of MR_small.
  TanDicomFileObject mrRle, mr;
  ASSERT_EQ(mrRle.LoadFromFile((kPydicom / "MR_small_RLE.dcm").string(), false), "");
  ASSERT_EQ(mr.LoadFromFile((kPydicom / "MR_small.dcm").string(), false), "");
  TanIODFactory implicit(1, 50);
  std::unique_ptr<TanIOD> plain(implicit->MakeIOD());
  ASSERT_TRUE(implicit->ConvertIOD(*plain, mrRle.FDataSet, false)) << implicit->GetLastMessage();
  EXPECT_EQ(PixelsOf(*plain), PixelsOf(mr.FDataSet));
}

}  // namespace
}  // namespace ORN_dicom
