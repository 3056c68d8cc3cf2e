#include "dicom/elements/header/TagText.h"

#include <cstdio>

#include "dicom/elements/header/ByteOrder.h"

namespace ORN_dicom {

namespace {
std::string Hex4(uint16_t w) {
  char b[8];
  std::snprintf(b, sizeof b, "%04X", static_cast<unsigned>(w));
  return b;
}
// Built in a buffer: g++ 12 warns falsely (-Wrestrict) on chained string concatenation.
std::string Pair(uint16_t group, uint16_t element, const char* format) {
  char b[16];
  std::snprintf(b, sizeof b, format, static_cast<unsigned>(group), static_cast<unsigned>(element));
  return b;
}
std::string Length32(uint32_t n) { return n == 0xFFFFFFFFu ? "FFFFFFFFh" : std::to_string(n); }
const unsigned char* Bytes(const void* p) { return static_cast<const unsigned char*>(p); }
}  // namespace

uint32_t MakeTag(const void* pair) {
  return (uint32_t{TanLEV<uint16_t>::Decode(pair)} << 16) | TanLEV<uint16_t>::Decode(Bytes(pair) + 2);
}
uint32_t MakeTagBigEndian(const void* pair) {
  return (uint32_t{TanBEV<uint16_t>::Decode(pair)} << 16) | TanBEV<uint16_t>::Decode(Bytes(pair) + 2);
}

std::string HexWordText(const void* word) { return Hex4(TanLEV<uint16_t>::Decode(word)); }
std::string HexWordTextBE(const void* word) { return Hex4(TanBEV<uint16_t>::Decode(word)); }
std::string TagText(const void* pair) {
  return Pair(TanLEV<uint16_t>::Decode(pair), TanLEV<uint16_t>::Decode(Bytes(pair) + 2), "%04X,%04X");
}
std::string TagTextBE(const void* pair) {
  return Pair(TanBEV<uint16_t>::Decode(pair), TanBEV<uint16_t>::Decode(Bytes(pair) + 2), "%04X,%04X");
}
std::string LengthText(const void* length) { return Length32(TanLEV<uint32_t>::Decode(length)); }
std::string LengthTextBE(const void* length) { return Length32(TanBEV<uint32_t>::Decode(length)); }
std::string ShortLengthText(const void* length) { return std::to_string(TanLEV<uint16_t>::Decode(length)); }
std::string ShortLengthTextBE(const void* length) { return std::to_string(TanBEV<uint16_t>::Decode(length)); }

std::string VRText(uint16_t vr) {
  return std::string{static_cast<char>(vr & 0xFF), static_cast<char>(vr >> 8)};
}

std::string TagNumberText(uint32_t tag) {
  return Pair(static_cast<uint16_t>(tag >> 16), static_cast<uint16_t>(tag), "(%04X,%04X)");
}

}  // namespace ORN_dicom
