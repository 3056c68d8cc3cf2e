// A text of one or more values separated by "\" (AE, CS, DA, DS, DT, IS, LO, PN, SH, TM, UI).
// Values are always separated by "\"; FDelimiter is the separator of the component groups of
// one PN value ("=") when a maker sets it, and does not split values.
#pragma once

#include <cstdint>
#include <string>

#include "dicom/elements/values/TanValueBuffer.h"

namespace ORN_dicom {

class TanCharArray : public TanValueBuffer {
 public:
  static constexpr char kValueDelimiter = '\\';

  // Exactly length bytes.
  TanCharArray(uint16_t vr, uint32_t length, const void* data) : TanValueBuffer(vr, data, length) {}
  TanCharArray(uint16_t vr, uint32_t length, std::istream& in) : TanValueBuffer(vr, length, in) {}
  // size bytes made even with the padding byte.
  TanCharArray(uint16_t vr, const void* data, uint32_t size) : TanValueBuffer(vr, size, data) {}
  TanCharArray(uint16_t vr, const std::string& text)
      : TanValueBuffer(vr, static_cast<uint32_t>(text.size()), text.data()) {}
  TanCharArray(const TanCharArray& other) = default;

  // Number of values: 0 for an empty text, else 1 plus the number of "\".
  uint32_t Count() const;
  // Value i as stored (the padding byte belongs to the last value); "" when there is none.
  std::string Value(uint32_t i) const;
  // Replaces the bytes by the text. Throws std::runtime_error "bad-memory-reallocation" when
  // memory cannot be had; a text too long for the element's length field fails with the
  // success flag and keeps the old text.
  void SetText(const std::string& text);
  // Appends one value: the current text (trimmed), "\" unless it is empty, the value.
  void Append(const std::string& value);
  std::string ToString() const { return TrimmedText(); }

  char FDelimiter = kValueDelimiter;
};

}  // namespace ORN_dicom
