// The engine's tools through its window protocol, with real engines: measurements against
// numpy over the same pixels (measure_check.py), the measurement state reports, editing,
// locks and calibration; the magnifier, edge enhancement, marks, key images, reference lines
// between two real engines, and presentation states made by dcmpsmk against numpy renderings
// (ps_check.py). Pictures a person should look at go to out/screenshots/.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "engine/tests/EngineHarness.h"
#include "engine/tests/TestStacks.h"
#include "platform/vcl/DibPng.h"

namespace ORN_engine::testing {
namespace {

using platform::LParam;
using platform::WParam;

struct Pt {
  int X, Y;
};

std::string Geom(const std::string& name = "geom") { return Stacks() + "/geom/" + name + ".dcm"; }
std::vector<std::string> Ct() { return {Stacks() + "/ct/ct000.dcm", Stacks() + "/ct/ct001.dcm", Stacks() + "/ct/ct002.dcm"}; }

// Mouse input as the panel forwards it.
void Down(EngineHarness& e, Pt p) { platform::PostMessage(e.Engine(), msg::kWmLButtonDown, msg::kMkLButton, msg::PackPoint(p.X, p.Y)); }
bool Up(EngineHarness& e, Pt p) { return e.Request(msg::kWmLButtonUp, 0, msg::PackPoint(p.X, p.Y)); }
bool Move(EngineHarness& e, Pt p, bool button = false) {
  return e.Request(msg::kWmMouseMove, button ? msg::kMkLButton : 0, msg::PackPoint(p.X, p.Y));
}
bool DragLine(EngineHarness& e, Pt a, Pt b) {
  Down(e, a);
  platform::PostMessage(e.Engine(), msg::kWmMouseMove, msg::kMkLButton, msg::PackPoint((a.X + b.X) / 2, (a.Y + b.Y) / 2));
  platform::PostMessage(e.Engine(), msg::kWmMouseMove, msg::kMkLButton, msg::PackPoint(b.X, b.Y));
  return Up(e, b);
}
bool Click(EngineHarness& e, Pt p) {
  Down(e, p);
  return Up(e, p);
}

// Draws a measurement of a kind with the gestures a user makes for it.
bool DrawMeasurement(EngineHarness& e, int kind, const std::vector<Pt>& p) {
  if (!e.Request(msg::kMeasurementKind, 0, kind)) return false;
  switch (kind) {
    case 3:  // drag the first arm, then click the end of the second
      return DragLine(e, p[0], p[1]) && Move(e, p[2]) && Click(e, p[2]);
    case 4:  // two drags
      return DragLine(e, p[0], p[1]) && DragLine(e, p[2], p[3]);
    case 6:
    case 8:
      return Click(e, p[0]);
    case 10: {  // a click per corner, ended as a double click ends it
      for (const Pt& q : p)
        if (!Click(e, q) || !Move(e, {q.X + 1, q.Y})) return false;
      return e.Request(msg::kResetTool, 1, 1);
    }
    default:
      return DragLine(e, p[0], p[1]);
  }
}

std::string Ascii(const std::vector<uint8_t>& utf16) {
  std::string out;
  for (size_t i = 0; i + 1 < utf16.size(); i += 2) out.push_back(char(utf16[i]));
  return out;
}

// The selected measurement's text, as the annotation editor fetches it.
std::string LabelOfSelected(EngineHarness& e) {
  const size_t before = e.Records().size();
  if (!e.Request(msg::kRequestAnnotationText, 0, LParam(e.Panel()))) return "<no answer>";
  for (size_t i = before; i < e.Records().size(); ++i)
    if (e.Records()[i].Code == msg::kAnnotationText) return Ascii(e.Records()[i].Bytes);
  return "<no record>";
}

// The numbers of a label by their line: "12.34 mm" -> {"0": 12.34}; "MIN: 3.00" -> {"MIN": 3}.
std::map<std::string, double> Numbers(const std::string& label) {
  std::map<std::string, double> out;
  size_t start = 0;
  int line = 0;
  while (start <= label.size()) {
    size_t end = label.find("\r\n", start);
    if (end == std::string::npos) end = label.size();
    const std::string text = label.substr(start, end - start);
    const size_t colon = text.find(':');
    const std::string key = colon == std::string::npos ? std::to_string(line) : text.substr(0, colon);
    const char* p = text.c_str() + (colon == std::string::npos ? 0 : colon + 1);
    while (*p != 0 && !(std::isdigit(static_cast<unsigned char>(*p)) || *p == '-')) ++p;
    if (*p != 0) out[key] = std::strtod(p, nullptr);
    ++line;
    start = end + 2;
  }
  return out;
}

std::map<std::string, double> Expected(const std::string& file, int kind, double factor, double divisor,
                                       const std::vector<Pt>& screen) {
  std::string command = "/usr/bin/python3 " + std::string(ENGINE_TEST_DIR) + "/measure_check.py " + file + " " +
                        std::to_string(kind) + " " + std::to_string(factor) + " " + std::to_string(divisor);
  for (const Pt& p : screen) command += " " + std::to_string(p.X + 0.5) + " " + std::to_string(p.Y + 0.5);
  std::map<std::string, double> out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char name[32];
  double value = 0;
  while (std::fscanf(pipe, "%31s %lf", name, &value) == 2) out[name] = value;
  pclose(pipe);
  return out;
}

msg::StatisticsSettings AllStatistics(double factor) {
  msg::StatisticsSettings st{};
  st.Factor = factor;
  st.ShowMinimum = st.ShowMaximum = st.ShowMean = st.ShowDeviation = 1;
  const char* headers[4] = {"MIN", "MAX", "MEAN", "SD"};
  char16_t* fields[4] = {st.MinimumHeader, st.MaximumHeader, st.MeanHeader, st.DeviationHeader};
  for (int k = 0; k < 4; ++k)
    for (size_t i = 0; headers[k][i] != 0; ++i) fields[k][i] = char16_t(headers[k][i]);
  return st;
}

void SavePng(const EngineHarness& e, const std::string& name) {
  std::filesystem::create_directories("screenshots");
  platform::HBITMAP bitmap = platform::CreateDibSection24(e.Width(), e.Height());
  ASSERT_NE(bitmap, nullptr);
  for (int y = 0; y < e.Height(); ++y) {
    uint8_t* row = bitmap->StoredRow(e.Height() - 1 - y);
    for (int x = 0; x < e.Width(); ++x) {
      const uint32_t p = e.Pixels()[size_t(y) * e.Width() + x];
      row[3 * x] = uint8_t(p);
      row[3 * x + 1] = uint8_t(p >> 8);
      row[3 * x + 2] = uint8_t(p >> 16);
    }
  }
  EXPECT_TRUE(platform::SaveDibAsPng(*bitmap, "screenshots/" + name + ".png"));
  platform::DeleteBitmap(bitmap);
}

// ---- Measurements against numpy

struct MeasureCase {
  const char* Name;
  std::string File;
  int Kind;
  std::vector<Pt> Points;
  double StatisticsFactor;  // of the 0x80AC record
  double Divisor;           // what the statistics are divided by
  std::string Unit;         // expected on the first line
};

void PrintTo(const MeasureCase& c, std::ostream* os) { *os << c.Name; }

class EngineMeasurements : public ::testing::TestWithParam<MeasureCase> {};

TEST_P(EngineMeasurements, LabelEqualsNumpyOverTheSamePixels) {
  const MeasureCase& c = GetParam();
  EngineHarness e;
  // The panel has the image's size: the zoom is 1 and screen pixel (x, y) is image pixel (x, y).
  ASSERT_TRUE(e.Open({c.File}, 80, 60));
  const msg::StatisticsSettings st = AllStatistics(c.StatisticsFactor);
  ASSERT_TRUE(e.SendRecord(msg::kStatisticsSettings, &st, sizeof st));
  ASSERT_TRUE(DrawMeasurement(e, c.Kind, c.Points));
  const std::string label = LabelOfSelected(e);
  const auto got = Numbers(label);
  const auto want = Expected(c.File, c.Kind, 1.0, c.Divisor, c.Points);
  ASSERT_FALSE(want.empty());
  ASSERT_FALSE(got.empty()) << label;
  if (!c.Unit.empty()) {
    EXPECT_NE(label.substr(0, label.find("\r\n")).find(c.Unit), std::string::npos) << label;
  }
  for (const char* key : {"length", "area", "density"})
    if (want.count(key)) {
      ASSERT_TRUE(got.count("0")) << label;
      EXPECT_NEAR(got.at("0"), want.at(key), 0.0051) << key << ": " << label;
    }
  if (want.count("angle")) {
    ASSERT_TRUE(got.count("0")) << label;
    EXPECT_NEAR(got.at("0"), want.at("angle"), 0.051) << label;
  }
  if (want.count("mean")) {
    const std::pair<const char*, const char*> stats[] = {{"MIN", "min"}, {"MAX", "max"}, {"MEAN", "mean"}, {"SD", "std"}};
    for (const auto& [header, key] : stats) {
      ASSERT_TRUE(got.count(header)) << header << " missing from: " << label;
      EXPECT_NEAR(got.at(header), want.at(key), 0.0051) << header << ": " << label;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EngineMeasurements,
    ::testing::Values(
        MeasureCase{"distance", Geom(), 0, {{10, 20}, {50, 41}}, 2.0, 1, "mm"},
        MeasureCase{"distance_across_the_disc", Geom(), 0, {{8, 20}, {32, 20}}, 2.0, 1, "mm"},
        MeasureCase{"ellipse_round_the_disc", Geom(), 1, {{8, 8}, {32, 32}}, 2.0, 1, "mm2"},
        MeasureCase{"rectangle_on_the_square", Geom(), 2, {{44, 10}, {63, 29}}, 2.0, 1, "mm2"},
        MeasureCase{"polygon", Geom(), 10, {{40, 35}, {70, 38}, {60, 55}, {45, 50}}, 2.0, 1, "mm2"},
        MeasureCase{"angle", Geom(), 3, {{10, 50}, {30, 30}, {60, 40}}, 2.0, 1, "deg"},
        MeasureCase{"angle_between_lines", Geom(), 4, {{10, 45}, {50, 25}, {20, 10}, {60, 50}}, 2.0, 1, "deg"},
        MeasureCase{"density", Geom(), 6, {{20, 20}}, 2.0, 1, ""},
        MeasureCase{"pixels_without_spacing", Geom("nospacing"), 1, {{8, 8}, {32, 32}}, 2.0, 1, "px2"},
        // PET: the statistics are divided by the record's factor (standardized uptake).
        MeasureCase{"pet_statistics_use_the_factor", Geom("pet"), 2, {{44, 10}, {63, 29}}, 2.5, 2.5, "mm2"},
        MeasureCase{"pet_density_uses_the_factor", Geom("pet"), 6, {{50, 20}}, 4.0, 4.0, ""}),
    [](const ::testing::TestParamInfo<MeasureCase>& info) { return std::string(info.param.Name); });

TEST(EngineMeasurement, DiscOfKnownGeometry) {
  // The disc has a radius of 12 pixels: 8.4 mm across a row, 6 mm down a column.
  EngineHarness e;
  ASSERT_TRUE(e.Open({Geom()}, 80, 60));
  ASSERT_TRUE(DrawMeasurement(e, 0, {{8, 20}, {32, 20}}));
  EXPECT_NEAR(Numbers(LabelOfSelected(e)).at("0"), 24 * 0.7, 0.35);
  ASSERT_TRUE(DrawMeasurement(e, 0, {{20, 8}, {20, 32}}));
  EXPECT_NEAR(Numbers(LabelOfSelected(e)).at("0"), 24 * 0.5, 0.25);
  ASSERT_TRUE(DrawMeasurement(e, 1, {{8, 8}, {32, 32}}));
  EXPECT_NEAR(Numbers(LabelOfSelected(e)).at("0"), 3.14159265 * 12 * 12 * 0.35, 0.01);
}

TEST(EngineMeasurement, CalibrationGivesLengthsAndAreasInTheUnit) {
  for (const std::string& file : {Geom(), Geom("nospacing")}) {
    EngineHarness e;
    ASSERT_TRUE(e.Open({file}, 80, 60));
    ASSERT_TRUE(DrawMeasurement(e, 0, {{10, 10}, {40, 10}}));
    EXPECT_EQ(e.Last(msg::kMenuItemState)->L, 1) << "a distance can be calibrated";
    const double before = Numbers(LabelOfSelected(e)).at("0");
    msg::CalibrationRecord calibration{};
    calibration.Value = 6.0;
    const char16_t unit[] = u"cm";
    std::memcpy(calibration.Unit, unit, sizeof unit);
    ASSERT_TRUE(e.SendRecord(msg::kCalibration, &calibration, sizeof calibration));
    EXPECT_EQ(LabelOfSelected(e), "6.00 cm") << file;
    const double factor = 6.0 / before;  // cm per mm (or per pixel)
    ASSERT_TRUE(DrawMeasurement(e, 0, {{10, 20}, {30, 50}}));
    auto want = Expected(file, 0, factor, 1, {{10, 20}, {30, 50}});
    EXPECT_NEAR(Numbers(LabelOfSelected(e)).at("0"), want.at("length"), 0.0051 + 0.01 * want.at("length") * 0.0051 / before);
    ASSERT_TRUE(DrawMeasurement(e, 1, {{50, 16}, {78, 56}}));
    const std::string area = LabelOfSelected(e);
    want = Expected(file, 1, factor, 1, {{50, 16}, {78, 56}});
    EXPECT_NE(area.find("cm2"), std::string::npos) << area;
    EXPECT_NEAR(Numbers(area).at("0"), want.at("area"), 0.0051 + want.at("area") * 0.0051 / before);
    EXPECT_EQ(e.Last(msg::kMenuItemState)->L, 0) << "an area cannot be calibrated";
    // A value of 0 returns to the unit of the image.
    calibration.Value = 0;
    ASSERT_TRUE(e.SendRecord(msg::kCalibration, &calibration, sizeof calibration));
    EXPECT_EQ(LabelOfSelected(e).find("cm"), std::string::npos);
  }
}

TEST(EngineMeasurement, StatisticsHeadersAndFlagsOfTheRecordShowOnTheLabel) {
  EngineHarness e;
  ASSERT_TRUE(e.Open({Geom()}, 80, 60));
  msg::StatisticsSettings st = AllStatistics(2.0);
  st.ShowMinimum = 0;
  st.ShowDeviation = 0;
  ASSERT_TRUE(e.SendRecord(msg::kStatisticsSettings, &st, sizeof st));
  ASSERT_TRUE(DrawMeasurement(e, 2, {{44, 10}, {63, 29}}));
  const auto got = Numbers(LabelOfSelected(e));
  EXPECT_EQ(got.count("MIN"), 0u);
  EXPECT_EQ(got.count("SD"), 0u);
  EXPECT_EQ(got.count("MAX"), 1u);
  EXPECT_EQ(got.count("MEAN"), 1u);
  // A record of another size is not taken.
  ASSERT_TRUE(e.SendRecord(msg::kStatisticsSettings, &st, 100));
  ASSERT_TRUE(e.Request(msg::kRedraw, 0, 0));
  EXPECT_EQ(Numbers(LabelOfSelected(e)).count("MEAN"), 1u);
}

// ---- Measurement state, editing, erasing, locks

TEST(EngineMeasurement, StateReportsFollowDrawingSelectingAndErasing) {
  EngineHarness e;
  ASSERT_TRUE(e.Open({Geom()}, 80, 60));
  const std::vector<uint32_t> plain = e.Pixels();
  e.Clear();
  ASSERT_TRUE(DrawMeasurement(e, 0, {{10, 10}, {60, 10}}));
  EXPECT_EQ(e.Last(msg::kMeasurementSelection)->L, 1) << "present";
  EXPECT_EQ(e.Last(msg::kMeasurementDone)->L, 1) << "selected: erasable";
  EXPECT_EQ(e.Last(msg::kTextAnnotation)->W, 0u) << "no editor for a distance";
  EXPECT_NE(e.Pixels(), plain);
  // Hovering over the line and away from it.
  ASSERT_TRUE(Move(e, {30, 11}));
  EXPECT_EQ(e.Last(msg::kMeasurementHover)->L, 1);
  ASSERT_TRUE(Move(e, {30, 40}));
  EXPECT_EQ(e.Last(msg::kMeasurementHover)->L, 0);
  // Hidden and shown again.
  ASSERT_TRUE(e.Request(msg::kMeasurementsVisible, 0, 0));
  EXPECT_EQ(e.Pixels(), plain);
  ASSERT_TRUE(e.Request(msg::kMeasurementsVisible, 0, 1));
  EXPECT_NE(e.Pixels(), plain);
  // A text annotation asks for the editor.
  ASSERT_TRUE(DrawMeasurement(e, 8, {{40, 40}}));
  EXPECT_EQ(e.Last(msg::kTextAnnotation)->W, 1u);
  EXPECT_EQ(e.Last(msg::kTextAnnotation)->L, 1);
  // Erase the selected one (the text), then all.
  ASSERT_TRUE(e.Request(msg::kEraseSelectedMeasurement, 0, 0));
  EXPECT_EQ(e.Last(msg::kMeasurementDone)->L, 0);
  EXPECT_EQ(e.Last(msg::kMeasurementSelection)->L, 1);
  ASSERT_TRUE(e.Request(msg::kEraseAllMeasurements, 0, 0));
  EXPECT_EQ(e.Last(msg::kMeasurementSelection)->L, 0);
  EXPECT_EQ(e.Pixels(), plain);
}

TEST(EngineMeasurement, CancelledAndClickedMeasurementsLeaveNothing) {
  EngineHarness e;
  ASSERT_TRUE(e.Open({Geom()}, 80, 60));
  const std::vector<uint32_t> plain = e.Pixels();
  ASSERT_TRUE(e.Request(msg::kMeasurementKind, 0, 1));
  Down(e, {10, 10});
  ASSERT_TRUE(Move(e, {40, 40}, true));
  EXPECT_NE(e.Pixels(), plain) << "the ellipse follows the mouse";
  ASSERT_TRUE(e.Request(msg::kCancelMeasurement, 0, 0));
  EXPECT_EQ(e.Pixels(), plain);
  ASSERT_TRUE(Up(e, {40, 40}));
  ASSERT_TRUE(Click(e, {20, 20}));  // a click is no distance
  EXPECT_EQ(e.Pixels(), plain);
  // A polygon of two corners is dropped when it ends.
  ASSERT_TRUE(DrawMeasurement(e, 10, {{10, 10}, {50, 10}}));
  EXPECT_EQ(e.Pixels(), plain);
  // Another tool ends the measurement tool: the mouse pans again.
  ASSERT_TRUE(e.Request(msg::kMouseTool, 0, msg::kToolPan));
  ASSERT_TRUE(DragLine(e, {10, 10}, {20, 10}));
  EXPECT_EQ(e.Last(msg::kPan)->L, 10);
}

TEST(EngineMeasurement, LockedMeasurementsStayWhenErasedAndDoNotMove) {
  EngineHarness e;
  ASSERT_TRUE(e.Open({Geom()}, 80, 60));
  ASSERT_TRUE(DrawMeasurement(e, 0, {{10, 10}, {60, 10}}));
  ASSERT_TRUE(DrawMeasurement(e, 0, {{10, 40}, {60, 40}}));
  const std::vector<uint32_t> two = e.Pixels();
  ASSERT_TRUE(e.Request(msg::kLockAtPoint, 0, msg::PackPoint(35, 10)));
  ASSERT_TRUE(e.Request(msg::kEraseAllMeasurements, 0, 0));
  EXPECT_EQ(e.Last(msg::kMeasurementSelection)->L, 1) << "the locked one stays";
  // Dragging the locked line's end moves nothing; erasing it as the selection does nothing.
  const std::vector<uint32_t> locked = e.Pixels();
  ASSERT_TRUE(DragLine(e, {60, 10}, {70, 30}));
  EXPECT_EQ(e.Pixels(), locked);
  ASSERT_TRUE(e.Request(msg::kEraseSelectedMeasurement, 0, 0));
  EXPECT_EQ(e.Last(msg::kMeasurementSelection)->L, 1);
  ASSERT_TRUE(e.Request(msg::kReleaseLocks, 0, 0));
  ASSERT_TRUE(DragLine(e, {60, 10}, {70, 30}));
  EXPECT_NE(e.Pixels(), locked) << "unlocked, its end moves";
  EXPECT_NE(Numbers(LabelOfSelected(e)).at("0"), 50 * 0.7);
  ASSERT_TRUE(e.Request(msg::kEraseAllMeasurements, 0, 0));
  EXPECT_EQ(e.Last(msg::kMeasurementSelection)->L, 0);
  (void)two;
}

TEST(EngineMeasurement, EditorExchangeKeepsTheTextAsSent) {
  EngineHarness e;
  ASSERT_TRUE(e.Open({Geom()}, 80, 60));
  ASSERT_TRUE(DrawMeasurement(e, 8, {{20, 20}}));
  EXPECT_EQ(LabelOfSelected(e), "") << "a new text annotation is empty";
  // A right-to-left text, UTF-16 without terminator, comes back unchanged.
  const std::u16string hebrew = u"\u05E9\u05DC\u05D5\u05DD abc";
  ASSERT_TRUE(e.SendRecord(msg::kAnnotationText, hebrew.data(), uint32_t(hebrew.size() * 2)));
  ASSERT_TRUE(e.Request(msg::kRequestAnnotationText, 0, LParam(e.Panel())));
  const Record* r = e.LastRecord(msg::kAnnotationText);
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->Bytes.size(), hebrew.size() * 2);
  EXPECT_EQ(std::memcmp(r->Bytes.data(), hebrew.data(), r->Bytes.size()), 0);
  // A measurement's text given back unchanged keeps its computed label; a new text replaces it.
  ASSERT_TRUE(DrawMeasurement(e, 0, {{10, 40}, {60, 40}}));
  const std::string computed = LabelOfSelected(e);
  const std::u16string same(computed.begin(), computed.end());
  ASSERT_TRUE(e.SendRecord(msg::kAnnotationText, same.data(), uint32_t(same.size() * 2)));
  EXPECT_EQ(LabelOfSelected(e), computed);
  const std::u16string note = u"LESION 1";
  ASSERT_TRUE(e.SendRecord(msg::kAnnotationText, note.data(), uint32_t(note.size() * 2)));
  EXPECT_EQ(LabelOfSelected(e), "LESION 1");
  // Without a selection the text is empty.
  ASSERT_TRUE(e.Request(msg::kEraseSelectedMeasurement, 0, 0));
  EXPECT_EQ(LabelOfSelected(e), "");
}

TEST(EngineMeasurement, ScreenshotOfEveryKind) {
  EngineHarness e;
  ASSERT_TRUE(e.Open({Geom()}, 320, 240));
  const msg::StatisticsSettings st = AllStatistics(2.0);
  ASSERT_TRUE(e.SendRecord(msg::kStatisticsSettings, &st, sizeof st));
  // At zoom 4, image pixel (x, y) is screen pixel (4x, 4y).
  ASSERT_TRUE(DrawMeasurement(e, 0, {{20, 200}, {120, 230}}));
  ASSERT_TRUE(DrawMeasurement(e, 1, {{32, 32}, {128, 128}}));
  ASSERT_TRUE(DrawMeasurement(e, 2, {{176, 40}, {256, 120}}));
  ASSERT_TRUE(DrawMeasurement(e, 3, {{150, 220}, {180, 160}, {230, 200}}));
  ASSERT_TRUE(DrawMeasurement(e, 4, {{240, 150}, {300, 200}, {240, 200}, {300, 150}}));
  ASSERT_TRUE(DrawMeasurement(e, 6, {{80, 80}}));
  ASSERT_TRUE(DrawMeasurement(e, 9, {{140, 140}, {100, 170}}));
  ASSERT_TRUE(DrawMeasurement(e, 7, {{60, 140}, {10, 170}}));
  const std::u16string callout = u"CALLOUT";
  ASSERT_TRUE(e.SendRecord(msg::kAnnotationText, callout.data(), uint32_t(callout.size() * 2)));
  ASSERT_TRUE(DrawMeasurement(e, 8, {{150, 10}}));
  const std::u16string text = u"TEXT NOTE";
  ASSERT_TRUE(e.SendRecord(msg::kAnnotationText, text.data(), uint32_t(text.size() * 2)));
  ASSERT_TRUE(DrawMeasurement(e, 10, {{200, 130}, {260, 135}, {300, 180}, {210, 170}}));
  SavePng(e, "engine_tools_measurements");
}

TEST(EngineMeasurement, ScreenshotOnTheSampleCt) {
  const std::string ct = "SAMPLE/CT1/CT/IM0001";
  if (!std::filesystem::exists(ct)) GTEST_SKIP() << "no sample file set beside the programs";
  EngineHarness e;
  ASSERT_TRUE(e.Open({std::filesystem::absolute(ct).string()}, 512, 512));
  const msg::StatisticsSettings st = AllStatistics(2.0);
  ASSERT_TRUE(e.SendRecord(msg::kStatisticsSettings, &st, sizeof st));
  ASSERT_TRUE(DrawMeasurement(e, 0, {{120, 400}, {380, 400}}));
  ASSERT_TRUE(DrawMeasurement(e, 1, {{200, 200}, {300, 280}}));
  ASSERT_TRUE(DrawMeasurement(e, 3, {{100, 120}, {160, 80}, {220, 130}}));
  ASSERT_TRUE(DrawMeasurement(e, 6, {{256, 330}}));
  ASSERT_TRUE(e.Request(msg::kInformationOverlay, 0, 1));
  SavePng(e, "engine_tools_sample_ct");
}

// ---- Magnifier and edge enhancement

TEST(EngineMagnifier, LensEnlargesAroundThePointUntilTheToolEnds) {
  for (int shape : {0, 1}) {
    EngineHarness e;
    ASSERT_TRUE(e.Open(Ct(), 64, 64));
    const std::vector<uint32_t> plain = e.Pixels();
    ASSERT_TRUE(e.Request(msg::kMouseTool, 0, msg::kToolMagnifier));
    ASSERT_TRUE(e.Request(msg::kMagnifierSize, 0, 32));
    ASSERT_TRUE(e.Request(msg::kMagnifierShape, 0, shape));
    ASSERT_TRUE(e.Request(msg::kMagnifierOptimized, 0, 0));
    ASSERT_TRUE(e.Request(msg::kMagnifierZoom, 0, 200));
    Down(e, {32, 32});
    ASSERT_TRUE(e.Settle());
    const std::vector<uint32_t> lens = e.Pixels();
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        const size_t i = size_t(y) * 64 + x;
        if (std::abs(x + 0.5 - 32.5) > 16 || std::abs(y + 0.5 - 32.5) > 16) {
          ASSERT_EQ(lens[i], plain[i]) << "outside the lens " << x << "," << y;
        } else if (std::abs(x - 32) <= 8 && std::abs(y - 32) <= 8) {
          // Twice as large: the point d from the centre shows what was d / 2 from it.
          const int sx = int(std::floor(32.5 + (x + 0.5 - 32.5) / 2)), sy = int(std::floor(32.5 + (y + 0.5 - 32.5) / 2));
          ASSERT_EQ(lens[i], plain[size_t(sy) * 64 + sx]) << x << "," << y;
        }
      }
    // The corner of the square lens is outside the circular one.
    EXPECT_EQ(lens[size_t(32 + 15) * 64 + 32 + 15] == plain[size_t(32 + 15) * 64 + 32 + 15], shape == 1);
    if (shape == 1) SavePng(e, "engine_tools_magnifier");
    ASSERT_TRUE(e.Request(msg::kEndTool, 0, 1));
    EXPECT_EQ(e.Pixels(), plain);
  }
}

TEST(EngineMagnifier, OptimizedLensSpreadsTheValuesUnderIt) {
  EngineHarness e;
  ASSERT_TRUE(e.Open({Geom()}, 80, 60));
  ASSERT_TRUE(e.Request(msg::kMouseTool, 0, msg::kToolMagnifier));
  ASSERT_TRUE(e.Request(msg::kMagnifierSize, 0, 16));
  auto spread = [&](bool optimized) {
    EXPECT_TRUE(e.Request(msg::kMagnifierOptimized, 0, optimized ? 1 : 0));
    Down(e, {72, 4});  // background values only: a narrow range
    EXPECT_TRUE(e.Settle());
    int lo = 255, hi = 0;
    for (int y = 1; y < 9; ++y)  // inside the rim
      for (int x = 69; x < 77; ++x) {
        const int g = int(e.Pixels()[size_t(y) * 80 + x] & 0xFF);
        lo = std::min(lo, g), hi = std::max(hi, g);
      }
    EXPECT_TRUE(Up(e, {72, 4}));
    return hi - lo;
  };
  EXPECT_GT(spread(true), 2 * spread(false));
}

TEST(EngineEdgeEnhancement, DragStrengthensAndResetClears) {
  EngineHarness e;
  ASSERT_TRUE(e.Open({Geom()}, 80, 60));
  const std::vector<uint32_t> plain = e.Pixels();
  ASSERT_TRUE(e.Request(msg::kMouseTool, 0, msg::kToolEdgeEnhancement));
  auto contrast = [&] {
    double sum = 0;
    for (int y = 1; y < 59; ++y)
      for (int x = 1; x < 79; ++x)
        sum += std::abs(int(e.Pixels()[size_t(y) * 80 + x] & 0xFF) - int(e.Pixels()[size_t(y) * 80 + x + 1] & 0xFF));
    return sum;
  };
  const double before = contrast();
  ASSERT_TRUE(DragLine(e, {10, 30}, {50, 30}));
  const double weak = contrast();
  ASSERT_TRUE(DragLine(e, {10, 30}, {70, 30}));
  const double strong = contrast();
  EXPECT_GT(weak, before);
  EXPECT_GT(strong, weak);
  ASSERT_TRUE(e.Request(msg::kLinkState, 0, 0));
  EXPECT_EQ(e.Pixels(), plain);
}

// ---- Marks and key images

TEST(EngineMarks, ShowMarkedOnlyAndRelease) {
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 96, 32));
  ASSERT_TRUE(e.Request(msg::kMatrix, 0, 3 | (1 << 16)));
  ASSERT_TRUE(e.Request(msg::kShowMarkedOnly, 0, 0));
  EXPECT_EQ(e.Last(msg::kImageCount)->L, 3) << "nothing marked: all stay";
  ASSERT_TRUE(e.Request(msg::kToggleMark, 0, msg::PackPoint(80, 16)));  // image 2
  ASSERT_TRUE(e.Request(msg::kToggleMark, 0, msg::PackPoint(5, 5)));    // image 0
  EXPECT_EQ(e.Pixels()[95], 0xFFFF8000u) << "the mark in the top-right corner of image 2's cell";
  ASSERT_TRUE(e.Request(msg::kShowMarkedOnly, 0, 0));
  EXPECT_EQ(e.Last(msg::kImageCount)->L, 2);
  // The second cell now shows image 2: unmark it there.
  ASSERT_TRUE(e.Request(msg::kKeyImageNotification, 2, msg::PackPoint(48, 16)));
  EXPECT_EQ(e.Last(msg::kKeyImageNotification)->L, 2);
  ASSERT_TRUE(e.Request(msg::kToggleMark, 0, msg::PackPoint(48, 16)));
  EXPECT_EQ(e.Last(msg::kImageCount)->L, 1);
  ASSERT_TRUE(e.Request(msg::kReleaseMarks, 0, 0));
  EXPECT_EQ(e.Last(msg::kImageCount)->L, 3);
  ASSERT_TRUE(e.Request(msg::kShowAll, 0, 0));
  EXPECT_EQ(e.Last(msg::kImageCount)->L, 3);
}

