// A child process for the process tests: does one thing its arguments name, then exits.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/process/Event.h"
#include "platform/process/NamedFileMapping.h"
#include "platform/process/Process.h"

using namespace platform;

int main(int argc, char** argv) {
  if (argc < 2) return 100;
  const std::string cmd = argv[1];
  if (cmd == "exit" && argc == 3) return std::atoi(argv[2]);
  if (cmd == "sleep") {
    for (;;) ::pause();
  }
  if (cmd == "set-event" && argc == 3) {
    auto e = Event::Open(argv[2]);
    if (!e) return 2;
    return e->Set() ? 0 : 3;
  }
  if (cmd == "wait-event" && argc == 4) {
    auto e = Event::Open(argv[2]);
    if (!e) return 2;
    return WaitForObject(e.get(), static_cast<uint32_t>(std::atoi(argv[3]))) == kWaitObject0 ? 0 : 1;
  }
  if (cmd == "map-write" && argc == 4) {
    // Writes the text at the start of the mapping, and exits with the mapping's size.
    auto m = NamedFileMapping::Open(argv[2]);
    if (!m) return 2;
    auto v = m->Map();
    if (!v) return 3;
    std::memcpy(v->Data(), argv[3], std::min<uint64_t>(std::strlen(argv[3]), v->Size()));
    return static_cast<int>(m->Size() % 100);
  }
  if (cmd == "map-hold" && argc == 4) {
    // Holds the mapping, says so through the event, then waits to be killed.
    auto m = NamedFileMapping::Open(argv[2]);
    if (!m) return 2;
    auto e = Event::Open(argv[3]);
    if (!e) return 4;
    e->Set();
    for (;;) ::pause();
  }
  if (cmd == "env-is" && argc == 4) {
    const char* v = std::getenv(argv[2]);
    return v && std::string(v) == argv[3] ? 0 : 1;
  }
  if (cmd == "args-to" && argc >= 3) {
    std::ofstream out(argv[2]);
    for (int i = 3; i < argc; ++i) out << argv[i] << '\n';
    return 0;
  }
  if (cmd == "parent-to" && argc == 3) {
    std::ofstream out(argv[2]);
    out << ParentProcessId() << '\n' << ProcessExecutableName(ParentProcessId()) << '\n';
    return 0;
  }
  if (cmd == "hard-exit" && argc == 3) ExitProcessNow(static_cast<uint32_t>(std::atoi(argv[2])));
  return 100;
}
