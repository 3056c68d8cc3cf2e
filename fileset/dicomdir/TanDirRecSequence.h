// The Directory Record Sequence (0004,1220) of a DICOMDIR over the four root sets of a record
// tree (TanGeneralDirectoryInfo), whose item releaser it installs.
// Reading turns the items of a parsed DICOMDIR into the record tree, driven by the order of the
// items (a record's children follow it directly, depth first) and asking of the offsets only
// whether they are zero. Writing lends every record's own item to the sequence with the offsets
// of the file as it will be written (see DirectoryRecordWriter.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/entities/tree/TanGeneralDirectoryInfo.h"
#include "fileset/dicomdir/RecordTree.h"

namespace ORN_dicom {

class iDDE;
class TanDicomFileObject;

// Progress of a pass: (minimum, position, maximum).
using TProgressHandler = std::function<void(int32_t, int32_t, int32_t)>;

class TanDirRecSequence {
 public:
  // Records nest at most this deep below the root; deeper items become no record.
  static constexpr int kMaxDepth = 8;

  // A new, empty sequence element over the tree.
  explicit TanDirRecSequence(TanGeneralDirectoryInfo& tree);
  // Takes (0004,1220) out of the file's data set and builds the record tree from its items. A
  // file without the sequence gives an empty tree; one whose (0004,1220) was not read as a
  // sequence (another VR) is left in the file, gives an empty tree and IsRecordSequence() is
  // false. With the
  // file position of the first item, the tree follows the records' offsets when every one of
  // them names an item; otherwise (and without a position) a record's children are the items
  // that follow it.
  TanDirRecSequence(TanGeneralDirectoryInfo& tree, TanDicomFileObject& file, TProgressHandler progress,
                    uint32_t firstItemPosition = 0);
  // The file position of the first item of the file's (0004,1220) as written; 0 without one.
  static uint32_t FirstItemPosition(TanDicomFileObject& file);
  ~TanDirRecSequence();
  TanDirRecSequence(const TanDirRecSequence&) = delete;
  TanDirRecSequence& operator=(const TanDirRecSequence&) = delete;

  // Releases the items, then deletes every record of the four root sets.
  void Clear();
  // Takes every item out of the sequence value without deleting it.
  void ReleaseItems();
  bool IsEmpty() const;

  // Renders the tree into the sequence and appends (0004,1220) to the file's data set.
  void WriteTo(TanDicomFileObject& file);
  // 132 + meta group + everything the data set holds now + the sequence header.
  uint32_t GetFirstItemOffset(TanDicomFileObject& file) const;
  iDDE* GetSequenceElement() const { return FSequence.get(); }
  // False when the file read held a (0004,1220) that is not a sequence of items.
  bool IsRecordSequence() const { return FIsRecordSequence; }
  // The offset of the last root record of the last write; 0 when it wrote none.
  uint32_t GetLastRootOffset() const { return FLastRootOffset; }

  TanGeneralDirectoryInfo& Tree() const { return FTree; }

 private:
  class Reader;
  TanDDESet<iDDE>& Items() const;

  TanGeneralDirectoryInfo& FTree;
  std::unique_ptr<iDDE> FSequence;
  TProgressHandler FProgress;
  uint32_t FLastRootOffset = 0;
  bool FIsRecordSequence = true;
};

}  // namespace ORN_dicom
