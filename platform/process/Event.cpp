#include "platform/process/Event.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/LastError.h"
#include "platform/process/NamedObjects.h"

namespace platform {

// A named event is a FIFO: one byte or more in the pipe means signalled. The FIFO's
// owner-execute bit records manual reset, so that an opener learns the creator's mode.
// An unnamed event is an eventfd whose counter is non-zero while signalled.

Event::Event(int fd, bool manualReset, bool named, std::string path)
    : fd_(fd), manualReset_(manualReset), named_(named), path_(std::move(path)) {}

Event::~Event() {
  if (named_) named::Leave(fd_, path_);
  else if (fd_ >= 0) ::close(fd_);
}

std::unique_ptr<Event> Event::Create(bool manualReset, bool initialState, const std::string& name) {
  if (name.empty()) {
    const int fd = ::eventfd(initialState ? 1 : 0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0) {
      SetLastErrorFromErrno();
      return nullptr;
    }
    SetLastError(err::Success);
    return std::unique_ptr<Event>(new Event(fd, manualReset, false, {}));
  }
  const std::string path = named::PathOf("event", name);
  const auto open = [&] {
    int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
      if (::mkfifo(path.c_str(), 0600) != 0 && errno != EEXIST) return -1;
      fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    }
    return fd;
  };
  const auto init = [&](int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    if (!S_ISFIFO(st.st_mode)) {
      errno = EEXIST;
      return false;
    }
    char drain[64];
    while (::read(fd, drain, sizeof drain) > 0) {
    }
    if (::fchmod(fd, manualReset ? 0700 : 0600) != 0) return false;
    if (initialState && ::write(fd, "s", 1) != 1) return false;
    return true;
  };
  const named::Joined j = named::Join(path, open, init);
  if (j.fd < 0) return nullptr;
  struct stat st {};
  ::fstat(j.fd, &st);
  SetLastError(j.fresh ? err::Success : err::AlreadyExists);
  return std::unique_ptr<Event>(new Event(j.fd, (st.st_mode & S_IXUSR) != 0, true, path));
}

std::unique_ptr<Event> Event::Open(const std::string& name) {
  const std::string path = named::PathOf("event", name);
  const auto open = [&] { return ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC); };
  // A FIFO nobody holds is a stale name: the event does not exist.
  const auto init = [](int) {
    errno = ENOENT;
    return false;
  };
  const named::Joined j = named::Join(path, open, init);
  if (j.fd < 0) {
    if (GetLastError() == err::PathNotFound) SetLastError(err::FileNotFound);
    return nullptr;
  }
  struct stat st {};
  ::fstat(j.fd, &st);
  if (!S_ISFIFO(st.st_mode)) {
    named::Leave(j.fd, path);
    SetLastError(err::InvalidHandle);
    return nullptr;
  }
  SetLastError(err::Success);
  return std::unique_ptr<Event>(new Event(j.fd, (st.st_mode & S_IXUSR) != 0, true, path));
}

bool Event::IsSignalled() const {
  pollfd p{fd_, POLLIN, 0};
  return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

bool Event::Set() {
  if (named_) {
    // One byte is enough; more would let an auto-reset event release several waiters.
    if (IsSignalled()) return true;
    if (::write(fd_, "s", 1) == 1 || errno == EAGAIN) return true;
  } else {
    const uint64_t one = 1;
    if (::write(fd_, &one, sizeof one) == sizeof one || errno == EAGAIN) return true;
  }
  SetLastErrorFromErrno();
  return false;
}

bool Event::Reset() {
  char drain[64];
  if (named_) {
    while (::read(fd_, drain, sizeof drain) > 0) {
    }
  } else {
    uint64_t value;
    (void)::read(fd_, &value, sizeof value);
  }
  return true;
}

bool Event::TryAcquire() {
  if (manualReset_) return true;
  if (named_) {
    char drain[64];
    const ssize_t n = ::read(fd_, drain, sizeof drain);
    return n > 0;
  }
  uint64_t value;
  return ::read(fd_, &value, sizeof value) == sizeof value;
}

}  // namespace platform
