// The processes that run now (Toolhelp32's process snapshot) and a process's creation time
// (GetProcessTimes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct ProcessEntry {
  uint32_t pid;
  uint32_t parentPid;
  std::string exeName;  // file name without folder; the short command name for processes of
                        // other users, whose executable cannot be read
};

// Every process visible now, in no particular order; empty with the last error set on failure.
std::vector<ProcessEntry> ProcessSnapshot();

// The creation time of a process as a FILETIME value (100 ns units since 1601-01-01 UTC,
// to within the system clock tick). False with the last error set when it does not run.
bool ProcessCreationTime(uint32_t pid, uint64_t& fileTime);

}  // namespace platform
