#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/memory/PoolAllocated.h"
#include "base/memory/TanORNMemoryHeapAllocator.h"
#include "platform/core/Clock.h"
#include "platform/memory/MemoryFaults.h"
#include "platform/memory/VirtualMemory.h"

namespace {

// Stand-in for an element class of S bytes.
template <unsigned S>
struct Element : nalloc::PoolAllocated<Element<S>> {
  Element() { ++constructed; }
  unsigned char bytes[S];
  static inline int constructed = 0;
};

template <unsigned S>
using Handle = nalloc::TanORNMemoryHeapAllocator<Element<S>>;

template <unsigned S>
const auto& PoolOf() {
  return Handle<S>::PoolPointer()->Unlocked();
}

template <unsigned S>
using NodeHeap = nalloc::TanMSMemoryHeapAllocator<sizeof(typename nalloc::TanMemoryHeap<
    S, nalloc::DefaultPoolNodeAllocator<S>>::Node)>;

class ElementPool : public ::testing::Test {
 protected:
  platform::testing::ScopedMemoryFaults faults_;
};

// Fills the first page of the pool of size S, checks where the next block goes, and frees all.
template <unsigned S>
void CheckBlocksPerPage(int expected) {
  SCOPED_TRACE(S);
  static_assert(sizeof(Element<S>) == S);
  ASSERT_EQ(static_cast<int>(4096 / S), expected);
  std::vector<Element<S>*> elements;
  for (int i = 0; i < expected; ++i) elements.push_back(new Element<S>);
  const auto& pool = PoolOf<S>();
  ASSERT_EQ(pool.SegmentCount(), 1u);
  const auto* segment = pool.SegmentAt(0);
  EXPECT_TRUE(segment->m_Pages[0].commited());
  EXPECT_FALSE(segment->m_Pages[1].commited());
  for (auto* e : elements) {
    const auto offset = reinterpret_cast<unsigned char*>(e) - segment->m_Address;
    EXPECT_LT(offset, 4096);
    EXPECT_EQ(offset % S, 0);
  }
  elements.push_back(new Element<S>);
  EXPECT_TRUE(segment->m_Pages[1].commited());
  EXPECT_EQ(reinterpret_cast<unsigned char*>(elements.back()), segment->m_Address + 4096);
  EXPECT_EQ(Handle<S>::UseCount(), expected + 1);
  for (auto* e : elements) delete e;
  EXPECT_EQ(Handle<S>::PoolPointer(), nullptr);
  EXPECT_EQ(Handle<S>::UseCount(), 0);
}

TEST_F(ElementPool, BlocksPerPageOfTheFiveSizes) {
  CheckBlocksPerPage<120>(34);
  CheckBlocksPerPage<136>(30);
  CheckBlocksPerPage<144>(28);
  CheckBlocksPerPage<160>(25);
  CheckBlocksPerPage<168>(24);
}

TEST_F(ElementPool, FirstElementReservesOneSegmentAndCommitsOnePage) {
  const int constructed = Element<120>::constructed;
  auto* e = new Element<120>;
  const auto& pool = PoolOf<120>();
  ASSERT_EQ(pool.SegmentCount(), 1u);
  const auto* segment = pool.SegmentAt(0);
  EXPECT_EQ(platform::QueryRegionSize(segment->m_Address), 0x10000u);
  EXPECT_EQ(reinterpret_cast<unsigned char*>(e), segment->m_Address);
  for (int i = 1; i < 16; ++i) EXPECT_FALSE(segment->m_Pages[i].commited()) << i;
  // The pool object and the list nodes (end node and one segment) live on their heaps.
  EXPECT_EQ(NodeHeap<120>::UseCount(), 2);
  EXPECT_EQ(Element<120>::constructed, constructed + 1);

  unsigned char* reservation = segment->m_Address;
  delete e;
  EXPECT_EQ(Handle<120>::PoolPointer(), nullptr);
  EXPECT_EQ(platform::QueryRegionSize(reservation), 0u);
  EXPECT_EQ(NodeHeap<120>::UseCount(), 0);
  EXPECT_EQ(NodeHeap<120>::Heap(), nullptr);

  // Making one again makes a new pool.
  e = new Element<120>;
  EXPECT_NE(Handle<120>::PoolPointer(), nullptr);
  EXPECT_EQ(Handle<120>::UseCount(), 1);
  delete e;
}

TEST_F(ElementPool, BlockFreedLastIsTakenFirst) {
  Handle<136> handle;
  void* a = handle.Allocate();
  void* b = handle.Allocate();
  ASSERT_NE(a, b);
  handle.Deallocate(a);
  EXPECT_EQ(handle.Allocate(), a);
  handle.Deallocate(a);
  handle.Deallocate(b);
  EXPECT_EQ(Handle<136>::UseCount(), 1);
}

TEST_F(ElementPool, EmptyPageIsDecommittedAndCommittedAgainOnUse) {
  constexpr int kPerPage = 4096 / 144;
  Handle<144> handle;
  std::vector<void*> first;
  for (int i = 0; i < kPerPage; ++i) first.push_back(handle.Allocate());
  void* other = handle.Allocate();  // keeps the segment alive on page 1
  const auto* segment = PoolOf<144>().SegmentAt(0);
  for (void* p : first) handle.Deallocate(p);
  EXPECT_FALSE(segment->m_Pages[0].commited());
  EXPECT_EQ(segment->m_Pages[0].m_Region.m_Address, nullptr);
  EXPECT_EQ(segment->m_Pages[0].m_Region.m_ChunkCount, 0);
  EXPECT_EQ(PoolOf<144>().SegmentCount(), 1u);

  // Page 0 went from full to not full, so it is taken from first, committed afresh.
  void* again = handle.Allocate();
  EXPECT_EQ(again, segment->m_Address);
  EXPECT_TRUE(segment->m_Pages[0].commited());
  EXPECT_EQ(static_cast<unsigned char*>(again)[1], 0);  // a fresh page reads as zero
  handle.Deallocate(again);
  handle.Deallocate(other);
  EXPECT_EQ(PoolOf<144>().SegmentCount(), 0u);
}

TEST_F(ElementPool, SegmentsFillMoveAndAreReleased) {
  constexpr int kPerSegment = 16 * (4096 / 160);
  Handle<160> handle;
  std::vector<void*> first;
  for (int i = 0; i < kPerSegment; ++i) first.push_back(handle.Allocate());
  const auto& pool = PoolOf<160>();
  ASSERT_EQ(pool.SegmentCount(), 1u);
  EXPECT_TRUE(pool.SegmentAt(0)->full());
  EXPECT_EQ(pool.CurrentSegment(), nullptr);  // every segment is full

  void* second = handle.Allocate();
  ASSERT_EQ(pool.SegmentCount(), 2u);
  EXPECT_EQ(pool.CurrentSegment(), pool.SegmentAt(1));
  EXPECT_TRUE(pool.SegmentAt(1)->validate(second));

  // A block given back to the full first segment makes it current; it is taken next.
  handle.Deallocate(first[100]);
  EXPECT_EQ(pool.CurrentSegment(), pool.SegmentAt(0));
  void* reused = handle.Allocate();
  EXPECT_EQ(reused, first[100]);
  EXPECT_EQ(pool.CurrentSegment(), pool.SegmentAt(1));

  // Emptying the current segment releases it; the list end becomes current.
  unsigned char* reservation = pool.SegmentAt(1)->m_Address;
  handle.Deallocate(second);
  EXPECT_EQ(pool.SegmentCount(), 1u);
  EXPECT_EQ(platform::QueryRegionSize(reservation), 0u);
  EXPECT_EQ(pool.CurrentSegment(), nullptr);
  EXPECT_EQ(NodeHeap<160>::UseCount(), 2);

  for (void* p : first) handle.Deallocate(p);
  EXPECT_EQ(pool.SegmentCount(), 0u);
  EXPECT_EQ(Handle<160>::UseCount(), 1);
}

TEST_F(ElementPool, PoolThatCannotBeMadeRaisesBadAllocation) {
  const int constructed = Element<168>::constructed;
  platform::testing::SetHeapCreateFails(true);  // no heap for the pool object
  try {
    auto* e = new Element<168>;
    ADD_FAILURE() << "no exception";
    delete e;
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "bad-allocation");
  }
  EXPECT_EQ(Element<168>::constructed, constructed);
  EXPECT_EQ(Handle<168>::UseCount(), 0);
  EXPECT_EQ(Handle<168>::PoolPointer(), nullptr);
  platform::testing::SetHeapCreateFails(false);
  auto* e = new Element<168>;
  EXPECT_NE(e, nullptr);
  delete e;
}

