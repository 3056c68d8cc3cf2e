// Palette colour presets: reading "PaletteColorPresets.ini", resampling into colour bars and
// the block a preset goes to the engine in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/com/Library.h"
#include "platform/process/Process.h"
#include "viewer/contextmenu/PaletteColorPresets.h"

using ORN_gui_impl::TanPaletteColorPresetSet;

namespace {

// 256 bytes as the ini stores them, byte i = f(i).
template <class F>
std::string Hex(F f, size_t bytes = 256) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < bytes; ++i) {
    const unsigned v = f(i) & 0xFF;
    text += digits[v >> 4];
    text += digits[v & 15];
  }
  return text;
}

std::string Section(const std::string& name, const std::string& r, const std::string& g, const std::string& b) {
  return "[" + name + "]\nR-Channel-Data=" + r + "\nG-Channel-Data=" + g + "\nB-Channel-Data=" + b + "\n";
}

class PaletteFile {
 public:
  explicit PaletteFile(const std::string& text)
      : path_(platform::ProgramFolder() + "palette_" + std::to_string(platform::CurrentProcessId()) + ".ini") {
    std::ofstream(path_) << text;
  }
  ~PaletteFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

const std::string kRamp = Hex([](size_t i) { return i; });
const std::string kZero = Hex([](size_t) { return 0; });

}  // namespace

TEST(PaletteColorPresets, OnlyPresetsWithThreeWholeChannelsAreKept) {
  std::string lower = kRamp;
  for (char& c : lower) c = static_cast<char>(std::tolower(c));
  std::string stray = kRamp;
  stray[100] = 'G';
  const struct {
    const char* name;
    std::string file;
    std::vector<std::string> names;
  } cases[] = {
      {"short green in the middle",
       Section("First", kRamp, kRamp, kRamp) + Section("Second", kRamp, kRamp.substr(0, 510), kRamp) +
           Section("Third", kZero, kZero, kZero),
       {"First", "Third"}},
      {"513 characters read as 256 bytes", Section("Odd", kRamp + "7", kRamp, kRamp), {"Odd"}},
      {"514 characters are 257 bytes", Section("Long", kRamp + "00", kRamp, kRamp), {}},
      {"trimmed names, blank name skipped", Section("  Hot  ", kRamp, kRamp, kRamp) + Section(" ", kRamp, kRamp, kRamp),
       {"Hot"}},
      {"lower-case digits", Section("Low", lower, kRamp, kRamp), {"Low"}},
      {"a stray character", Section("Stray", stray, kRamp, kRamp), {}},
      {"missing key", "[Missing]\nR-Channel-Data=" + kRamp + "\nG-Channel-Data=" + kRamp + "\n", {}},
  };
  for (const auto& c : cases) {
    PaletteFile file(c.file);
    TanPaletteColorPresetSet<256> set;
    EXPECT_EQ(set.LoadFromFile(file.Path()), !c.names.empty()) << c.name;
    EXPECT_EQ(set.IsLoaded(), !c.names.empty()) << c.name;
    ASSERT_EQ(set.GetCount(), c.names.size()) << c.name;
    for (uint32_t i = 0; i < set.GetCount(); ++i) {
      EXPECT_EQ(std::string(set.GetAt(i).GetName()), c.names[i]) << c.name;
      EXPECT_TRUE(set.GetAt(i).IsValid());
      EXPECT_EQ(set.GetAt(i).GetSize(), 256u);
    }
  }
}

TEST(PaletteColorPresets, ALoadReplacesTheSetAndRangeErrorsSayVector) {
  TanPaletteColorPresetSet<256> set;
  {
    PaletteFile good(Section("A", kRamp, kRamp, kRamp) + Section("B", kZero, kZero, kZero));
    ASSERT_TRUE(set.LoadFromFile(good.Path()));
    EXPECT_EQ(set.GetCount(), 2u);
    EXPECT_EQ(std::string(set.Front().GetName()), "A");
    EXPECT_EQ(std::string(set.Back().GetName()), "B");
    EXPECT_EQ(set.GetAt(0).red.GetValue(200), 200);
  }
  try {
    set.GetAt(2);
    FAIL() << "no error";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "vector");
  }
  PaletteFile bad(Section("C", kRamp, "", kRamp));
  EXPECT_FALSE(set.LoadFromFile(bad.Path()));
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_FALSE(set.LoadFromFile(platform::ProgramFolder() + "no_such_palette.ini"));
}

