// libFuzzer entry: arbitrary bytes through the memory and stream readers.
#include <cstddef>
#include <cstdint>

#include "dicom/io/fuzz/FuzzReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ORN_dicom::fuzz::ReadAllWays(data, size);
  return 0;
}
