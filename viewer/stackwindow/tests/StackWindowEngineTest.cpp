// The stack window with the real engine (Pixtrane.exe) on a generated CT stack: the engine's
// picture reaches the window, the wheel steps images and moves the track bar, a drag with
// the VOI tool changes the window values, and no engine outlives the test.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "platform/process/tests/TestNames.h"
#include "platform/vcl/Forms.h"
#include "viewer/engine/TgbStackEngineProcess.h"
#include "viewer/stackwindow/TFrameStackWindow.h"
#include "viewer/stackwindow/tests/MessageRecorder.h"

namespace fs = std::filesystem;
namespace msg = ORN_image::engine_msg;
using platform::testing::PumpUntil;

namespace {

// The generated file set (two patients, a CT of 40 slices of 512 x 512 first), made once.
struct RemovedAtExit {
  fs::path folder;
  ~RemovedAtExit() {
    std::error_code ignored;
    if (!folder.empty()) fs::remove_all(folder, ignored);
  }
};

const fs::path& FileSet() {
  static RemovedAtExit made;
  static const fs::path folder = [] {
    const fs::path dir = fs::temp_directory_path() / platform::testing::UniqueName("stackwin-set");
    const std::string tool = std::string(VISTREL_SOURCE_DIR) + "/tests/tools/make_viewer_fileset.py";
    const std::string command = "/usr/bin/python3 '" + tool + "' '" + dir.string() + "'";
    made.folder = dir;
    if (std::system(command.c_str()) != 0) return fs::path();
    return dir;
  }();
  return folder;
}

std::string CtFiles(int count) {
  std::string files;
  for (int i = 1; i <= count; ++i) {
    char name[16];
    std::snprintf(name, sizeof(name), "IM%04d", i);
    files += (FileSet() / "PID0001" / "ST1" / "SE1" / name).string() + "\n";
  }
  files.push_back('\0');
  return files;
}

// The mean brightness of the centre of the last picture the panel took.
double CentreBrightness(TgbWorkAreaPanel* panel) {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  if (!panel->Frame(w, h, pixels) || w < 8 || h < 8) return -1;
  double sum = 0;
  int n = 0;
  for (int y = h / 4; y < 3 * h / 4; ++y)
    for (int x = w / 4; x < 3 * w / 4; ++x) {
      const uint32_t p = pixels[size_t(y) * w + x];
      sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
      ++n;
    }
  return sum / (3.0 * n);
}

std::vector<uint32_t> Picture(TgbWorkAreaPanel* panel) {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  panel->Frame(w, h, pixels);
  return pixels;
}

class StackWindowEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(FileSet().empty()) << "the generator did not run";
    main_.FreeReferenceLines = true;
    host_ = std::make_unique<TForm>(nullptr);
    host_->SetBounds(20, 20, 420, 440);
    frame_ = new TFrameStackWindow(nullptr, -1, 0, main_.Handle(), tile_.Handle());
    frame_->SetParent(host_.get());
    frame_->SetAlign(alClient);
    host_->Show();
    frame_->SetShown(true);
    platform::testing::PumpUntil([] { return false; }, 100);
  }
  void TearDown() override {
    if (engine_.IsStarted()) {
      if (frame_->EngineWindow()) platform::PostMessage(frame_->EngineWindow(), platform::kWmClose, 0, 0);
      engine_.Stop();
      EXPECT_FALSE(engine_.IsRunning()) << "an engine outlived the test";
    }
    delete frame_;
    host_.reset();
  }
  bool StartEngine(int images) {
    std::istringstream list(CtFiles(images)), states(std::string(1, '\0')), frames(std::string(1, '\0'));
    return engine_.Start(list, states, frames, "stack", platform::testing::OutProgram("Pixtrane.exe"),
                         frame_->WorkArea()->Handle(), 20000);
  }
  // A real wheel turn over the panel, as the system delivers it (screen point, delta).
  void Wheel(int delta) {
    TgbWorkAreaPanel* panel = frame_->WorkArea();
    const TPoint p = panel->ClientToScreen(TPoint{panel->Width() / 2, panel->Height() / 2});
    platform::SendMessage(panel->Handle(), msg::kWmMouseWheel, platform::WParam(uint16_t(int16_t(delta))) << 16,
                          msg::PackPoint(p.x, p.y));
  }

  MessageRecorder main_, tile_;
  std::unique_ptr<TForm> host_;
  TFrameStackWindow* frame_ = nullptr;
  ORN_image::TgbStackEngineProcess engine_;
};

