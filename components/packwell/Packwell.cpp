// Packwell.dll: the pixel compressor component. One class with a JPEG and an RLE interface.
// Initialize chooses the JPEG mode for the Encode calls that follow; an object is not meant
// to be shared between threads.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "components/packwell/JpegEncoder.h"
#include "components/packwell/PackwellInterface.h"
#include "components/packwell/RleEncoder.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/ComObject.h"

using namespace platform::com;
using namespace orn_codec;

namespace packwell {
namespace {

constexpr int32_t kModeLossless = 4;
constexpr int32_t kModeBaseline = 1;

HRESULT Finish(bool ok, const JpegEncodeResult& result, uint32_t* length) {
  if (!ok) return result.tooLarge ? kInsufficientBuffer : hr::Fail;
  if (result.length > UINT32_MAX) return kInsufficientBuffer;
  *length = static_cast<uint32_t>(result.length);
  return hr::Ok;
}

// 16-bit samples into 12 bits for the extended process. Samples that already lie in 0..4095
// stay; others are shifted by their minimum and divided by the smallest step that fits, and
// the rescale is changed so that every stored value keeps its real value (up to the step).
struct TwelveBitFrame {
  std::vector<int16_t> samples;
  bool changed = false;
  int64_t offset = 0;
  int64_t step = 1;
};

TwelveBitFrame ToTwelveBits(const uint8_t* source, size_t count, bool isSigned) {
  TwelveBitFrame frame;
  frame.samples.resize(count);
  auto sample = [&](size_t i) -> int64_t {
    const uint16_t raw = uint16_t(source[2 * i] | (source[2 * i + 1] << 8));
    return isSigned ? int64_t(int16_t(raw)) : int64_t(raw);
  };
  int64_t low = INT64_MAX, high = INT64_MIN;
  for (size_t i = 0; i < count; ++i) {
    low = std::min(low, sample(i));
    high = std::max(high, sample(i));
  }
  if (count == 0 || (low >= 0 && high <= 4095)) {
    for (size_t i = 0; i < count; ++i) frame.samples[i] = int16_t(sample(i));
    return frame;
  }
  frame.changed = true;
  frame.offset = low;
  frame.step = (high - low) / 4096 + 1;
  for (size_t i = 0; i < count; ++i) {
    const int64_t v = (sample(i) - low + frame.step / 2) / frame.step;
    frame.samples[i] = int16_t(std::min<int64_t>(v, 4095));
  }
  return frame;
}

class Compressor final : public platform::com::DualComObject<IJpegCompressor, IRleCompressor> {
 public:
  Compressor() : DualComObject(IID_IJpegCompressor, IID_IRleCompressor) {}

  // JPEG.
  HRESULT Initialize(int32_t mode, int32_t bitDepth, uint8_t quality) override {
    FReady = false;
    if (mode == kModeLossless) {
      if (bitDepth != 8 && bitDepth != 16) return hr::InvalidArg;
    } else if (mode == kModeBaseline) {
      if (bitDepth != 8 && bitDepth != 12) return hr::InvalidArg;
    } else {
      return hr::InvalidArg;
    }
    FMode = mode;
    FDepth = bitDepth;
    FQuality = quality == 0 ? 75 : std::min<int>(quality, 100);
    FReady = true;
    return hr::Ok;
  }
  HRESULT Reserved4() override { return hr::NotImpl; }
  HRESULT Reserved5() override { return hr::NotImpl; }

