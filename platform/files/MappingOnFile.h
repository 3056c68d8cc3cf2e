// Mappings of an open file into memory: a mapping object with a protection and a maximum size,
// views of it at 64 KiB-aligned offsets, unmapped and flushed by address.
//
// A mapping keeps its own reference to the file, so it outlives the handle it was made on, and
// a view outlives its mapping, as on Windows. A read-write mapping larger than the file grows
// the file to the maximum size with its blocks allocated (a full disk fails the mapping with
// ERROR_DISK_FULL instead of a SIGBUS when the view is written); only a file system that cannot
// allocate ahead grows it sparse.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/files/FileHandle.h"

namespace platform {

enum class MappingOnFileHandle : intptr_t {};
inline constexpr MappingOnFileHandle kNoMappingOnFile = static_cast<MappingOnFileHandle>(0);

namespace page {
constexpr uint32_t ReadOnly = 0x02;
constexpr uint32_t ReadWrite = 0x04;
}  // namespace page

namespace view_access {
constexpr uint32_t Write = 0x2;
constexpr uint32_t Read = 0x4;
constexpr uint32_t ReadWrite = 0x6;
}  // namespace view_access

constexpr uint64_t kViewAlignment = 0x10000;

// maximumSize 0 means the file's size (an empty file then fails with ERROR_FILE_INVALID).
// A read-only mapping larger than the file, or a read-write one on a handle without write
// access, fails (ERROR_NOT_ENOUGH_MEMORY, ERROR_ACCESS_DENIED).
MappingOnFileHandle CreateMappingOnFile(FileHandle file, uint32_t protection, uint64_t maximumSize);
bool CloseMappingOnFile(MappingOnFileHandle mapping);

// size 0 maps to the end of the mapping. The offset must be a multiple of kViewAlignment
// (ERROR_MAPPED_ALIGNMENT); a view beyond the mapping or asking write access of a read-only
// mapping fails with ERROR_ACCESS_DENIED.
void* MapViewOnFile(MappingOnFileHandle mapping, uint32_t access, uint64_t offset, size_t size);
// Unmaps the view that holds the address (ERROR_INVALID_ADDRESS when none does).
bool UnmapViewOnFile(void* address);
// Writes changed pages of the view that holds the address, from the address on for the given
// bytes; bytes 0 flushes the whole view.
bool FlushViewOnFile(void* address, size_t bytes);

}  // namespace platform
