// A stand-in image-operation component for the client tests: its class objects refuse to make
// an instance (E_UNEXPECTED), and each call of the factory is counted.
#include "components/motivar/MotivarInterface.h"
#include "platform/com/ClassFactory.h"

using namespace platform::com;

namespace {

int gCreateCalls = 0;

class RefusingFactory final : public ComObject<IClassFactory> {
 public:
  RefusingFactory() : ComObject(IID_IClassFactory) {}
  HRESULT CreateInstance(IUnknown*, const IID&, void** object) override {
    ++gCreateCalls;
    if (object != nullptr) *object = nullptr;
    return hr::Unexpected;
  }
  HRESULT LockServer(int32_t) override { return hr::Ok; }
};

}  // namespace

extern "C" __attribute__((visibility("default")))
HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  return GetClassObject<RefusingFactory>(clsid, clsid, iid, object);
}

extern "C" __attribute__((visibility("default"))) int MotivarProbeCreateCalls() { return gCreateCalls; }
