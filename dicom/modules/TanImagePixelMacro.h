// The image pixel macro: samples, photometric interpretation, size, bits, planar
// configuration, aspect ratio and pixel padding of an image. 255 in an 8-bit field means "not
// set". Equality compares the ten layout values exactly and ignores the padding.
#pragma once

#include <cstdint>

namespace ndl {

class iIMAGE_PIXEL_PADDING {
 public:
  virtual int32_t GetValue() const = 0;
  virtual int32_t GetRangeLimit() const = 0;
  virtual bool IsEmpty() const = 0;
  virtual bool Assign(const iIMAGE_PIXEL_PADDING& other) = 0;
  virtual bool IsEqual(const iIMAGE_PIXEL_PADDING& other) const = 0;
  virtual iIMAGE_PIXEL_PADDING& operator=(const iIMAGE_PIXEL_PADDING& other) = 0;
  virtual void Clear() = 0;
  virtual bool Set(int32_t value, int32_t rangeLimit) = 0;
  virtual ~iIMAGE_PIXEL_PADDING() = default;
};

class iIMAGE_PIXEL_MACRO_INFO {
 public:
  explicit iIMAGE_PIXEL_MACRO_INFO(iIMAGE_PIXEL_PADDING& padding) : PixelPadding(padding) {}
  iIMAGE_PIXEL_MACRO_INFO(const iIMAGE_PIXEL_MACRO_INFO&) = delete;
  iIMAGE_PIXEL_MACRO_INFO& operator=(const iIMAGE_PIXEL_MACRO_INFO&) = delete;

  virtual uint8_t GetSamplesPerPixel() const = 0;
  virtual uint8_t GetPhotometricInterpretation() const = 0;
  virtual uint8_t GetPixelRepresentation() const = 0;
  virtual uint8_t GetPlanarConfiguration() const = 0;
  virtual uint8_t GetBitsAllocated() const = 0;
  virtual int32_t GetBitsStored() const = 0;
  virtual int32_t GetColumns() const = 0;
  virtual int32_t GetRows() const = 0;
  virtual int32_t GetHighBit() const = 0;
  virtual double GetPixelAspectRatio() const = 0;
  virtual ~iIMAGE_PIXEL_MACRO_INFO() = default;

  iIMAGE_PIXEL_PADDING& PixelPadding;
};

class iIMAGE_PIXEL_MACRO : public iIMAGE_PIXEL_MACRO_INFO {
 public:
  using iIMAGE_PIXEL_MACRO_INFO::iIMAGE_PIXEL_MACRO_INFO;
  virtual bool IsEmpty() const = 0;
  virtual bool Assign(const iIMAGE_PIXEL_MACRO& other) = 0;
  virtual bool IsEqual(const iIMAGE_PIXEL_MACRO& other) const = 0;
  virtual iIMAGE_PIXEL_MACRO& operator=(const iIMAGE_PIXEL_MACRO& other) = 0;
  virtual iIMAGE_PIXEL_MACRO& Clear() = 0;
  // Throws std::runtime_error "IMAGE-PIXEL-MACRO-initializetion-error" for values that make
  // an empty macro; the padding is dropped.
  virtual bool Set(uint8_t samplesPerPixel, uint8_t photometric, uint8_t pixelRepresentation,
                   uint8_t planarConfiguration, uint8_t bitsAllocated, int32_t bitsStored, int32_t columns,
                   int32_t rows, int32_t highBit, double aspectRatio) = 0;
};

}  // namespace ndl

namespace ndl_impl {

class TanPixelPadding : public ndl::iIMAGE_PIXEL_PADDING {
 public:
  int32_t GetValue() const override { return FValue; }
  int32_t GetRangeLimit() const override { return FRangeLimit; }
  bool IsEmpty() const override { return FEmpty != 0; }
  bool Assign(const ndl::iIMAGE_PIXEL_PADDING& other) override;
  bool IsEqual(const ndl::iIMAGE_PIXEL_PADDING& other) const override;
  TanPixelPadding& operator=(const ndl::iIMAGE_PIXEL_PADDING& other) override;
  TanPixelPadding& operator=(const TanPixelPadding& other) { return operator=(static_cast<const ndl::iIMAGE_PIXEL_PADDING&>(other)); }
  void Clear() override;
  bool Set(int32_t value, int32_t rangeLimit) override;

