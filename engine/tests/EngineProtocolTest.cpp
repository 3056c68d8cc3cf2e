// The engine's side of the window protocol, message by message, with the real engine
// started through the launcher.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/tests/EngineHarness.h"
#include "engine/tests/TestStacks.h"

namespace ORN_engine::testing {
namespace {

using platform::LParam;
using platform::WParam;

std::vector<std::string> Ct() { return {Stacks() + "/ct/ct000.dcm", Stacks() + "/ct/ct001.dcm", Stacks() + "/ct/ct002.dcm"}; }

TEST(EngineProtocol, ReadySequenceInOrder) {
  EngineHarness e;
  ASSERT_TRUE(e.Start(Ct()));
  ASSERT_TRUE(e.WaitReady());
  ASSERT_TRUE(e.Settle());
  const auto& p = e.Posts();
  ASSERT_GE(p.size(), 16u);
  size_t i = 0;
  EXPECT_EQ(p[i].Message, msg::kEngineWindow);
  EXPECT_EQ(WParam(e.Engine()), p[i].W);
  EXPECT_EQ(p[i].L, 1);
  EXPECT_EQ(platform::FindWindow("StackEngineProcess" + std::to_string(e.Launcher().ChildProcessId())), e.Engine());
  for (int k = 1; k <= 3; ++k) {
    ++i;
    EXPECT_EQ(p[i].Message, msg::kInitProgress);
    EXPECT_EQ(p[i].L, LParam(k | (3 << 16))) << k;
  }
  struct Want {
    uint32_t Message;
    WParam W;
    LParam L;
  };
  const Want ready[] = {
      {msg::kImageCount, 0, 3},
      {msg::kMatrix, 0, 1 | (1 << 16)},
      {msg::kZoom, 0, 10000},  // no size yet
      {msg::kWindowLevel, WParam(400 * 10000), 40 * 10000},
      {msg::kImageChanged, 0, 0},
      {msg::kFrameRate, 0, 0},  // no rate in the files
      {msg::kPositionFactor, 1, 25000},  // slices 2.5 mm apart
      {msg::kReconstructionAvailable, 0, 0},
      {msg::kPresentationStatesAvailable, 0, 0},
      {msg::kBlendingAvailable, 0, 0},
      {msg::kEngineReady, 0, 0},
  };
  for (const Want& w : ready) {
    ++i;
    ASSERT_LT(i, p.size());
    EXPECT_EQ(p[i].Message, w.Message) << std::hex << w.Message;
    EXPECT_EQ(p[i].W, w.W) << std::hex << w.Message;
    EXPECT_EQ(p[i].L, w.L) << std::hex << w.Message;
  }
  // The records: the modality text with its NUL, then the plane of image 0.
  ASSERT_GE(e.Records().size(), 2u);
  EXPECT_EQ(e.Records()[0].Code, msg::kModalityText);
  EXPECT_EQ(e.Records()[0].Bytes, (std::vector<uint8_t>{'C', 'T', 0}));
  EXPECT_EQ(e.Records()[1].Code, msg::kImagePlane);
  ASSERT_EQ(e.Records()[1].Bytes.size(), 384u);
  msg::ImagePlaneRecord plane;
  std::memcpy(&plane, e.Records()[1].Bytes.data(), 384);
  EXPECT_DOUBLE_EQ(plane.Position[0], -100.0);
  EXPECT_DOUBLE_EQ(plane.Position[2], 0.0);
  EXPECT_DOUBLE_EQ(plane.Orientation[4], 1.0);
  EXPECT_DOUBLE_EQ(plane.Spacing[0], 0.7);
  EXPECT_EQ(plane.Rows, 64);
  EXPECT_EQ(plane.ImageIndex, 0);
  EXPECT_STREQ(plane.FrameOfReferenceUid, "1.2.3.4.6");
  EXPECT_STREQ(plane.Modality, "CT");
}

TEST(EngineProtocol, ProgressPausesAndResumes) {
  std::vector<std::string> files;
  for (int k = 0; k < 40; ++k) files.push_back(Ct()[size_t(k % 3)]);
  EngineHarness e;
  ASSERT_TRUE(e.Start(files));
  const platform::WindowHandle titled =
      platform::FindWindow("StackEngineProcess" + std::to_string(e.Launcher().ChildProcessId()));
  ASSERT_EQ(titled, e.Engine());
  platform::PostMessage(titled, msg::kPauseInitialisation, 0, 0);
  ASSERT_TRUE(e.Settle());
  const size_t paused = e.Count(msg::kInitProgress);
  ASSERT_TRUE(e.Settle());
  ASSERT_TRUE(e.Settle());
  EXPECT_EQ(e.Count(msg::kInitProgress), paused) << "no header is read while paused";
  EXPECT_EQ(e.Count(msg::kEngineReady), 0u);
  platform::PostMessage(titled, msg::kResumeInitialisation, 0, 0);
  ASSERT_TRUE(e.WaitReady());
  const auto progress = e.Of(msg::kInitProgress);
  ASSERT_EQ(progress.size(), 40u);
  for (size_t k = 0; k < progress.size(); ++k) EXPECT_EQ(progress[k].L, LParam((k + 1) | (40 << 16)));
}

// One request and the reports it must cause.
struct Exchange {
  const char* Name;
  uint32_t Message;
  WParam W;
  LParam L;
  uint32_t Report;
  WParam ReportW;
  LParam ReportL;
};

void PrintTo(const Exchange& x, std::ostream* os) { *os << x.Name; }

class EngineReports : public ::testing::TestWithParam<Exchange> {};

TEST_P(EngineReports, RequestIsReported) {
  const Exchange& x = GetParam();
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 64, 64));
  e.Clear();
  ASSERT_TRUE(e.Request(x.Message, x.W, x.L));
  const Posted* r = e.Last(x.Report);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->W, x.ReportW);
  EXPECT_EQ(r->L, x.ReportL);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, EngineReports,
    ::testing::Values(
        Exchange{"zoom", msg::kZoom, 0, 25000, msg::kZoom, 0, 25000},
        Exchange{"zoom_to_fit", msg::kZoomToFit, 0, 0, msg::kZoom, 0, 10000},
        Exchange{"window", msg::kWindowLevel, 0, msg::PackWindowValues(-600, 1500), msg::kWindowLevel,
                 WParam(1500 * 10000), -600 * 10000},
        // A centre beyond 16 bits arrives clamped, not wrapped into a negative one.
        Exchange{"window_clamped", msg::kWindowLevel, 0, msg::PackWindowValues(40000, 70000), msg::kWindowLevel,
                 WParam(65535LL * 10000), 32767LL * 10000},
        Exchange{"pan", msg::kPan, 0, msg::PackPoint(7, -4), msg::kPan, WParam(LParam(-4)), 7},
        Exchange{"go_to", msg::kGoToImage, 0, 2, msg::kImageChanged, 2, 2},
        Exchange{"go_to_linked_clamped", msg::kGoToImage, 1, 9, msg::kImageChanged, 2, 2},
        Exchange{"matrix", msg::kMatrix, 0, 2 | (1 << 16), msg::kMatrix, 0, 2 | (1 << 16)},
        Exchange{"inverse", msg::kInverse, 0, 1, msg::kInverse, 0, 1},
        Exchange{"reset", msg::kLinkState, 0, (5 << 16) | 1, msg::kLinkState, 0, (5 << 16) | 1},
        Exchange{"frame_rate", msg::kFrameRate, 0, 25, msg::kFrameRate, 0, 25},
        Exchange{"original_state", msg::kPresentationStateApplied, 0, 0, msg::kPresentationStateApplied, 0, 0}),
    [](const ::testing::TestParamInfo<Exchange>& info) { return std::string(info.param.Name); });

