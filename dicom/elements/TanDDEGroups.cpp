#include "dicom/elements/TanDDEGroups.h"

namespace orn_dicom_impl {

orn_dicom::iDDE_PROPERTIES& TanStandardDDEGroup::Element(uint16_t element) {
  const int32_t index = DDEWrapper().FindElement(FStandard.GroupIndex(), element);
  if (index == -1) return FUnknown;
  FStandard.SetElementIndex(index);
  return FStandard;
}

}  // namespace orn_dicom_impl
