#include "dicom/modules/TanPresentationLUT.h"

#include <stdexcept>

namespace ndl_impl {

TanPresentationTableData::TanPresentationTableData(const TanPresentationTableData& other)
    : TanPresentationLUTDataBasis(other) {
  if (const auto* t8 = dynamic_cast<const TanLUTData8*>(other.FTable.get())) FTable = std::make_unique<TanLUTData8>(*t8);
  else if (const auto* t16 = dynamic_cast<const TanLUTData16*>(other.FTable.get()))
    FTable = std::make_unique<TanLUTData16>(*t16);
}

bool TanPresentationTableData::IsEqual(const ndl::iLUT_GENERAL* other) const {
  const auto* o = dynamic_cast<const TanPresentationTableData*>(other);
  if (o == nullptr || o->FShape != FShape) return false;
  if (!FTable || !o->FTable) return !FTable && !o->FTable;
  return FTable->IsEqual(o->FTable.get());
}

std::unique_ptr<ndl::iPRESENTATION_LUT_BASIS> CopyPresentationData(const ndl::iPRESENTATION_LUT_BASIS* data) {
  if (const auto* t = dynamic_cast<const TanPresentationTableData*>(data))
    return std::make_unique<TanPresentationTableData>(*t);
  if (const auto* s = dynamic_cast<const TanPresentationShapeData*>(data))
    return std::make_unique<TanPresentationShapeData>(*s);
  throw std::runtime_error("PRESENTATION-initialization-error");
}

}  // namespace ndl_impl

namespace ndl {

using Object = ndl_impl::TanPresentationLUTObject<>;

template <class F>
static iDICOM_PRESENTATION_LUT* Make(F f) {
  try {
    return f();
  } catch (...) {
    return nullptr;
  }
}

iDICOM_PRESENTATION_LUT* TanPresentationLUTFactory::CreateDefault() const {
  return Make([] { return new Object(); });
}
iDICOM_PRESENTATION_LUT* TanPresentationLUTFactory::CreateCopy(const iDICOM_PRESENTATION_LUT& other) const {
  return Make([&] { return new Object(other); });
}
iDICOM_PRESENTATION_LUT* TanPresentationLUTFactory::CreateShape(int8_t code) const {
  return Make([&] { return new Object(std::make_unique<ndl_impl::TanPresentationShapeData>(code)); });
}
iDICOM_PRESENTATION_LUT* TanPresentationLUTFactory::CreateTable8(const unsigned char* entries, uint32_t count,
                                                                 int32_t first, const char16_t* explanation) const {
  return Make([&] {
    return new Object(std::make_unique<ndl_impl::TanPresentationTableData>(
        std::make_unique<ndl_impl::TanLUTData8>(entries, count, first, explanation ? explanation : u"")));
  });
}
iDICOM_PRESENTATION_LUT* TanPresentationLUTFactory::CreateTable16(const unsigned short* entries, uint32_t count,
                                                                  int32_t first, const char16_t* explanation) const {
  return Make([&] {
    return new Object(std::make_unique<ndl_impl::TanPresentationTableData>(
        std::make_unique<ndl_impl::TanLUTData16>(entries, count, first, explanation ? explanation : u"")));
  });
}

}  // namespace ndl