TEST(EngineProtocol, FullRangeWindowSpansTheImage) {
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 64, 64));
  ASSERT_TRUE(e.Request(msg::kFullRangeWindow, 0, 0));
  const Posted* r = e.Last(msg::kWindowLevel);
  ASSERT_NE(r, nullptr);
  // Width = max - min + 1 of the modality values; centre halfway plus a half.
  const double width = double(LParam(r->W)) / 10000, centre = double(r->L) / 10000;
  EXPECT_GT(width, 1000);
  EXPECT_DOUBLE_EQ(centre - 0.5 - (width - 1) / 2, -1024.0);  // the air outside the body
}

TEST(EngineProtocol, WheelStepsImagesAndStopsAtTheEnds) {
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 64, 64));
  const struct {
    int Delta;
    LParam Image;
  } steps[] = {{-120, 1}, {-120, 2}, {-120, 2}, {120, 1}, {120, 0}, {120, 0}};
  for (const auto& s : steps) {
    ASSERT_TRUE(e.Request(msg::kWmMouseWheel, WParam(uint16_t(int16_t(s.Delta))) << 16, 0));
    ASSERT_NE(e.Last(msg::kImageChanged), nullptr);
    EXPECT_EQ(e.Last(msg::kImageChanged)->L, s.Image) << s.Delta;
  }
}

