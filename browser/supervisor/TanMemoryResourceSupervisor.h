// The memory and GDI supervisor of a studies panel: a thread that checks the system's memory
// load and the process's GDI object count, and while either is over its limit has the GUI
// thread run the panel's handler, which closes the engine of the stack hidden longest.
//
// The panel owns the supervisor. Stopping it (also by destroying it) wakes the thread, drops
// a handler call that has not run yet and waits until the thread has ended, so no call can
// reach a panel that is being destroyed. A pass whose handler closed nothing, or a pass with
// nothing over the limit, sleeps before the next one; the thread never spins.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace platform {
class Window;
}

namespace ORN_browser {

class TanMemoryResourceSupervisor {
 public:
  // (limit percent, load percent); true when it closed a stack.
  using TOverloadHandler = std::function<bool(int limit, int load)>;

  static constexpr int kDefaultDelayMs = 1000;
  static constexpr int kDefaultLimit = 100;
  static constexpr uint32_t kGdiLimit = 9000;
  // The shortest sleep between two passes that found nothing to close.
  static constexpr int kMinIdleSleepMs = 10;

  // Made on the GUI thread, which runs the handler. `createSuspended`: the thread starts only
  // with Resume.
  TanMemoryResourceSupervisor(bool createSuspended, int limit, int delay);
  ~TanMemoryResourceSupervisor();
  TanMemoryResourceSupervisor(const TanMemoryResourceSupervisor&) = delete;
  TanMemoryResourceSupervisor& operator=(const TanMemoryResourceSupervisor&) = delete;

  void Resume();
  // Asks the thread to end and waits for it; a pending handler call is dropped.
  void Stop();

  TOverloadHandler OnOverload;

  int Limit() const { return limit_; }
  int Delay() const { return delay_; }
  int Load() const;
  // Handler calls made so far (for tests and the log).
  int CallCount() const;

  // The memory load in percent, from the system's totals (physical plus page file), truncated.
  static int ComputeLoad();

 private:
  struct Shared;
  void Execute();
  void CallHandler();
  // Runs CallHandler on the GUI thread and waits for it (or for Stop); false when stopped.
  bool Synchronize(bool& closed);
  bool SleepFor(int ms);

  int limit_;
  int delay_;
  std::shared_ptr<Shared> shared_;
  std::unique_ptr<platform::Window> window_;
  std::thread thread_;
  bool resumed_ = false;
};

// The supervisor the settings ask for, or null: "<exe>.ini" (the program's path with its last
// three characters replaced by "ini") [MEMORY SUPERVISOR] Delay (default 1000) and Limit
// (default 100); only a limit of 0 to 99 makes one. Started, with `handler` installed.
std::unique_ptr<TanMemoryResourceSupervisor> StartMemorySupervisor(const std::string& programPath,
                                                                   TanMemoryResourceSupervisor::TOverloadHandler handler);

}  // namespace ORN_browser
