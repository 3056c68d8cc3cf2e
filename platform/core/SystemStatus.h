// The machine's memory figures (GlobalMemoryStatus) and the process's count of GDI objects
// (GetGuiResources), with hooks so that tests can fix both.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

struct MemoryStatus {
  uint64_t TotalPhys = 0;
  uint64_t AvailPhys = 0;
  uint64_t TotalPageFile = 0;  // swap
  uint64_t AvailPageFile = 0;
};

// From /proc/meminfo (MemTotal, MemAvailable, SwapTotal, SwapFree); zeros when unreadable.
MemoryStatus GlobalMemoryStatus();

// The GDI objects this process holds: the bitmaps of CreateDibSection24 not yet deleted.
uint32_t GdiObjectCount();
// Called by the bitmap functions.
void CountGdiObject(int32_t delta);

// Test hooks: replace the figures (an empty function restores the real one).
void SetMemoryStatusSource(std::function<MemoryStatus()> source);
void SetGdiCountSource(std::function<uint32_t()> source);

}  // namespace platform
