// The record of one page of a pool: the blocks of the page and the page's commit state.
#pragma once

#include "base/memory/PoolAssert.h"
#include "base/memory/TanMSMemoryRange.h"
#include "base/memory/TanMemoryChunkRegion.h"

namespace nalloc {

template <unsigned TSize, unsigned TLength>
class TanMemoryRange {
 public:
  void setup(void* address) {
    m_Region.reset();
    m_Range.setup(address);
  }

  bool commited() const { return m_Range.commited(); }
  // A block can be taken: the page is not committed yet (entirely free) or has a free block.
  bool available() const { return !commited() || m_Region.available(); }
  bool full() const { return commited() && !m_Region.available(); }
  bool empty() const { return !commited() || m_Region.empty(); }

  // Commits the page on first use; null when it cannot be committed.
  void* allocate() {
    if (!commited()) {
      if (!m_Range.commit()) return nullptr;
      m_Region.setup(m_Range.m_Address);
    }
    Check(available(), "available()", "uORNMemoryRange", 43);
    return m_Region.allocate();
  }

  // Gives the page back to the system as soon as its last block is freed.
  void deallocate(void* arg) {
    Check(commited() && validate(arg), "commited() && validate ( arg)", "uORNMemoryRange", 53);
    m_Region.deallocate(arg);
    if (m_Region.empty()) {
      if (m_Range.m_Host ? m_Range.release() : m_Range.decommit()) m_Region.reset();
    }
  }

  bool validate(const void* arg) const { return commited() && m_Region.validate(arg); }

  TanMemoryChunkRegion<TSize, TLength> m_Region;
  TanMSMemoryRange<TLength> m_Range;
};

}  // namespace nalloc
