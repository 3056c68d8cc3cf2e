// The file set the application works on: one DICOMDIR object (the record tree) and the folder
// of the referenced files. It is filled by reading a DICOMDIR from disk or memory, by building it
// from every Part 10 file below a folder, or by adding single files; it forms the display
// stacks, adds the private pixel-data index to the image files of a new file set, and writes
// the DICOMDIR back. Every operation returns a flag and keeps the reason of a failure in the
// last error text. Files that cannot be added may go to a reject folder, with a log.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/memory/HeapAllocated.h"
#include "fileset/dicomdir/TanDicomDirObject.h"
#include "platform/vcl/TStringList.h"

namespace platform {
class ITaskAllocator;
}

namespace ORN_dicom {

class TanDicomFileSet : public nalloc::HeapAllocated<TanDicomFileSet> {
 public:
  // (total, number from 1, full path of the file)
  using TFileDoneHandler = std::function<void(int32_t, int32_t, const char*)>;
  // (minimum, position, maximum)
  using TProgress = TProgressHandler;

  static constexpr const char* kNotInitialized = "The structure 'Dicom File Set' is not initialized.";
  static constexpr const char* kRejectLogName = "DicomkDirErrors.log";

  explicit TanDicomFileSet(const std::string& rejectFolder = std::string());
  ~TanDicomFileSet();
  TanDicomFileSet(const TanDicomFileSet&) = delete;
  TanDicomFileSet& operator=(const TanDicomFileSet&) = delete;

  bool OpenDicomDir(const std::string& path);
  bool OpenFromBlob(const void* address, uint32_t length);
  bool BuildFromFolder(const std::string& folder, bool moveRejected);
  bool AddFile(const std::string& path);

  bool DeleteInstance(const std::string& sopInstanceUID, const std::string& seriesUID, const std::string& studyUID,
                      const std::string& patientID);
  bool FindInstance(const std::string& sopInstanceUID, int32_t* instanceIndex, int32_t* seriesIndex,
                    int32_t* studyIndex, int32_t* patientIndex, TanIEKind* kind);
  bool DeleteSeries(const std::string& seriesUID, const std::string& studyUID, const std::string& patientID);
  bool Refresh();
  bool IsOwnDicomDir() const;
  uint32_t GetDicomDirLength();
  void Close();

  bool BuildStacks(bool rebuild);
  bool BuildPrivatePixelDataInfo();
  bool SaveDicomDir(bool asynchronous);
  bool SaveToBlob(void* buffer);

  TanDicomDirObject* GetDicomDir() const { return FDicomDir.get(); }
  TanDicomDirObject* GetDicomDirObject() const { return FDicomDir.get(); }
  std::string GetLastError() const { return FLastError; }
  const std::string& GetFolder() const { return FFolder; }
  const std::string& GetFolderWithSeparator() const { return FFolderWithSeparator; }
  const std::string& GetRejectFolder() const { return FRejectFolder; }

  static bool IsDicomPart10File(const std::string& path);
  static void FilterDicomFiles(TStringList& list);
  static void AppendErrorLog(const std::string& text, const std::string& logPath);
  static std::string MakeRejectFolder(const std::string& path);

  bool FValid = false;
  TFileDoneHandler OnFileDone;
  TProgress OnProgress;

 private:
  bool AddFiles(TStringList& list, bool moveRejected);
  // Moves (or, with move clear, only logs) a file that could not be added.
  void Reject(const std::string& entry, bool move);
  void RejectDisplaced(bool move);
  // Logs a listed file that cannot be read; it is neither added nor moved.
  void LogNotReadable(const std::string& entry);
  bool AddPixelDataInfo(const std::string& path);
  void Minimize();
  void Progress(int32_t position, int32_t maximum);

  platform::ITaskAllocator* FTaskAllocator = nullptr;
  std::unique_ptr<TanDicomDirObject> FDicomDir;
  std::string FLastError;
  std::string FRejectFolder;
  std::string FFolder;
  std::string FFolderWithSeparator;
};

}  // namespace ORN_dicom
