#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/memory/MemoryFaults.h"
#include "platform/memory/PrivateHeap.h"

namespace {

using namespace platform;

TEST(PrivateHeap, BlocksAreZeroFilledAndValidatedPerHeap) {
  const int32_t live = platform::testing::LiveHeapCount();
  PrivateHeap* a = HeapCreate();
  PrivateHeap* b = HeapCreate();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(platform::testing::LiveHeapCount(), live + 2);

  auto* block = static_cast<unsigned char*>(HeapAlloc(a, 300));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 300; ++i) ASSERT_EQ(block[i], 0);
  EXPECT_TRUE(HeapValidate(a, block));
  EXPECT_FALSE(HeapValidate(b, block));
  EXPECT_FALSE(HeapFree(b, block));  // not a block of b
  EXPECT_TRUE(HeapFree(a, block));
  EXPECT_FALSE(HeapValidate(a, block));
  EXPECT_EQ(HeapCompact(a), 0u);

  // Destroying a heap frees the blocks still on it (ASan would report them otherwise).
  ASSERT_NE(HeapAlloc(b, 64), nullptr);
  ASSERT_NE(HeapAlloc(b, 64), nullptr);
  EXPECT_TRUE(HeapDestroy(a));
  EXPECT_TRUE(HeapDestroy(b));
  EXPECT_EQ(platform::testing::LiveHeapCount(), live);
}

TEST(PrivateHeap, InjectedFailures) {
  platform::testing::ScopedMemoryFaults faults;
  platform::testing::SetHeapCreateFails(true);
  EXPECT_EQ(HeapCreate(), nullptr);
  platform::testing::ResetMemoryFaults();

  PrivateHeap* heap = HeapCreate();
  ASSERT_NE(heap, nullptr);
  platform::testing::SetHeapAllocFails(true);
  EXPECT_EQ(HeapAlloc(heap, 16), nullptr);
  platform::testing::SetHeapAllocFails(false);
  EXPECT_NE(HeapAlloc(heap, 16), nullptr);
  EXPECT_TRUE(HeapDestroy(heap));
}

TEST(PrivateHeap, ThreadsShareOneHeap) {
  PrivateHeap* heap = HeapCreate();
  ASSERT_NE(heap, nullptr);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([heap] {
      for (int i = 0; i < 1000; ++i) {
        void* p = HeapAlloc(heap, 48);
        ASSERT_NE(p, nullptr);
        ASSERT_TRUE(HeapFree(heap, p));
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_TRUE(HeapDestroy(heap));
}

}  // namespace
