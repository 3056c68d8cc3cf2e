#include "platform/memory/TaskAllocator.h"

#include <malloc.h>

#include <atomic>

#include "platform/core/LastError.h"
#include "platform/memory/MemoryFaultState.h"

namespace platform {

namespace {

// One process-wide allocator over the C heap; it is never destroyed, so holders released
// during static destruction still find it.
class TaskAllocator final : public ITaskAllocator {
 public:
  void HeapMinimize() override {
    faults::minimizeCalls.fetch_add(1);
    malloc_trim(0);
  }
  uint32_t Release() override { return refs_.fetch_sub(1) - 1; }
  void AddRef() { refs_.fetch_add(1); }

 private:
  std::atomic<uint32_t> refs_{1};
};

}  // namespace

ITaskAllocator* GetTaskAllocator() {
  if (faults::taskAllocator) {
    SetLastError(err::OutOfMemory);
    return nullptr;
  }
  static auto* allocator = new TaskAllocator();
  allocator->AddRef();
  return allocator;
}

}  // namespace platform
