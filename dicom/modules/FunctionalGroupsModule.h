// Module kind 28: the multi-frame functional groups of an enhanced multi-frame image, read
// from the top level when the Shared Functional Groups Sequence (5200,9229) is there, into one
// element with a functional-group macro per frame. Writing is not supported.
#pragma once

#include <algorithm>

#include "dicom/modules/TanDICOMObjectModuleSet.h"
#include "dicom/modules/TanFunctionalGroupMacro.h"

namespace ndl {

class iDICOM_FUNCTIONAL_GROUPS {
 public:
  iDICOM_FUNCTIONAL_GROUPS(iCONCATINATION& c, iCOLLECTION<iFUNCTIONAL_GROUP_MACRO>& m) : Concatenation(c), Macros(m) {}
  iDICOM_FUNCTIONAL_GROUPS(const iDICOM_FUNCTIONAL_GROUPS&) = delete;
  virtual bool IsEmpty() const = 0;
  virtual int16_t GetNumberOfFrames() const = 0;
  virtual iDICOM_FUNCTIONAL_GROUPS& SetNumberOfFrames(int16_t n) = 0;
  virtual int16_t GetAuxiliaryNumber() const = 0;
  virtual iDICOM_FUNCTIONAL_GROUPS& SetAuxiliaryNumber(int16_t n) = 0;
  virtual int32_t GetInstanceNumber() const = 0;
  virtual iDICOM_FUNCTIONAL_GROUPS& SetInstanceNumber(int32_t n) = 0;
  virtual const char* GetContentDate() const = 0;
  virtual iDICOM_FUNCTIONAL_GROUPS& SetContentDate(const char* text) = 0;
  virtual const char* GetContentTime() const = 0;
  virtual iDICOM_FUNCTIONAL_GROUPS& SetContentTime(const char* text) = 0;
  virtual bool IsEqual(const iDICOM_FUNCTIONAL_GROUPS& other) const = 0;
  virtual iDICOM_FUNCTIONAL_GROUPS& Clear() = 0;
  virtual iDICOM_FUNCTIONAL_GROUPS& Sort() = 0;
  virtual iDICOM_FUNCTIONAL_GROUPS& operator=(const iDICOM_FUNCTIONAL_GROUPS& other) = 0;
  virtual bool Assign(const iDICOM_FUNCTIONAL_GROUPS& other) = 0;
  virtual ~iDICOM_FUNCTIONAL_GROUPS() = default;
  // The name the file set uses for Sort.
  iDICOM_FUNCTIONAL_GROUPS& SortFrames() { return Sort(); }

  iCONCATINATION& Concatenation;
  iCOLLECTION<iFUNCTIONAL_GROUP_MACRO>& Macros;
};

}  // namespace ndl

namespace ndl_impl {

template <class A = std::allocator<void>>
class TanFunctionalGroups : public ndl::iDICOM_FUNCTIONAL_GROUPS {
 public:
  using MacroCollection = TanFunctionalGroupMacroCollection<>;
  TanFunctionalGroups() : iDICOM_FUNCTIONAL_GROUPS(FConcatenation, FMacros) {}
  TanFunctionalGroups(const TanFunctionalGroups& other) : TanFunctionalGroups() { *this = other; }
  TanFunctionalGroups& operator=(const TanFunctionalGroups& other) {
    operator=(static_cast<const ndl::iDICOM_FUNCTIONAL_GROUPS&>(other));
    return *this;
  }

