// A 24-bit device-independent bitmap in memory, as CreateDIBSection makes one: rows stored from
// the bottom row up, each padded to a multiple of 4 bytes, pixels as blue, green, red. Plain
// memory, no GUI: a TBitmap or a PNG file can be made from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

struct DibSection {
  int32_t Width = 0;
  int32_t Height = 0;
  uint32_t Stride = 0;  // bytes per stored row
  std::vector<uint8_t> Bits;

  // Stored row i: row 0 is the bottom row of the picture.
  uint8_t* StoredRow(int32_t i) { return Bits.data() + size_t(i) * Stride; }
  const uint8_t* StoredRow(int32_t i) const { return Bits.data() + size_t(i) * Stride; }
  // Row y counted from the top of the picture.
  const uint8_t* ScanLine(int32_t y) const { return StoredRow(Height - 1 - y); }
};

using HBITMAP = DibSection*;

// A zero-filled bitmap; null for a width or height outside 1 .. 32767 or when there is no room.
HBITMAP CreateDibSection24(int32_t width, int32_t height);
// Frees a bitmap of CreateDibSection24; null is ignored.
void DeleteBitmap(HBITMAP bitmap);

}  // namespace platform
