// The decoders as the fuzz targets drive them: any bytes in, a failure or a frame out, never a
// crash. Shared by the libFuzzer mains and the seed-corpus regression test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace unpackwell::fuzz {

// Reads the frame header and decodes the stream with the decoder it selects. True when decoded.
bool DecodeJpegInput(const uint8_t* data, size_t size);

// The first 4 bytes choose the geometry (columns, rows: 1 to 256 each) and the layout; the
// rest is the RLE frame. True when decoded.
bool DecodeRleInput(const uint8_t* data, size_t size);

}  // namespace unpackwell::fuzz
