// A fixed-size pool without locking: a doubly linked list of 64 KiB segments with an end node,
// and the current segment blocks are taken from. Every segment before the current one is full;
// the current one and those after it have an available page. A new segment is reserved only
// when all are full; a segment is released as soon as it is empty.
//
// The list nodes come from allocator A (the private heap of the node's size), which may give
// null: the locking layer above gets a node before it takes its lock and hands it in as the
// spare, so no node is ever built in a null block and no lock is held while A retries.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

#include "base/memory/PoolAssert.h"
#include "base/memory/TanORNHeapMSMemoryPages.h"

namespace nalloc {

template <unsigned TSize, class A>
class TanMemoryHeap {
 public:
  using Segment = TanORNHeapMSMemorySegment<TSize>;
  struct Node {
    Node* prev = nullptr;
    Node* next = nullptr;
    Segment segment;
  };
  using NodeAllocator = typename std::allocator_traits<A>::template rebind_alloc<Node>;

  // Throws std::runtime_error("bad-allocation") when no end node can be had.
  explicit TanMemoryHeap(bool topDown) : m_TopDown(topDown) {
    Node* end = NodeAllocator().allocate(1);
    if (end == nullptr) throw std::runtime_error("bad-allocation");
    m_End = new (end) Node();
    m_End->prev = m_End->next = m_End;
    m_Current = m_End;
  }

  ~TanMemoryHeap() {
    for (Node* node = m_End->next; node != m_End;) {
      Node* next = node->next;
      DeleteNode(node);
      node = next;
    }
    DeleteNode(m_End);
  }

  TanMemoryHeap(const TanMemoryHeap&) = delete;
  TanMemoryHeap& operator=(const TanMemoryHeap&) = delete;

  // Whether the next allocation must add a segment (it then needs a spare node).
  bool NeedsSegment() const { return m_Current == m_End; }

  // One block, or null. A segment added takes the spare node (spare becomes null); a segment
  // that could not commit its first page is taken out again and its node left in spare.
  void* Allocate(Node*& spare) {
    if (m_Current == m_End) {
      if (spare == nullptr) return nullptr;
      Segment segment;
      if (!segment.reserve(m_TopDown)) return nullptr;
      Node* node = new (spare) Node{nullptr, nullptr, std::move(segment)};
      spare = nullptr;
      Link(node, m_End);
      m_Current = node;
    }
    Node* node = m_Current;
    void* block = node->segment.allocate();
    if (block == nullptr) {
      if (node->segment.empty()) {
        m_Current = node->next;
        Unlink(node);
        node->~Node();
        spare = node;
      }
      return nullptr;
    }
    if (node->segment.full()) m_Current = node->next;
    return block;
  }

  // Gives a block back. When that empties its segment, the segment is released and its node
  // left in unused, for the caller to return to the node allocator.
  void Deallocate(void* arg, Node*& unused) {
    Node* i = nullptr;
    Check(f_Validate(arg, &i), "f_Validate( arg, &i)", "uORNMSHeap", 106);
    if (i != m_Current && i->segment.full()) {
      Unlink(i);
      Link(i, m_Current);
      m_Current = i;
    }
    i->segment.deallocate(arg);
    if (i->segment.empty()) {
      if (i == m_Current) m_Current = i->next;
      Unlink(i);
      i->~Node();
      unused = i;
    }
  }

  // Whether some segment holds the block; i receives that segment's node.
  bool f_Validate(const void* arg, Node** i) const {
    for (Node* node = m_End->next; node != m_End; node = node->next) {
      if (node->segment.validate(arg)) {
        *i = node;
        return true;
      }
    }
    return false;
  }

  static Node* NewNode() { return NodeAllocator().allocate(1); }
  static void FreeNode(Node* storage) { NodeAllocator().deallocate(storage, 1); }

  // Read-only views of the list, for tests and diagnostics.
  std::size_t SegmentCount() const {
    std::size_t n = 0;
    for (Node* node = m_End->next; node != m_End; node = node->next) ++n;
    return n;
  }
  const Segment* SegmentAt(std::size_t index) const {
    Node* node = m_End->next;
    for (; node != m_End && index > 0; node = node->next) --index;
    return node == m_End ? nullptr : &node->segment;
  }
  // The current segment, or null when it is the list end.
  const Segment* CurrentSegment() const {
    return m_Current == m_End ? nullptr : &m_Current->segment;
  }

 private:
  static void DeleteNode(Node* node) {
    node->~Node();
    FreeNode(node);
  }
  // Puts node just before pos.
  static void Link(Node* node, Node* pos) {
    node->prev = pos->prev;
    node->next = pos;
    pos->prev->next = node;
    pos->prev = node;
  }
  static void Unlink(Node* node) {
    node->prev->next = node->next;
    node->next->prev = node->prev;
  }

  Node* m_End = nullptr;
  Node* m_Current = nullptr;
  bool m_TopDown;
};

}  // namespace nalloc
