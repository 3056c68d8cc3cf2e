// Reserved and committed pages, in place of VirtualAlloc / VirtualFree / VirtualQuery.
// A reservation is address space without memory (PROT_NONE); committing a range inside it makes
// it readable and writable, fresh pages reading as zero; decommitting gives the pages back and
// makes the range inaccessible again. Reservations are page-aligned (4096), not 64 KiB-aligned:
// nothing here depends on the coarser granularity. "Top down" is only a wish on Win32; mmap
// chooses the address itself, so the flag is accepted and ignored.
#pragma once

#include <cstddef>

namespace platform {

constexpr std::size_t kPageSize = 4096;

// Reserves size bytes (rounded up to whole pages). Null on failure, with the last error set.
void* ReservePages(std::size_t size, bool topDown);

// Commits [address, address + size) (widened to whole pages), which must lie inside one
// reservation. Pages already committed keep their contents. False on failure (last error set).
bool CommitPages(void* address, std::size_t size);

// Gives the pages of the range back; the range stays reserved. False on failure.
bool DecommitPages(void* address, std::size_t size);

// Releases a whole reservation given its base address; any other address is refused with
// InvalidAddress, as VirtualFree(..., MEM_RELEASE) does.
bool ReleasePages(void* base);

// Reserves and commits in one step: size zero-filled bytes (whole pages). Null on failure.
void* AllocatePages(std::size_t size, bool topDown);

// Bytes from address to the end of the reservation that holds it; 0 when no reservation does.
// Lets a reallocation copy no more than the old region holds.
std::size_t QueryRegionSize(const void* address);

}  // namespace platform
