// A stand-in codec component whose class factory refuses to create its object with
// E_UNEXPECTED, for the client tests.
#include "components/unpackwell/UnpackwellInterface.h"
#include "platform/com/ClassFactory.h"

using namespace platform::com;

namespace {

class RefusingFactory final : public ComObject<IClassFactory> {
 public:
  RefusingFactory() : ComObject(IID_IClassFactory) {}
  HRESULT CreateInstance(IUnknown*, const IID&, void** object) override {
    if (object != nullptr) *object = nullptr;
    return hr::Unexpected;
  }
  HRESULT LockServer(int32_t) override { return hr::Ok; }
};

}  // namespace

extern "C" __attribute__((visibility("default")))
HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  return GetClassObject<RefusingFactory>(orn_codec::CLSID_Unpackwell, clsid, iid, object);
}
