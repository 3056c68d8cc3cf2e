// The VR code that the data-element dictionary gives for a tag: the first two letters of the
// entry's VR text. Private and unknown tags are answered by the dictionary client itself.
// Throws std::runtime_error "DICOM Data Element Registry is uninitialized." while the
// dictionary is not loaded.
#pragma once

#include <cstdint>
#include <string>

namespace ORN_dicom {

uint16_t DictionaryVR(uint16_t group, uint16_t element);

// The entry's name, "RETIRED - " before it when the dictionary marks the entry retired.
std::string DictionaryDescription(uint16_t group, uint16_t element);

}  // namespace ORN_dicom
