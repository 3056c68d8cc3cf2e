#include <clocale>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/DecimalText.h"
#include "dicom/modules/ImagePlaneModule.h"
#include "dicom/modules/tests/ModulesTestSupport.h"

namespace ndl_test {
namespace {

using ndl_impl::TanImagePlane;

class ImagePlane : public ModulesTest {
 protected:
  void Single(ndl::DataSet& set, const char* spacing = "0.5\\0.5", const char* position = "1\\2\\3",
              const char* orientation = "1\\0\\0\\0\\1\\0") {
    if (position) Text(set, 0x0020, 0x0032, position);
    if (orientation) Text(set, 0x0020, 0x0037, orientation);
    if (spacing) Text(set, 0x0028, 0x0030, spacing);
  }
  void Detector(ndl::DataSet& set, const char* frames, const char* step, const char* orientation) {
    Text(set, 0x0018, 0x0050, "2");
    Text(set, 0x0018, 0x0088, step);
    Text(set, 0x0028, 0x0008, frames);
    Text(set, 0x0028, 0x0030, "4\\4");
    ORN_dicom::iDDE* sq = F()->MakeSequence(0x0054, 0x0022, 0);
    ORN_dicom::iDDE* item = F()->MakeItem(0);
    item->GetItem()->Insert(F()->MakeDDE(0x0020, 0x0032, 1, "10\\20\\30"));
    item->GetItem()->Insert(F()->MakeDDE(0x0020, 0x0037, 1, orientation));
    sq->GetSequence()->Append(item);
    ASSERT_TRUE(set.Insert(sq));
  }
  std::unique_ptr<ndl::TanImagePlaneModule> Read(ndl::DataSet& set) {
    auto module = std::make_unique<ndl::TanImagePlaneModule>();
    module->InitializeFromDataSet(FFile, set);
    return module;
  }
  ORN_dicom::TanDicomFileObject FFile;
};

TEST_F(ImagePlane, SingleFrameValues) {
  struct Case {
    const char* spacing;
    const char* position;
    const char* orientation;
    double row, column;  // 0: no element
  } cases[] = {{"0\\0.5", "1\\2\\3", "1\\0\\0\\0\\1\\0", 0.5, 0.5}, {"0.3\\0", "1\\2\\3", "1\\0\\0\\0\\1\\0", 0.3, 0.3},
               {"0\\0", "1\\2\\3", "1\\0\\0\\0\\1\\0", 0, 0},       {"1\\2", "1\\2", "1\\0\\0\\0\\1\\0", 0, 0},
               {"1\\2", "1\\2\\3", "1\\0\\0\\0\\1", 0, 0},          {"1.25\\2", "1\\2\\3", "1\\0\\0\\0\\1\\0", 1.25, 2}};
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    Single(data, c.spacing, c.position, c.orientation);
    auto m = Read(data);
    ASSERT_EQ(m->IsEmpty(), c.row == 0.0) << c.spacing << " " << c.position << " " << c.orientation;
    if (c.row == 0.0) continue;
    EXPECT_EQ(m->GetCount(), 1);
    EXPECT_EQ(m->Front()->PixelSpacing.GetRowSpacing(), c.row);
    EXPECT_EQ(m->Front()->PixelSpacing.GetColumnSpacing(), c.column);
    EXPECT_EQ(m->Front()->ImagePosition.GetZ(), 3.0);
    EXPECT_EQ(m->Front()->ImageOrientation.ColumnDirection.GetY(), 1.0);
  }
}

TEST_F(ImagePlane, SliceZeroValuesAndWriteBack) {
  ORN_dicom::TanIOD data;
  Single(data);
  auto m = Read(data);
  ASSERT_FALSE(m->IsEmpty());
  EXPECT_TRUE(m->Front()->Slice.IsEmpty());
  ORN_dicom::TanIOD out;
  ASSERT_TRUE(m->Write(out, F()));
  EXPECT_EQ(CountOf(out, 0x00201041u), 0);
  ASSERT_EQ(CountOf(out, 0x00180050u), 1);
  EXPECT_EQ(out.Find(0x00180050u)->GetLength(), 0u);
  EXPECT_EQ(StringOf(out, 0x00280030u), "0.5\\0.5");
  ASSERT_TRUE(m->Write(out, F()));
  for (uint32_t tag : {0x00280030u, 0x00200037u, 0x00200032u, 0x00180050u}) EXPECT_EQ(CountOf(out, tag), 1);
  auto back = Read(out);
  EXPECT_TRUE(back->Front()->IsEqual(*m->Front()));
}

TEST_F(ImagePlane, DetectorDescribedFramesStepAlongTheFreeAxis) {
  struct Case {
    const char* frames;
    const char* step;
    const char* orientation;
    int axis;  // -1: nothing read
  } cases[] = {{"3", "2.5", "1\\0\\0\\0\\1\\0", 2}, {"3", "2.5", "0\\1\\0\\0\\0\\-1", 0},
               {"3", "2.5", "1\\0\\0\\0\\0\\1", 1}, {"3", "2.5", "0.7\\0.7\\0\\0\\0.7\\0.7", -1},
               {"1", "2.5", "1\\0\\0\\0\\1\\0", -1}, {"3", "0", "1\\0\\0\\0\\1\\0", -1},
               {"99999999", "1", "1\\0\\0\\0\\1\\0", -1}};
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    Detector(data, c.frames, c.step, c.orientation);
    auto m = Read(data);
    ASSERT_EQ(m->IsEmpty(), c.axis < 0) << c.frames << " " << c.orientation;
    if (c.axis < 0) continue;
    ASSERT_EQ(m->GetCount(), 3);
    const double start[3] = {10, 20, 30};
    for (uint32_t i = 0; i < 3; ++i) {
      const auto& p = m->At(i)->ImagePosition;
      const double got[3] = {p.GetX(), p.GetY(), p.GetZ()};
      for (int a = 0; a < 3; ++a) EXPECT_EQ(got[a], start[a] + (a == c.axis ? 2.5 * i : 0.0));
    }
  }
}

