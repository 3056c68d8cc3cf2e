// The class object of a component that serves one creatable class, and the body of its
// exported DllGetClassObject. Every component and test component uses these, so each of them
// only declares its object and its class id.
#pragma once

#include <cstdint>
#include <new>

#include "platform/com/ComObject.h"
#include "platform/com/Unknown.h"

namespace platform::com {

// Makes an Object and hands out the asked interface of it. Primary is the interface through
// which the object's IUnknown is reached (its first base when it implements several).
template <class Object, class Primary = Object>
class ClassFactory final : public ComObject<IClassFactory> {
 public:
  ClassFactory() : ComObject(IID_IClassFactory) {}

  HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override {
    if (object == nullptr) return hr::Pointer;
    *object = nullptr;
    if (outer != nullptr) return hr::NoAggregation;
    Primary* created = new (std::nothrow) Object();
    if (created == nullptr) return hr::OutOfMemory;
    const HRESULT status = created->QueryInterface(iid, object);
    created->Release();
    return status;
  }

  HRESULT LockServer(int32_t) override { return hr::Ok; }
};

// DllGetClassObject of a component whose only class is `served`: a new Factory for that class,
// asked for the interface iid.
template <class Factory>
HRESULT GetClassObject(const CLSID& served, const CLSID& clsid, const IID& iid, void** object) {
  if (object == nullptr) return hr::Pointer;
  *object = nullptr;
  if (!(clsid == served)) return hr::ClassNotAvailable;
  auto* factory = new (std::nothrow) Factory();
  if (factory == nullptr) return hr::OutOfMemory;
  const HRESULT status = factory->QueryInterface(iid, object);
  factory->Release();
  return status;
}

}  // namespace platform::com
