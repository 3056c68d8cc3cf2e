// Private heaps, in place of HeapCreate / HeapAlloc / HeapFree / HeapValidate / HeapCompact /
// HeapDestroy. A heap is serialised (any thread may use it), grows without limit, hands out
// zero-filled blocks and frees every block still on it when it is destroyed.
#pragma once

#include <cstddef>

namespace platform {

struct PrivateHeap;  // opaque heap handle

// Null on failure, with the last error set.
PrivateHeap* HeapCreate();

// Frees every block of the heap and the heap itself. False for a null heap.
bool HeapDestroy(PrivateHeap* heap);

// A zero-filled block of size bytes, or null when the heap is full (no exception).
void* HeapAlloc(PrivateHeap* heap, std::size_t size);

// Returns a block of this heap; false (InvalidParameter) for a block the heap does not hold.
bool HeapFree(PrivateHeap* heap, void* block);

// Whether the block is a live block of this heap.
bool HeapValidate(PrivateHeap* heap, const void* block);

// Gives free space back to the system where it can; returns the largest free block (0 here:
// every block is returned to the system allocator when freed).
std::size_t HeapCompact(PrivateHeap* heap);

}  // namespace platform
