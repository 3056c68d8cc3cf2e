#include "base/memory/TanMSVirtualMemoryAlloc.h"

#include <algorithm>
#include <cstring>

#include "base/memory/TanORNStdException.h"
#include "platform/memory/TaskAllocator.h"
#include "platform/memory/VirtualMemory.h"

namespace ORN_std {

namespace {

constexpr uint64_t kLimit = 0x100000000ull;

void* NewPages(uint64_t size) {
  if (size >= kLimit) return nullptr;
  return platform::AllocatePages(static_cast<std::size_t>(size), /*topDown=*/true);
}

}  // namespace

void* TanMSVirtualMemoryAlloc::Allocate(uint64_t size) {
  if (size == 0) return nullptr;
  void* block = NewPages(size);
  if (block == nullptr) throw TanORNStdAllocatorException::CannotAllocate();
  return block;
}

void* TanMSVirtualMemoryAlloc::Reallocate(uint64_t size, void* block) {
  void* fresh = nullptr;
  if (size != 0) {
    fresh = NewPages(size);
    if (fresh == nullptr) throw TanORNStdAllocatorException::CannotReallocate();
    if (block != nullptr) {
      // The old size is not passed: copy no more than the old region holds.
      const uint64_t old = platform::QueryRegionSize(block);
      std::memcpy(fresh, block, static_cast<std::size_t>(std::min(old, size)));
    }
  }
  if (block != nullptr) platform::ReleasePages(block);
  return fresh;
}

TanMSVirtualMemoryAlloc& TanMSVirtualMemoryAlloc::Free(void* block) {
  if (block != nullptr && !platform::ReleasePages(block))
    throw TanORNStdAllocatorException::CannotDeallocate();
  return *this;
}

TanMSVirtualMemoryAlloc& TanMSVirtualMemoryAlloc::Minimize() {
  if (platform::ITaskAllocator* malloc = platform::GetTaskAllocator()) {
    malloc->HeapMinimize();
    malloc->Release();
  }
  return *this;
}

}  // namespace ORN_std
