#include "platform/process/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/pidfd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/process/CommandLine.h"

namespace platform {

namespace {

bool IsRunnableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The program's path, or empty with errno set.
std::string ResolveProgram(const std::string& name) {
  if (name.empty()) {
    errno = ENOENT;
    return {};
  }
  if (name.find('/') != std::string::npos) {
    if (IsRunnableFile(name)) return name;
    if (errno == 0) errno = EACCES;
    struct stat st {};
    if (::stat(name.c_str(), &st) == 0) errno = EACCES;
    return {};
  }
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  for (;;) {
    const size_t end = dirs.find(':', start);
    std::string candidate = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (candidate.empty()) candidate.push_back('.');  // an empty PATH entry is the current folder
    candidate.append("/").append(name);
    if (IsRunnableFile(candidate)) return candidate;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  errno = ENOENT;
  return {};
}

}  // namespace

Process::Process(uint32_t pid, int pidfd, int gate, bool child)
    : pid_(pid), pidfd_(pidfd), gate_(gate), child_(child) {}

Process::~Process() {
  if (gate_ >= 0) ::close(gate_);  // a child never resumed sees the gate close and ends
  if (child_ && !reaped_) {
    // Collect it if it has ended; a running child is left to run, as closing a handle does.
    // A child this handle terminated is dying at once (SIGKILL): wait for it, so no zombie
    // of it stays behind.
    siginfo_t info{};
    ::waitid(P_PIDFD, static_cast<id_t>(pidfd_), &info, WEXITED | (terminated_ ? 0 : WNOHANG));
  }
  if (pidfd_ >= 0) ::close(pidfd_);
}

std::unique_ptr<Process> Process::Start(const std::string& commandLine, Options options) {
  std::vector<std::string> args = SplitCommandLine(commandLine);
  if (args.empty()) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  const std::string program = ResolveProgram(args[0]);
  if (program.empty()) {
    SetLastError(errno == EACCES ? err::AccessDenied : err::FileNotFound);
    return nullptr;
  }
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The environment is copied before the fork: the child may only make safe calls.
  std::string hiddenShow = "VISTREL_SHOW_WINDOW=0";
  std::vector<char*> envp;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "VISTREL_SHOW_WINDOW=", 20) != 0) envp.push_back(*e);
  if (options.hidden) envp.push_back(hiddenShow.data());
  envp.push_back(nullptr);

  int gate[2];
  if (::pipe2(gate, O_CLOEXEC) != 0) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  const pid_t pid = ::fork();
  if (pid < 0) {
    SetLastErrorFromErrno();
    ::close(gate[0]);
    ::close(gate[1]);
    return nullptr;
  }
  if (pid == 0) {
    // Only async-signal-safe calls from here on. Every descriptor but the gate is closed at
    // once: a suspended child must not keep its parent's sockets, locks or pipes open.
    if (gate[0] != 3 && ::dup2(gate[0], 3) != 3) ::_exit(127);
    ::close_range(4, ~0U, 0);
    if (options.suspended) {
      char go = 0;
      ssize_t n;
      while ((n = ::read(3, &go, 1)) < 0 && errno == EINTR) {
      }
      if (n != 1) ::_exit(0);  // the parent closed the handle without resuming
    }
    ::close(3);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(gate[0]);
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (pidfd < 0) {
    SetLastErrorFromErrno();
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    ::close(gate[1]);
    return nullptr;
  }
  ::fcntl(pidfd, F_SETFD, FD_CLOEXEC);
  int gateWrite = gate[1];
  if (!options.suspended) {
    ::close(gateWrite);
    gateWrite = -1;
  }
  SetLastError(err::Success);
  return std::unique_ptr<Process>(new Process(static_cast<uint32_t>(pid), pidfd, gateWrite, true));
}

std::unique_ptr<Process> Process::Open(uint32_t pid) {
  if (pid == 0 || pid > static_cast<uint32_t>(INT_MAX)) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
  if (pidfd < 0) {
    SetLastError(errno == ESRCH ? err::InvalidParameter : ErrorFromErrno(errno));
    return nullptr;
  }
  ::fcntl(pidfd, F_SETFD, FD_CLOEXEC);
  return std::unique_ptr<Process>(new Process(pid, pidfd, -1, false));
}

bool Process::Resume() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (gate_ < 0) {
    SetLastError(err::InvalidHandle);
    return false;
  }
  const bool ok = ::write(gate_, "g", 1) == 1;
  if (!ok) SetLastErrorFromErrno();
  ::close(gate_);
  gate_ = -1;
  return ok;
}

bool Process::Terminate(uint32_t exitCode) {
  std::lock_guard<std::mutex> lock(mutex_);
  Reap();
  if (reaped_) {
    SetLastError(err::AccessDenied);  // as Win32 says for a process that has ended
    return false;
  }
  if (::syscall(SYS_pidfd_send_signal, pidfd_, SIGKILL, nullptr, 0) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  terminated_ = true;
  terminateCode_ = exitCode;
  return true;
}

void Process::Reap() {
  if (reaped_) return;
  siginfo_t info{};
  if (child_) {
    if (::waitid(P_PIDFD, static_cast<id_t>(pidfd_), &info, WEXITED | WNOHANG) != 0 || info.si_pid == 0)
      return;
    reaped_ = true;
    if (terminated_) exitCode_ = terminateCode_;
    else if (info.si_code == CLD_EXITED) exitCode_ = static_cast<uint32_t>(info.si_status);
    else exitCode_ = 128u + static_cast<uint32_t>(info.si_status);  // ended by a signal
    return;
  }
  pollfd p{pidfd_, POLLIN, 0};
  if (::poll(&p, 1, 0) == 1) {
    reaped_ = true;
    exitCode_ = 0;
  }
}

uint32_t Process::ExitCode() {
  std::lock_guard<std::mutex> lock(mutex_);
  Reap();
  return reaped_ ? exitCode_ : kStillActive;
}

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

uint32_t ParentProcessId() { return static_cast<uint32_t>(::getppid()); }

std::string ProcessExecutableName(uint32_t pid) {
  char buf[PATH_MAX];
  const std::string link = "/proc/" + std::to_string(pid) + "/exe";
  const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf - 1);
  std::string path;
  if (n > 0) {
    path.assign(buf, static_cast<size_t>(n));
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() && path.ends_with(deleted)) path.resize(path.size() - deleted.size());
  } else {
    // Another user's process: its command name is still readable.
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::getline(comm, path);
  }
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExecutablePath() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

bool SetEnvironmentVariable(const std::string& name, const std::string& value) {
  if (name.empty() || name.find('=') != std::string::npos) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  if (::setenv(name.c_str(), value.c_str(), 1) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}

bool DeleteEnvironmentVariable(const std::string& name) {
  if (::unsetenv(name.c_str()) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  return true;
}

bool GetEnvironmentVariable(const std::string& name, std::string& value) {
  const char* v = std::getenv(name.c_str());
  if (!v) {
    SetLastError(err::EnvvarNotFound);
    return false;
  }
  value = v;
  return true;
}

void ExitProcessNow(uint32_t exitCode) { ::_exit(static_cast<int>(exitCode)); }

int StartupShowWindow() {
  static const int show = [] {
    const char* value = ::getenv("VISTREL_SHOW_WINDOW");
    const int result = value && std::strcmp(value, "0") == 0 ? 0 : 10;
    ::unsetenv("VISTREL_SHOW_WINDOW");
    return result;
  }();
  return show;
}

}  // namespace platform
