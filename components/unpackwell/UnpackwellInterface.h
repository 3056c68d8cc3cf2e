// The binary interface of Unpackwell.dll, the pixel decompressor, shared by the component and
// its clients: one class with a JPEG and an RLE interface. Slots 0 to 2 are IUnknown's, the
// rest in table order; integers are 32-bit, flags are bytes.
#pragma once

#include <cstdint>

#include "platform/com/Unknown.h"

namespace orn_codec {

using platform::com::HRESULT;

class IJpegDecompressor : public platform::com::IUnknown {
 public:
  // Decodes one JPEG frame (baseline, extended 12-bit or lossless) and keeps its pixels.
  virtual HRESULT Decode(const uint8_t* data, uint32_t length) = 0;        // slot 3
  // Drops the kept frame.
  virtual HRESULT Reset() = 0;                                             // slot 4
  // S_OK when a decoded frame is kept, S_FALSE otherwise.
  virtual HRESULT HasFrame() = 0;                                          // slot 5
  // Copies the kept frame: width × height × components samples, interleaved, one byte each
  // (bit depth 8) or two little-endian bytes each (bit depth 16).
  virtual HRESULT GetPixels(void* destination) = 0;                        // slot 6
  virtual HRESULT GetWidth(int32_t* width) = 0;                            // slot 7
  virtual HRESULT GetHeight(int32_t* height) = 0;                          // slot 8
  virtual HRESULT GetComponentCount(int32_t* count) = 0;                   // slot 9
  // 8 for precisions up to 8, 16 for deeper samples (12-bit lossy, lossless 9 to 16).
  virtual HRESULT GetBitDepth(int32_t* depth) = 0;                         // slot 10
  // The sample precision P of the frame header.
  virtual HRESULT GetPrecision(int32_t* precision) = 0;                    // slot 11
  // The frame marker: 0xC0 baseline, 0xC1 extended, 0xC2 progressive, 0xC3 lossless.
  virtual HRESULT GetFrameMarker(int32_t* marker) = 0;                     // slot 12

 protected:
  ~IJpegDecompressor() = default;
};

class IRleDecompressor : public platform::com::IUnknown {
 public:
  // Three 8-bit segments (red, green, blue) into columns × rows interleaved triplets; the
  // planar flag of the image does not change that layout.
  virtual HRESULT DecodeRGB(int32_t columns, int32_t rows, uint8_t planar, const uint8_t* source,
                            uint32_t length, uint8_t* destination) = 0;    // slot 3
  // One segment (8 bits) or two (16 bits, high bytes first) into columns × rows samples,
  // 16-bit samples little endian. Other bit counts are refused with E_INVALIDARG.
  virtual HRESULT Decode(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source,
                         uint32_t length, uint8_t* destination) = 0;       // slot 4

 protected:
  ~IRleDecompressor() = default;
};

// {3F6A1C20-8B4D-4E2F-A713-5C9D0E1F2A61}: the decompressor class.
inline constexpr platform::com::CLSID CLSID_Unpackwell = {
    0x3F6A1C20, 0x8B4D, 0x4E2F, {0xA7, 0x13, 0x5C, 0x9D, 0x0E, 0x1F, 0x2A, 0x61}};
// {3F6A1C21-8B4D-4E2F-A713-5C9D0E1F2A61}
inline constexpr platform::com::IID IID_IJpegDecompressor = {
    0x3F6A1C21, 0x8B4D, 0x4E2F, {0xA7, 0x13, 0x5C, 0x9D, 0x0E, 0x1F, 0x2A, 0x61}};
// {3F6A1C22-8B4D-4E2F-A713-5C9D0E1F2A61}
inline constexpr platform::com::IID IID_IRleDecompressor = {
    0x3F6A1C22, 0x8B4D, 0x4E2F, {0xA7, 0x13, 0x5C, 0x9D, 0x0E, 0x1F, 0x2A, 0x61}};

inline constexpr const char* kUnpackwellFileName = "Unpackwell.dll";

}  // namespace orn_codec
