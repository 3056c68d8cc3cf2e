#include "imaging/TgbCodecClient.h"

#include "imaging/ComponentErrorText.h"
#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"

namespace ORN_image {
namespace {

using platform::com::HRESULT;

void SetFromLastError(CodecComponentHandles& handles) {
  const uint32_t code = platform::GetLastError();
  handles.lastResult = static_cast<HRESULT>(0x80070000u | code);
  handles.errorText = platform::SystemMessage(code);
}

}  // namespace

void LoadCodecComponent(const std::string& fileName, const platform::com::CLSID& clsid,
                        const platform::com::IID& jpegIid, void** jpeg, const platform::com::IID& rleIid,
                        void** rle, CodecComponentHandles& handles) {
  *jpeg = nullptr;
  *rle = nullptr;
  handles.module = platform::LoadModule(fileName);
  if (handles.module == nullptr) {
    SetFromLastError(handles);
    return;
  }
  auto entry = reinterpret_cast<platform::com::DllGetClassObjectFunction>(
      platform::ModuleSymbol(handles.module, platform::com::kDllGetClassObjectName));
  if (entry == nullptr) {
    SetFromLastError(handles);
    return;
  }
  void* factory = nullptr;
  handles.lastResult = entry(clsid, platform::com::IID_IClassFactory, &factory);
  handles.factory = static_cast<platform::com::IClassFactory*>(factory);
  if (handles.lastResult != 0) SetFromLastError(handles);
  if (handles.factory == nullptr) return;

  if (handles.errorText.empty()) {
    void* object = nullptr;
    handles.lastResult = handles.factory->CreateInstance(nullptr, platform::com::IID_IUnknown, &object);
    handles.object = static_cast<platform::com::IUnknown*>(object);
    if (handles.lastResult != 0) handles.errorText = ComponentErrorText(handles.lastResult);
  }
  handles.factory->Release();
  handles.factory = nullptr;
  if (handles.object == nullptr) return;
  // The wrappers keep plain pointers: the reference each query adds is given back at once,
  // and the object's own reference keeps both interfaces alive.
  handles.lastResult = handles.object->QueryInterface(jpegIid, jpeg);
  if (handles.lastResult == 0 && *jpeg != nullptr) static_cast<platform::com::IUnknown*>(*jpeg)->Release();
  else *jpeg = nullptr;
  handles.lastResult = handles.object->QueryInterface(rleIid, rle);
  if (handles.lastResult == 0 && *rle != nullptr) static_cast<platform::com::IUnknown*>(*rle)->Release();
  else *rle = nullptr;
}

void UnloadCodecComponent(CodecComponentHandles& handles) {
  if (handles.object != nullptr) {
    handles.object->Release();
    handles.object = nullptr;
  }
  platform::FreeModule(handles.module);
  handles.module = nullptr;
  handles.errorText.clear();
}

}  // namespace ORN_image

namespace ORN_decompressor {

TgbDecompressorClient::TgbDecompressorClient(const std::string& fileName) {
  void* jpeg = nullptr;
  void* rle = nullptr;
  ORN_image::LoadCodecComponent(fileName, orn_codec::CLSID_Unpackwell, orn_codec::IID_IJpegDecompressor, &jpeg,
                                orn_codec::IID_IRleDecompressor, &rle, FHandles);
  FJpeg.Attach(static_cast<orn_codec::IJpegDecompressor*>(jpeg));
  FRle.Attach(static_cast<orn_codec::IRleDecompressor*>(rle));
}

TgbDecompressorClient::~TgbDecompressorClient() {
  FJpeg.Attach(nullptr);
  FRle.Attach(nullptr);
  ORN_image::UnloadCodecComponent(FHandles);
}

}  // namespace ORN_decompressor

namespace ORN_compressor {

TgbCompressorClient::TgbCompressorClient(const std::string& fileName) {
  void* jpeg = nullptr;
  void* rle = nullptr;
  ORN_image::LoadCodecComponent(fileName, orn_codec::CLSID_Packwell, orn_codec::IID_IJpegCompressor, &jpeg,
                                orn_codec::IID_IRleCompressor, &rle, FHandles);
  FJpeg.Attach(static_cast<orn_codec::IJpegCompressor*>(jpeg));
  FRle.Attach(static_cast<orn_codec::IRleCompressor*>(rle));
}

TgbCompressorClient::~TgbCompressorClient() {
  FJpeg.Attach(nullptr);
  FRle.Attach(nullptr);
  ORN_image::UnloadCodecComponent(FHandles);
}

}  // namespace ORN_compressor