TEST_F(ElementPool, RefusedMemoryYieldsNoElement) {
  Handle<168> handle;
  const int constructed = Element<168>::constructed;
  platform::testing::SetPageReserveFails(true);
  EXPECT_EQ(new Element<168>, nullptr);
  platform::testing::SetPageReserveFails(false);
  platform::testing::SetPageCommitFails(true);
  EXPECT_EQ(new Element<168>, nullptr);
  EXPECT_EQ(Element<168>::constructed, constructed);
  EXPECT_EQ(Handle<168>::UseCount(), 1);
  EXPECT_EQ(PoolOf<168>().SegmentCount(), 0u);  // the segment without a page was given back
  EXPECT_EQ(NodeHeap<168>::UseCount(), 1);
}

TEST_F(ElementPool, NoListNodeAfterTheRetriesYieldsNoElement) {
  Handle<168> handle;  // the pool exists; its next element needs a new segment and list node
  platform::testing::FakeClock clock;
  platform::testing::SetHeapAllocFails(true);
  EXPECT_EQ(new Element<168>, nullptr);
  EXPECT_GE(clock.SleptMilliseconds(), 30000u);
  EXPECT_EQ(PoolOf<168>().SegmentCount(), 0u);
  platform::testing::SetHeapAllocFails(false);
  auto* e = new Element<168>;
  EXPECT_NE(e, nullptr);
  delete e;
}

