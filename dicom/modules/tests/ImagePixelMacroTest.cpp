#include <cstdarg>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/modules/ImagePixelMacroModule.h"
#include "dicom/modules/tests/ModulesTestSupport.h"

namespace ndl_test {
namespace {

using ndl_impl::TanImagePixelMacro;

class PixelMacro : public ModulesTest {
 protected:
  // A monochrome 16-bit image's group 0028 with the given changes.
  void Fill(ndl::DataSet& set, const char* photometric = "MONOCHROME2", int bitsAllocated = 16, int highBit = 11,
            int rows = 4) {
    Number(set, 0x0028, 0x0002, 1);
    Text(set, 0x0028, 0x0004, photometric);
    Number(set, 0x0028, 0x0010, rows);
    Number(set, 0x0028, 0x0011, 5);
    Number(set, 0x0028, 0x0100, bitsAllocated);
    Number(set, 0x0028, 0x0101, 12);
    Number(set, 0x0028, 0x0102, highBit);
    Number(set, 0x0028, 0x0103, 1);
  }
  std::unique_ptr<ndl::TanImagePixelMacroModule> Read(ndl::DataSet& set) {
    auto module = std::make_unique<ndl::TanImagePixelMacroModule>();
    module->InitializeFromDataSet(FFile, set);
    return module;
  }
  ORN_dicom::TanDicomFileObject FFile;
};

TEST_F(PixelMacro, PhotometricTextsAndPlanarConfiguration) {
  struct Case {
    const char* text;
    int planar;  // -1 absent
    int code;    // 0 no element
  } cases[] = {{"PALETTE COLOR", -1, 4}, {" MONOCHROME2 ", -1, 2}, {"monochrome2", -1, 0},
               {"RGB", -1, 0},          {"RGB", 0, 3},          {"YBR_FULL_422", 1, 6}};
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    Fill(data, c.text);
    if (c.planar >= 0) Number(data, 0x0028, 0x0006, c.planar);
    auto m = Read(data);
    EXPECT_EQ(m->IsEmpty(), c.code == 0) << c.text;
    if (c.code == 0) continue;
    EXPECT_EQ(m->Front()->GetPhotometricInterpretation(), c.code);
    EXPECT_EQ(m->Front()->GetPlanarConfiguration(), c.planar < 0 ? 255 : c.planar);
    ORN_dicom::TanIOD out;
    ASSERT_TRUE(m->Write(out, F()));
    EXPECT_EQ(StringOf(out, 0x00280004u), c.text[0] == ' ' ? "MONOCHROME2" : c.text);
    EXPECT_EQ(CountOf(out, 0x00280006u), c.planar < 0 ? 0 : 1);
  }
}

TEST_F(PixelMacro, UnusableLayoutsGiveNoElement) {
  struct Case {
    int bitsAllocated, highBit, rows;
  } cases[] = {{1, 0, 4}, {16, 0, 4}, {16, 11, 0}, {8, 11, 4}, {16, 16, 4}, {64, 11, 4}};
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    Fill(data, "MONOCHROME2", c.bitsAllocated, c.highBit, c.rows);
    EXPECT_TRUE(Read(data)->IsEmpty()) << c.bitsAllocated << " " << c.highBit << " " << c.rows;
  }
}

TEST_F(PixelMacro, AspectRatioReadAndWritten) {
  struct Case {
    const char* first;
    const char* second;
    double ratio;  // 0: no element
    const char* written;
  } cases[] = {{"0", "0", 1.0, "<absent>"}, {"1", "0", 0.0, ""},           {"0", "2", 0.0, ""},
               {"4", "3", 4.0 / 3.0, "1333\\1000"}, {"3", "2", 1.5, "15\\10"}, {"3", "4", 0.75, "75\\100"},
               {"2", "1", 2.0, "2\\1"},      {nullptr, nullptr, 1.0, "<absent>"}};
  for (const auto& c : cases) {
    ORN_dicom::TanIOD data;
    Fill(data);
    if (c.first != nullptr) {
      ASSERT_TRUE(data.Insert(F()->MakeDDE(0x0028, 0x0034, 2, c.first, c.second)));
    }
    auto m = Read(data);
    if (c.ratio == 0.0) {
      EXPECT_TRUE(m->IsEmpty());
      continue;
    }
    ASSERT_FALSE(m->IsEmpty());
    EXPECT_DOUBLE_EQ(m->Front()->GetPixelAspectRatio(), c.ratio);
    ORN_dicom::TanIOD out;
    ASSERT_TRUE(m->Write(out, F()));
    EXPECT_EQ(StringOf(out, 0x00280034u), c.written);
  }
  ORN_dicom::TanIOD single;
  Fill(single);
  Text(single, 0x0028, 0x0034, "2");
  EXPECT_EQ(Read(single)->Front()->GetPixelAspectRatio(), 1.0);
}

