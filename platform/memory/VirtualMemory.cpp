#include "platform/memory/VirtualMemory.h"

#include <sys/mman.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>

#include "platform/core/LastError.h"
#include "platform/memory/MemoryFaultState.h"

namespace platform {

namespace {

// Live reservations by base address; munmap needs the length that VirtualFree does not pass.
std::mutex g_lock;
std::map<uintptr_t, std::size_t>& Reservations() {
  static auto* table = new std::map<uintptr_t, std::size_t>();  // outlives static destructors
  return *table;
}

std::size_t RoundToPages(std::size_t size) {
  return (size + kPageSize - 1) & ~(kPageSize - 1);
}

// The reservation holding [begin, end), or Reservations().end().
std::map<uintptr_t, std::size_t>::iterator Holder(uintptr_t begin, uintptr_t end) {
  auto& table = Reservations();
  auto it = table.upper_bound(begin);
  if (it == table.begin()) return table.end();
  --it;
  if (end > it->first + it->second) return table.end();
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
  void* p = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (p == MAP_FAILED) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(g_lock);
  Reservations()[reinterpret_cast<uintptr_t>(p)] = size;
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
  if (Holder(begin, end) == Reservations().end()) {
    SetLastError(err::InvalidAddress);
    return false;
  }
  if (mprotect(reinterpret_cast<void*>(begin), end - begin, PROT_READ | PROT_WRITE) != 0) {
    SetLastErrorFromErrno();
    return false;
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
  if (Holder(begin, end) == Reservations().end()) {
    SetLastError(err::InvalidAddress);
    return false;
  }
  // MADV_DONTNEED drops the pages of a private anonymous mapping: they read as zero when
  // committed again, as fresh pages do on Win32.
  void* p = reinterpret_cast<void*>(begin);
  if (madvise(p, end - begin, MADV_DONTNEED) != 0 || mprotect(p, end - begin, PROT_NONE) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}

bool ReleasePages(void* base) {
  std::size_t size = 0;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    auto& table = Reservations();
    auto it = table.find(reinterpret_cast<uintptr_t>(base));
    if (base == nullptr || it == table.end()) {
      SetLastError(err::InvalidAddress);
      return false;
    }
    size = it->second;
    table.erase(it);
  }
  if (munmap(base, size) != 0) {
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
  return it->first + it->second - a;
}

}  // namespace platform
