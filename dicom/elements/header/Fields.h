// The small field classes of an element header: one value field in a byte order (TanVF),
// group and element numbers (TanNum), the tag (TanTag), the VR code (TanVR) and the value
// length (TanVL). None has virtual operations; each holds only its bytes.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "dicom/elements/header/ByteOrder.h"

namespace ORN_dicom {

// One value field of type T in byte order E. Copying copies the held bytes, which is the same
// as decoding the source and encoding it again.
template <class T, template <class> class E>
class TanVF : public E<T> {
 public:
  TanVF() = default;
  explicit TanVF(T value) { this->Put(value); }
};

template <template <class> class E>
using TanNum = TanVF<uint16_t, E>;

template <template <class> class E>
class TanTag {
 public:
  TanNum<E> FGroup;
  TanNum<E> FElement;

  // Group then element, two bytes each, as held.
  void CopyTo(void* address) const {
    auto* p = static_cast<unsigned char*>(address);
    std::memcpy(p, FGroup.Bytes(), 2);
    std::memcpy(p + 2, FElement.Bytes(), 2);
  }
  void WriteTo(std::ostream& out) const {
    out.write(reinterpret_cast<const char*>(FGroup.Bytes()), 2);
    out.write(reinterpret_cast<const char*>(FElement.Bytes()), 2);
  }
  // From a 4-byte record in the same byte order.
  void Assign(const void* record) {
    const auto* p = static_cast<const unsigned char*>(record);
    std::memcpy(FGroup.Bytes(), p, 2);
    std::memcpy(FElement.Bytes(), p + 2, 2);
  }
};

// The VR code is never byte-swapped: its two letters are stored in reading order everywhere.
using TanVR = TanVF<uint16_t, TanLEV>;

template <class L, template <class> class E>
using TanVL = TanVF<L, E>;

}  // namespace ORN_dicom
