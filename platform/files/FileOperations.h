// Copying, moving, renaming and deleting files by path, full paths, and the identity of a file.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

namespace move_flags {
constexpr uint32_t ReplaceExisting = 0x1;
constexpr uint32_t CopyAllowed = 0x2;
}  // namespace move_flags

// Copies the content, the attribute word, the permission bits and the last write time. The
// copy is written under a temporary name in the target's folder and renamed into place when
// complete, so a failed copy leaves an existing target as it was. With failIfExists an existing
// target fails with ERROR_FILE_EXISTS; a read-only target is not replaced (access denied).
bool CopyFile(const std::string& existing, const std::string& target, bool failIfExists);

// Renames a file or folder. Without ReplaceExisting an existing target fails with
// ERROR_ALREADY_EXISTS; with CopyAllowed a file is copied to another file system and the source
// deleted (ERROR_NOT_SAME_DEVICE without it). A file open in this process without delete
// sharing cannot be moved or deleted (ERROR_SHARING_VIOLATION), as on Windows.
bool MoveFile(const std::string& existing, const std::string& target, uint32_t flags);

// Deletes a file; folders and read-only files are refused (access denied).
bool DeleteFile(const std::string& path);

// Creates one folder (its parent must exist); an existing one fails with ERROR_FILE_EXISTS.
bool CreateDirectory(const std::string& path);

// The absolute form of a path against the current folder, with "." and ".." resolved by text
// (the file need not exist); a trailing separator stays.
bool FullPath(const std::string& path, std::string* out);

// The device and inode behind a path, following symbolic links: equal ids are the same file.
struct FileId {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool operator==(const FileId&) const = default;
};
bool GetFileId(const std::string& path, FileId* id);

}  // namespace platform
