// The icon image: built from a matrix of fixtures (grey 8 and 16 bits, MONOCHROME1, signed and
// rescaled CT, RGB in both planar configurations, YBR_FULL and YBR_FULL_422, palette colour,
// lossless and lossy JPEG, RLE, big endian, multi-frame), drawn, written as PNG files into the
// output folder's icons/ for a person to look at, stored as an Icon Image Sequence that
// dciodvfy accepts, read back; and the icons dcmmkdir writes into a DICOMDIR, drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/memory/TanCPPAllocator.h"
#include "base/memory/TanMSVirtualMemoryAlloc.h"
#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanIOD.h"
#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "imaging/TgbDicomIcon.h"
#include "platform/com/Library.h"
#include "platform/vcl/DibPng.h"

namespace fs = std::filesystem;
using namespace ORN_image;
using ORN_dicom::iDDE;
using ORN_dicom::TanDicomFileObject;
using VirtualIcon = TgbDisplayDicomIcon<ORN_std::TanMSVirtualMemoryAlloc>;
using HeapIcon = TgbDisplayDicomIcon<ORN_std::TanCPPAllocator>;

namespace {

const char* const kScript = VISTREL_SOURCE_DIR "/imaging/tests/icon_fixtures.py";
constexpr uint32_t kIconSequence = 0x00880200u;

struct Fixture {
  std::string name, path, picture;
  int kind = 0;
};

struct Pixel {
  int r, g, b;
};

Pixel At(const platform::DibSection& bitmap, int x, int y) {
  const uint8_t* p = bitmap.ScanLine(y) + 3 * x;
  return {p[2], p[1], p[0]};
}

using Bitmap = std::unique_ptr<platform::DibSection, void (*)(platform::HBITMAP)>;
Bitmap Own(platform::HBITMAP bitmap) { return Bitmap(bitmap, platform::DeleteBitmap); }

std::string IconFolder() { return platform::ProgramFolder() + "icons/"; }

std::vector<std::string> DciodvfyErrors(const fs::path& file) {
  const fs::path log = file.string() + ".log";
  const std::string command = "dciodvfy '" + file.string() + "' >'" + log.string() + "' 2>&1";
  std::vector<std::string> errors;
  if (std::system(command.c_str()) < 0) return {"dciodvfy did not run"};
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("Error", 0) == 0) errors.push_back(line);
  return errors;
}

class Icons : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ORN_dicom::EnsureDDERegistry();
    Folder() = fs::temp_directory_path() / ("vistrel_icons_" + std::to_string(std::random_device{}()));
    fs::create_directories(Folder());
    const std::string command = "/usr/bin/python3 " + std::string(kScript) + " prepare " + Folder().string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream manifest(Folder() / "manifest.txt");
    for (std::string line; std::getline(manifest, line);) {
      std::istringstream fields(line);
      Fixture f;
      fields >> f.name >> f.path >> f.kind >> f.picture;
      Fixtures().push_back(f);
    }
  }
  static void TearDownTestSuite() {
    std::error_code ignored;
    fs::remove_all(Folder(), ignored);
  }

  static fs::path& Folder() {
    static fs::path folder;
    return folder;
  }
  static std::vector<Fixture>& Fixtures() {
    static std::vector<Fixture> fixtures;
    return fixtures;
  }
  static const Fixture& Named(const std::string& name) {
    for (const Fixture& f : Fixtures())
      if (f.name == name) return f;
    static Fixture none;
    return none;
  }

  static void Load(TanDicomFileObject& file, const std::string& path) {
    ASSERT_EQ(file.LoadFromFile(path, false), "") << path;
  }
};

