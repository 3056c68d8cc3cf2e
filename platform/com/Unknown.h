// The binary shape of COM interfaces: abstract classes whose virtual functions are the slots of
// the interface's table in declaration order. No virtual destructor, which would take slots of
// its own; objects are freed by their own Release.
#pragma once

#include <cstdint>

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

namespace platform::com {

class IUnknown {
 public:
  virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;  // slot 0
  virtual uint32_t AddRef() = 0;                                      // slot 1
  virtual uint32_t Release() = 0;                                     // slot 2

 protected:
  ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
 public:
  virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;  // slot 3
  virtual HRESULT LockServer(int32_t lock) = 0;                                        // slot 4

 protected:
  ~IClassFactory() = default;
};

// The class-object entry point a component exports as "DllGetClassObject".
using DllGetClassObjectFunction = HRESULT (*)(const CLSID& clsid, const IID& iid, void** object);
inline constexpr const char* kDllGetClassObjectName = "DllGetClassObject";

}  // namespace platform::com
