// The tools' pieces that need no process: reference-line geometry, the screen-capture block,
// regions, angles, scales and the cell mapping.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/Canvas.h"
#include "engine/Measurements.h"
#include "engine/ReferenceLines.h"
#include "engine/Renderer.h"
#include "engine/ScreenCapture.h"

namespace ORN_engine {
namespace {

namespace msg = ORN_image::engine_msg;

ImageHeader Axial(double z) {
  ImageHeader h;
  h.Columns = h.Rows = 100;
  h.HasPlane = true;
  h.Position[0] = -50, h.Position[1] = -50, h.Position[2] = z;
  h.Spacing[0] = h.Spacing[1] = 1;
  h.HasSpacing = true;
  h.FrameOfReferenceUid = "1.2.3";
  return h;
}

TEST(ReferenceLines, WhereAPlaneCutsAnImage) {
  const ImageHeader axial = Axial(0);
  ImageHeader sagittal = Axial(0);
  // x = 10 mm, rows running down from z = 30 mm: it cuts the axial image at column 60.
  sagittal.Position[0] = 10, sagittal.Position[1] = -50, sagittal.Position[2] = 30;
  const double sagittalOrientation[6] = {0, 1, 0, 0, 0, -1};
  std::copy(sagittalOrientation, sagittalOrientation + 6, sagittal.Orientation);
  ImagePoint a, b;
  ASSERT_TRUE(ReferenceLine(PlaneRecordOf(sagittal, 0), axial, a, b));
  EXPECT_NEAR(a.U, 60.5, 1e-9);
  EXPECT_NEAR(b.U, 60.5, 1e-9);
  EXPECT_NEAR(std::min(a.V, b.V), 0, 1e-9);
  EXPECT_NEAR(std::max(a.V, b.V), 100, 1e-9);
  // The axial plane on the sagittal image: row 30.5 (the pixel centres start 0.5 in).
  ASSERT_TRUE(ReferenceLine(PlaneRecordOf(axial, 0), sagittal, a, b));
  EXPECT_NEAR(a.V, 30.5, 1e-9);
  EXPECT_NEAR(b.V, 30.5, 1e-9);
  // Parallel planes, another frame of reference, and a plane that misses the image's extent.
  EXPECT_FALSE(ReferenceLine(PlaneRecordOf(Axial(5), 0), axial, a, b));
  ImageHeader other = sagittal;
  other.FrameOfReferenceUid = "9.9";
  EXPECT_FALSE(ReferenceLine(PlaneRecordOf(other, 0), axial, a, b));
  ImageHeader far = sagittal;
  far.Position[2] = -200;  // its rows end above z = -100: it never reaches z = 0
  EXPECT_FALSE(ReferenceLine(PlaneRecordOf(far, 0), axial, a, b));
  // A short sagittal image ends inside the axial one: the line stops where it ends.
  ImageHeader half = sagittal;
  half.Columns = 40;  // y from -50 to -10 mm: rows 0 to 40 of the axial image
  ASSERT_TRUE(ReferenceLine(PlaneRecordOf(half, 0), axial, a, b));
  EXPECT_NEAR(std::max(a.V, b.V), 40, 1e-9);
}

TEST(ScreenCapture, BlockLayoutAndRowOrder) {
  const uint32_t pixels[6] = {0xFF010203u, 0xFF040506u, 0xFF070809u, 0xFF0A0B0Cu, 0xFF0D0E0Fu, 0xFF101112u};
  const std::vector<uint8_t> b = ScreenCaptureBlock(pixels, 3, 2, 0.25, 0.5, {{"1.2", "1.2.3", 4}});
  ASSERT_EQ(b.size(), 152u + 4 + 136 + 3 * 2 * 3);
  int32_t v[9];
  std::memcpy(v, b.data(), sizeof v);
  EXPECT_EQ(v[0], 2);  // rows
  EXPECT_EQ(v[1], 3);  // columns
  EXPECT_EQ(v[2], 3);  // samples
  EXPECT_EQ(v[3], 8);
  EXPECT_EQ(v[7], 0x01);  // smallest sample
  EXPECT_EQ(v[8], 0x12);  // largest
  double spacing[2];
  std::memcpy(spacing, b.data() + 112, 16);
  EXPECT_EQ(spacing[0], 0.25);
  EXPECT_EQ(spacing[1], 0.5);
  int32_t n = 0, frame = 0;
  std::memcpy(&n, b.data() + 152, 4);
  std::memcpy(&frame, b.data() + 156 + 132, 4);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(frame, 4);
  EXPECT_STREQ(reinterpret_cast<const char*>(b.data() + 156 + 65), "1.2.3");
  // The bottom row first, blue green red.
  const uint8_t* p = b.data() + 156 + 136;
  EXPECT_EQ((std::vector<uint8_t>(p, p + 3)), (std::vector<uint8_t>{0x0C, 0x0B, 0x0A}));
  EXPECT_EQ((std::vector<uint8_t>(p + 9, p + 12)), (std::vector<uint8_t>{0x03, 0x02, 0x01}));
}

TEST(Measurements, RegionsAnglesAndScales) {
  Measurement concave;
  concave.Kind = kPolygon;
  concave.Points = {{0, 0}, {10, 0}, {10, 10}, {5, 3}, {0, 10}};
  EXPECT_TRUE(InsideRegion(concave, 2, 2));
  EXPECT_FALSE(InsideRegion(concave, 5, 6)) << "the notch";
  Measurement flat;
  flat.Kind = kEllipse;
  flat.Points = {{0, 5}, {10, 5}};
  EXPECT_FALSE(InsideRegion(flat, 5, 5)) << "an ellipse without height holds nothing";

  Scale s;
  EXPECT_NEAR(AngleAt(s, {10, 0}, {0, 0}, {0, 10}), 90, 1e-9);
  EXPECT_NEAR(AngleBetween(s, {0, 0}, {10, 0}, {0, 0}, {-10, 1}), std::atan2(1, 10) * 180 / 3.14159265358979, 1e-9)
      << "lines meeting at 174 degrees make an angle of 6";
  EXPECT_EQ(AngleAt(s, {0, 0}, {0, 0}, {5, 5}), 0) << "an arm of no length";
  // Anisotropic spacing: the angle is that of the body, not of the pixel grid.
  s.StepU = 0.7;
  s.StepV = 0.5;
  EXPECT_NEAR(AngleAt(s, {10, 0}, {0, 0}, {10, 10}), std::atan2(5.0, 7.0) * 180 / 3.14159265358979, 1e-9);

  ImageHeader h;
  EXPECT_EQ(ScaleOf(h, false, "", 1).Unit, "px");
  h.HasImagerSpacing = true;
  h.ImagerSpacing[0] = 0.2, h.ImagerSpacing[1] = 0.3;
  const Scale imager = ScaleOf(h, false, "", 1);
  EXPECT_TRUE(imager.Imager);
  EXPECT_EQ(imager.StepU, 0.3);
  h.HasSpacing = true;
  h.Spacing[0] = 0.5, h.Spacing[1] = 0.7;
  EXPECT_FALSE(ScaleOf(h, false, "", 1).Imager) << "Pixel Spacing wins";
  const Scale calibrated = ScaleOf(h, true, "inch", 0.1);
  EXPECT_EQ(calibrated.Unit, "inch");
  EXPECT_NEAR(Length(calibrated, {0, 0}, {10, 0}), 0.7, 1e-12);
  Measurement distance;
  distance.Points = {{0, 0}, {0, 10}};
  const std::vector<std::string> label = LabelLines(distance, imager, h, nullptr, ViewState{}, StatisticsOptions{});
  ASSERT_EQ(label.size(), 1u);
  EXPECT_EQ(label[0], "2.00 mm (imager)");
}

TEST(Measurements, StatisticsDivisorOnlyForUptakeImages) {
  StatisticsOptions options;
  options.Factor = 4;
  ImageHeader h;
  for (const auto& [modality, divisor] : {std::pair{"CT", 1.0}, {"PT", 4.0}, {"NM", 4.0}, {"MR", 1.0}}) {
    h.Modality = modality;
    EXPECT_EQ(StatisticsDivisor(h, options), divisor) << modality;
  }
  options.Factor = 0;
  h.Modality = "PT";
  EXPECT_EQ(StatisticsDivisor(h, options), 1.0) << "no factor: values as they are";
}

TEST(CellMapping, ScreenAndImageAreInverse) {
  ViewState v;
  v.ZoomFits = false;
  v.Zoom = 1.7;
  v.PanX = 5, v.PanY = -3;
  for (int rotation = 0; rotation < 4; ++rotation)
    for (bool flip : {false, true}) {
      v.Rotation = rotation;
      v.FlipHorizontal = flip;
      const CellMapping m = MappingOf(200, 150, 64, 48, v);
      double sx = 0, sy = 0, u = 0, w = 0;
      m.ToScreen(10.25, 30.5, sx, sy);
      m.ToImage(sx, sy, u, w);
      EXPECT_NEAR(u, 10.25, 1e-9) << rotation << flip;
      EXPECT_NEAR(w, 30.5, 1e-9) << rotation << flip;
    }
  // A displayed area fits the cell and sits at its centre.
  ViewState area;
  area.AreaSet = true;
  area.AreaLeft = 10, area.AreaTop = 20, area.AreaRight = 30, area.AreaBottom = 30;
  const CellMapping m = MappingOf(100, 100, 64, 64, area);
  EXPECT_DOUBLE_EQ(m.Zoom, 5.0);
  double sx = 0, sy = 0;
  m.ToScreen(20, 25, sx, sy);
  EXPECT_DOUBLE_EQ(sx, 50);
  EXPECT_DOUBLE_EQ(sy, 50);
}

TEST(Canvas, DrawsOnlyInsideItsCellWhateverThePoints) {
  std::vector<uint32_t> pixels(30 * 20, 0);
  Canvas canvas(pixels.data(), 30, 10, 5, 10, 10);  // the cell (10, 5) to (20, 15)
  const double nan = std::nan(""), huge = 1e300;
  canvas.Line({nan, 0}, {5, 5}, 1);
  canvas.Line({-huge, 5.5}, {huge, 5.5}, 2);
  canvas.Handle({huge, -huge}, 3);
  canvas.Text({nan, 2}, {"X"}, 4);
  canvas.Line({-5, -5}, {50, 50}, 5);
  int inside = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x)
      if (pixels[size_t(y) * 30 + x] != 0) {
        EXPECT_TRUE(x >= 10 && x < 20 && y >= 5 && y < 15) << x << "," << y;
        ++inside;
      }
  EXPECT_EQ(pixels[size_t(5 + 5) * 30 + 10 + 3], 2u) << "the long line crosses the cell's row 5";
  EXPECT_EQ(pixels[size_t(5 + 7) * 30 + 10 + 7], 5u) << "the diagonal";
  EXPECT_GT(inside, 10);
}

}  // namespace
}  // namespace ORN_engine
