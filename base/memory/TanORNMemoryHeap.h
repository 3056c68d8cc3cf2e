// A fixed-size pool shared by threads: the pool without locking plus one lock that every
// allocation and free holds. The pool object itself comes from the private heap of its size.
#pragma once

#include <mutex>

#include "base/memory/HeapAllocated.h"
#include "base/memory/TanMemoryHeap.h"

namespace nalloc {

template <unsigned TSize, class A>
class TanORNMemoryHeap : public HeapAllocated<TanORNMemoryHeap<TSize, A>> {
 public:
  using Heap = TanMemoryHeap<TSize, A>;
  using Node = typename Heap::Node;

  explicit TanORNMemoryHeap(bool topDown) : m_Heap(topDown) {}

  // One block of TSize bytes (not cleared), or null when no memory or list node can be had.
  void* Allocate() {
    Node* spare = nullptr;
    for (;;) {
      void* block = nullptr;
      bool done = false;
      {
        std::lock_guard<std::mutex> section(m_Section);
        if (!m_Heap.NeedsSegment() || spare != nullptr) {
          block = m_Heap.Allocate(spare);
          done = true;
        }
      }
      if (done) {
        if (spare != nullptr) Heap::FreeNode(spare);
        return block;
      }
      // A new segment needs a list node; its allocator may retry for 30 s, so outside the lock.
      spare = Heap::NewNode();
      if (spare == nullptr) return nullptr;
    }
  }

  void Deallocate(void* block) {
    Node* unused = nullptr;
    {
      std::lock_guard<std::mutex> section(m_Section);
      m_Heap.Deallocate(block, unused);
    }
    if (unused != nullptr) Heap::FreeNode(unused);
  }

  bool f_Validate(const void* arg) {
    std::lock_guard<std::mutex> section(m_Section);
    Node* i = nullptr;
    return m_Heap.f_Validate(arg, &i);
  }

  // The unlocked pool, for tests and diagnostics while no other thread uses it.
  const Heap& Unlocked() const { return m_Heap; }

 private:
  Heap m_Heap;
  std::mutex m_Section;
};

}  // namespace nalloc
