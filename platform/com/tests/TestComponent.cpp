// A component for the COM tests: one class object that makes adders.
#include <atomic>

#include "platform/com/ClassFactory.h"
#include "platform/com/ComObject.h"
#include "platform/com/tests/TestComponent.h"

using namespace platform::com;
using namespace platform::com::testing;

namespace {

std::atomic<int32_t> gLive{0};

class Adder : public ComObject<ITestAdder> {
 public:
  Adder() : ComObject(IID_ITestAdder) { ++gLive; }
  ~Adder() override { --gLive; }
  HRESULT Add(int32_t a, int32_t b, int32_t* sum) override {
    if (sum == nullptr) return hr::Pointer;
    *sum = a + b;
    return hr::Ok;
  }
  HRESULT LiveObjects(int32_t* count) override {
    *count = gLive.load();
    return hr::Ok;
  }
};

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  return GetClassObject<ClassFactory<Adder>>(CLSID_TestAdder, clsid, iid, object);
}
