#include "platform/files/FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cerrno>
#include <mutex>
#include <unordered_map>

#include "platform/core/LastError.h"
#include "platform/files/OpenFileTable.h"

namespace platform {

namespace files_detail {
namespace {

std::mutex g_tableMutex;
std::unordered_map<intptr_t, std::shared_ptr<OpenFile>> g_table;
// Handle values start well above small numbers and step by 4, like Win32 handles.
intptr_t g_nextKey = 0x1000;

constexpr uint32_t kDataAccess = access::ReadData | access::WriteData | access::Delete;

uint32_t NormaliseAccess(uint32_t desired) {
  uint32_t a = 0;
  if (desired & (access::GenericRead | access::GenericAll | access::ReadData))
    a |= access::ReadData;
  if (desired &
      (access::GenericWrite | access::GenericAll | access::WriteData | access::AppendData))
    a |= access::WriteData;
  if (desired & (access::Delete | access::GenericAll)) a |= access::Delete;
  return a;
}

// Win32's share check: an open that asks for data or delete access conflicts with every open
// handle whose share mode does not allow it, and with every handle whose access its own share
// mode does not allow. Opens for attributes only (no data access) are not checked.
bool Conflicts(const OpenFile& existing, uint32_t access, uint32_t shareMode) {
  if ((access & kDataAccess) == 0 || (existing.access & kDataAccess) == 0) return false;
  if ((access & access::ReadData) && !(existing.shareMode & share::Read)) return true;
  if ((access & access::WriteData) && !(existing.shareMode & share::Write)) return true;
  if ((access & access::Delete) && !(existing.shareMode & share::Delete)) return true;
  if ((existing.access & access::ReadData) && !(shareMode & share::Read)) return true;
  if ((existing.access & access::WriteData) && !(shareMode & share::Write)) return true;
  if ((existing.access & access::Delete) && !(shareMode & share::Delete)) return true;
  return false;
}

}  // namespace

std::string DescriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

std::shared_ptr<OpenFile> Lookup(FileHandle handle) {
  std::lock_guard<std::mutex> lock(g_tableMutex);
  auto it = g_table.find(static_cast<intptr_t>(handle));
  if (it == g_table.end()) {
    SetLastError(err::InvalidHandle);
    return nullptr;
  }
  return it->second;
}

bool OpenWithoutShare(dev_t device, ino_t inode, uint32_t shareFlag) {
  std::lock_guard<std::mutex> lock(g_tableMutex);
  for (const auto& [key, file] : g_table) {
    if (file->device == device && file->inode == inode && (file->access & kDataAccess) &&
        !(file->shareMode & shareFlag))
      return true;
  }
  return false;
}

FileHandle Register(std::shared_ptr<OpenFile> file) {
  std::lock_guard<std::mutex> lock(g_tableMutex);
  for (const auto& [key, other] : g_table) {
    if (other->device == file->device && other->inode == file->inode &&
        Conflicts(*other, file->access, file->shareMode)) {
      SetLastError(err::SharingViolation);
      return kInvalidFileHandle;
    }
  }
  const intptr_t key = g_nextKey;
  g_nextKey += 4;
  g_table.emplace(key, std::move(file));
  return static_cast<FileHandle>(key);
}

std::shared_ptr<OpenFile> Unregister(FileHandle handle) {
  std::lock_guard<std::mutex> lock(g_tableMutex);
  auto it = g_table.find(static_cast<intptr_t>(handle));
  if (it == g_table.end()) return nullptr;
  auto file = it->second;
  g_table.erase(it);
  return file;
}

}  // namespace files_detail

using namespace files_detail;

namespace {

// Win32 tells a missing folder on the way (path not found) from a missing file.
bool FolderExists(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return true;
  struct stat st {};
  return ::stat(path.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A write past the file-size limit (ulimit -f) sends SIGXFSZ, which ends the process unless
// handled; ignored, the write fails with EFBIG instead, as Win32 fails it with an error code.
// A handler the program installed itself is left alone.
void IgnoreFileSizeSignal() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
      ::signal(SIGXFSZ, SIG_IGN);
  });
}

}  // namespace