  HRESULT Encode(int32_t columns, int32_t rows, int32_t samplesPerPixel, int32_t* bitDepth,
                 int32_t* pixelRepresentation, const uint8_t* source, uint8_t* destination, uint32_t* length,
                 int32_t reserved1, int32_t reserved2, double* rescaleSlope, double* rescaleIntercept) override {
    if (bitDepth == nullptr || pixelRepresentation == nullptr || source == nullptr || destination == nullptr ||
        length == nullptr)
      return hr::Pointer;
    const uint32_t capacity = *length;
    *length = 0;
    if (!FReady) return hr::Unexpected;
    if (reserved1 != 0 || reserved2 != 0) return hr::InvalidArg;
    if (columns <= 0 || rows <= 0 || columns > 65535 || rows > 65535) return hr::InvalidArg;
    if (samplesPerPixel != 1 && samplesPerPixel != 3) return hr::InvalidArg;
    if (*bitDepth != 8 && *bitDepth != 16) return hr::InvalidArg;
    if (samplesPerPixel == 3 && *bitDepth != 8) return hr::InvalidArg;
    try {
      JpegEncodeRequest request;
      request.width = columns;
      request.height = rows;
      request.components = samplesPerPixel;
      request.quality = FQuality;
      JpegEncodeResult result;
      const size_t samples = size_t(columns) * size_t(rows) * size_t(samplesPerPixel);

      if (FMode == kModeLossless) {
        request.lossless = true;
        request.precision = *bitDepth;
        if (*bitDepth == 8) {
          request.samples = source;
          return Finish(EncodeJpegLossless8(request, destination, capacity, result), result, length);
        }
        // The library reads 16-bit integers; copy when the frame is not aligned for them.
        std::vector<uint16_t> aligned;
        if (reinterpret_cast<uintptr_t>(source) % alignof(uint16_t) != 0) {
          aligned.resize(samples);
          std::memcpy(aligned.data(), source, samples * 2);
          request.samples = aligned.data();
        } else {
          request.samples = source;
        }
        return Finish(EncodeJpegLossless16(request, destination, capacity, result), result, length);
      }

      if (FDepth == 8) {
        if (*bitDepth != 8) return hr::InvalidArg;
        request.samples = source;
        return Finish(EncodeJpeg8(request, destination, capacity, result), result, length);
      }
      // Extended 12-bit, grey only.
      if (samplesPerPixel != 1 || *bitDepth != 16) return hr::InvalidArg;
      TwelveBitFrame frame = ToTwelveBits(source, samples, *pixelRepresentation != 0);
      if (frame.changed && (rescaleSlope == nullptr || rescaleIntercept == nullptr)) return hr::InvalidArg;
      request.precision = 12;
      request.samples = frame.samples.data();
      const HRESULT status = Finish(EncodeJpeg12(request, destination, capacity, result), result, length);
      if (status != hr::Ok) return status;
      if (frame.changed) {
        *rescaleIntercept += *rescaleSlope * double(frame.offset);
        *rescaleSlope *= double(frame.step);
      }
      *bitDepth = 12;
      *pixelRepresentation = 0;
      return hr::Ok;
    } catch (const std::bad_alloc&) {
      return hr::OutOfMemory;
    } catch (...) {
      return hr::Fail;
    }
  }

  // RLE.
  HRESULT EncodeRGB(int32_t columns, int32_t rows, uint8_t interleaved, const uint8_t* source,
                    uint8_t* destination, uint32_t* length) override {
    return EncodeRle(columns, rows, interleaved ? RleSource::RgbInterleaved : RleSource::RgbPlanar, source,
                     destination, length);
  }

  HRESULT Encode(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source, uint8_t* destination,
                 uint32_t* length) override {
    if (length == nullptr) return hr::Pointer;
    if (bits != 8 && bits != 16) {
      *length = 0;
      return hr::InvalidArg;
    }
    return EncodeRle(columns, rows, bits == 8 ? RleSource::Grey8 : RleSource::Grey16, source, destination,
                     length);
  }

 private:
  ~Compressor() = default;

  static HRESULT EncodeRle(int32_t columns, int32_t rows, RleSource kind, const uint8_t* source,
                           uint8_t* destination, uint32_t* length) {
    if (length == nullptr) return hr::Pointer;
    const uint32_t capacity = *length;
    *length = 0;
    if (source == nullptr || destination == nullptr) return hr::Pointer;
    if (columns <= 0 || rows <= 0) return hr::InvalidArg;
    const size_t written = EncodeRleFrame(columns, rows, kind, source, destination, capacity);
    if (written == 0) return kInsufficientBuffer;
    *length = static_cast<uint32_t>(written);
    return hr::Ok;
  }

  bool FReady = false;
  int32_t FMode = 0;
  int32_t FDepth = 0;
  int FQuality = 75;
};

}  // namespace
}  // namespace packwell

extern "C" __attribute__((visibility("default")))
HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  return GetClassObject<ClassFactory<packwell::Compressor, IJpegCompressor>>(CLSID_Packwell, clsid, iid, object);
}
