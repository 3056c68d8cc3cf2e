// Elements of any encoding converted into explicit VR: data sets equal to dcmconv's (and to
// dcmdjpeg's and dcmdrle's for compressed files), little <-> big endian round trips, values
// too long for a short-length VR refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <filesystem>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/element/ElementClasses.h"
#include "dicom/io/explicit/TanExplicitDDEFactory.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/tests/FactoryBinding.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {
namespace {

namespace fs = std::filesystem;
const fs::path kPydicom = "/usr/lib/python3/dist-packages/pydicom/data/test_files";

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Every element of source converted by f into target, in tag order.
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

TanDDESet<iDDE>* Nested(iDDE* e) {
  if (auto* s = e->ValueAs<TanDDEItemValue>()) return s;
  if (auto* s = e->ValueAs<TanDDESequenceValue>()) return s;
  return nullptr;
}

// Differences between two sets as text lines; group lengths are left out (their values follow
// the encoding), and so are the tags in skip.
void Compare(TanDDESet<iDDE>& got, TanDDESet<iDDE>& want, const std::string& at, int tolerance,
             const std::vector<uint32_t>& skip, std::string& out) {
  auto keep = [&skip](iDDE* e) {
    return e->Element() != 0 && std::find(skip.begin(), skip.end(), e->Tag()) == skip.end() &&
           e->Tag() != 0xFFFEE00Du && e->Tag() != 0xFFFEE0DDu;
  };
  std::vector<iDDE*> a, b;
  for (uint32_t i = 0; i < got.Count(); ++i)
    if (keep(got.At(i))) a.push_back(got.At(i));
  for (uint32_t i = 0; i < want.Count(); ++i)
    if (keep(want.At(i))) b.push_back(want.At(i));
  size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    if (j == b.size() || (i < a.size() && a[i]->Tag() < b[j]->Tag())) {
      out += at + a[i++]->TagText() + " only in ours\n";
      continue;
    }
    if (i == a.size() || b[j]->Tag() < a[i]->Tag()) {
      out += at + b[j++]->TagText() + " only in dcmtk's\n";
      continue;
    }
    iDDE *x = a[i++], *y = b[j++];
    const std::string where = at + x->TagText();
    // Decoded pixel data of at most 8 stored bits is OB here; dcmtk may write OW.
    if (x->VR() != y->VR() && x->Tag() != 0x7FE00010u) out += where + " VR " + x->VRText() + " / " + y->VRText() + "\n";
    TanDDESet<iDDE>*nx = Nested(x), *ny = Nested(y);
    if (nx != nullptr || ny != nullptr) {
      if (nx == nullptr || ny == nullptr) {
        out += where + " nested in one only\n";
        continue;
      }
      std::vector<iDDE*> ix, iy;
      for (uint32_t k = 0; k < nx->Count(); ++k)
        if (nx->At(k)->Tag() == 0xFFFEE000u) ix.push_back(nx->At(k));
      for (uint32_t k = 0; k < ny->Count(); ++k)
        if (ny->At(k)->Tag() == 0xFFFEE000u) iy.push_back(ny->At(k));
      if (ix.size() != iy.size() && x->Tag() != 0xFFFEE000u) out += where + " item count\n";
      if (x->Tag() == 0xFFFEE000u || ix.empty()) {
        Compare(*nx, *ny, where + ".", tolerance, skip, out);
      } else {
        for (size_t k = 0; k < std::min(ix.size(), iy.size()); ++k)
          Compare(*Nested(ix[k]), *Nested(iy[k]), where + "[" + std::to_string(k) + "].", tolerance, skip, out);
      }
      continue;
    }
    const uint32_t n = x->GetLength();
    if (n != y->GetLength()) {
      out += where + " length " + std::to_string(n) + " / " + std::to_string(y->GetLength()) + "\n";
      continue;
    }
    const unsigned char *p = x->GetData(), *q = y->GetData();
    int worst = 0;
    for (uint32_t k = 0; p != nullptr && q != nullptr && k < n; ++k) worst = std::max(worst, std::abs(p[k] - q[k]));
    if (worst > (x->Tag() == 0x7FE00010u ? tolerance : 0)) out += where + " value differs\n";
  }
}