// What the drawn icon of a 256 × 192 fixture must show: the picture scaled by 0.5 into rows
// 16 to 111 of a 128 × 128 icon, the bands above and below empty.
void ExpectPicture(const platform::DibSection& bitmap, const Fixture& f, bool inverted) {
  ASSERT_EQ(bitmap.Width, 128);
  ASSERT_EQ(bitmap.Height, 128);
  const int empty = inverted ? 255 : 0;
  for (int y : {0, 15, 112, 127})
    for (int x : {0, 64, 127}) EXPECT_EQ(At(bitmap, x, y).g, empty) << f.name << " at " << x << "," << y;
  const Pixel topLeft = At(bitmap, 20, 36);
  const Pixel bottomRight = At(bitmap, 108, 92);
  const Pixel left = At(bitmap, 40, 100), right = At(bitmap, 80, 100);
  if (f.picture == "colour") {
    EXPECT_GE(topLeft.r, 180) << f.name;
    EXPECT_LE(topLeft.g, 70) << f.name;
    EXPECT_LE(topLeft.b, 70) << f.name;
    EXPECT_GE(bottomRight.b, 180) << f.name;
    EXPECT_LE(bottomRight.r, 70) << f.name;
    EXPECT_LE(bottomRight.g, 70) << f.name;
    EXPECT_NEAR(left.r, left.g, 24) << f.name;
    EXPECT_NEAR(left.b, left.g, 24) << f.name;
  } else {
    EXPECT_GE(topLeft.g, 200) << f.name;
    EXPECT_LE(bottomRight.g, 40) << f.name;
    EXPECT_EQ(topLeft.r, topLeft.g) << f.name;
    EXPECT_EQ(topLeft.b, topLeft.g) << f.name;
  }
  EXPECT_LT(left.g, right.g) << f.name << ": the gradient runs left to right";
}

}  // namespace

TEST_F(Icons, EveryFixtureBuildsDrawsStoresAndReadsBack) {
  ASSERT_GE(Fixtures().size(), 20u);
  const bool dciodvfy = fs::exists("/usr/bin/dciodvfy");
  for (const Fixture& f : Fixtures()) {
    SCOPED_TRACE(f.name);
    TanDicomFileObject file;
    Load(file, f.path);
    ASSERT_EQ(file.FDataSet.GetTransferSyntaxKind(), f.kind);
    const std::string photometric = file.FDataSet.Find(0x00280004u)->GetString();

    VirtualIcon icon(&file.FDataSet);
    EXPECT_FALSE(icon.HasIcon());
    ASSERT_TRUE(icon.CreateIcon(128, 128, 3)) << icon.GetErrorText();
    EXPECT_EQ(icon.GetColumns(), 128);
    EXPECT_EQ(icon.GetRows(), 128);
    Bitmap drawn = Own(icon.CreateBitmap());
    ASSERT_NE(drawn, nullptr);
    EXPECT_TRUE(platform::SaveDibAsPng(*drawn, IconFolder() + f.name + ".png"));
    if (f.picture == "frames") {
      EXPECT_NEAR(At(*drawn, 20, 36).g, 20 + 20 * 3, 1) << "frame 3";
    } else {
      ExpectPicture(*drawn, f, photometric == "MONOCHROME1");
    }

    // Stored into the data set, then drawn from the stored element by a thumbnail object.
    const std::vector<std::string> before =
        dciodvfy && f.kind <= 2 ? DciodvfyErrors(f.path) : std::vector<std::string>{};
    ASSERT_TRUE(icon.StoreIcon(&file.FDataSet)) << icon.GetErrorText();
    iDDE* stored = file.FDataSet.Find(kIconSequence);
    ASSERT_NE(stored, nullptr);
    HeapIcon thumbnail(stored);
    EXPECT_TRUE(thumbnail.HasIcon());
    Bitmap reread = Own(thumbnail.CreateBitmap());
    ASSERT_NE(reread, nullptr);
    EXPECT_TRUE(platform::SaveDibAsPng(*reread, IconFolder() + f.name + "_stored.png"));
    ASSERT_EQ(reread->Width, 128);
    ASSERT_EQ(reread->Height, 128);
    long difference = 0;
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128 * 3; ++x) difference += std::abs(int(reread->ScanLine(y)[x]) - int(drawn->ScanLine(y)[x]));
    if (f.picture == "colour") {
      EXPECT_LE(difference / (128 * 128 * 3), 6);
    } else {
      EXPECT_EQ(difference, 0);
    }

    if (dciodvfy && f.kind <= 2) {
      const fs::path written = Folder() / (f.name + "_with_icon.dcm");
      ASSERT_TRUE(file.SaveToFile(written.string())) << file.FLastError;
      for (const std::string& error : DciodvfyErrors(written))
        EXPECT_NE(std::find(before.begin(), before.end(), error), before.end()) << "new: " << error;
    }
  }
}

