// A run of at most 256 blocks of TSize bytes. The free blocks form a list through their first
// byte, which holds the index of the next free block; so a block carries no header.
#pragma once

#include <cstdint>

#include "base/memory/PoolAssert.h"

namespace nalloc {

template <unsigned TSize>
class TanMemoryChunk {
 public:
  static constexpr unsigned MAX_MEMORY_CHUNK_SIZE = 256;

  void setup(unsigned char* data, unsigned count) {
    Check(count <= MAX_MEMORY_CHUNK_SIZE, "m_AvailCount <= MAX_MEMORY_CHUNK_SIZE",
          "uORNMemoryChunk", 95);
    m_Data = data;
    m_BlockCount = static_cast<uint16_t>(count);
    m_AvailFirst = 0;
    m_AvailCount = static_cast<uint16_t>(count);
    for (unsigned j = 0; j < count; ++j) data[j * TSize] = static_cast<unsigned char>(j + 1);
  }

  void* allocate() {
    Check(m_Data != nullptr, "m_Data", "uORNMemoryChunk", 109);
    unsigned char* block = m_Data + m_AvailFirst * TSize;
    m_AvailFirst = *block;
    --m_AvailCount;
    return block;
  }

  void deallocate(void* arg) {
    Check(validate(arg), "validate( arg)", "uORNMemoryChunk", 126);
    auto* ptr = static_cast<unsigned char*>(arg);
    *ptr = static_cast<unsigned char>(m_AvailFirst);
    m_AvailFirst = static_cast<uint16_t>((ptr - m_Data) / TSize);
    Check(m_AvailFirst == static_cast<unsigned char>((ptr - m_Data) / TSize),
          "m_AvailFirst == static_cast<unsigned char>( (ptr-m_Data)/TSize)", "uORNMemoryChunk",
          130);
    ++m_AvailCount;
  }

  // Whether arg is a block of this chunk, at a block boundary.
  bool validate(const void* arg) const {
    Check(m_Data != nullptr, "m_Data", "uORNMemoryChunk", 138);
    const auto p = reinterpret_cast<uintptr_t>(arg);
    const auto data = reinterpret_cast<uintptr_t>(m_Data);
    return p >= data && p - data < uintptr_t{m_BlockCount} * TSize && (p - data) % TSize == 0;
  }

  bool full() const { return m_AvailCount == 0; }
  bool empty() const { return m_AvailCount == m_BlockCount; }

  unsigned char* m_Data = nullptr;
  uint16_t m_BlockCount = 0;
  uint16_t m_AvailFirst = 0;
  uint16_t m_AvailCount = 0;
};

}  // namespace nalloc
