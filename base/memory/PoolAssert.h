// Checks of the pools' own bookkeeping. A failed check means a block was given back that the
// pool never handed out, or the bookkeeping is broken: the process stops with the runtime's
// assertion report, naming the expression, the header and the line of the check.
#pragma once

namespace nalloc {

// Writes "Assertion failed: <expression>, file <header>, line <line>" and aborts.
[[noreturn]] void AssertionFailed(const char* expression, const char* header, int line);

inline void Check(bool holds, const char* expression, const char* header, int line) {
  if (!holds) [[unlikely]]
    AssertionFailed(expression, header, line);
}

}  // namespace nalloc
