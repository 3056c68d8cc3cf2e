#include <gtest/gtest.h>

#include <latch>
#include <stdexcept>
#include <string>
#include <thread>

#include "base/memory/HeapAllocated.h"
#include "base/memory/TanMSMemoryHeapAllocator.h"
#include "base/memory/TanSTLMSHeapAllocator.h"
#include "platform/core/Clock.h"
#include "platform/memory/MemoryFaults.h"

namespace {

using nalloc::TanMSMemoryHeapAllocator;

// A class of N bytes on the heap of its size; each test takes a size of its own.
template <std::size_t N>
struct Probe : nalloc::HeapAllocated<Probe<N>> {
  Probe() { ++constructed; }
  unsigned char bytes[N];
  static inline int constructed = 0;
};

template <std::size_t N>
using HeapOf = TanMSMemoryHeapAllocator<N>;

class HeapAllocator : public ::testing::Test {
 protected:
  platform::testing::ScopedMemoryFaults faults_;
};

TEST_F(HeapAllocator, FirstObjectCreatesTheHeapAndTheLastDestroysIt) {
  using P = Probe<301>;
  static_assert(sizeof(P) == 301);
  const int32_t heaps = platform::testing::LiveHeapCount();
  P* a = new P;
  ASSERT_NE(a, nullptr);
  platform::PrivateHeap* first = HeapOf<301>::Heap();
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(HeapOf<301>::UseCount(), 1);
  for (unsigned char b : a->bytes) ASSERT_EQ(b, 0);  // blocks are zero-filled
  delete a;
  EXPECT_EQ(HeapOf<301>::Heap(), nullptr);
  EXPECT_EQ(HeapOf<301>::UseCount(), 0);
  EXPECT_EQ(platform::testing::LiveHeapCount(), heaps);

  // With an extra handle alive, deleting the object keeps the heap.
  P* b = new P;
  {
    HeapOf<301> handle;
    EXPECT_EQ(HeapOf<301>::UseCount(), 2);
    delete b;
    EXPECT_NE(HeapOf<301>::Heap(), nullptr);
    EXPECT_EQ(HeapOf<301>::UseCount(), 1);
  }
  EXPECT_EQ(HeapOf<301>::Heap(), nullptr);
  EXPECT_EQ(HeapOf<301>::UseCount(), 0);
}

TEST_F(HeapAllocator, ByteFormAndNullBlocksCountNothing) {
  HeapOf<0> handle;
  EXPECT_EQ(HeapOf<0>::UseCount(), 1);
  EXPECT_EQ(handle.Allocate(0u), nullptr);
  EXPECT_EQ(HeapOf<0>::UseCount(), 1);
  handle.Deallocate(nullptr);
  EXPECT_EQ(HeapOf<0>::UseCount(), 1);

  auto* block = static_cast<unsigned char*>(handle.Allocate(1000u));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[999], 0);
  EXPECT_EQ(HeapOf<0>::UseCount(), 2);
  handle.Deallocate(block);
  EXPECT_EQ(HeapOf<0>::UseCount(), 1);
}

TEST_F(HeapAllocator, HeapThatCannotBeCreatedRaisesBadAllocation) {
  using P = Probe<302>;
  const int constructed = P::constructed;
  platform::testing::SetHeapCreateFails(true);
  try {
    HeapOf<302> handle;
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "bad-allocation");
  }
  EXPECT_EQ(HeapOf<302>::UseCount(), 0);

  // The class-level new passes the exception on; no constructor runs.
  try {
    P* p = new P;
    ADD_FAILURE() << "no exception";
    delete p;
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "bad-allocation");
  }
  EXPECT_EQ(P::constructed, constructed);
  EXPECT_EQ(HeapOf<302>::UseCount(), 0);
  EXPECT_EQ(HeapOf<302>::Heap(), nullptr);

  // The creation flag was given back: the next join works.
  platform::testing::SetHeapCreateFails(false);
  P* p = new P;
  EXPECT_NE(p, nullptr);
  delete p;
}

TEST_F(HeapAllocator, FullHeapYieldsNullWithoutConstructor) {
  using P = Probe<303>;
  const int constructed = P::constructed;
  platform::testing::SetHeapAllocFails(true);
  P* p = new P;
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(P::constructed, constructed);
  EXPECT_EQ(HeapOf<303>::UseCount(), 0);
  EXPECT_EQ(HeapOf<303>::Heap(), nullptr);
}

