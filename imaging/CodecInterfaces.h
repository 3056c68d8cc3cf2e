// The program's own interfaces for the four codec roles. Every operation is pure virtual and
// the virtual destructor is the last slot; the wrappers forward each operation to the COM
// method of the same rank.
#pragma once

#include <cstdint>

namespace ORN_decompressor {

class iJPEG_DECOMPRESSOR_INTERFACE {
 public:
  virtual bool Decode(const uint8_t* data, uint32_t length) = 0;
  virtual bool Reset() = 0;
  virtual int32_t HasFrame() = 0;  // the component's raw result
  virtual bool GetPixels(void* destination) = 0;
  virtual int32_t GetWidth() = 0;
  virtual int32_t GetHeight() = 0;
  virtual int32_t GetComponentCount() = 0;
  virtual int32_t GetBitDepth() = 0;
  virtual int32_t GetPrecision() = 0;
  virtual int32_t GetFrameMarker() = 0;
  virtual ~iJPEG_DECOMPRESSOR_INTERFACE() = default;
};

class iRLE_DECOMPRESSOR_INTERFACE {
 public:
  virtual bool DecodeRGB(int32_t columns, int32_t rows, uint8_t planar, const uint8_t* source, uint32_t length,
                         uint8_t* destination) = 0;
  virtual bool Decode(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source, uint32_t length,
                      uint8_t* destination) = 0;
  virtual ~iRLE_DECOMPRESSOR_INTERFACE() = default;
};

}  // namespace ORN_decompressor

namespace ORN_compressor {

class iJPEG_COMPRESSOR_INTERFACE {
 public:
  virtual bool Initialize(int32_t mode, int32_t bitDepth, uint8_t quality) = 0;
  virtual bool Reserved2() = 0;
  virtual bool Reserved3() = 0;
  // length: in, the destination's capacity; out, the compressed length (0 on failure).
  virtual bool Encode(int32_t columns, int32_t rows, int32_t samplesPerPixel, int32_t* bitDepth,
                      int32_t* pixelRepresentation, const uint8_t* source, uint8_t* destination, uint32_t* length,
                      int32_t reserved1, int32_t reserved2, double* rescaleSlope, double* rescaleIntercept) = 0;
  virtual ~iJPEG_COMPRESSOR_INTERFACE() = default;
};

class iRLE_COMPRESSOR_INTERFACE {
 public:
  // Both return the compressed length, 0 on failure; capacity bounds what they write.
  virtual uint32_t EncodeRGB(int32_t columns, int32_t rows, uint8_t interleaved, const uint8_t* source,
                             uint8_t* destination, uint32_t capacity) = 0;
  virtual uint32_t Encode(int32_t columns, int32_t rows, int32_t bits, const uint8_t* source, uint8_t* destination,
                          uint32_t capacity) = 0;
  virtual ~iRLE_COMPRESSOR_INTERFACE() = default;
};

}  // namespace ORN_compressor
