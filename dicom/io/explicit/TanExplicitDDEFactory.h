// The element factories of explicit VR little endian (kind 2) and big endian (kind 3): the
// tag and then the two VR letters choose the element class; elements, items, sequences and
// delimiters are read from memory or a stream, and elements are made from values. Pixel data
// is read native (OB, OW) or, in little endian, encapsulated as its fragments.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <istream>

#include "dicom/elements/header/ByteOrder.h"
#include "dicom/io/factory/TanDDEFactoryBasis.h"
#include "dicom/io/implicit/TanImplicitDDEFactory.h"

namespace ORN_dicom {

template <template <class> class E>
class TanExplicitDDEFactory : public TanDDEFactoryBasis {
 public:
  static constexpr bool kBigEndian = IsBigEndian<E>;

  iDDE* MakeDDEFromMemory(const void* element) override;
  iDDE* MakeDDEFromStream(std::istream& in) override;
  // Any element of any encoding in this factory's encoding: explicit headers in its byte
  // order, numbers re-encoded, items and sequences converted to any depth, pixel data native
  // through CopyPixelData. Null when the element cannot be converted; a value too long for a
  // short-length VR is refused with a last message.
  iDDE* MakeDDEFromDDE(iDDE* source) override;
  iDDE* MakeDDEFromDDEPtr(iDDE* source) override { return MakeDDEFromDDE(source); }
  iDDE* MakeDDE(uint16_t group, uint16_t element, uint32_t count, ...) override;
  iDDE* MakeDDEWithVR(uint16_t group, uint16_t element, const char* vr, uint32_t count, ...) override;
  iDDE* MakeSequence(uint16_t group, uint16_t element, uint8_t undefinedLength) override;
  iDDE* MakeItem(uint8_t undefinedLength) override;
  iDDE* MakePixelData(uint16_t vr, uint32_t count, ...) override;

  // Slots 13 to 15. The stream reader of pixel data takes the stream at the element's tag.
  virtual iDDE* MakePixelDataFromBuffer(uint16_t vr, uint32_t length, const void* data);
  virtual iDDE* MakePixelDataFromHeader(const void* bytes);
  virtual iDDE* ReadPixelData(std::istream& in);
  // Slots 11, 12 and 16: native pixel data of this encoding from the pixel data of any
  // encoding: encapsulated decoded frame by frame, native copied with its words turned when
  // the byte orders differ.
  virtual iDDE* DecodePixelData(iDDE* source);
  virtual iDDE* CopyNativePixelData(iDDE* source);
  virtual iDDE* CopyPixelData(iDDE* source);

  iDDE* MakeItemFromDDE(iDDE* source);
  iDDE* MakeSequenceFromDDE(iDDE* source);
  iDDE* MakeDelimitationDDE(uint16_t group, uint16_t element);

  iDDE* MakeItemFromHeader(const void* bytes);
  iDDE* MakeSequenceFromHeader(const void* bytes);
  iDDE* MakeDelimitationDDEFromHeader(const void* bytes);
  iDDE* ReadItem(std::istream& in);
  iDDE* ReadSequence(std::istream& in);
  iDDE* ReadDelimitationDDE(std::istream& in);

  // Made from values with the given VR code (the typed form behind MakeDDE and MakeDDEWithVR).
  iDDE* MakeDDEList(uint16_t group, uint16_t element, uint16_t vrCode, int32_t count, va_list& args);

 private:
  iDDE* FromRecord(uint16_t vrCode, const unsigned char* p);
  iDDE* FromStream(uint16_t vrCode, std::istream& in);
  iDDE* ImplicitSequenceFromRecord(const unsigned char* p);
  iDDE* ImplicitSequenceFromStream(std::istream& in);
  iDDE* EncapsulatedFromRecord(const unsigned char* p);
  iDDE* EncapsulatedFromStream(std::istream& in);
  iDDE* ConvertValue(iDDE* source);

  // Reads the items of undefined-length UN (and OB, OW, UT) values, which are encoded in
  // implicit VR little endian.
  TanImplicitDDEFactory FImplicit;
};

using TanExplicitLEFactory = TanExplicitDDEFactory<TanLEV>;
using TanExplicitBEFactory = TanExplicitDDEFactory<TanBEV>;

extern template class TanExplicitDDEFactory<TanLEV>;
extern template class TanExplicitDDEFactory<TanBEV>;

}  // namespace ORN_dicom
