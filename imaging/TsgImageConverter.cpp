#include "imaging/TsgImageConverter.h"

#include <memory>
#include <vector>

#include "imaging/PlaneInterleave.h"
#include "imaging/TgbCodecClient.h"

namespace {

constexpr int32_t kModeLossless = 4;
constexpr int32_t kModeBaseline = 1;

std::string GDecompressorFile = orn_codec::kUnpackwellFileName;
std::string GCompressorFile = orn_codec::kPackwellFileName;
// Destroyed in reverse order: the decompressor client first, then the compressor client.
std::unique_ptr<ORN_compressor::TgbCompressorClient> GCompressorClient;
std::unique_ptr<ORN_decompressor::TgbDecompressorClient> GDecompressorClient;

bool GeometryMatches(int32_t w, int32_t h, int32_t columns, int32_t rows, int32_t heightFactor) {
  return (w == columns && int64_t(h) == int64_t(heightFactor) * rows) ||
         (w == rows && int64_t(h) == int64_t(heightFactor) * columns);
}

uint64_t PixelCount(int32_t columns, int32_t rows) {
  if (columns <= 0 || rows <= 0) return 0;
  return uint64_t(columns) * uint64_t(rows);
}

// Three planes into a zero-filled work buffer of 3n + 8 bytes as interleaved triplets.
std::vector<uint8_t> Interleaved(const uint8_t* planes, uint64_t n) {
  std::vector<uint8_t> work(3 * n + 8, 0);
  ORN_image::InterleavePlanes(planes, n, work.data());
  return work;
}

const char kTooManyBits[] = "RLE pixel data with more than 16 bits allocated is not supported";

}  // namespace

ORN_decompressor::TgbDecompressorClient& TsgImageConverter::DecompressorClient() {
  if (!GDecompressorClient) GDecompressorClient = std::make_unique<ORN_decompressor::TgbDecompressorClient>(GDecompressorFile);
  return *GDecompressorClient;
}

ORN_compressor::TgbCompressorClient& TsgImageConverter::CompressorClient() {
  if (!GCompressorClient) GCompressorClient = std::make_unique<ORN_compressor::TgbCompressorClient>(GCompressorFile);
  return *GCompressorClient;
}

void TsgImageConverter::ResetClientsForTesting(const std::string& decompressorFile, const std::string& compressorFile) {
  GDecompressorClient.reset();
  GCompressorClient.reset();
  GDecompressorFile = decompressorFile;
  GCompressorFile = compressorFile;
}

uint32_t TsgImageConverter::CompressJpegLossless(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source,
                                                 uint8_t* destination, uint32_t capacity) {
  FErrorText.clear();
  try {
    auto& jpeg = CompressorClient().Jpeg();
    int32_t depth = bits > 8 ? 16 : 8;
    int32_t representation = 0;
    if (!jpeg.Initialize(kModeLossless, depth, 0)) return 0;
    uint32_t length = capacity;
    if (!jpeg.Encode(columns, rows, 1, &depth, &representation, source, destination, &length, 0, 0, nullptr, nullptr))
      return 0;
    return length;
  } catch (...) {
    return 0;
  }
}

uint32_t TsgImageConverter::CompressJpegLosslessRGB(int32_t columns, int32_t rows, const uint8_t* source,
                                                    uint8_t* destination, int32_t planar, uint32_t capacity) {
  FErrorText.clear();
  try {
    auto& jpeg = CompressorClient().Jpeg();
    if (!jpeg.Initialize(kModeLossless, 8, 0)) return 0;
    std::vector<uint8_t> work;
    if (planar != 0 && source != nullptr) {
      work = Interleaved(source, PixelCount(columns, rows));
      source = work.data();
    }
    if (source == nullptr) return 0;
    int32_t depth = 8;
    int32_t representation = 0;
    uint32_t length = capacity;
    if (!jpeg.Encode(columns, rows, 3, &depth, &representation, source, destination, &length, 0, 0, nullptr, nullptr))
      return 0;
    return length;
  } catch (...) {
    return 0;
  }
}

uint32_t TsgImageConverter::CompressJpegLossyRGB(int32_t columns, int32_t rows, const uint8_t* source,
                                                 uint8_t* destination, int32_t planar, uint8_t quality,
                                                 uint32_t capacity) {
  FErrorText.clear();
  try {
    auto& jpeg = CompressorClient().Jpeg();
    if (!jpeg.Initialize(kModeBaseline, 8, quality)) return 0;
    std::vector<uint8_t> work;
    if (planar != 0 && source != nullptr) {
      work = Interleaved(source, PixelCount(columns, rows));
      source = work.data();
    }
    if (source == nullptr) return 0;
    int32_t depth = 8;
    int32_t representation = 0;
    uint32_t length = capacity;
    if (!jpeg.Encode(columns, rows, 3, &depth, &representation, source, destination, &length, 0, 0, nullptr, nullptr))
      return 0;
    return length;
  } catch (...) {
    return 0;
  }
}

uint32_t TsgImageConverter::CompressJpegLossy(int32_t columns, int32_t rows, const uint8_t* source,
                                              uint8_t* destination, int32_t bits, int32_t* pixelRepresentation,
                                              double* rescaleSlope, double* rescaleIntercept, uint8_t quality,
                                              uint32_t capacity) {
  FErrorText.clear();
  try {
    auto& jpeg = CompressorClient().Jpeg();
    int32_t depth = bits > 8 ? 16 : 8;
    if (!jpeg.Initialize(kModeBaseline, depth > 8 ? 12 : 8, quality)) return 0;
    int32_t representation = pixelRepresentation != nullptr ? *pixelRepresentation : 0;
    uint32_t length = capacity;
    if (!jpeg.Encode(columns, rows, 1, &depth, &representation, source, destination, &length, 0, 0, rescaleSlope,
                     rescaleIntercept))
      return 0;
    if (pixelRepresentation != nullptr) *pixelRepresentation = representation;
    return length;
  } catch (...) {
    return 0;
  }
}

