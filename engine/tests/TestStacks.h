// The folder of the test stacks, written once per test program by make_stacks.py.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/process/Process.h"

namespace ORN_engine::testing {

inline const std::string& Stacks() {
  static const std::string folder = [] {
    const std::string f = (std::filesystem::temp_directory_path() /
                           ("engine-stacks-" + std::to_string(platform::CurrentProcessId())))
                              .string();
    std::filesystem::create_directories(f);
    const std::string command = "/usr/bin/python3 " + std::string(ENGINE_TEST_DIR) + "/make_stacks.py " + f;
    if (std::system(command.c_str()) != 0) std::abort();
    return f;
  }();
  return folder;
}

// Removes the folder when the test program ends.
struct StacksCleanup {
  ~StacksCleanup() {
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                    ("engine-stacks-" + std::to_string(platform::CurrentProcessId())),
                                ec);
  }
};

}  // namespace ORN_engine::testing
