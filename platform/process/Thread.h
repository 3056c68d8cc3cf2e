// Win32 threads: created suspended or running, an exit code that reads kStillActive while the
// thread runs, and a wait (join with a time-out) through WaitForObject.
//
// A thread cannot be ended from outside safely here (POSIX has no TerminateThread that leaves
// the process sound), so there is no Terminate. Code that would terminate a thread which does
// not end in time instead closes its handle and lets the thread end by itself: the body must
// hold what it uses by shared ownership, so that nothing it touches is freed under it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/process/Wait.h"

namespace platform {

class Thread : public WaitObject {
 public:
  // Null with the last error set when no thread can be made.
  static std::unique_ptr<Thread> Create(std::function<uint32_t()> body, bool suspended);

  // A thread never resumed ends without running its body; a running one is left to finish
  // on its own (detached).
  ~Thread() override;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  uint32_t Id() const;
  // Returns the previous suspend count (1 for a suspended thread, 0 for a running one).
  int32_t Resume();
  uint32_t ExitCode() const;

  int PollFd() const override;

  struct State;

 private:
  explicit Thread(std::shared_ptr<State> state) : state_(std::move(state)) {}
  std::shared_ptr<State> state_;
};

uint32_t CurrentThreadId();

}  // namespace platform
