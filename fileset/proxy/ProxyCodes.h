// The result codes of the proxy operations (IsAvailable answers true or false instead).
#pragma once

#include <cstdint>

namespace ORN_dicom::proxy_code {

constexpr int32_t kDone = 0;
// The path, file ID or key text is empty or cannot be taken over.
constexpr int32_t kBadArgument = 1;
// Reading the file or DICOMDIR failed, a byte range was not read completely, the file set is
// not valid, or telling the key-object saver failed.
constexpr int32_t kFailed = 5;
constexpr int32_t kException = 6;
// The local DICOMDIR does not exist, or the data broker is not available.
constexpr int32_t kNotPresent = 7;
// A host-only operation of the local file-set proxy.
constexpr int32_t kNotSupported = 8;

// Posted to the window given to SaveKeyObjects once per key-image file handled; lParam is
// the file's code.
constexpr uint32_t kKeyObjectSavedMessage = 0x8407;

}  // namespace ORN_dicom::proxy_code
