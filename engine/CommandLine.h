// The engine's command line as the launcher writes it:
//   Pixtrane.exe <owner pid> <panel window> <argument text ...> [<session number>] end
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ORN_engine {

struct CommandLine {
  bool Valid = false;
  std::string Error;
  int64_t OwnerPid = 0;
  int64_t Panel = 0;
  std::vector<std::string> Arguments;  // the argument text's words, the session number included
};

// argv[0] is the program. The last word must be "end"; pid and panel are signed decimals.
CommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace ORN_engine
