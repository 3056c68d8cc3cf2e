// The file-set identification of a DICOMDIR: its (0004,1130) File-set ID element. A new one
// holds "DFS_FSU_ORN"; one read from a DICOMDIR takes the element out of the file's data set,
// or holds none when the file had none (and then none is written back).
#pragma once

namespace ORN_dicom {

class iDDE;
class TanDicomFileObject;

class TanFileSetIdentification {
 public:
  static constexpr const char* kFileSetID = "DFS_FSU_ORN";

  TanFileSetIdentification();
  explicit TanFileSetIdentification(TanDicomFileObject& file);
  ~TanFileSetIdentification();
  TanFileSetIdentification(const TanFileSetIdentification&) = delete;
  TanFileSetIdentification& operator=(const TanFileSetIdentification&) = delete;

  // Lends the element to the file object's data set (appended at its end); the DICOMDIR object
  // takes it back after the write.
  void WriteTo(TanDicomFileObject& file) const;

  iDDE* FFileSetID = nullptr;
};

}  // namespace ORN_dicom
