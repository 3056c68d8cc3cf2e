#include "platform/memory/MemoryFaults.h"

#include "platform/memory/MemoryFaultState.h"

namespace platform {

namespace faults {
std::atomic<bool> heapCreate{false};
std::atomic<bool> heapAlloc{false};
std::atomic<bool> pageReserve{false};
std::atomic<bool> pageCommit{false};
std::atomic<bool> taskAllocator{false};
std::atomic<int32_t> liveHeaps{0};
std::atomic<uint32_t> minimizeCalls{0};
}  // namespace faults

namespace testing {

void SetHeapCreateFails(bool f) { faults::heapCreate = f; }
void SetHeapAllocFails(bool f) { faults::heapAlloc = f; }
void SetPageReserveFails(bool f) { faults::pageReserve = f; }
void SetPageCommitFails(bool f) { faults::pageCommit = f; }
void SetTaskAllocatorUnavailable(bool f) { faults::taskAllocator = f; }

void ResetMemoryFaults() {
  faults::heapCreate = false;
  faults::heapAlloc = false;
  faults::pageReserve = false;
  faults::pageCommit = false;
  faults::taskAllocator = false;
}

int32_t LiveHeapCount() { return faults::liveHeaps.load(); }
uint32_t TaskAllocatorMinimizeCalls() { return faults::minimizeCalls.load(); }

}  // namespace testing
}  // namespace platform
