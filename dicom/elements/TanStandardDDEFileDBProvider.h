// The way from the registry, the standard group and the standard entry to the one loaded
// dictionary component of the process.
#pragma once

#include "dicom/elements/TanDICOMDataElementRegestryCOMWrapper.h"

namespace orn_dicom_impl {

class TanStandardDDEFileDBProvider {
 protected:
  // The process-wide wrapper; valid while a registry object lives (the load state is then 2).
  static orn_com_wrapper::TanDICOMDataElementRegestryCOMWrapper& DDEWrapper();
};

}  // namespace orn_dicom_impl
