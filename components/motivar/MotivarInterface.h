// The binary interface of Motivar.dll, the image-operation component, shared by the component
// and its client: four operation classes (grey 8-bit, grey 16-bit, interleaved RGB, planar RGB),
// each object answering a window and a zoom interface. Slots 0 to 2 are IUnknown's, the rest
// in declaration order; integers are 32-bit, byte results are non-zero for success.
#pragma once

#include <cstdint>

#include "platform/com/Unknown.h"

namespace orn_motivar {

using platform::com::HRESULT;

// A region of the zoomed image, centred on 0: width right − left, height bottom − top.
struct TZoomRegion {
  int32_t Left;
  int32_t Top;
  int32_t Right;
  int32_t Bottom;
};

class IWindowOperation : public platform::com::IUnknown {
 public:
  // The frame the next ApplyWindow reads. 16-bit samples are taken as signed when the rescaled
  // values can be negative (by pixel representation, slope and intercept); they are not
  // rescaled again.
  virtual uint8_t SetupWindow(int32_t samplesPerPixel, int32_t rows, int32_t columns, int32_t pixelRepresentation,
                              int32_t highBit, float rescaleSlope, float rescaleIntercept) = 0;  // slot 3
  virtual HRESULT Reserved() = 0;                                                              // slot 4
  // Maps the frame to 8-bit samples, same layout; outputSize must be GetOutputSize.
  virtual uint8_t ApplyWindow(const uint8_t* source, uint32_t outputSize, uint8_t* destination) = 0;  // slot 5
  virtual uint32_t GetOutputSize() = 0;                                                        // slot 6
  virtual double GetWindowCenter() = 0;                                                        // slot 7
  virtual double GetWindowWidth() = 0;                                                         // slot 8
  virtual const char* GetErrorText() = 0;                                                      // slot 9

 protected:
  ~IWindowOperation() = default;
};

class IZoomOperation : public platform::com::IUnknown {
 public:
  // The source image (rows × columns, 8-bit samples) and the largest region the result may take.
  virtual uint8_t SetRegion(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t rows,
                            int32_t columns) = 0;                                              // slot 3
  virtual uint8_t ZoomImage(const uint8_t* source, uint8_t* destination, double scale) = 0;    // slot 4
  // The region becomes that of the zoomed image, centred, inside the region set before.
  virtual uint8_t SetScale(double scale, TZoomRegion* region) = 0;                             // slot 5
  virtual uint32_t GetOutputSize(double scale) = 0;                                            // slot 6
  virtual const char* GetErrorText() = 0;                                                      // slot 7

 protected:
  ~IZoomOperation() = default;
};

// {7C41E2A0-5D93-4B6E-9F12-0A8B3C4D5E60} ... {...63}: grey 8, grey 16, RGB interleaved, RGB planar.
inline constexpr platform::com::CLSID CLSID_MotivarGrey8 = {
    0x7C41E2A0, 0x5D93, 0x4B6E, {0x9F, 0x12, 0x0A, 0x8B, 0x3C, 0x4D, 0x5E, 0x60}};
inline constexpr platform::com::CLSID CLSID_MotivarGrey16 = {
    0x7C41E2A1, 0x5D93, 0x4B6E, {0x9F, 0x12, 0x0A, 0x8B, 0x3C, 0x4D, 0x5E, 0x60}};
inline constexpr platform::com::CLSID CLSID_MotivarRGBInterleaved = {
    0x7C41E2A2, 0x5D93, 0x4B6E, {0x9F, 0x12, 0x0A, 0x8B, 0x3C, 0x4D, 0x5E, 0x60}};
inline constexpr platform::com::CLSID CLSID_MotivarRGBPlanar = {
    0x7C41E2A3, 0x5D93, 0x4B6E, {0x9F, 0x12, 0x0A, 0x8B, 0x3C, 0x4D, 0x5E, 0x60}};
// {7C41E2B0-...}: the window interface; {7C41E2B1-...}: the zoom interface.
inline constexpr platform::com::IID IID_IWindowOperation = {
    0x7C41E2B0, 0x5D93, 0x4B6E, {0x9F, 0x12, 0x0A, 0x8B, 0x3C, 0x4D, 0x5E, 0x60}};
inline constexpr platform::com::IID IID_IZoomOperation = {
    0x7C41E2B1, 0x5D93, 0x4B6E, {0x9F, 0x12, 0x0A, 0x8B, 0x3C, 0x4D, 0x5E, 0x60}};

inline constexpr const char* kMotivarFileName = "Motivar.dll";

}  // namespace orn_motivar
