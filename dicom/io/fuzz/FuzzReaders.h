// Arbitrary bytes through every reader: the file object from memory and from a stream, whole
// and header only, and the data-set readers of each kind over the bytes as a bare data set.
// Shared by the libFuzzer main and the seed-corpus test; never crashes, whatever the input.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ORN_dicom::fuzz {

// Number of reads that succeeded (for tests that want to see some reading happen).
int ReadAllWays(const uint8_t* data, size_t size);

}  // namespace ORN_dicom::fuzz
