// Tagbook.dll: the data-element dictionary component. One class object; each instance reads
// the dictionary of the data folder it is given and answers lookups from it. Lookups take no
// lock: the tables never change after Initialize.
#include <atomic>
#include <memory>
#include <string>

#include "components/tagbook/Dictionary.h"
#include "components/tagbook/TagbookInterface.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/ComObject.h"
#include "platform/com/Library.h"
#include "platform/core/LastError.h"

using namespace platform::com;
using orn_com_wrapper::CLSID_DicomDataElementRegistry;
using orn_com_wrapper::IDicomDataElementRegistry;
using orn_com_wrapper::IID_IDicomDataElementRegistry;

namespace tagbook {
namespace {

const HRESULT kNotFound = HResultFromWin32(platform::err::NotFound);

class DataElementRegistry : public ComObject<IDicomDataElementRegistry> {
 public:
  DataElementRegistry() : ComObject(IID_IDicomDataElementRegistry) {}

  HRESULT Reserved3() override { return hr::NotImpl; }
  HRESULT Reserved4() override { return hr::NotImpl; }
  HRESULT Reserved5() override { return hr::NotImpl; }
  HRESULT Reserved6() override { return hr::NotImpl; }
  HRESULT Reserved8() override { return hr::NotImpl; }
  HRESULT Reserved11() override { return hr::NotImpl; }
  HRESULT Reserved12() override { return hr::NotImpl; }

  HRESULT Initialize(const wchar_t* dataFolder) override {
    if (dataFolder == nullptr) return hr::Pointer;
    // One dictionary per object: lookups on other threads may already read it.
    if (FReady.load(std::memory_order_acquire)) return hr::Unexpected;
    std::string path = platform::WideToUtf8(dataFolder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += "datadict.txt";
    const uint32_t error = FDictionary.Load(path);
    if (error != 0) return HResultFromWin32(error);
    FReady.store(true, std::memory_order_release);
    return hr::Ok;
  }

  HRESULT FindGroup(uint16_t group, uint16_t* groupIndex) override {
    if (groupIndex == nullptr) return hr::Pointer;
    if (!Ready()) return hr::Unexpected;
    return FDictionary.FindGroup(group, groupIndex) ? hr::Ok : kNotFound;
  }

  HRESULT FindElement(uint16_t groupIndex, uint16_t element, uint16_t* elementIndex) override {
    if (elementIndex == nullptr) return hr::Pointer;
    if (!Ready()) return hr::Unexpected;
    return FDictionary.FindElement(groupIndex, element, elementIndex) ? hr::Ok : kNotFound;
  }

  HRESULT GetFirstNumber(uint16_t gi, uint16_t ei, uint16_t* value) override {
    return Answer(gi, ei, value, [](const DictionaryEntry& e) { return e.vmMin; });
  }
  HRESULT GetSecondNumber(uint16_t gi, uint16_t ei, uint16_t* value) override {
    return Answer(gi, ei, value, [](const DictionaryEntry& e) { return e.vmMax; });
  }
  HRESULT IsRetired(uint16_t gi, uint16_t ei, uint16_t* retired) override {
    return Answer(gi, ei, retired, [](const DictionaryEntry& e) { return static_cast<uint16_t>(e.retired); });
  }
  HRESULT GetVR(uint16_t gi, uint16_t ei, const char** vr) override {
    return Answer(gi, ei, vr, [](const DictionaryEntry& e) { return e.vr.c_str(); });
  }
  HRESULT GetName(uint16_t gi, uint16_t ei, const char** name) override {
    return Answer(gi, ei, name, [](const DictionaryEntry& e) { return e.name.c_str(); });
  }

 private:
  bool Ready() const { return FReady.load(std::memory_order_acquire); }

  template <class T, class Field>
  HRESULT Answer(uint16_t gi, uint16_t ei, T* out, Field field) {
    if (out == nullptr) return hr::Pointer;
    if (!Ready()) return hr::Unexpected;
    const DictionaryEntry* e = FDictionary.Entry(gi, ei);
    if (e == nullptr) return hr::InvalidArg;
    *out = field(*e);
    return hr::Ok;
  }

  std::atomic<bool> FReady{false};
  Dictionary FDictionary;
};

}  // namespace
}  // namespace tagbook

extern "C" __attribute__((visibility("default")))
HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  return GetClassObject<ClassFactory<tagbook::DataElementRegistry>>(CLSID_DicomDataElementRegistry, clsid, iid, object);
}
