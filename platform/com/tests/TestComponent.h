// The interface of the small components the COM tests load.
#pragma once

#include "platform/com/Unknown.h"

namespace platform::com::testing {

class ITestAdder : public IUnknown {
 public:
  virtual HRESULT Add(int32_t a, int32_t b, int32_t* sum) = 0;  // slot 3
  virtual HRESULT LiveObjects(int32_t* count) = 0;              // slot 4

 protected:
  ~ITestAdder() = default;
};

inline constexpr CLSID CLSID_TestAdder = {0x5a1c0e01, 0x2b3d, 0x4e5f, {0x80, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x01}};
inline constexpr IID IID_ITestAdder = {0x5a1c0e02, 0x2b3d, 0x4e5f, {0x80, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x02}};

}  // namespace platform::com::testing