TEST_F(PixelMacro, PaddingFollowsPixelRepresentation) {
  for (int representation : {0, 1}) {
    ORN_dicom::TanIOD data;
    Fill(data);
    data.DeleteByTag(0x00280103u);
    Number(data, 0x0028, 0x0103, representation);
    ASSERT_TRUE(data.Insert(F()->MakeDDEWithVR(0x0028, 0x0120, "US", 1, 0xFC18)));
    auto m = Read(data);
    ASSERT_FALSE(m->IsEmpty());
    const int expected = representation == 1 ? -1000 : 64536;
    EXPECT_EQ(m->Front()->PixelPadding.GetValue(), expected);
    EXPECT_EQ(m->Front()->PixelPadding.GetRangeLimit(), expected);
    ORN_dicom::TanIOD out;
    ASSERT_TRUE(m->Write(out, F()));
    EXPECT_EQ(out.Find(0x00280120u)->VRText(), representation == 1 ? "SS" : "US");
    EXPECT_EQ(out.Find(0x00280121u)->VRText(), representation == 1 ? "SS" : "US");
    EXPECT_EQ(StringOf(out, 0x00280120u), std::to_string(expected));
  }
}

TEST_F(PixelMacro, EqualityIgnoresPaddingAndSetKeepsOldValuesOnError) {
  TanImagePixelMacro a(1, 2, 0, 255, 16, 12, 5, 4, 11, 1.0), b(a);
  b.PixelPadding.Set(1, 2);
  EXPECT_TRUE(a.IsEqual(b));
  TanImagePixelMacro c(1, 2, 0, 255, 16, 12, 5, 4, 11, 1.000001);
  EXPECT_FALSE(a.IsEqual(c));
  EXPECT_THROW(b.Set(1, 2, 0, 255, 1, 12, 5, 4, 11, 1.0), std::runtime_error);
  EXPECT_FALSE(b.PixelPadding.IsEmpty());
  EXPECT_TRUE(b.Set(1, 2, 0, 255, 8, 8, 5, 4, 7, 1.0));
  EXPECT_TRUE(b.PixelPadding.IsEmpty());
  EXPECT_TRUE(TanImagePixelMacro().IsEmpty());
  EXPECT_FALSE(b.Assign(TanImagePixelMacro()));
}

TEST_F(PixelMacro, WritingTwiceLeavesEachAttributeOnce) {
  ORN_dicom::TanIOD data;
  Fill(data);
  Number(data, 0x0028, 0x0006, 0);
  ASSERT_TRUE(data.Insert(F()->MakeDDEWithVR(0x0028, 0x0120, "SS", 1, -5)));
  auto m = Read(data);
  ASSERT_TRUE(m->Write(data, F()));
  ASSERT_TRUE(m->Write(data, F()));
  for (uint32_t tag : {0x00280002u, 0x00280004u, 0x00280006u, 0x00280010u, 0x00280011u, 0x00280100u, 0x00280101u,
                       0x00280102u, 0x00280103u, 0x00280120u, 0x00280121u})
    EXPECT_EQ(CountOf(data, tag), 1) << std::hex << tag;
  auto back = Read(data);
  EXPECT_TRUE(back->Front()->IsEqual(*m->Front()));
  EXPECT_TRUE(back->Front()->PixelPadding.IsEqual(m->Front()->PixelPadding));
}

// A factory that stops making elements after a number of them.
class FailingFactory : public ORN_dicom::iDDEFactory {
 public:
  FailingFactory(ORN_dicom::iDDEFactory* inner, int left) : FInner(inner), FLeft(left) {}
  ORN_dicom::iDDE* MakeDDEFromMemory(const void*) override { return nullptr; }
  ORN_dicom::iDDE* MakeDDEFromStream(std::istream&) override { return nullptr; }
  ORN_dicom::iDDE* MakeDDEFromDDE(ORN_dicom::iDDE*) override { return nullptr; }
  ORN_dicom::iDDE* MakeDDEFromDDEPtr(ORN_dicom::iDDE*) override { return nullptr; }
  // Forwards one number, or the text of (0028,0004), while calls are left.
  ORN_dicom::iDDE* MakeDDE(uint16_t g, uint16_t e, uint32_t count, ...) override {
    if (FLeft-- <= 0) return nullptr;
    va_list args;
    va_start(args, count);
    ORN_dicom::iDDE* made = e == 0x0004 ? FInner->MakeDDE(g, e, 1, va_arg(args, const char*))
                                        : FInner->MakeDDE(g, e, 1, va_arg(args, int));
    va_end(args);
    return made;
  }
  ORN_dicom::iDDE* MakeDDEWithVR(uint16_t, uint16_t, const char*, uint32_t, ...) override { return nullptr; }
  ORN_dicom::iDDE* MakeSequence(uint16_t, uint16_t, uint8_t) override { return nullptr; }
  ORN_dicom::iDDE* MakeItem(uint8_t) override { return nullptr; }
  ORN_dicom::iDDE* MakePixelData(uint16_t, uint32_t, ...) override { return nullptr; }
  const char* GetLastMessage() override { return "refused"; }

