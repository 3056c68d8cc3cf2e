// VR codes: the two letters of a VR as one 16-bit number, the first letter in the low byte, so
// that the bytes in memory read as the letters in order.
#pragma once

#include <cstdint>

namespace ORN_dicom {

constexpr uint16_t VRCode(char first, char second) {
  return static_cast<uint16_t>(static_cast<unsigned char>(first) | (static_cast<unsigned char>(second) << 8));
}
constexpr uint16_t VRCode(const char* letters) { return VRCode(letters[0], letters[1]); }

namespace vr {
constexpr uint16_t AE = VRCode('A', 'E'), AS = VRCode('A', 'S'), AT = VRCode('A', 'T'),
                   CS = VRCode('C', 'S'), DA = VRCode('D', 'A'), DS = VRCode('D', 'S'),
                   DT = VRCode('D', 'T'), FD = VRCode('F', 'D'), FL = VRCode('F', 'L'),
                   IS = VRCode('I', 'S'), LO = VRCode('L', 'O'), LT = VRCode('L', 'T'),
                   OB = VRCode('O', 'B'), OF = VRCode('O', 'F'), OW = VRCode('O', 'W'),
                   PN = VRCode('P', 'N'), SH = VRCode('S', 'H'), SL = VRCode('S', 'L'),
                   SQ = VRCode('S', 'Q'), SS = VRCode('S', 'S'), ST = VRCode('S', 'T'),
                   TM = VRCode('T', 'M'), UC = VRCode('U', 'C'), UI = VRCode('U', 'I'),
                   UL = VRCode('U', 'L'), UN = VRCode('U', 'N'), UR = VRCode('U', 'R'),
                   US = VRCode('U', 'S'), UT = VRCode('U', 'T');
// Internal codes, never read from a file: "no" for items and delimiters and for bytes that are
// never padded, "NO" for a pixel-data fragment padded to even length with NUL.
constexpr uint16_t no = VRCode('n', 'o');
constexpr uint16_t NO = VRCode('N', 'O');
}  // namespace vr

// The byte that rounds an odd length up to even: a space for the text VRs, NUL otherwise.
constexpr uint8_t PaddingByte(uint16_t code) {
  switch (code) {
    case vr::AE: case vr::AS: case vr::CS: case vr::DA: case vr::DS: case vr::DT:
    case vr::IS: case vr::LO: case vr::LT: case vr::PN: case vr::SH: case vr::ST:
    case vr::TM: case vr::UC: case vr::UR: case vr::UT:
      return 0x20;
    default:
      return 0x00;
  }
}

constexpr uint32_t kUndefinedLength = 0xFFFFFFFFu;

}  // namespace ORN_dicom
