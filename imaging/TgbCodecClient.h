// The clients of the two codec components. Each loads its component by file name, asks the
// class factory for the object and holds the object's one reference; its two wrappers hold
// plain pointers to the object's JPEG and RLE interfaces. A client whose component failed to
// load keeps null interfaces, the last result and an error text.
#pragma once

#include <string>

#include "imaging/CodecWrappers.h"
#include "platform/com/Library.h"
#include "platform/com/Unknown.h"

namespace ORN_image {

// Loads a codec component and fills the interface pointers; shared by both clients.
struct CodecComponentHandles {
  platform::com::IUnknown* object = nullptr;
  platform::com::HRESULT lastResult = 0;
  platform::ModuleHandle module = nullptr;
  platform::com::IClassFactory* factory = nullptr;
  std::string errorText;
};

void LoadCodecComponent(const std::string& fileName, const platform::com::CLSID& clsid,
                        const platform::com::IID& jpegIid, void** jpeg, const platform::com::IID& rleIid,
                        void** rle, CodecComponentHandles& handles);
void UnloadCodecComponent(CodecComponentHandles& handles);

}  // namespace ORN_image

namespace ORN_decompressor {

class TgbDecompressorClient {
 public:
  explicit TgbDecompressorClient(const std::string& fileName = orn_codec::kUnpackwellFileName);
  ~TgbDecompressorClient();
  TgbDecompressorClient(const TgbDecompressorClient&) = delete;
  TgbDecompressorClient& operator=(const TgbDecompressorClient&) = delete;

  TgbJpegDecompressorWrapper& Jpeg() { return FJpeg; }
  TgbRLEDecompressorWrapper& Rle() { return FRle; }
  platform::com::HRESULT LastResult() const { return FHandles.lastResult; }
  const std::string& ErrorText() const { return FHandles.errorText; }

 private:
  TgbJpegDecompressorWrapper FJpeg;
  TgbRLEDecompressorWrapper FRle;
  ORN_image::CodecComponentHandles FHandles;
};

}  // namespace ORN_decompressor

namespace ORN_compressor {

class TgbCompressorClient {
 public:
  explicit TgbCompressorClient(const std::string& fileName = orn_codec::kPackwellFileName);
  ~TgbCompressorClient();
  TgbCompressorClient(const TgbCompressorClient&) = delete;
  TgbCompressorClient& operator=(const TgbCompressorClient&) = delete;

  TgbJpegCompressorWrapper& Jpeg() { return FJpeg; }
  TgbRLECompressorWrapper& Rle() { return FRle; }
  platform::com::HRESULT LastResult() const { return FHandles.lastResult; }
  const std::string& ErrorText() const { return FHandles.errorText; }

 private:
  TgbJpegCompressorWrapper FJpeg;
  TgbRLECompressorWrapper FRle;
  ORN_image::CodecComponentHandles FHandles;
};

}  // namespace ORN_compressor
