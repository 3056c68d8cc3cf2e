// UTF-16LE bytes as a wide text, up to the first NUL unit or the end of the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace app {

std::wstring Utf16LeToWide(const uint8_t* bytes, size_t size);

}  // namespace app
