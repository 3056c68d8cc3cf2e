#include "engine/CommandLine.h"

#include <cerrno>
#include <cstdlib>

namespace ORN_engine {

namespace {
bool Decimal(const char* text, int64_t& out) {
  if (text == nullptr || *text == '\0') return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || *end != '\0') return false;
  out = v;
  return true;
}
}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine c;
  if (argc < 4 || std::string(argv[argc - 1]) != "end") {
    c.Error = "usage: Pixtrane.exe <owner pid> <panel window> [arguments] end";
    return c;
  }
  if (!Decimal(argv[1], c.OwnerPid) || !Decimal(argv[2], c.Panel)) {
    c.Error = "The owner's process id and the panel window must be decimal numbers.";
    return c;
  }
  for (int i = 3; i < argc - 1; ++i) c.Arguments.emplace_back(argv[i]);
  c.Valid = true;
  return c;
}

}  // namespace ORN_engine
