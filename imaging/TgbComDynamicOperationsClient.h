// The client of the image-operation component Motivar.dll. One loader per process holds the
// component's module from the first client's construction to the end of the process; it loads
// the file from the program's own folder by its full path. A client makes one operation object
// at a time, chosen by pixel layout, and hands out plain pointers to its window and zoom
// interfaces, valid until the next selection or ReleaseOperation. Once a client has an error
// text, every later selection fails at once.
#pragma once

#include <memory>
#include <string>

#include "components/motivar/MotivarInterface.h"
#include "platform/com/Library.h"
#include "platform/com/Unknown.h"

namespace ORN_image {

class TgbComDynamicOperationsLoader {
 public:
  // The full path of the component; empty for the file beside the running program.
  explicit TgbComDynamicOperationsLoader(const std::string& path = {});
  ~TgbComDynamicOperationsLoader();
  TgbComDynamicOperationsLoader(const TgbComDynamicOperationsLoader&) = delete;
  TgbComDynamicOperationsLoader& operator=(const TgbComDynamicOperationsLoader&) = delete;

  platform::ModuleHandle Module() const { return FModule; }
  // The last Win32 error of the failed load (0 when it loaded).
  uint32_t LoadError() const { return FLoadError; }

  // The process-wide loader, made on first use and kept to the end of the process.
  static TgbComDynamicOperationsLoader& Instance();

 private:
  platform::ModuleHandle FModule = nullptr;
  uint32_t FLoadError = 0;
};

class TgbComDynamicOperationsClient {
 public:
  // Takes the module of the process-wide loader.
  TgbComDynamicOperationsClient();
  // Takes the module of the given loader (tests).
  explicit TgbComDynamicOperationsClient(TgbComDynamicOperationsLoader& loader);
  ~TgbComDynamicOperationsClient();
  TgbComDynamicOperationsClient(const TgbComDynamicOperationsClient&) = delete;
  TgbComDynamicOperationsClient& operator=(const TgbComDynamicOperationsClient&) = delete;

  // Grey 8-bit (1, 8), grey 16-bit (1, 16), interleaved RGB (3, planar 0), planar RGB (3, planar 1).
  bool SelectOperation(int32_t samplesPerPixel, int32_t bitsAllocated, int32_t planarConfiguration);
  orn_motivar::IWindowOperation* GetWindowInterface();
  orn_motivar::IZoomOperation* GetZoomInterface();
  void ReleaseOperation();

  const std::string& GetErrorText() const { return FErrorText; }

 private:
  void Attach(TgbComDynamicOperationsLoader& loader);
  void* Query(const platform::com::IID& iid);

  platform::com::IUnknown* FObject = nullptr;
  bool FSucceeded = false;
  platform::ModuleHandle FModule = nullptr;
  platform::com::IClassFactory* FFactory = nullptr;
  std::string FErrorText;
};

}  // namespace ORN_image
