// The wrappers that forward the program's codec interfaces to the components' COM interfaces.
// Each holds a plain pointer that holds no reference of its own (the client's object keeps the
// component alive). With a null pointer nothing is called and the result is false or 0; a flag
// is true when the COM result is not negative; a getter returns its integer (preset to 0)
// whatever the COM result.
#pragma once

#include "components/packwell/PackwellInterface.h"
#include "components/unpackwell/UnpackwellInterface.h"
#include "imaging/CodecInterfaces.h"

namespace ORN_decompressor {

class TgbJpegDecompressorWrapper final : public iJPEG_DECOMPRESSOR_INTERFACE {
 public:
  explicit TgbJpegDecompressorWrapper(orn_codec::IJpegDecompressor* com = nullptr) : FCom(com) {}
  void Attach(orn_codec::IJpegDecompressor* com) { FCom = com; }
  bool IsAttached() const { return FCom != nullptr; }

  bool Decode(const uint8_t* data, uint32_t length) override;
  bool Reset() override;
  int32_t HasFrame() override;
  bool GetPixels(void* destination) override;
  int32_t GetWidth() override;
  int32_t GetHeight() override;
  int32_t GetComponentCount() override;
  int32_t GetBitDepth() override;
  int32_t GetPrecision() override;
  int32_t GetFrameMarker() override;

 private:
  orn_codec::IJpegDecompressor* FCom;
};

class TgbRLEDecompressorWrapper final : public iRLE_DECOMPRESSOR_INTERFACE {
 public:
  explicit TgbRLEDecompressorWrapper(orn_codec::IRleDecompressor* com = nullptr) : FCom(com) {}
  void Attach(orn_codec::IRleDecompressor* com) { FCom = com; }
  bool IsAttached() const { return FCom != nullptr; }

  bool DecodeRGB(int32_t columns, int32_t rows, uint8_t planar, const uint8_t* source, uint32_t length,
                 uint8_t* destination) override;
  bool Decode(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source, uint32_t length,
              uint8_t* destination) override;

 private:
  orn_codec::IRleDecompressor* FCom;
};

}  // namespace ORN_decompressor

namespace ORN_compressor {

class TgbJpegCompressorWrapper final : public iJPEG_COMPRESSOR_INTERFACE {
 public:
  explicit TgbJpegCompressorWrapper(orn_codec::IJpegCompressor* com = nullptr) : FCom(com) {}
  void Attach(orn_codec::IJpegCompressor* com) { FCom = com; }
  bool IsAttached() const { return FCom != nullptr; }

  bool Initialize(int32_t mode, int32_t bitDepth, uint8_t quality) override;
  bool Reserved2() override;
  bool Reserved3() override;
  bool Encode(int32_t columns, int32_t rows, int32_t samplesPerPixel, int32_t* bitDepth, int32_t* pixelRepresentation,
              const uint8_t* source, uint8_t* destination, uint32_t* length, int32_t reserved1, int32_t reserved2,
              double* rescaleSlope, double* rescaleIntercept) override;

 private:
  orn_codec::IJpegCompressor* FCom;
};

class TgbRLECompressorWrapper final : public iRLE_COMPRESSOR_INTERFACE {
 public:
  explicit TgbRLECompressorWrapper(orn_codec::IRleCompressor* com = nullptr) : FCom(com) {}
  void Attach(orn_codec::IRleCompressor* com) { FCom = com; }
  bool IsAttached() const { return FCom != nullptr; }

  uint32_t EncodeRGB(int32_t columns, int32_t rows, uint8_t interleaved, const uint8_t* source, uint8_t* destination,
                     uint32_t capacity) override;
  uint32_t Encode(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source, uint8_t* destination,
                  uint32_t capacity) override;

 private:
  orn_codec::IRleCompressor* FCom;
};

}  // namespace ORN_compressor