 private:
  uint8_t FEmpty = 1;
  int32_t FValue = 0;
  int32_t FRangeLimit = 0;
};

// Photometric interpretation codes 1 to 10; 255 for any other text.
uint8_t PhotometricCode(const char* text);
// The code's text; empty outside 1 to 10.
const char* PhotometricText(uint8_t code);

class TanImagePixelMacro : public ndl::iIMAGE_PIXEL_MACRO {
 public:
  TanImagePixelMacro();
  TanImagePixelMacro(uint8_t samplesPerPixel, uint8_t photometric, uint8_t pixelRepresentation,
                     uint8_t planarConfiguration, uint8_t bitsAllocated, int32_t bitsStored, int32_t columns,
                     int32_t rows, int32_t highBit, double aspectRatio);
  TanImagePixelMacro(const TanImagePixelMacro& other);
  TanImagePixelMacro& operator=(const TanImagePixelMacro& other) {
    return operator=(static_cast<const ndl::iIMAGE_PIXEL_MACRO&>(other));
  }
  ~TanImagePixelMacro() override = default;

  uint8_t GetSamplesPerPixel() const override { return FSamplesPerPixel; }
  uint8_t GetPhotometricInterpretation() const override { return FPhotometricInterpretation; }
  uint8_t GetPixelRepresentation() const override { return FPixelRepresentation; }
  uint8_t GetPlanarConfiguration() const override { return FPlanarConfiguration; }
  uint8_t GetBitsAllocated() const override { return FBitsAllocated; }
  int32_t GetBitsStored() const override { return FBitsStored; }
  int32_t GetColumns() const override { return FColumns; }
  int32_t GetRows() const override { return FRows; }
  int32_t GetHighBit() const override { return FHighBit; }
  double GetPixelAspectRatio() const override { return FPixelAspectRatio; }

  bool IsEmpty() const override;
  bool Assign(const ndl::iIMAGE_PIXEL_MACRO& other) override;
  bool IsEqual(const ndl::iIMAGE_PIXEL_MACRO& other) const override;
  TanImagePixelMacro& operator=(const ndl::iIMAGE_PIXEL_MACRO& other) override;
  TanImagePixelMacro& Clear() override;
  bool Set(uint8_t samplesPerPixel, uint8_t photometric, uint8_t pixelRepresentation, uint8_t planarConfiguration,
           uint8_t bitsAllocated, int32_t bitsStored, int32_t columns, int32_t rows, int32_t highBit,
           double aspectRatio) override;

 private:
  void CopyValues(const ndl::iIMAGE_PIXEL_MACRO& other);

  TanPixelPadding FPixelPadding;
  uint8_t FSamplesPerPixel = 255;
  uint8_t FPhotometricInterpretation = 255;
  uint8_t FPixelRepresentation = 255;
  uint8_t FPlanarConfiguration = 255;
  uint8_t FBitsAllocated = 1;
  int32_t FBitsStored = 0;
  int32_t FColumns = 0;
  int32_t FRows = 0;
  int32_t FHighBit = 0;
  double FPixelAspectRatio = 0.0;
};

}  // namespace ndl_impl

namespace ndl {

// Makes pixel macros on the heap; null when construction throws.
class TanImagePixelMacroFactory {
 public:
  iIMAGE_PIXEL_MACRO* CreateDefault() const;
  iIMAGE_PIXEL_MACRO* Create(uint8_t samplesPerPixel, uint8_t photometric, uint8_t pixelRepresentation,
                             uint8_t planarConfiguration, uint8_t bitsAllocated, int32_t bitsStored, int32_t columns,
                             int32_t rows, int32_t highBit, double aspectRatio) const;
  iIMAGE_PIXEL_MACRO* CreateCopy(const iIMAGE_PIXEL_MACRO& other) const;
};

}  // namespace ndl