TEST_F(HeapAllocator, TwoThreadsMakingTheFirstObjectShareOneHeap) {
  using P = Probe<304>;
  for (int round = 0; round < 50; ++round) {
    const int32_t heaps = platform::testing::LiveHeapCount();
    std::latch start(2);
    P* made[2] = {};
    auto make = [&](int i) {
      start.arrive_and_wait();
      made[i] = new P;
    };
    std::thread t0(make, 0), t1(make, 1);
    t0.join();
    t1.join();
    ASSERT_NE(made[0], nullptr);
    ASSERT_NE(made[1], nullptr);
    ASSERT_EQ(HeapOf<304>::UseCount(), 2);
    ASSERT_EQ(platform::testing::LiveHeapCount(), heaps + 1);
    ASSERT_TRUE(platform::HeapValidate(HeapOf<304>::Heap(), made[0]));
    ASSERT_TRUE(platform::HeapValidate(HeapOf<304>::Heap(), made[1]));
    delete made[0];
    delete made[1];
    ASSERT_EQ(HeapOf<304>::Heap(), nullptr);
  }
}

TEST_F(HeapAllocator, StlAllocatorServesArraysOfItsType) {
  using P = Probe<305>;
  ORN_std::standard::TanSTLMSHeapAllocator<P> allocator;
  EXPECT_EQ(allocator.allocate(0), nullptr);
  EXPECT_EQ(HeapOf<305>::Heap(), nullptr);  // not touched

  P* three = allocator.allocate(3);
  ASSERT_NE(three, nullptr);
  EXPECT_EQ(HeapOf<305>::UseCount(), 1);
  EXPECT_EQ(reinterpret_cast<unsigned char*>(three)[3 * 305 - 1], 0);
  allocator.deallocate(three, 3);
  EXPECT_EQ(HeapOf<305>::UseCount(), 0);
  EXPECT_EQ(HeapOf<305>::Heap(), nullptr);
}

TEST_F(HeapAllocator, StlAllocatorGivesUpOnlyAfterThirtySeconds) {
  using P = Probe<306>;
  platform::testing::FakeClock clock(0xFFFFF000u);  // the deadline lies past a wrap of the count
  const uint32_t start = clock.Now();
  const uint32_t minimized = platform::testing::TaskAllocatorMinimizeCalls();
  platform::testing::SetHeapAllocFails(true);

  ORN_std::standard::TanSTLMSHeapAllocator<P> allocator;
  EXPECT_EQ(allocator.allocate(1), nullptr);
  EXPECT_GE(clock.Now() - start, 30000u);
  EXPECT_GE(clock.SleepCalls(), 1u);
  // Every attempt after the first follows a sleep of at least 1 ms and a minimise.
  EXPECT_GE(clock.SleptMilliseconds(), clock.SleepCalls());
  EXPECT_EQ(platform::testing::TaskAllocatorMinimizeCalls() - minimized, clock.SleepCalls());
  EXPECT_EQ(HeapOf<306>::UseCount(), 0);
}

struct Base : nalloc::HeapAllocated<Base> {
  char bytes[16];
};
struct Larger : Base {
  char more[64];
};

// A larger derived class takes the heap of its own size.
struct Redeclared : nalloc::HeapAllocated<Redeclared>, Base {
  using nalloc::HeapAllocated<Redeclared>::operator new;
  using nalloc::HeapAllocated<Redeclared>::operator delete;
  char more[64];
};

TEST_F(HeapAllocator, LargerDerivedClassDeclaringItsOwnOperatorsUsesItsOwnHeap) {
  Redeclared* d = new Redeclared;
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(HeapOf<sizeof(Redeclared)>::UseCount(), 1);
  EXPECT_EQ(HeapOf<sizeof(Base)>::UseCount(), 0);
  delete d;
  EXPECT_EQ(HeapOf<sizeof(Redeclared)>::UseCount(), 0);
}

TEST(HeapAllocatedDeathTest, LargerDerivedClassIsNotServedFromSmallerBlocks) {
  EXPECT_DEATH(delete new Larger, "Assertion failed: size <= sizeof\\(T\\)");
}

}  // namespace
