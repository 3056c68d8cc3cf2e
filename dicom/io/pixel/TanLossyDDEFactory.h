// The element factory of lossy JPEG (kind 7). It reads and makes elements as the lossless
// family; what differs is how pixel data of another encoding becomes lossy JPEG:
// - encapsulated lossy JPEG is copied one fragment per frame; when the image says one sample
//   per pixel but the JPEG frame holds colour, the colour attributes are set to RGB;
// - native pixel data is made to fit an 8-bit or 12-bit JPEG (modality LUT applied, padding
//   replaced, palette colour expanded to RGB, 16-bit samples brought into 12 bits with one
//   mapping for all frames), compressed frame by frame at the lossy quality, and the image
//   attributes are rewritten so that stored values keep their real values: bit depths, pixel
//   representation, Rescale Slope and Intercept, colour attributes (YBR_FULL_422, as the
//   baseline coder stores colour), Lossy Image Compression.
// Attributes are read from and written to the item being built for pixel data inside an item
// (an icon), else the target set through the owner's closures. Nothing is changed when the
// conversion fails.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dicom/io/pixel/TanLosslessDDEFactory.h"

namespace ORN_dicom {

class TanLossyDDEFactory : public TanLosslessDDEFactory {
 public:
  iDDE* DecodePixelData(iDDE* source) override;
  iDDE* CopyNativePixelData(iDDE* source) override;

  // Number of entries (0 read as 65536), first mapped value and bits per entry of a LUT
  // descriptor; false for a descriptor that is not US, OW or SS or holds fewer than 3 values.
  struct LUTDescriptor {
    int32_t Entries = 0;
    int32_t FirstMapped = 0;
    int32_t Bits = 0;
  };
  static bool ReadLUTDescriptor(iDDE* element, int32_t pixelRepresentation, LUTDescriptor& out);

  // Decimal-string texts (at most 16 characters, "." as separator): the intercept in general
  // form, the slope as "##0.0####" when that is exact, else in general form.
  static std::string InterceptText(double v);
  static std::string SlopeText(double v);

 protected:
  int32_t OwnKind() const override { return 7; }

 private:
  struct Image;
  // The target's attribute: of the item being built, else of the target set.
  iDDE* TargetFind(uint32_t tag);
  void TargetReplace(iDDE* e);
  void TargetRemove(uint32_t tag);
  // The grey frames prepared, brought into 8 or 12 bits and compressed; the palette frames
  // expanded to RGB and compressed.
  bool CompressGrey(Image& image, std::vector<std::vector<uint8_t>>& frames);
  bool CompressColour(Image& image, std::vector<std::vector<uint8_t>>& frames);
  // Table of a LUT element: entries 16-bit values, false when the element holds fewer.
  static bool ReadTable(iDDE* element, int32_t entries, std::vector<uint16_t>& table);
  iDDE* Fail(const std::string& text);
};

}  // namespace ORN_dicom
