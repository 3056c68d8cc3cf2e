// The client of one interface of an in-process component loaded by file name, without the
// registry. All clients of the same interface type share the loaded module and its class
// factory; a use count keeps them, and a lock guards loading and unloading. Each client holds
// its own instance of the component object.
//
// The lock is a static mutex, constant-initialised before any thread can reach it, so no
// client ever sees it uninitialised. The module and factory are loaded by whichever client
// finds them missing, so a client that comes after a failed load tries again instead of using
// a null factory.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/com/HResult.h"
#include "platform/com/Library.h"
#include "platform/com/Unknown.h"
#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"

namespace platform::com {

template <class Interface>
class ComClient {
 public:
  ComClient(IUnknown* outer, const CLSID& clsid, const IID& iid, const std::string& dllFileName) {
    SUseCount.fetch_add(1, std::memory_order_acq_rel);
    std::lock_guard<std::mutex> lock(SLock);
    try {
      if (SFactory == nullptr) LoadShared(clsid, dllFileName);
      if (FErrorText.empty() && SFactory != nullptr) {
        void* object = nullptr;
        FStatus = SFactory->CreateInstance(outer, iid, &object);
        if (FStatus == hr::Ok && object != nullptr) {
          FInterface = static_cast<Interface*>(object);
        } else {
          // A status other than 0 is a failure even when an object came back.
          if (object != nullptr) static_cast<IUnknown*>(object)->Release();
          if (FStatus == hr::Ok) FStatus = hr::Pointer;
          FErrorText = HResultMessage(FStatus);
        }
      }
    } catch (...) {
      // A component that throws across the boundary leaves this client without an interface.
      if (FErrorText.empty()) FErrorText = HResultMessage(hr::Unexpected);
    }
  }

  ~ComClient() {
    if (FInterface != nullptr) FInterface->Release();
    if (SUseCount.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      std::lock_guard<std::mutex> lock(SLock);
      // Another client may have arrived meanwhile; it keeps what is loaded.
      if (SUseCount.load(std::memory_order_acquire) == 0) UnloadShared();
    }
  }

  ComClient(const ComClient&) = delete;
  ComClient& operator=(const ComClient&) = delete;

  Interface* Get() const { return FInterface; }
  const std::string& ErrorText() const { return FErrorText; }
  HRESULT Status() const { return FStatus; }
  void SetError(HRESULT status) {
    FStatus = status;
    FErrorText = HResultMessage(status);
  }

  // How often the module was loaded in this process, and how many clients live (for tests).
  static uint32_t LoadCount() { return SLoadCount.load(); }
  static uint32_t UseCount() { return SUseCount.load(); }

 private:
  void LoadShared(const CLSID& clsid, const std::string& dllFileName) {
    if (SModule == nullptr) {
      SModule = LoadModule(dllFileName);
      if (SModule == nullptr) {
        FErrorText = SystemMessage(GetLastError());
        FStatus = hr::DllNotFound;
        return;
      }
      SLoadCount.fetch_add(1);
    }
    auto entry = reinterpret_cast<DllGetClassObjectFunction>(ModuleSymbol(SModule, kDllGetClassObjectName));
    if (entry == nullptr) {
      FErrorText = SystemMessage(GetLastError());
      FStatus = -1;
      return;
    }
    void* factory = nullptr;
    FStatus = entry(clsid, IID_IClassFactory, &factory);
    if (FStatus == hr::Ok && factory != nullptr) {
      SFactory = static_cast<IClassFactory*>(factory);
    } else {
      if (factory != nullptr) static_cast<IUnknown*>(factory)->Release();
      if (FStatus == hr::Ok) FStatus = hr::Pointer;
      FErrorText = HResultMessage(FStatus);
    }
  }

  static void UnloadShared() {
    if (SFactory != nullptr) {
      SFactory->Release();
      SFactory = nullptr;
    }
    if (SModule != nullptr) {
      FreeModule(SModule);
      SModule = nullptr;
    }
  }

  Interface* FInterface = nullptr;
  std::string FErrorText;
  HRESULT FStatus = -1;

  static inline std::mutex SLock;
  static inline std::atomic<uint32_t> SUseCount{0};
  static inline std::atomic<uint32_t> SLoadCount{0};
  static inline ModuleHandle SModule = nullptr;
  static inline IClassFactory* SFactory = nullptr;
};

}  // namespace platform::com
