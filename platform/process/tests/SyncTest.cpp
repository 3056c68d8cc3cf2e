#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/process/CommandLine.h"
#include "platform/process/CriticalSection.h"
#include "platform/process/Event.h"
#include "platform/process/Interlocked.h"
#include "platform/process/Process.h"
#include "platform/process/Thread.h"
#include "platform/process/tests/TestNames.h"

namespace platform {
namespace {

using testing::OutProgram;
using testing::UniqueName;

std::string Helper() { return QuoteArgument(OutProgram("process_helper")); }

class EventKinds : public ::testing::TestWithParam<bool> {};  // param: named

TEST_P(EventKinds, ManualResetStaysSignalledUntilReset) {
  auto e = Event::Create(true, false, GetParam() ? UniqueName("manual") : "");
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->IsManualReset());
  EXPECT_EQ(WaitForObject(e.get(), 0), kWaitTimeout);
  ASSERT_TRUE(e->Set());
  ASSERT_TRUE(e->Set());
  EXPECT_EQ(WaitForObject(e.get(), 0), kWaitObject0);
  EXPECT_EQ(WaitForObject(e.get(), 0), kWaitObject0);
  ASSERT_TRUE(e->Reset());
  EXPECT_EQ(WaitForObject(e.get(), 0), kWaitTimeout);
}

TEST_P(EventKinds, AutoResetReleasesOneWaitPerSet) {
  auto e = Event::Create(false, true, GetParam() ? UniqueName("auto") : "");
  ASSERT_TRUE(e);
  EXPECT_FALSE(e->IsManualReset());
  EXPECT_EQ(WaitForObject(e.get(), 0), kWaitObject0);  // initially signalled
  EXPECT_EQ(WaitForObject(e.get(), 0), kWaitTimeout);
  e->Set();
  e->Set();
  EXPECT_EQ(WaitForObject(e.get(), 0), kWaitObject0);
  EXPECT_EQ(WaitForObject(e.get(), 0), kWaitTimeout);
}

TEST_P(EventKinds, SetFromAnotherThreadWakesTheWaiter) {
  auto e = Event::Create(false, false, GetParam() ? UniqueName("thread") : "");
  ASSERT_TRUE(e);
  std::thread t([&] { e->Set(); });
  EXPECT_EQ(WaitForObject(e.get(), 20000), kWaitObject0);
  t.join();
}

INSTANTIATE_TEST_SUITE_P(Unnamed, EventKinds, ::testing::Values(false));
INSTANTIATE_TEST_SUITE_P(Named, EventKinds, ::testing::Values(true));

TEST(NamedEvent, OpenSharesTheCreatorsEventAndMode) {
  const std::string name = UniqueName("shared");
  auto a = Event::Create(true, false, name);
  ASSERT_TRUE(a);
  EXPECT_EQ(GetLastError(), err::Success);
  auto b = Event::Create(false, true, name);  // exists: mode and state stay the creator's
  ASSERT_TRUE(b);
  EXPECT_EQ(GetLastError(), err::AlreadyExists);
  EXPECT_TRUE(b->IsManualReset());
  EXPECT_EQ(WaitForObject(b.get(), 0), kWaitTimeout);
  auto c = Event::Open(name);
  ASSERT_TRUE(c);
  EXPECT_TRUE(c->IsManualReset());
  c->Set();
  EXPECT_EQ(WaitForObject(a.get(), 0), kWaitObject0);
}

TEST(NamedEvent, GoneWhenTheLastHolderClosesIt) {
  const std::string name = UniqueName("gone");
  EXPECT_FALSE(Event::Open(name));
  EXPECT_EQ(GetLastError(), err::FileNotFound);
  auto a = Event::Create(true, true, name);
  ASSERT_TRUE(a);
  a.reset();
  EXPECT_FALSE(Event::Open(name));
  auto again = Event::Create(false, false, name);  // a new event, not the old signalled one
  ASSERT_TRUE(again);
  EXPECT_EQ(GetLastError(), err::Success);
  EXPECT_EQ(WaitForObject(again.get(), 0), kWaitTimeout);
}

TEST(NamedEvent, AnotherProcessSetsAndWaits) {
  const std::string name = UniqueName("xproc");
  auto e = Event::Create(false, false, name);
  ASSERT_TRUE(e);
  auto setter = Process::Start(Helper() + " set-event " + name, {});
  ASSERT_TRUE(setter);
  EXPECT_EQ(WaitForObject(e.get(), 20000), kWaitObject0);
  ASSERT_EQ(WaitForObject(setter.get(), 20000), kWaitObject0);
  EXPECT_EQ(setter->ExitCode(), 0u);

  auto waiter = Process::Start(Helper() + " wait-event " + name + " 20000", {});
  ASSERT_TRUE(waiter);
  e->Set();
  ASSERT_EQ(WaitForObject(waiter.get(), 20000), kWaitObject0);
  EXPECT_EQ(waiter->ExitCode(), 0u);
}

TEST(Wait, ReportsTheFirstSignalledObjectTimeOutAndFailure) {
  auto a = Event::Create(true, false);
  auto b = Event::Create(true, false);
  auto child = Process::Start(Helper() + " exit 5", {});
  ASSERT_TRUE(a && b && child);
  EXPECT_EQ(WaitForObjects({a.get(), b.get()}, 30), kWaitTimeout);
  EXPECT_EQ(WaitForObjects({a.get(), b.get(), child.get()}, 20000), kWaitObject0 + 2);
  b->Set();
  EXPECT_EQ(WaitForObjects({a.get(), b.get(), child.get()}, 0), kWaitObject0 + 1);
  a->Set();
  EXPECT_EQ(WaitForObjects({a.get(), b.get()}, 0), kWaitObject0);

  EXPECT_EQ(WaitForObjects({a.get(), nullptr}, 0), kWaitFailed);
  EXPECT_EQ(GetLastError(), err::InvalidHandle);
  EXPECT_EQ(WaitForObjects(std::span<WaitObject* const>(), 0), kWaitFailed);
  std::vector<WaitObject*> tooMany(65, a.get());
  EXPECT_EQ(WaitForObjects(tooMany, 0), kWaitFailed);
}

TEST(Wait, AutoResetEventWakesOnlyOneOfTwoWaiters) {
  auto e = Event::Create(false, false);
  std::atomic<int> woken{0};
  auto waiter = [&] {
    if (WaitForObject(e.get(), 300) == kWaitObject0) ++woken;
  };
  std::thread t1(waiter), t2(waiter);
  e->Set();
  t1.join();
  t2.join();
  EXPECT_EQ(woken.load(), 1);
}

TEST(Thread, SuspendedUntilResumedThenGivesItsExitCode) {
  auto started = Event::Create(true, false);
  auto release = Event::Create(true, false);
  auto t = Thread::Create(
      [&] {
        started->Set();
        WaitForObject(release.get(), kInfinite);
        return 17u;
      },
      true);
  ASSERT_TRUE(t);
  EXPECT_NE(t->Id(), 0u);
  EXPECT_NE(t->Id(), CurrentThreadId());
  EXPECT_EQ(WaitForObject(started.get(), 100), kWaitTimeout);
  EXPECT_EQ(t->ExitCode(), kStillActive);
  EXPECT_EQ(t->Resume(), 1);
  EXPECT_EQ(WaitForObject(started.get(), 20000), kWaitObject0);
  EXPECT_EQ(t->Resume(), 0);
  EXPECT_EQ(WaitForObject(t.get(), 20), kWaitTimeout);  // join with a time-out
  EXPECT_EQ(t->ExitCode(), kStillActive);
  release->Set();
  EXPECT_EQ(WaitForObject(t.get(), 20000), kWaitObject0);
  EXPECT_EQ(t->ExitCode(), 17u);
}

TEST(Thread, NeverResumedThreadDoesNotRunItsBody) {
  auto ran = std::make_shared<std::atomic<bool>>(false);
  auto t = Thread::Create([ran] { return (*ran = true), 0u; }, true);
  ASSERT_TRUE(t);
  t.reset();
  // The body holds the flag by shared ownership, so it could run late without harm.
  std::this_thread::yield();
  EXPECT_FALSE(ran->load());
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
  CriticalSection cs;
  cs.Enter();
  EXPECT_TRUE(cs.TryEnter());
  cs.Leave();
  bool otherGot = true;
  std::thread([&] { otherGot = cs.TryEnter(); }).join();
  EXPECT_FALSE(otherGot);
  cs.Leave();
  std::thread([&] {
    otherGot = cs.TryEnter();
    if (otherGot) cs.Leave();
  }).join();
  EXPECT_TRUE(otherGot);
}

TEST(Interlocked, OperationsReturnWin32Values) {
  int32_t v = 5;
  EXPECT_EQ(InterlockedIncrement(&v), 6);
  EXPECT_EQ(InterlockedDecrement(&v), 5);
  EXPECT_EQ(InterlockedExchange(&v, 9), 5);
  EXPECT_EQ(InterlockedExchangeAdd(&v, 3), 9);
  EXPECT_EQ(v, 12);
  EXPECT_EQ(InterlockedCompareExchange(&v, 1, 0), 12);  // no match: unchanged
  EXPECT_EQ(v, 12);
  EXPECT_EQ(InterlockedCompareExchange(&v, 1, 12), 12);
  EXPECT_EQ(InterlockedRead(&v), 1);

  int32_t counter = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      for (int k = 0; k < 10000; ++k) InterlockedIncrement(&counter);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 40000);
}

}  // namespace
}  // namespace platform
