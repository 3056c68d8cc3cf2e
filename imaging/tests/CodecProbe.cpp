// A stand-in codec component whose class factory refuses to create its object with
// E_UNEXPECTED, for the client tests.
#include <atomic>

#include "components/unpackwell/UnpackwellInterface.h"

using namespace platform::com;

namespace {

class RefusingFactory final : public IClassFactory {
 public:
  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (object == nullptr) return hr::Pointer;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return hr::Ok;
    }
    *object = nullptr;
    return hr::NoInterface;
  }
  uint32_t AddRef() override { return FRefs.fetch_add(1) + 1; }
  uint32_t Release() override {
    const uint32_t left = FRefs.fetch_sub(1) - 1;
    if (left == 0) delete this;
    return left;
  }
  HRESULT CreateInstance(IUnknown*, const IID&, void** object) override {
    if (object != nullptr) *object = nullptr;
    return hr::Unexpected;
  }
  HRESULT LockServer(int32_t) override { return hr::Ok; }

 private:
  ~RefusingFactory() = default;
  std::atomic<uint32_t> FRefs{1};
};

}  // namespace

extern "C" __attribute__((visibility("default")))
HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  if (object == nullptr) return hr::Pointer;
  *object = nullptr;
  if (!(clsid == orn_codec::CLSID_Unpackwell)) return hr::ClassNotAvailable;
  auto* factory = new RefusingFactory();
  const HRESULT status = factory->QueryInterface(iid, object);
  factory->Release();
  return status;
}
