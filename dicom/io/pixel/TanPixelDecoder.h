// Decoding of encapsulated pixel data (lossless JPEG, RLE, lossy JPEG) into one native value,
// frame by frame, for any element factory; and the decoding of a single frame.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dicom/io/factory/TanDDEFactoryBasis.h"

class TsgImageConverter;

namespace ORN_dicom {

// Decodes one frame into output (resized to the frame's native size); false when the
// photometric text or the kind has no decoder or the decoder refuses the data.
bool DecompressFrame(TsgImageConverter& converter, const uint8_t* data, uint32_t length, std::vector<uint8_t>& output,
                     int32_t columns, int32_t rows, int32_t bitsAllocated, const std::string& photometric,
                     int32_t planar, int32_t kind);

class TanPixelDecoder {
 public:
  // Makes the empty pixel-data element of the target encoding with a zeroed value of size bytes.
  using MakeElement = std::function<iDDE*(uint16_t vrCode, uint32_t size)>;

  explicit TanPixelDecoder(TanDDEFactoryBasis& factory) : FFactory(factory) {}

  // The native element of all frames of the encapsulated source, the photometric attributes
  // of the target brought in line; null on any failure (the factory's last message tells why;
  // the target then keeps its attributes but for Planar Configuration 0). bigEndianWords
  // stores 16-bit samples big endian.
  iDDE* Decode(iDDE* source, const MakeElement& make, bool bigEndianWords);

 private:
  iDDE* Fail(iDDE* made, const std::string& text);
  // The set the fix-ups change: the item being built for pixel data inside an item (an
  // icon), else the target set through the owner's closures.
  iDDE* TargetAttribute(uint32_t tag);
  void RemoveTargetAttribute(uint32_t tag);

  TanDDEFactoryBasis& FFactory;
};

}  // namespace ORN_dicom
