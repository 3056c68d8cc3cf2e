// The COM task allocator, as far as the memory code uses it (CoGetMalloc(1), HeapMinimize,
// Release). A small interface of our own; the COM layer proper lives elsewhere.
#pragma once

#include <cstdint>

namespace platform {

class ITaskAllocator {
 public:
  // Gives free memory of the allocator back to the system.
  virtual void HeapMinimize() = 0;
  // Ends one reference obtained from GetTaskAllocator; returns the references left.
  virtual uint32_t Release() = 0;

 protected:
  ~ITaskAllocator() = default;
};

// The process's task allocator with one more reference, or null when it is unavailable.
ITaskAllocator* GetTaskAllocator();

}  // namespace platform
