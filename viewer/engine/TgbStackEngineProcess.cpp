#include "viewer/engine/TgbStackEngineProcess.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>

#include "platform/process/CommandLine.h"
#include "platform/process/Interlocked.h"
#include "platform/windows/Messages.h"

namespace ORN_image {

using platform::kWaitObject0;

namespace {

uint64_t g_sessionNumber = ~uint64_t(0);

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// An integer as the settings reader takes it: decimal with an optional sign, or hex after
// "$" or "0x"; anything else gives the default.
int32_t ToIntDef(const std::string& text, int32_t def) {
  const std::string t = Trim(text);
  if (t.empty()) return def;
  size_t i = 0;
  bool negative = false;
  if (t[i] == '-' || t[i] == '+') negative = t[i++] == '-';
  int base = 10;
  if (i < t.size() && t[i] == '$') base = 16, ++i;
  else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) base = 16, i += 2;
  if (i == t.size()) return def;
  int64_t value = 0;
  for (; i < t.size(); ++i) {
    const int c = std::tolower(static_cast<unsigned char>(t[i]));
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else return def;
    value = value * base + digit;
    if (value > 0xFFFFFFFFll) return def;
  }
  if (base == 10 && value > (negative ? 0x80000000ll : 0x7FFFFFFFll)) return def;
  return static_cast<int32_t>(negative ? -value : value);
}

// The value of a key of an ini file section, compared without regard to case.
bool ReadIniValue(const std::string& path, const std::string& section, const std::string& key, std::string& value) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bool inSection = false;
  for (std::string line; std::getline(in, line);) {
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      inSection = close != std::string::npos && SameText(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    const size_t eq = line.find('=');
    if (inSection && eq != std::string::npos && SameText(Trim(line.substr(0, eq)), key)) {
      value = Trim(line.substr(eq + 1));
      return true;
    }
  }
  return false;
}

std::string NowAsStartTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  const int ms = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
  localtime_r(&t, &local);
  char text[80];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d%03d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, ms);
  return text;
}

}  // namespace

void TgbStackEngineProcess::SetSessionNumber(uint64_t sessionNumber) { g_sessionNumber = sessionNumber; }
uint64_t TgbStackEngineProcess::SessionNumber() { return g_sessionNumber; }

TgbStackEngineProcess::TgbStackEngineProcess() : state_(std::make_shared<WatchState>()) {
  state_->stopEvent = platform::Event::Create(false, false);
}

TgbStackEngineProcess::~TgbStackEngineProcess() {
  {
    platform::CriticalSectionLock lock(lock_);
    StopWatcher();
    std::lock_guard<std::mutex> guard(state_->mutex);
    state_->stopEvent.reset();
  }
}

void TgbStackEngineProcess::SetExitCallback(ExitCallback callback) {
  std::lock_guard<std::mutex> guard(state_->mutex);
  state_->callback = std::move(callback);
}

std::string TgbStackEngineProcess::MakeObjectName(const std::string& prefix, int32_t pid) {
  return prefix + std::to_string(pid);
}

std::string TgbStackEngineProcess::BuildCommandLine(const std::string& executablePath, int32_t ownPid,
                                                    platform::WindowHandle panel, const std::string& argumentText,
                                                    uint64_t sessionNumber, bool sharingEnabled) {
  // The path is quoted so that a program folder with blanks still names the program.
  std::string line = platform::QuoteArgument(executablePath);
  line.append(" ").append(std::to_string(ownPid));
  line.append(" ").append(std::to_string(static_cast<int64_t>(panel)));
  line.append(" ").append(argumentText);
  if (sessionNumber != ~uint64_t(0) && !sharingEnabled) line.append(" ").append(std::to_string(sessionNumber));
  line.append(" end");
  return line;
}

bool TgbStackEngineProcess::IsSharingEnabled(const std::string& settingsPath) {
  std::string value;
  if (!ReadIniValue(settingsPath, "WEB SETTINGS", "Sharing", value)) return false;
  return ToIntDef(value, 0) != 0;
}

std::string TgbStackEngineProcess::SettingsFilePath() {
  std::string path = platform::ExecutablePath();
  if (path.size() >= 3) path.resize(path.size() - 3);
  return path + "ini";
}

uint32_t TgbStackEngineProcess::ChildProcessId() const {
  return static_cast<uint32_t>(platform::InterlockedRead(&state_->childPid));
}

bool TgbStackEngineProcess::IsRunning() const { return ChildProcessId() != 0; }

platform::WindowHandle TgbStackEngineProcess::FindEngineWindow() {
  platform::CriticalSectionLock lock(lock_);
  if (!IsRunning()) return 0;
  return platform::FindWindow(MakeObjectName("StackEngineProcess", static_cast<int32_t>(ChildProcessId())));
}

void TgbStackEngineProcess::TerminateChild() {
  platform::InterlockedExchange(&state_->childPid, 0);
  if (state_->process) state_->process->Terminate(0);
}

std::unique_ptr<platform::NamedFileMapping> TgbStackEngineProcess::CreateSharedStream(std::istream& stream,
                                                                                      const std::string& name) {
  stream.clear();
  stream.seekg(0, std::ios::end);
  const std::streamoff length = stream.tellg();
  if (length < 2) return nullptr;
  auto mapping = platform::NamedFileMapping::Create(name, static_cast<uint64_t>(length));
  if (!mapping) return nullptr;
  auto view = mapping->Map();
  if (!view) return nullptr;
  stream.seekg(0, std::ios::beg);
  stream.read(reinterpret_cast<char*>(view->Data()), length);
  const bool complete = stream.gcount() == length;
  const bool flushed = view->Flush();
  view.reset();
  if (!complete || !flushed) return nullptr;
  return mapping;
}