TEST(PaletteColorPresets, ResampleMakesBarsOfDibPixels) {
  PaletteFile file(Section("Ramp", kRamp, Hex([](size_t i) { return 255 - i; }), Hex([](size_t i) { return i / 2; })) +
                   Section("RedTop", Hex([](size_t i) { return i == 255 ? 255 : 0; }), kZero, kZero));
  TanPaletteColorPresetSet<256> set;
  ASSERT_TRUE(set.LoadFromFile(file.Path()));
  const auto& ramp = set.GetAt(0);
  auto pixel = [](size_t p) { return static_cast<uint32_t>(p / 2 | (255 - p) << 8 | p << 16); };
  const struct {
    int32_t count, rows;
    std::vector<size_t> positions;  // the palette index of each entry of a row
  } cases[] = {
      {256, 1, {0, 1, 2, 3}},   {100, 3, {0, 2, 5, 7, 10}}, {512, 1, {0, 0, 1, 1, 2}},
      {128, 1, {0, 2, 4}},        {3, 2, {0, 85, 170}},       {1, 4, {0}},
  };
  for (const auto& c : cases) {
    std::vector<uint32_t> out;
    ASSERT_TRUE(ramp.Resample(c.count, c.rows, out));
    ASSERT_EQ(out.size(), static_cast<size_t>(c.count * c.rows));
    for (size_t i = 0; i < c.positions.size(); ++i) EXPECT_EQ(out[i], pixel(c.positions[i])) << c.count << " at " << i;
    for (int32_t r = 1; r < c.rows; ++r)
      EXPECT_TRUE(std::equal(out.begin(), out.begin() + c.count, out.begin() + r * c.count)) << c.count;
  }
  std::vector<uint32_t> out(5, 7);
  EXPECT_TRUE(ramp.Resample(0, 3, out));
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(ramp.Resample(4, 0, out));
  EXPECT_TRUE(out.empty());
  out.assign(3, 7);
  EXPECT_FALSE(ramp.Resample(-1, 2, out));  // a negative size is refused, not read as unsigned
  EXPECT_FALSE(ramp.Resample(2, -1, out));
  EXPECT_EQ(out, (std::vector<uint32_t>{7, 7, 7}));

  std::vector<uint32_t> bar;
  ASSERT_TRUE(set.GetAt(1).Resample(256, 1, bar));
  const auto* bytes = reinterpret_cast<const uint8_t*>(&bar[255]);
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{0, 0, 255, 0}));  // blue, green, red, 0
}

TEST(PaletteColorPresets, AnInvalidPresetResamplesNothing) {
  ORN_gui_impl::TanPaletteColorPreset<256> preset("Broken");
  preset.Red().ReadHex(kRamp);
  preset.Green().ReadHex(kRamp.substr(0, 300));
  preset.Blue().ReadHex(kRamp);
  EXPECT_FALSE(preset.IsValid());
  std::vector<uint32_t> out{1, 2};
  EXPECT_FALSE(preset.Resample(16, 1, out));
  EXPECT_EQ(out, (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(preset.Green().GetValue(0), 0);  // zeroed before the read
}

TEST(PaletteColorPresets, TheEngineBlockHoldsRedGreenBlueInTurn) {
  PaletteFile file(Section("P", kRamp, kZero, Hex([](size_t) { return 9; })));
  TanPaletteColorPresetSet<256> set;
  ASSERT_TRUE(set.LoadFromFile(file.Path()));
  const std::vector<uint8_t> block = PaletteColorBlock(set.GetAt(0));
  ASSERT_EQ(block.size(), 768u);
  EXPECT_EQ(block[17], 17);
  EXPECT_EQ(block[256 + 17], 0);
  EXPECT_EQ(block[512 + 17], 9);
}
