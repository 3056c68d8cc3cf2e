// The content of one DICOMDIR: its file meta information, its file-set identification and its
// directory information with the record tree. Built empty (a file set made from files) or from
// a parsed DICOMDIR; renders itself into a file, into a memory block, or only far enough to know
// the file's length. The elements of the identification and of the directory information stay
// owned here: a write lends them to a temporary file object and takes them back on every path.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/memory/HeapAllocated.h"
#include "fileset/dicomdir/TanFileMetaInfo.h"
#include "fileset/dicomdir/TanFileSetIdentification.h"
#include "fileset/dicomdir/TanDirectoryInformation.h"

namespace ORN_dicom {

class TanDicomFileObject;

class TanDicomDirObject : public nalloc::HeapAllocated<TanDicomDirObject> {
 public:
  TanDicomDirObject();
  TanDicomDirObject(TanDicomFileObject& file, TProgressHandler progress);
  ~TanDicomDirObject();
  TanDicomDirObject(const TanDicomDirObject&) = delete;
  TanDicomDirObject& operator=(const TanDicomDirObject&) = delete;

  // The record tree's operations (adding a file gives its error text, empty when added).
  std::string AddFile(const std::string& path);
  bool DeleteInstance(const std::string& sopInstanceUID, const std::string& seriesUID, const std::string& studyUID,
                      const std::string& patientID);
  bool HasInstance(const std::string& sopInstanceUID, const std::string& seriesUID, const std::string& studyUID,
                   const std::string& patientID);
  bool FindInstance(const std::string& sopInstanceUID, int32_t* instanceIndex, int32_t* seriesIndex,
                    int32_t* studyIndex, int32_t* patientIndex, TanIEKind* kind);
  // 1 removed, -1 not found, another value failure.
  int32_t DeleteSeries(const std::string& seriesUID, const std::string& studyUID, const std::string& patientID);
  bool Refresh();

  int32_t GetSeriesCount() const;
  int32_t GetStackCount() const;
  int32_t GetImageCount() const;

  // Written by this system: its implementation class UID and version name, and stacks
  // whenever it holds images.
  bool IsOwnDicomDir() const;

  // Error text, empty on success.
  std::string SaveToFile(const std::string& path, bool asynchronous);
  std::string SaveToBlob(void* buffer);
  // The length SaveToFile would write now; 0 when it cannot be rendered.
  uint32_t GetFileLength();

  // Series whose stacks could not be built by the last rendering, as one text ("" for none).
  // Such a series is written without stacks; the others are written as usual.
  const std::string& GetStackReport() const { return FStackReport; }

  bool FValid = true;
  const TanFileMetaInfo& MetaInfo() const { return *FMetaInfo; }
  const TanFileSetIdentification& Identification() const { return *FIdentification; }
  TanDirectoryInformation& DirectoryInfo() const { return *FDirectoryInfo; }
  TanIESet<TanPatientIE>& Patients() const { return FDirectoryInfo->Patients(); }
  TanIESet<TanTopicIE>& Topics() const { return FDirectoryInfo->Topics(); }
  TanIESet<TanPrivateIE>& Privates() const { return FDirectoryInfo->Privates(); }

 private:
  TanDicomDirObject(TanDicomFileObject& file, TProgressHandler progress, uint32_t firstItemPosition);
  // Builds missing stacks, then fills the file object with everything to be written.
  void Render(TanDicomFileObject& file);
  void EnsureStacks();

  std::unique_ptr<TanFileMetaInfo> FMetaInfo;
  std::unique_ptr<TanFileSetIdentification> FIdentification;
  std::unique_ptr<TanDirectoryInformation> FDirectoryInfo;
  std::string FStackReport;
};

}  // namespace ORN_dicom