TEST(EngineProtocol, CineRunsToTheEndAndReportsWhereItStopped) {
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 64, 64));
  e.Clear();
  platform::PostMessage(e.Engine(), msg::kCineStarted, WParam(2) << 16, 50 /* fps, forward, no loop */);
  ASSERT_TRUE(platform::testing::PumpUntil([&] { return e.Count(msg::kCineStopped) > 0; }));
  EXPECT_EQ(e.Count(msg::kCineStarted), 1u);
  const auto images = e.Of(msg::kImageChanged);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].L, 1);
  EXPECT_EQ(images[1].L, 2);
  EXPECT_EQ(e.Last(msg::kCineStopped)->L, 2);
}

TEST(EngineProtocol, CineLoopsUntilStopped) {
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 64, 64));
  e.Clear();
  platform::PostMessage(e.Engine(), msg::kCineStarted, WParam(2) << 16, 100 | (1 << 24) /* loop */);
  ASSERT_TRUE(platform::testing::PumpUntil([&] { return e.Count(msg::kImageChanged) >= 5; }));
  EXPECT_EQ(e.Count(msg::kCineStopped), 0u);
  EXPECT_EQ(e.Of(msg::kImageChanged)[2].L, 0) << "after the last image comes the first";
  ASSERT_TRUE(e.Request(msg::kCineStopped, 0, 0));
  ASSERT_EQ(e.Count(msg::kCineStopped), 1u);
  EXPECT_EQ(e.Last(msg::kCineStopped)->L, e.Last(msg::kImageChanged)->L);
}

// Left drags of each mouse tool: where the mouse went and what the engine reports.
struct Drag {
  const char* Name;
  int Tool;
  int Dx, Dy;
  uint32_t Report;
};

void PrintTo(const Drag& d, std::ostream* os) { *os << d.Name; }

class EngineMouseTools : public ::testing::TestWithParam<Drag> {};

