// The attribute word of a file: one persistent 32-bit value per file that every process sees.
//
// Where each bit lives:
// - read-only (0x1): a file without any write permission bit; clearing it gives the owner
//   write permission back. For a folder the bit is stored like the bits below, so a read-only
//   folder still takes new files, as on Windows.
// - directory (0x10): the file type. reparse point (0x400): the path is a symbolic link.
//   device (0x40): neither a regular file nor a folder (a FIFO, a device, a socket), which
//   Windows folders never hold; opening one may block or read without end.
// - hidden, system, archive, temporary, offline, not indexed: the extended attribute
//   "user.vistrel.attributes", text "0x" and eight hex digits. A file without it reads as
//   archive (Windows marks every new file so), a folder as nothing.
// - normal (0x80) is what a word without any other bit reads as, as on Windows.
// On a file system without user extended attributes the stored bits read as that default, and
// writing a word that needs them fails with ERROR_NOT_SUPPORTED and changes nothing.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

namespace attr {
constexpr uint32_t ReadOnly = 0x1;
constexpr uint32_t Hidden = 0x2;
constexpr uint32_t System = 0x4;
constexpr uint32_t Directory = 0x10;
constexpr uint32_t Device = 0x40;
constexpr uint32_t Archive = 0x20;
constexpr uint32_t Normal = 0x80;
constexpr uint32_t Temporary = 0x100;
constexpr uint32_t ReparsePoint = 0x400;
constexpr uint32_t Offline = 0x1000;
constexpr uint32_t NotContentIndexed = 0x2000;
}  // namespace attr

constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// The word, or kInvalidFileAttributes with the last error.
uint32_t GetFileAttributes(const std::string& path);
// Writes the settable bits of the word (read-only, hidden, system, archive, temporary, offline,
// not indexed); the others are ignored.
bool SetFileAttributes(const std::string& path, uint32_t attributes);

}  // namespace platform