TEST(EngineKeyImages, NotificationsNameTheImageAtThePoint) {
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 96, 32));
  ASSERT_TRUE(e.Request(msg::kMatrix, 0, 3 | (1 << 16)));
  ASSERT_TRUE(e.Request(msg::kKeyImageNotification, 1, msg::PackPoint(40, 10)));
  EXPECT_EQ(e.Last(msg::kKeyImageNotification)->W, 1u);
  EXPECT_EQ(e.Last(msg::kKeyImageNotification)->L, 1);
  ASSERT_TRUE(e.Request(msg::kKeyImageNotification, 2, msg::PackPoint(80, 16)));
  EXPECT_EQ(e.Last(msg::kKeyImageNotification)->W, 2u);
  EXPECT_EQ(e.Last(msg::kKeyImageNotification)->L, 2);
  EXPECT_EQ(e.Last(msg::kImageChanged)->L, 2) << "the image is shown";
  const size_t before = e.Count(msg::kKeyImageNotification);
  ASSERT_TRUE(e.Request(msg::kKeyImageNotification, 3, msg::PackPoint(80, 16)));
  ASSERT_TRUE(e.Request(msg::kKeyImageNotification, 1, msg::PackPoint(200, 16)));  // outside
  EXPECT_EQ(e.Count(msg::kKeyImageNotification), before);
}

