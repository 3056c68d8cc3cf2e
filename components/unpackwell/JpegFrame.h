// A decoded JPEG frame and the header of the stream it came from, shared by the decoders of
// the three sample widths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace unpackwell {

struct JpegFrameHeader {
  int marker = 0;      // 0xC0 to 0xCF, the SOF that starts the frame
  int precision = 0;   // P
  int height = 0;      // Y
  int width = 0;       // X
  int components = 0;  // Nf
};

// Walks the markers from SOI to the first frame header. False when the data does not begin
// with SOI, a segment runs past the end, or no frame header comes.
bool ReadJpegFrameHeader(const uint8_t* data, size_t length, JpegFrameHeader& header);

// Lossless processes: SOF3, SOF7, SOF11, SOF15.
inline bool IsLosslessMarker(int marker) { return (marker & 0x03) == 0x03; }

struct DecodedFrame {
  std::vector<uint8_t> pixels;  // interleaved samples, 16-bit ones little endian
  int width = 0;
  int height = 0;
  int components = 0;
  int bytesPerSample = 0;
  int precision = 0;
  int marker = 0;
};

// The largest decoded frame accepted, so that a small hostile header cannot ask for an
// unbounded allocation.
inline constexpr uint64_t kMaxFrameBytes = uint64_t{1} << 30;

// Each decoder fills the frame or returns false with a reason. The header was read before and
// chose the decoder.
bool DecodeJpeg8(const uint8_t* data, size_t length, const JpegFrameHeader& header, DecodedFrame& frame,
                 std::string& error);  // DCT, 8-bit (libjpeg-turbo)
bool DecodeJpegLossless8(const uint8_t* data, size_t length, const JpegFrameHeader& header,
                         DecodedFrame& frame, std::string& error);  // lossless, P 2 to 8
bool DecodeJpeg12(const uint8_t* data, size_t length, const JpegFrameHeader& header, DecodedFrame& frame,
                  std::string& error);  // DCT, 12-bit
bool DecodeJpegLossless16(const uint8_t* data, size_t length, const JpegFrameHeader& header,
                          DecodedFrame& frame, std::string& error);  // lossless, P 9 to 16

}  // namespace unpackwell