TEST_F(ElementPool, ThreadsShareThePool) {
  std::vector<std::thread> threads;
  std::vector<std::vector<Element<120>*>> made(4);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&made, t] {
      for (int i = 0; i < 3000; ++i) {
        made[t].push_back(new Element<120>);
        if (i % 3 == 0) {
          delete made[t].back();
          made[t].pop_back();
        }
      }
    });
  }
  for (auto& t : threads) t.join();
  std::set<Element<120>*> distinct;
  for (auto& v : made) distinct.insert(v.begin(), v.end());
  EXPECT_EQ(distinct.size(), 4u * 2000u);
  EXPECT_EQ(Handle<120>::UseCount(), 4 * 2000);
  for (auto* e : distinct) delete e;
  EXPECT_EQ(Handle<120>::PoolPointer(), nullptr);
}

// Hundreds of segments: each freed block must reach its own segment (found through the index
// that grows past its inline buckets), in an order unlike the one they were made in.
TEST_F(ElementPool, ManySegmentsFreeIntoTheirOwnSegment) {
  constexpr int kPerSegment = 16 * (4096 / 2048);
  constexpr int kSegments = 300;
  Handle<2048> handle;
  std::vector<void*> blocks;
  for (int i = 0; i < kSegments * kPerSegment; ++i) blocks.push_back(handle.Allocate());
  auto* pool = Handle<2048>::PoolPointer();
  ASSERT_EQ(pool->Unlocked().SegmentCount(), static_cast<std::size_t>(kSegments));
  EXPECT_GT(pool->Unlocked().BucketCount(), 64u);
  for (void* p : blocks) ASSERT_TRUE(pool->f_Validate(p)) << p;
  // An address inside a block is refused.
  EXPECT_FALSE(pool->f_Validate(static_cast<unsigned char*>(blocks[0]) + 1));

  // Free every other block first (no segment empties), then the rest from the back.
  for (std::size_t i = 0; i < blocks.size(); i += 2) handle.Deallocate(blocks[i]);
  EXPECT_EQ(pool->Unlocked().SegmentCount(), static_cast<std::size_t>(kSegments));
  for (int i = static_cast<int>(blocks.size()) - 1; i > 0; i -= 2) {
    handle.Deallocate(blocks[i]);
    // Segment k holds blocks k * kPerSegment on; its lowest odd block empties it.
    if (i % kPerSegment == 1) {
      ASSERT_EQ(pool->Unlocked().SegmentCount(), static_cast<std::size_t>(i / kPerSegment)) << i;
    }
  }
  EXPECT_EQ(pool->Unlocked().SegmentCount(), 0u);
  EXPECT_EQ(pool->Unlocked().BucketCount(), 64u);  // the grown index went back
  EXPECT_EQ(Handle<2048>::UseCount(), 1);

  // The pool works as before once emptied.
  void* again = handle.Allocate();
  EXPECT_TRUE(pool->f_Validate(again));
  handle.Deallocate(again);
}