TEST_F(Icons, TheFrameIsTheRequestedOneOrTheMiddleOne) {
  for (const char* name : {"multiframe", "multiframe_rle"}) {
    TanDicomFileObject file;
    Load(file, Named(name).path);
    for (auto [requested, shown] : {std::pair{3, 3}, {-1, 5}, {10, 5}, {0, 0}, {9, 9}}) {
      VirtualIcon icon(&file.FDataSet);
      ASSERT_TRUE(icon.CreateIcon(128, 128, requested)) << name;
      Bitmap drawn = Own(icon.CreateBitmap());
      ASSERT_NE(drawn, nullptr);
      EXPECT_NEAR(At(*drawn, 20, 36).g, 20 + 20 * shown, 1) << name << " frame " << requested;
    }
  }
  // Without Number of Frames the first frame, whatever is asked.
  TanDicomFileObject single;
  Load(single, Named("mono2_8").path);
  VirtualIcon icon(&single.FDataSet);
  EXPECT_TRUE(icon.CreateIcon(128, 128, 7));
}

TEST_F(Icons, IconItemsTakeTheEncodingOfTheKind) {
  TanDicomFileObject file;
  Load(file, Named("mono2_8").path);
  VirtualIcon icon(&file.FDataSet);
  iDDE* element = nullptr;
  EXPECT_FALSE(icon.GetIconItem(&element, 2));
  EXPECT_STREQ(icon.GetErrorText(), "Icon sequence does not exist");
  ASSERT_TRUE(icon.CreateIcon(64, 32, 0));

  for (auto [kind, pixelHeader] : {std::pair{uint8_t(7), 12u}, {uint8_t(1), 8u}, {uint8_t(2), 12u}}) {
    ASSERT_TRUE(icon.GetIconItem(&element, kind));
    std::unique_ptr<iDDE> owned(element);
    EXPECT_EQ(element->Tag(), kIconSequence);
    ORN_dicom::TanItems items(*element->GetSequence());
    ASSERT_EQ(items.Count(), 1u);
    ORN_dicom::TanTags tags(*items.Item(0));
    EXPECT_EQ(tags.Find(0x00280010u)->GetUShort(), 32);
    EXPECT_EQ(tags.Find(0x00280011u)->GetUShort(), 64);
    EXPECT_EQ(tags.Find(0x00280004u)->GetString(), "MONOCHROME2");
    EXPECT_EQ(tags.Find(0x00281050u)->GetString(), "128");
    EXPECT_EQ(tags.Find(0x00280034u)->GetString(), "1\\1");
    EXPECT_EQ(tags.Find(0x00281101u), nullptr);
    iDDE* pixels = tags.Find(0x7FE00010u);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->GetLength(), 64u * 32u);
    EXPECT_EQ(pixels->HeaderSize(), pixelHeader) << int(kind);
  }

  // A copy of an existing icon takes the kind as given; kind 0 has no factory.
  ASSERT_TRUE(icon.StoreIcon(&file.FDataSet));
  VirtualIcon copier(&file.FDataSet);
  EXPECT_TRUE(copier.HasIcon());
  ASSERT_TRUE(copier.GetIconItem(&element, 1));
  std::unique_ptr<iDDE> copy(element);
  EXPECT_EQ(element->Tag(), kIconSequence);
  EXPECT_FALSE(copier.GetIconItem(&element, 0));
  EXPECT_STREQ(copier.GetErrorText(), "Icon sequence is not created");

  // An icon made over an element builds nothing and keeps its error text.
  HeapIcon overElement(file.FDataSet.Find(kIconSequence));
  EXPECT_FALSE(overElement.CreateIcon(128, 128, 0));
  EXPECT_STREQ(overElement.GetErrorText(), "");
}

TEST_F(Icons, AColourIconIsStoredAsPaletteColourWithoutWhite) {
  TanDicomFileObject file;
  Load(file, Named("rgb_planar0").path);
  VirtualIcon icon(&file.FDataSet);
  ASSERT_TRUE(icon.CreateIcon(128, 128, 0));
  iDDE* element = nullptr;
  ASSERT_TRUE(icon.GetIconItem(&element, 2));
  std::unique_ptr<iDDE> owned(element);
  ORN_dicom::TanTags tags(*ORN_dicom::TanItems(*element->GetSequence()).Item(0));
  EXPECT_EQ(tags.Find(0x00280004u)->GetString(), "PALETTE COLOR");
  uint16_t entries = 0, bits = 0;
  ASSERT_TRUE(tags.Find(0x00281101u)->GetUShortAt(entries, 0));
  ASSERT_TRUE(tags.Find(0x00281101u)->GetUShortAt(bits, 2));
  EXPECT_GT(entries, 3);
  EXPECT_EQ(bits, 16);
  EXPECT_EQ(tags.Find(0x00281201u)->GetLength(), uint32_t(entries) * 2);
  // The red square's 255 is stored as 254 (254 × 257 in sixteen bits).
  bool red = false;
  for (uint32_t i = 0; i < entries; ++i) {
    uint16_t r = 0, g = 0;
    tags.Find(0x00281201u)->GetUShortAt(r, i);
    tags.Find(0x00281202u)->GetUShortAt(g, i);
    EXPECT_NE(r, 255 * 257);
    if (r == 254 * 257 && g == 0) red = true;
  }
  EXPECT_TRUE(red);
}

