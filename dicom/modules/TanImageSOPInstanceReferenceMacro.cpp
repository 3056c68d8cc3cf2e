#include "dicom/modules/TanImageSOPInstanceReferenceMacro.h"

#include <stdexcept>
#include <typeinfo>

namespace ndl_impl {

TanSOPUIDPair::TanSOPUIDPair(const char* classUID, const char* instanceUID) {
  if (classUID == nullptr || instanceUID == nullptr) throw std::runtime_error("SOP-UID-PAIR-initializetion-error");
  FSOPClassUID = classUID;
  FSOPInstanceUID = instanceUID;
}

bool TanSOPUIDPair::IsEmpty() const { return FSOPClassUID.empty() || FSOPInstanceUID.empty(); }

void TanSOPUIDPair::Clear() {
  FSOPClassUID.clear();
  FSOPInstanceUID.clear();
}

void TanSOPUIDPair::Assign(const ndl::iSOP_UID_PAIR& other) {
  if (&other == static_cast<const ndl::iSOP_UID_PAIR*>(this)) return;
  const auto& pair = dynamic_cast<const TanSOPUIDPair&>(other);
  FSOPClassUID = pair.FSOPClassUID;
  FSOPInstanceUID = pair.FSOPInstanceUID;
}

bool TanSOPUIDPair::IsEqual(const ndl::iSOP_UID_PAIR* other) const {
  if (other == static_cast<const ndl::iSOP_UID_PAIR*>(this)) return true;
  if (other == nullptr) throw std::bad_cast();
  const auto& pair = dynamic_cast<const TanSOPUIDPair&>(*other);
  return FSOPClassUID == pair.FSOPClassUID && FSOPInstanceUID == pair.FSOPInstanceUID;
}

bool TanSOPUIDPair::SetFromPair(const ndl::iSOP_UID_PAIR& other) {
  if (other.IsEmpty()) return false;
  const auto& pair = dynamic_cast<const TanSOPUIDPair&>(other);
  FSOPClassUID = pair.FSOPClassUID;
  FSOPInstanceUID = pair.FSOPInstanceUID;
  return true;
}

bool TanSOPUIDPair::SetUIDs(const char* classUID, const char* instanceUID) {
  try {
    TanSOPUIDPair temporary(classUID, instanceUID);
    if (temporary.IsEmpty()) return false;
    FSOPClassUID = temporary.FSOPClassUID;
    FSOPInstanceUID = temporary.FSOPInstanceUID;
    return true;
  } catch (...) {
    return false;
  }
}

TanImageSOPInstanceReferenceMacro::TanImageSOPInstanceReferenceMacro(const char* classUID, const char* instanceUID,
                                                                     int32_t frame)
    : TanSOPUIDPair(classUID, instanceUID) {
  if (frame < 0) throw std::runtime_error("IMAGE-SOP-INSTANCE-REFERENCE-MACRO-initializetion-error");
  FFrameNumber = frame;
}

bool TanImageSOPInstanceReferenceMacro::SetReference(const char* classUID, const char* instanceUID, int32_t frame) {
  try {
    TanImageSOPInstanceReferenceMacro temporary(classUID, instanceUID, frame);
    if (temporary.IsEmpty()) return false;
    *this = temporary;
    return true;
  } catch (...) {
    return false;
  }
}

bool TanImageSOPInstanceReferenceMacro::IsEmpty() const { return TanSOPUIDPair::IsEmpty() || FFrameNumber == -1; }

void TanImageSOPInstanceReferenceMacro::Clear() {
  TanSOPUIDPair::Clear();
  FFrameNumber = -1;
}

void TanImageSOPInstanceReferenceMacro::Assign(const ndl::iSOP_UID_PAIR& other) {
  if (&other == static_cast<const ndl::iSOP_UID_PAIR*>(this)) return;
  if (other.IsEmpty()) {
    Clear();
    return;
  }
  TanSOPUIDPair::Assign(other);
  const auto* reference = dynamic_cast<const TanImageSOPInstanceReferenceMacro*>(&other);
  FFrameNumber = reference != nullptr ? reference->FFrameNumber : 1;
}

bool TanImageSOPInstanceReferenceMacro::IsEqual(const ndl::iSOP_UID_PAIR* other) const {
  const auto* reference = dynamic_cast<const TanImageSOPInstanceReferenceMacro*>(other);
  if (reference == nullptr) return false;
  if (!TanSOPUIDPair::IsEqual(other)) return false;
  return FFrameNumber == 0 || reference->FFrameNumber == 0 || FFrameNumber == reference->FFrameNumber;
}

bool TanImageSOPInstanceReferenceMacro::SetFromPair(const ndl::iSOP_UID_PAIR& other) {
  const auto* reference = dynamic_cast<const TanImageSOPInstanceReferenceMacro*>(&other);
  if (reference == nullptr) return false;
  *this = *reference;
  return true;
}

bool TanImageSOPInstanceReferenceMacro::SetUIDs(const char* classUID, const char* instanceUID) {
  return SetReference(classUID, instanceUID, 1);
}

}  // namespace ndl_impl
