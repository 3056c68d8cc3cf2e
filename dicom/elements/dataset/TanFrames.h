// Frames of encapsulated pixel data. The value's set holds the basic offset table item at
// index 0 (32-bit offsets from the first fragment item's tag), then the fragment items, then
// the sequence delimitation item.
// TanFrame over an existing frame only reads; a TanFrame that starts a new last frame adds an
// offset-table entry and removes it again when it ends without fragments.
#pragma once

#include <cstdint>
#include <vector>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/elements/header/ByteOrder.h"
#include "dicom/elements/values/TanCVArray.h"

namespace ORN_dicom {

using TanOffsetTable = TanCVArray<uint32_t, TanLEV>;

class TanFrames {
 public:
  explicit TanFrames(TanDDESet<iDDE>& set) : FSet(set) {}

  // Offset-table entries; with an empty table 1 when a fragment exists, else 0.
  uint32_t Count() const;
  uint32_t Offset(uint32_t i) const;  // 0 for an empty table or an index out of range
  bool HasOffsetTable() const;
  // The offsets start at 0, increase and lie inside the fragments.
  bool IsOffsetTableValid() const;
  // Whether the fragments agree with n frames; an empty table is filled when each of n
  // frames has one fragment.
  bool CheckFrameCount(uint32_t n);

  TanDDESet<iDDE>& Set() const { return FSet; }
  TanOffsetTable* Table() const;
  // Set indexes [first, end) of the fragment items.
  uint32_t FirstFragmentIndex() const { return 1; }
  uint32_t EndFragmentIndex() const;
  uint64_t FragmentsSize() const;  // sum of the encoded sizes of all fragment items

 private:
  TanDDESet<iDDE>& FSet;
};

class TanFrame {
 public:
  // Frame index of an existing frame (reads only).
  TanFrame(TanFrames& frames, int32_t index) : FFrames(frames), FIndex(index) {}
  // Starts a new last frame.
  explicit TanFrame(TanFrames& frames);
  ~TanFrame();
  TanFrame(const TanFrame&) = delete;
  TanFrame& operator=(const TanFrame&) = delete;

  int32_t Index() const { return FIndex; }
  uint32_t FragmentCount() const;
  iDDE* Fragment(uint32_t i) const;  // null past the frame's fragments
  uint32_t Size() const;             // value bytes of its fragments, without item headers
  // Adds a fragment item after the frame's last one; pad makes an odd total even with NUL.
  bool AddFragment(uint32_t length, const void* bytes, bool pad);

 private:
  uint64_t Start() const;
  uint64_t End() const;
  uint32_t FirstFragment() const;  // set index of the frame's first fragment

  TanFrames& FFrames;
  int32_t FIndex;
  bool FStartedEntry = false;  // this view added the table entry of a new frame
};

}  // namespace ORN_dicom
