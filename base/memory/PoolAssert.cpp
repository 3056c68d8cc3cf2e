#include "base/memory/PoolAssert.h"

#include <cstdio>
#include <cstdlib>

namespace nalloc {

void AssertionFailed(const char* expression, const char* header, int line) {
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, header, line);
  std::fflush(stderr);
  std::abort();
}

}  // namespace nalloc
