// Reading and writing the table form of a LUT: LUT Descriptor, LUT Explanation and LUT Data of
// one item, shared by the modality, VOI and presentation LUT readers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/elements/factory/iDDEFactory.h"
#include "dicom/modules/TanLUTData.h"

namespace ndl_impl {

struct TanLUTTable {
  uint32_t Count = 0;
  int32_t FirstMapped = 0;
  int32_t Bits = 0;
  std::vector<unsigned char> Entries8;
  std::vector<unsigned short> Entries16;
  std::u16string Explanation;
};

// Reads the descriptor (descriptorTag) and the data (dataTag) of an item. The first mapped
// value is signed when the image's Pixel Representation is 1 or the descriptor was written as
// SS. 8-bit entries come one to a 16-bit value, or packed two to a value with entry 2i in the
// low byte. False for a count of 0, a bit depth outside 8 to 16, or data that fits neither
// layout.
bool ReadLUTTable(ORN_dicom::TanDDESet<ORN_dicom::iDDE>& item, uint32_t descriptorTag, uint32_t dataTag,
                  bool pixelSigned, TanLUTTable& table);

// The table as a stored LUT of its width.
std::unique_ptr<iLUT_DATA> MakeTableData(const TanLUTTable& table);

// Writes LUT Descriptor, then LUT Data with Map(x) for every x of the mapped range as 16-bit
// values (signed when first < 0), into an item; no explanation.
bool WriteLUTDescriptorAndData(ORN_dicom::TanDDESet<ORN_dicom::iDDE>& item, ORN_dicom::iDDEFactory* factory,
                               uint32_t descriptorTag, uint32_t dataTag, const ndl::iLUT_GENERAL& lut, int32_t first,
                               int32_t last, int32_t bits);

}  // namespace ndl_impl
