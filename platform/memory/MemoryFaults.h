// Test hooks of the memory stand-in: make the next calls fail as an exhausted system would.
// Each setting holds until it is changed; ScopedMemoryFaults resets all of them on exit.
#pragma once

#include <cstdint>

namespace platform::testing {

void SetHeapCreateFails(bool fails);        // HeapCreate gives null (NotEnoughMemory)
void SetHeapAllocFails(bool fails);         // HeapAlloc gives null: every heap is full
void SetPageReserveFails(bool fails);       // ReservePages / AllocatePages give null
void SetPageCommitFails(bool fails);        // CommitPages / AllocatePages fail
void SetTaskAllocatorUnavailable(bool unavailable);  // GetTaskAllocator gives null
void ResetMemoryFaults();

class ScopedMemoryFaults {
 public:
  ScopedMemoryFaults() { ResetMemoryFaults(); }
  ~ScopedMemoryFaults() { ResetMemoryFaults(); }
  ScopedMemoryFaults(const ScopedMemoryFaults&) = delete;
  ScopedMemoryFaults& operator=(const ScopedMemoryFaults&) = delete;
};

// Observers for tests.
int32_t LiveHeapCount();                  // private heaps created and not yet destroyed
uint32_t TaskAllocatorMinimizeCalls();    // HeapMinimize calls on the task allocator so far

}  // namespace platform::testing