TEST_F(Icons, AMonochrome1ThumbnailShowsEveryValueInverted) {
  ORN_dicom::TanDDEFactory factory(2);
  std::unique_ptr<iDDE> sequence(factory->MakeSequence(0x0088, 0x0200, 0));
  iDDE* item = factory->MakeItem(0);
  auto* set = item->GetItem();
  const std::vector<uint8_t> pixels = {0, 10, 200, 255, 1, 2, 3, 4};  // 4 × 2, top row first
  set->Append(factory->MakeDDE(0x0028, 0x0002, 1, 1));
  set->Append(factory->MakeDDE(0x0028, 0x0004, 1, "MONOCHROME1"));
  set->Append(factory->MakeDDE(0x0028, 0x0010, 1, 2));
  set->Append(factory->MakeDDE(0x0028, 0x0011, 1, 4));
  set->Append(factory->MakeDDE(0x0028, 0x0100, 1, 8));
  set->Append(factory->MakePixelData(ORN_dicom::vr::OB, 1, uint32_t(pixels.size()),
                                     static_cast<const void*>(pixels.data())));
  sequence->GetSequence()->Append(item);
  HeapIcon icon(sequence.get());
  Bitmap drawn = Own(icon.CreateBitmap());
  ASSERT_NE(drawn, nullptr);
  ASSERT_EQ(drawn->Width, 4);
  ASSERT_EQ(drawn->Height, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      const Pixel p = At(*drawn, x, y);
      EXPECT_EQ(p.g, 255 - pixels[size_t(y) * 4 + size_t(x)]) << x << "," << y;
      EXPECT_EQ(p.r, p.g);
      EXPECT_EQ(p.b, p.g);
    }
}

TEST_F(Icons, ForeignIconsAreCheckedBeforeTheyAreRead) {
  ORN_dicom::TanDDEFactory factory(2);
  struct Case {
    const char* photometric;
    int rows, columns, bits, samples;
    uint32_t length;
  };
  const std::vector<Case> cases = {
      {"MONOCHROME2", 64, 64, 8, 1, 100},      // pixel data shorter than the picture
      {"MONOCHROME2", 64, 64, 16, 1, 8192},    // not 8-bit
      {"RGB", 8, 8, 8, 3, 192},                // not one sample
      {"MONOCHROME2", 0, 64, 8, 1, 100},       // no rows
      {"PALETTE COLOR", 8, 8, 8, 1, 64},       // no palette tables
  };
  const std::vector<uint8_t> bytes(8192, 77);
  for (const Case& c : cases) {
    std::unique_ptr<iDDE> sequence(factory->MakeSequence(0x0088, 0x0200, 0));
    iDDE* item = factory->MakeItem(0);
    auto* set = item->GetItem();
    set->Append(factory->MakeDDE(0x0028, 0x0002, 1, c.samples));
    set->Append(factory->MakeDDE(0x0028, 0x0004, 1, c.photometric));
    set->Append(factory->MakeDDE(0x0028, 0x0010, 1, c.rows));
    set->Append(factory->MakeDDE(0x0028, 0x0011, 1, c.columns));
    set->Append(factory->MakeDDE(0x0028, 0x0100, 1, c.bits));
    set->Append(factory->MakePixelData(ORN_dicom::vr::OB, 1, c.length, static_cast<const void*>(bytes.data())));
    sequence->GetSequence()->Append(item);
    HeapIcon icon(sequence.get());
    EXPECT_EQ(icon.CreateBitmap(), nullptr) << c.photometric << " " << c.rows << "x" << c.columns;
  }
}

