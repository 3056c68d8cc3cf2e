#include "platform/memory/VirtualMemory.h"

#include <sys/mman.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/memory/MemoryFaultState.h"

namespace platform {

namespace {

// The state of one page of a reservation. A reserved page is inaccessible and reads as zero
// once committed; a committed page is in use; a parked page was decommitted but keeps its
// memory and access, so that committing it again costs a clear instead of two system calls.
enum PageState : uint8_t { kReserved = 0, kCommitted = 1, kParked = 2 };

struct Reservation {
  std::size_t size = 0;
  std::vector<uint8_t> pages;
  std::size_t parked = 0;
};

// Live reservations by base address; munmap needs the length that VirtualFree does not pass.
// Released small reservations wait in a short list of spares for the next reservation of
// their size (pool segments are made and released file after file).
std::mutex g_lock;
std::map<uintptr_t, Reservation>& Reservations() {
  static auto* table = new std::map<uintptr_t, Reservation>();  // outlives static destructors
  return *table;
}
std::vector<std::pair<uintptr_t, Reservation>>& Spares() {
  static auto* spares = new std::vector<std::pair<uintptr_t, Reservation>>();
  return *spares;
}

std::size_t RoundToPages(std::size_t size) {
  return (size + kPageSize - 1) & ~(kPageSize - 1);
}

// The reservation holding [begin, end), or Reservations().end().
std::map<uintptr_t, Reservation>::iterator Holder(uintptr_t begin, uintptr_t end) {
  auto& table = Reservations();
  auto it = table.upper_bound(begin);
  if (it == table.begin()) return table.end();
  --it;
  if (end > it->first + it->second.size) return table.end();
  return it;
}

// Widens [address, address + size) to whole pages; false when it is empty or overflows.
bool PageRange(void* address, std::size_t size, uintptr_t& begin, uintptr_t& end) {
  const auto a = reinterpret_cast<uintptr_t>(address);
  if (address == nullptr || size == 0 || a + size < a) return false;
  begin = a & ~(kPageSize - 1);
  end = RoundToPages(a + size);
  return end > begin;
}

// Runs of pages [first, last) in one state, each handed to f(firstPage, pageCount).
template <class F>
bool ForEachRun(const Reservation& r, std::size_t first, std::size_t last, uint8_t state, F f) {
  for (std::size_t i = first; i < last;) {
    if (r.pages[i] != state) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < last && r.pages[j] == state) ++j;
    if (!f(i, j - i)) return false;
    i = j;
  }
  return true;
}

// Gives every parked page of the reservation back to the system in one batch: dropped pages
// read as zero when committed again, as fresh pages do on Win32.
bool GiveBackParked(uintptr_t base, Reservation& r) {
  if (r.parked == 0) return true;
  const bool ok = ForEachRun(r, 0, r.pages.size(), kParked, [&](std::size_t i, std::size_t n) {
    void* p = reinterpret_cast<void*>(base + i * kPageSize);
    if (madvise(p, n * kPageSize, MADV_DONTNEED) != 0 || mprotect(p, n * kPageSize, PROT_NONE) != 0)
      return false;
    for (std::size_t k = i; k < i + n; ++k) r.pages[k] = kReserved;
    r.parked -= n;
    return true;
  });
  if (!ok) SetLastErrorFromErrno();
  return ok;
}

// A spare of exactly size bytes, taken out of the list; 0 when there is none.
uintptr_t TakeSpare(std::size_t size, Reservation& out) {
  auto& spares = Spares();
  for (std::size_t i = spares.size(); i-- > 0;) {
    if (spares[i].second.size != size) continue;
    const uintptr_t base = spares[i].first;
    out = std::move(spares[i].second);
    spares.erase(spares.begin() + static_cast<std::ptrdiff_t>(i));
    return base;
  }
  return 0;
}

}  // namespace

void* ReservePages(std::size_t size, bool /*topDown*/) {
  if (size == 0 || size > (SIZE_MAX >> 1)) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  if (faults::pageReserve) {
    SetLastError(err::NotEnoughMemory);
    return nullptr;
  }
  size = RoundToPages(size);
  {
    std::lock_guard<std::mutex> guard(g_lock);
    Reservation spare;
    if (const uintptr_t base = TakeSpare(size, spare)) {
      Reservations()[base] = std::move(spare);
      return reinterpret_cast<void*>(base);
    }
  }
  void* p = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (p == MAP_FAILED) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  Reservation r;
  r.size = size;
  r.pages.assign(size / kPageSize, kReserved);
  std::lock_guard<std::mutex> guard(g_lock);
  Reservations()[reinterpret_cast<uintptr_t>(p)] = std::move(r);
  return p;
}

