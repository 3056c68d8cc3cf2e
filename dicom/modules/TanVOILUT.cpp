#include "dicom/modules/TanVOILUT.h"

#include <cmath>

namespace ndl_impl {

int32_t TanVOILinearData::Map(int32_t x) const {
  if (FWidth == 0.0) return x;
  const long double low = GetFirstMapped(), high = GetLastMapped();
  if (x < low) return static_cast<int32_t>(low);
  if (x > high) return static_cast<int32_t>(high);
  return x;
}

TanVOISigmoidData::TanVOISigmoidData(int32_t bits, double center, double width, const char16_t* explanation)
    : TanVOILUTLinearDataBasis(center, width, explanation),
      // Bits beyond 0..63 would overflow the shift; they are held to that range.
      FOutputMax(static_cast<double>(static_cast<int64_t>((uint64_t{1} << (bits < 0 ? 0 : bits > 63 ? 63 : bits)) - 1))) {}

int32_t TanVOISigmoidData::Map(int32_t x) const {
  if (FWidth == 0.0) return x;
  const long double y = FOutputMax / (std::exp((static_cast<long double>(x) - FCenter) * -4.0L / FWidth) + 1.0L);
  return static_cast<int32_t>(static_cast<int64_t>(y));
}

TanVOITableData::TanVOITableData(const TanVOITableData& other) : ndl::iVOI_LUT_BASIS(other) {
  if (const auto* t8 = dynamic_cast<const TanLUTData8*>(other.FTable.get())) FTable = std::make_unique<TanLUTData8>(*t8);
  else if (const auto* t16 = dynamic_cast<const TanLUTData16*>(other.FTable.get()))
    FTable = std::make_unique<TanLUTData16>(*t16);
}

bool TanVOITableData::IsEqual(const ndl::iLUT_GENERAL* other) const {
  const auto* o = dynamic_cast<const TanVOITableData*>(other);
  if (o == nullptr) return false;
  if (!FTable || !o->FTable) return !FTable && !o->FTable;
  return FTable->IsEqual(o->FTable.get());
}

std::unique_ptr<ndl::iVOI_LUT_BASIS> CopyVOIData(const ndl::iVOI_LUT_BASIS* data) {
  if (const auto* t = dynamic_cast<const TanVOITableData*>(data)) return std::make_unique<TanVOITableData>(*t);
  if (const auto* l = dynamic_cast<const TanVOILinearData*>(data)) return std::make_unique<TanVOILinearData>(*l);
  if (const auto* s = dynamic_cast<const TanVOISigmoidData*>(data)) return std::make_unique<TanVOISigmoidData>(*s);
  return nullptr;
}

}  // namespace ndl_impl

namespace ndl {

using Object = ndl_impl::TanVOIObject<>;

template <class F>
static iDICOM_VOI_LUT* Make(F f) {
  try {
    return f();
  } catch (...) {
    return nullptr;
  }
}

iDICOM_VOI_LUT* TanVOILUTFactory::CreateDefault() const {
  return Make([] { return new Object(); });
}

iDICOM_VOI_LUT* TanVOILUTFactory::CreateCopy(const iDICOM_VOI_LUT& other) const {
  return Make([&] { return new Object(dynamic_cast<const Object&>(other)); });
}

iDICOM_VOI_LUT* TanVOILUTFactory::CreateLinear(double center, double width, const char16_t* explanation) const {
  return Make([&] { return new Object(std::make_unique<ndl_impl::TanVOILinearData>(center, width, explanation)); });
}

iDICOM_VOI_LUT* TanVOILUTFactory::CreateSigmoid(int32_t bits, double center, double width,
                                                const char16_t* explanation) const {
  return Make(
      [&] { return new Object(std::make_unique<ndl_impl::TanVOISigmoidData>(bits, center, width, explanation)); });
}

iDICOM_VOI_LUT* TanVOILUTFactory::CreateTable8(const unsigned char* entries, int32_t count, int32_t first,
                                               const char16_t* explanation) const {
  return Make([&] {
    return new Object(std::make_unique<ndl_impl::TanVOITableData>(std::make_unique<ndl_impl::TanLUTData8>(
        entries, static_cast<uint32_t>(count), first, explanation ? explanation : u"")));
  });
}

iDICOM_VOI_LUT* TanVOILUTFactory::CreateTable16(const unsigned short* entries, int32_t count, int32_t first,
                                                const char16_t* explanation) const {
  return Make([&] {
    return new Object(std::make_unique<ndl_impl::TanVOITableData>(std::make_unique<ndl_impl::TanLUTData16>(
        entries, static_cast<uint32_t>(count), first, explanation ? explanation : u"")));
  });
}

}  // namespace ndl
