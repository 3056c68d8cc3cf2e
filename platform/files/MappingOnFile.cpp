#include "platform/files/MappingOnFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/core/LastError.h"
#include "platform/files/OpenFileTable.h"

namespace platform {

namespace {

struct Mapping {
  int fd = -1;
  bool writable = false;
  uint64_t size = 0;
};

std::mutex g_mutex;
std::unordered_map<intptr_t, Mapping> g_mappings;
std::map<uintptr_t, size_t> g_views;  // view address -> length
intptr_t g_nextKey = 0x3000;

}  // namespace

MappingOnFileHandle CreateMappingOnFile(FileHandle handle, uint32_t protection,
                                        uint64_t maximumSize) {
  auto file = files_detail::Lookup(handle);
  if (!file) return kNoMappingOnFile;
  const bool writable = protection == page::ReadWrite;
  if (!writable && protection != page::ReadOnly) {
    SetLastError(err::InvalidParameter);
    return kNoMappingOnFile;
  }
  if (!file->canRead || (writable && !file->canWrite)) {
    SetLastError(err::AccessDenied);
    return kNoMappingOnFile;
  }
  struct stat st {};
  if (::fstat(file->fd, &st) != 0) {
    SetLastErrorFromErrno();
    return kNoMappingOnFile;
  }
  const uint64_t fileSize = static_cast<uint64_t>(st.st_size);
  uint64_t size = maximumSize == 0 ? fileSize : maximumSize;
  if (size == 0) {
    SetLastError(err::FileInvalid);
    return kNoMappingOnFile;
  }
  if (size > fileSize) {
    if (!writable) {
      SetLastError(err::NotEnoughMemory);
      return kNoMappingOnFile;
    }
    // The growth gets its blocks now, as on Windows: a sparse tail would make a write through
    // the view on a full disk a SIGBUS. Only a file system that cannot reserve grows sparse.
    if (::fallocate(file->fd, 0, 0, static_cast<off_t>(size)) != 0) {
      int e = errno;
      if (e == EOPNOTSUPP) e = ::ftruncate(file->fd, static_cast<off_t>(size)) == 0 ? 0 : errno;
      if (e != 0) {
        [[maybe_unused]] const int restored = ::ftruncate(file->fd, static_cast<off_t>(fileSize));
        SetLastErrorFromErrno(e);
        return kNoMappingOnFile;
      }
    }
  }
  const int fd = ::fcntl(file->fd, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) {
    SetLastErrorFromErrno();
    return kNoMappingOnFile;
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  const intptr_t key = g_nextKey;
  g_nextKey += 4;
  g_mappings.emplace(key, Mapping{fd, writable, size});
  SetLastError(err::Success);
  return static_cast<MappingOnFileHandle>(key);
}

bool CloseMappingOnFile(MappingOnFileHandle handle) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = g_mappings.find(static_cast<intptr_t>(handle));
  if (it == g_mappings.end()) {
    SetLastError(err::InvalidHandle);
    return false;
  }
  ::close(it->second.fd);
  g_mappings.erase(it);
  SetLastError(err::Success);
  return true;
}

void* MapViewOnFile(MappingOnFileHandle handle, uint32_t access, uint64_t offset, size_t size) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = g_mappings.find(static_cast<intptr_t>(handle));
  if (it == g_mappings.end()) {
    SetLastError(err::InvalidHandle);
    return nullptr;
  }
  const Mapping& mapping = it->second;
  const bool write = access & view_access::Write;
  if (offset % kViewAlignment != 0) {
    SetLastError(err::MappedAlignment);
    return nullptr;
  }
  if (offset >= mapping.size || (write && !mapping.writable)) {
    SetLastError(err::AccessDenied);
    return nullptr;
  }
  if (size == 0) size = static_cast<size_t>(mapping.size - offset);
  if (size > mapping.size - offset) {
    SetLastError(err::AccessDenied);
    return nullptr;
  }
  void* view = ::mmap(nullptr, size, write ? PROT_READ | PROT_WRITE : PROT_READ, MAP_SHARED,
                      mapping.fd, static_cast<off_t>(offset));
  if (view == MAP_FAILED) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  g_views[reinterpret_cast<uintptr_t>(view)] = size;
  SetLastError(err::Success);
  return view;
}

namespace {

// The view that holds the address, or g_views.end().
std::map<uintptr_t, size_t>::iterator ViewHolding(uintptr_t at) {
  auto it = g_views.upper_bound(at);
  if (it == g_views.begin()) return g_views.end();
  --it;
  return at < it->first + it->second ? it : g_views.end();
}

}  // namespace

bool UnmapViewOnFile(void* address) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = ViewHolding(reinterpret_cast<uintptr_t>(address));
  if (it == g_views.end()) {
    SetLastError(err::InvalidAddress);
    return false;
  }
  ::munmap(reinterpret_cast<void*>(it->first), it->second);
  g_views.erase(it);
  SetLastError(err::Success);
  return true;
}

bool FlushViewOnFile(void* address, size_t bytes) {
  std::lock_guard<std::mutex> lock(g_mutex);
  const uintptr_t at = reinterpret_cast<uintptr_t>(address);
  auto it = ViewHolding(at);
  if (it == g_views.end()) {
    SetLastError(err::InvalidAddress);
    return false;
  }
  const uintptr_t pageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const uintptr_t start = bytes == 0 ? it->first : at & ~(pageSize - 1);
  const uintptr_t end =
      bytes == 0 ? it->first + it->second : std::min<uintptr_t>(at + bytes, it->first + it->second);
  if (::msync(reinterpret_cast<void*>(start), end - start, MS_SYNC) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  SetLastError(err::Success);
  return true;
}

}  // namespace platform
