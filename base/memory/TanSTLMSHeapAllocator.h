// STL allocator over the private heap of size class sizeof(T). When the heap is full it keeps
// asking for up to 30 s, sleeping 1 ms and minimising the task allocator between attempts, and
// then gives null: its users must treat null as a failed allocation (it never throws for that).
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/memory/TanAllocatorBasis.h"
#include "base/memory/TanIMalloc.h"
#include "base/memory/TanMSMemoryHeapAllocator.h"
#include "platform/core/Clock.h"

namespace ORN_std::standard {

template <class T>
class TanSTLMSHeapAllocator : public TanAllocatorBasis {
 public:
  using value_type = T;
  template <class U>
  struct rebind {
    using other = TanSTLMSHeapAllocator<U>;
  };

  static constexpr uint32_t kRetryMilliseconds = 30000;

  TanSTLMSHeapAllocator() noexcept = default;
  template <class U>
  TanSTLMSHeapAllocator(const TanSTLMSHeapAllocator<U>&) noexcept {}

  // A block for n objects, or null (n = 0, or the heap stayed full for 30 s). Throws
  // std::runtime_error("bad-allocation") only when the heap cannot be created.
  T* allocate(std::size_t n) {
    if (n == 0 || n > UINT32_MAX / sizeof(T)) return nullptr;
    const auto bytes = static_cast<uint32_t>(n * sizeof(T));
    void* block = TakeOnce(bytes);
    // The elapsed time is compared, so a wrap of the tick count does not cut the wait short.
    const uint32_t start = platform::TickCount();
    while (block == nullptr && platform::TickCount() - start < kRetryMilliseconds) {
      platform::Sleep(1);
      if (platform::ITaskAllocator* malloc = TanIMalloc::Process().Get()) malloc->HeapMinimize();
      block = TakeOnce(bytes);
    }
    return static_cast<T*>(block);
  }

  void deallocate(T* block, std::size_t) noexcept {
    if (block == nullptr) return;
    nalloc::TanMSMemoryHeapAllocator<sizeof(T)> handle;  // joins an existing heap: never throws
    handle.Deallocate(block);
  }

  template <class U>
  bool operator==(const TanSTLMSHeapAllocator<U>&) const noexcept { return true; }

 private:
  static void* TakeOnce(uint32_t bytes) {
    nalloc::TanMSMemoryHeapAllocator<sizeof(T)> handle;
    return handle.Allocate(bytes);
  }
};

}  // namespace ORN_std::standard
