// The entries of the dictionary object model: the standard entry answered by the component,
// and the fixed answers for private creator, private and unknown elements.
#pragma once

#include <cstdint>

#include "dicom/elements/DDERegistryInterfaces.h"
#include "dicom/elements/TanStandardDDEFileDBProvider.h"

namespace orn_dicom_impl {

class TanPravitDDEBase : public orn_dicom::iDDE_PROPERTIES {
 public:
  uint16_t FirstNumber() const override { return 0xFFFF; }
  uint16_t SecondNumber() const override { return 0xFFFF; }
  bool IsRetired() const override { return false; }
};

class TanUnknownDDEBase : public TanPravitDDEBase {
 public:
  const char* VR() const override { return "UN"; }
  bool IsUnknown() const override { return true; }
};

class TanUnknownDDEPoperties : public TanUnknownDDEBase {
 public:
  const char* Name() const override { return "Unknown Data Element"; }
};

class TanPrivateDDEPoperties : public TanUnknownDDEBase {
 public:
  const char* Name() const override { return "Private Data Element"; }
};

class TanPrivateCreatorDDEPoperties : public TanPravitDDEBase {
 public:
  const char* VR() const override { return "LO"; }
  const char* Name() const override { return "Private Creator Data Element"; }
  bool IsUnknown() const override { return false; }
};

// An entry the component found; it asks the component on every call.
class TanStandardDDEPoperties : public orn_dicom::iDDE_PROPERTIES, private TanStandardDDEFileDBProvider {
 public:
  // "UN" when the component gives no VR text (or one shorter than two characters), so callers
  // can always read two characters.
  const char* VR() const override;
  // "Unknown Data Element" when the component gives no name.
  const char* Name() const override;
  uint16_t FirstNumber() const override;
  uint16_t SecondNumber() const override;
  bool IsRetired() const override;
  bool IsUnknown() const override { return false; }

  void SetGroupIndex(int32_t index) { FGroupIndex = index; }
  void SetElementIndex(int32_t index) { FElementIndex = index; }
  int32_t GroupIndex() const { return FGroupIndex; }

 private:
  int32_t FGroupIndex = -1;
  int32_t FElementIndex = -1;
};

}  // namespace orn_dicom_impl
