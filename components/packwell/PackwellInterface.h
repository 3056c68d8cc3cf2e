// The binary interface of Packwell.dll, the pixel compressor, shared by the component and its
// clients: one class with a JPEG and an RLE interface. Slots 0 to 2 are IUnknown's, the rest
// in table order; integers are 32-bit, flags and the quality are bytes.
//
// Every encoder takes the output length in and out: on entry the capacity of the destination
// in bytes, on return the number of bytes written. A frame whose compressed form does not fit
// fails with status 0x8007007A (insufficient buffer) and writes nothing
// beyond the capacity.
#pragma once

#include <cstdint>

#include "platform/com/Unknown.h"

namespace orn_codec {

using platform::com::HRESULT;

class IJpegCompressor : public platform::com::IUnknown {
 public:
  // mode 4 lossless (first-order prediction), 1 baseline; bit depth 8, 12 or 16 (lossless 8
  // or 16, lossy 8 or 12); quality 1 to 100 for lossy (0 takes 75).
  virtual HRESULT Initialize(int32_t mode, int32_t bitDepth, uint8_t quality) = 0;  // slot 3
  virtual HRESULT Reserved4() = 0;                                                    // slot 4
  virtual HRESULT Reserved5() = 0;                                                    // slot 5
  // One frame of columns × rows pixels of samplesPerPixel samples (1, or 3 interleaved 8-bit).
  // bitDepth: 8 or 16 bits per stored sample (16-bit samples little endian). For lossy 12-bit
  // grey frames the samples are brought into 12 bits when they do not fit: bitDepth becomes 12,
  // the pixel representation 0, and the rescale slope and intercept (when given) are changed
  // so that they still give the same real values. reserved1 and reserved2 must be 0.
  virtual HRESULT Encode(int32_t columns, int32_t rows, int32_t samplesPerPixel, int32_t* bitDepth,
                         int32_t* pixelRepresentation, const uint8_t* source, uint8_t* destination,
                         uint32_t* length, int32_t reserved1, int32_t reserved2,
                         double* rescaleSlope, double* rescaleIntercept) = 0;         // slot 6

 protected:
  ~IJpegCompressor() = default;
};

class IRleCompressor : public platform::com::IUnknown {
 public:
  // Three 8-bit samples per pixel, interleaved (flag 1) or as three planes (flag 0).
  virtual HRESULT EncodeRGB(int32_t columns, int32_t rows, uint8_t interleaved, const uint8_t* source,
                            uint8_t* destination, uint32_t* length) = 0;    // slot 3
  // One sample per pixel of 8 or 16 bits (16-bit samples little endian).
  virtual HRESULT Encode(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source,
                         uint8_t* destination, uint32_t* length) = 0;       // slot 4

 protected:
  ~IRleCompressor() = default;
};

// {3F6A1C30-8B4D-4E2F-A713-5C9D0E1F2A61}: the compressor class.
inline constexpr platform::com::CLSID CLSID_Packwell = {
    0x3F6A1C30, 0x8B4D, 0x4E2F, {0xA7, 0x13, 0x5C, 0x9D, 0x0E, 0x1F, 0x2A, 0x61}};
// {3F6A1C31-8B4D-4E2F-A713-5C9D0E1F2A61}
inline constexpr platform::com::IID IID_IJpegCompressor = {
    0x3F6A1C31, 0x8B4D, 0x4E2F, {0xA7, 0x13, 0x5C, 0x9D, 0x0E, 0x1F, 0x2A, 0x61}};
// {3F6A1C32-8B4D-4E2F-A713-5C9D0E1F2A61}
inline constexpr platform::com::IID IID_IRleCompressor = {
    0x3F6A1C32, 0x8B4D, 0x4E2F, {0xA7, 0x13, 0x5C, 0x9D, 0x0E, 0x1F, 0x2A, 0x61}};

// The status of a frame whose compressed form does not fit the destination
// (ERROR_INSUFFICIENT_BUFFER as an HRESULT).
inline constexpr HRESULT kInsufficientBuffer = static_cast<HRESULT>(0x8007007Au);

inline constexpr const char* kPackwellFileName = "Packwell.dll";

}  // namespace orn_codec
