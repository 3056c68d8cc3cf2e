// Value bytes read as entries of T in byte order E: char and unsigned char (texts without
// multiple values, raw bytes; always little endian), 16-bit and 32-bit words (OW, AT, OF and
// the basic offset table) in the element's byte order.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "dicom/elements/header/ByteOrder.h"
#include "dicom/elements/values/TanValueBuffer.h"

namespace ORN_dicom {

template <class T, template <class> class E>
class TanCVArray : public TanValueBuffer {
  static constexpr bool kBytes = sizeof(T) == 1;

 public:
  // Exactly length bytes (records, streams).
  TanCVArray(uint16_t vr, uint32_t length, const void* data) : TanValueBuffer(vr, data, length) {}
  TanCVArray(uint16_t vr, uint32_t length, std::istream& in) : TanValueBuffer(vr, length, in) {}
  // size bytes made even with the padding byte (not for "no").
  TanCVArray(uint16_t vr, const void* data, uint32_t size) : TanValueBuffer(vr, size, data) {}
  TanCVArray(uint16_t vr, const std::string& text) requires kBytes
      : TanValueBuffer(vr, static_cast<uint32_t>(text.size()), text.data()) {}
  TanCVArray(const TanCVArray& other) = default;
  // From the array of the other byte order: every whole entry converted.
  template <template <class> class E2>
    requires(!std::is_same_v<E<T>, E2<T>>)
  explicit TanCVArray(const TanCVArray<T, E2>& other)
      : TanValueBuffer(other.VR(), static_cast<uint32_t>(other.Length()), nullptr) {
    FSuccess = other.IsSuccess();
    for (uint32_t i = 0; i < Count() && i < other.Count(); ++i) Set(i, other.At(i));
  }

  uint32_t Count() const { return FLength / sizeof(T); }

  // Entry i; i must be below Count (an entry outside the value reads as 0).
  T At(uint32_t i) const {
    const unsigned char* p = GetData(i * static_cast<uint32_t>(sizeof(T)), sizeof(T));
    return p != nullptr ? E<T>::Decode(p) : T{};
  }
  // Writes entry i; false when i is not below Count.
  bool Set(uint32_t i, T v) {
    unsigned char* p = GetData(i * static_cast<uint32_t>(sizeof(T)), sizeof(T));
    if (p == nullptr) return false;
    E<T>::Encode(p, v);
    return true;
  }

  // Grows by one entry keeping the content, then writes v into it.
  bool Append(T v) requires(!kBytes) {
    FSuccess = true;
    try {
      if (!Resize(FLength + static_cast<uint32_t>(sizeof(T)), false)) return false;
      Set(Count() - 1, v);
    } catch (...) {
      Fail("Unable to allocate memory.");
    }
    return FSuccess;
  }

  bool RemoveLast() requires(!kBytes) {
    FSuccess = true;
    if (Count() == 0) return true;
    try {
      Resize(FLength - static_cast<uint32_t>(sizeof(T)), false);
    } catch (...) {
      Fail("Unable to allocate memory.");
    }
    return FSuccess;
  }

  // Replaces the bytes by the text; the success flag tells.
  bool SetText(const std::string& text) requires kBytes {
    if (!Resize(static_cast<uint32_t>(text.size()), true)) return false;
    if (!text.empty()) std::memcpy(FData, text.data(), text.size());
    return true;
  }

  // char: all bytes, trimmed; unsigned char: the first 70 bytes, trimmed.
  std::string ToString() const requires kBytes {
    return TrimmedText(std::is_same_v<T, char> ? 0xFFFFFFFFu : 70u);
  }
};

}  // namespace ORN_dicom
