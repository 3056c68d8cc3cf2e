#include "platform/files/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/core/LastError.h"
#include "platform/files/OpenFileTable.h"

namespace platform {

using files_detail::Lookup;
using files_detail::OpenFile;

namespace {

// Repeats pread/pwrite until all bytes moved, the end of the file, or an error.
bool TransferAt(const OpenFile& file, bool writing, char* buffer, uint32_t count, uint64_t offset,
                uint32_t* moved, bool* hitEnd) {
  uint32_t done = 0;
  *hitEnd = false;
  while (done < count) {
    const ssize_t n = writing ? ::pwrite(file.fd, buffer + done, count - done, offset + done)
                              : ::pread(file.fd, buffer + done, count - done, offset + done);
    if (n < 0) {
      if (errno == EINTR) continue;
      *moved = done;
      SetLastErrorFromErrno();
      return false;
    }
    if (n == 0) {
      *hitEnd = true;
      break;
    }
    done += static_cast<uint32_t>(n);
  }
  *moved = done;
  return true;
}

bool Transfer(FileHandle handle, bool writing, char* buffer, uint32_t count, uint32_t* moved,
              Overlapped* record) {
  uint32_t ignored = 0;
  if (!moved) moved = &ignored;
  *moved = 0;
  auto file = Lookup(handle);
  if (!file) return false;
  if (writing ? !file->canWrite : !file->canRead) {
    SetLastError(err::AccessDenied);
    return false;
  }
  if (!record) {
    const ssize_t n = writing ? ::write(file->fd, buffer, count) : ::read(file->fd, buffer, count);
    if (n < 0) {
      SetLastErrorFromErrno();
      return false;
    }
    *moved = static_cast<uint32_t>(n);
    SetLastError(err::Success);
    return true;
  }
  bool hitEnd = false;
  const bool ok = TransferAt(*file, writing, buffer, count, record->offset, moved, &hitEnd);
  record->transferred = *moved;
  if (!ok) {
    record->status = GetLastError();
    return false;
  }
  if (hitEnd && count > 0) {
    record->status = err::HandleEof;
    SetLastError(err::HandleEof);
    return false;
  }
  record->status = err::Success;
  SetLastError(err::Success);
  return true;
}

bool HeldByThisHandle(const OpenFile& file, uint64_t offset, uint64_t length) {
  return std::any_of(file.locks.begin(), file.locks.end(), [&](const auto& r) {
    return offset < r.first + r.second && r.first < offset + length;
  });
}

bool SetLock(int fd, short type, uint64_t offset, uint64_t length) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(offset);
  lock.l_len = static_cast<off_t>(length);
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

}  // namespace

bool ReadFile(FileHandle handle, void* buffer, uint32_t count, uint32_t* moved,
              Overlapped* record) {
  return Transfer(handle, false, static_cast<char*>(buffer), count, moved, record);
}

bool WriteFile(FileHandle handle, const void* data, uint32_t count, uint32_t* moved,
               Overlapped* record) {
  return Transfer(handle, true, const_cast<char*>(static_cast<const char*>(data)), count, moved,
                  record);
}

bool GetOverlappedResult(FileHandle handle, const Overlapped* record, uint32_t* moved, bool) {
  if (!Lookup(handle)) return false;
  if (!record) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  if (moved) *moved = record->transferred;
  SetLastError(record->status);
  return record->status == err::Success;
}

bool SetFilePointer(FileHandle handle, int64_t distance, MoveMethod method, int64_t* newPosition) {
  auto file = Lookup(handle);
  if (!file) return false;
  int whence = SEEK_CUR;
  if (method == MoveMethod::Begin)
    whence = SEEK_SET;
  else if (method == MoveMethod::End)
    whence = SEEK_END;
  if (whence != SEEK_SET) {
    const off_t base = ::lseek(file->fd, 0, whence);
    if (base < 0) {
      SetLastErrorFromErrno();
      return false;
    }
    if (distance < 0 && base + distance < 0) {
      SetLastError(err::NegativeSeek);
      return false;
    }
  } else if (distance < 0) {
    SetLastError(err::NegativeSeek);
    return false;
  }
  const off_t pos = ::lseek(file->fd, distance, whence);
  if (pos < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  if (newPosition) *newPosition = pos;
  SetLastError(err::Success);
  return true;
}

bool GetFileSize(FileHandle handle, int64_t* size) {
  auto file = Lookup(handle);
  if (!file) return false;
  struct stat st {};
  if (::fstat(file->fd, &st) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  *size = st.st_size;
  SetLastError(err::Success);
  return true;
}

bool SetEndOfFile(FileHandle handle) {
  auto file = Lookup(handle);
  if (!file) return false;
  if (!file->canWrite) {
    SetLastError(err::AccessDenied);
    return false;
  }
  const off_t pos = ::lseek(file->fd, 0, SEEK_CUR);
  if (pos < 0 || ::ftruncate(file->fd, pos) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  SetLastError(err::Success);
  return true;
}

bool FlushFileBuffers(FileHandle handle) {
  auto file = Lookup(handle);
  if (!file) return false;
  if (!file->canWrite) {
    SetLastError(err::AccessDenied);
    return false;
  }
  if (::fsync(file->fd) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  SetLastError(err::Success);
  return true;
}

bool ReserveFileSpace(FileHandle handle, uint64_t size) {
  auto file = Lookup(handle);
  if (!file) return false;
  if (!file->canWrite) {
    SetLastError(err::AccessDenied);
    return false;
  }
  struct stat st {};
  if (::fstat(file->fd, &st) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  const uint64_t length = static_cast<uint64_t>(st.st_size);
  if (size > static_cast<uint64_t>(INT64_MAX)) {
    SetLastError(err::FileTooLarge);
    return false;
  }
  // fallocate, not posix_fallocate: the latter's fallback writes bytes one block at a time,
  // which reserves nothing on copy-on-write file systems and is slow everywhere.
  if (size > length && ::fallocate(file->fd, 0, 0, static_cast<off_t>(size)) != 0) {
    const int e = errno;
    // A full disk may leave part of the blocks allocated and the length changed.
    [[maybe_unused]] const int restored = ::ftruncate(file->fd, static_cast<off_t>(length));
    SetLastErrorFromErrno(e);
    return false;
  }
  SetLastError(err::Success);
  return true;
}

bool LockFile(FileHandle handle, uint64_t offset, uint64_t length) {
  auto file = Lookup(handle);
  if (!file) return false;
  if (length == 0) {
    SetLastError(err::Success);
    return true;
  }
  if (offset > INT64_MAX || length > static_cast<uint64_t>(INT64_MAX) - offset) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  std::lock_guard<std::mutex> guard(file->lockMutex);
  if (HeldByThisHandle(*file, offset, length)) {
    SetLastError(err::LockViolation);
    return false;
  }
  // An exclusive (write) lock needs a writable descriptor; a handle without write access
  // reopens its file read-write for locking, or takes a shared lock when that is refused.
  int fd = file->fd;
  short type = F_WRLCK;
  if (!file->canWrite) {
    if (file->lockFd < 0) {
      const std::string self = "/proc/self/fd/" + std::to_string(file->fd);
      file->lockFd = ::open(self.c_str(), O_RDWR | O_CLOEXEC);
    }
    if (file->lockFd >= 0)
      fd = file->lockFd;
    else
      type = F_RDLCK;
  }
  if (!SetLock(fd, type, offset, length)) {
    if (errno == EAGAIN || errno == EACCES)
      SetLastError(err::LockViolation);
    else
      SetLastErrorFromErrno();
    return false;
  }
  file->locks.emplace_back(offset, length);
  SetLastError(err::Success);
  return true;
}

bool UnlockFile(FileHandle handle, uint64_t offset, uint64_t length) {
  auto file = Lookup(handle);
  if (!file) return false;
  std::lock_guard<std::mutex> guard(file->lockMutex);
  auto it = std::find(file->locks.begin(), file->locks.end(), std::make_pair(offset, length));
  if (it == file->locks.end()) {
    SetLastError(err::NotLocked);
    return false;
  }
  const int fd = (!file->canWrite && file->lockFd >= 0) ? file->lockFd : file->fd;
  if (!SetLock(fd, F_UNLCK, offset, length)) {
    SetLastErrorFromErrno();
    return false;
  }
  file->locks.erase(it);
  SetLastError(err::Success);
  return true;
}

}  // namespace platform
