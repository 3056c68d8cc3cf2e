// Folder listing with Win32 masks: find-first, find-next, close.
//
// Entries come sorted by name (byte order), "." and ".." first, as NTFS returns them, so the
// order of a listing does not depend on the file system. Masks match without regard to letter
// case, as on Windows: "*" any run of characters, "?" one character, and "*.*" every name, also
// names without a dot. Each entry carries its attribute word (FileAttributes.h; a symbolic link
// carries the bits of its target plus the reparse-point bit), 64-bit size and three times.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files/FileTime.h"

namespace platform {

enum class FindHandle : intptr_t {};
inline constexpr FindHandle kInvalidFindHandle = static_cast<FindHandle>(-1);

struct FindData {
  uint32_t attributes = 0;
  FileTime creationTime;
  FileTime lastAccessTime;
  FileTime lastWriteTime;
  uint64_t size = 0;
  std::string name;
};

// The pattern is a folder, "/" and a mask, or a mask alone for the current folder. No match
// fails with ERROR_FILE_NOT_FOUND, a missing folder with ERROR_PATH_NOT_FOUND.
FindHandle FindFirstFile(const std::string& pattern, FindData* data);
// ERROR_NO_MORE_FILES after the last entry.
bool FindNextFile(FindHandle handle, FindData* data);
bool FindClose(FindHandle handle);

bool MaskMatches(const std::string& mask, const std::string& name);

}  // namespace platform
