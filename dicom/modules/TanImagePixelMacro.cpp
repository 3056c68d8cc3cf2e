#include "dicom/modules/TanImagePixelMacro.h"

#include <cstring>
#include <stdexcept>

namespace ndl_impl {

namespace {

const char* const kPhotometricTexts[] = {"MONOCHROME1",     "MONOCHROME2",     "RGB",     "PALETTE COLOR",
                                         "YBR_FULL",        "YBR_FULL_422",    "YBR_PARTIAL_422",
                                         "YBR_PARTIAL_420", "YBR_ICT",         "YBR_RCT"};

bool MakesEmptyMacro(uint8_t samples, uint8_t photometric, uint8_t representation, uint8_t planar, uint8_t bitsAllocated,
                     int32_t bitsStored, int32_t columns, int32_t rows, int32_t highBit, double ratio) {
  if (samples == 255 || representation == 255 || photometric == 255) return true;
  if (photometric != 1 && photometric != 2 && photometric != 4 && planar == 255) return true;
  if (bitsAllocated == 1) return true;
  if (bitsStored == 0 || columns == 0 || rows == 0 || highBit == 0) return true;
  return ratio == 0.0;
}

}  // namespace

uint8_t PhotometricCode(const char* text) {
  for (uint8_t i = 0; i < 10; ++i)
    if (std::strcmp(text, kPhotometricTexts[i]) == 0) return static_cast<uint8_t>(i + 1);
  return 255;
}

const char* PhotometricText(uint8_t code) { return code >= 1 && code <= 10 ? kPhotometricTexts[code - 1] : ""; }

bool TanPixelPadding::Assign(const ndl::iIMAGE_PIXEL_PADDING& other) {
  if (&other != this) {
    FEmpty = other.IsEmpty() ? 1 : 0;
    FValue = other.GetValue();
    FRangeLimit = other.GetRangeLimit();
  }
  return FEmpty == 0;
}

bool TanPixelPadding::IsEqual(const ndl::iIMAGE_PIXEL_PADDING& other) const {
  return IsEmpty() == other.IsEmpty() && FValue == other.GetValue() && FRangeLimit == other.GetRangeLimit();
}

TanPixelPadding& TanPixelPadding::operator=(const ndl::iIMAGE_PIXEL_PADDING& other) {
  Assign(other);
  return *this;
}

void TanPixelPadding::Clear() {
  FEmpty = 1;
  FValue = 0;
  FRangeLimit = 0;
}

bool TanPixelPadding::Set(int32_t value, int32_t rangeLimit) {
  FEmpty = 0;
  FValue = value;
  FRangeLimit = rangeLimit;
  return true;
}

TanImagePixelMacro::TanImagePixelMacro() : ndl::iIMAGE_PIXEL_MACRO(FPixelPadding) {}

TanImagePixelMacro::TanImagePixelMacro(uint8_t samplesPerPixel, uint8_t photometric, uint8_t pixelRepresentation,
                                       uint8_t planarConfiguration, uint8_t bitsAllocated, int32_t bitsStored,
                                       int32_t columns, int32_t rows, int32_t highBit, double aspectRatio)
    : ndl::iIMAGE_PIXEL_MACRO(FPixelPadding),
      FSamplesPerPixel(samplesPerPixel),
      FPhotometricInterpretation(photometric),
      FPixelRepresentation(pixelRepresentation),
      FPlanarConfiguration(planarConfiguration),
      FBitsAllocated(bitsAllocated),
      FBitsStored(bitsStored),
      FColumns(columns),
      FRows(rows),
      FHighBit(highBit),
      FPixelAspectRatio(aspectRatio) {
  if (IsEmpty()) throw std::runtime_error("IMAGE-PIXEL-MACRO-initializetion-error");
}

TanImagePixelMacro::TanImagePixelMacro(const TanImagePixelMacro& other) : ndl::iIMAGE_PIXEL_MACRO(FPixelPadding) {
  CopyValues(other);
}

void TanImagePixelMacro::CopyValues(const ndl::iIMAGE_PIXEL_MACRO& other) {
  FSamplesPerPixel = other.GetSamplesPerPixel();
  FPhotometricInterpretation = other.GetPhotometricInterpretation();
  FPixelRepresentation = other.GetPixelRepresentation();
  FPlanarConfiguration = other.GetPlanarConfiguration();
  FBitsAllocated = other.GetBitsAllocated();
  FBitsStored = other.GetBitsStored();
  FColumns = other.GetColumns();
  FRows = other.GetRows();
  FHighBit = other.GetHighBit();
  FPixelAspectRatio = other.GetPixelAspectRatio();
  FPixelPadding.Assign(other.PixelPadding);
}

bool TanImagePixelMacro::IsEmpty() const {
  return MakesEmptyMacro(FSamplesPerPixel, FPhotometricInterpretation, FPixelRepresentation, FPlanarConfiguration,
                         FBitsAllocated, FBitsStored, FColumns, FRows, FHighBit, FPixelAspectRatio);
}

bool TanImagePixelMacro::Assign(const ndl::iIMAGE_PIXEL_MACRO& other) {
  if (other.IsEmpty()) return false;
  if (&other != this) CopyValues(other);
  return true;
}

bool TanImagePixelMacro::IsEqual(const ndl::iIMAGE_PIXEL_MACRO& other) const {
  return FSamplesPerPixel == other.GetSamplesPerPixel() &&
         FPhotometricInterpretation == other.GetPhotometricInterpretation() &&
         FPixelRepresentation == other.GetPixelRepresentation() &&
         FPlanarConfiguration == other.GetPlanarConfiguration() && FBitsAllocated == other.GetBitsAllocated() &&
         FBitsStored == other.GetBitsStored() && FColumns == other.GetColumns() && FRows == other.GetRows() &&
         FHighBit == other.GetHighBit() && FPixelAspectRatio == other.GetPixelAspectRatio();
}

TanImagePixelMacro& TanImagePixelMacro::operator=(const ndl::iIMAGE_PIXEL_MACRO& other) {
  if (&other != this) CopyValues(other);
  return *this;
}

TanImagePixelMacro& TanImagePixelMacro::Clear() {
  FSamplesPerPixel = FPhotometricInterpretation = FPixelRepresentation = FPlanarConfiguration = 255;
  FBitsAllocated = 1;
  FBitsStored = FColumns = FRows = FHighBit = 0;
  FPixelAspectRatio = 0.0;
  FPixelPadding.Clear();
  return *this;
}

bool TanImagePixelMacro::Set(uint8_t samplesPerPixel, uint8_t photometric, uint8_t pixelRepresentation,
                             uint8_t planarConfiguration, uint8_t bitsAllocated, int32_t bitsStored, int32_t columns,
                             int32_t rows, int32_t highBit, double aspectRatio) {
  const TanImagePixelMacro temporary(samplesPerPixel, photometric, pixelRepresentation, planarConfiguration,
                                     bitsAllocated, bitsStored, columns, rows, highBit, aspectRatio);
  CopyValues(temporary);
  return true;
}

}  // namespace ndl_impl

namespace ndl {

iIMAGE_PIXEL_MACRO* TanImagePixelMacroFactory::CreateDefault() const {
  try {
    return new ndl_impl::TanImagePixelMacro();
  } catch (...) {
    return nullptr;
  }
}

iIMAGE_PIXEL_MACRO* TanImagePixelMacroFactory::Create(uint8_t samplesPerPixel, uint8_t photometric,
                                                      uint8_t pixelRepresentation, uint8_t planarConfiguration,
                                                      uint8_t bitsAllocated, int32_t bitsStored, int32_t columns,
                                                      int32_t rows, int32_t highBit, double aspectRatio) const {
  try {
    return new ndl_impl::TanImagePixelMacro(samplesPerPixel, photometric, pixelRepresentation, planarConfiguration,
                                            bitsAllocated, bitsStored, columns, rows, highBit, aspectRatio);
  } catch (...) {
    return nullptr;
  }
}

iIMAGE_PIXEL_MACRO* TanImagePixelMacroFactory::CreateCopy(const iIMAGE_PIXEL_MACRO& other) const {
  try {
    auto* copy = new ndl_impl::TanImagePixelMacro();
    *copy = other;
    return copy;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace ndl
