// One segment of a pool: a reservation of TCount pages of 4096 bytes, committed page by page,
// with a list of the pages a block can be taken from. Moving a segment hands its reservation
// over, so only one object ever releases it.
#pragma once

#include <cstdint>
#include <utility>

#include "base/memory/PoolAssert.h"
#include "base/memory/TanMemoryRange.h"
#include "platform/memory/VirtualMemory.h"

namespace nalloc {

template <unsigned TSize, unsigned TCount>
class TanORNHeapMSMemoryPages {
 public:
  static constexpr unsigned kPageSize = 4096;

  TanORNHeapMSMemoryPages() = default;
  TanORNHeapMSMemoryPages(TanORNHeapMSMemoryPages&& other) noexcept { *this = std::move(other); }
  TanORNHeapMSMemoryPages& operator=(TanORNHeapMSMemoryPages&& other) noexcept {
    if (this == &other) return *this;
    release();
    m_Address = other.m_Address;
    m_PageCount = other.m_PageCount;
    m_AvailCount = other.m_AvailCount;
    m_FirstAvail = other.m_FirstAvail;
    for (unsigned i = 0; i < TCount; ++i) {
      m_NextAvail[i] = other.m_NextAvail[i];
      m_Pages[i] = other.m_Pages[i];
      other.m_Pages[i].m_Range.forget();
    }
    other.m_Address = nullptr;
    return *this;
  }
  ~TanORNHeapMSMemoryPages() = default;

  // Reserves the segment's address space; false when the system refuses it.
  bool reserve(bool topDown) {
    m_Address = static_cast<unsigned char*>(platform::ReservePages(TCount * kPageSize, topDown));
    if (m_Address == nullptr) return false;
    m_PageCount = TCount;
    m_AvailCount = TCount;
    m_FirstAvail = 0;
    for (unsigned i = 0; i < TCount; ++i) {
      m_Pages[i].setup(m_Address + i * kPageSize);
      m_NextAvail[i] = static_cast<int32_t>(i + 1);
    }
    return true;
  }

  void release() {
    if (m_Address == nullptr) return;
    Check(platform::ReleasePages(m_Address), "VirtualFree( m_Address, 0, MEM_RELEASE)",
          "uORNHeapMSMemoryPages", 120);
    m_Address = nullptr;
    for (auto& page : m_Pages) page.m_Range.forget();
  }

  // A block of the first available page; null when that page cannot be committed.
  void* allocate() {
    Check(m_AvailCount > 0, "m_AvailCount>0", "uORNHeapMSMemoryPages", 145);
    TanMemoryRange<TSize, kPageSize>& page = m_Pages[m_FirstAvail];
    void* block = page.allocate();
    if (block != nullptr && page.full()) {
      m_FirstAvail = m_NextAvail[m_FirstAvail];
      --m_AvailCount;
    }
    return block;
  }

  void deallocate(void* arg) {
    Check(validate(arg), "validate( arg)", "uORNHeapMSMemoryPages", 161);
    const auto b = static_cast<int32_t>(Offset(arg) / kPageSize);
    if (b != m_FirstAvail && m_Pages[b].full()) {
      m_NextAvail[b] = m_FirstAvail;
      m_FirstAvail = b;
      ++m_AvailCount;
    }
    m_Pages[b].deallocate(arg);
  }

  bool validate(const void* arg) const {
    Check(m_Address != nullptr, "m_Address", "uORNHeapMSMemoryPages", 185);
    if (reinterpret_cast<uintptr_t>(arg) < reinterpret_cast<uintptr_t>(m_Address)) return false;
    const uintptr_t b = Offset(arg) / kPageSize;
    return b < TCount && m_Pages[b].validate(arg);
  }

  bool full() const { return m_AvailCount == 0; }
  bool empty() const {
    for (const auto& page : m_Pages)
      if (!page.empty()) return false;
    return true;
  }

  unsigned char* m_Address = nullptr;
  int32_t m_PageCount = 0;
  int32_t m_AvailCount = 0;
  int32_t m_FirstAvail = 0;
  int32_t m_NextAvail[TCount] = {};
  TanMemoryRange<TSize, kPageSize> m_Pages[TCount];

 private:
  uintptr_t Offset(const void* arg) const {
    return reinterpret_cast<uintptr_t>(arg) - reinterpret_cast<uintptr_t>(m_Address);
  }
};

// The element of a pool's segment list: 64 KiB, released when destroyed.
template <unsigned TSize>
class TanORNHeapMSMemorySegment : public TanORNHeapMSMemoryPages<TSize, 16> {
 public:
  TanORNHeapMSMemorySegment() = default;
  TanORNHeapMSMemorySegment(TanORNHeapMSMemorySegment&&) noexcept = default;
  TanORNHeapMSMemorySegment& operator=(TanORNHeapMSMemorySegment&&) noexcept = default;
  ~TanORNHeapMSMemorySegment() { this->release(); }
};

}  // namespace nalloc
