#include "platform/process/CommandLine.h"

namespace platform {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}

std::vector<std::string> SplitCommandLine(const std::string& s) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = s.size();
  while (i < n && IsBlank(s[i])) ++i;
  if (i == n) return args;

  // The program name: no escapes.
  std::string program;
  if (s[i] == '"') {
    ++i;
    while (i < n && s[i] != '"') program += s[i++];
    if (i < n) ++i;
  } else {
    while (i < n && !IsBlank(s[i])) program += s[i++];
  }
  args.push_back(program);

  for (;;) {
    while (i < n && IsBlank(s[i])) ++i;
    if (i == n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(s[i]))) {
      if (s[i] == '\\') {
        size_t slashes = 0;
        while (i < n && s[i] == '\\') ++slashes, ++i;
        if (i < n && s[i] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(slashes, '\\');
        }
      } else if (s[i] == '"') {
        if (quoted && i + 1 < n && s[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += s[i++];
      }
    }
    args.push_back(arg);
  }
  return args;
}

std::string QuoteArgument(const std::string& a) {
  if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) return a;
  std::string q = "\"";
  size_t slashes = 0;
  for (const char c : a) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    if (c == '"') q.append(slashes * 2 + 1, '\\');
    else q.append(slashes, '\\');
    slashes = 0;
    q += c;
  }
  q.append(slashes * 2, '\\');
  q += '"';
  return q;
}

}  // namespace platform