TEST_F(StackWindowEngineTest, ShowsTheEnginesPictureStepsWithTheWheelAndChangesTheWindowByDrag) {
  ASSERT_TRUE(StartEngine(40));
  ASSERT_TRUE(frame_->WaitForEngine());
  EXPECT_TRUE(frame_->InitialisationComplete());
  EXPECT_EQ(frame_->ImageCount(), 40);
  EXPECT_EQ(frame_->trbarNavigator->Max(), 40);
  EXPECT_EQ(frame_->trbarNavigator->Position(), 1);
  EXPECT_EQ(frame_->WindowLevelPresets()[0].Name, "Full Range");
  // The first picture: the chest phantom, not a black panel.
  ASSERT_TRUE(PumpUntil([&] { return CentreBrightness(frame_->WorkArea()) > 5; }, 20000));
  const std::vector<uint32_t> first = Picture(frame_->WorkArea());

  // The wheel turned towards the user steps one image forward; the track bar follows the
  // engine's report without sending it back.
  Wheel(-120);
  ASSERT_TRUE(PumpUntil([&] { return frame_->CurrentImageIndex() == 1; }, 10000));
  EXPECT_EQ(frame_->trbarNavigator->Position(), 2);
  Wheel(-120);
  Wheel(-120);
  ASSERT_TRUE(PumpUntil([&] { return frame_->CurrentImageIndex() == 3; }, 10000));
  EXPECT_EQ(frame_->trbarNavigator->Position(), 4);
  ASSERT_TRUE(PumpUntil([&] { return Picture(frame_->WorkArea()) != first; }, 10000)) << "the slice did not change";

  // The track bar moved by the user asks the engine for that image.
  frame_->tbLastClick(nullptr);
  ASSERT_TRUE(PumpUntil([&] { return frame_->CurrentImageIndex() == 39; }, 10000));

  // A drag with the VOI tool: the engine reports new window values and the picture changes.
  frame_->tbVOI->Click();
  const double widthBefore = frame_->WindowWidth();
  const double brightnessBefore = CentreBrightness(frame_->WorkArea());
  TgbWorkAreaPanel* panel = frame_->WorkArea();
  const int x = panel->Width() / 2, y = panel->Height() / 2;
  PumpUntil([] { return false; }, 100);
  platform::SendMessage(panel->Handle(), msg::kWmLButtonDown, msg::kMkLButton, msg::PackPoint(x, y));
  for (int step = 1; step <= 10; ++step)
    platform::SendMessage(panel->Handle(), msg::kWmMouseMove, msg::kMkLButton, msg::PackPoint(x + 8 * step, y + 6 * step));
  platform::SendMessage(panel->Handle(), msg::kWmLButtonUp, 0, msg::PackPoint(x + 80, y + 60));
  ASSERT_TRUE(PumpUntil([&] { return frame_->WindowWidth() > widthBefore; }, 10000));
  EXPECT_TRUE(PumpUntil([&] { return std::abs(CentreBrightness(panel) - brightnessBefore) > 1; }, 10000));
}

TEST_F(StackWindowEngineTest, GoToImageWaitsForTheEngineAndMovesThere) {
  ASSERT_TRUE(StartEngine(12));
  EXPECT_TRUE(frame_->GoToImage(7));
  EXPECT_TRUE(PumpUntil([&] { return frame_->CurrentImageIndex() == 7; }, 10000));
  EXPECT_FALSE(frame_->GoToImage(12));
}

TEST_F(StackWindowEngineTest, AKilledEngineEndsTheWaitWithFailure) {
  TFrameStackWindow::EngineWaitBound() = 20000;
  ASSERT_TRUE(StartEngine(40));
  ASSERT_TRUE(PumpUntil([&] { return frame_->EngineWindow() != 0; }, 20000));
  ASSERT_TRUE(frame_->WaitForEngine());
  platform::PostMessage(frame_->EngineWindow(), platform::kWmClose, 0, 0);  // the engine ends
  ASSERT_TRUE(PumpUntil([&] { return !platform::IsWindow(frame_->EngineWindow()); }, 10000));
  frame_->ReinitializeEngine();
  EXPECT_FALSE(frame_->WaitForEngine());
  EXPECT_TRUE(frame_->EngineFailed());
}

}  // namespace
