// Module kind 20: the series, images and frames a presentation state applies to, one element
// per item of the Referenced Series Sequence (0008,1115). An element whose references are
// empty applies to the whole series.
#pragma once

#include <string>

#include "dicom/modules/TanDICOMObjectModuleSet.h"

namespace ndl {

class iPRESENTATION_STATE_RELATIONSHIP {
 public:
  virtual bool IsEmpty() const = 0;
  virtual const char* GetSeriesInstanceUID() const = 0;  // null when empty
  virtual iPRESENTATION_STATE_RELATIONSHIP& Clear() = 0;
  virtual iPRESENTATION_STATE_RELATIONSHIP& operator=(const iPRESENTATION_STATE_RELATIONSHIP& other) = 0;
  virtual bool Assign(const iPRESENTATION_STATE_RELATIONSHIP& other) = 0;
  virtual bool Initialize(const char* seriesInstanceUID) = 0;
  virtual ~iPRESENTATION_STATE_RELATIONSHIP() = default;

  iCOLLECTION<iIMAGE_SOP_INSTANCE_REFERENCE_MACRO>* FReferences = nullptr;
};

}  // namespace ndl

namespace ndl_impl {

template <class A = std::allocator<void>>
class TanPresentationStateRelationship : public ndl::iPRESENTATION_STATE_RELATIONSHIP {
 public:
  TanPresentationStateRelationship() { FReferences = &FReferenceSet; }
  // Throws std::runtime_error "PRESENTATION-STATE-RELATIONSHIP-initializetion-error" for an
  // empty UID.
  explicit TanPresentationStateRelationship(const std::string& uid) : TanPresentationStateRelationship() {
    if (uid.empty()) throw std::runtime_error("PRESENTATION-STATE-RELATIONSHIP-initializetion-error");
    FSeriesInstanceUID = uid;
  }
  TanPresentationStateRelationship(const TanPresentationStateRelationship& other)
      : TanPresentationStateRelationship() {
    FReferenceSet = other.FReferenceSet;
    FSeriesInstanceUID = other.FSeriesInstanceUID;
  }
  TanPresentationStateRelationship& operator=(const TanPresentationStateRelationship& other) {
    operator=(static_cast<const ndl::iPRESENTATION_STATE_RELATIONSHIP&>(other));
    return *this;
  }

  bool IsEmpty() const override { return FSeriesInstanceUID.empty(); }
  const char* GetSeriesInstanceUID() const override {
    return FSeriesInstanceUID.empty() ? nullptr : FSeriesInstanceUID.c_str();
  }
  TanPresentationStateRelationship& Clear() override {
    FSeriesInstanceUID.clear();
    FReferenceSet.Clear();
    return *this;
  }
  TanPresentationStateRelationship& operator=(const ndl::iPRESENTATION_STATE_RELATIONSHIP& other) override {
    if (&other == this) return *this;
    const auto& o = dynamic_cast<const TanPresentationStateRelationship&>(other);
    FReferenceSet = o.FReferenceSet;
    FSeriesInstanceUID = o.FSeriesInstanceUID;
    return *this;
  }
  bool Assign(const ndl::iPRESENTATION_STATE_RELATIONSHIP& other) override {
    try {
      TanPresentationStateRelationship copy(dynamic_cast<const TanPresentationStateRelationship&>(other));
      if (copy.IsEmpty()) return false;
      *this = copy;
      return true;
    } catch (...) {
      return false;
    }
  }
  bool Initialize(const char* uid) override {
    try {
      TanPresentationStateRelationship temporary(uid != nullptr ? uid : "");
      *this = temporary;
      return true;
    } catch (...) {
      return false;
    }
  }

 private:
  TanImageSOPInstanceReferenceMacroSet<> FReferenceSet;
  std::string FSeriesInstanceUID;
};

}  // namespace ndl_impl

namespace ndl {

class TanPresentationStateRelationshipFactory {
 public:
  iPRESENTATION_STATE_RELATIONSHIP* CreateDefault() const;
  iPRESENTATION_STATE_RELATIONSHIP* Create(const char* seriesInstanceUID) const;
  iPRESENTATION_STATE_RELATIONSHIP* CreateCopy(const iPRESENTATION_STATE_RELATIONSHIP& other) const;
};

}  // namespace ndl

namespace ndl_impl {

template <>
struct DICOM_OBJECT_MODULE_INTERFACE_STRUCT<20> {
  using Interface = ndl::iPRESENTATION_STATE_RELATIONSHIP;
  using Factory = ndl::TanPresentationStateRelationshipFactory;
  static constexpr const char* FName = "DICOM-PRESENTATION-STATE-RELATIONSHIP-MODULE";
};

using RelationshipVector = std::vector<std::unique_ptr<ndl::iPRESENTATION_STATE_RELATIONSHIP>>;
bool ReadRelationship(ndl::DataSet& item, RelationshipVector& vector);
bool WriteRelationship(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory,
                       const ndl::iPRESENTATION_STATE_RELATIONSHIP& element);

template <class A>
class TanDICOMObjectModule<20, A> : public TanDICOMObjectModuleSetFromSQ<0x00081115u, 20, A> {
 public:
  using typename TanDICOMObjectModuleSetFromSQ<0x00081115u, 20, A>::Vector;
  bool ReadElement(ndl::DataSet& item, Vector& vector) override { return ReadRelationship(item, vector); }
  bool WriteElement(ndl::DataSet& item, ORN_dicom::iDDEFactory* factory,
                    ndl::iPRESENTATION_STATE_RELATIONSHIP& element) override {
    return WriteRelationship(item, factory, element);
  }
};

}  // namespace ndl_impl

namespace ndl {
using TanPresentationStateRelationshipModule = ndl_impl::TanDICOMObjectModule<20>;
}
