// Lays the record tree out as the items of a Directory Record Sequence: each record's own item
// followed by the subtrees of its children, child set by child set, with (0004,1400) pointing
// at the next record of the same level and (0004,1420) at the first child. An offset counts
// bytes from the first byte of the file to the record's Item tag; it follows from the encoded
// sizes the elements report, so it holds as long as the file is written in set order.
#pragma once

#include <cstdint>
#include <vector>

#include "dicom/elements/dataset/TanDDESet.h"

namespace ORN_dicom {

class TanDirectoryRecord;

namespace directory_writer {

// Holds back the length reports of a set while many elements go into it, and reports once at
// the end: each report sums the whole set, so one per item would cost the square of the count.
class TanQuietSet {
 public:
  explicit TanQuietSet(TanDDESet<iDDE>& set);
  ~TanQuietSet();
  TanQuietSet(const TanQuietSet&) = delete;
  TanQuietSet& operator=(const TanQuietSet&) = delete;

 private:
  TanDDESet<iDDE>& FSet;
  TanValueBasis::ChangeFunction FFunction;
  void* FContext;
};

// Inserts the record's item and those of its subtree into items; offset advances past them.
void WriteSubtree(TanDirectoryRecord& record, uint32_t& offset, TanDDESet<iDDE>& items);
// Writes the records as one level: each next offset points at the following record, the last
// one's is 0. Returns the offset of the last record (0 when there is none).
uint32_t WriteChain(const std::vector<TanDirectoryRecord*>& records, uint32_t& offset, TanDDESet<iDDE>& items);

}  // namespace directory_writer
}  // namespace ORN_dicom
