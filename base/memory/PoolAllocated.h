// Mixin that gives an element class its class-level new and delete through the element pool of
// its own size: class X : public nalloc::PoolAllocated<X> { ... };
// new X yields null when the pool has no memory and throws std::runtime_error("bad-allocation")
// when the pool cannot be made (see ClassOperators.h). Blocks are not cleared.
#pragma once

#include "base/memory/ClassOperators.h"
#include "base/memory/TanORNMemoryHeapAllocator.h"

namespace nalloc {

namespace detail {
struct PoolSource {
  template <class T>
  static void* Take() {
    TanORNMemoryHeapAllocator<T> handle;
    return handle.Allocate();
  }
  template <class T>
  static void Give(void* block) noexcept {
    TanORNMemoryHeapAllocator<T> handle;  // the pool exists while the block does
    handle.Deallocate(block);
  }
};
}  // namespace detail

template <class T>
class PoolAllocated : public detail::ClassOperators<T, detail::PoolSource> {};

}  // namespace nalloc
