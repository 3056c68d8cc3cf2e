#include "dicom/modules/LUTTable.h"

#include <algorithm>

#include <memory>

#include "dicom/elements/element/iDDE.h"

namespace ndl_impl {

using ORN_dicom::iDDE;

bool ReadLUTTable(ORN_dicom::TanDDESet<iDDE>& item, uint32_t descriptorTag, uint32_t dataTag, bool pixelSigned,
                  TanLUTTable& table) {
  iDDE* descriptor = item.Find(descriptorTag);
  iDDE* data = item.Find(dataTag);
  if (descriptor == nullptr || data == nullptr) return false;
  uint16_t count = 0, first = 0, bits = 0;
  if (!descriptor->GetUShortAt(count, 0) || !descriptor->GetUShortAt(first, 1) || !descriptor->GetUShortAt(bits, 2))
    return false;
  // Sizes and depths are checked before anything is allocated or shifted by them.
  if (count == 0 || bits < 8 || bits > 16) return false;
  const bool isSigned = pixelSigned || descriptor->VRText() == "SS";
  table.Count = count;
  table.FirstMapped = isSigned ? static_cast<int16_t>(first) : static_cast<int32_t>(first);
  table.Bits = bits;
  if (bits == 8) {
    table.Entries8.assign(count, 0);
    uint16_t v = 0;
    if (data->GetCount() == static_cast<int32_t>(count)) {
      for (uint32_t i = 0; i < count; ++i)
        if (data->GetUShortAt(v, i)) table.Entries8[i] = static_cast<unsigned char>(v & 0xFF);
    } else if (data->GetLength() == ((count + 1u) & ~1u)) {
      // Two entries to a word in the byte order of the data: the first in the low byte; an odd
      // count leaves a pad byte in the last word.
      for (uint32_t i = 0; 2 * i < count; ++i) {
        if (!data->GetUShortAt(v, i)) break;
        table.Entries8[2 * i] = static_cast<unsigned char>(v & 0xFF);
        if (2 * i + 1 < count) table.Entries8[2 * i + 1] = static_cast<unsigned char>(v >> 8);
      }
    } else {
      return false;
    }
  } else {
    table.Entries16.assign(count, 0);
    uint16_t v = 0;
    for (uint32_t i = 0; i < count && data->GetUShortAt(v, i); ++i) table.Entries16[i] = v;
  }
  return true;
}

std::unique_ptr<iLUT_DATA> MakeTableData(const TanLUTTable& table) {
  if (table.Bits == 8)
    return std::make_unique<TanLUTData8>(table.Entries8.data(), table.Count, table.FirstMapped, table.Explanation);
  return std::make_unique<TanLUTData16>(table.Entries16.data(), table.Count, table.FirstMapped, table.Explanation);
}

bool WriteLUTDescriptorAndData(ORN_dicom::TanDDESet<iDDE>& item, ORN_dicom::iDDEFactory* factory,
                               uint32_t descriptorTag, uint32_t dataTag, const ndl::iLUT_GENERAL& lut, int32_t first,
                               int32_t last, int32_t bits) {
  const int32_t count = last - first + 1;
  // 16-bit entries carry tables of 10 to 16 bits: the descriptor names the depth the entries
  // use, so that a 12-bit table does not come back as a 16-bit one whose values look 16 times
  // too small to a reader that scales by it.
  if (bits == 16) {
    int32_t largest = 0;
    for (int32_t x = first; x <= last; ++x) largest = std::max(largest, lut.Map(x) & 0xFFFF);
    while (bits > 10 && largest < (1 << (bits - 1))) --bits;
  }
  std::unique_ptr<iDDE> descriptor(factory->MakeDDEWithVR(
      static_cast<uint16_t>(descriptorTag >> 16), static_cast<uint16_t>(descriptorTag), first < 0 ? "SS" : "US", 3,
      static_cast<int>(static_cast<uint16_t>(count)), static_cast<int>(static_cast<uint16_t>(first)),
      static_cast<int>(static_cast<uint16_t>(bits))));
  if (!descriptor || !item.Insert(descriptor.get())) return false;
  descriptor.release();
  std::unique_ptr<iDDE> data(
      factory->MakeDDEWithVR(static_cast<uint16_t>(dataTag >> 16), static_cast<uint16_t>(dataTag), "OW", 0));
  if (!data) return false;
  for (int32_t x = first; x <= last; ++x) {
    const int32_t v = lut.Map(x);
    if (first < 0) data->AddShort(static_cast<int16_t>(v));
    else data->AddUShort(static_cast<uint16_t>(v));
  }
  if (!item.Insert(data.get())) return false;
  data.release();
  return true;
}

}  // namespace ndl_impl
