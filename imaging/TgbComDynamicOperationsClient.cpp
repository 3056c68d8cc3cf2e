#include "imaging/TgbComDynamicOperationsClient.h"

#include "imaging/ComponentErrorText.h"
#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"

namespace ORN_image {
namespace {

std::unique_ptr<TgbComDynamicOperationsLoader>& ProcessLoader() {
  static std::unique_ptr<TgbComDynamicOperationsLoader> loader;
  return loader;
}

std::string LastErrorText() { return platform::SystemMessage(platform::GetLastError()); }

}  // namespace

TgbComDynamicOperationsLoader::TgbComDynamicOperationsLoader(const std::string& path) {
  // By full path: a bare name would also find a file of that name in the current folder.
  const std::string file = path.empty() ? platform::ProgramFolder() + orn_motivar::kMotivarFileName : path;
  FModule = platform::LoadModule(file);
  if (FModule == nullptr) FLoadError = platform::GetLastError();
}

TgbComDynamicOperationsLoader::~TgbComDynamicOperationsLoader() {
  if (FModule != nullptr) platform::FreeModule(FModule);
  FModule = nullptr;
}

TgbComDynamicOperationsLoader& TgbComDynamicOperationsLoader::Instance() {
  auto& loader = ProcessLoader();
  if (!loader) loader = std::make_unique<TgbComDynamicOperationsLoader>();
  return *loader;
}

TgbComDynamicOperationsClient::TgbComDynamicOperationsClient() { Attach(TgbComDynamicOperationsLoader::Instance()); }

TgbComDynamicOperationsClient::TgbComDynamicOperationsClient(TgbComDynamicOperationsLoader& loader) {
  Attach(loader);
}

void TgbComDynamicOperationsClient::Attach(TgbComDynamicOperationsLoader& loader) {
  FModule = loader.Module();
  if (FModule == nullptr) {
    platform::SetLastError(loader.LoadError());
    FErrorText = LastErrorText();
    // A failure without a system text still has to stop every selection.
    if (FErrorText.empty()) FErrorText = "The image-operation component cannot be loaded.";
  }
}

TgbComDynamicOperationsClient::~TgbComDynamicOperationsClient() {
  ReleaseOperation();
  FModule = nullptr;
}

bool TgbComDynamicOperationsClient::SelectOperation(int32_t samplesPerPixel, int32_t bitsAllocated,
                                                    int32_t planarConfiguration) {
  using namespace orn_motivar;
  FSucceeded = FErrorText.empty();
  const platform::com::CLSID* clsid = nullptr;
  if (samplesPerPixel == 1 && bitsAllocated == 8) clsid = &CLSID_MotivarGrey8;
  else if (samplesPerPixel == 1 && bitsAllocated == 16) clsid = &CLSID_MotivarGrey16;
  else if (samplesPerPixel == 3 && planarConfiguration == 0) clsid = &CLSID_MotivarRGBInterleaved;
  else if (samplesPerPixel == 3 && planarConfiguration == 1) clsid = &CLSID_MotivarRGBPlanar;
  if (clsid == nullptr) FSucceeded = false;

  if (FSucceeded) {
    auto entry = reinterpret_cast<platform::com::DllGetClassObjectFunction>(
        platform::ModuleSymbol(FModule, platform::com::kDllGetClassObjectName));
    if (entry == nullptr) {
      FErrorText = LastErrorText();
      if (FErrorText.empty()) FErrorText = ComponentErrorText(platform::com::hr::Fail);
    } else {
      void* factory = nullptr;
      const platform::com::HRESULT status = entry(*clsid, platform::com::IID_IClassFactory, &factory);
      FFactory = static_cast<platform::com::IClassFactory*>(factory);
      if (status != 0) {
        // The thread's last error, or when the system has none, the status's own text: a
        // refused class object must never read as success.
        FErrorText = LastErrorText();
        if (FErrorText.empty()) FErrorText = ComponentErrorText(status);
      }
    }
    FSucceeded = FErrorText.empty();
  }
  if (!FSucceeded || FFactory == nullptr) {
    if (FFactory != nullptr) {
      FFactory->Release();
      FFactory = nullptr;
    }
    return FSucceeded;
  }

  ReleaseOperation();
  void* object = nullptr;
  const platform::com::HRESULT status = FFactory->CreateInstance(nullptr, platform::com::IID_IUnknown, &object);
  FObject = static_cast<platform::com::IUnknown*>(object);
  FSucceeded = status >= 0 && FObject != nullptr;
  if (status != 0) FErrorText = ComponentErrorText(status);
  FFactory->Release();
  FFactory = nullptr;
  return FSucceeded;
}

void* TgbComDynamicOperationsClient::Query(const platform::com::IID& iid) {
  if (!FSucceeded || FObject == nullptr) return nullptr;
  void* result = nullptr;
  if (FObject->QueryInterface(iid, &result) != 0 || result == nullptr) return nullptr;
  // The object's own reference keeps the interface alive.
  static_cast<platform::com::IUnknown*>(result)->Release();
  return result;
}

orn_motivar::IWindowOperation* TgbComDynamicOperationsClient::GetWindowInterface() {
  return static_cast<orn_motivar::IWindowOperation*>(Query(orn_motivar::IID_IWindowOperation));
}

orn_motivar::IZoomOperation* TgbComDynamicOperationsClient::GetZoomInterface() {
  return static_cast<orn_motivar::IZoomOperation*>(Query(orn_motivar::IID_IZoomOperation));
}

void TgbComDynamicOperationsClient::ReleaseOperation() {
  if (FObject != nullptr) {
    FObject->Release();
    FObject = nullptr;
  }
}

}  // namespace ORN_image
