// The rendering engine on a stack of 300 CT slices of 512 x 512 16-bit: time from start to
// ready (0x805D) and to the first picture in the surface, images per second when stepping
// one image at a time and in cine, and the engine's peak memory; beside it, in the same run,
// pydicom and numpy decoding and windowing the same files.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/tests/EngineHarness.h"
#include "platform/process/Process.h"
#include "platform/windows/Application.h"

namespace {

using Clock = std::chrono::steady_clock;
using ORN_engine::testing::EngineHarness;
namespace msg = ORN_image::engine_msg;
constexpr int kImages = 300;

std::string g_folder;
std::vector<std::string> g_files;
double g_engineSecondsPerImage = 0;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

// Peak resident memory of a process in KiB (VmHWM), 0 when unknown.
double PeakKiB(uint32_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6);
  return 0;
}

// Starts an engine on the stack with a 512 x 512 panel, ready and drawn.
bool Open(EngineHarness& e, Clock::time_point* ready = nullptr, Clock::time_point* picture = nullptr) {
  if (!e.Start(g_files)) return false;
  platform::PostMessage(e.Engine(), msg::kSize, 511 | (511 << 16), 0);  // as the panel does at 0x8401
  if (!e.WaitReady()) return false;
  if (ready) *ready = Clock::now();
  if (!platform::testing::PumpUntil([&] { return e.Frames() > 0; })) return false;
  if (picture) *picture = Clock::now();
  return true;
}

void BM_StartToReadyAndFirstPicture(benchmark::State& state) {
  double readyMs = 0, pictureMs = 0;
  for (auto _ : state) {
    EngineHarness e;
    const auto start = Clock::now();
    Clock::time_point ready, picture;
    if (!Open(e, &ready, &picture)) {
      state.SkipWithError("the engine did not start");
      return;
    }
    readyMs += Ms(start, ready);
    pictureMs += Ms(start, picture);
  }
  state.counters["ready_ms"] = readyMs / double(state.iterations());
  state.counters["first_picture_ms"] = pictureMs / double(state.iterations());
}
BENCHMARK(BM_StartToReadyAndFirstPicture)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Steps through the whole stack one image at a time, each step waiting for its picture.
void BM_Stepping(benchmark::State& state) {
  EngineHarness e;
  if (!Open(e)) {
    state.SkipWithError("the engine did not start");
    return;
  }
  double seconds = 0;
  uint64_t steps = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    for (int i = 1; i < kImages; ++i) {
      const uint64_t frames = e.Frames();
      platform::PostMessage(e.Engine(), msg::kGoToImage, 0, i);
      platform::testing::PumpUntil([&] {
        const auto* r = e.Last(msg::kImageChanged);
        return e.Frames() > frames && r != nullptr && r->L == i;
      });
    }
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
    steps += kImages - 1;
    platform::PostMessage(e.Engine(), msg::kGoToImage, 0, 0);
    e.Settle();
    e.Clear();
  }
  g_engineSecondsPerImage = seconds / double(steps);
  state.counters["images_per_s"] = double(steps) / seconds;
  state.counters["engine_peak_MiB"] = PeakKiB(e.Launcher().ChildProcessId()) / 1024.0;
}
BENCHMARK(BM_Stepping)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Cine over the whole stack as fast as the engine goes (1000 frames per second asked).
void BM_Cine(benchmark::State& state) {
  EngineHarness e;
  if (!Open(e)) {
    state.SkipWithError("the engine did not start");
    return;
  }
  double seconds = 0;
  uint64_t shown = 0;
  for (auto _ : state) {
    e.Clear();
    const auto start = Clock::now();
    platform::PostMessage(e.Engine(), msg::kCineStarted, platform::WParam(kImages - 1) << 16, 1000);
    platform::testing::PumpUntil([&] { return e.Count(msg::kCineStopped) > 0; }, 120000);
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
    shown += e.Count(msg::kImageChanged);
    platform::PostMessage(e.Engine(), msg::kGoToImage, 0, 0);
    e.Settle();
  }
  state.counters["images_per_s"] = double(shown) / seconds;
  state.counters["engine_peak_MiB"] = PeakKiB(e.Launcher().ChildProcessId()) / 1024.0;
}
BENCHMARK(BM_Cine)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The peer: pydicom reads and decodes, numpy windows the same 300 files.
void BM_PydicomDecodeAndWindow(benchmark::State& state) {
  double seconds = 0;
  for (auto _ : state) {
    const std::string answer = g_folder + ".seconds";
    const std::string command =
        "/usr/bin/python3 " + std::string(ENGINE_BENCH_DIR) + "/decode_window.py " + g_folder + " > " + answer;
    double s = 0;
    if (std::system(command.c_str()) != 0 || !(std::ifstream(answer) >> s)) {
      state.SkipWithError("python3 with pydicom did not run");
      return;
    }
    std::filesystem::remove(answer);
    seconds += s;
  }
  const double perImage = seconds / double(state.iterations()) / kImages;
  state.counters["images_per_s"] = 1.0 / perImage;
  if (g_engineSecondsPerImage > 0) state.counters["engine_step_speedup"] = perImage / g_engineSecondsPerImage;
}
BENCHMARK(BM_PydicomDecodeAndWindow)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  platform::Application app(argc, argv, false);
  g_folder = (std::filesystem::temp_directory_path() / ("engine-bench-" + std::to_string(platform::CurrentProcessId()))).string();
  const std::string make = "/usr/bin/python3 " + std::string(ENGINE_TEST_DIR) + "/make_stacks.py --bench " + g_folder;
  if (std::system(make.c_str()) != 0) return 1;
  for (int i = 0; i < kImages; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/ct%03d.dcm", i);
    g_files.push_back(g_folder + name);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(g_folder);
  return 0;
}
