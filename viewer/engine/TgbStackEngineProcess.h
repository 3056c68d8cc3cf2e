// The launcher of one stack's rendering-engine process: starts the engine suspended, hands
// it its three input lists through named file mappings, waits until the engine has taken
// them, watches the process on a thread of its own and ends it on request.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <mutex>
#include <string>

#include "platform/process/CriticalSection.h"
#include "platform/process/Event.h"
#include "platform/process/NamedFileMapping.h"
#include "platform/process/Process.h"
#include "platform/process/Thread.h"
#include "platform/windows/WindowTypes.h"

namespace ORN_image {

// The watcher's body, called by the thread entry with the object as its parameter.
class __TgbStackEngineProcessBasis {
 public:
  virtual ~__TgbStackEngineProcessBasis() = default;
  virtual uint32_t WatchProcess() = 0;
};

class TgbStackEngineProcess : public __TgbStackEngineProcessBasis {
 public:
  // Called on the watcher thread when the watcher ends: true when a stop request woke it,
  // false when the engine ended. It must not wait for the GUI thread (post, do not send).
  using ExitCallback = std::function<void(bool stopped)>;

  TgbStackEngineProcess();
  ~TgbStackEngineProcess() override;
  TgbStackEngineProcess(const TgbStackEngineProcess&) = delete;
  TgbStackEngineProcess& operator=(const TgbStackEngineProcess&) = delete;

  // Installs (or clears, with an empty function) the exit callback; the tile installs its
  // own before the first start.
  void SetExitCallback(ExitCallback callback);

  bool Start(std::istream& imageList, std::istream& presentationStateList, std::istream& frameIndexList,
             const std::string& argumentText, const std::string& executablePath, platform::WindowHandle panel,
             uint32_t timeoutMs);
  void Stop();
  bool IsRunning() const;
  platform::WindowHandle FindEngineWindow();

  bool IsStarted() const { return started_; }
  // Local time of the successful start, "yyyymmddhhnnsszzz"; empty when not started.
  const std::string& StartTime() const { return startTime_; }
  // Text of the last watcher-thread failure; never shown.
  const std::string& LastErrorText() const { return lastErrorText_; }
  uint32_t ChildProcessId() const;

  // The process-wide session number from this program's command line; all bits set: none.
  static void SetSessionNumber(uint64_t sessionNumber);
  static uint64_t SessionNumber();

  // Kernel object names: prefix + pid in signed decimal.
  static std::string MakeObjectName(const std::string& prefix, int32_t pid);
  // The engine's command line. The executable path is quoted when it holds a blank.
  static std::string BuildCommandLine(const std::string& executablePath, int32_t ownPid,
                                      platform::WindowHandle panel, const std::string& argumentText,
                                      uint64_t sessionNumber, bool sharingEnabled);
  // [WEB SETTINGS] Sharing of the settings file is non-zero; a missing file means no.
  static bool IsSharingEnabled(const std::string& settingsPath);
  // This program's settings file: its executable path with the last three characters
  // replaced by "ini".
  static std::string SettingsFilePath();

  uint32_t WatchProcess() override;

  // What the watcher thread shares with the object. The watcher holds it by shared
  // ownership, so a watcher that outlives a stop request (threads are not killed here)
  // still touches only live objects.
  struct WatchState {
    std::mutex mutex;  // guards callback and startWait, which the GUI thread clears
    ExitCallback callback;
    std::shared_ptr<platform::Event> startWait;
    std::shared_ptr<platform::Process> process;
    std::shared_ptr<platform::Event> stopEvent;
    int32_t childPid = 0;  // read and written only with interlocked operations
  };

 private:
  static uint32_t Watch(const std::shared_ptr<WatchState>& state);
  std::unique_ptr<platform::NamedFileMapping> CreateSharedStream(std::istream& stream, const std::string& name);
  bool StartWatcher();
  void StopWatcher();
  void TerminateChild();

  std::shared_ptr<WatchState> state_;
  std::unique_ptr<platform::Thread> watcher_;  // null: no watcher
  uint32_t watcherId_ = 0;
  std::string lastErrorText_;
  platform::CriticalSection lock_;
  bool started_ = false;
  std::string startTime_;
};

}  // namespace ORN_image
