// The blocks of one page of TLength bytes, split into chunks of at most 256 blocks, with a free
// list of the chunks that have a free block. A region not set up counts as entirely free.
#pragma once

#include <cstdint>

#include "base/memory/PoolAssert.h"
#include "base/memory/TanMemoryChunk.h"

namespace nalloc {

template <unsigned TSize, unsigned TLength>
class TanMemoryChunkRegion {
  static_assert(TLength && TSize, "TLength && TSize");
  static_assert(TSize <= TLength, "a page holds at least one block");

 public:
  static constexpr unsigned kBlocks = TLength / TSize;
  static constexpr unsigned kChunkBlocks = TanMemoryChunk<TSize>::MAX_MEMORY_CHUNK_SIZE;
  static constexpr unsigned kChunks = (kBlocks + kChunkBlocks - 1) / kChunkBlocks;

  void setup(void* address) {
    Check(address != nullptr, "address", "uORNMemoryChunkRegion", 69);
    m_Address = static_cast<unsigned char*>(address);
    m_ChunkCount = kChunks;
    m_AvailCount = kChunks;
    m_FirstFree = 0;
    for (unsigned i = 0; i < kChunks; ++i) {
      m_NextFree[i] = static_cast<int32_t>(i + 1);
      const unsigned count = i + 1 < kChunks ? kChunkBlocks : kBlocks - i * kChunkBlocks;
      m_Chunks[i].setup(m_Address + i * kChunkBlocks * TSize, count);
    }
  }

  void reset() {
    m_Address = nullptr;
    m_ChunkCount = 0;
    m_AvailCount = 0;
    m_FirstFree = 0;
  }

  void* allocate() {
    Check(m_AvailCount > 0, "m_AvailCount>0", "uORNMemoryChunkRegion", 100);
    TanMemoryChunk<TSize>& chunk = m_Chunks[m_FirstFree];
    void* block = chunk.allocate();
    if (chunk.full()) {
      m_FirstFree = m_NextFree[m_FirstFree];
      --m_AvailCount;
    }
    return block;
  }

  void deallocate(void* arg) {
    Check(validate(arg), "validate( arg)", "uORNMemoryChunkRegion", 116);
    const auto a = static_cast<int32_t>(Offset(arg) / (kChunkBlocks * TSize));
    if (a != m_FirstFree && m_Chunks[a].full()) {
      m_NextFree[a] = m_FirstFree;
      m_FirstFree = a;
      ++m_AvailCount;
    }
    m_Chunks[a].deallocate(arg);
  }

  bool validate(const void* arg) const {
    Check(m_Address != nullptr, "m_Address", "uORNMemoryChunkRegion", 132);
    if (reinterpret_cast<uintptr_t>(arg) < reinterpret_cast<uintptr_t>(m_Address)) return false;
    const uintptr_t a = Offset(arg) / (kChunkBlocks * TSize);
    return a < static_cast<uintptr_t>(m_ChunkCount) && m_Chunks[a].validate(arg);
  }

  // Some chunk has a free block.
  bool available() const { return m_AvailCount > 0; }

  bool empty() const {
    for (int32_t i = 0; i < m_ChunkCount; ++i)
      if (!m_Chunks[i].empty()) return false;
    return true;
  }

  unsigned char* m_Address = nullptr;
  int32_t m_ChunkCount = 0;
  int32_t m_AvailCount = 0;
  int32_t m_FirstFree = 0;
  int32_t m_NextFree[kChunks] = {};
  TanMemoryChunk<TSize> m_Chunks[kChunks];

 private:
  uintptr_t Offset(const void* arg) const {
    return reinterpret_cast<uintptr_t>(arg) - reinterpret_cast<uintptr_t>(m_Address);
  }
};

}  // namespace nalloc
