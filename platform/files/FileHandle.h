// Files opened by path, as Win32 handles: an access mask, a share mode, a creation disposition
// and the overlapped flag. A handle is a key into this process's table of open files, never a
// descriptor, so the invalid value cannot collide with one.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class FileHandle : intptr_t {};
inline constexpr FileHandle kInvalidFileHandle = static_cast<FileHandle>(-1);

// Access rights (Win32 numbers).
namespace access {
constexpr uint32_t ReadData = 0x1;
constexpr uint32_t WriteData = 0x2;
constexpr uint32_t AppendData = 0x4;
constexpr uint32_t ReadAttributes = 0x80;
constexpr uint32_t WriteAttributes = 0x100;
constexpr uint32_t Delete = 0x10000;
constexpr uint32_t GenericAll = 0x10000000;
constexpr uint32_t GenericExecute = 0x20000000;
constexpr uint32_t GenericWrite = 0x40000000;
constexpr uint32_t GenericRead = 0x80000000;
}  // namespace access

// Share flags: what later opens of the same file may do while this handle is open.
namespace share {
constexpr uint32_t None = 0;
constexpr uint32_t Read = 0x1;
constexpr uint32_t Write = 0x2;
constexpr uint32_t Delete = 0x4;
}  // namespace share

enum class Disposition : uint32_t {
  CreateNew = 1,
  CreateAlways = 2,
  OpenExisting = 3,
  OpenAlways = 4,
  TruncateExisting = 5,
};

constexpr uint32_t kFileFlagOverlapped = 0x40000000;

// Opens or creates a file; kInvalidFileHandle with the last error on failure. Only regular
// files open: folders, FIFOs and devices are refused (access denied), never waited for. Creating
// over an existing file or opening one with "open always" succeeds with ERROR_ALREADY_EXISTS as the
// last error, as Win32 does.
FileHandle CreateFile(const std::string& path, uint32_t desiredAccess, uint32_t shareMode,
                      Disposition disposition, uint32_t flags);

// Closes the handle and releases its byte-range locks.
bool CloseFile(FileHandle handle);

}  // namespace platform
