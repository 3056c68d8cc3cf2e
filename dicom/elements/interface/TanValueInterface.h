// The one way to read and change an element's value: typed getters, setters and adders and
// the text form. It tests the run-time class of the value and picks its behaviour by it.
// Getters that take an index report a missing value (an empty value, an index past the end,
// a value of another class) with false instead of throwing. Operations that must be given a
// value of a certain class (GetItem, the adders, GetCount, ...) throw std::logic_error with an
// assertion text when they are not.
#pragma once

#include <cstdint>
#include <string>

#include "dicom/elements/values/TanValueBasis.h"

namespace ORN_dicom {

class TanDDEItemValue;
class TanDDESequenceValue;
class TanEPDValue;

class TanValueInterface {
 public:
  explicit TanValueInterface(TanValueBasis* value) : FValue(value) {}
  TanValueInterface(const TanValueInterface&) = delete;
  TanValueInterface& operator=(const TanValueInterface&) = delete;

  uint32_t GetLength() const;
  // All value bytes (or [offset, offset + count), count 0xFFFFFFFF meaning to the end) of a
  // byte-buffer value; null for other classes or a range outside the value.
  unsigned char* GetData() const;
  unsigned char* GetData(uint32_t offset, uint32_t count) const;
  bool IsValid() const;
  const char* GetLastError() const;

  TanDDEItemValue* GetItem() const;
  TanDDESequenceValue* GetSequence() const;
  TanEPDValue* GetEncapsulatedPixelData() const;

  // Value 0 of a US/SS (UL/SL) set; 0 when the value is empty or of another class.
  uint16_t GetUShort() const;
  int16_t GetShort() const;
  uint32_t GetULong() const;

  std::string GetString() const;

  TanValueInterface& SetUShort(uint16_t v);
  TanValueInterface& SetULong(uint32_t v);
  TanValueInterface& SetString(const std::string& text);

  TanValueInterface& AddUShort(uint16_t v);
  TanValueInterface& AddShort(int16_t v);
  TanValueInterface& AddULong(uint32_t v);
  TanValueInterface& AddLong(int32_t v);
  TanValueInterface& AddFloat(float v);
  TanValueInterface& AddDouble(double v);
  TanValueInterface& AddString(const std::string& text);

  int32_t GetCount() const;

  bool GetUShortAt(uint16_t& out, uint32_t i) const;
  bool GetShortAt(int16_t& out, uint32_t i) const;
  bool GetULongAt(uint32_t& out, uint32_t i) const;
  bool GetLongAt(int32_t& out, uint32_t i) const;
  bool GetFloatAt(float& out, uint32_t i) const;
  bool GetDoubleAt(double& out, uint32_t i) const;
  bool GetStringAt(std::string& out, uint32_t i) const;

  bool SetUShortAt(uint16_t v, uint32_t i);
  bool SetULongAt(uint32_t v, uint32_t i);

  template <class T>
  T* ValueAs() const {
    return dynamic_cast<T*>(FValue);
  }

  TanValueBasis* const FValue;
};

}  // namespace ORN_dicom