  bool IsEmpty() const override {
    return FMacros.IsEmpty() || FMacros.GetCount() != FNumberOfFrames || FInstanceNumber < 0 ||
           FContentDate.empty() || FContentTime.empty();
  }
  int16_t GetNumberOfFrames() const override { return static_cast<int16_t>(FNumberOfFrames); }
  TanFunctionalGroups& SetNumberOfFrames(int16_t n) override {
    FNumberOfFrames = static_cast<uint16_t>(n);
    return *this;
  }
  int16_t GetAuxiliaryNumber() const override { return FAuxiliaryNumber; }
  TanFunctionalGroups& SetAuxiliaryNumber(int16_t n) override {
    FAuxiliaryNumber = n;
    return *this;
  }
  int32_t GetInstanceNumber() const override { return FInstanceNumber; }
  TanFunctionalGroups& SetInstanceNumber(int32_t n) override {
    FInstanceNumber = n;
    return *this;
  }
  const char* GetContentDate() const override { return FContentDate.c_str(); }
  TanFunctionalGroups& SetContentDate(const char* text) override {
    FContentDate = text ? text : "";
    return *this;
  }
  const char* GetContentTime() const override { return FContentTime.c_str(); }
  TanFunctionalGroups& SetContentTime(const char* text) override {
    FContentTime = text ? text : "";
    return *this;
  }
  bool IsEqual(const ndl::iDICOM_FUNCTIONAL_GROUPS& other) const override {
    const auto& o = dynamic_cast<const TanFunctionalGroups&>(other);
    if (!FConcatenation.IsEqual(o.FConcatenation) || FMacros.GetCount() != o.FMacros.GetCount() ||
        FNumberOfFrames != o.FNumberOfFrames || FAuxiliaryNumber != o.FAuxiliaryNumber ||
        FInstanceNumber != o.FInstanceNumber || FContentDate != o.FContentDate || FContentTime != o.FContentTime)
      return false;
    for (uint32_t k = 0; k < FMacros.GetCount(); ++k)
      if (!FMacros.At(k).IsEqual(o.FMacros.At(k))) return false;
    return true;
  }
  TanFunctionalGroups& Clear() override {
    FNumberOfFrames = 0;
    FAuxiliaryNumber = -1;
    FInstanceNumber = -1;
    FContentDate.clear();
    FContentTime.clear();
    return *this;
  }
  TanFunctionalGroups& Sort() override {
    const uint32_t n = FMacros.GetCount();
    if (n == 0) return *this;
    std::vector<TanFunctionalGroupMacro<>> macros;
    macros.reserve(n);
    for (uint32_t i = 0; i < n; ++i) macros.push_back(static_cast<const TanFunctionalGroupMacro<>&>(FMacros.At(i)));
    std::stable_sort(macros.begin(), macros.end(),
                     [](const auto& a, const auto& b) { return FrameOrderLess(a, b); });
    for (uint32_t i = 0; i < n; ++i) static_cast<TanFunctionalGroupMacro<>&>(FMacros.At(i)) = macros[i];
    return *this;
  }
  TanFunctionalGroups& operator=(const ndl::iDICOM_FUNCTIONAL_GROUPS& other) override {
    if (&other == this) return *this;
    const auto& o = dynamic_cast<const TanFunctionalGroups&>(other);
    FConcatenation = o.Concatenation;
    FMacros = o.FMacros;
    FNumberOfFrames = static_cast<uint16_t>(o.GetNumberOfFrames());
    FAuxiliaryNumber = o.GetAuxiliaryNumber();
    FInstanceNumber = o.GetInstanceNumber();
    FContentDate = o.GetContentDate();
    FContentTime = o.GetContentTime();
    return *this;
  }
  bool Assign(const ndl::iDICOM_FUNCTIONAL_GROUPS& other) override {
    if (other.IsEmpty()) return false;
    operator=(other);
    return !IsEmpty();
  }

 private:
  TanConcatination FConcatenation;
  MacroCollection FMacros;
  uint16_t FNumberOfFrames = 0;
  int16_t FAuxiliaryNumber = -1;
  int32_t FInstanceNumber = -1;
  std::string FContentDate;
  std::string FContentTime;
};

// Frames this reader makes macros for: a Number of Frames above it is refused before anything
// is allocated.
inline constexpr int32_t kMaxFunctionalGroupFrames = 65535;

bool ReadFunctionalGroups(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject& file,
                          std::vector<std::unique_ptr<ndl::iDICOM_FUNCTIONAL_GROUPS>>& vector);

template <>
struct DICOM_OBJECT_MODULE_INTERFACE_STRUCT<28>;

}  // namespace ndl_impl

namespace ndl {

class TanFunctionalGroupsFactory {
 public:
  iDICOM_FUNCTIONAL_GROUPS* CreateDefault() const;
  iDICOM_FUNCTIONAL_GROUPS* CreateCopy(const iDICOM_FUNCTIONAL_GROUPS& other) const;
};

}  // namespace ndl

namespace ndl_impl {

template <>
struct DICOM_OBJECT_MODULE_INTERFACE_STRUCT<28> {
  using Interface = ndl::iDICOM_FUNCTIONAL_GROUPS;
  using Factory = ndl::TanFunctionalGroupsFactory;
  static constexpr const char* FName = "DICOM-MULTI-FRAME-FUNCTIONAL-GROUPS-MODULE";
};

template <class A>
class TanDICOMObjectModule<28, A> : public TanDICOMObjectModuleSetFromIOD<2, 0x52009229u, 28, A> {
 public:
  using typename TanDICOMObjectModuleSetFromIOD<2, 0x52009229u, 28, A>::Vector;
  bool ReadElement(ndl::DataSet& dataSet, ORN_dicom::TanDicomFileObject& file, Vector& vector, uint32_t) override {
    return ReadFunctionalGroups(dataSet, file, vector);
  }
  bool WriteElement(ndl::DataSet&, ORN_dicom::iDDEFactory*, uint16_t, ndl::iDICOM_FUNCTIONAL_GROUPS&) override {
    return false;
  }
};

}  // namespace ndl_impl

namespace ndl {
using TanFunctionalGroupsModule = ndl_impl::TanDICOMObjectModule<28>;
}
