#include "platform/memory/FileMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <new>

#include "platform/core/LastError.h"

namespace platform {

struct FileMapping {
  int fd = -1;  // our own descriptor of the backing memory file or file
  uint64_t size = 0;
};

namespace {

// Live views by start address, so that UnmapView can take an address inside a view.
std::mutex g_lock;
std::map<uintptr_t, std::size_t>& Views() {
  static auto* table = new std::map<uintptr_t, std::size_t>();
  return *table;
}

}  // namespace

FileMapping* CreateFileMapping(int file, uint64_t size) {
  int fd = -1;
  if (file == kNoFile) {
    if (size == 0) {
      SetLastError(err::InvalidParameter);
      return nullptr;
    }
    fd = memfd_create("vistrel-mapping", MFD_CLOEXEC);
  } else {
    fd = fcntl(file, F_DUPFD_CLOEXEC, 0);
  }
  if (fd < 0) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    SetLastErrorFromErrno();
    close(fd);
    return nullptr;
  }
  const auto current = static_cast<uint64_t>(st.st_size);
  if (size == 0) size = current;
  if (size == 0 || size > static_cast<uint64_t>(INT64_MAX)) {
    SetLastError(err::InvalidParameter);
    close(fd);
    return nullptr;
  }
  if (size > current && ftruncate(fd, static_cast<off_t>(size)) != 0) {
    SetLastErrorFromErrno();
    close(fd);
    return nullptr;
  }
  auto* mapping = new (std::nothrow) FileMapping{fd, size};
  if (mapping == nullptr) {
    SetLastError(err::NotEnoughMemory);
    close(fd);
  }
  return mapping;
}

bool CloseFileMapping(FileMapping* mapping) {
  if (mapping == nullptr) {
    SetLastError(err::InvalidHandle);
    return false;
  }
  close(mapping->fd);
  delete mapping;
  return true;
}

void* MapView(FileMapping* mapping, uint64_t offset, std::size_t bytes) {
  if (mapping == nullptr) {
    SetLastError(err::InvalidHandle);
    return nullptr;
  }
  if (offset % kAllocationGranularity != 0) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  if (offset >= mapping->size || bytes > mapping->size - offset) {
    SetLastError(err::AccessDenied);
    return nullptr;
  }
  if (bytes == 0) bytes = static_cast<std::size_t>(mapping->size - offset);
  void* view = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, mapping->fd,
                    static_cast<off_t>(offset));
  if (view == MAP_FAILED) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(g_lock);
  Views()[reinterpret_cast<uintptr_t>(view)] = bytes;
  return view;
}

bool UnmapView(const void* address) {
  const auto a = reinterpret_cast<uintptr_t>(address);
  uintptr_t start = 0;
  std::size_t length = 0;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    auto& views = Views();
    auto it = views.upper_bound(a);
    if (address == nullptr || it == views.begin() || a >= std::prev(it)->first + std::prev(it)->second) {
      SetLastError(err::InvalidAddress);
      return false;
    }
    --it;
    start = it->first;
    length = it->second;
    views.erase(it);
  }
  if (munmap(reinterpret_cast<void*>(start), length) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}

}  // namespace platform
