// The icon image of an instance: the single item of its Icon Image Sequence (0088,0200), a
// small 8-bit grey or palette-colour picture of one frame.
#pragma once

#include <cstdint>

#include "dicom/elements/dataset/TanDDESet.h"
#include "platform/vcl/DibSection.h"

namespace ORN_dicom {
class iDDE;
}

namespace ORN_image {

class iDICOM_ICON {
 public:
  virtual ~iDICOM_ICON() = default;
  virtual int32_t GetColumns() = 0;
  virtual int32_t GetRows() = 0;
  // True over an icon element, or when the data set holds (0088,0200).
  virtual bool HasIcon() = 0;
  // Builds a width × height icon of the frame (a frame out of range: the middle one).
  virtual bool CreateIcon(int32_t width, int32_t height, int32_t frame) = 0;
  // Puts the built icon (or a copy of the existing one) into the target as its (0088,0200).
  virtual bool StoreIcon(ORN_dicom::TanDDESet<ORN_dicom::iDDE>* target) = 0;
  // A new (0088,0200) element in the encoding of the transfer-syntax kind; the caller owns it.
  virtual bool GetIconItem(ORN_dicom::iDDE** element, uint8_t kind) = 0;
  // A 24-bit bottom-up bitmap of the icon that the caller owns (platform::DeleteBitmap); null
  // when there is no icon to draw.
  virtual platform::HBITMAP CreateBitmap() = 0;
  virtual const char* GetErrorText() = 0;
  // Frees the pixel buffer and empties the error text.
  virtual void Reset() = 0;
};

class TgbDicomIconBasis : public iDICOM_ICON {
 public:
  ~TgbDicomIconBasis() override = default;
};

}  // namespace ORN_image
