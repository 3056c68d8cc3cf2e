#include "platform/windows/WindowRegistry.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/process/NamedObjects.h"

namespace platform::window_registry {

namespace {

std::string EntryPath(WindowHandle window) {
  char name[40];
  std::snprintf(name, sizeof name, "/win-%llx", static_cast<unsigned long long>(window));
  return named::Folder() + name;
}

struct Entry {
  uint32_t pid = 0;
  uint64_t startTime = 0;
  std::string title;
};

bool ReadEntry(const std::string& path, Entry& e) {
  std::ifstream in(path, std::ios::binary);
  if (!(in >> e.pid >> e.startTime)) return false;
  in.get();  // the line end
  std::getline(in, e.title, '\0');
  return true;
}

bool OwnerRuns(const Entry& e) { return e.pid != 0 && ProcessStartTime(e.pid) == e.startTime; }

bool SameTitle(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

uint64_t ProcessStartTime(uint32_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  std::getline(in, stat);
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(stat.substr(close + 2));
  std::string field;
  // Fields after the command name start at 3 (state); the start time is field 22.
  for (int i = 3; i < 22; ++i) rest >> field;
  uint64_t start = 0;
  rest >> start;
  return start;
}

void Publish(WindowHandle window, const std::string& title) {
  const std::string path = EntryPath(window);
  const std::string temp = path + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    const uint32_t pid = static_cast<uint32_t>(::getpid());
    out << pid << ' ' << ProcessStartTime(pid) << '\n' << title;
  }
  std::rename(temp.c_str(), path.c_str());
}

void Withdraw(WindowHandle window) { ::unlink(EntryPath(window).c_str()); }

bool IsLive(WindowHandle window) {
  Entry e;
  return ReadEntry(EntryPath(window), e) && OwnerRuns(e) &&
         static_cast<uint64_t>(window) >> 32 == e.pid;
}

bool IsPublished(WindowHandle window) { return ::access(EntryPath(window).c_str(), F_OK) == 0; }

WindowHandle FindByTitle(const std::string& title) {
  DIR* dir = ::opendir(named::Folder().c_str());
  if (!dir) return 0;
  WindowHandle found = 0;
  while (dirent* d = ::readdir(dir)) {
    const std::string name = d->d_name;
    if (name.rfind("win-", 0) != 0 || name.ends_with(".new")) continue;
    const std::string path = named::Folder() + "/" + name;
    Entry e;
    if (!ReadEntry(path, e)) continue;
    if (!OwnerRuns(e)) {
      ::unlink(path.c_str());  // left by a process that ended without withdrawing it
      continue;
    }
    if (found == 0 && SameTitle(e.title, title))
      found = static_cast<WindowHandle>(std::stoull(name.substr(4), nullptr, 16));
  }
  ::closedir(dir);
  return found;
}

}  // namespace platform::window_registry