TEST_P(EngineMouseTools, DragChangesAndReports) {
  const Drag& d = GetParam();
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 64, 64));
  ASSERT_TRUE(e.Request(msg::kMouseTool, 0, d.Tool));
  e.Clear();
  platform::PostMessage(e.Engine(), msg::kWmLButtonDown, msg::kMkLButton, msg::PackPoint(30, 30));
  platform::PostMessage(e.Engine(), msg::kWmMouseMove, msg::kMkLButton, msg::PackPoint(30 + d.Dx, 30 + d.Dy));
  ASSERT_TRUE(e.Request(msg::kWmLButtonUp, 0, msg::PackPoint(30 + d.Dx, 30 + d.Dy)));
  const Posted* r = e.Last(d.Report);
  ASSERT_NE(r, nullptr);
  switch (d.Tool) {
    case msg::kToolZoom:
      EXPECT_GT(r->L, 10000) << "dragging up enlarges";
      break;
    case msg::kToolVoi:
      EXPECT_GT(LParam(r->W), 400 * 10000) << "dragging right widens";
      EXPECT_GT(r->L, 40 * 10000) << "dragging down raises the centre";
      break;
    case msg::kToolPan:
      EXPECT_EQ(r->L, d.Dx);
      EXPECT_EQ(LParam(r->W), d.Dy);
      break;
    case msg::kToolNavigator:
      EXPECT_EQ(r->L, 2);
      break;
  }
  // A move without the button held changes nothing more.
  const size_t before = e.Count(d.Report);
  ASSERT_TRUE(e.Request(msg::kWmMouseMove, 0, msg::PackPoint(2, 2)));
  EXPECT_EQ(e.Count(d.Report), before);
}

INSTANTIATE_TEST_SUITE_P(Tools, EngineMouseTools,
                         ::testing::Values(Drag{"zoom", msg::kToolZoom, 0, -40, msg::kZoom},
                                           Drag{"voi", msg::kToolVoi, 20, 10, msg::kWindowLevel},
                                           Drag{"pan", msg::kToolPan, 9, -6, msg::kPan},
                                           Drag{"navigator", msg::kToolNavigator, 0, 12, msg::kImageChanged}),
                         [](const ::testing::TestParamInfo<Drag>& info) { return std::string(info.param.Name); });

TEST(EngineProtocol, AnswersWithoutPretending) {
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 64, 64));
  e.Clear();
  // The presentation-state list is empty; the annotation text is empty; presets answer 0x8061.
  ASSERT_TRUE(e.Request(msg::kPresentationStateList, 0, 0));
  ASSERT_TRUE(e.Request(msg::kRequestAnnotationText, 0, LParam(e.Panel())));
  ASSERT_EQ(e.Records().size(), 2u);
  EXPECT_EQ(e.Records()[0].Code, msg::kPresentationStateList);
  EXPECT_TRUE(e.Records()[0].Bytes.empty());
  EXPECT_EQ(e.Records()[1].Code, msg::kAnnotationText);
  EXPECT_TRUE(e.Records()[1].Bytes.empty());
  // A presentation state past the list is not applied: the original stays, and says so.
  ASSERT_TRUE(e.Request(msg::kPresentationStateApplied, 0, 3));
  ASSERT_NE(e.Last(msg::kPresentationStateApplied), nullptr);
  EXPECT_EQ(e.Last(msg::kPresentationStateApplied)->L, 0);
  // Requests without what they act on (no measurement, no key-image window, no
  // reconstruction, no export form) leave the engine serving.
  for (uint32_t m : {msg::kMeasurementKind, msg::kEraseAllMeasurements, msg::kMagnifierZoom, msg::kKeyImageData,
                     msg::kStartReconstruction1, msg::kPicture})
    ASSERT_TRUE(e.Request(m, 0, 0)) << std::hex << m;
  EXPECT_EQ(e.Last(msg::kMeasurementSelection)->L, 0);
  EXPECT_EQ(e.LastRecord(msg::kKeyImageData), nullptr);
}

TEST(EngineProtocol, EndsWhenClosedAndWhenThePanelIsGone) {
  {
    EngineHarness e;
    ASSERT_TRUE(e.Open(Ct(), 64, 64));
    auto child = platform::Process::Open(e.Launcher().ChildProcessId());
    ASSERT_TRUE(child);
    platform::PostMessage(e.Engine(), platform::kWmClose, 0, 0);
    EXPECT_TRUE(platform::testing::PumpUntil([&] { return !e.Launcher().IsRunning(); }));
  }
  // A panel that disappears: the engine notices on its own and ends.
  auto panel = std::make_unique<platform::Window>([](uint32_t, WParam, LParam) -> platform::LResult { return 0; });
  ORN_image::TgbStackEngineProcess launcher;
  std::istringstream i(EngineHarness::List(Ct())), p(EngineHarness::List({})), f(EngineHarness::List({}));
  ASSERT_TRUE(launcher.Start(i, p, f, "x", platform::testing::OutProgram("Pixtrane.exe"), panel->Handle(), 60000));
  panel.reset();
  EXPECT_TRUE(platform::testing::PumpUntil([&] { return !launcher.IsRunning(); }));
  launcher.Stop();
}

