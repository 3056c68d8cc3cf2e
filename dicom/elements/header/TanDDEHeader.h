// The header of a data element in one of its three on-disk forms, in either byte order:
//   Long = 0, L = uint32_t: implicit VR     group, element, 32-bit length           (8 bytes)
//   Long = 0, L = uint16_t: explicit short  group, element, VR, 16-bit length       (8 bytes)
//   Long = 1, L = uint32_t: explicit long   group, element, VR, 2 reserved, length  (12 bytes)
// The implicit form keeps a VR in memory, taken from the dictionary when read.
#pragma once

#include <cstdint>
#include <cstring>
#include <istream>
#include <ostream>

#include "dicom/elements/header/DictionaryVR.h"
#include "dicom/elements/header/Fields.h"
#include "dicom/elements/header/TagText.h"
#include "dicom/elements/header/VRCodes.h"

namespace ORN_dicom {

template <int Long, class L, template <class> class E>
class TanDDEHeader {
  static_assert(std::is_same_v<L, uint32_t> || (std::is_same_v<L, uint16_t> && Long == 0));

 public:
  static constexpr bool kImplicit = Long == 0 && sizeof(L) == 4;
  static constexpr bool kShortLength = sizeof(L) == 2;
  static constexpr bool kBigEndian = IsBigEndian<E>;
  static constexpr uint32_t kSize = Long ? 12 : 8;
  static constexpr uint32_t kMaxLength = kShortLength ? 0xFFFFu : 0xFFFFFFFFu;

  // From bytes in the on-disk layout of the form; always valid. The record must hold kSize
  // bytes.
  explicit TanDDEHeader(const void* record) {
    const auto* p = static_cast<const unsigned char*>(record);
    FTag.Assign(p);
    if constexpr (kImplicit) {
      std::memcpy(FVL.Bytes(), p + 4, 4);
      // A private element of undefined length is a sequence; no need to ask the dictionary.
      if (!kBigEndian && (Group() & 1) != 0 && Length() == kUndefinedLength)
        FVR.Put(vr::SQ);
      else
        FVR.Put(DictionaryVR(Group(), Element()));
    } else {
      std::memcpy(FVR.Bytes(), p + 4, 2);
      std::memcpy(FVL.Bytes(), p + (Long ? 8 : 6), sizeof(L));
    }
    FValid = true;
  }

  // From a stream positioned at the header. Valid when the stream neither failed nor went
  // bad; fields after the point of failure hold 0.
  explicit TanDDEHeader(std::istream& in) {
    ReadField(in, FTag.FGroup.Bytes(), 2);
    ReadField(in, FTag.FElement.Bytes(), 2);
    if constexpr (kImplicit) {
      FVR.Put(DictionaryVR(Group(), Element()));
      ReadField(in, FVL.Bytes(), 4);
    } else {
      ReadField(in, FVR.Bytes(), 2);
      if constexpr (Long != 0) in.seekg(2, std::ios::cur);
      ReadField(in, FVL.Bytes(), sizeof(L));
    }
    FValid = !in.fail();
    if constexpr (kImplicit && !kBigEndian) {
      if (FValid && (Group() & 1) != 0 && Length() == kUndefinedLength) FVR.Put(vr::SQ);
    }
  }

  // From values. A length that the field cannot hold leaves the header invalid with length 0:
  // a 16-bit field never keeps the low bits of a longer length.
  TanDDEHeader(uint16_t group, uint16_t element, uint16_t vrCode, uint32_t length) {
    FTag.FGroup.Put(group);
    FTag.FElement.Put(element);
    FVR.Put(vrCode);
    FValid = SetLength(length);
  }

  ~TanDDEHeader() = default;

  const TanDDEHeader& CopyTo(void* address) const {
    auto* p = static_cast<unsigned char*>(address);
    FTag.CopyTo(p);
    if constexpr (kImplicit) {
      std::memcpy(p + 4, FVL.Bytes(), 4);
    } else {
      std::memcpy(p + 4, FVR.Bytes(), 2);
      if constexpr (Long != 0) {
        p[6] = p[7] = 0;
        std::memcpy(p + 8, FVL.Bytes(), 4);
      } else {
        std::memcpy(p + 6, FVL.Bytes(), 2);
      }
    }
    return *this;
  }

  const TanDDEHeader& WriteTo(std::ostream& out) const {
    unsigned char bytes[kSize];
    CopyTo(bytes);
    out.write(reinterpret_cast<const char*>(bytes), kSize);
    return *this;
  }

  // Re-takes group, element, the VR (explicit forms) and the length from a record of the own
  // form; the valid flag and the VR of the implicit form stay.
  TanDDEHeader& Assign(const void* record) {
    const auto* p = static_cast<const unsigned char*>(record);
    FTag.Assign(p);
    if constexpr (kImplicit) {
      std::memcpy(FVL.Bytes(), p + 4, 4);
    } else {
      std::memcpy(FVR.Bytes(), p + 4, 2);
      std::memcpy(FVL.Bytes(), p + (Long ? 8 : 6), sizeof(L));
    }
    return *this;
  }

  bool IsValid() const { return FValid; }
  uint16_t Group() const { return FTag.FGroup.Get(); }
  uint16_t Element() const { return FTag.FElement.Get(); }
  uint16_t VR() const { return FVR.Get(); }
  uint32_t Length() const { return FVL.Get(); }
  uint32_t Tag() const { return (uint32_t{Group()} << 16) | Element(); }

  // Stores n in the field's width and byte order; false, with the field unchanged, when the
  // field cannot hold n.
  bool SetLength(uint32_t n) {
    if (n > kMaxLength) return false;
    FVL.Put(static_cast<L>(n));
    return true;
  }
  void Invalidate() { FValid = false; }

  std::string GroupText() const { return kBigEndian ? HexWordTextBE(FTag.FGroup.Bytes()) : HexWordText(FTag.FGroup.Bytes()); }
  std::string ElementText() const { return kBigEndian ? HexWordTextBE(FTag.FElement.Bytes()) : HexWordText(FTag.FElement.Bytes()); }
  std::string TagText() const {
    unsigned char pair[4];
    FTag.CopyTo(pair);
    return kBigEndian ? TagTextBE(pair) : ORN_dicom::TagText(pair);
  }
  std::string LengthText() const {
    if constexpr (kShortLength) return kBigEndian ? ShortLengthTextBE(FVL.Bytes()) : ShortLengthText(FVL.Bytes());
    else return kBigEndian ? LengthTextBE(FVL.Bytes()) : ORN_dicom::LengthText(FVL.Bytes());
  }

  bool FValid = false;
  TanTag<E> FTag;
  TanVR FVR;
  TanVL<L, E> FVL;

 private:
  static void ReadField(std::istream& in, unsigned char* field, std::streamsize n) {
    std::memset(field, 0, static_cast<std::size_t>(n));
    in.read(reinterpret_cast<char*>(field), n);
    if (in.gcount() != n) std::memset(field, 0, static_cast<std::size_t>(n));
  }
};

// The six header types.
using ImplicitLE = TanDDEHeader<0, uint32_t, TanLEV>;
using ShortLE = TanDDEHeader<0, uint16_t, TanLEV>;
using LongLE = TanDDEHeader<1, uint32_t, TanLEV>;
using ImplicitBE = TanDDEHeader<0, uint32_t, TanBEV>;
using ShortBE = TanDDEHeader<0, uint16_t, TanBEV>;
using LongBE = TanDDEHeader<1, uint32_t, TanBEV>;

}  // namespace ORN_dicom