TEST(EngineKeyImages, DataBlockHoldsThePictureAndItsSource) {
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 512, 512));
  ASSERT_TRUE(DrawMeasurement(e, 0, {{100, 100}, {400, 300}}));
  ASSERT_TRUE(e.Request(msg::kKeyImageData, 0x02000200, LParam(e.Panel())));
  const Record* r = e.LastRecord(msg::kKeyImageData);
  ASSERT_NE(r, nullptr);
  const std::vector<uint8_t>& b = r->Bytes;
  ASSERT_EQ(b.size(), 156u + 136u + 512u * 512u * 3u);
  auto at = [&](size_t o) {
    int32_t v;
    std::memcpy(&v, b.data() + o, 4);
    return v;
  };
  EXPECT_EQ(at(0), 512);
  EXPECT_EQ(at(4), 512);
  EXPECT_EQ(at(8), 3);
  EXPECT_EQ(at(12), 8);
  EXPECT_EQ(at(152), 1);
  EXPECT_STREQ(reinterpret_cast<const char*>(b.data() + 40), "RGB");
  double columnSpacing = 0;
  std::memcpy(&columnSpacing, b.data() + 112, 8);
  EXPECT_DOUBLE_EQ(columnSpacing, 0.7 / 8);  // 64 pixels of 0.7 mm over 512
  EXPECT_STREQ(reinterpret_cast<const char*>(b.data() + 156), "1.2.840.10008.5.1.4.1.1.2");
  const Record* plane = e.LastRecord(msg::kImagePlane);
  ASSERT_NE(plane, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(b.data() + 156 + 65), reinterpret_cast<const char*>(plane->Bytes.data() + 169));
  // The rows bottom-up in blue, green, red: the picture the panel shows, measurement included.
  const uint8_t* pixels = b.data() + 156 + 136;
  for (int y : {0, 100, 250, 511})
    for (int x : {0, 100, 250, 400}) {
      const uint32_t p = e.Pixels()[size_t(y) * 512 + x];
      const uint8_t* q = pixels + (size_t(511 - y) * 512 + x) * 3;
      EXPECT_EQ(q[0], uint8_t(p)) << x << "," << y;
      EXPECT_EQ(q[2], uint8_t(p >> 16)) << x << "," << y;
    }
}

