#include "dicom/modules/TanModalityLUT.h"

namespace ndl_impl {

uint8_t RescaleTypeCode(const std::string& text) {
  if (text == "OD") return 1;
  if (text == "HU") return 2;
  if (text == "US") return 3;
  return 0;
}

const char* RescaleTypeText(uint8_t code) {
  switch (code) {
    case 1: return "OD";
    case 2: return "HU";
    case 3: return "US";
    default: return "";
  }
}

int32_t TanModalityRescaleData::Map(int32_t x) const {
  const long double y = static_cast<long double>(x) * FSlope + FIntercept;
  return static_cast<int32_t>(static_cast<int64_t>(y));
}

bool TanModalityRescaleData::IsEqual(const ndl::iLUT_GENERAL* other) const {
  const auto* o = dynamic_cast<const TanModalityRescaleData*>(other);
  return o != nullptr && FSlope == o->FSlope && FIntercept == o->FIntercept;
}

TanModalityTableData::TanModalityTableData(const TanModalityTableData& other) : TanModalityLUTDataBasis(other) {
  if (const auto* t8 = dynamic_cast<const TanLUTData8*>(other.FTable.get())) FTable = std::make_unique<TanLUTData8>(*t8);
  else if (const auto* t16 = dynamic_cast<const TanLUTData16*>(other.FTable.get()))
    FTable = std::make_unique<TanLUTData16>(*t16);
}

bool TanModalityTableData::IsEqual(const ndl::iLUT_GENERAL* other) const {
  const auto* o = dynamic_cast<const TanModalityTableData*>(other);
  if (o == nullptr) return false;
  if (!FTable || !o->FTable) return !FTable && !o->FTable;
  return FTable->IsEqual(o->FTable.get());
}

}  // namespace ndl_impl

namespace ndl {

using Object = ndl_impl::TanModalityObject<>;

iDICOM_MODALITY_LUT* TanModalityLUTFactory::CreateDefault() const {
  try {
    return new Object();
  } catch (...) {
    return nullptr;
  }
}

iDICOM_MODALITY_LUT* TanModalityLUTFactory::CreateCopy(const iDICOM_MODALITY_LUT& other) const {
  try {
    return new Object(dynamic_cast<const Object&>(other));
  } catch (...) {
    return nullptr;
  }
}

iDICOM_MODALITY_LUT* TanModalityLUTFactory::CreateRescale(uint8_t type, double slope, double intercept) const {
  try {
    return new Object(std::make_unique<ndl_impl::TanModalityRescaleData>(type, slope, intercept));
  } catch (...) {
    return nullptr;
  }
}

iDICOM_MODALITY_LUT* TanModalityLUTFactory::CreateTable8(uint8_t type, const unsigned char* entries, uint32_t count,
                                                         int32_t first, const char16_t* explanation) const {
  try {
    return new Object(std::make_unique<ndl_impl::TanModalityTableData>(
        type, std::make_unique<ndl_impl::TanLUTData8>(entries, count, first, explanation ? explanation : u"")));
  } catch (...) {
    return nullptr;
  }
}

iDICOM_MODALITY_LUT* TanModalityLUTFactory::CreateTable16(uint8_t type, const unsigned short* entries, uint32_t count,
                                                          int32_t first, const char16_t* explanation) const {
  try {
    return new Object(std::make_unique<ndl_impl::TanModalityTableData>(
        type, std::make_unique<ndl_impl::TanLUTData16>(entries, count, first, explanation ? explanation : u"")));
  } catch (...) {
    return nullptr;
  }
}

}  // namespace ndl