TEST_F(Icons, BadPixelDataAndTablesFailWithoutHarm) {
  ORN_dicom::TanDDEFactory factory(2);
  {
    // A required element missing.
    TanDicomFileObject file;
    Load(file, Named("mono2_8").path);
    file.FDataSet.DeleteByTag(0x00280103u);
    VirtualIcon icon(&file.FDataSet);
    EXPECT_FALSE(icon.CreateIcon(128, 128, 0));
    EXPECT_STREQ(icon.GetErrorText(), "Buffer creation error");
  }
  for (const char* name : {"mono2_8", "ybr_full_422", "multiframe"}) {
    // Pixel data shorter than the frame (for the multi-frame image: than its middle frame).
    TanDicomFileObject file;
    Load(file, Named(name).path);
    const uint32_t length = std::string(name) == "multiframe" ? 256u * 192u * 5u : 1000u;
    const std::vector<uint8_t> bytes(length, 9);
    file.FDataSet.DeleteByTag(0x7FE00010u);
    ASSERT_TRUE(file.FDataSet.Insert(
        factory->MakePixelData(ORN_dicom::vr::OB, 1, length, static_cast<const void*>(bytes.data()))));
    VirtualIcon icon(&file.FDataSet);
    EXPECT_FALSE(icon.CreateIcon(128, 128, -1)) << name;
    EXPECT_STREQ(icon.GetErrorText(), "Pixel data is shorter than the frame");
    EXPECT_EQ(icon.Pixels(), nullptr);
  }
  {
    // A palette table shorter than its descriptor says.
    TanDicomFileObject file;
    Load(file, Named("palette").path);
    const std::vector<uint16_t> table(10, 0x8000);
    file.FDataSet.DeleteByTag(0x00281202u);
    ASSERT_TRUE(file.FDataSet.Insert(factory->MakeDDEWithVR(0x0028, 0x1202, "OW", 1, uint32_t(20),
                                                             static_cast<const void*>(table.data()))));
    VirtualIcon icon(&file.FDataSet);
    EXPECT_FALSE(icon.CreateIcon(128, 128, 0));
  }
}

TEST_F(Icons, IconsThatDcmmkdirWritesAreDrawn) {
  if (!fs::exists("/usr/bin/dcmmkdir")) GTEST_SKIP() << "dcmmkdir is not installed";
  const std::string command = "/usr/bin/python3 " + std::string(kScript) + " dicomdir " + Folder().string() + " " +
                              Named("mono2_8").path + " " + Named("ct_signed").path + " " + Named("mono1_16").path;
  ASSERT_EQ(std::system(command.c_str()), 0);
  TanDicomFileObject dicomdir;
  Load(dicomdir, (Folder() / "dd" / "DICOMDIR").string());
  iDDE* records = dicomdir.FDataSet.Find(0x00041220u);
  ASSERT_NE(records, nullptr);
  ORN_dicom::TanItems items(*records->GetSequence());
  int drawn = 0;
  for (uint32_t i = 0; i < items.Count(); ++i) {
    iDDE* iconElement = items.Item(i)->Find(kIconSequence);
    if (iconElement == nullptr) continue;
    HeapIcon icon(iconElement);
    EXPECT_TRUE(icon.HasIcon());
    Bitmap bitmap = Own(icon.CreateBitmap());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width, 64);
    EXPECT_EQ(bitmap->Height, 64);
    EXPECT_TRUE(platform::SaveDibAsPng(*bitmap, IconFolder() + "dcmmkdir_" + std::to_string(++drawn) + ".png"));
    int lo = 255, hi = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        lo = std::min(lo, At(*bitmap, x, y).g);
        hi = std::max(hi, At(*bitmap, x, y).g);
      }
    EXPECT_LT(lo, 40);
    EXPECT_GT(hi, 200);
  }
  EXPECT_EQ(drawn, 3);
}

namespace {

// An 8-bit grey image of one value made in memory (explicit little endian).
std::unique_ptr<ORN_dicom::TanIOD> FlatImage(int columns, int rows, uint8_t value) {
  ORN_dicom::TanDDEFactory factory(2);
  auto set = std::make_unique<ORN_dicom::TanIOD>();
  set->SetTransferSyntax(2);
  const std::vector<uint8_t> pixels(size_t(columns) * size_t(rows), value);
  set->Insert(factory->MakeDDE(0x0028, 0x0002, 1, 1));
  set->Insert(factory->MakeDDE(0x0028, 0x0004, 1, "MONOCHROME2"));
  set->Insert(factory->MakeDDE(0x0028, 0x0010, 1, rows));
  set->Insert(factory->MakeDDE(0x0028, 0x0011, 1, columns));
  set->Insert(factory->MakeDDE(0x0028, 0x0100, 1, 8));
  set->Insert(factory->MakeDDE(0x0028, 0x0101, 1, 8));
  set->Insert(factory->MakeDDE(0x0028, 0x0102, 1, 7));
  set->Insert(factory->MakeDDE(0x0028, 0x0103, 1, 0));
  set->Insert(factory->MakePixelData(ORN_dicom::vr::OB, 1, uint32_t(pixels.size()), static_cast<const void*>(pixels.data())));
  return set;
}

}  // namespace

