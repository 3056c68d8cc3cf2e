#include "platform/process/NamedFileMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/LastError.h"
#include "platform/process/NamedObjects.h"

namespace platform {

struct NamedFileMapping::Core {
  int fd = -1;
  uint64_t size = 0;
  std::string path;  // empty for an unnamed mapping
  ~Core() {
    if (!path.empty()) named::Leave(fd, path);
    else if (fd >= 0) ::close(fd);
  }
};

std::unique_ptr<NamedFileMapping> NamedFileMapping::Create(const std::string& name, uint64_t size) {
  if (size == 0 || size > static_cast<uint64_t>(INT64_MAX)) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  auto core = std::make_shared<Core>();
  if (name.empty()) {
    core->fd = ::memfd_create("vistrel-mapping", MFD_CLOEXEC);
    if (core->fd < 0 || ::ftruncate(core->fd, static_cast<off_t>(size)) != 0) {
      SetLastErrorFromErrno();
      return nullptr;
    }
    core->size = size;
    SetLastError(err::Success);
    return std::unique_ptr<NamedFileMapping>(new NamedFileMapping(core));
  }
  const std::string path = named::PathOf("map", name);
  const auto open = [&] { return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600); };
  // A fresh name, or one left by a crashed process: start from zeros at the asked length.
  const auto init = [&](int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    if (!S_ISREG(st.st_mode)) {
      errno = EEXIST;
      return false;
    }
    return ::ftruncate(fd, 0) == 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0;
  };
  const named::Joined j = named::Join(path, open, init);
  if (j.fd < 0) {
    if (GetLastError() == err::DiskFull) SetLastError(err::CommitmentLimit);
    return nullptr;
  }
  core->fd = j.fd;
  core->path = path;
  struct stat st {};
  ::fstat(j.fd, &st);
  core->size = static_cast<uint64_t>(st.st_size);
  SetLastError(j.fresh ? err::Success : err::AlreadyExists);
  return std::unique_ptr<NamedFileMapping>(new NamedFileMapping(core));
}

std::unique_ptr<NamedFileMapping> NamedFileMapping::Open(const std::string& name) {
  if (name.empty()) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  const std::string path = named::PathOf("map", name);
  const auto open = [&] { return ::open(path.c_str(), O_RDWR | O_CLOEXEC); };
  const auto init = [](int) {
    errno = ENOENT;  // nobody holds it: a stale name
    return false;
  };
  const named::Joined j = named::Join(path, open, init);
  if (j.fd < 0) {
    if (GetLastError() == err::PathNotFound) SetLastError(err::FileNotFound);
    return nullptr;
  }
  auto core = std::make_shared<Core>();
  core->fd = j.fd;
  core->path = path;
  struct stat st {};
  ::fstat(j.fd, &st);
  core->size = static_cast<uint64_t>(st.st_size);
  SetLastError(err::Success);
  return std::unique_ptr<NamedFileMapping>(new NamedFileMapping(core));
}

NamedFileMapping::~NamedFileMapping() = default;

uint64_t NamedFileMapping::Size() const { return core_->size; }

std::unique_ptr<MappedView> NamedFileMapping::Map(uint64_t offset, uint64_t length) {
  if (offset >= core_->size || length > core_->size - offset) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  if (length == 0) length = core_->size - offset;
  const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
  const uint64_t start = offset / page * page;
  const uint64_t baseLength = length + (offset - start);
  void* base = ::mmap(nullptr, baseLength, PROT_READ | PROT_WRITE, MAP_SHARED, core_->fd, static_cast<off_t>(start));
  if (base == MAP_FAILED) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  return std::unique_ptr<MappedView>(
      new MappedView(core_, base, baseLength, static_cast<uint8_t*>(base) + (offset - start), length));
}

MappedView::~MappedView() { ::munmap(base_, baseLength_); }

bool MappedView::Flush() {
  if (::msync(base_, baseLength_, MS_SYNC) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}

}  // namespace platform
