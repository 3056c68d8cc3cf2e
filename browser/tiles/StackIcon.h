// The icon of a stack tile: a copy of the 24-bit device-independent bitmap the main window
// hands over, made only when every pixel row it describes can be read.
#pragma once

#include "platform/vcl/DibSection.h"
#include "platform/vcl/Graphics.h"

namespace ORN_browser {

// True when the bitmap's rows of width x 3 bytes, each padded to its stride, all lie within
// its bits.
bool IsReadableIcon(platform::HBITMAP icon);

// Copies a readable icon into `picture` (24-bit, same size); false, picture unchanged, for a
// null or unreadable one.
bool CopyIconBitmap(platform::HBITMAP icon, TBitmap& picture);

}  // namespace ORN_browser
