// Native pixel data copied into another factory's element classes: bytes stay as they are,
// 16-bit words are turned when the byte orders of source and target differ. Also the joining
// of (length, pointer) fragment pairs into one buffer.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "dicom/elements/element/iDDE.h"
#include "dicom/elements/header/ByteOrder.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/elements/values/TanCVArray.h"

namespace ORN_dicom {

// Swaps the bytes of every 16-bit word in place.
inline void SwapWords(unsigned char* p, uint32_t length) {
  if (p == nullptr) return;
  for (uint32_t i = 0; i + 1 < length; i += 2) std::swap(p[i], p[i + 1]);
}

// Bytes and Words are the target's OB and OW element classes; the target's words are big
// endian when BigEndianTarget.
template <class Bytes, class Words, bool BigEndianTarget>
iDDE* CopyNativePixels(iDDE* source) {
  if (source == nullptr) return nullptr;
  const uint32_t length = source->GetLength();
  const unsigned char* data = length > 0 ? source->GetData() : nullptr;
  if (source->template ValueAs<TanCVArray<unsigned char, TanLEV>>() != nullptr)
    return new Bytes(0x7FE0, 0x0010, vr::OB, data, length);
  const bool little = source->template ValueAs<TanCVArray<uint16_t, TanLEV>>() != nullptr;
  const bool big = source->template ValueAs<TanCVArray<uint16_t, TanBEV>>() != nullptr;
  auto* made = new Words(0x7FE0, 0x0010, vr::OW, data, length);
  if ((little && BigEndianTarget) || (big && !BigEndianTarget)) SwapWords(made->GetData(), made->GetLength());
  return made;
}

// The count (32-bit length, pointer) pairs of a variable-argument list, joined in order.
inline std::vector<unsigned char> JoinFragmentArgs(uint32_t count, va_list& args) {
  std::vector<std::pair<uint32_t, const unsigned char*>> parts;
  uint64_t total = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t length = va_arg(args, uint32_t);
    const auto* p = static_cast<const unsigned char*>(va_arg(args, const void*));
    parts.emplace_back(length, p);
    total += length;
  }
  std::vector<unsigned char> joined;
  joined.reserve(total);
  for (const auto& [length, p] : parts)
    if (p != nullptr && length > 0) joined.insert(joined.end(), p, p + length);
  return joined;
}

}  // namespace ORN_dicom
