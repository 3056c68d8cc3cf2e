// Win32 events: manual or auto reset, unnamed or named. A named event can be opened and set by
// any process of this user on this machine and lives while some process holds it.
#pragma once

#include <memory>
#include <string>

#include "platform/process/Wait.h"

namespace platform {

class Event : public WaitObject {
 public:
  // An unnamed event, or a named one: when the name is held already, the existing event is
  // returned (its reset mode and state unchanged) and the last error is err::AlreadyExists;
  // otherwise the last error is err::Success. Null on failure.
  static std::unique_ptr<Event> Create(bool manualReset, bool initialState, const std::string& name = {});
  // Opens a named event that some process holds; null with err::FileNotFound otherwise.
  static std::unique_ptr<Event> Open(const std::string& name);

  ~Event() override;
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  bool Set();
  bool Reset();
  bool IsManualReset() const { return manualReset_; }

  int PollFd() const override { return fd_; }
  bool TryAcquire() override;

 private:
  Event(int fd, bool manualReset, bool named, std::string path);
  bool IsSignalled() const;

  int fd_;
  bool manualReset_;
  bool named_;       // a FIFO shared with other processes, else an eventfd
  std::string path_;
};

}  // namespace platform