TEST_F(ImagePlane, EqualityIsExact) {
  TanImagePlane a(1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 2, 5);
  TanImagePlane b(1, 1, 1.000001, 0, 0, 0, 1, 0, 0, 0, 0, 2, 5);
  TanImagePlane c(1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 2, 6);
  EXPECT_TRUE(a.IsEqual(TanImagePlane(a)));
  EXPECT_FALSE(a.IsEqual(b));
  EXPECT_FALSE(a.IsEqual(c));
  EXPECT_TRUE(TanImagePlane().IsEmpty());
  EXPECT_FALSE(c.Slice.Set(0, 1));
  EXPECT_EQ(c.Slice.GetLocation(), 6.0);
}

TEST_F(ImagePlane, DecimalTextsUsePointAndFitSixteenCharacters) {
  const char* oldLocale = std::setlocale(LC_ALL, nullptr);
  const std::string saved = oldLocale ? oldLocale : "C";
  std::setlocale(LC_ALL, "de_DE.UTF-8");  // a comma locale when installed
  struct Case {
    double value;
    const char* text;
  } cases[] = {{0.5, "0.5"}, {2.0, "2"}, {-1.25, "-1.25"}, {1e-17, "1e-17"}, {0.1, "0.1"}};
  for (const auto& c : cases) EXPECT_EQ(ndl_impl::DecimalText(c.value), c.text);
  for (double v : {-0.123456789012345678, 123456789.123456789, -6.123233995736766e-17, 1.0 / 3.0}) {
    const std::string text = ndl_impl::DecimalText(v);
    EXPECT_LE(text.size(), 16u) << text;
    EXPECT_NEAR(ndl_impl::DoubleOfText(text), v, std::fabs(v) * 1e-9) << text;
  }
  ORN_dicom::TanIOD out;
  ASSERT_TRUE(ndl_impl::WriteImagePlane(out, F(), TanImagePlane(0.5, 0.5, 1, 0, 0, 0, -6.123233995736766e-17, -1,
                                                                -0.123456789012345678, 0, 0, 2.5, 0)));
  EXPECT_EQ(StringOf(out, 0x00280030u), "0.5\\0.5");
  EXPECT_EQ(StringOf(out, 0x00180050u), "2.5");
  ndl::TanImagePlaneModule back;
  ASSERT_TRUE(back.InitializeFromDataSet(FFile, out));
  EXPECT_NEAR(back.Front()->ImagePosition.GetX(), -0.123456789012345678, 1e-12);
  std::setlocale(LC_ALL, saved.c_str());
}

TEST_F(ImagePlane, AgreesWithPydicomOnItsTestFiles) {
  const std::string out = ::testing::TempDir() + "pydicom_planes.txt";
  const std::string command = std::string("/usr/bin/python3 '") + DICOM_MODULES_SOURCE_DIR +
                              "/tests/pydicom_modules.py' '" + DICOM_MODULES_PYDICOM_FILES + "' '" + out + "'";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "/usr/bin/python3 with pydicom is not available";
  std::ifstream in(out);
  int compared = 0;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> f;
    std::stringstream s(line);
    for (std::string field; std::getline(s, field, '|');) f.push_back(field);
    if (f.size() < 16 || f[11] == "-") continue;
    ORN_dicom::TanDicomFileObject file;
    if (!file.LoadFromFile(std::string(DICOM_MODULES_PYDICOM_FILES) + "/" + f[0], false).empty()) continue;
    ndl::TanImagePlaneModule set;
    if (!set.Initialize(file)) continue;
    if (set.GetCount() != 1) continue;  // detector-described frames are checked above
    auto numbers = [](const std::string& text) {
      std::vector<double> v;
      std::stringstream s(text);
      for (std::string x; std::getline(s, x, '\\');) v.push_back(x == "-" ? 0.0 : std::stod(x));
      return v;
    };
    const auto* p = set.Front();
    const auto spacing = numbers(f[11]), orientation = numbers(f[12]), position = numbers(f[13]);
    ASSERT_EQ(spacing.size(), 2u) << f[0];
    EXPECT_EQ(p->PixelSpacing.GetRowSpacing(), spacing[0] != 0 ? spacing[0] : spacing[1]) << f[0];
    ASSERT_EQ(orientation.size(), 6u) << f[0];
    EXPECT_EQ(p->ImageOrientation.RowDirection.GetX(), orientation[0]) << f[0];
    EXPECT_EQ(p->ImageOrientation.ColumnDirection.GetZ(), orientation[5]) << f[0];
    ASSERT_EQ(position.size(), 3u) << f[0];
    EXPECT_EQ(p->ImagePosition.GetY(), position[1]) << f[0];
    EXPECT_EQ(p->Slice.GetThickness(), numbers(f[14])[0]) << f[0];
    EXPECT_EQ(p->Slice.GetLocation(), numbers(f[15])[0]) << f[0];
    ORN_dicom::TanIOD copy;
    ASSERT_TRUE(set.Write(copy, F()));
    ndl::TanImagePlaneModule back;
    ASSERT_TRUE(back.InitializeFromDataSet(file, copy)) << f[0];
    EXPECT_TRUE(back.Front()->IsEqual(*p)) << f[0];
    ++compared;
  }
  EXPECT_GT(compared, 5);
}

}  // namespace
}  // namespace ndl_test
