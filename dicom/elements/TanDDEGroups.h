// The groups of the dictionary object model: the standard group answered by the component,
// the unknown group and the private (odd) group answered here.
#pragma once

#include <cstdint>

#include "dicom/elements/DDERegistryInterfaces.h"
#include "dicom/elements/TanDDEProperties.h"
#include "dicom/elements/TanStandardDDEFileDBProvider.h"

namespace orn_dicom_impl {

class TanUnknownDDEGroup : public orn_dicom::iDDE_GROUP {
 public:
  bool IsPrivate() const override { return false; }
  bool IsUnknown() const override { return true; }
  orn_dicom::iDDE_PROPERTIES& Element(uint16_t) override { return FUnknown; }

 protected:
  TanUnknownDDEPoperties FUnknown;
};

class TanStandardDDEGroup : public TanUnknownDDEGroup, private TanStandardDDEFileDBProvider {
 public:
  bool IsUnknown() const override { return false; }
  // The component's entry of the element in the group found last, or the unknown entry.
  orn_dicom::iDDE_PROPERTIES& Element(uint16_t element) override;

  void SetGroupIndex(int32_t index) { FStandard.SetGroupIndex(index); }

 private:
  TanStandardDDEPoperties FStandard;
};

class TanPrivateDDEGroup : public orn_dicom::iDDE_GROUP {
 public:
  bool IsPrivate() const override { return true; }
  bool IsUnknown() const override { return false; }
  // Elements 0x0010 to 0x00FF reserve blocks: private creators; the rest are private data.
  orn_dicom::iDDE_PROPERTIES& Element(uint16_t element) override {
    if (element >= 0x0010 && element <= 0x00FF) return FCreator;
    return FPrivate;
  }

 private:
  TanPrivateCreatorDDEPoperties FCreator;
  TanPrivateDDEPoperties FPrivate;
};

}  // namespace orn_dicom_impl
