// Waiting on kernel objects as Win32's WaitForSingleObject and WaitForMultipleObjects do:
// events, processes and threads all derive from WaitObject, and one wait takes any of them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

namespace platform {

constexpr uint32_t kInfinite = 0xFFFFFFFFu;
constexpr uint32_t kWaitObject0 = 0;
constexpr uint32_t kWaitTimeout = 258;
constexpr uint32_t kWaitFailed = 0xFFFFFFFFu;
constexpr uint32_t kStillActive = 259;

// An object that is signalled or not. Each has a file descriptor that polls readable while
// the object is signalled; an auto-reset object is taken (reset) by the wait that ends on it.
class WaitObject {
 public:
  virtual ~WaitObject() = default;
  // The descriptor to poll, or -1 when the object is unusable.
  virtual int PollFd() const = 0;
  // Called when PollFd() polled readable: takes the signal. Returns false when another waiter
  // took it first (only auto-reset objects can lose that race).
  virtual bool TryAcquire() { return true; }
};

// Waits until one of the objects is signalled or the time-out (ms, kInfinite) passes.
// Returns kWaitObject0 + index of the first signalled object (the lowest index wins),
// kWaitTimeout, or kWaitFailed with the last error set (a null or unusable object, more than
// 64 objects, none at all).
uint32_t WaitForObjects(std::span<WaitObject* const> objects, uint32_t timeoutMs);
uint32_t WaitForObjects(std::initializer_list<WaitObject*> objects, uint32_t timeoutMs);
uint32_t WaitForObject(WaitObject* object, uint32_t timeoutMs);

}  // namespace platform