uint32_t TsgImageConverter::CompressRle(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source,
                                        uint8_t* destination, uint32_t capacity) {
  FErrorText.clear();
  if (bits > 16) {
    FErrorText = kTooManyBits;
    return 0;
  }
  try {
    return CompressorClient().Rle().Encode(columns, rows, bits > 8 ? 16 : 8, source, destination, capacity);
  } catch (...) {
    return 0;
  }
}

uint32_t TsgImageConverter::CompressRleRGB(int32_t columns, int32_t rows, int32_t interleaved, const uint8_t* source,
                                           uint8_t* destination, uint32_t capacity) {
  FErrorText.clear();
  try {
    return CompressorClient().Rle().EncodeRGB(columns, rows, interleaved != 0 ? 1 : 0, source, destination, capacity);
  } catch (...) {
    return 0;
  }
}

bool TsgImageConverter::DecompressJpegWith(ORN_decompressor::iJPEG_DECOMPRESSOR_INTERFACE& decoder, JpegKind kind,
                                           int32_t columns, int32_t rows, int32_t bits, int32_t planar,
                                           const uint8_t* source, uint32_t length, uint8_t* destination,
                                           uint32_t destinationSize) {
  FErrorText.clear();
  try {
    if (!decoder.Decode(source, length)) return false;
    const int32_t w = decoder.GetWidth();
    const int32_t h = decoder.GetHeight();
    const int32_t depth = decoder.GetBitDepth();
    const int32_t components = decoder.GetComponentCount();
    const uint64_t n = PixelCount(columns, rows);
    const bool planes = kind == JpegKind::LosslessRGB && planar != 0;

    if (!GeometryMatches(w, h, columns, rows, planes ? 3 : 1)) {
      FErrorText = "Decoded frame size does not match the image";
      return false;
    }
    uint64_t needed = 0;
    switch (kind) {
      case JpegKind::LosslessGrey:
        if (depth != (bits > 8 ? 16 : 8) || components != 1) {
          FErrorText = "Decoded frame depth does not match the image";
          return false;
        }
        needed = n * uint64_t(depth / 8);
        break;
      case JpegKind::LosslessRGB:
        // Three planes come as one grey image three times as tall.
        if (depth != 8 || components != (planes ? 1 : 3)) {
          FErrorText = "Decoded frame depth does not match the image";
          return false;
        }
        needed = 3 * n;
        break;
      case JpegKind::Lossy:
        if ((depth != 8 && depth != 16) || components <= 0) return false;
        needed = n * uint64_t(components) * uint64_t(depth / 8);
        break;
    }
    if (needed > destinationSize) {
      FErrorText = "Decoded frame does not fit the destination";
      return false;
    }
    if (!planes) return decoder.GetPixels(destination);
    std::vector<uint8_t> work(3 * n + 8, 0);
    if (!decoder.GetPixels(work.data())) return false;
    ORN_image::InterleavePlanes(work.data(), n, destination);
    return true;
  } catch (...) {
    return false;
  }
}

bool TsgImageConverter::DecompressJpegLossless(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source,
                                               uint32_t length, uint8_t* destination, uint32_t destinationSize) {
  try {
    return DecompressJpegWith(DecompressorClient().Jpeg(), JpegKind::LosslessGrey, columns, rows, bits, 0, source,
                              length, destination, destinationSize);
  } catch (...) {
    return false;
  }
}

bool TsgImageConverter::DecompressJpegLosslessRGB(int32_t columns, int32_t rows, int32_t planar,
                                                  const uint8_t* source, uint32_t length, uint8_t* destination,
                                                  uint32_t destinationSize) {
  try {
    return DecompressJpegWith(DecompressorClient().Jpeg(), JpegKind::LosslessRGB, columns, rows, 8, planar, source,
                              length, destination, destinationSize);
  } catch (...) {
    return false;
  }
}

bool TsgImageConverter::DecompressJpegLossy(int32_t columns, int32_t rows, const uint8_t* source, uint32_t length,
                                            uint8_t* destination, uint32_t destinationSize) {
  try {
    return DecompressJpegWith(DecompressorClient().Jpeg(), JpegKind::Lossy, columns, rows, 0, 0, source, length,
                              destination, destinationSize);
  } catch (...) {
    return false;
  }
}

bool TsgImageConverter::DecompressRle(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source,
                                      uint32_t length, uint8_t* destination, uint32_t destinationSize) {
  FErrorText.clear();
  if (bits > 16) {
    FErrorText = kTooManyBits;
    return false;
  }
  if (PixelCount(columns, rows) * (bits > 8 ? 2 : 1) > destinationSize) {
    FErrorText = "Decoded frame does not fit the destination";
    return false;
  }
  try {
    return DecompressorClient().Rle().Decode(columns, rows, bits > 8 ? 16 : 8, source, length, destination);
  } catch (...) {
    return false;
  }
}

bool TsgImageConverter::DecompressRleRGB(int32_t columns, int32_t rows, int32_t planar, const uint8_t* source,
                                         uint32_t length, uint8_t* destination, uint32_t destinationSize) {
  FErrorText.clear();
  if (PixelCount(columns, rows) * 3 > destinationSize) {
    FErrorText = "Decoded frame does not fit the destination";
    return false;
  }
  try {
    return DecompressorClient().Rle().DecodeRGB(columns, rows, planar != 0 ? 1 : 0, source, length, destination);
  } catch (...) {
    return false;
  }
}
