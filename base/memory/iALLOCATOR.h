// The base library's allocator interface. Allocators are stateless: a user makes a temporary
// one around each call. Every failure is a TanORNStdAllocatorException.
#pragma once

#include <cstdint>

namespace ORN_std {

class iALLOCATOR {
 public:
  virtual void* Allocate(uint64_t size) = 0;
  virtual void* Reallocate(uint64_t size, void* block) = 0;
  virtual iALLOCATOR& Free(void* block) = 0;
  virtual iALLOCATOR& Minimize() = 0;
  virtual bool IsValid() = 0;

 protected:
  // Not virtual: allocators are never deleted through the interface.
  ~iALLOCATOR() = default;
};

}  // namespace ORN_std
