// The interface of the in-memory pixel operations the icon builder runs on one frame. Every
// operation works on a caller-owned buffer, takes lengths in bytes, returns the number of bytes
// it produced (0 on failure) and keeps the text of its last failure.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ORN_image {

class iSTATIC_IMAGE_OPERATION {
 public:
  virtual ~iSTATIC_IMAGE_OPERATION() = default;
  // In place.
  virtual size_t Apply(uint8_t* buffer, size_t length) = 0;
  // From the source into the destination.
  virtual size_t Apply(const uint8_t* source, size_t length, uint8_t* destination) = 0;
  virtual size_t GetOutputSize(size_t length) = 0;
  // Empty when the last call succeeded.
  virtual const char* GetErrorText() = 0;
};

}  // namespace ORN_image
