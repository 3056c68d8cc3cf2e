// A memory pool over a file mapping: reserve a size, then map and unmap windows of it.
#pragma once

#include <cstdint>
#include <string>

namespace ORN_std {

class iMEMORY_POOL {
 public:
  virtual ~iMEMORY_POOL() = default;
  // mappingName may be null (an unnamed mapping).
  virtual iMEMORY_POOL& Reserve(uint64_t size, const char* mappingName) = 0;
  virtual bool IsValid() = 0;
  // The address of the byte at offset, valid for bytes bytes; null on failure.
  virtual void* Map(uint64_t offset, uint64_t bytes) = 0;
  // Unmaps the view holding the pointer and nulls it; a null pointer does nothing.
  virtual iMEMORY_POOL& Unmap(void*& view) = 0;
  virtual iMEMORY_POOL& Unmap(unsigned char*& view) = 0;
  virtual uint64_t GetSize() = 0;
  virtual std::string GetLastErrorText() = 0;
};

}  // namespace ORN_std
