// Reserved and committed pages, in place of VirtualAlloc / VirtualFree / VirtualQuery.
// A reservation is address space without memory (PROT_NONE); committing a range inside it makes
// it readable and writable, fresh pages reading as zero; decommitting gives the pages back and
// makes the range inaccessible again (see the reserve below). Reservations are page-aligned
// (4096), not 64 KiB-aligned:
// nothing here depends on the coarser granularity. "Top down" is only a wish on Win32; mmap
// chooses the address itself, so the flag is accepted and ignored.
#pragma once

#include <cstddef>

namespace platform {

constexpr std::size_t kPageSize = 4096;

// Cheap commit and decommit. Decommitted pages stay parked (memory kept, still accessible) up
// to kParkedPageLimit per reservation; one more gives all of that reservation's parked pages
// back to the system in one batch. Committing a parked page clears it (no system call);
// committing a never-used or given-back page makes it accessible (one call per run of pages).
// A released reservation of at most kSpareReservationSize bytes is kept, its pages parked, as
// a spare for the next reservation of its size, at most kSpareReservations of them; any other
// is unmapped at once. Committed memory always reads as zero, as on Win32.
constexpr std::size_t kParkedPageLimit = 16;
constexpr std::size_t kSpareReservationSize = 0x10000;
constexpr std::size_t kSpareReservations = 16;

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

// Gives every parked page and every spare reservation back to the system now.
void TrimPages();

}  // namespace platform
