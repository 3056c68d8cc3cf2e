// Writes a small Windows icon file (.ico, one 32-bit image) for tests: a disc of one colour
// on a transparent ground.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace app::test {

inline void WriteIcon(const std::string& path, int size, uint32_t bgr) {
  std::vector<uint8_t> b;
  auto u16 = [&](uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  const uint32_t maskRow = ((size + 31) / 32) * 4;
  const uint32_t imageSize = 40 + size * size * 4 + maskRow * size;
  u16(0); u16(1); u16(1);                       // icon directory, one image
  b.push_back(static_cast<uint8_t>(size)); b.push_back(static_cast<uint8_t>(size));
  b.push_back(0); b.push_back(0); u16(1); u16(32); u32(imageSize); u32(22);
  u32(40); u32(size); u32(size * 2); u16(1); u16(32); u32(0); u32(0); u32(0); u32(0); u32(0); u32(0);
  const double c = (size - 1) / 2.0, r2 = (size / 2.0) * (size / 2.0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool in = (x - c) * (x - c) + (y - c) * (y - c) <= r2;
      b.push_back(bgr & 0xFF); b.push_back((bgr >> 8) & 0xFF); b.push_back((bgr >> 16) & 0xFF);
      b.push_back(in ? 0xFF : 0x00);
    }
  }
  b.insert(b.end(), maskRow * size, 0);         // the alpha channel decides
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

}  // namespace app::test
