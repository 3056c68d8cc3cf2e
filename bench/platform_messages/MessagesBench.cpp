// Messages between two processes: posted and sent messages per second, WM_COPYDATA
// throughput, and frames per second of a 1024 x 1024 surface drawn by one process and
// painted by another.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>

#include <memory>
#include <vector>

#include "bench/platform_messages/PeerMessages.h"
#include "platform/process/CommandLine.h"
#include "platform/process/Process.h"
#include "platform/windows/Messages.h"
#include "platform/windows/SurfaceWidget.h"
#include "platform/windows/Window.h"

namespace platform {
namespace {

// One peer process for all benchmarks of the run.
struct PeerProcess {
  std::unique_ptr<Process> process;
  WindowHandle window = 0;
  bool done = false;
  Window me{[this](uint32_t m, WParam w, LParam) -> LResult {
    if (m == bench::kReady) window = static_cast<WindowHandle>(w);
    if (m == bench::kDone) done = true;
    return 0;
  }};

  PeerProcess() {
    const std::string exe = ExecutablePath();
    const std::string peer = exe.substr(0, exe.rfind('/') + 1) + "bench_message_peer";
    process = Process::Start(QuoteArgument(peer) + " " + std::to_string(me.Handle()), {});
    while (process && window == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  ~PeerProcess() {
    PostMessage(window, bench::kQuit, 0, 0);
    if (process) WaitForObject(process.get(), 5000);
  }
};

PeerProcess& Peer() {
  static PeerProcess peer;
  return peer;
}

void BM_PostedMessages(benchmark::State& state) {
  PeerProcess& p = Peer();
  const int batch = 10000;
  for (auto _ : state) {
    p.done = false;
    SendMessage(p.window, bench::kExpect, batch, 0);
    for (int i = 0; i < batch; ++i) PostMessage(p.window, bench::kCount, i, 0);
    while (!p.done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  state.counters["messages/s"] = benchmark::Counter(double(batch) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PostedMessages)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SentMessages(benchmark::State& state) {
  PeerProcess& p = Peer();
  WParam i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(SendMessage(p.window, bench::kEcho, ++i, 0));
  state.counters["messages/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SentMessages)->UseRealTime();

void BM_CopyData(benchmark::State& state) {
  PeerProcess& p = Peer();
  std::vector<uint8_t> record(static_cast<size_t>(state.range(0)), 0x5A);
  CopyDataStruct cds{0x801B, static_cast<uint32_t>(record.size()), record.data()};
  for (auto _ : state) SendMessage(p.window, kWmCopyData, p.me.Handle(), reinterpret_cast<LParam>(&cds));
  state.SetBytesProcessed(int64_t(record.size()) * state.iterations());
}
BENCHMARK(BM_CopyData)->Arg(384)->Arg(32 * 1024)->Arg(1 << 20)->Arg(16 << 20)->UseRealTime();

void BM_SurfaceFrames(benchmark::State& state) {
  PeerProcess& p = Peer();
  SurfaceWidget widget;
  widget.resize(1024, 1024);
  widget.show();
  for (auto _ : state) SendMessage(p.window, bench::kDraw, static_cast<WParam>(widget.Handle()), 0);
  state.counters["frames/s"] = benchmark::Counter(double(widget.FramesTaken()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SurfaceFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace platform

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
