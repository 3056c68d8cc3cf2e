// Milliseconds since start-up (Win32's tick count) and sleeping.
// Tests replace both with a fake clock whose Sleep advances the time at once, so edge cases
// that depend on deadlines (a 30 s retry, say) run in no time.
#pragma once

#include <cstdint>

namespace platform {

// A 32-bit millisecond counter that wraps after about 49.7 days, like GetTickCount.
uint32_t TickCount();

// Sleeps at least the given milliseconds; Sleep(0) gives up the rest of the time slice.
void Sleep(uint32_t milliseconds);

namespace testing {

// While one lives, TickCount() returns the fake time and Sleep(ms) adds ms to it instead of
// sleeping. Not nestable; the fake time is process-wide.
class FakeClock {
 public:
  explicit FakeClock(uint32_t start = 1000);
  ~FakeClock();
  FakeClock(const FakeClock&) = delete;
  FakeClock& operator=(const FakeClock&) = delete;

  void Advance(uint32_t milliseconds);
  uint32_t Now() const;
  // Number of Sleep calls seen, and the milliseconds they asked for in all.
  uint32_t SleepCalls() const;
  uint64_t SleptMilliseconds() const;
};

}  // namespace testing
}  // namespace platform
