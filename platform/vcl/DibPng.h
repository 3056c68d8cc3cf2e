// Writes a DibSection as a PNG file (through QImage), for pictures a test wants a person to see.
#pragma once

#include <string>

#include "platform/vcl/DibSection.h"

namespace platform {

// Creates the file's folder when missing; false when the file cannot be written.
bool SaveDibAsPng(const DibSection& bitmap, const std::string& path);

}  // namespace platform
