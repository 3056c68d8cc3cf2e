// Win32 processes: starting a program from one command line (suspended if asked), resuming,
// waiting for and terminating it; the own and the parent process; environment variables.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/process/Wait.h"

namespace platform {

class Process : public WaitObject {
 public:
  struct Options {
    bool suspended = false;  // the program does not run until Resume
    bool hidden = false;     // show state SW_HIDE: the child reads it with StartupShowWindow
  };

  // Starts the program named by the first argument of the command line (split as Windows
  // does, SplitCommandLine). A name without "/" is looked for on PATH. Null with the last
  // error set when the program cannot be found or started. The child inherits no handles.
  static std::unique_ptr<Process> Start(const std::string& commandLine, Options options);
  // A handle on a running process of this user, to wait for it. Null when there is none.
  static std::unique_ptr<Process> Open(uint32_t pid);

  ~Process() override;  // closes the handle; the process itself runs on
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  uint32_t Id() const { return pid_; }
  // Lets a suspended program run; false when it was not suspended or has ended.
  bool Resume();
  // Ends the process at once; its exit code then reads `exitCode`.
  bool Terminate(uint32_t exitCode);
  // kStillActive while it runs, then its exit code (0 for a process that is not our child).
  uint32_t ExitCode();

  int PollFd() const override { return pidfd_; }

 private:
  Process(uint32_t pid, int pidfd, int gate, bool child);
  void Reap();

  std::mutex mutex_;  // a handle may be used from two threads (a watcher and its owner)
  uint32_t pid_;
  int pidfd_;
  int gate_;  // write end of the start gate of a suspended child, else -1
  bool child_;
  bool reaped_ = false;
  bool terminated_ = false;
  uint32_t terminateCode_ = 0;
  uint32_t exitCode_ = kStillActive;
};

uint32_t CurrentProcessId();
uint32_t ParentProcessId();
// The file name (no folder) of a process's executable; empty when unknown.
std::string ProcessExecutableName(uint32_t pid);
// Full path of this program's executable.
std::string ExecutablePath();

// Environment variables of this process, inherited by the processes it starts.
bool SetEnvironmentVariable(const std::string& name, const std::string& value);
bool DeleteEnvironmentVariable(const std::string& name);
// False with err::EnvvarNotFound when it is not set.
bool GetEnvironmentVariable(const std::string& name, std::string& value);

// Ends this process at once with the exit code: no destructors, no atexit handlers.
[[noreturn]] void ExitProcessNow(uint32_t exitCode);
// The show state the starting process asked for (STARTUPINFO's wShowWindow): 0 (SW_HIDE)
// for a program started hidden, else 10 (SW_SHOWDEFAULT). Passed to the child in the
// variable VISTREL_SHOW_WINDOW, which the first call takes out of the environment, so the
// program's own children do not inherit it.
int StartupShowWindow();

}  // namespace platform
