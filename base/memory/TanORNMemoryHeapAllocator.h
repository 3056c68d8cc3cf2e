// Handles of the element pools. Per block size S there is one pool for the whole process,
// created by its first use and destroyed by its last; the use count is the number of live
// handles plus the number of live blocks, as with the private heaps.
//
// The pool sizes follow sizeof on this platform: the pools are templates over S, the node size
// class is sizeof of the real list node and a page holds floor(4096 / S) blocks.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "base/memory/TanORNMemoryHeap.h"
#include "base/memory/TanSTLMSHeapAllocator.h"
#include "platform/core/Clock.h"

namespace nalloc {

template <unsigned S>
using DefaultPoolNodeAllocator = ORN_std::standard::TanSTLMSHeapAllocator<TanORNHeapMSMemorySegment<S>>;

// The two numeric arguments are 1 in every use and select nothing else.
template <unsigned S, int TArg1 = 1, int TArg2 = 1, class A = DefaultPoolNodeAllocator<S>>
class TanORNMemoryHeapAllocatorBasis {
 public:
  using Pool = TanORNMemoryHeap<S, A>;

  // Joins the pool of size S, creating it on the first use; throws
  // std::runtime_error("bad-allocation") when it cannot be made.
  TanORNMemoryHeapAllocatorBasis() {
    while (s_Creating.exchange(1) == 1) platform::Sleep(0);
    bool failed = false;
    if (s_UseCount.fetch_add(1) <= 0) {
      while (s_Pool.load() != nullptr) platform::Sleep(0);
      Pool* pool = nullptr;
      try {
        pool = new Pool(/*topDown=*/true);
      } catch (...) {
        pool = nullptr;
      }
      if (pool != nullptr) {
        s_Pool.store(pool);
      } else {
        s_UseCount.fetch_sub(1);
        failed = true;
      }
    }
    s_Creating.exchange(0);
    if (failed) throw std::runtime_error("bad-allocation");
  }

  ~TanORNMemoryHeapAllocatorBasis() {
    if (s_UseCount.fetch_sub(1) == 1) delete s_Pool.exchange(nullptr);
  }

  TanORNMemoryHeapAllocatorBasis(const TanORNMemoryHeapAllocatorBasis&) = delete;
  TanORNMemoryHeapAllocatorBasis& operator=(const TanORNMemoryHeapAllocatorBasis&) = delete;

  // S bytes, not cleared, or null.
  void* Allocate() {
    void* block = s_Pool.load()->Allocate();
    if (block != nullptr) s_UseCount.fetch_add(1);
    return block;
  }

  void Deallocate(void* block) {
    if (block == nullptr) return;
    s_Pool.load()->Deallocate(block);
    s_UseCount.fetch_sub(1);
  }

  // The pool's state, for tests and diagnostics.
  static Pool* PoolPointer() { return s_Pool.load(); }
  static int32_t UseCount() { return s_UseCount.load(); }

 private:
  static inline std::atomic<Pool*> s_Pool{nullptr};
  static inline std::atomic<int32_t> s_UseCount{0};
  static inline std::atomic<int32_t> s_Creating{0};
};

// The handle of the pool of an element class's size.
template <class TDDE, int TArg1 = 1, int TArg2 = 1,
          class A = DefaultPoolNodeAllocator<static_cast<unsigned>(sizeof(TDDE))>>
class TanORNMemoryHeapAllocator
    : public TanORNMemoryHeapAllocatorBasis<static_cast<unsigned>(sizeof(TDDE)), TArg1, TArg2, A> {
};

}  // namespace nalloc
