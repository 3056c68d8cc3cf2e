// The data element: a header and a value in one object taken from the element pool of the
// class's size. The element keeps its header length in step with its value and tells its
// owner (FOnChange) when the length changed.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <type_traits>

#include "base/memory/PoolAllocated.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/elements/header/DictionaryVR.h"
#include "dicom/elements/header/TanDDEHeader.h"

namespace ORN_dicom {

template <class Header, class Value>
class TanDDE : public nalloc::PoolAllocated<TanDDE<Header, Value>>, public iDDE {
 public:
  using HeaderType = Header;
  using ValueType = Value;

  // From a record: header, then the value from the bytes behind it (none for an undefined
  // length). The header keeps the length it read.
  explicit TanDDE(const void* record)
      : iDDE(&FDDEValue),
        FDDEHeader(record),
        FDDEValue(FDDEHeader.VR(), ValueCount(), static_cast<const unsigned char*>(record) + Header::kSize) {
    Link();
  }

  // From a stream positioned at the header; the value reads its bytes right after it.
  explicit TanDDE(std::istream& in)
      : iDDE(&FDDEValue), FDDEHeader(in), FDDEValue(FDDEHeader.VR(), FDDEHeader.IsValid() ? ValueCount() : 0u, in) {
    Link();
  }

  // From values: a copy of a source value.
  TanDDE(uint16_t group, uint16_t element, uint16_t vrCode, const Value& source)
      : iDDE(&FDDEValue), FDDEHeader(group, element, vrCode, 0), FDDEValue(source) {
    FinishFromValues(source.Length());
  }
  // From values: given data of size bytes (text and byte values are made even).
  TanDDE(uint16_t group, uint16_t element, uint16_t vrCode, const void* data, uint32_t size)
      : iDDE(&FDDEValue), FDDEHeader(group, element, vrCode, 0), FDDEValue(vrCode, data, size) {
    FinishFromValues(size);
  }
  // From values: an empty value; length kUndefinedLength makes an undefined-length element
  // (sequences and items), any other length an empty one.
  TanDDE(uint16_t group, uint16_t element, uint16_t vrCode, uint32_t length = 0)
      : iDDE(&FDDEValue), FDDEHeader(group, element, vrCode, 0), FDDEValue(vrCode, 0u, static_cast<const void*>(nullptr)) {
    FinishFromValues(length);
  }

  ~TanDDE() override {
    // The value's own destruction must not reach the element any more.
    FDDEValue.SetChangeCallback(nullptr, nullptr);
  }

  TanDDE(const TanDDE&) = delete;
  TanDDE& operator=(const TanDDE&) = delete;

  // iGroup, iElement, iTag
  uint16_t Group() const override { return FDDEHeader.Group(); }
  std::string GroupText() const override { return FDDEHeader.GroupText(); }
  uint32_t Tag() const override { return FDDEHeader.Tag(); }
  std::string TagText() const override { return FDDEHeader.TagText(); }
  uint16_t Element() const override { return FDDEHeader.Element(); }
  std::string ElementText() const override { return FDDEHeader.ElementText(); }
  // iVR
  uint16_t VR() const override { return FDDEHeader.VR(); }
  std::string VRText() const override { return ORN_dicom::VRText(FDDEHeader.VR()); }
  // iHeader, iVL
  bool IsHeaderValid() const override { return FDDEHeader.IsValid(); }
  uint32_t HeaderSize() const override { return Header::kSize; }
  uint32_t Length() const override { return FDDEHeader.Length(); }
  std::string LengthText() const override { return FDDEHeader.LengthText(); }
  void Assign(const void* record) override { FDDEHeader.Assign(record); }
  // iDDE
  bool IsValid() const override { return FDDEHeader.IsValid() && FDDEValue.IsSuccess(); }
  uint32_t Size() const override { return FDDEValue.Length() + Header::kSize; }
  std::string Description() const override { return DictionaryDescription(Group(), Element()); }
  iDDE* CopyTo(void* address) override {
    FDDEHeader.CopyTo(address);
    FDDEValue.CopyTo(static_cast<unsigned char*>(address) + Header::kSize);
    return this;
  }
  iDDE* WriteTo(std::ostream& out) override {
    FDDEHeader.WriteTo(out);
    FDDEValue.WriteTo(out);
    return this;
  }

  Header& HeaderPart() { return FDDEHeader; }
  Value& ValuePart() { return FDDEValue; }

  // The value's change callback: the header follows the new length, except that an undefined
  // length stays undefined until the value becomes empty; then the owner hears of it.
  static void OnValueLengthChanged(void* context, uint32_t n) {
    auto* self = static_cast<TanDDE*>(context);
    if (self->FDDEHeader.Length() != kUndefinedLength || n == 0) {
      // The value's length limit keeps n within a 16-bit field; should it not, the header
      // is marked invalid rather than holding a wrong length.
      if (!self->FDDEHeader.SetLength(n)) self->FDDEHeader.Invalidate();
    }
    if (self->FOnChange.Function != nullptr) self->FOnChange.Function(self->FOnChange.Context);
  }

 private:
  uint32_t ValueCount() const {
    return FDDEHeader.Length() == kUndefinedLength ? 0u : FDDEHeader.Length();
  }

  void Link() {
    FGroup = this;
    FElement = this;
    FTag = this;
    FVR = this;
    FVL = this;
    FHeader = this;
    FValueInterface = this;
    if constexpr (Header::kShortLength) FDDEValue.SetLengthLimit(Header::kMaxLength);
    FDDEValue.SetChangeCallback(&TanDDE::OnValueLengthChanged, this);
  }

  // A value too long for a 16-bit length field is refused: the element is made with an empty
  // value that reports the failure, never with a truncated length.
  void FinishFromValues(uint32_t givenLength) {
    if (FDDEValue.Length() > Header::kMaxLength) {
      if constexpr (requires { FDDEValue.Resize(0u, true); }) FDDEValue.Resize(0, true);
      else if constexpr (requires { FDDEValue.Clear(); }) FDDEValue.Clear();
      FDDEValue.SetFailure(TanValueBasis::kTooLongText);
    }
    if (givenLength == kUndefinedLength && !Header::kShortLength) FDDEHeader.SetLength(kUndefinedLength);
    else FDDEHeader.SetLength(FDDEValue.Length());
    Link();
  }

  Header FDDEHeader;
  Value FDDEValue;
};

}  // namespace ORN_dicom
