#include "platform/vcl/DibSection.h"

#include <new>

#include "platform/core/SystemStatus.h"

namespace platform {

HBITMAP CreateDibSection24(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return nullptr;
  auto* bitmap = new (std::nothrow) DibSection();
  if (bitmap == nullptr) return nullptr;
  bitmap->Width = width;
  bitmap->Height = height;
  bitmap->Stride = (3 * uint32_t(width) + 3) / 4 * 4;
  try {
    bitmap->Bits.assign(size_t(bitmap->Stride) * size_t(height), 0);
  } catch (const std::bad_alloc&) {
    delete bitmap;
    return nullptr;
  }
  CountGdiObject(1);
  return bitmap;
}

void DeleteBitmap(HBITMAP bitmap) {
  if (bitmap == nullptr) return;
  CountGdiObject(-1);
  delete bitmap;
}

}  // namespace platform
