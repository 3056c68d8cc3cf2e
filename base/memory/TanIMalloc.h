// Holder of the COM task allocator. One process-wide holder is made before main runs; the STL
// heap allocator asks it to minimise between its retries.
#pragma once

#include "platform/memory/TaskAllocator.h"

namespace ORN_std {

class TanIMalloc {
 public:
  TanIMalloc();  // empty when the task allocator cannot be had
  ~TanIMalloc();
  TanIMalloc(const TanIMalloc&) = delete;
  TanIMalloc& operator=(const TanIMalloc&) = delete;

  platform::ITaskAllocator* Get() const { return FMalloc; }

  // The process-wide holder.
  static TanIMalloc& Process();

 private:
  platform::ITaskAllocator* FMalloc;
};

}  // namespace ORN_std
