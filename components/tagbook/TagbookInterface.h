// The binary interface of Tagbook.dll, shared by the component and its client (as a component
// ships its interface header): slots 0 to 2 are IUnknown's, the rest in table order. Every
// number is a 16-bit unsigned value; the texts stay owned by the component object. Slots 3 to
// 6, 8, 11 and 12 are reserved and answer E_NOTIMPL.
#pragma once

#include <cstdint>

#include "platform/com/Unknown.h"

namespace orn_com_wrapper {

using platform::com::HRESULT;

class IDicomDataElementRegistry : public platform::com::IUnknown {
 public:
  virtual HRESULT Reserved3() = 0;                                             // slot 3
  virtual HRESULT Reserved4() = 0;                                             // slot 4
  virtual HRESULT Reserved5() = 0;                                             // slot 5
  virtual HRESULT Reserved6() = 0;                                             // slot 6
  virtual HRESULT Initialize(const wchar_t* dataFolder) = 0;                   // slot 7
  virtual HRESULT Reserved8() = 0;                                             // slot 8
  virtual HRESULT FindGroup(uint16_t group, uint16_t* groupIndex) = 0;         // slot 9
  virtual HRESULT FindElement(uint16_t groupIndex, uint16_t element,
                              uint16_t* elementIndex) = 0;                     // slot 10
  virtual HRESULT Reserved11() = 0;                                            // slot 11
  virtual HRESULT Reserved12() = 0;                                            // slot 12
  // The smallest and largest value multiplicity (0xFFFF for "n").
  virtual HRESULT GetFirstNumber(uint16_t groupIndex, uint16_t elementIndex, uint16_t* value) = 0;   // 13
  virtual HRESULT GetSecondNumber(uint16_t groupIndex, uint16_t elementIndex, uint16_t* value) = 0;  // 14
  virtual HRESULT IsRetired(uint16_t groupIndex, uint16_t elementIndex, uint16_t* retired) = 0;      // 15
  virtual HRESULT GetVR(uint16_t groupIndex, uint16_t elementIndex, const char** vr) = 0;            // 16
  virtual HRESULT GetName(uint16_t groupIndex, uint16_t elementIndex, const char** name) = 0;        // 17

 protected:
  ~IDicomDataElementRegistry() = default;
};

// {6E2B7A30-5C1D-4F3A-9B8E-0A1C2D3E4F51}: the component's class.
inline constexpr platform::com::CLSID CLSID_DicomDataElementRegistry = {
    0x6E2B7A30, 0x5C1D, 0x4F3A, {0x9B, 0x8E, 0x0A, 0x1C, 0x2D, 0x3E, 0x4F, 0x51}};
// {6E2B7A31-5C1D-4F3A-9B8E-0A1C2D3E4F51}: this interface.
inline constexpr platform::com::IID IID_IDicomDataElementRegistry = {
    0x6E2B7A31, 0x5C1D, 0x4F3A, {0x9B, 0x8E, 0x0A, 0x1C, 0x2D, 0x3E, 0x4F, 0x51}};

}  // namespace orn_com_wrapper
