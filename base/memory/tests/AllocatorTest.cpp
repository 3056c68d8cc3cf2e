#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/memory/TanCPPAllocator.h"
#include "base/memory/TanIMalloc.h"
#include "base/memory/TanMSVirtualMemoryAlloc.h"
#include "base/memory/TanORNStdException.h"
#include "platform/memory/MemoryFaults.h"
#include "platform/memory/VirtualMemory.h"

namespace {

using ORN_std::iEXCEPTION;
using ORN_std::TanCPPAllocator;
using ORN_std::TanMSVirtualMemoryAlloc;
using ORN_std::TanORNStdAllocatorException;
using ORN_std::TanORNStdException;

// Runs f, which must raise the allocator exception, and checks it through the interface.
template <class F>
void ExpectAllocatorFailure(F f, int32_t code, const std::string& text) {
  try {
    f();
    ADD_FAILURE() << "no exception";
  } catch (const iEXCEPTION& e) {
    EXPECT_NE(dynamic_cast<const TanORNStdAllocatorException*>(&e), nullptr);
    EXPECT_EQ(e.GetCode(), code);
    EXPECT_EQ(std::string(e.GetText()), text);
    EXPECT_EQ(std::string(static_cast<const TanORNStdException&>(e).GetDescription()), text);
    EXPECT_NE(std::string(e.what()), text);  // what() stays the standard library's
  }
}

TEST(AllocatorException, CopiesCodeAndText) {
  const TanORNStdException original("some text", -7);
  const TanORNStdException copy(original);  // NOLINT: the copy is the point
  EXPECT_EQ(copy.GetCode(), -7);
  EXPECT_STREQ(copy.GetText(), "some text");
}

TEST(CPPAllocator, BlocksAndFailures) {
  TanCPPAllocator allocator;
  void* empty = allocator.Allocate(0);
  EXPECT_NE(empty, nullptr);  // a valid block of no bytes
  allocator.Free(empty).Free(nullptr);

  void* block = allocator.Allocate(16);
  EXPECT_EQ(allocator.Reallocate(1000, block), block);  // an existing block is kept
  allocator.Free(block);
  void* fresh = allocator.Reallocate(8, nullptr);
  EXPECT_NE(fresh, nullptr);
  allocator.Free(fresh);
  EXPECT_TRUE(allocator.IsValid());

  ExpectAllocatorFailure([&] { allocator.Allocate(0x100000000ull); }, 11, "Cannot allocate memory.");
  ExpectAllocatorFailure([&] { allocator.Reallocate(0x100000000ull, nullptr); }, 12,
                         "Cannot reallocate memory.");
}

TEST(VirtualMemoryAllocator, AllocateReallocateFree) {
  TanMSVirtualMemoryAlloc allocator;
  EXPECT_EQ(allocator.Allocate(0), nullptr);
  allocator.Free(nullptr);

  auto* block = static_cast<unsigned char*>(allocator.Allocate(100));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[99], 0);
  std::memset(block, 0x5A, 4096);

  // Growing copies only what the old region holds; shrinking copies what the new one takes.
  auto* grown = static_cast<unsigned char*>(allocator.Reallocate(3 * 4096, block));
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(grown[4095], 0x5A);
  EXPECT_EQ(grown[4096], 0);
  EXPECT_EQ(platform::QueryRegionSize(block), 0u);  // the old block was released
  auto* shrunk = static_cast<unsigned char*>(allocator.Reallocate(10, grown));
  ASSERT_NE(shrunk, nullptr);
  EXPECT_EQ(shrunk[9], 0x5A);

  EXPECT_EQ(allocator.Reallocate(0, shrunk), nullptr);
  EXPECT_EQ(platform::QueryRegionSize(shrunk), 0u);
  allocator.Minimize();
  EXPECT_TRUE(allocator.IsValid());
}

TEST(VirtualMemoryAllocator, Failures) {
  platform::testing::ScopedMemoryFaults faults;
  TanMSVirtualMemoryAlloc allocator;
  ExpectAllocatorFailure([&] { allocator.Allocate(0x100000000ull); }, 11, "Cannot allocate memory.");

  int local = 0;
  ExpectAllocatorFailure([&] { allocator.Free(&local); }, 13, "Cannot deallocate memory.");
  auto* block = static_cast<unsigned char*>(allocator.Allocate(4096));
  ExpectAllocatorFailure([&] { allocator.Free(block + 4096 / 2); }, 13, "Cannot deallocate memory.");

  // A failed reallocation leaves the old block as it was.
  block[0] = 7;
  platform::testing::SetPageCommitFails(true);
  ExpectAllocatorFailure([&] { allocator.Allocate(1); }, 11, "Cannot allocate memory.");
  ExpectAllocatorFailure([&] { allocator.Reallocate(8192, block); }, 12, "Cannot reallocate memory.");
  EXPECT_EQ(block[0], 7);
  EXPECT_EQ(platform::QueryRegionSize(block), 4096u);
  platform::testing::ResetMemoryFaults();
  allocator.Free(block);
}

TEST(TaskAllocatorHolder, HoldsTheTaskAllocatorOrNothing) {
  platform::testing::ScopedMemoryFaults faults;
  EXPECT_NE(ORN_std::TanIMalloc::Process().Get(), nullptr);
  {
    ORN_std::TanIMalloc holder;
    EXPECT_NE(holder.Get(), nullptr);
  }
  platform::testing::SetTaskAllocatorUnavailable(true);
  ORN_std::TanIMalloc empty;
  EXPECT_EQ(empty.Get(), nullptr);
  // Minimize skips an unavailable task allocator.
  const uint32_t calls = platform::testing::TaskAllocatorMinimizeCalls();
  TanMSVirtualMemoryAlloc().Minimize();
  EXPECT_EQ(platform::testing::TaskAllocatorMinimizeCalls(), calls);
}

}  // namespace
