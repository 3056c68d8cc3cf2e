#include "dicom/elements/TanDDEProperties.h"

namespace orn_dicom_impl {

const char* TanStandardDDEPoperties::VR() const {
  const char* vr = DDEWrapper().GetVR(FGroupIndex, FElementIndex);
  if (vr == nullptr || vr[0] == '\0' || vr[1] == '\0') return "UN";
  return vr;
}

const char* TanStandardDDEPoperties::Name() const {
  const char* name = DDEWrapper().GetName(FGroupIndex, FElementIndex);
  return name != nullptr ? name : "Unknown Data Element";
}

uint16_t TanStandardDDEPoperties::FirstNumber() const {
  return DDEWrapper().GetFirstNumber(FGroupIndex, FElementIndex);
}

uint16_t TanStandardDDEPoperties::SecondNumber() const {
  return DDEWrapper().GetSecondNumber(FGroupIndex, FElementIndex);
}

bool TanStandardDDEPoperties::IsRetired() const {
  return DDEWrapper().IsRetired(FGroupIndex, FElementIndex);
}

}  // namespace orn_dicom_impl
