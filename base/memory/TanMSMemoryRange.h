// One page of virtual memory and its commit state. A page of a pool lies inside its segment's
// reservation (m_Host false); a host range owns a page of its own.
#pragma once

#include "base/memory/PoolAssert.h"
#include "platform/memory/VirtualMemory.h"

namespace nalloc {

template <unsigned TLength>
class TanMSMemoryRange {
 public:
  TanMSMemoryRange() = default;
  TanMSMemoryRange(const TanMSMemoryRange&) = default;
  TanMSMemoryRange& operator=(const TanMSMemoryRange&) = default;

  ~TanMSMemoryRange() {
    if (m_Commited)
      Check(m_Host ? release() : decommit(), "m_Host ? release() : decommit()",
            "uORNMSMemoryRange", 56);
  }

  // A page inside a reservation, not committed.
  void setup(void* address) {
    m_Host = false;
    m_Address = address;
    m_Commited = false;
    Check(m_Address != nullptr, "m_Address", "uORNMSMemoryRange", 28);
  }

  // False when the system gives no memory; the caller then hands out no block.
  bool commit() {
    if (m_Host) {
      m_Address = platform::AllocatePages(TLength, /*topDown=*/false);
      m_Commited = m_Address != nullptr;
    } else {
      m_Commited = platform::CommitPages(m_Address, TLength);
    }
    return m_Commited;
  }

  bool decommit() {
    if (platform::DecommitPages(m_Address, TLength)) m_Commited = false;
    Check(!m_Commited, "!m_Commited", "uORNMSMemoryRange", 107);
    return true;
  }

  bool release() {
    if (platform::ReleasePages(m_Address)) {
      m_Address = nullptr;
      m_Commited = false;
    }
    Check(!m_Commited, "!m_Commited", "uORNMSMemoryRange", 93);
    return true;
  }

  // The reservation holding the page was released as a whole.
  void forget() { m_Commited = false; }

  bool commited() const { return m_Commited; }

  bool m_Host = false;
  void* m_Address = nullptr;
  bool m_Commited = false;
};

}  // namespace nalloc
