// The stack tiles: the time to fill the tile set of a study of n stacks with 128 x 128 icons
// (what a study box does when it is first expanded), and the time from a click on a closed
// tile to its engine's ready report (one image), with the stand-ins of the tiles' tests for the
// main window and the stack window.
#include <benchmark/benchmark.h>

#include "browser/tiles/TFrameStackInfoSet.h"
#include "browser/tiles/tests/TileFakes.h"
#include "platform/process/Process.h"
#include "platform/windows/Application.h"

using namespace ORN_browser;
using namespace tile_tests;

namespace {

TStackDescription Stack(int stack) {
  TStackDescription d;
  d.Study = 0, d.Series = stack, d.Stack = 0;
  d.Icon = platform::CreateDibSection24(128, 128);
  d.SeriesNumber = stack + 1;
  d.ImageCount = 40;
  d.Protocol = L"Thorax routine";
  d.Date = "01.02.2024", d.Time = "10:11:12", d.Modality = "CT", d.BodyPart = "CHEST";
  d.Description = L"generated stack";
  return d;
}

void BM_FillTileSet(benchmark::State& state) {
  FakeHost host(4);
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TFrameStackInfoSet set(nullptr, 0);
    for (int i = 0; i < n; ++i) set.InsertStack(i, Stack(i));
    benchmark::DoNotOptimize(set.Height());
  }
  state.counters["tiles/s"] = benchmark::Counter(double(n) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FillTileSet)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_ClickToEngineReady(benchmark::State& state) {
  FakeHost host(4);
  for (auto _ : state) {
    TFrameStackInfo tile(nullptr);
    tile.OnWindowCreated = [&](iTILE_STACK_WINDOW* w) { return host.Place(w); };
    tile.OnEngineFilesRequest = [](int, int, int, bool, std::ostream& images, std::ostream&, std::ostream&,
                                   std::string&) {
      images << "no_such_image.dcm\n" << '\0';
      return true;
    };
    tile.Fill(Stack(0));
    tile.lblMouseScreenClick(nullptr);
    auto* window = static_cast<FakeStackWindow*>(tile.StackWindow());
    if (!window || !PumpUntil([&] { return window->ready; }, 30000)) state.SkipWithError("the engine did not start");
    if (window) host.Forget(window);
  }
}
BENCHMARK(BM_ClickToEngineReady)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  platform::SetEnvironmentVariable("QT_QPA_PLATFORM", "offscreen");
  platform::Application app(argc, argv, true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
