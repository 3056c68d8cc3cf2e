// The directory information of a DICOMDIR: the record tree (TanDirectoryInformation, which adds,
// places, finds and removes records), the root offsets (0004,1200) and (0004,1202), the File-set
// Consistency Flag (0004,1212) and the Directory Record Sequence. The three elements and the
// sequence belong to this object for its whole life; a write lends them to the file object
// being written.
#pragma once

#include <cstdint>
#include <memory>

#include "fileset/dicomdir/TanDirRecSequence.h"

namespace ORN_dicom {

class iDDE;
class TanDicomFileObject;

class TanDirectoryInformation {
 public:
  // Empty tree; the three root elements with the value 0.
  TanDirectoryInformation();
  // The tree of a parsed DICOMDIR; the three root elements are taken out of its data set (an
  // absent one is made with the value 0).
  TanDirectoryInformation(TanDicomFileObject& file, TProgressHandler progress, uint32_t firstItemPosition = 0);
  ~TanDirectoryInformation();
  TanDirectoryInformation(const TanDirectoryInformation&) = delete;
  TanDirectoryInformation& operator=(const TanDirectoryInformation&) = delete;

  // Appends the three root elements and the sequence to the file's data set (after the
  // meta group and the file-set identification were written) and sets the root offsets.
  void WriteDirectoryRecords(TanDicomFileObject& file);
  // 132 + meta group + the data-set elements before (0004,1220) + its header.
  uint32_t GetFirstRecordOffset(TanDicomFileObject& file) const;
  void SetFirstRecordOffset(uint32_t offset);
  void SetLastRecordOffset(uint32_t offset);
  void SetConsistencyFlag(bool consistent);

  uint32_t GetFirstRecordOffsetValue() const;
  uint32_t GetLastRecordOffsetValue() const;
  uint16_t GetConsistencyFlagValue() const;

  TanGeneralDirectoryInfo& Tree() { return FTree; }
  TanDirRecSequence& Records() { return FSequence; }
  const TanDirRecSequence& Records() const { return FSequence; }
  TanIESet<TanPatientIE>& Patients() { return FTree.FPatients; }
  TanIESet<TanHangingProtocolIE>& HangingProtocols() { return FTree.FHangingProtocols; }
  TanIESet<TanTopicIE>& Topics() { return FTree.FTopics; }
  TanIESet<TanPrivateIE>& Privates() { return FTree.FPrivateRecords; }

 private:
  void TakeOrMake(TanDicomFileObject* file);

  TanGeneralDirectoryInfo FTree;
  std::unique_ptr<iDDE> FFirstOffset;
  std::unique_ptr<iDDE> FLastOffset;
  std::unique_ptr<iDDE> FConsistency;
  TanDirRecSequence FSequence;
};

}  // namespace ORN_dicom
