// libFuzzer target: hostile bytes into the decoder; only crashes and hangs count as findings.
#include "components/unpackwell/fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  unpackwell::fuzz::DecodeRleInput(data, size);
  return 0;
}