class Transcoding : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDDERegistry();
    dir = fs::temp_directory_path() / ("vistrel_transcode_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(Transcoding, FilesOfEveryKindAgreeWithDcmtk) {
  if (!fs::exists("/usr/bin/dcmconv") || !fs::exists(kPydicom)) GTEST_SKIP() << "dcmtk or pydicom's files missing";
  struct Case {
    const char* file;
    const char* make;  // dcmtk command making the source from the file; empty: the file itself
    const char* tool;  // dcmtk command converting it to explicit VR little endian
    int tolerance;
    std::vector<uint32_t> dropped;  // elements the conversion drops or changes on purpose
  } cases[] = {
      // The dictionary gives US or SS for these two; dcmtk picks by Pixel Representation.
      {"MR_small_implicit.dcm", "", "dcmconv +te", 0, {0x00280106u, 0x00280107u}},
      {"MR_small.dcm", "", "dcmconv +te", 0, {}},
      {"MR_small_bigendian.dcm", "", "dcmconv +te", 0, {}},
      {"ExplVR_BigEnd.dcm", "", "dcmconv +te", 0, {}},
      {"CT_small.dcm", "", "dcmconv +te", 0, {}},
      {"rtplan.dcm", "", "dcmconv +te", 0, {}},
      {"nested_priv_SQ.dcm", "", "dcmconv +te", 0, {}},
      {"reportsi.dcm", "", "dcmconv +te", 0, {}},
      {"rtdose.dcm", "", "dcmconv +te", 0, {}},
      {"MR_small_RLE.dcm", "", "dcmdrle +te", 0, {}},
      {"SC_rgb_rle_2frame.dcm", "", "dcmdrle +te", 0, {}},
      {"MR_small.dcm", "dcmcrle", "dcmdrle +te", 0, {}},
      {"MR_small.dcm", "dcmcjpeg +e1", "dcmdjpeg +te", 0, {}},
      {"SC_rgb.dcm", "dcmcjpeg +e1", "dcmdjpeg +te", 0, {}},
      {"SC_rgb_jpeg_dcmtk.dcm", "", "dcmdjpeg +te", 1, {0x00282112u}},
      {"CT_small.dcm", "dcmcjpeg +ee", "dcmdjpeg +te", 1, {0x00282112u}},
      // Lossy JPEG read by the kind 7 factory: baseline 8-bit made by dcmtk, 12-bit extended.
      {"SC_rgb_rle_2frame.dcm", "sh -c 'dcmdrle \"$1\" \"$2.n\" && dcmcjpeg +eb \"$2.n\" \"$2\"' -", "dcmdjpeg +te", 1,
       {0x00282112u}},
      {"JPEG-lossy.dcm", "", "dcmdjpeg +te", 1, {0x00282112u}},
      {"JPGExtended.dcm", "", "dcmdjpeg +te", 1, {0x00282112u}},
  };
  int n = 0;
  for (const Case& c : cases) {
    fs::path source = kPydicom / c.file;
    if (!fs::exists(source)) continue;
    SCOPED_TRACE(std::string(c.file) + " " + c.make + " / " + c.tool);
    const fs::path made = dir / ("s" + std::to_string(n) + ".dcm"), expected = dir / ("e" + std::to_string(n) + ".dcm");
    ++n;
    if (*c.make) {
      ASSERT_TRUE(Shell(std::string(c.make) + " '" + source.string() + "' '" + made.string() + "'"));
      source = made;
    }
    ASSERT_TRUE(Shell(std::string(c.tool) + " '" + source.string() + "' '" + expected.string() + "'"));
    TanDicomFileObject from, want;
    ASSERT_EQ(from.LoadFromFile(source.string(), false), "");
    ASSERT_EQ(want.LoadFromFile(expected.string(), false), "");
    TanExplicitLEFactory le;
    TanDDESet<iDDE> target;
    ASSERT_TRUE(Convert(le, from.FDataSet, target, from.GetTransferSyntaxKind()));
    std::string differences;
    Compare(target, want.FDataSet, "", c.tolerance, c.dropped, differences);
    EXPECT_EQ(differences, "");

    // Big endian and back: the same bytes again.
    TanExplicitBEFactory be;
    TanDDESet<iDDE> big, back;
    ASSERT_TRUE(Convert(be, target, big, 2));
    TanExplicitLEFactory again;
    ASSERT_TRUE(Convert(again, big, back, 3));
    std::string roundTrip;
    Compare(back, target, "", 0, {}, roundTrip);
    EXPECT_EQ(roundTrip, "");
  }
}

TEST_F(Transcoding, LongValuesUnderShortVRsAreRefused) {
  // Implicit RT Contour Data read as DS with 70000 bytes has no explicit short-length form.
  std::string text(70000, '1');
  for (size_t i = 1; i < text.size(); i += 2) text[i] = '\\';
  dde::ImplicitText contour(0x3006, 0x0050, vr::DS, text.data(), uint32_t(text.size()));
  TanExplicitLEFactory le;
  EXPECT_EQ(le.MakeDDEFromDDE(&contour), nullptr);
  EXPECT_NE(le.FLastMessage.find("3006,0050"), std::string::npos) << le.FLastMessage;
  // 65534 bytes still fit.
  dde::ImplicitText fits(0x3006, 0x0050, vr::DS, text.data(), 65534);
  std::unique_ptr<iDDE> made(le.MakeDDEFromDDE(&fits));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Length(), 65534u);
}

}  // namespace
}  // namespace ORN_dicom
