// A fixed-size pool without locking: a doubly linked list of 64 KiB segments with an end node,
// and the current segment blocks are taken from. Every segment before the current one is full;
// the current one and those after it have an available page. A new segment is reserved only
// when all are full; a segment is released as soon as it is empty.
//
// Every segment is also filed in an index by the 64 KiB window its reservation starts in, so a
// freed block finds its segment without walking the list: a segment spans at most two windows,
// so the block's window and the one before it are the only places to look. The index is a
// chained hash table through the nodes; it starts inline and grows into pages of its own,
// and when it cannot grow it keeps working with longer chains.
//
// The list nodes come from allocator A (the private heap of the node's size), which may give
// null: the locking layer above gets a node before it takes its lock and hands it in as the
// spare, so no node is ever built in a null block and no lock is held while A retries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

#include "base/memory/PoolAssert.h"
#include "base/memory/TanORNHeapMSMemoryPages.h"
#include "platform/memory/VirtualMemory.h"

namespace nalloc {

template <unsigned TSize, class A>
class TanMemoryHeap {
 public:
  using Segment = TanORNHeapMSMemorySegment<TSize>;
  struct Node {
    Node* prev = nullptr;
    Node* next = nullptr;
    Segment segment;
    Node* bucketNext = nullptr;  // the next node in the same index bucket
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
    if (m_Buckets != m_Inline) platform::ReleasePages(m_Buckets);
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
      Index(node);
      m_Current = node;
    }
    Node* node = m_Current;
    void* block = node->segment.allocate();
    if (block == nullptr) {
      if (node->segment.empty()) {
        m_Current = node->next;
        Unlink(node);
        Unindex(node);
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
      Unindex(i);
      i->~Node();
      unused = i;
    }
  }

  // Whether some segment holds the block; i receives that segment's node.
  bool f_Validate(const void* arg, Node** i) const {
    const uintptr_t window = Window(arg);
    for (uintptr_t start : {window, window - 1}) {
      for (Node* node = m_Buckets[Bucket(start)]; node != nullptr; node = node->bucketNext) {
        if (Window(node->segment.m_Address) == start && node->segment.validate(arg)) {
          *i = node;
          return true;
        }
      }
    }
    return false;
  }

  static Node* NewNode() { return NodeAllocator().allocate(1); }
  static void FreeNode(Node* storage) { NodeAllocator().deallocate(storage, 1); }

  // Read-only views of the list and its index, for tests and diagnostics.
  std::size_t BucketCount() const { return m_BucketCount; }

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

  static constexpr unsigned kInlineBits = 6;
  static constexpr std::size_t kInlineBuckets = std::size_t{1} << kInlineBits;
  static constexpr unsigned kWindowShift = 16;  // 64 KiB, the size of a segment

  static uintptr_t Window(const void* address) {
    return reinterpret_cast<uintptr_t>(address) >> kWindowShift;
  }
  std::size_t Bucket(uintptr_t window) const {
    return static_cast<std::size_t>((window * 0x9E3779B97F4A7C15ull) >> (64 - m_BucketBits));
  }
  void Insert(Node* node) {
    Node*& head = m_Buckets[Bucket(Window(node->segment.m_Address))];
    node->bucketNext = head;
    head = node;
  }

  // Files a segment just linked into the list, doubling the table when it holds two segments
  // a bucket (the rehash files the new segment with the others).
  void Index(Node* node) {
    if (++m_Indexed > 2 * m_BucketCount && Rehash(m_BucketBits + 1)) return;
    Insert(node);
  }

  void Unindex(Node* node) {
    Node** link = &m_Buckets[Bucket(Window(node->segment.m_Address))];
    while (*link != node) link = &(*link)->bucketNext;
    *link = node->bucketNext;
    node->bucketNext = nullptr;
    // The last segment gone: a table grown for a large load goes back to the system.
    if (--m_Indexed == 0 && m_Buckets != m_Inline) {
      platform::ReleasePages(m_Buckets);
      m_Buckets = m_Inline;
      m_BucketBits = kInlineBits;
      m_BucketCount = kInlineBuckets;
      for (auto& head : m_Inline) head = nullptr;
    }
  }

  // Moves every listed segment into a table of 2^bits buckets; keeps the old one when the
  // pages cannot be had.
  bool Rehash(unsigned bits) {
    const std::size_t count = std::size_t{1} << bits;
    auto** table = static_cast<Node**>(platform::AllocatePages(count * sizeof(Node*), m_TopDown));
    if (table == nullptr) return false;  // zero-filled: every bucket starts empty
    if (m_Buckets != m_Inline) platform::ReleasePages(m_Buckets);
    m_Buckets = table;
    m_BucketBits = bits;
    m_BucketCount = count;
    for (Node* node = m_End->next; node != m_End; node = node->next) Insert(node);
    return true;
  }

  Node* m_End = nullptr;
  Node* m_Current = nullptr;
  bool m_TopDown;
  Node* m_Inline[kInlineBuckets] = {};
  Node** m_Buckets = m_Inline;
  unsigned m_BucketBits = kInlineBits;
  std::size_t m_BucketCount = kInlineBuckets;
  std::size_t m_Indexed = 0;
};

}  // namespace nalloc
