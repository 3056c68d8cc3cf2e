#include "browser/supervisor/TanMemoryResourceSupervisor.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "platform/core/SystemStatus.h"
#include "platform/vcl/TIniFile.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"

namespace ORN_browser {
namespace {
constexpr uint32_t kWmSynchronize = 0x8000 + 0x0C51;
}

struct TanMemoryResourceSupervisor::Shared {
  std::mutex lock;
  std::condition_variable wake;
  bool terminated = false;
  bool callPending = false;
  bool callDone = false;
  bool closed = false;
  int load = 0;
  int calls = 0;
};

TanMemoryResourceSupervisor::TanMemoryResourceSupervisor(bool createSuspended, int limit, int delay)
    : limit_(limit), delay_(delay), shared_(std::make_shared<Shared>()) {
  window_ = std::make_unique<platform::Window>([this](uint32_t message, platform::WParam, platform::LParam) -> platform::LResult {
    if (message == kWmSynchronize) CallHandler();
    return 0;
  });
  if (!createSuspended) Resume();
}

TanMemoryResourceSupervisor::~TanMemoryResourceSupervisor() { Stop(); }

void TanMemoryResourceSupervisor::Resume() {
  if (resumed_) return;
  resumed_ = true;
  thread_ = std::thread([this] { Execute(); });
}

void TanMemoryResourceSupervisor::Stop() {
  {
    std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->terminated = true;
    shared_->callPending = false;
  }
  shared_->wake.notify_all();
  if (thread_.joinable()) thread_.join();
}

int TanMemoryResourceSupervisor::Load() const {
  std::lock_guard<std::mutex> guard(shared_->lock);
  return shared_->load;
}

int TanMemoryResourceSupervisor::CallCount() const {
  std::lock_guard<std::mutex> guard(shared_->lock);
  return shared_->calls;
}

int TanMemoryResourceSupervisor::ComputeLoad() {
  const platform::MemoryStatus status = platform::GlobalMemoryStatus();
  const double total = double(status.TotalPhys) + double(status.TotalPageFile);
  const double available = double(status.AvailPhys) + double(status.AvailPageFile);
  if (total <= 0) return 0;
  return static_cast<int>((total - available) / total * 100.0);
}

void TanMemoryResourceSupervisor::Execute() {
  for (;;) {
    {
      std::lock_guard<std::mutex> guard(shared_->lock);
      if (shared_->terminated) return;
    }
    const int load = ComputeLoad();
    {
      std::lock_guard<std::mutex> guard(shared_->lock);
      shared_->load = load;
    }
    const bool over = load > limit_ || platform::GdiObjectCount() > kGdiLimit;
    if (over) {
      bool closed = false;
      if (!Synchronize(closed)) return;
      // Under pressure the next stack goes at once; with nothing left to close, wait.
      if (!SleepFor(closed ? 0 : std::max(delay_, kMinIdleSleepMs))) return;
    } else if (!SleepFor(std::max(delay_, kMinIdleSleepMs))) {
      return;
    }
  }
}

bool TanMemoryResourceSupervisor::Synchronize(bool& closed) {
  std::unique_lock<std::mutex> guard(shared_->lock);
  if (shared_->terminated) return false;
  shared_->callPending = true;
  shared_->callDone = false;
  if (!platform::PostMessage(window_->Handle(), kWmSynchronize, 0, 0)) {
    shared_->callPending = false;
    return true;
  }
  shared_->wake.wait(guard, [&] { return shared_->callDone || shared_->terminated; });
  if (shared_->terminated) return false;
  closed = shared_->closed;
  return true;
}

void TanMemoryResourceSupervisor::CallHandler() {
  int load = 0;
  {
    std::lock_guard<std::mutex> guard(shared_->lock);
    if (!shared_->callPending || shared_->terminated) return;
    shared_->callPending = false;
    load = shared_->load;
  }
  bool closed = false;
  if (OnOverload) closed = OnOverload(limit_, load);
  {
    std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->calls += 1;
    shared_->closed = closed;
    shared_->callDone = true;
  }
  shared_->wake.notify_all();
}

bool TanMemoryResourceSupervisor::SleepFor(int ms) {
  std::unique_lock<std::mutex> guard(shared_->lock);
  if (ms > 0) shared_->wake.wait_for(guard, std::chrono::milliseconds(ms), [&] { return shared_->terminated; });
  return !shared_->terminated;
}

std::unique_ptr<TanMemoryResourceSupervisor> StartMemorySupervisor(const std::string& programPath,
                                                                   TanMemoryResourceSupervisor::TOverloadHandler handler) {
  if (programPath.size() < 3) return nullptr;
  const std::string iniPath = programPath.substr(0, programPath.size() - 3) + "ini";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(iniPath, ec)) return nullptr;
  TIniFile ini(iniPath);
  const int delay = ini.ReadInteger("MEMORY SUPERVISOR", "Delay", TanMemoryResourceSupervisor::kDefaultDelayMs);
  const int limit = ini.ReadInteger("MEMORY SUPERVISOR", "Limit", TanMemoryResourceSupervisor::kDefaultLimit);
  if (limit < 0 || limit > 99) return nullptr;
  std::unique_ptr<TanMemoryResourceSupervisor> supervisor;
  try {
    supervisor = std::make_unique<TanMemoryResourceSupervisor>(true, limit, delay);
  } catch (...) {
    return nullptr;
  }
  supervisor->OnOverload = std::move(handler);
  try {
    supervisor->Resume();
  } catch (...) {
  }
  return supervisor;
}

}  // namespace ORN_browser
