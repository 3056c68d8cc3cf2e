// The icon builder. An icon object is made over a data set (to build, store and hand out an
// icon) or over an Icon Image Sequence element (to draw or hand on an existing icon). A: the
// allocator of the pixel buffers, ORN_std::TanMSVirtualMemoryAlloc or ORN_std::TanCPPAllocator;
// each allocator's icons share one image-operation client, made on first use.
//
// Pixel buffer: columns × rows pixels of 8-bit samples, one (grey) or three (R, G, B
// interleaved) per pixel, from the bottom row of the picture to the top row, no padding.
#pragma once

#include <cstdint>
#include <string>

#include "imaging/TgbComDynamicOperationsClient.h"
#include "imaging/iDICOM_ICON.h"

namespace ORN_image {

// The process-wide image-operation client of the icons of one allocator.
template <class A>
TgbComDynamicOperationsClient& IconOperationsClient();

// Windows a frame to 8 bits and zooms it into a centred icon through the image-operation
// component.
template <class A>
class TgbIconOperation {
 public:
  virtual ~TgbIconOperation() = default;

  bool Prepare(TgbComDynamicOperationsClient* client, int32_t samples, int32_t planar, int32_t rows, int32_t columns,
               int32_t pixelRepresentation, int32_t highBit, double slope, double intercept);
  // Writes a width × height × samples picture into pixels: the zoomed frame centred, the rest 0.
  bool Resample(const uint8_t* source, uint8_t* pixels, int32_t width, int32_t height);
  // Forgets the interfaces, so that the next Prepare takes those of the client's new object.
  void Unprepare() { FPrepared = false; }

  const std::string& ErrorText() const { return FErrorText; }

 private:
  TgbComDynamicOperationsClient* FClient = nullptr;
  orn_motivar::IWindowOperation* FWindow = nullptr;
  orn_motivar::IZoomOperation* FZoom = nullptr;
  std::string FErrorText;
  bool FPrepared = false;
  int32_t FColumns = 0;
  int32_t FRows = 0;
  int32_t FPlanar = 0;
  int32_t FSamples = 0;
};

template <class A>
class TgbDicomIcon : public TgbDicomIconBasis {
 public:
  explicit TgbDicomIcon(ORN_dicom::TanDDESet<ORN_dicom::iDDE>* dataSet) : FDataSet(dataSet) {}
  explicit TgbDicomIcon(ORN_dicom::iDDE* iconElement) : FIconElement(iconElement) {}
  ~TgbDicomIcon() override;
  TgbDicomIcon(const TgbDicomIcon&) = delete;
  TgbDicomIcon& operator=(const TgbDicomIcon&) = delete;

  int32_t GetColumns() override { return FColumns; }
  int32_t GetRows() override { return FRows; }
  bool HasIcon() override;
  bool CreateIcon(int32_t width, int32_t height, int32_t frame) override;
  bool StoreIcon(ORN_dicom::TanDDESet<ORN_dicom::iDDE>* target) override;
  bool GetIconItem(ORN_dicom::iDDE** element, uint8_t kind) override;
  const char* GetErrorText() override { return FErrorText.c_str(); }
  void Reset() override;

  // The built pixel buffer (null while there is none) and its samples per pixel.
  const uint8_t* Pixels() const { return FPixels; }
  int32_t GetSamplesPerPixel() const { return FSamplesPerPixel; }

 protected:
  ORN_dicom::iDDE* BuildIconElement(uint8_t kind);
  ORN_dicom::iDDE* CopyIconElement(uint8_t kind);
  // Reads the first item of an icon sequence into the pixel buffer (format above); false for
  // an item that is not a plain 8-bit grey or palette icon of its stated size.
  bool LoadFromItem(ORN_dicom::iDDE* iconSequence);
  void FreePixels();
  uint8_t* AllocatePixels(size_t size);
  std::string Photometric() const;

  ORN_dicom::TanDDESet<ORN_dicom::iDDE>* FDataSet = nullptr;
  ORN_dicom::iDDE* FIconElement = nullptr;
  int32_t FColumns = 0;
  int32_t FRows = 0;
  int32_t FSamplesPerPixel = 0;
  uint8_t* FPixels = nullptr;
  std::string FErrorText;
  TgbIconOperation<A> FOperation;
};

template <class A>
class TgbDisplayDicomIcon : public TgbDicomIcon<A> {
 public:
  using TgbDicomIcon<A>::TgbDicomIcon;
  platform::HBITMAP CreateBitmap() override;
};

}  // namespace ORN_image