// A block of a segment that was released is no longer the pool's.
TEST_F(ElementPool, BlockOfAReleasedSegmentIsNotThePools) {
  constexpr int kPerSegment = 16 * (4096 / 2048);
  Handle<2048> handle;
  std::vector<void*> blocks;
  for (int i = 0; i < kPerSegment + 1; ++i) blocks.push_back(handle.Allocate());
  auto* pool = Handle<2048>::PoolPointer();
  ASSERT_EQ(pool->Unlocked().SegmentCount(), 2u);
  handle.Deallocate(blocks.back());
  ASSERT_EQ(pool->Unlocked().SegmentCount(), 1u);
  EXPECT_FALSE(pool->f_Validate(blocks.back()));
  for (int i = 0; i < kPerSegment; ++i) handle.Deallocate(blocks[i]);
}

inline std::function<void()>* Hook() {
  static std::function<void()> hook;
  return &hook;
}

// A node allocator that runs a hook before each allocation, as a slow (retrying) one would.
template <class T>
struct HookAllocator {
  using value_type = T;
  HookAllocator() = default;
  template <class U>
  HookAllocator(const HookAllocator<U>&) {}
  T* allocate(std::size_t n) {
    if (*Hook()) (*Hook())();
    return std::allocator<T>().allocate(n);
  }
  void deallocate(T* p, std::size_t n) { std::allocator<T>().deallocate(p, n); }
  template <class U>
  bool operator==(const HookAllocator<U>&) const { return true; }
};

TEST_F(ElementPool, ListNodeIsTakenWithoutHoldingThePoolLock) {
  using Pool = nalloc::TanORNMemoryHeap<120, HookAllocator<int>>;
  auto pool = std::make_unique<Pool>(true);
  void* block = pool->Allocate();  // the first segment
  ASSERT_NE(block, nullptr);
  std::vector<void*> blocks{block};
  while (pool->Unlocked().CurrentSegment() != nullptr) blocks.push_back(pool->Allocate());

  // While the next allocation waits for its node, another thread can still use the pool.
  // Were the lock held, the other thread could never finish: then the test stops the program.
  bool otherThreadGotIn = false;
  *Hook() = [&] {
    std::promise<bool> done;
    std::future<bool> result = done.get_future();
    std::thread([&pool, block, &done] { done.set_value(pool->f_Validate(block)); }).detach();
    if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      std::fprintf(stderr, "the pool lock is held while a list node is taken\n");
      std::_Exit(1);
    }
    otherThreadGotIn = result.get();
  };
  blocks.push_back(pool->Allocate());
  *Hook() = nullptr;
  EXPECT_TRUE(otherThreadGotIn);
  EXPECT_NE(blocks.back(), nullptr);
  EXPECT_EQ(pool->Unlocked().SegmentCount(), 2u);
  for (void* p : blocks) pool->Deallocate(p);
  EXPECT_EQ(pool->Unlocked().SegmentCount(), 0u);
}

TEST(ElementPoolDeathTest, ForeignBlockFailsTheAssertion) {
  Handle<136> handle;
  void* block = handle.Allocate();
  alignas(16) unsigned char foreign[136];
  EXPECT_DEATH(handle.Deallocate(foreign),
               "Assertion failed: f_Validate\\( arg, &i\\), file uORNMSHeap, line 106");
  handle.Deallocate(block);
}

// Blocks the pool never gave, or gave and took back with their segment, fail its assertion
// whatever pool or segment lies next to them.
TEST(ElementPoolDeathTest, BlockOfAnotherPoolOrReleasedSegmentFailsTheAssertion) {
  constexpr const char* kText = "Assertion failed: f_Validate\\( arg, &i\\), file uORNMSHeap, line 106";
  Handle<136> handle;
  Handle<144> other;
  std::vector<void*> mine;
  for (int i = 0; i < 16 * (4096 / 136) + 1; ++i) mine.push_back(handle.Allocate());  // two segments
  void* theirs = other.Allocate();
  EXPECT_DEATH(handle.Deallocate(theirs), kText);
  EXPECT_DEATH(other.Deallocate(mine[0]), kText);

  void* released = mine.back();
  mine.pop_back();
  handle.Deallocate(released);  // empties and releases the second segment
  EXPECT_DEATH(handle.Deallocate(released), kText);
  for (void* p : mine) handle.Deallocate(p);
  other.Deallocate(theirs);
}

}  // namespace
