#include "app/support/Utf16Text.h"

namespace app {

std::wstring Utf16LeToWide(const uint8_t* bytes, size_t size) {
  const size_t units = size / 2;  // an odd last byte is not part of any unit
  std::wstring text;
  for (size_t i = 0; i < units; ++i) {
    uint32_t u = bytes[2 * i] | (bytes[2 * i + 1] << 8);
    if (u == 0) break;
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
      const uint32_t low = bytes[2 * i + 2] | (bytes[2 * i + 3] << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    text += static_cast<wchar_t>(u);
  }
  return text;
}

}  // namespace app
