// A dictionary component for the client tests: it knows two groups, counts every call it gets
// and fails on purpose for some entries and data paths.
//   group 0x0010 -> index 5, group 0x0020 -> index 6, group 0x0030 -> S_FALSE (not success)
//   (5, 0x0010) -> 7: "PN", "Patient's Name", numbers 1 and 1, not retired
//   (5, 0x0020) -> 8: every entry call fails and writes nothing
//   (5, 0x0030) -> 9: VR "" (too short), name given
//   (5, 0x0040) -> 10: every entry call fails after writing its out value
//   data path L"refuse": Initialize fails with the status of a missing path
//   data path L"gate" or L"gate-refuse": Initialize waits until ProbeOpenGate is called
#include <atomic>
#include <string>
#include <thread>

#include "dicom/elements/IDicomDataElementRegistry.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/ComObject.h"

using namespace platform::com;
using orn_com_wrapper::IDicomDataElementRegistry;

#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::atomic<int> gCalls{0};
std::atomic<int> gInitializeCalls{0};
std::atomic<bool> gInGate{false};
std::atomic<bool> gGateOpen{false};

class Probe : public ComObject<IDicomDataElementRegistry> {
 public:
  Probe() : ComObject(orn_com_wrapper::IID_IDicomDataElementRegistry) {}
  HRESULT Reserved3() override { return hr::NotImpl; }
  HRESULT Reserved4() override { return hr::NotImpl; }
  HRESULT Reserved5() override { return hr::NotImpl; }
  HRESULT Reserved6() override { return hr::NotImpl; }
  HRESULT Reserved8() override { return hr::NotImpl; }
  HRESULT Reserved11() override { return hr::NotImpl; }
  HRESULT Reserved12() override { return hr::NotImpl; }

  HRESULT Initialize(const wchar_t* dataPath) override {
    ++gCalls;
    ++gInitializeCalls;
    const std::wstring path = dataPath;
    if (path.rfind(L"gate", 0) == 0) {
      gInGate = true;
      while (!gGateOpen.load()) std::this_thread::yield();
    }
    if (path == L"refuse" || path == L"gate-refuse") return HResultFromWin32(3);
    return hr::Ok;
  }
  HRESULT FindGroup(uint16_t group, uint16_t* index) override {
    ++gCalls;
    if (group == 0x0010) { *index = 5; return hr::Ok; }
    if (group == 0x0020) { *index = 6; return hr::Ok; }
    if (group == 0x0030) { *index = 7; return hr::False; }
    return HResultFromWin32(1168);
  }
  HRESULT FindElement(uint16_t groupIndex, uint16_t element, uint16_t* index) override {
    ++gCalls;
    if (groupIndex != 5) return HResultFromWin32(1168);
    switch (element) {
      case 0x0010: *index = 7; return hr::Ok;
      case 0x0020: *index = 8; return hr::Ok;
      case 0x0030: *index = 9; return hr::Ok;
      case 0x0040: *index = 10; return hr::Ok;
      default: return HResultFromWin32(1168);
    }
  }
  HRESULT GetFirstNumber(uint16_t, uint16_t index, uint16_t* value) override { return Number(index, value, 1); }
  HRESULT GetSecondNumber(uint16_t, uint16_t index, uint16_t* value) override { return Number(index, value, 1); }
  HRESULT IsRetired(uint16_t, uint16_t index, uint16_t* retired) override { return Number(index, retired, 0); }
  HRESULT GetVR(uint16_t, uint16_t index, const char** vr) override { return Text(index, vr, "PN", ""); }
  HRESULT GetName(uint16_t, uint16_t index, const char** name) override {
    return Text(index, name, "Patient's Name", "Short");
  }

 private:
  static HRESULT Number(uint16_t index, uint16_t* out, uint16_t value) {
    ++gCalls;
    if (index == 8) return hr::Fail;
    if (index == 10) { *out = 3; return hr::Fail; }
    *out = value;
    return hr::Ok;
  }
  static HRESULT Text(uint16_t index, const char** out, const char* normal, const char* shortText) {
    ++gCalls;
    if (index == 8) return hr::Fail;
    if (index == 9) { *out = shortText; return hr::Ok; }
    if (index == 10) { *out = "SH"; return hr::Fail; }
    *out = normal;
    return hr::Ok;
  }
};

}  // namespace

PROBE_EXPORT HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  return GetClassObject<ClassFactory<Probe>>(orn_com_wrapper::CLSID_DicomDataElementRegistry, clsid, iid, object);
}

PROBE_EXPORT int ProbeCallCount() { return gCalls.load(); }
PROBE_EXPORT int ProbeInitializeCount() { return gInitializeCalls.load(); }
PROBE_EXPORT bool ProbeInGate() { return gInGate.load(); }
PROBE_EXPORT void ProbeOpenGate() { gGateOpen = true; }
