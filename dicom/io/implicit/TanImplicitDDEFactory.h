// The element factory of implicit VR little endian (transfer-syntax kind 1): elements, items,
// sequences and delimiters read from memory or a stream with the VR the dictionary gives,
// elements made from values, and elements of any encoding converted to implicit VR.
#pragma once

#include <cstdint>
#include <istream>

#include "dicom/io/factory/TanDDEFactoryBasis.h"

namespace ORN_dicom {

class TanImplicitDDEFactory : public TanDDEFactoryBasis {
 public:
  iDDE* MakeDDEFromMemory(const void* element) override;
  iDDE* MakeDDEFromStream(std::istream& in) override;
  iDDE* MakeDDEFromDDE(iDDE* source) override;
  iDDE* MakeDDEFromDDEPtr(iDDE* source) override { return MakeDDEFromDDE(source); }
  iDDE* MakeDDE(uint16_t group, uint16_t element, uint32_t count, ...) override;
  iDDE* MakeDDEWithVR(uint16_t group, uint16_t element, const char* vr, uint32_t count, ...) override;
  iDDE* MakeSequence(uint16_t group, uint16_t element, uint8_t undefinedLength) override;
  iDDE* MakeItem(uint8_t undefinedLength) override;
  iDDE* MakePixelData(uint16_t vr, uint32_t count, ...) override;

  iDDE* MakeSequenceFromHeader(const void* bytes);
  iDDE* ReadSequence(std::istream& in);
  iDDE* MakeItemFromHeader(const void* bytes);
  iDDE* ReadItem(std::istream& in);
  iDDE* MakeDelimitationDDEFromHeader(const void* bytes);
  iDDE* ReadDelimitationDDE(std::istream& in);
  iDDE* MakeUNFromHeader(const void* bytes);
  iDDE* ReadUN(std::istream& in);
  iDDE* MakePixelDataFromHeader(const void* bytes);
  iDDE* ReadPixelData(std::istream& in);
  iDDE* MakeDelimitationDDE(uint16_t group, uint16_t element);

  // Pixel data: always OW from a buffer (odd lengths padded); from the pixel data of any
  // encoding, native copied (words turned to little endian) or encapsulated decoded.
  iDDE* MakePixelDataFromBuffer(uint16_t vr, uint32_t length, const void* data);
  iDDE* CopyPixelData(iDDE* source);
  iDDE* DecodePixelData(iDDE* source);
  iDDE* CopyNativePixelData(iDDE* source);

  // The elements of the conversion; each gives null for a source it cannot convert.
  iDDE* MakeSequenceFromDDE(iDDE* source);
  iDDE* MakeItemFromDDE(iDDE* source);

  // Made from values (the typed form behind MakeDDE): VR from the dictionary.
  iDDE* MakeDDEList(uint16_t group, uint16_t element, int32_t count, va_list& args);

 private:
  iDDE* FromRecord(uint16_t vrCode, const unsigned char* p);
  iDDE* FromStream(uint16_t vrCode, std::istream& in);
  iDDE* ConvertValue(iDDE* source);
};

}  // namespace ORN_dicom
