// The dictionary's object model as its callers see it: a registry gives a group, a group gives
// an entry, an entry answers VR, name, numbers and retired state. The objects live on the
// caller's stack for one lookup; none is deleted through these interfaces.
#pragma once

#include <cstdint>

namespace orn_dicom_impl {

template <class G>
class iDDE_REGISTRY {
 public:
  virtual G& Group(uint16_t group) = 0;  // slot 0

 protected:
  ~iDDE_REGISTRY() = default;
};

template <class P>
class iDDE_GROUP {
 public:
  virtual bool IsPrivate() const = 0;                // slot 0
  virtual bool IsUnknown() const = 0;                // slot 1
  virtual P& Element(uint16_t element) = 0;  // slot 2

 protected:
  ~iDDE_GROUP() = default;
};

class iDDE_PROPERTIES {
 public:
  // Always a valid zero-terminated text of at least two characters.
  virtual const char* VR() const = 0;        // slot 0
  // Always a valid zero-terminated text.
  virtual const char* Name() const = 0;      // slot 1
  virtual uint16_t FirstNumber() const = 0;  // slot 2
  virtual uint16_t SecondNumber() const = 0; // slot 3
  virtual bool IsRetired() const = 0;        // slot 4
  virtual bool IsUnknown() const = 0;        // slot 5

 protected:
  ~iDDE_PROPERTIES() = default;
};

}  // namespace orn_dicom_impl

namespace orn_dicom {

class iDDE_PROPERTIES : public orn_dicom_impl::iDDE_PROPERTIES {
 protected:
  ~iDDE_PROPERTIES() = default;
};

class iDDE_GROUP : public orn_dicom_impl::iDDE_GROUP<iDDE_PROPERTIES> {
 protected:
  ~iDDE_GROUP() = default;
};

class iDDE_REGESTRY : public orn_dicom_impl::iDDE_REGISTRY<iDDE_GROUP> {
 protected:
  ~iDDE_REGESTRY() = default;
};

}  // namespace orn_dicom
