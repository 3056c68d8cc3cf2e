#include "platform/memory/PrivateHeap.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <unordered_set>

#include "platform/core/LastError.h"
#include "platform/memory/MemoryFaultState.h"

namespace platform {

// Blocks come from the C allocator; the heap keeps the set of its live blocks so that it can
// validate a block and free them all when destroyed.
struct PrivateHeap {
  std::mutex lock;
  std::unordered_set<void*> blocks;
};

PrivateHeap* HeapCreate() {
  if (faults::heapCreate) {
    SetLastError(err::NotEnoughMemory);
    return nullptr;
  }
  auto* heap = new (std::nothrow) PrivateHeap();
  if (heap == nullptr) {
    SetLastError(err::NotEnoughMemory);
    return nullptr;
  }
  faults::liveHeaps.fetch_add(1);
  return heap;
}

bool HeapDestroy(PrivateHeap* heap) {
  if (heap == nullptr) {
    SetLastError(err::InvalidHandle);
    return false;
  }
  for (void* block : heap->blocks) std::free(block);
  delete heap;
  faults::liveHeaps.fetch_sub(1);
  return true;
}

void* HeapAlloc(PrivateHeap* heap, std::size_t size) {
  if (heap == nullptr || faults::heapAlloc) return nullptr;
  void* block = std::calloc(1, size == 0 ? 1 : size);
  if (block == nullptr) return nullptr;
  try {
    std::lock_guard<std::mutex> guard(heap->lock);
    heap->blocks.insert(block);
  } catch (...) {
    std::free(block);
    return nullptr;
  }
  return block;
}

bool HeapFree(PrivateHeap* heap, void* block) {
  if (heap == nullptr || block == nullptr) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  {
    std::lock_guard<std::mutex> guard(heap->lock);
    if (heap->blocks.erase(block) == 0) {
      SetLastError(err::InvalidParameter);
      return false;
    }
  }
  std::free(block);
  return true;
}

bool HeapValidate(PrivateHeap* heap, const void* block) {
  if (heap == nullptr) return false;
  std::lock_guard<std::mutex> guard(heap->lock);
  if (block == nullptr) return true;  // the whole heap: always consistent here
  return heap->blocks.count(const_cast<void*>(block)) != 0;
}

std::size_t HeapCompact(PrivateHeap* heap) {
  if (heap == nullptr) SetLastError(err::InvalidHandle);
  return 0;
}

}  // namespace platform
