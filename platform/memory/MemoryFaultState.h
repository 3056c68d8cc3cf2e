// Internal: the switches behind MemoryFaults.h, read by the memory stand-in.
#pragma once

#include <atomic>
#include <cstdint>

namespace platform::faults {
extern std::atomic<bool> heapCreate;
extern std::atomic<bool> heapAlloc;
extern std::atomic<bool> pageReserve;
extern std::atomic<bool> pageCommit;
extern std::atomic<bool> taskAllocator;
extern std::atomic<int32_t> liveHeaps;
extern std::atomic<uint32_t> minimizeCalls;
}  // namespace platform::faults
