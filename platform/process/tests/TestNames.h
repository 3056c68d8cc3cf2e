// Names and paths unique to one test run, so that tests may run side by side.
#pragma once

#include <unistd.h>

#include <atomic>
#include <string>

#include "platform/process/Process.h"

namespace platform::testing {

inline std::string UniqueName(const std::string& what) {
  static std::atomic<int> counter{0};
  return "test-" + what + "-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

// A program built beside the running test program.
inline std::string OutProgram(const std::string& name) {
  const std::string exe = ExecutablePath();
  return exe.substr(0, exe.rfind('/') + 1) + name;
}

}  // namespace platform::testing
