// Loads the dictionary component as the factory facades do; tests run in the output folder.
#pragma once

#include <stdexcept>

#include "dicom/elements/DDERegistryLoader.h"

namespace ORN_dicom::testing {

inline void LoadDictionary() {
  if (orn_dicom::IsDDERegistryReady()) return;
  if (!orn_dicom::InitializeDDERegistry("Tagbook.dll", orn_dicom::GetStandardDDEPath()))
    throw std::runtime_error(orn_dicom::GetDDERegistryError());
}

}  // namespace ORN_dicom::testing
