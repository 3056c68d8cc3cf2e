// Byte-order codecs: one value of T held as bytes. Little-endian values are held in the
// processor's own order; big-endian ones keep their stored bytes and are converted on every
// read and write. Used as template-template arguments (TanLEV, TanBEV) by headers and values.
#pragma once

#include <cstdint>
#include <bit>
#include <cstring>
#include <type_traits>

namespace ORN_dicom {

static_assert(std::endian::native == std::endian::little, "the byte-order codecs assume a little-endian processor");

template <class T>
class TanLEV {
 public:
  static T Decode(const void* address) {
    T v;
    std::memcpy(&v, address, sizeof(T));
    return v;
  }
  static void Encode(void* address, T value) { std::memcpy(address, &value, sizeof(T)); }

  T Get() const { return Decode(FBytes); }
  void Put(T value) { Encode(FBytes, value); }
  const unsigned char* Bytes() const { return FBytes; }
  unsigned char* Bytes() { return FBytes; }

 private:
  unsigned char FBytes[sizeof(T)] = {};
};

template <class T>
class TanBEV {
 public:
  // Byte i of the result (from the least significant) comes from address + n - 1 - i.
  static T Decode(const void* address) {
    unsigned char b[sizeof(T)];
    const auto* p = static_cast<const unsigned char*>(address);
    for (std::size_t i = 0; i < sizeof(T); ++i) b[i] = p[sizeof(T) - 1 - i];
    T v;
    std::memcpy(&v, b, sizeof(T));
    return v;
  }
  static void Encode(void* address, T value) {
    unsigned char b[sizeof(T)];
    std::memcpy(b, &value, sizeof(T));
    auto* p = static_cast<unsigned char*>(address);
    for (std::size_t i = 0; i < sizeof(T); ++i) p[sizeof(T) - 1 - i] = b[i];
  }

  T Get() const { return Decode(FBytes); }
  void Put(T value) { Encode(FBytes, value); }
  const unsigned char* Bytes() const { return FBytes; }
  unsigned char* Bytes() { return FBytes; }

 private:
  unsigned char FBytes[sizeof(T)] = {};
};

template <template <class> class E>
inline constexpr bool IsBigEndian = std::is_same_v<E<uint16_t>, TanBEV<uint16_t>>;

}  // namespace ORN_dicom
