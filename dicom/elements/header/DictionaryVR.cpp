#include "dicom/elements/header/DictionaryVR.h"

#include "dicom/elements/TanDDERegistry.h"
#include "dicom/elements/header/VRCodes.h"

namespace ORN_dicom {

uint16_t DictionaryVR(uint16_t group, uint16_t element) {
  orn_dicom_impl::TanDDERegistry registry;
  const char* text = registry.Group(group).Element(element).VR();
  return VRCode(text[0], text[1]);
}

std::string DictionaryDescription(uint16_t group, uint16_t element) {
  orn_dicom_impl::TanDDERegistry registry;
  orn_dicom::iDDE_PROPERTIES& entry = registry.Group(group).Element(element);
  std::string name = entry.Name();
  return entry.IsRetired() ? "RETIRED - " + name : name;
}

}  // namespace ORN_dicom
