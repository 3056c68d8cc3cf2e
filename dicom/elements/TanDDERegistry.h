// One dictionary lookup: made on the caller's stack, asked for a group, then for an element of
// that group, then let go. Odd (private) groups are answered without the component. Making one
// while the dictionary component is not loaded throws std::runtime_error
// "DICOM Data Element Registry is uninitialized.".
#pragma once

#include <cstdint>

#include "dicom/elements/DDERegistryInterfaces.h"
#include "dicom/elements/TanDDEGroups.h"
#include "dicom/elements/TanStandardDDEFileDBProvider.h"

namespace orn_dicom_impl {

class TanDDERegistry : public orn_dicom::iDDE_REGESTRY, private TanStandardDDEFileDBProvider {
 public:
  TanDDERegistry();
  ~TanDDERegistry();
  TanDDERegistry(const TanDDERegistry&) = delete;
  TanDDERegistry& operator=(const TanDDERegistry&) = delete;

  orn_dicom::iDDE_GROUP& Group(uint16_t group) override;

 private:
  TanStandardDDEGroup FStandard;
  TanUnknownDDEGroup FUnknown;
  TanPrivateDDEGroup FPrivate;
};

}  // namespace orn_dicom_impl
