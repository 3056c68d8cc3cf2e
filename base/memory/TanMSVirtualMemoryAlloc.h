// Allocator over whole committed pages of virtual memory (zero-filled), for large buffers.
#pragma once

#include "base/memory/iALLOCATOR.h"

namespace ORN_std {

class TanMSVirtualMemoryAlloc : public iALLOCATOR {
 public:
  TanMSVirtualMemoryAlloc() = default;
  virtual ~TanMSVirtualMemoryAlloc() = default;

  // A size of 0 gives null.
  void* Allocate(uint64_t size) override;
  // A new region with the old block's bytes (as many as both hold), the old block released;
  // size 0 releases the block and gives null. On failure the old block stays as it was.
  void* Reallocate(uint64_t size, void* block) override;
  // Releases a block that Allocate gave; any other address raises code 13.
  TanMSVirtualMemoryAlloc& Free(void* block) override;
  // Asks the COM task allocator to give its free memory back.
  TanMSVirtualMemoryAlloc& Minimize() override;
  bool IsValid() override { return true; }
};

}  // namespace ORN_std