bool TgbStackEngineProcess::Start(std::istream& imageList, std::istream& presentationStateList,
                                  std::istream& frameIndexList, const std::string& argumentText,
                                  const std::string& executablePath, platform::WindowHandle panel,
                                  uint32_t timeoutMs) {
  platform::CriticalSectionLock lock(lock_);
  started_ = false;
  startTime_.clear();
  StopWatcher();

  const std::string commandLine =
      BuildCommandLine(executablePath, static_cast<int32_t>(platform::CurrentProcessId()), panel, argumentText,
                       SessionNumber(), IsSharingEnabled(SettingsFilePath()));
  std::shared_ptr<platform::Process> child = platform::Process::Start(commandLine, {.suspended = true, .hidden = true});
  if (!child) return false;

  {
    std::lock_guard<std::mutex> guard(state_->mutex);
    state_->process = child;
  }
  const auto pid = static_cast<int32_t>(child->Id());
  platform::InterlockedExchange(&state_->childPid, pid);

  auto images = CreateSharedStream(imageList, MakeObjectName("StackImageFiles", pid));
  auto presentationStates = CreateSharedStream(presentationStateList, MakeObjectName("PresentationStateFiles", pid));
  auto frameIndexes = CreateSharedStream(frameIndexList, MakeObjectName("FrameIndexes", pid));
  std::unique_ptr<platform::Event> taken = platform::Event::Create(true, false, MakeObjectName("FileMappingEvent", pid));
  std::shared_ptr<platform::Event> startWait = platform::Event::Create(true, false);
  {
    std::lock_guard<std::mutex> guard(state_->mutex);
    state_->startWait = startWait;
  }

  bool result = false;
  if (!images || !taken || !startWait || !StartWatcher()) {
    TerminateChild();
  } else {
    child->Resume();
    const uint32_t wait = platform::WaitForObjects({taken.get(), startWait.get()}, timeoutMs);
    if (wait == kWaitObject0) {
      started_ = true;
      startTime_ = NowAsStartTime();
      result = true;
    } else {
      TerminateChild();
    }
  }
  {
    std::lock_guard<std::mutex> guard(state_->mutex);
    state_->startWait.reset();
  }
  // The engine keeps the lists through the handles it opened before it set the event.
  return result;
}

void TgbStackEngineProcess::Stop() {
  platform::CriticalSectionLock lock(lock_);
  started_ = false;
  startTime_.clear();
  StopWatcher();
}

bool TgbStackEngineProcess::StartWatcher() {
  lastErrorText_.clear();
  // A stop request that reached a watcher which had ended already must not stop this one.
  state_->stopEvent->Reset();
  std::shared_ptr<WatchState> state = state_;
  watcher_ = platform::Thread::Create([state] { return Watch(state); }, true);
  if (!watcher_) {
    lastErrorText_ = "Unable to create a thread";
    return false;
  }
  watcherId_ = watcher_->Id();
  if (watcher_->Resume() < 0) {
    lastErrorText_ = "Unable to resume a thread";
    watcher_.reset();
    watcherId_ = 0;
    return false;
  }
  return true;
}

uint32_t TgbStackEngineProcess::WatchProcess() { return Watch(state_); }

uint32_t TgbStackEngineProcess::Watch(const std::shared_ptr<WatchState>& state) {
  // Own references: the GUI thread lets go of its own when it stops watching.
  std::shared_ptr<platform::Event> stopEvent;
  std::shared_ptr<platform::Process> process;
  {
    std::lock_guard<std::mutex> guard(state->mutex);
    stopEvent = state->stopEvent;
    process = state->process;
  }
  const uint32_t woke = platform::WaitForObjects({stopEvent.get(), process.get()}, platform::kInfinite);
  if (woke == kWaitObject0) {
    {
      std::lock_guard<std::mutex> guard(state->mutex);
      if (state->callback) state->callback(true);
    }
    // Ended whether or not its window exists yet: a child stopped early is not left behind.
    if (process && process->ExitCode() == platform::kStillActive) process->Terminate(0);
  } else {
    std::lock_guard<std::mutex> guard(state->mutex);
    if (state->startWait) state->startWait->Set();
    if (state->callback) state->callback(false);
  }
  platform::InterlockedExchange(&state->childPid, 0);
  return 0;
}

void TgbStackEngineProcess::StopWatcher() {
  lastErrorText_.clear();
  if (!watcher_) return;
  if (watcher_->ExitCode() == platform::kStillActive) {
    {
      std::lock_guard<std::mutex> guard(state_->mutex);
      state_->callback = nullptr;
    }
    state_->stopEvent->Set();
    const uint32_t wait = platform::WaitForObject(watcher_.get(), 1000);
    // A watcher that does not end is left to end by itself (see WatchState): it holds what it
    // uses, and its stop event is already set.
    if (wait == platform::kWaitFailed) lastErrorText_ = "Closing thread error (failed)";
    else if (wait == platform::kWaitTimeout) lastErrorText_ = "Closing thread error (time-out)";
  }
  watcher_.reset();
  watcherId_ = 0;
  std::lock_guard<std::mutex> guard(state_->mutex);
  state_->process.reset();
  platform::InterlockedExchange(&state_->childPid, 0);
}

}  // namespace ORN_image