TEST(EngineProtocol, NextImagesAreReadAhead) {
  // Copies whose files go away once the engine is ready: what it shows then was read before.
  const std::string folder = Stacks() + "/ahead";
  std::filesystem::create_directories(folder);
  std::vector<std::string> files;
  for (int k = 0; k < 3; ++k) {
    files.push_back(folder + "/" + std::to_string(k) + ".dcm");
    std::filesystem::copy_file(Ct()[size_t(k)], files.back(), std::filesystem::copy_options::overwrite_existing);
  }
  EngineHarness e;
  ASSERT_TRUE(e.Open(files, 64, 64));
  ASSERT_TRUE(e.Settle());
  const std::vector<uint32_t> first = e.Pixels();
  for (const auto& f : files) std::filesystem::remove(f);
  for (int k : {1, 2}) {
    ASSERT_TRUE(e.Request(msg::kGoToImage, 0, k));
    EXPECT_EQ(e.Last(msg::kImageChanged)->L, k);
    EXPECT_NE(e.Pixels(), first) << "image " << k << " is drawn from what was read ahead";
    bool drawn = false;
    for (uint32_t px : e.Pixels()) drawn |= px != 0xFF000000u;
    EXPECT_TRUE(drawn) << k;
  }
}

TEST(EngineProtocol, OverlayWritesInTheCornersOnly) {
  EngineHarness e;
  ASSERT_TRUE(e.Open(Ct(), 128, 128));
  const std::vector<uint32_t> plain = e.Pixels();
  ASSERT_TRUE(e.Request(msg::kInformationOverlay, 0, 1));
  const std::vector<uint32_t> with = e.Pixels();
  int whiteTopLeft = 0, whiteBottomRight = 0, changedMiddle = 0;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      const size_t i = size_t(y) * 128 + x;
      if (with[i] == plain[i]) continue;
      if (y >= 20 && y < 108) ++changedMiddle;
      if (with[i] == 0xFFFFFFFFu && y < 16 && x < 64) ++whiteTopLeft;
      if (with[i] == 0xFFFFFFFFu && y > 112 && x > 64) ++whiteBottomRight;
    }
  EXPECT_GT(whiteTopLeft, 20) << "the patient's name";
  EXPECT_GT(whiteBottomRight, 20) << "the zoom";
  EXPECT_EQ(changedMiddle, 0);
  ASSERT_TRUE(e.Request(msg::kInformationOverlay, 0, 0));
  EXPECT_EQ(e.Pixels(), plain);
}

TEST(EngineProtocol, UnreadableFilesGiveAnEmptyPictureNotACrash) {
  const std::string bad = Stacks() + "/not-dicom.dcm";
  std::ofstream(bad) << "this is no DICOM file";
  EngineHarness e;
  ASSERT_TRUE(e.Open({bad, Stacks() + "/missing.dcm", Ct()[0]}, 32, 32));
  EXPECT_EQ(e.Last(msg::kImageCount)->L, 3);
  for (uint32_t px : e.Pixels()) ASSERT_EQ(px, 0xFF000000u);
  ASSERT_TRUE(e.Request(msg::kGoToImage, 0, 2));
  bool drawn = false;
  for (uint32_t px : e.Pixels()) drawn |= px != 0xFF000000u;
  EXPECT_TRUE(drawn) << "the readable image is drawn";
}

}  // namespace
}  // namespace ORN_engine::testing
