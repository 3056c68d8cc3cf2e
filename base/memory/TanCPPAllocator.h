// Allocator over the runtime's array new and delete.
#pragma once

#include "base/memory/iALLOCATOR.h"

namespace ORN_std {

class TanCPPAllocator : public iALLOCATOR {
 public:
  TanCPPAllocator() = default;
  virtual ~TanCPPAllocator() = default;

  // A size of 0 gives a valid block of no bytes.
  void* Allocate(uint64_t size) override;
  // Without a block as Allocate; an existing block is returned as it is (it does not grow).
  void* Reallocate(uint64_t size, void* block) override;
  TanCPPAllocator& Free(void* block) override;
  TanCPPAllocator& Minimize() override { return *this; }
  bool IsValid() override { return true; }
};

}  // namespace ORN_std
