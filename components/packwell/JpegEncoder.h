// JPEG encoding of one frame into a caller's buffer of fixed capacity, through the library that
// fits the sample width. A frame whose stream would not fit fails without writing past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace packwell {

struct JpegEncodeRequest {
  int width = 0;
  int height = 0;
  int components = 1;         // 1 grey, 3 RGB (interleaved)
  int precision = 8;          // P written into the frame header
  bool lossless = false;      // process 14 with first-order prediction, else DCT
  int quality = 75;           // lossy only, 1 to 100
  const void* samples = nullptr;  // rows of width × components samples, no padding; one byte
                                  // per sample for P 8, else one 16-bit integer
};

struct JpegEncodeResult {
  size_t length = 0;
  bool tooLarge = false;  // the stream did not fit the capacity
  std::string error;
};

bool EncodeJpeg8(const JpegEncodeRequest& request, uint8_t* destination, size_t capacity,
                 JpegEncodeResult& result);  // DCT, 8-bit (libjpeg-turbo)
bool EncodeJpegLossless8(const JpegEncodeRequest& request, uint8_t* destination, size_t capacity,
                         JpegEncodeResult& result);
bool EncodeJpeg12(const JpegEncodeRequest& request, uint8_t* destination, size_t capacity,
                  JpegEncodeResult& result);  // DCT, 12-bit
bool EncodeJpegLossless16(const JpegEncodeRequest& request, uint8_t* destination, size_t capacity,
                          JpegEncodeResult& result);

}  // namespace packwell
