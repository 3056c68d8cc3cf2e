// Unpackwell.dll: the pixel decompressor component. One class with a JPEG and an RLE
// interface. An object keeps the last decoded JPEG frame until the next Decode or Reset; it
// is not meant to be shared between threads.
#include <cstring>
#include <new>
#include <string>

#include "components/unpackwell/JpegFrame.h"
#include "components/unpackwell/RleDecoder.h"
#include "components/unpackwell/UnpackwellInterface.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/ComObject.h"

using namespace platform::com;
using namespace orn_codec;

namespace unpackwell {
namespace {

// A frame whose entropy-coded data could not hold its samples (at least one bit per sample
// for lossless data, two bits per 8 × 8 block for DCT data) is refused before it is decoded,
// so that a small stream cannot ask for a large buffer.
bool PlausibleSize(const JpegFrameHeader& h, size_t length) {
  const uint64_t samples = uint64_t(h.width) * uint64_t(h.height) * uint64_t(h.components);
  const uint64_t bytes = samples * (h.precision > 8 ? 2 : 1);
  if (samples == 0 || bytes > kMaxFrameBytes) return false;
  const uint64_t bits = uint64_t(length) * 8;
  if (IsLosslessMarker(h.marker)) return samples <= bits;
  return samples / 64 <= bits / 2 + 1;
}

class Decompressor final : public platform::com::DualComObject<IJpegDecompressor, IRleDecompressor> {
 public:
  Decompressor() : DualComObject(IID_IJpegDecompressor, IID_IRleDecompressor) {}

  // JPEG.
  HRESULT Decode(const uint8_t* data, uint32_t length) override {
    Reset();
    if (data == nullptr) return hr::Pointer;
    try {
      JpegFrameHeader header;
      if (!ReadJpegFrameHeader(data, length, header)) return hr::InvalidArg;
      if (header.width == 0 || header.height == 0 || !PlausibleSize(header, length)) return hr::InvalidArg;
      DecodedFrame frame;
      bool ok = false;
      std::string error;
      if (IsLosslessMarker(header.marker)) {
        if (header.precision < 2 || header.precision > 16) return hr::InvalidArg;
        ok = header.precision <= 8 ? DecodeJpegLossless8(data, length, header, frame, error)
                                   : DecodeJpegLossless16(data, length, header, frame, error);
      } else if (header.precision == 8) {
        ok = DecodeJpeg8(data, length, header, frame, error);
      } else if (header.precision == 12) {
        ok = DecodeJpeg12(data, length, header, frame, error);
      }
      if (!ok) return hr::Fail;
      frame.precision = header.precision;
      frame.marker = header.marker;
      FFrame = std::move(frame);
      FHasFrame = true;
      return hr::Ok;
    } catch (const std::bad_alloc&) {
      return hr::OutOfMemory;
    } catch (...) {
      return hr::Fail;
    }
  }

  HRESULT Reset() override {
    FFrame = DecodedFrame();
    FHasFrame = false;
    return hr::Ok;
  }

  HRESULT HasFrame() override { return FHasFrame ? hr::Ok : hr::False; }

  HRESULT GetPixels(void* destination) override {
    if (destination == nullptr) return hr::Pointer;
    if (!FHasFrame) return hr::Unexpected;
    std::memcpy(destination, FFrame.pixels.data(), FFrame.pixels.size());
    return hr::Ok;
  }

  HRESULT GetWidth(int32_t* value) override { return Report(value, FFrame.width); }
  HRESULT GetHeight(int32_t* value) override { return Report(value, FFrame.height); }
  HRESULT GetComponentCount(int32_t* value) override { return Report(value, FFrame.components); }
  HRESULT GetBitDepth(int32_t* value) override { return Report(value, FFrame.bytesPerSample * 8); }
  HRESULT GetPrecision(int32_t* value) override { return Report(value, FFrame.precision); }
  HRESULT GetFrameMarker(int32_t* value) override { return Report(value, FFrame.marker); }

  // RLE.
  HRESULT DecodeRGB(int32_t columns, int32_t rows, uint8_t, const uint8_t* source, uint32_t length,
                    uint8_t* destination) override {
    return DecodeRle(columns, rows, RleLayout::Rgb8, source, length, destination);
  }

  HRESULT Decode(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source, uint32_t length,
                 uint8_t* destination) override {
    if (bits != 8 && bits != 16) return hr::InvalidArg;
    return DecodeRle(columns, rows, bits == 8 ? RleLayout::Grey8 : RleLayout::Grey16, source, length,
                     destination);
  }

 private:
  ~Decompressor() = default;

  HRESULT Report(int32_t* out, int value) const {
    if (out == nullptr) return hr::Pointer;
    if (!FHasFrame) return hr::Unexpected;
    *out = value;
    return hr::Ok;
  }

  static HRESULT DecodeRle(int32_t columns, int32_t rows, RleLayout layout, const uint8_t* source,
                           uint32_t length, uint8_t* destination) {
    if (source == nullptr || destination == nullptr) return hr::Pointer;
    std::string error;
    return DecodeRleFrame(columns, rows, layout, source, length, destination, error) ? hr::Ok : hr::Fail;
  }

  DecodedFrame FFrame;
  bool FHasFrame = false;
};

}  // namespace
}  // namespace unpackwell

extern "C" __attribute__((visibility("default")))
HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  return GetClassObject<ClassFactory<unpackwell::Decompressor, IJpegDecompressor>>(CLSID_Unpackwell, clsid, iid, object);
}
