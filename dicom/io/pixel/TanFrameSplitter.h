// The frames of an encapsulated pixel-data value as byte ranges. The basic offset table gives
// them when it has one entry per frame and each entry starts a fragment; otherwise one frame
// takes all fragments when the image has one frame, one fragment is one frame when their
// numbers agree, and otherwise the frame starts are found from the JPEG markers or the RLE
// headers, first at fragment starts, then in the joined fragments. When some frames cannot be
// found, Split fails naming the first missing one and Count() gives the frames found before
// it. The source value is only read: its offset table is never filled in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanEPDValue.h"

namespace ORN_dicom {

class TanFrameSplitter {
 public:
  struct Range {
    const uint8_t* Data = nullptr;
    uint32_t Length = 0;
  };

  // frames is the image's Number of Frames; kind the source's transfer-syntax kind (5, 6, 7).
  bool Split(TanEPDValue& value, int32_t frames, int32_t kind);

  uint32_t Count() const { return static_cast<uint32_t>(FFrames.size()); }
  // The bytes of frame i: in place for a single fragment, else joined into a buffer that lives
  // until the next call.
  Range Frame(uint32_t i);
  const std::string& ErrorText() const { return FErrorText; }
  // The pieces frame i was found in: whole stored fragments, or a run of the joined fragments
  // when the frame starts were searched.
  const std::vector<Range>& Pieces(uint32_t i) const { return FFrames.at(i); }

 private:
  bool SplitJoined(uint32_t frames, int32_t kind);

  std::vector<std::vector<Range>> FFrames;  // the fragments of every frame
  std::vector<uint8_t> FAll;                // all fragments joined, when markers were searched
  std::vector<uint8_t> FJoined;             // the current multi-fragment frame
  std::string FErrorText;
};

// Offsets of the JPEG streams in data (SOI followed by a frame header), searched at every
// byte offset; stops after `frames` were found.
std::vector<uint32_t> FindJpegFrameStarts(const uint8_t* data, size_t length, uint32_t frames);

}  // namespace ORN_dicom
