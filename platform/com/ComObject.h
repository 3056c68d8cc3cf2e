// Reference counting and QueryInterface for a component object that implements one interface
// (ComObject) or two (DualComObject), plus IUnknown. The object deletes itself when its count
// drops to 0.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/com/Unknown.h"

namespace platform::com {

template <class Interface>
class ComObject : public Interface {
 public:
  explicit ComObject(const IID& iid) : FIid(iid) {}
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (object == nullptr) return hr::Pointer;
    if (iid == IID_IUnknown || iid == FIid) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return hr::Ok;
    }
    *object = nullptr;
    return hr::NoInterface;
  }

  uint32_t AddRef() override { return FRefs.fetch_add(1, std::memory_order_relaxed) + 1; }

  uint32_t Release() override {
    const uint32_t left = FRefs.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

 protected:
  // Slots of the derived class's own follow the interface's, so this does not disturb them.
  virtual ~ComObject() = default;

 private:
  IID FIid;
  std::atomic<uint32_t> FRefs{1};
};

// Two interfaces on one object: IUnknown and the first identifier answer the first interface,
// the second identifier the second. Both interfaces' IUnknown slots reach these three members.
template <class First, class Second>
class DualComObject : public First, public Second {
 public:
  DualComObject(const IID& first, const IID& second) : FFirst(first), FSecond(second) {}
  DualComObject(const DualComObject&) = delete;
  DualComObject& operator=(const DualComObject&) = delete;

  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (object == nullptr) return hr::Pointer;
    if (iid == IID_IUnknown || iid == FFirst) {
      *object = static_cast<First*>(this);
    } else if (iid == FSecond) {
      *object = static_cast<Second*>(this);
    } else {
      *object = nullptr;
      return hr::NoInterface;
    }
    AddRef();
    return hr::Ok;
  }

  uint32_t AddRef() override { return FRefs.fetch_add(1, std::memory_order_relaxed) + 1; }

  uint32_t Release() override {
    const uint32_t left = FRefs.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~DualComObject() = default;

 private:
  IID FFirst, FSecond;
  std::atomic<uint32_t> FRefs{1};
};

}  // namespace platform::com
