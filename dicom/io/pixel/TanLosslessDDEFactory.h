// The element factories of encapsulated pixel data: lossless (kind 4), lossless JPEG (kind 5)
// and RLE (kind 6). They read and make every element as the explicit little-endian factory;
// their pixel data (7FE0,0010) is encapsulated: made one frame per fragment, copied from an
// encapsulated source one fragment per frame (never decoded), compressed frame by frame from
// a native source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dicom/io/explicit/TanExplicitDDEFactory.h"

namespace ORN_dicom {

class TanLosslessDDEFactory : public TanExplicitLEFactory {
 public:
  iDDE* MakePixelData(uint16_t vr, uint32_t count, ...) override;
  iDDE* DecodePixelData(iDDE* source) override;
  iDDE* CopyNativePixelData(iDDE* source) override;
  // Slot 17: one frame compressed into out by the photometric interpretation; false when the
  // interpretation has no compressor here or the compressor refuses the frame.
  virtual bool CompressFrame(const uint8_t* data, uint32_t length, std::vector<uint8_t>& out, int32_t columns,
                             int32_t rows, int32_t bitsAllocated, const std::string& photometric, int32_t planar);

  // The encapsulated element with one frame per (length, bytes) pair.
  iDDE* MakeEncapsulated(const std::vector<std::pair<uint32_t, const uint8_t*>>& fragments);

 protected:
  enum class Codec { None, GreyJpeg, RgbJpeg, GreyRle, RgbRle };
  // The transfer-syntax kind whose fragments this factory holds.
  virtual int32_t OwnKind() const { return 4; }
  // The compressor for a photometric interpretation (the YBR kinds are compressed as RGB).
  virtual Codec CodecFor(const std::string& photometric) const;
  // Planar Configuration of the target after an RGB frame; -1 leaves it as it is.
  virtual int32_t PlanarAfterColour() const { return -1; }
  // Sets an attribute of the target: of the item being built for pixel data inside an item,
  // else of the target set through the owner's closures.
  bool SetTargetAttribute(uint16_t group, uint16_t element, const char* text, int32_t number);
};

class TanLosslessJpegDDEFactory : public TanLosslessDDEFactory {
 protected:
  Codec CodecFor(const std::string& photometric) const override;
  int32_t PlanarAfterColour() const override { return 0; }
  int32_t OwnKind() const override { return 5; }
};

class TanLosslessRleDDEFactory : public TanLosslessDDEFactory {
 protected:
  Codec CodecFor(const std::string& photometric) const override;
  int32_t PlanarAfterColour() const override { return 1; }
  int32_t OwnKind() const override { return 6; }
};

}  // namespace ORN_dicom
