// The interface of a data element: header parts (group, element, tag, VR, length) and the
// value interface. Callers navigate through the members, e.g. dde->FHeader->FTag->FGroup->Group().
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "dicom/elements/interface/TanValueInterface.h"

namespace ORN_dicom {

class iGroup {
 public:
  virtual uint16_t Group() const = 0;
  virtual std::string GroupText() const = 0;

 protected:
  ~iGroup() = default;
};

class iElement {
 public:
  virtual uint16_t Element() const = 0;
  virtual std::string ElementText() const = 0;

 protected:
  ~iElement() = default;
};

class iTag : public iGroup, public iElement {
 public:
  virtual uint32_t Tag() const = 0;
  virtual std::string TagText() const = 0;

  iGroup* FGroup = nullptr;
  iElement* FElement = nullptr;

 protected:
  ~iTag() = default;
};

class iVR {
 public:
  virtual uint16_t VR() const = 0;
  virtual std::string VRText() const = 0;

 protected:
  ~iVR() = default;
};

class iVL {
 public:
  virtual uint32_t Length() const = 0;
  virtual std::string LengthText() const = 0;

 protected:
  ~iVL() = default;
};

class iHeader : public iTag, public iVR, public iVL {
 public:
  virtual bool IsHeaderValid() const = 0;
  virtual uint32_t HeaderSize() const = 0;
  uint32_t Length() const override = 0;
  std::string LengthText() const override = 0;
  virtual void Assign(const void* record) = 0;
  virtual ~iHeader() = default;

  iTag* FTag = nullptr;
  iVR* FVR = nullptr;
  iVL* FVL = nullptr;
};

class iDDE : public iHeader, public TanValueInterface {
 public:
  struct ChangeCallback {
    void (*Function)(void* context) = nullptr;
    void* Context = nullptr;
  };

  explicit iDDE(TanValueBasis* value) : TanValueInterface(value) {}

  virtual bool IsValid() const = 0;
  virtual uint32_t Size() const = 0;
  virtual std::string Description() const = 0;
  virtual iDDE* CopyTo(void* address) = 0;
  virtual iDDE* WriteTo(std::ostream& out) = 0;

  iHeader* FHeader = nullptr;
  TanValueInterface* FValueInterface = nullptr;
  ChangeCallback FOnChange;
};

}  // namespace ORN_dicom
