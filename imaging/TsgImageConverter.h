// The front end through which the system reaches the pixel codecs: one operation per codec,
// direction and colour model. Each operation makes the process-wide client of the component it
// needs on first use (kept until the end of the process, also when its component failed to
// load) and checks what a decoder returns before it lets the decoder write the destination.
//
// Every operation takes the size of its destination: a compression whose result would not fit
// fails (0) without writing past it; a decoded frame larger than the destination is refused.
// Failures keep a text in ErrorText where the converter itself refuses a frame.
#pragma once

#include <cstdint>
#include <string>

#include "imaging/CodecInterfaces.h"

namespace ORN_decompressor {
class TgbDecompressorClient;
}
namespace ORN_compressor {
class TgbCompressorClient;
}

class TsgImageConverter {
 public:
  // The JPEG quality the callers pass to the lossy operations.
  uint8_t FQuality = 50;

  uint32_t CompressJpegLossless(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source,
                                uint8_t* destination, uint32_t capacity);
  uint32_t CompressJpegLosslessRGB(int32_t columns, int32_t rows, const uint8_t* source, uint8_t* destination,
                                   int32_t planar, uint32_t capacity);
  uint32_t CompressJpegLossyRGB(int32_t columns, int32_t rows, const uint8_t* source, uint8_t* destination,
                                int32_t planar, uint8_t quality, uint32_t capacity);
  // Grey lossy: 8-bit baseline for bits up to 8, else 12-bit extended. The component may bring
  // 16-bit samples into 12 bits: then the pixel representation becomes 0 and the rescale slope
  // and intercept change so that the real values stay.
  uint32_t CompressJpegLossy(int32_t columns, int32_t rows, const uint8_t* source, uint8_t* destination,
                             int32_t bits, int32_t* pixelRepresentation, double* rescaleSlope,
                             double* rescaleIntercept, uint8_t quality, uint32_t capacity);
  uint32_t CompressRle(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source, uint8_t* destination,
                       uint32_t capacity);
  uint32_t CompressRleRGB(int32_t columns, int32_t rows, int32_t interleaved, const uint8_t* source,
                          uint8_t* destination, uint32_t capacity);

  bool DecompressJpegLossless(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source, uint32_t length,
                              uint8_t* destination, uint32_t destinationSize);
  bool DecompressJpegLosslessRGB(int32_t columns, int32_t rows, int32_t planar, const uint8_t* source,
                                 uint32_t length, uint8_t* destination, uint32_t destinationSize);
  bool DecompressJpegLossy(int32_t columns, int32_t rows, const uint8_t* source, uint32_t length,
                           uint8_t* destination, uint32_t destinationSize);
  bool DecompressRle(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source, uint32_t length,
                     uint8_t* destination, uint32_t destinationSize);
  bool DecompressRleRGB(int32_t columns, int32_t rows, int32_t planar, const uint8_t* source, uint32_t length,
                        uint8_t* destination, uint32_t destinationSize);

  // The checks and calls of the JPEG decompressions on a given decoder.
  enum class JpegKind { LosslessGrey, LosslessRGB, Lossy };
  bool DecompressJpegWith(ORN_decompressor::iJPEG_DECOMPRESSOR_INTERFACE& decoder, JpegKind kind,
                          int32_t columns, int32_t rows, int32_t bits, int32_t planar, const uint8_t* source,
                          uint32_t length, uint8_t* destination, uint32_t destinationSize);

  const std::string& ErrorText() const { return FErrorText; }

  // The process-wide clients, made on first use.
  static ORN_decompressor::TgbDecompressorClient& DecompressorClient();
  static ORN_compressor::TgbCompressorClient& CompressorClient();
  // Drops both clients and names the files the next ones load (tests only).
  static void ResetClientsForTesting(const std::string& decompressorFile, const std::string& compressorFile);

 private:
  std::string FErrorText;
};
