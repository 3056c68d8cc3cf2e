#include "platform/process/ProcessSnapshot.h"

#include <dirent.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/core/LastError.h"
#include "platform/process/Process.h"

namespace platform {

namespace {

// Fields of /proc/<pid>/stat after the command name, which may hold blanks and parentheses:
// fields[0] is field 3 (the state).
bool StatFields(uint32_t pid, std::vector<std::string>& fields) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  if (!std::getline(in, stat)) return false;
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return false;
  std::istringstream rest(stat.substr(close + 1));
  fields.clear();
  for (std::string f; rest >> f;) fields.push_back(f);
  return fields.size() >= 20;
}

uint64_t BootTimeSeconds() {
  std::ifstream in("/proc/stat");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("btime ", 0) == 0) return std::stoull(line.substr(6));
  return 0;
}

}  // namespace

std::vector<ProcessEntry> ProcessSnapshot() {
  std::vector<ProcessEntry> entries;
  DIR* dir = ::opendir("/proc");
  if (!dir) {
    SetLastErrorFromErrno();
    return entries;
  }
  std::vector<std::string> fields;
  while (dirent* d = ::readdir(dir)) {
    if (!std::isdigit(static_cast<unsigned char>(d->d_name[0]))) continue;
    const auto pid = static_cast<uint32_t>(std::stoul(d->d_name));
    if (!StatFields(pid, fields)) continue;  // ended meanwhile
    entries.push_back({pid, static_cast<uint32_t>(std::stoul(fields[1])), ProcessExecutableName(pid)});
  }
  ::closedir(dir);
  return entries;
}

bool ProcessCreationTime(uint32_t pid, uint64_t& fileTime) {
  std::vector<std::string> fields;
  const uint64_t boot = BootTimeSeconds();
  if (pid == 0 || !StatFields(pid, fields) || boot == 0) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  const uint64_t ticks = std::stoull(fields[19]);  // field 22: start time in clock ticks
  const uint64_t perSecond = static_cast<uint64_t>(::sysconf(_SC_CLK_TCK));
  constexpr uint64_t k1601To1970 = 11644473600ull;
  fileTime = (boot + k1601To1970 + ticks / perSecond) * 10000000ull + (ticks % perSecond) * (10000000ull / perSecond);
  return true;
}

}  // namespace platform
