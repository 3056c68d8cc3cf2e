// Tags as numbers and the text forms of group, element, tag, length and VR. Every function
// takes the address of the field as held (native order, or big-endian bytes for the BE twins).
#pragma once

#include <cstdint>
#include <string>

namespace ORN_dicom {

// group * 65536 + element from two adjacent 16-bit words, group first.
uint32_t MakeTag(const void* pair);
uint32_t MakeTagBigEndian(const void* pair);
constexpr uint32_t GetTagSize() { return 4; }

std::string HexWordText(const void* word);      // 4 upper-case hex digits: 7FE0
std::string HexWordTextBE(const void* word);
std::string TagText(const void* pair);          // 0028,0010
std::string TagTextBE(const void* pair);
std::string LengthText(const void* length);     // "FFFFFFFFh" or unsigned decimal
std::string LengthTextBE(const void* length);
std::string ShortLengthText(const void* length);  // unsigned decimal of a 16-bit length
std::string ShortLengthTextBE(const void* length);
std::string VRText(uint16_t vr);                // the two letters: SQ, no

// Convenience for a tag number: (gggg,eeee).
std::string TagNumberText(uint32_t tag);

}  // namespace ORN_dicom
