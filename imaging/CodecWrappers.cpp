#include "imaging/CodecWrappers.h"

namespace {
bool Succeeded(platform::com::HRESULT status) { return status >= 0; }
}  // namespace

namespace ORN_decompressor {

bool TgbJpegDecompressorWrapper::Decode(const uint8_t* data, uint32_t length) {
  return FCom != nullptr && Succeeded(FCom->Decode(data, length));
}
bool TgbJpegDecompressorWrapper::Reset() { return FCom != nullptr && Succeeded(FCom->Reset()); }
int32_t TgbJpegDecompressorWrapper::HasFrame() { return FCom != nullptr ? FCom->HasFrame() : 0; }
bool TgbJpegDecompressorWrapper::GetPixels(void* destination) {
  return FCom != nullptr && Succeeded(FCom->GetPixels(destination));
}

#define GETTER(Name)                         \
  int32_t TgbJpegDecompressorWrapper::Name() { \
    int32_t value = 0;                       \
    if (FCom != nullptr) FCom->Name(&value); \
    return value;                            \
  }
GETTER(GetWidth)
GETTER(GetHeight)
GETTER(GetComponentCount)
GETTER(GetBitDepth)
GETTER(GetPrecision)
GETTER(GetFrameMarker)
#undef GETTER

bool TgbRLEDecompressorWrapper::DecodeRGB(int32_t columns, int32_t rows, uint8_t planar, const uint8_t* source,
                                          uint32_t length, uint8_t* destination) {
  return FCom != nullptr && Succeeded(FCom->DecodeRGB(columns, rows, planar, source, length, destination));
}
bool TgbRLEDecompressorWrapper::Decode(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source,
                                       uint32_t length, uint8_t* destination) {
  return FCom != nullptr && Succeeded(FCom->Decode(columns, rows, bits, source, length, destination));
}

}  // namespace ORN_decompressor

namespace ORN_compressor {

bool TgbJpegCompressorWrapper::Initialize(int32_t mode, int32_t bitDepth, uint8_t quality) {
  return FCom != nullptr && Succeeded(FCom->Initialize(mode, bitDepth, quality));
}
bool TgbJpegCompressorWrapper::Reserved2() { return FCom != nullptr && Succeeded(FCom->Reserved4()); }
bool TgbJpegCompressorWrapper::Reserved3() { return FCom != nullptr && Succeeded(FCom->Reserved5()); }
bool TgbJpegCompressorWrapper::Encode(int32_t columns, int32_t rows, int32_t samplesPerPixel, int32_t* bitDepth,
                                      int32_t* pixelRepresentation, const uint8_t* source, uint8_t* destination,
                                      uint32_t* length, int32_t reserved1, int32_t reserved2, double* rescaleSlope,
                                      double* rescaleIntercept) {
  if (FCom == nullptr) {
    if (length != nullptr) *length = 0;
    return false;
  }
  return Succeeded(FCom->Encode(columns, rows, samplesPerPixel, bitDepth, pixelRepresentation, source, destination,
                                length, reserved1, reserved2, rescaleSlope, rescaleIntercept));
}

uint32_t TgbRLECompressorWrapper::EncodeRGB(int32_t columns, int32_t rows, uint8_t interleaved,
                                            const uint8_t* source, uint8_t* destination, uint32_t capacity) {
  uint32_t length = capacity;
  if (FCom == nullptr) return 0;
  if (!Succeeded(FCom->EncodeRGB(columns, rows, interleaved, source, destination, &length))) return 0;
  return length;
}
uint32_t TgbRLECompressorWrapper::Encode(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source,
                                         uint8_t* destination, uint32_t capacity) {
  uint32_t length = capacity;
  if (FCom == nullptr) return 0;
  if (!Succeeded(FCom->Encode(columns, rows, bits, source, destination, &length))) return 0;
  return length;
}

}  // namespace ORN_compressor
