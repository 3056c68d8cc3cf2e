#include "platform/core/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace platform {

namespace {
std::atomic<bool> g_fake{false};
std::atomic<uint32_t> g_fakeNow{0};
std::atomic<uint32_t> g_sleepCalls{0};
std::atomic<uint64_t> g_slept{0};
}  // namespace

uint32_t TickCount() {
  if (g_fake.load()) return g_fakeNow.load();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<uint32_t>(ms.count());
}

void Sleep(uint32_t milliseconds) {
  if (g_fake.load()) {
    g_sleepCalls.fetch_add(1);
    g_slept.fetch_add(milliseconds);
    g_fakeNow.fetch_add(milliseconds);
    if (milliseconds == 0) std::this_thread::yield();
    return;
  }
  if (milliseconds == 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

namespace testing {

FakeClock::FakeClock(uint32_t start) {
  g_fakeNow = start;
  g_sleepCalls = 0;
  g_slept = 0;
  g_fake = true;
}

FakeClock::~FakeClock() { g_fake = false; }

void FakeClock::Advance(uint32_t milliseconds) { g_fakeNow.fetch_add(milliseconds); }
uint32_t FakeClock::Now() const { return g_fakeNow.load(); }
uint32_t FakeClock::SleepCalls() const { return g_sleepCalls.load(); }
uint64_t FakeClock::SleptMilliseconds() const { return g_slept.load(); }

}  // namespace testing
}  // namespace platform
