// Number values (US, SS, UL, SL, FL, FD): a vector of fields of T in byte order E, one per
// value. TanCVSingle is the class the elements hold; TanValueSet is its base.
// Bytes of a value whose length is not a multiple of the size of T are kept as a tail and
// written back unchanged, so the element keeps its encoded length.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "dicom/elements/header/Fields.h"
#include "dicom/elements/values/NumberText.h"
#include "dicom/elements/values/TanValueBasis.h"

namespace ORN_dicom {

template <class T, template <class> class E>
class TanValueSet : public TanValueBasis {
 public:
  using Field = TanVF<T, E>;
  static constexpr uint32_t kMaxCount = 0xFFFFFFFFu / sizeof(T);
  static constexpr uint32_t kMaxShown = 46;  // the text form shows at most this many values

  // Empty, with room for reserve values.
  TanValueSet(uint16_t vr, uint32_t reserve) : TanValueBasis(vr) { Reserve(reserve); }

  // length bytes of stored values (byte order E) from memory.
  TanValueSet(uint16_t vr, uint32_t length, const void* data) : TanValueBasis(vr) {
    if (!Reserve(length / sizeof(T)) || data == nullptr) return;
    const auto* p = static_cast<const unsigned char*>(data);
    for (uint32_t i = 0; i < length / sizeof(T); ++i) {
      Field f;
      std::memcpy(f.Bytes(), p + i * sizeof(T), sizeof(T));
      FValues.push_back(f);
    }
    FTail.assign(reinterpret_cast<const char*>(p) + FValues.size() * sizeof(T), length % sizeof(T));
  }
  // The same from a stream; reading stops at the first failed read. The room made in advance
  // is bounded: a length from a damaged file must not reserve memory the stream cannot fill.
  TanValueSet(uint16_t vr, uint32_t length, std::istream& in) : TanValueBasis(vr) {
    constexpr uint32_t kRoomInAdvance = 0x10000;
    if (!Reserve(std::min<uint32_t>(length / sizeof(T), kRoomInAdvance))) return;
    for (uint32_t i = 0; i < length / sizeof(T); ++i) {
      Field f;
      if (!in.read(reinterpret_cast<char*>(f.Bytes()), sizeof(T))) {
        Fail("Incorrect file stream operation.");
        return;
      }
      try {
        FValues.push_back(f);
      } catch (...) {
        Fail("Capacity of memory is less than required size.");
        return;
      }
    }
    FTail.resize(length % sizeof(T));
    if (!FTail.empty() && !in.read(FTail.data(), static_cast<std::streamsize>(FTail.size())))
      Fail("Incorrect file stream operation.");
  }
  // size bytes of given values in byte order E (no padding for numbers).
  TanValueSet(uint16_t vr, const void* data, uint32_t size) : TanValueSet(vr, size, data) {}

  TanValueSet(const TanValueSet& other) : TanValueBasis(other.FVR) {
    FLengthLimit = other.FLengthLimit;
    if (!Reserve(other.Count())) return;
    FValues = other.FValues;
    FTail = other.FTail;
  }
  // From the set of the other byte order: every value converted.
  template <template <class> class E2>
    requires(!std::is_same_v<E<T>, E2<T>>)
  explicit TanValueSet(const TanValueSet<T, E2>& other) : TanValueBasis(other.VR()) {
    if (!Reserve(other.Count())) return;
    for (uint32_t i = 0; i < other.Count(); ++i) FValues.push_back(Field(other.Get(i)));
    FTail = other.Tail();
  }

  ~TanValueSet() override { Clear(); }

  uint32_t Length() const override {
    return static_cast<uint32_t>(FValues.size() * sizeof(T) + FTail.size());
  }
  uint32_t Count() const { return static_cast<uint32_t>(FValues.size()); }

  // The stored field of value i; throws std::out_of_range "vector" past the end.
  const Field& At(uint32_t i) const {
    if (i >= FValues.size()) throw std::out_of_range("vector");
    return FValues[i];
  }
  Field& At(uint32_t i) {
    if (i >= FValues.size()) throw std::out_of_range("vector");
    return FValues[i];
  }
  T Get(uint32_t i) const { return At(i).Get(); }
  const std::string& Tail() const { return FTail; }

  bool Push(T v) {
    FLastError.clear();
    FSuccess = Count() + 1 <= kMaxCount;
    if (!FSuccess) {
      FLastError = "Unable to push any element.";
      return false;
    }
    if (Length() + sizeof(T) > FLengthLimit) {
      Fail(kTooLongText);
      return false;
    }
    try {
      FValues.push_back(Field(v));
    } catch (...) {
      Fail("Unable to push any element.");
      return false;
    }
    ReportLength(Length());
    return true;
  }

  void Clear() {
    FValues.clear();
    FTail.clear();
    FSuccess = true;
    ReportLength(0);
  }

  // Value i as text (no "\"); value i must exist.
  std::string ValueText(uint32_t i) const { return NumberText(Get(i)); }

  // The first 46 values joined by "\"; from 46 values on each is followed by "\" and "..."
  // ends the text.
  std::string ToString() const {
    const uint32_t n = Count() < kMaxShown ? Count() : kMaxShown;
    std::string text;
    for (uint32_t i = 0; i < n; ++i) text += ValueText(i) + "\\";
    if (Count() >= kMaxShown) text += "...";
    else if (!text.empty()) text.pop_back();
    return text;
  }

  void CopyTo(void* destination) const {
    auto* p = static_cast<unsigned char*>(destination);
    for (const Field& f : FValues) {
      std::memcpy(p, f.Bytes(), sizeof(T));
      p += sizeof(T);
    }
    if (!FTail.empty()) std::memcpy(p, FTail.data(), FTail.size());
  }
  void WriteTo(std::ostream& out) const {
    for (const Field& f : FValues) out.write(reinterpret_cast<const char*>(f.Bytes()), sizeof(T));
    out.write(FTail.data(), static_cast<std::streamsize>(FTail.size()));
  }

 protected:
  bool Reserve(uint32_t n) {
    bool ok = true;
    try {
      if (n > kMaxCount) ok = false;
      else FValues.reserve(n);
    } catch (...) {
      ok = false;
    }
    if (!ok || FValues.capacity() < n) {
      Fail("Capacity of memory is less than required size.");
      return false;
    }
    return true;
  }

  std::vector<Field> FValues;
  std::string FTail;
};

template <class T, template <class> class E>
class TanCVSingle : public TanValueSet<T, E> {
 public:
  using TanValueSet<T, E>::TanValueSet;
  TanCVSingle(const TanCVSingle& other) = default;
  template <template <class> class E2>
    requires(!std::is_same_v<E<T>, E2<T>>)
  explicit TanCVSingle(const TanCVSingle<T, E2>& other) : TanValueSet<T, E>(other) {}
};

}  // namespace ORN_dicom
