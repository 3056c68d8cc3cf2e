#include "platform/files/FileAttributes.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/core/LastError.h"
#include "platform/files/OpenFileTable.h"

namespace platform {

namespace {

constexpr char kAttributeName[] = "user.vistrel.attributes";
constexpr uint32_t kStoredBits = attr::Hidden | attr::System | attr::Archive | attr::Temporary |
                                 attr::Offline | attr::NotContentIndexed;
constexpr uint32_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

uint32_t StoredMask(bool directory) {
  return directory ? kStoredBits | attr::ReadOnly : kStoredBits;
}
uint32_t DefaultStored(bool directory) { return directory ? 0 : attr::Archive; }

// The stored bits, or the default when the file has none (or the file system keeps none).
uint32_t ReadStored(const std::string& path, bool directory) {
  char text[32] = {};
  const ssize_t n = ::getxattr(path.c_str(), kAttributeName, text, sizeof text - 1);
  if (n <= 0) return DefaultStored(directory);
  text[n] = '\0';
  return static_cast<uint32_t>(std::strtoul(text, nullptr, 16)) & StoredMask(directory);
}

}  // namespace

namespace files_detail {

uint32_t AttributeWord(const std::string& path, const struct stat& st, bool isSymlink) {
  const bool directory = S_ISDIR(st.st_mode);
  uint32_t word = ReadStored(path, directory);
  if (directory)
    word |= attr::Directory;
  else if ((st.st_mode & kWriteBits) == 0)
    word |= attr::ReadOnly;
  if (!directory && !S_ISREG(st.st_mode)) word |= attr::Device;
  if (isSymlink) word |= attr::ReparsePoint;
  return word == 0 ? attr::Normal : word;
}

}  // namespace files_detail

uint32_t GetFileAttributes(const std::string& path) {
  struct stat st {};
  struct stat link {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) {
    if (path.empty())
      SetLastError(err::PathNotFound);
    else
      SetLastErrorFromErrno();
    return kInvalidFileAttributes;
  }
  const bool isSymlink = ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
  SetLastError(err::Success);
  return files_detail::AttributeWord(path, st, isSymlink);
}

bool SetFileAttributes(const std::string& path, uint32_t attributes) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) {
    if (path.empty())
      SetLastError(err::PathNotFound);
    else
      SetLastErrorFromErrno();
    return false;
  }
  const bool directory = S_ISDIR(st.st_mode);
  const uint32_t stored = attributes & StoredMask(directory);
  if (stored == DefaultStored(directory)) {
    if (::removexattr(path.c_str(), kAttributeName) != 0 && errno != ENODATA && errno != ENOTSUP) {
      SetLastErrorFromErrno();
      return false;
    }
  } else {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", stored);
    if (::setxattr(path.c_str(), kAttributeName, text, 10, 0) != 0) {
      SetLastError(errno == ENOTSUP ? err::NotSupported : ErrorFromErrno(errno));
      return false;
    }
  }
  if (!directory) {
    const bool readOnly = attributes & attr::ReadOnly;
    const bool isReadOnly = (st.st_mode & kWriteBits) == 0;
    if (readOnly != isReadOnly) {
      const mode_t mode = readOnly ? (st.st_mode & ~kWriteBits) : (st.st_mode | S_IWUSR);
      if (::chmod(path.c_str(), mode & 07777) != 0) {
        SetLastErrorFromErrno();
        return false;
      }
    }
  }
  SetLastError(err::Success);
  return true;
}

}  // namespace platform
