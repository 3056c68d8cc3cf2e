// Unnamed file mappings, in place of CreateFileMapping / MapViewOfFile / UnmapViewOfFile.
// A mapping lives in the paging file (an anonymous memory file) or on an open file, which it
// grows to the mapping's size. Views start at multiples of 64 KiB, the allocation granularity
// of Win32 that callers round their offsets to. Unmapping accepts any address inside a view.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

constexpr uint64_t kAllocationGranularity = 65536;
constexpr int kNoFile = -1;  // the paging file instead of a file

struct FileMapping;  // opaque mapping handle

// A read-write mapping of size bytes on the file (kNoFile: the paging file). A size of 0 takes
// the file's size; it fails (InvalidParameter) for the paging file or an empty file.
// Null on failure, with the last error set.
FileMapping* CreateFileMapping(int file, uint64_t size);

// Closes the handle; views mapped from it stay valid until they are unmapped.
bool CloseFileMapping(FileMapping* mapping);

// A read-write view of bytes bytes from offset (a multiple of 64 KiB); bytes 0 maps to the end
// of the mapping. Null on failure (InvalidParameter for a misaligned offset, AccessDenied for a
// window beyond the mapping).
void* MapView(FileMapping* mapping, uint64_t offset, std::size_t bytes);

// Unmaps the view that holds address; false (InvalidAddress) when no view does.
bool UnmapView(const void* address);

}  // namespace platform