// ---- Reference lines between real engines

std::vector<uint8_t> PlanesOf(EngineHarness& e) {
  const Record* r = e.LastRecord(msg::kImagePlane);
  return r != nullptr ? r->Bytes : std::vector<uint8_t>{};
}

// Columns (or rows) that hold reference-line pixels.
std::map<int, int> YellowAt(const EngineHarness& e, bool columns) {
  std::map<int, int> out;
  for (int y = 0; y < e.Height(); ++y)
    for (int x = 0; x < e.Width(); ++x)
      if (e.Pixels()[size_t(y) * e.Width() + x] == 0xFFFFFF00u) ++out[columns ? x : y];
  return out;
}

TEST(EngineReferenceLines, FallWhereTheGeometrySays) {
  EngineHarness axial, sagittal;
  ASSERT_TRUE(axial.Open(Ct(), 64, 64));
  ASSERT_TRUE(sagittal.Open({Stacks() + "/sag/sag000.dcm", Stacks() + "/sag/sag001.dcm"}, 64, 64));
  // Both sagittal planes: x = -86 mm and -72 mm cut the axial slices at columns 20 and 40.
  std::vector<uint8_t> planes = PlanesOf(sagittal);
  ASSERT_TRUE(sagittal.Request(msg::kGoToImage, 0, 1));
  const std::vector<uint8_t> second = PlanesOf(sagittal);
  planes.insert(planes.end(), second.begin(), second.end());
  ASSERT_EQ(planes.size(), 768u);
  ASSERT_TRUE(axial.SendRecord(msg::kImagePlane, planes.data(), uint32_t(planes.size())));
  auto columns = YellowAt(axial, true);
  ASSERT_FALSE(columns.empty());
  int near20 = 0, near40 = 0;
  for (const auto& [x, n] : columns) {
    EXPECT_TRUE(std::abs(x - 20) <= 1 || std::abs(x - 40) <= 1) << "column " << x;
    (std::abs(x - 20) <= 1 ? near20 : near40) += n;
  }
  EXPECT_GE(near20, 60) << "the line crosses the whole slice";
  EXPECT_GE(near40, 60);
  SavePng(axial, "engine_tools_reference_lines");
  // The axial plane (z = 0) on the sagittal image: row 10 (z runs down from 10 mm, 1 mm a row).
  std::vector<uint8_t> axialPlane = PlanesOf(axial);
  ASSERT_EQ(axialPlane.size(), 384u);
  ASSERT_TRUE(sagittal.SendRecord(msg::kImagePlane, axialPlane.data(), 384));
  const auto rows = YellowAt(sagittal, false);
  ASSERT_FALSE(rows.empty());
  for (const auto& [y, n] : rows) EXPECT_LE(std::abs(y - 10), 1) << "row " << y;
  // Parallel planes draw nothing; an empty record clears the lines; a short one is no plane.
  EngineHarness other;
  ASSERT_TRUE(other.Open(Ct(), 64, 64));
  ASSERT_TRUE(other.SendRecord(msg::kImagePlane, axialPlane.data(), 384));
  EXPECT_TRUE(YellowAt(other, true).empty());
  ASSERT_TRUE(axial.SendRecord(msg::kImagePlane, planes.data(), 300));
  EXPECT_TRUE(YellowAt(axial, true).empty());
}

