#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/LastError.h"
#include "platform/memory/MemoryFaults.h"
#include "platform/memory/TaskAllocator.h"
#include "platform/memory/VirtualMemory.h"

namespace {

using namespace platform;

TEST(VirtualMemory, CommitDecommitAndReleaseInsideAReservation) {
  auto* base = static_cast<unsigned char*>(ReservePages(0x10000, true));
  ASSERT_NE(base, nullptr);
  EXPECT_EQ(QueryRegionSize(base), 0x10000u);
  EXPECT_EQ(QueryRegionSize(base + 0x1234), 0x10000u - 0x1234u);

  unsigned char* page = base + 3 * kPageSize;
  ASSERT_TRUE(CommitPages(page, kPageSize));
  EXPECT_EQ(page[0], 0);
  EXPECT_EQ(page[kPageSize - 1], 0);
  std::memset(page, 0xAB, kPageSize);
  ASSERT_TRUE(CommitPages(page, kPageSize));  // committing again keeps the contents
  EXPECT_EQ(page[100], 0xAB);

  ASSERT_TRUE(DecommitPages(page, kPageSize));
  ASSERT_TRUE(CommitPages(page, kPageSize));
  EXPECT_EQ(page[100], 0);  // decommitted pages come back zero

  // Only the base releases a reservation, as VirtualFree does.
  EXPECT_FALSE(ReleasePages(page));
  EXPECT_EQ(GetLastError(), err::InvalidAddress);
  EXPECT_TRUE(ReleasePages(base));
  EXPECT_EQ(QueryRegionSize(base), 0u);
  EXPECT_FALSE(ReleasePages(base));
}

// Pages parked by decommit, pages given back in a batch and spare reservations reused must all
// read as zero when committed again; contents of pages still committed stay.
TEST(VirtualMemory, RecommittedPagesReadZeroWhateverTheReserveDid) {
  struct Case {
    const char* name;
    std::size_t pages;       // size of the reservation
    std::size_t decommit;    // pages decommitted (from the start) before committing again
    bool releaseAndReserve;  // release the reservation and reserve one of the same size
  };
  const Case cases[] = {
      {"one page parked", 16, 1, false},
      {"all pages of a segment parked", 16, 16, false},
      {"beyond the reserve: batch given back", 64, 40, false},
      {"spare reservation reused", 16, 0, true},
      {"spare with parked pages reused", 16, 5, true},
      {"large reservation unmapped at release", 64, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t bytes = c.pages * kPageSize;
    auto* base = static_cast<unsigned char*>(ReservePages(bytes, false));
    ASSERT_NE(base, nullptr);
    ASSERT_TRUE(CommitPages(base, bytes));
    std::memset(base, 0xCD, bytes);
    if (c.decommit != 0) {
      ASSERT_TRUE(DecommitPages(base, c.decommit * kPageSize));
    }
    if (c.releaseAndReserve) {
      ASSERT_TRUE(ReleasePages(base));
      EXPECT_EQ(QueryRegionSize(base), 0u);
      EXPECT_FALSE(ReleasePages(base));
      base = static_cast<unsigned char*>(ReservePages(bytes, false));
      ASSERT_NE(base, nullptr);
      EXPECT_EQ(QueryRegionSize(base), bytes);
      ASSERT_TRUE(CommitPages(base, bytes));
      for (std::size_t i = 0; i < bytes; i += 511) ASSERT_EQ(base[i], 0) << i;
    } else {
      ASSERT_TRUE(CommitPages(base, bytes));
      for (std::size_t i = 0; i < bytes; i += 511)
        ASSERT_EQ(base[i], i < c.decommit * kPageSize ? 0 : 0xCD) << i;
    }
    EXPECT_TRUE(ReleasePages(base));
  }
  TrimPages();
  // After a trim, reservations are made afresh and still behave.
  auto* p = static_cast<unsigned char*>(AllocatePages(3 * kPageSize, false));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[3 * kPageSize - 1], 0);
  EXPECT_TRUE(ReleasePages(p));
}

TEST(VirtualMemory, CommitOutsideAnyReservationIsRefused) {
  int local = 0;
  EXPECT_FALSE(CommitPages(&local, sizeof local));
  EXPECT_EQ(GetLastError(), err::InvalidAddress);
  auto* base = static_cast<unsigned char*>(ReservePages(kPageSize, false));
  ASSERT_NE(base, nullptr);
  EXPECT_FALSE(CommitPages(base, 2 * kPageSize));  // runs past the reservation
  EXPECT_TRUE(ReleasePages(base));
}

TEST(VirtualMemory, AllocatePagesGivesZeroFilledWholePages) {
  auto* p = static_cast<unsigned char*>(AllocatePages(5000, true));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(QueryRegionSize(p), 2 * kPageSize);
  EXPECT_EQ(p[4999], 0);
  p[8191] = 1;
  EXPECT_TRUE(ReleasePages(p));
}

TEST(VirtualMemory, InjectedFailures) {
  platform::testing::ScopedMemoryFaults faults;
  platform::testing::SetPageReserveFails(true);
  EXPECT_EQ(ReservePages(kPageSize, true), nullptr);
  EXPECT_EQ(AllocatePages(kPageSize, true), nullptr);
  platform::testing::ResetMemoryFaults();

  void* base = ReservePages(kPageSize, true);
  ASSERT_NE(base, nullptr);
  platform::testing::SetPageCommitFails(true);
  EXPECT_FALSE(CommitPages(base, kPageSize));
  EXPECT_EQ(AllocatePages(kPageSize, true), nullptr);
  EXPECT_TRUE(ReleasePages(base));
}

TEST(TaskAllocator, MinimizeAndRelease) {
  platform::testing::ScopedMemoryFaults faults;
  ITaskAllocator* allocator = GetTaskAllocator();
  ASSERT_NE(allocator, nullptr);
  const uint32_t before = platform::testing::TaskAllocatorMinimizeCalls();
  allocator->HeapMinimize();
  EXPECT_EQ(platform::testing::TaskAllocatorMinimizeCalls(), before + 1);
  allocator->Release();

  platform::testing::SetTaskAllocatorUnavailable(true);
  EXPECT_EQ(GetTaskAllocator(), nullptr);
}

}  // namespace