bool CommitPages(void* address, std::size_t size) {
  uintptr_t begin = 0, end = 0;
  if (!PageRange(address, size, begin, end)) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  if (faults::pageCommit) {
    SetLastError(err::CommitmentLimit);
    return false;
  }
  std::lock_guard<std::mutex> guard(g_lock);
  auto it = Holder(begin, end);
  if (it == Reservations().end()) {
    SetLastError(err::InvalidAddress);
    return false;
  }
  const uintptr_t base = it->first;
  Reservation& r = it->second;
  const std::size_t first = (begin - base) / kPageSize, last = (end - base) / kPageSize;
  // Reserved pages need the system once per run; parked pages only a clear.
  const bool ok = ForEachRun(r, first, last, kReserved, [&](std::size_t i, std::size_t n) {
    return mprotect(reinterpret_cast<void*>(base + i * kPageSize), n * kPageSize, PROT_READ | PROT_WRITE) == 0;
  });
  if (!ok) {
    SetLastErrorFromErrno();
    return false;
  }
  for (std::size_t i = first; i < last; ++i) {
    if (r.pages[i] == kParked) {
      std::memset(reinterpret_cast<void*>(base + i * kPageSize), 0, kPageSize);
      --r.parked;
    }
    r.pages[i] = kCommitted;
  }
  return true;
}

bool DecommitPages(void* address, std::size_t size) {
  uintptr_t begin = 0, end = 0;
  if (!PageRange(address, size, begin, end)) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  std::lock_guard<std::mutex> guard(g_lock);
  auto it = Holder(begin, end);
  if (it == Reservations().end()) {
    SetLastError(err::InvalidAddress);
    return false;
  }
  const uintptr_t base = it->first;
  Reservation& r = it->second;
  for (std::size_t i = (begin - base) / kPageSize; i < (end - base) / kPageSize; ++i) {
    if (r.pages[i] != kCommitted) continue;
    r.pages[i] = kParked;
    ++r.parked;
  }
  // A bounded reserve stays parked; beyond it every parked page goes back at once.
  if (r.parked > kParkedPageLimit) return GiveBackParked(base, r);
  return true;
}

bool ReleasePages(void* base) {
  Reservation r;
  const auto b = reinterpret_cast<uintptr_t>(base);
  {
    std::lock_guard<std::mutex> guard(g_lock);
    auto& table = Reservations();
    auto it = table.find(b);
    if (base == nullptr || it == table.end()) {
      SetLastError(err::InvalidAddress);
      return false;
    }
    r = std::move(it->second);
    table.erase(it);
    // A small reservation waits as a spare, its pages parked, while the list has room.
    if (r.size <= kSpareReservationSize && Spares().size() < kSpareReservations) {
      for (uint8_t& page : r.pages) {
        if (page != kCommitted) continue;
        page = kParked;
        ++r.parked;
      }
      if (r.parked <= kParkedPageLimit || GiveBackParked(b, r)) {
        Spares().emplace_back(b, std::move(r));
        return true;
      }
    }
  }
  if (munmap(base, r.size) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}

void* AllocatePages(std::size_t size, bool topDown) {
  if (faults::pageCommit) {
    SetLastError(err::CommitmentLimit);
    return nullptr;
  }
  void* p = ReservePages(size, topDown);
  if (p == nullptr) return nullptr;
  if (!CommitPages(p, size)) {
    const uint32_t error = GetLastError();
    ReleasePages(p);
    SetLastError(error);
    return nullptr;
  }
  return p;
}

std::size_t QueryRegionSize(const void* address) {
  const auto a = reinterpret_cast<uintptr_t>(address);
  std::lock_guard<std::mutex> guard(g_lock);
  auto it = Holder(a, a + 1);
  if (address == nullptr || it == Reservations().end()) return 0;
  return it->first + it->second.size - a;
}

void TrimPages() {
  std::vector<std::pair<uintptr_t, Reservation>> spares;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    spares.swap(Spares());
    for (auto& [base, r] : Reservations()) GiveBackParked(base, r);
  }
  for (auto& [base, r] : spares) munmap(reinterpret_cast<void*>(base), r.size);
}

}  // namespace platform
