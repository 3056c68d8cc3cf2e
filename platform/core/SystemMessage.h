// The system's message for an error code: the text Win32's FormatMessage gives from the system
// message table (English), trailing CR LF included, so that texts composed from it
// ("... However EOF has been reached.") read as on Windows. Unknown codes give an empty text.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

std::string SystemMessage(uint32_t code);

}  // namespace platform
