// One private heap per object size N, shared by the whole process. A handle is one use of the
// heap; every block handed out is one more. The heap is created by the first use and destroyed
// by the last, so it lives exactly while something of its size does. N = 0 serves any byte
// count. Blocks are zero-filled.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "platform/core/Clock.h"
#include "platform/memory/PrivateHeap.h"

namespace nalloc {

template <std::size_t N>
class TanMSMemoryHeapAllocator {
 public:
  // Joins the size class, creating its heap on the first use; throws
  // std::runtime_error("bad-allocation") when the heap cannot be created.
  TanMSMemoryHeapAllocator() {
    // The creation flag serialises joins; waiters yield.
    while (s_Creating.exchange(1) == 1) platform::Sleep(0);
    bool failed = false;
    if (s_UseCount.fetch_add(1) <= 0) {
      // First use: a previous last user may have counted down but not yet taken its heap out.
      while (s_Heap.load() != nullptr) platform::Sleep(0);
      platform::PrivateHeap* heap = platform::HeapCreate();
      if (heap != nullptr) {
        s_Heap.store(heap);
      } else {
        s_UseCount.fetch_sub(1);
        failed = true;
      }
    }
    s_Creating.exchange(0);
    if (failed) throw std::runtime_error("bad-allocation");
  }

  // Leaves the size class; the last use destroys the heap.
  ~TanMSMemoryHeapAllocator() { Leave(); }

  TanMSMemoryHeapAllocator(const TanMSMemoryHeapAllocator&) = delete;
  TanMSMemoryHeapAllocator& operator=(const TanMSMemoryHeapAllocator&) = delete;

  // N zero-filled bytes, or null when the heap is full.
  void* Allocate() requires(N > 0) { return Take(N); }

  // That many zero-filled bytes, or null when the heap is full; 0 bytes give null.
  void* Allocate(uint32_t bytes) { return bytes == 0 ? nullptr : Take(bytes); }

  // Returns a block of this size class; null does nothing.
  void Deallocate(void* block) {
    if (block == nullptr) return;
    platform::PrivateHeap* heap = s_Heap.load();
    platform::HeapValidate(heap, block);  // diagnostic only
    platform::HeapFree(heap, block);
    platform::HeapCompact(heap);
    s_UseCount.fetch_sub(1);
  }

  // The class's state, for tests and diagnostics.
  static platform::PrivateHeap* Heap() { return s_Heap.load(); }
  static int32_t UseCount() { return s_UseCount.load(); }

 private:
  static void* Take(std::size_t bytes) {
    void* block = platform::HeapAlloc(s_Heap.load(), bytes);
    if (block != nullptr) s_UseCount.fetch_add(1);
    return block;
  }

  static void Leave() {
    if (s_UseCount.fetch_sub(1) == 1) platform::HeapDestroy(s_Heap.exchange(nullptr));
  }

  static inline std::atomic<platform::PrivateHeap*> s_Heap{nullptr};
  static inline std::atomic<int32_t> s_UseCount{0};
  static inline std::atomic<int32_t> s_Creating{0};
};

}  // namespace nalloc