TEST_F(Icons, TheZoomedFrameIsCentredAndSmallFramesAreEnlarged) {
  struct Case {
    int columns, rows;
    int left, top, width, height;  // where the picture lands in the 128 × 128 icon
  };
  const std::vector<Case> cases = {
      {512, 256, 0, 32, 128, 64},    // scale 0.25
      {10, 1000, 56, 0, 16, 128},    // 0.128 would leave 1.28 columns: the scale becomes 1.6
      {1000, 10, 0, 56, 128, 16},
      {64, 64, 0, 0, 128, 128},      // scale 2
  };
  for (const Case& c : cases) {
    std::unique_ptr<ORN_dicom::TanIOD> image = FlatImage(c.columns, c.rows, 200);
    VirtualIcon icon(image.get());
    ASSERT_TRUE(icon.CreateIcon(128, 128, 0)) << c.columns << "x" << c.rows;
    Bitmap drawn = Own(icon.CreateBitmap());
    ASSERT_NE(drawn, nullptr);
    int left = 128, top = 128, right = -1, bottom = -1;
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) {
        const int v = At(*drawn, x, y).g;
        if (v == 0) continue;
        EXPECT_EQ(v, 200);
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
    EXPECT_EQ(left, c.left) << c.columns << "x" << c.rows;
    EXPECT_EQ(top, c.top) << c.columns << "x" << c.rows;
    EXPECT_EQ(right - left + 1, c.width) << c.columns << "x" << c.rows;
    EXPECT_EQ(bottom - top + 1, c.height) << c.columns << "x" << c.rows;
  }
}

TEST_F(Icons, ASlopeAboveTheLimitIsLoweredSoTheRescaleDoesNotWrap) {
  // Twelve stored bits, 0 .. 4095 left to right, slope 100: unlimited, the rescaled values
  // would pass 65535 and wrap; lowered to 16 they stay in order.
  ORN_dicom::TanDDEFactory factory(2);
  auto set = std::make_unique<ORN_dicom::TanIOD>();
  set->SetTransferSyntax(2);
  std::vector<uint16_t> pixels(256 * 128);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint16_t((i % 256) * 4095 / 255);
  set->Insert(factory->MakeDDE(0x0028, 0x0002, 1, 1));
  set->Insert(factory->MakeDDE(0x0028, 0x0004, 1, "MONOCHROME2"));
  set->Insert(factory->MakeDDE(0x0028, 0x0010, 1, 128));
  set->Insert(factory->MakeDDE(0x0028, 0x0011, 1, 256));
  set->Insert(factory->MakeDDE(0x0028, 0x0100, 1, 16));
  set->Insert(factory->MakeDDE(0x0028, 0x0101, 1, 12));
  set->Insert(factory->MakeDDE(0x0028, 0x0102, 1, 11));
  set->Insert(factory->MakeDDE(0x0028, 0x0103, 1, 0));
  set->Insert(factory->MakeDDE(0x0028, 0x1052, 1, "0"));
  set->Insert(factory->MakeDDE(0x0028, 0x1053, 1, "100"));
  set->Insert(factory->MakePixelData(ORN_dicom::vr::OW, 1, uint32_t(pixels.size() * 2), static_cast<const void*>(pixels.data())));
  VirtualIcon icon(set.get());
  ASSERT_TRUE(icon.CreateIcon(128, 128, 0));
  Bitmap drawn = Own(icon.CreateBitmap());
  ASSERT_NE(drawn, nullptr);
  for (int x = 1; x < 128; ++x) EXPECT_GE(At(*drawn, x, 64).g, At(*drawn, x - 1, 64).g) << x;
  EXPECT_LE(At(*drawn, 0, 64).g, 2);
  EXPECT_GE(At(*drawn, 127, 64).g, 253);

  // Storing twice leaves one icon.
  ASSERT_TRUE(icon.StoreIcon(set.get()));
  ASSERT_TRUE(icon.StoreIcon(set.get()));
  int icons = 0;
  for (uint32_t i = 0; i < set->Count(); ++i) icons += set->At(i)->Tag() == kIconSequence ? 1 : 0;
  EXPECT_EQ(icons, 1);
}
