// Raw value bytes. Below 64 KiB they come from the private heap of size class 0; from 64 KiB
// on they live in an unnamed paging-file mapping that stays wholly mapped while the value
// lives, so that a pointer from GetData stays valid until the value is resized or destroyed.
// A freed mapping waits in a short list for the next value of its size (64 KiB steps), so that
// file after file reuses the same few mappings instead of making and unmaking one per value.
// An odd length made even takes the padding byte of the VR; VR "no" is never made even.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "dicom/elements/values/TanValueBasis.h"

namespace ORN_std {
class TanFileMappingView;
}

namespace ORN_dicom {

class TanValueBuffer : public TanValueBasis {
 public:
  static constexpr uint32_t kMappingThreshold = 0x10000;
  static constexpr uint32_t kPiece = 0xA0000;  // large copies move at most this much a step

  // Exactly length bytes copied from data.
  TanValueBuffer(uint16_t vr, const void* data, uint32_t length);
  // size rounded up to even (not for "no"); size bytes copied from initial when given; the
  // rest zero but for the padding byte at the end.
  TanValueBuffer(uint16_t vr, uint32_t size, const void* initial);
  // Exactly length bytes read from the stream.
  TanValueBuffer(uint16_t vr, uint32_t length, std::istream& in);
  TanValueBuffer(const TanValueBuffer& other);
  ~TanValueBuffer() override;

  uint32_t Length() const override { return FLength; }
  uint8_t PaddingByte() const { return FPadding; }

  // Bytes [offset, offset + count), count 0xFFFFFFFF meaning to the end; null when the range
  // is not inside the value.
  unsigned char* GetData(uint32_t offset = 0, uint32_t count = 0xFFFFFFFFu);
  const unsigned char* GetData(uint32_t offset = 0, uint32_t count = 0xFFFFFFFFu) const;

  // New length (rounded up to even unless "no"); discard false keeps min(old, new) bytes.
  // Returns, and keeps as success flag, whether the value now has its new length. A failure
  // keeps the old bytes and length.
  bool Resize(uint32_t length, bool discard);

  void CopyTo(void* destination) const;
  void WriteTo(std::ostream& out) const;

  // All bytes as text, trimmed of bytes up to and including the space at both ends.
  std::string TrimmedText(uint32_t maxBytes = 0xFFFFFFFFu) const;

 protected:
  struct Storage {
    unsigned char* data = nullptr;
    ORN_std::TanFileMappingView* pool = nullptr;
  };
  // Zero-filled bytes with the padding byte last; no data on failure. May throw. A caller that
  // overwrites all length bytes says so and skips the clearing of a reused mapping.
  static Storage Allocate(uint32_t length, uint8_t padding, bool overwritten = false);
  static void Free(Storage& s);
  uint32_t EvenLength(uint32_t size) const;
  void Release();
  bool Fill(const void* data, uint32_t length);  // after a successful allocation

  uint32_t FLength = 0;
  unsigned char* FData = nullptr;
  uint8_t FPadding;
  ORN_std::TanFileMappingView* FPool = nullptr;
};

}  // namespace ORN_dicom
