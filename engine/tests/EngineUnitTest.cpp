// The engine's pieces that need no process: input lists, command line, window formula,
// packed values and record texts, geometry.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/CommandLine.h"
#include "engine/InputLists.h"
#include "engine/Overlay.h"
#include "engine/Renderer.h"
#include "viewer/engine/EngineMessages.h"

namespace ORN_engine {
namespace {

namespace msg = ORN_image::engine_msg;

TEST(InputLists, LinesUpToTheNul) {
  const struct {
    const char* Name;
    std::string Bytes;
    std::vector<std::string> Lines;
  } cases[] = {
      {"empty list", std::string("\0", 1), {}},
      {"two lines", std::string("/a/b.dcm\n/c d/e.dcm\n\0", 21), {"/a/b.dcm", "/c d/e.dcm"}},
      {"nothing past the NUL", std::string("a\n\0b\n", 5), {"a"}},
      {"no NUL: the length ends it", "a\nb", {"a", "b"}},
      {"CR before LF dropped, empty lines skipped", std::string("a\r\n\n\nb\n\0", 8), {"a", "b"}},
      {"no bytes", "", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseList(reinterpret_cast<const uint8_t*>(c.Bytes.data()), c.Bytes.size()), c.Lines) << c.Name;
  EXPECT_TRUE(ParseList(nullptr, 5).empty());
}

TEST(InputLists, FrameNumbersDefaultToZero) {
  EXPECT_EQ(FrameNumbers({"3", "x", "-2", "", "12"}, 7), (std::vector<int32_t>{3, 0, 0, 0, 12, 0, 0}));
  EXPECT_EQ(FrameNumbers({"1", "2", "3"}, 2), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(FrameNumbers({"99999999999"}, 1), (std::vector<int32_t>{0}));
}

TEST(CommandLineTest, FormsTheLauncherWrites) {
  const struct {
    std::vector<const char*> Args;
    bool Valid;
    int64_t Pid, Panel;
    size_t Arguments;
  } cases[] = {
      {{"Pixtrane.exe", "123", "4567", "arg", "end"}, true, 123, 4567, 1},
      {{"Pixtrane.exe", "123", "4567", "a", "b", "18446744073709551614", "end"}, true, 123, 4567, 3},
      {{"Pixtrane.exe", "-5", "9", "end"}, true, -5, 9, 0},  // an empty argument text
      {{"Pixtrane.exe", "123", "4567", "arg"}, false, 0, 0, 0},
      {{"Pixtrane.exe", "12x", "4567", "arg", "end"}, false, 0, 0, 0},
      {{"Pixtrane.exe"}, false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(int(c.Args.size()), c.Args.data());
    EXPECT_EQ(line.Valid, c.Valid) << c.Args.size();
    if (!c.Valid) {
      EXPECT_FALSE(line.Error.empty());
      continue;
    }
    EXPECT_EQ(line.OwnerPid, c.Pid);
    EXPECT_EQ(line.Panel, c.Panel);
    EXPECT_EQ(line.Arguments.size(), c.Arguments);
  }
}

TEST(Window, LinearFormula) {
  const struct {
    double X, C, W, Y;
  } cases[] = {
      {40 - 0.5 - 199.5, 40, 400, 0},     // the lower edge itself is still black
      {40 - 0.5 + 199.5 + 0.01, 40, 400, 255},
      {39.5, 40, 400, 127.5},             // the middle of the window
      {-1000, 40, 400, 0},
      {3000, 40, 400, 255},
      {10, 10, 1, 255},                   // width 1: a threshold at c - 0.5
      {9.5, 10, 1, 0},
  };
  for (const auto& c : cases) EXPECT_NEAR(LinearWindow(c.X, c.C, c.W), c.Y, 1e-9) << c.X << " " << c.C << " " << c.W;
  double centre = 0, width = 0;
  FullRangeWindow(-1024, 3071, centre, width);
  EXPECT_DOUBLE_EQ(LinearWindow(-1024, centre, width), 0.0);
  EXPECT_DOUBLE_EQ(LinearWindow(3071, centre, width), 255.0);
}

TEST(PackedValues, WindowValuesClampInsteadOfWrapping) {
  const struct {
    double Centre, Width;
    int32_t C, W;
  } cases[] = {
      {40, 400, 40, 400},         {-1000, 2000, -1000, 2000}, {40000, 400, 32767, 400},
      {-40000, 400, -32768, 400}, {40, 70000, 40, 65535},     {40, 0, 40, 1},
      {40.4, 399.6, 40, 400},     {-0.6, 1.2, -1, 1},
  };
  for (const auto& c : cases) {
    const int64_t packed = msg::PackWindowValues(c.Centre, c.Width);
    EXPECT_EQ(msg::WindowCentreOf(packed), c.C) << c.Centre;
    EXPECT_EQ(msg::WindowWidthOf(packed), c.W) << c.Width;
  }
  EXPECT_EQ(msg::PointX(msg::PackPoint(-3, 700)), -3);
  EXPECT_EQ(msg::PointY(msg::PackPoint(-3, 700)), 700);
}

TEST(RecordTexts, ReadWithinTheirLength) {
  const char unterminated[4] = {'C', 'T', 'X', 'Y'};
  EXPECT_EQ(msg::TextWithin(unterminated, 2), "CT");
  EXPECT_EQ(msg::TextWithin(unterminated, 4), "CTXY");
  EXPECT_EQ(msg::TextWithin("MR\0junk", 7), "MR");
  EXPECT_EQ(msg::TextWithin(nullptr, 3), "");
  const uint8_t wide[6] = {'m', 0, 'm', 0, 'X', 0};
  EXPECT_EQ(msg::WideTextWithin(wide, 4), u"mm");
  EXPECT_EQ(msg::WideTextWithin(wide, 5), u"mm") << "an odd last byte is no character";
}

TEST(Geometry, ScreenPixelsMapToImagePixels) {
  ViewState view;
  int x = 0, y = 0;
  // Fit: a 10x20 image in a 40x40 cell has zoom 2, centred: columns 10..29 show it.
  ASSERT_TRUE(ImagePointOf(10, 0, 40, 40, 10, 20, view, x, y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_FALSE(ImagePointOf(9, 0, 40, 40, 10, 20, view, x, y));
  ASSERT_TRUE(ImagePointOf(29, 39, 40, 40, 10, 20, view, x, y));
  EXPECT_EQ(x, 9);
  EXPECT_EQ(y, 19);
  // A quarter turn right puts the image's bottom-left corner at the top left.
  view.Rotation = 1;
  view.ZoomFits = false;
  view.Zoom = 1;
  ASSERT_TRUE(ImagePointOf(0, 0, 20, 10, 10, 20, view, x, y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 19);
  view.Rotation = 0;
  view.FlipHorizontal = true;
  ASSERT_TRUE(ImagePointOf(0, 0, 10, 20, 10, 20, view, x, y));
  EXPECT_EQ(x, 9);
  EXPECT_EQ(y, 0);
}

TEST(OverlayText, RightAlignedTextEndsAtTheMargin) {
  std::vector<uint32_t> pixels(40 * 20, 0xFF000000u);
  OverlayTexts texts;
  texts.TopRight = "1";  // rows 0x04, 0x0C, ...: the glyph's right column is column 3 of 5
  DrawOverlay(pixels.data(), 40, 20, texts);
  EXPECT_EQ(OverlayTextWidth("1"), 5);
  EXPECT_EQ(OverlayTextWidth("IM 1/3"), 35);
  // The glyph spans x 30..34 (40 - 4 margin - 1 - 5); its stem is at x 32, from row 4.
  EXPECT_EQ(pixels[4 * 40 + 32], 0xFFFFFFFFu);
  EXPECT_EQ(pixels[10 * 40 + 32], 0xFFFFFFFFu);
  EXPECT_EQ(pixels[4 * 40 + 34], 0xFF000000u);
  int white = 0;
  for (uint32_t p : pixels) white += p == 0xFFFFFFFFu;
  EXPECT_EQ(white, 1 + 2 + 1 + 1 + 1 + 1 + 3);  // the lit bits of "1"
  // Texts wider than the picture are cut, not written outside it.
  std::vector<uint32_t> small(8 * 8, 0);
  texts.TopLeft = "A VERY LONG NAME";
  DrawOverlay(small.data(), 8, 8, texts);
}

TEST(RecordLayouts, FixedSizes) {
  msg::StatisticsSettings s{};
  EXPECT_EQ(sizeof s, 176u);
  EXPECT_EQ(sizeof(msg::PaletteRecord), 768u);
  EXPECT_EQ(sizeof(msg::CalibrationRecord), 528u);
  EXPECT_EQ(sizeof(msg::ImagePlaneRecord), 384u);
}

}  // namespace
}  // namespace ORN_engine