// ---- Presentation states

std::vector<std::string> States() {
  std::vector<std::string> out;
  for (const char* name : {"window", "voilut", "rotflip", "area", "annotations", "other", "not-a-state"})
    out.push_back(Stacks() + "/ps/" + name + ".dcm");
  return out;
}

TEST(EnginePresentationStates, ListedAppliedAndReported) {
  EngineHarness e;
  ASSERT_TRUE(e.Start(Ct(), {}, States()));
  ASSERT_TRUE(e.WaitReady());
  ASSERT_TRUE(e.Request(msg::kSize, WParam(127 | (95 << 16)), 0));
  const Posted* available = e.Last(msg::kPresentationStatesAvailable);
  ASSERT_NE(available, nullptr);
  EXPECT_EQ(available->L, 1);
  ASSERT_TRUE(e.Request(msg::kPresentationStateList, 0, LParam(available->W)));
  const Record* list = e.LastRecord(msg::kPresentationStateList);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(std::string(list->Bytes.begin(), list->Bytes.end()), "DEFAULT\nWINDOW\nVOILUT\nROTFLIP\nAREA\nANNOTATIONS\n");
  const std::vector<uint32_t> original = e.Pixels();
  // Each state against numpy's rendering of the image under it.
  const char* names[] = {"window", "voilut", "rotflip", "area"};
  for (int k = 1; k <= 4; ++k) {
    ASSERT_TRUE(e.Request(msg::kPresentationStateApplied, 0, k));
    EXPECT_EQ(e.Last(msg::kPresentationStateApplied)->L, k);
    const std::string raw = Stacks() + "/ps_" + names[k - 1] + ".raw";
    {
      std::ofstream out(raw, std::ios::binary);
      out.write(reinterpret_cast<const char*>(e.Pixels().data()), std::streamsize(e.Pixels().size() * 4));
    }
    const std::string command = "/usr/bin/python3 " + std::string(ENGINE_TEST_DIR) + "/ps_check.py " + raw +
                                " 128 96 " + Ct()[0] + " " + Stacks() + "/ps/" + names[k - 1] + ".dcm";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
  }
  // The annotations: the text and the circle are drawn in white.
  ASSERT_TRUE(e.Request(msg::kPresentationStateApplied, 0, 5));
  int white = 0;
  for (uint32_t p : e.Pixels()) white += p == 0xFFFFFFFFu;
  EXPECT_GT(white, 100);
  SavePng(e, "engine_tools_presentation_state");
  // The button: the last state applied; the original; an index past the list changes nothing.
  ASSERT_TRUE(e.Request(msg::kPresentationStateApplied, 0, 0));
  EXPECT_EQ(e.Last(msg::kPresentationStateApplied)->L, 0);
  EXPECT_EQ(e.Pixels(), original);
  ASSERT_TRUE(e.Request(msg::kPresentationStateApplied, 0, LParam(0xFFFFFFFFu)));
  EXPECT_EQ(e.Last(msg::kPresentationStateApplied)->L, 5);
  ASSERT_TRUE(e.Request(msg::kPresentationStateApplied, 0, 9));
  EXPECT_EQ(e.Last(msg::kPresentationStateApplied)->L, 5);
  ASSERT_TRUE(e.Request(msg::kPresentationStateApplied, 0, 0));
  EXPECT_EQ(e.Pixels(), original);
}

TEST(EnginePresentationStates, NoneForImagesThatNoStateReferences) {
  EngineHarness e;
  ASSERT_TRUE(e.Start({Stacks() + "/geom/geom.dcm"}, {}, States()));
  ASSERT_TRUE(e.WaitReady());
  ASSERT_TRUE(e.Settle());
  EXPECT_EQ(e.Last(msg::kPresentationStatesAvailable)->L, 0);
  ASSERT_TRUE(e.Request(msg::kPresentationStateApplied, 0, LParam(0xFFFFFFFFu)));
  EXPECT_EQ(e.Last(msg::kPresentationStateApplied)->L, 0);
}

}  // namespace
}  // namespace ORN_engine::testing
