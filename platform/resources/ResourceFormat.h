// The data-only resource module file: what a resource DLL holds, without any code.
//
//   header   "VRESMOD1", entry count (u32), string-table size (u32)
//   entries  one per resource, sorted by type and then by name (ResourceId order)
//   strings  UTF-8 names, each ending with NUL; entries point into it
//   data     each resource's bytes, starting on a 4-byte boundary
// All numbers are little-endian. The reader checks every offset and size against the file.
#pragma once

#include <cstdint>

namespace platform::resource_format {

constexpr char kMagic[8] = {'V', 'R', 'E', 'S', 'M', 'O', 'D', '1'};

struct Header {
  char magic[8];
  uint32_t entryCount;
  uint32_t stringTableSize;
};
static_assert(sizeof(Header) == 16);

struct Entry {
  uint16_t typeIsId;   // 1: typeValue is an identifier; 0: an offset into the strings
  uint16_t nameIsId;
  uint32_t typeValue;
  uint32_t nameValue;
  uint32_t dataOffset;  // from the start of the file
  uint32_t dataSize;
};
static_assert(sizeof(Entry) == 20);

}  // namespace platform::resource_format
