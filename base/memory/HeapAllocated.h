// Mixin that gives a class its class-level new and delete through the private heap of its own
// size: class X : public nalloc::HeapAllocated<X> { ... };
// The size class is sizeof(X) on this platform, so classes of equal size share one heap.
// new X yields null when the heap is full and throws std::runtime_error("bad-allocation") when
// the heap cannot be created (see ClassOperators.h).
#pragma once

#include "base/memory/ClassOperators.h"
#include "base/memory/TanMSMemoryHeapAllocator.h"

namespace nalloc {

namespace detail {
struct HeapSource {
  template <class T>
  static void* Take() {
    TanMSMemoryHeapAllocator<sizeof(T)> handle;
    return handle.Allocate();
  }
  template <class T>
  static void Give(void* block) noexcept {
    TanMSMemoryHeapAllocator<sizeof(T)> handle;  // the heap exists while the block does
    handle.Deallocate(block);
  }
};
}  // namespace detail

template <class T>
class HeapAllocated : public detail::ClassOperators<T, detail::HeapSource> {};

}  // namespace nalloc
