#include "platform/process/NamedObjects.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "platform/core/LastError.h"

namespace platform::named {

namespace {

// Holds the folder's guard lock; a process-local mutex first, since flock locks belong to
// the open file description and would not keep two threads of this process apart.
class GuardLock {
 public:
  GuardLock() : lock_(Mutex()) {
    fd_ = ::open((Folder() + "/.guard").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0)
      while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
  }
  ~GuardLock() {
    if (fd_ >= 0) ::close(fd_);
  }

 private:
  static std::mutex& Mutex() {
    static std::mutex m;
    return m;
  }
  std::lock_guard<std::mutex> lock_;
  int fd_ = -1;
};

// Removes what processes that ended without leaving (killed, crashed) left behind: objects
// nobody holds, and half-written window entries of processes that no longer run. Runs once
// per process, with the guard held.
void SweepStaleObjects() {
  DIR* dir = ::opendir(Folder().c_str());
  if (!dir) return;
  while (dirent* d = ::readdir(dir)) {
    const std::string name = d->d_name;
    const std::string path = Folder() + "/" + name;
    if (name.rfind("win-", 0) == 0) {
      if (name.ends_with(".new")) {
        const auto pid = static_cast<pid_t>(std::strtoull(name.c_str() + 4, nullptr, 16) >> 32);
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH) ::unlink(path.c_str());
      }
      continue;
    }
    if (name.rfind("event-", 0) != 0 && name.rfind("map-", 0) != 0) continue;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
    ::close(fd);
  }
  ::closedir(dir);
}

}  // namespace

const std::string& Folder() {
  static const std::string folder = [] {
    std::string base = "/dev/shm";
    struct stat st {};
    if (::stat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) base = "/tmp";
    std::string f = base + "/vistrel-" + std::to_string(::getuid());
    ::mkdir(f.c_str(), 0700);
    return f;
  }();
  return folder;
}

std::string PathOf(const std::string& kind, const std::string& name) {
  std::string escaped;
  for (const char c : name) {
    if (c == '/') escaped += "%2F";
    else if (c == '%') escaped += "%25";
    else escaped += c;
  }
  return Folder() + "/" + kind + "-" + escaped;
}

Joined Join(const std::string& path, const std::function<int()>& open,
            const std::function<bool(int fd)>& init) {
  GuardLock guard;
  static std::once_flag swept;
  std::call_once(swept, SweepStaleObjects);
  Joined j;
  const int fd = open();
  if (fd < 0) {
    SetLastErrorFromErrno();
    return j;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    j.fresh = true;
    if (!init(fd)) {
      const int e = errno;
      ::unlink(path.c_str());
      ::close(fd);
      SetLastErrorFromErrno(e);
      return j;
    }
  }
  // Downgrading is not atomic, but every joiner and leaver holds the guard meanwhile.
  if (::flock(fd, LOCK_SH) != 0) {
    SetLastErrorFromErrno();
    ::close(fd);
    return j;
  }
  j.fd = fd;
  return j;
}

void Leave(int fd, const std::string& path) {
  if (fd < 0) return;
  GuardLock guard;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    // Still the file we joined? A stale object may have been replaced under the same name.
    struct stat mine {}, named {};
    if (::fstat(fd, &mine) == 0 && ::stat(path.c_str(), &named) == 0 && mine.st_ino == named.st_ino &&
        mine.st_dev == named.st_dev)
      ::unlink(path.c_str());
  }
  ::close(fd);
}

}  // namespace platform::named
