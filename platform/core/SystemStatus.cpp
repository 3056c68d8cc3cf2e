#include "platform/core/SystemStatus.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

std::atomic<int64_t> gGdiObjects{0};
std::mutex gSourceLock;
std::function<MemoryStatus()> gMemorySource;
std::function<uint32_t()> gGdiSource;

MemoryStatus ReadMemInfo() {
  MemoryStatus status;
  FILE* f = std::fopen("/proc/meminfo", "r");
  if (f == nullptr) return status;
  char line[256];
  while (std::fgets(line, sizeof line, f)) {
    unsigned long long kib = 0;
    char name[64];
    if (std::sscanf(line, "%63[^:]: %llu", name, &kib) != 2) continue;
    const uint64_t bytes = uint64_t(kib) * 1024u;
    if (std::strcmp(name, "MemTotal") == 0) status.TotalPhys = bytes;
    else if (std::strcmp(name, "MemAvailable") == 0) status.AvailPhys = bytes;
    else if (std::strcmp(name, "SwapTotal") == 0) status.TotalPageFile = bytes;
    else if (std::strcmp(name, "SwapFree") == 0) status.AvailPageFile = bytes;
  }
  std::fclose(f);
  return status;
}

}  // namespace

MemoryStatus GlobalMemoryStatus() {
  std::function<MemoryStatus()> source;
  {
    std::lock_guard<std::mutex> lock(gSourceLock);
    source = gMemorySource;
  }
  return source ? source() : ReadMemInfo();
}

uint32_t GdiObjectCount() {
  std::function<uint32_t()> source;
  {
    std::lock_guard<std::mutex> lock(gSourceLock);
    source = gGdiSource;
  }
  if (source) return source();
  const int64_t n = gGdiObjects.load();
  return n < 0 ? 0u : uint32_t(n);
}

void CountGdiObject(int32_t delta) { gGdiObjects += delta; }

void SetMemoryStatusSource(std::function<MemoryStatus()> source) {
  std::lock_guard<std::mutex> lock(gSourceLock);
  gMemorySource = std::move(source);
}

void SetGdiCountSource(std::function<uint32_t()> source) {
  std::lock_guard<std::mutex> lock(gSourceLock);
  gGdiSource = std::move(source);
}

}  // namespace platform
