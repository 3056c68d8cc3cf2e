#include "browser/tiles/StackIcon.h"

#include <cstring>

namespace ORN_browser {

bool IsReadableIcon(platform::HBITMAP icon) {
  if (icon == nullptr || icon->Width <= 0 || icon->Height <= 0) return false;
  const uint64_t rowBytes = uint64_t(icon->Width) * 3;
  return icon->Stride >= rowBytes && uint64_t(icon->Bits.size()) >= uint64_t(icon->Stride) * uint64_t(icon->Height);
}

bool CopyIconBitmap(platform::HBITMAP icon, TBitmap& picture) {
  if (!IsReadableIcon(icon)) return false;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(icon->Width, icon->Height);
  const size_t rowBytes = size_t(icon->Width) * 3;
  for (int32_t y = 0; y < icon->Height; ++y) std::memcpy(picture.ScanLine(y), icon->ScanLine(y), rowBytes);
  return true;
}

}  // namespace ORN_browser
