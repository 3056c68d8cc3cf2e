// Encoded test data built field by field, and the streams and buffers the readers take.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "dicom/elements/element/iDDE.h"

namespace ORN_dicom::testing {

struct Bytes {
  std::vector<uint8_t> b;
  bool big = false;  // numbers in big-endian order

  Bytes& u16(uint32_t v) {
    if (big) b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)});
    else b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)});
    return *this;
  }
  Bytes& u32(uint32_t v) {
    if (big) b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    else b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
    return *this;
  }
  Bytes& str(const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
  Bytes& raw(std::initializer_list<uint8_t> v) {
    b.insert(b.end(), v);
    return *this;
  }
  Bytes& add(const Bytes& o) {
    b.insert(b.end(), o.b.begin(), o.b.end());
    return *this;
  }
  Bytes& tag(uint16_t g, uint16_t e) { return u16(g).u16(e); }
  // Implicit VR element; length defaults to the value's.
  Bytes& implicit(uint16_t g, uint16_t e, const std::string& value) {
    return tag(g, e).u32(static_cast<uint32_t>(value.size())).str(value);
  }
  // Explicit VR element, short or long form by the VR.
  Bytes& expl(uint16_t g, uint16_t e, const char* vr, const std::string& value) {
    tag(g, e).str(vr);
    static const std::string longForm = "OB OD OF OL OV OW SQ SV UC UN UR UT UV";
    if (longForm.find(vr) != std::string::npos) u16(0).u32(static_cast<uint32_t>(value.size()));
    else u16(static_cast<uint32_t>(value.size()));
    return str(value);
  }
  Bytes& item(uint32_t length) { return tag(0xFFFE, 0xE000).u32(length); }
  Bytes& itemEnd() { return tag(0xFFFE, 0xE00D).u32(0); }
  Bytes& sequenceEnd() { return tag(0xFFFE, 0xE0DD).u32(0); }
  uint32_t size() const { return static_cast<uint32_t>(b.size()); }
  // An exact copy on the heap, so that a read past the end shows under the address sanitizer.
  std::unique_ptr<uint8_t[]> copy() const {
    std::unique_ptr<uint8_t[]> p(new uint8_t[b.size() + 1]);
    std::memcpy(p.get(), b.data(), b.size());
    return p;
  }
  std::istringstream stream() const { return std::istringstream(std::string(b.begin(), b.end())); }
};

// A Part 10 file: preamble, "DICM", a meta group with the transfer syntax UID, the data set.
inline Bytes Part10(const std::string& uid, const Bytes& dataSet) {
  Bytes f;
  f.b.assign(128, 0);
  f.str("DICM");
  std::string u = uid;
  if (u.size() % 2) u.push_back('\0');
  Bytes meta;
  meta.expl(0x0002, 0x0001, "OB", std::string("\0\1", 2)).expl(0x0002, 0x0010, "UI", u);
  f.expl(0x0002, 0x0000, "UL", std::string("\0\0\0\0", 4));
  const uint32_t n = meta.size();
  std::memcpy(f.b.data() + 132 + 8, &n, 4);
  f.add(meta).add(dataSet);
  return f;
}

using Owned = std::unique_ptr<iDDE>;

}  // namespace ORN_dicom::testing
