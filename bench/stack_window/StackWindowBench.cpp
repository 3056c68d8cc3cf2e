// The stack window as a user drives it, on 300 CT slices of 512 x 512 16-bit: time from
// creating the window and starting its engine to the first picture in the work area, and
// images per second when the wheel steps through the stack (each step waits for the engine's
// report and its picture); the GUI process's and the engine's peak memory.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/process/Process.h"
#include "platform/process/tests/TestNames.h"
#include "platform/vcl/Forms.h"
#include "platform/windows/Application.h"
#include "platform/windows/Messages.h"
#include "platform/windows/tests/Pump.h"
#include "viewer/engine/TgbStackEngineProcess.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace msg = ORN_image::engine_msg;
using platform::testing::PumpUntil;
constexpr int kImages = 300;

std::string g_folder;
std::string g_list;
double g_enginePeakKiB = 0;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

double PeakKiB(const std::string& pid) {
  std::ifstream in("/proc/" + pid + "/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6);
  return 0;
}

// A form with one stack window and its engine, up to the first picture.
struct Window {
  TForm form{nullptr};
  TFrameStackWindow* frame;
  ORN_image::TgbStackEngineProcess engine;

  Window() {
    form.SetBounds(0, 0, 560, 620);
    frame = new TFrameStackWindow(&form, -1, 0, 0, 0);
    frame->SetParent(&form);
    frame->SetAlign(alClient);
    form.Show();
    frame->SetShown(true);
  }
  bool Open() {
    std::istringstream list(g_list), states(std::string(1, '\0')), frames(std::string(1, '\0'));
    return engine.Start(list, states, frames, "bench", platform::testing::OutProgram("Pixtrane.exe"),
                        frame->WorkArea()->Handle(), 20000) &&
           frame->WaitForEngine() && PumpUntil([&] { return frame->WorkArea()->FramesTaken() > 0; }, 20000);
  }
  ~Window() {
    if (frame->EngineWindow()) {
      g_enginePeakKiB = std::max(g_enginePeakKiB, PeakKiB(std::to_string(engine.ChildProcessId())));
      platform::PostMessage(frame->EngineWindow(), platform::kWmClose, 0, 0);
    }
    engine.Stop();
  }
  // One wheel turn towards the user over the work area, as the system delivers it.
  void Wheel() {
    TgbWorkAreaPanel* panel = frame->WorkArea();
    const TPoint p = panel->ClientToScreen(TPoint{panel->Width() / 2, panel->Height() / 2});
    platform::SendMessage(panel->Handle(), msg::kWmMouseWheel, platform::WParam(uint16_t(int16_t(-120))) << 16,
                          msg::PackPoint(p.x, p.y));
  }
};

void BM_WindowToFirstPicture(benchmark::State& state) {
  double ms = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    Window w;
    if (!w.Open()) {
      state.SkipWithError("the engine did not draw");
      return;
    }
    ms += Ms(start, Clock::now());
  }
  state.counters["first_picture_ms"] = ms / double(state.iterations());
}
BENCHMARK(BM_WindowToFirstPicture)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WheelStepping(benchmark::State& state) {
  double seconds = 0;
  int steps = 0;
  for (auto _ : state) {
    Window w;
    if (!w.Open()) {
      state.SkipWithError("the engine did not draw");
      return;
    }
    const auto start = Clock::now();
    for (int i = 1; i < kImages; ++i) {
      const uint64_t frames = w.frame->WorkArea()->FramesTaken();
      w.Wheel();
      if (!PumpUntil([&] {
            return w.frame->CurrentImageIndex() == i && w.frame->trbarNavigator->Position() == i + 1 &&
                   w.frame->WorkArea()->FramesTaken() > frames;
          }, 10000)) {
        state.SkipWithError("a wheel step was lost");
        return;
      }
    }
    const double took = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(took);  // the stepping only, not the start of the engine
    seconds += took;
    steps += kImages - 1;
  }
  state.counters["images_per_s"] = steps / seconds;
  state.counters["gui_peak_MiB"] = PeakKiB("self") / 1024.0;
  state.counters["engine_peak_MiB"] = g_enginePeakKiB / 1024.0;
}
BENCHMARK(BM_WheelStepping)->Iterations(2)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
  platform::SetEnvironmentVariable("QT_QPA_PLATFORM", "offscreen");
  platform::Application app(argc, argv, true);
  g_folder = (std::filesystem::temp_directory_path() /
              ("stack-window-bench-" + std::to_string(platform::CurrentProcessId())))
                 .string();
  const std::string make = "/usr/bin/python3 " + std::string(ENGINE_TEST_DIR) + "/make_stacks.py --bench " + g_folder;
  if (std::system(make.c_str()) != 0) return 1;
  for (int i = 0; i < kImages; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/ct%03d.dcm", i);
    g_list += g_folder + name + "\n";
  }
  g_list.push_back('\0');
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(g_folder);
  return 0;
}