 private:
  ORN_dicom::iDDEFactory* FInner;
  int FLeft;
};

TEST_F(PixelMacro, FailedWriteRestoresTheOldAttributes) {
  ORN_dicom::TanIOD data;
  Fill(data);
  const uint32_t before = data.Count();
  auto m = Read(data);
  for (int left : {0, 3}) {
    FailingFactory failing(F(), left);
    EXPECT_FALSE(m->Write(data, &failing));
    EXPECT_EQ(data.Count(), before);
  }
  EXPECT_EQ(StringOf(data, 0x00280004u), "MONOCHROME2");
  EXPECT_EQ(StringOf(data, 0x00280102u), "11");
  auto back = Read(data);
  ASSERT_FALSE(back->IsEmpty());
  EXPECT_TRUE(back->Front()->IsEqual(*m->Front()));
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> out;
  std::stringstream s(line);
  std::string field;
  while (std::getline(s, field, '|')) out.push_back(field);
  return out;
}

int Num(const std::string& text) { return text == "-" ? -1 : std::stoi(text); }

// Lines of pydicom's reading of its own test files, by file name.
std::map<std::string, std::vector<std::string>> PydicomTable() {
  static std::map<std::string, std::vector<std::string>> table;
  if (!table.empty()) return table;
  const std::string out = ::testing::TempDir() + "pydicom_modules.txt";
  const std::string command = std::string("/usr/bin/python3 '") + DICOM_MODULES_SOURCE_DIR +
                              "/tests/pydicom_modules.py' '" + DICOM_MODULES_PYDICOM_FILES + "' '" + out + "'";
  if (std::system(command.c_str()) != 0) return table;
  std::ifstream in(out);
  for (std::string line; std::getline(in, line);) {
    auto fields = Split(line);
    if (fields.size() >= 16) table[fields[0]] = fields;
  }
  return table;
}

TEST_F(PixelMacro, AgreesWithPydicomOnItsTestFiles) {
  auto table = PydicomTable();
  if (table.empty()) GTEST_SKIP() << "/usr/bin/python3 with pydicom is not available";
  int compared = 0;
  for (const auto& [name, f] : table) {
    ORN_dicom::TanDicomFileObject file;
    if (!file.LoadFromFile(std::string(DICOM_MODULES_PYDICOM_FILES) + "/" + name, false).empty()) continue;
    ndl::TanImagePixelMacroModule set;
    set.Initialize(file);
    const int samples = Num(f[1]), planar = Num(f[3]), rows = Num(f[4]), columns = Num(f[5]), ba = Num(f[6]),
              bs = Num(f[7]), hb = Num(f[8]), pr = Num(f[9]);
    const uint8_t code = ndl_impl::PhotometricCode(f[2].c_str());
    double ratio = 1.0;
    if (f[10] != "-") {
      const int a = std::stoi(f[10]), b = std::stoi(f[10].substr(f[10].find('\\') + 1));
      ratio = a == 0 && b == 0 ? 1.0 : b != 0 ? double(a) / b : 0.0;
    }
    const bool usable = samples > 0 && code != 255 && pr >= 0 && (code == 1 || code == 2 || code == 4 || planar >= 0) &&
                        ba > 1 && ba <= 32 && bs > 0 && bs <= ba && hb > 0 && hb < ba && hb + 1 >= bs && rows > 0 &&
                        columns > 0 && ratio != 0.0;
    EXPECT_EQ(set.IsEmpty(), !usable) << name;
    if (set.IsEmpty()) continue;
    const auto* m = set.Front();
    EXPECT_EQ(m->GetSamplesPerPixel(), samples) << name;
    EXPECT_EQ(m->GetPhotometricInterpretation(), code) << name;
    EXPECT_EQ(m->GetPlanarConfiguration(), planar < 0 ? 255 : planar) << name;
    EXPECT_EQ(m->GetRows(), rows) << name;
    EXPECT_EQ(m->GetColumns(), columns) << name;
    EXPECT_EQ(m->GetBitsAllocated(), ba) << name;
    EXPECT_EQ(m->GetBitsStored(), bs) << name;
    EXPECT_EQ(m->GetHighBit(), hb) << name;
    EXPECT_EQ(m->GetPixelRepresentation(), pr) << name;
    EXPECT_EQ(m->GetPixelAspectRatio(), ratio) << name;
    // Written back into a copy of the data set and read again: the same macro.
    ORN_dicom::TanIOD copy;
    ASSERT_TRUE(set.Write(copy, F()));
    ndl::TanImagePixelMacroModule back;
    ASSERT_TRUE(back.InitializeFromDataSet(file, copy)) << name;
    EXPECT_TRUE(back.Front()->IsEqual(*m)) << name;
    EXPECT_TRUE(back.Front()->PixelPadding.IsEqual(m->PixelPadding)) << name;
    ++compared;
  }
  EXPECT_GT(compared, 20);
}

}  // namespace
}  // namespace ndl_test
