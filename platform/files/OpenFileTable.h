// Internal to platform/files: the table behind FileHandle values and the share-mode registry.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/FileHandle.h"

namespace platform::files_detail {

struct OpenFile {
  int fd = -1;
  dev_t device = 0;
  ino_t inode = 0;
  uint32_t access = 0;  // normalised: ReadData / WriteData / Delete bits
  uint32_t shareMode = 0;
  bool overlapped = false;
  bool canRead = false;
  bool canWrite = false;
  bool canWriteAttributes = false;
  std::string path;
  // Byte ranges this handle holds locked (offset, length), and a read-write descriptor used
  // only to take exclusive locks when the handle itself is not writable.
  std::mutex lockMutex;
  std::vector<std::pair<uint64_t, uint64_t>> locks;
  int lockFd = -1;
};

// The open file of a handle, or null with ERROR_INVALID_HANDLE set.
std::shared_ptr<OpenFile> Lookup(FileHandle handle);

// Whether a handle of this process is open on the file without the share flag.
bool OpenWithoutShare(dev_t device, ino_t inode, uint32_t shareFlag);

// "/proc/self/fd/N": names the open file itself, also for descriptors opened without access.
std::string DescriptorPath(int fd);

// The attribute word of a file whose status is known (see FileAttributes.h).
uint32_t AttributeWord(const std::string& path, const struct stat& followed, bool isSymlink);

}  // namespace platform::files_detail