FileHandle CreateFile(const std::string& path, uint32_t desiredAccess, uint32_t shareMode,
                      Disposition disposition, uint32_t flags) {
  if (path.empty()) {
    SetLastError(err::PathNotFound);
    return kInvalidFileHandle;
  }
  const uint32_t acc = NormaliseAccess(desiredAccess);
  const bool wantRead = acc & access::ReadData;
  const bool wantWrite = acc & access::WriteData;
  if (wantWrite) IgnoreFileSizeSignal();

  struct stat before {};
  const bool existed = ::stat(path.c_str(), &before) == 0;
  if (existed && S_ISDIR(before.st_mode)) {
    SetLastError(err::AccessDenied);
    return kInvalidFileHandle;
  }
  // A read-only file (no write permission bit) refuses write access, also to root.
  const bool readOnly = existed && (before.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  const bool truncates =
      disposition == Disposition::CreateAlways || disposition == Disposition::TruncateExisting;
  if (readOnly && (wantWrite || truncates)) {
    SetLastError(err::AccessDenied);
    return kInvalidFileHandle;
  }

  int oflags = O_CLOEXEC;
  if (wantRead && wantWrite)
    oflags |= O_RDWR;
  else if (wantWrite)
    oflags |= O_WRONLY;
  else
    oflags |= O_RDONLY;
  switch (disposition) {
    case Disposition::CreateNew:
      oflags |= O_CREAT | O_EXCL;
      break;
    case Disposition::CreateAlways:
      oflags |= O_CREAT;
      break;
    case Disposition::OpenExisting:
      break;
    case Disposition::OpenAlways:
      oflags |= O_CREAT;
      break;
    case Disposition::TruncateExisting:
      break;
    default:
      SetLastError(err::InvalidParameter);
      return kInvalidFileHandle;
  }
  if (disposition == Disposition::TruncateExisting && !wantWrite) {
    SetLastError(err::InvalidParameter);
    return kInvalidFileHandle;
  }
  // An open without data access (sizes, times, existence) needs no permission on the file.
  if (!wantRead && !wantWrite && !(oflags & O_CREAT)) oflags = O_PATH | O_CLOEXEC;
  // Truncation waits until the share check passed, so a refused open changes nothing.
  // O_NONBLOCK: a FIFO or device met in a folder must not block the open.
  int fd = ::open(path.c_str(), oflags | O_NONBLOCK, 0666);
  if (fd < 0) {
    if (errno == EEXIST)
      SetLastError(err::FileExists);
    else if (errno == ENOENT && !FolderExists(path))
      SetLastError(err::PathNotFound);
    else
      SetLastErrorFromErrno();
    return kInvalidFileHandle;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    // Only regular files are files here: folders, FIFOs, devices and sockets are refused.
    ::close(fd);
    SetLastError(err::AccessDenied);
    return kInvalidFileHandle;
  }
  if (!(oflags & O_PATH)) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  const bool created = !existed;

  auto file = std::make_shared<OpenFile>();
  file->fd = fd;
  file->device = st.st_dev;
  file->inode = st.st_ino;
  file->access = acc;
  file->shareMode = shareMode;
  file->overlapped = (flags & kFileFlagOverlapped) != 0;
  file->canRead = wantRead;
  file->canWrite = wantWrite;
  file->canWriteAttributes = wantWrite || (desiredAccess & access::WriteAttributes) != 0;
  file->path = path;
  const FileHandle handle = Register(file);
  if (handle == kInvalidFileHandle) {
    ::close(fd);
    if (created) ::unlink(path.c_str());
    return kInvalidFileHandle;
  }
  // Through the descriptor's own name, so a handle without write access truncates too.
  if (truncates && existed && ::truncate(DescriptorPath(fd).c_str(), 0) != 0) {
    const int e = errno;
    CloseFile(handle);
    SetLastErrorFromErrno(e);
    return kInvalidFileHandle;
  }
  const bool reportsExisting = existed && (disposition == Disposition::CreateAlways ||
                                           disposition == Disposition::OpenAlways);
  SetLastError(reportsExisting ? err::AlreadyExists : err::Success);
  return handle;
}

bool CloseFile(FileHandle handle) {
  auto file = Unregister(handle);
  if (!file) {
    SetLastError(err::InvalidHandle);
    return false;
  }
  // Closing the descriptors drops the open-file-description locks they hold.
  if (file->lockFd >= 0) ::close(file->lockFd);
  ::close(file->fd);
  SetLastError(err::Success);
  return true;
}

}  // namespace platform
