#include "fileset/set/TanDicomFileSet.h"

#include "base/files/FolderContainment.h"
#include "base/files/TiaFileManager.h"
#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/ReferencedFileID.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "fileset/set/FileSetFiles.h"
#include "fileset/stacks/FileSetSeriesWork.h"
#include "fileset/stacks/TanStackBuilder.h"
#include "platform/files/FileAttributes.h"
#include "platform/files/FileOperations.h"
#include "platform/memory/TaskAllocator.h"
#include "platform/vcl/SysUtils.h"

namespace ORN_dicom {

using namespace fileset_files;

namespace {

std::string AbsoluteFolder(const std::string& folder) {
  std::string full;
  if (!platform::FullPath(folder, &full)) full = folder;
  while (full.size() > 1 && full.back() == '/') full.pop_back();
  return full;
}

std::string FolderOf(const std::string& path) {
  std::string full;
  if (!platform::FullPath(path, &full)) full = path;
  const size_t slash = full.find_last_of('/');
  return slash == std::string::npos ? std::string() : full.substr(0, slash);
}

}  // namespace

TanDicomFileSet::TanDicomFileSet(const std::string& rejectFolder)
    : FTaskAllocator(platform::GetTaskAllocator()), FRejectFolder(fileset_files::TrimText(rejectFolder)) {
  InstallFileSetSeriesWork();
}

TanDicomFileSet::~TanDicomFileSet() {
  if (FTaskAllocator != nullptr) FTaskAllocator->Release();
  FDicomDir.reset();
}

void TanDicomFileSet::Minimize() {
  if (FTaskAllocator != nullptr) FTaskAllocator->HeapMinimize();
}

void TanDicomFileSet::Progress(int32_t position, int32_t maximum) {
  if (OnProgress) OnProgress(0, position, maximum);
}

bool TanDicomFileSet::IsDicomPart10File(const std::string& path) { return fileset_files::IsDicomPart10File(path); }
void TanDicomFileSet::FilterDicomFiles(TStringList& list) { fileset_files::FilterDicomFiles(list); }
void TanDicomFileSet::AppendErrorLog(const std::string& text, const std::string& logPath) {
  fileset_files::AppendErrorLog(text, logPath);
}
std::string TanDicomFileSet::MakeRejectFolder(const std::string& path) { return fileset_files::MakeRejectFolder(path); }

bool TanDicomFileSet::OpenDicomDir(const std::string& path) {
  {
    TanCurrentFolder keep;
    TanDicomFileObject file;
    FLastError = file.LoadFromFile(path, false);
    FValid = FLastError.empty();
    if (FValid) {
      std::unique_ptr<TanDicomDirObject> dir(new TanDicomDirObject(file, OnProgress));
      if (!dir) {
        FLastError = "Memory Allocation Error.";
        FValid = false;
        Minimize();
        return false;
      }
      FDicomDir = std::move(dir);
      FValid = FDicomDir->FValid;
      if (FValid) {
        FFolder = FolderOf(path);
        FFolderWithSeparator = FFolder + "/";
      } else {
        FDicomDir.reset();
        FFolder.clear();
        FFolderWithSeparator.clear();
        FLastError = "The file \"" + path + "\" isn't Dicom Directory File.";
      }
    }
  }
  Minimize();
  return FValid;
}

bool TanDicomFileSet::OpenFromBlob(const void* address, uint32_t length) {
  TanDicomFileObject file;
  FLastError = address == nullptr ? std::string("Cannot be initialized with the blob.")
                                  : file.ReadFromMemory(address, length, false);
  FValid = FLastError.empty();
  if (FValid) {
    FDicomDir.reset(new TanDicomDirObject(file, OnProgress));
    FValid = FDicomDir && FDicomDir->FValid;
    FFolder.clear();
    FFolderWithSeparator.clear();
    if (!FValid) {
      FDicomDir.reset();
      FLastError = "Cannot be initialized with the blob.";
    }
  }
  Minimize();
  return FValid;
}

bool TanDicomFileSet::BuildFromFolder(const std::string& folder, bool moveRejected) {
  std::string trimmed = fileset_files::TrimText(folder);
  if (!trimmed.empty() && trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  if (trimmed.empty()) {
    FLastError = "The folder is not given.";
    return false;
  }
  FFolder = AbsoluteFolder(trimmed);
  FFolderWithSeparator = FFolder == "/" ? FFolder : FFolder + "/";
  bool result = false;
  {
    TanCurrentFolder current(FFolder);
    if (current.Failed()) {
      FLastError = "Cannot open the folder \"" + FFolder + "\".";
      return false;
    }
    // Only regular files inside the folder are listed: a link out of it is not followed, and a
    // FIFO or device, which could block the build, is passed over.
    TStringList listed, unreadable, list;
    TiaFileManager().GetContainedFileList(listed, FFolder, unreadable);
    for (int i = 0; i < listed.Count(); ++i) {
      const std::string entry = listed.Strings[i];
      // A DICOMDIR, the folder's own or one of a nested file set, describes files; it is not one.
      if (IsDicomDirName(entry)) continue;
      const Part10Test test = TestPart10File(entry);
      if (test == Part10Test::Part10) list.Add(entry);
      if (test == Part10Test::NotReadable) unreadable.Add(entry);
    }
    result = AddFiles(list, moveRejected);
    if (unreadable.Count() > 0) result = false;
    for (int i = 0; i < unreadable.Count(); ++i) LogNotReadable(unreadable.Strings[i]);
  }
  Minimize();
  return result;
}

void TanDicomFileSet::LogNotReadable(const std::string& entry) {
  // It cannot be read, so it cannot be copied either: it stays where it is.
  FLastError = "The file \"" + entry + "\" is not readable.";
  if (FRejectFolder.empty()) return;
  FRejectFolder = MakeRejectFolder(FRejectFolder);
  if (!FRejectFolder.empty()) AppendNotMovedLog(FLastError, entry, FRejectFolder + "/" + kRejectLogName);
}

bool TanDicomFileSet::AddFiles(TStringList& list, bool moveRejected) {
  FDicomDir.reset(new TanDicomDirObject());
  FValid = false;
  if (!FDicomDir) {
    FLastError = "Memory Allocation Error.";
    return false;
  }
  bool result = true;
  const int32_t n = list.Count();
  int32_t added = 0;
  for (int32_t i = 0; i < n; ++i) {
    const std::string entry = list.Strings[i];
    FLastError = FDicomDir->AddFile(entry);
    const std::string error = FLastError;
    RejectDisplaced(moveRejected);
    FLastError = error;
    if (!FLastError.empty()) {
      result = false;
      if (!FRejectFolder.empty()) Reject(entry, moveRejected);
    } else {
      FValid = true;
      ++added;
      if (OnFileDone) OnFileDone(n, added, (FFolderWithSeparator + entry).c_str());
    }
    Progress(i + 1, n);
  }
  list.Clear();
  Minimize();
  return result;
}

void TanDicomFileSet::RejectDisplaced(bool move) {
  // Files that left the tree because a newer file holds the same instance.
  for (const TanDuplicateFile& file : FDicomDir->DirectoryInfo().Tree().TakeDuplicateFiles()) {
    if (FRejectFolder.empty() || file.path.empty()) continue;
    FLastError = file.reason;
    Reject(file.path, move);
  }
}

void TanDicomFileSet::Reject(const std::string& entry, bool move) {
  FRejectFolder = MakeRejectFolder(FRejectFolder);
  if (FRejectFolder.empty()) return;
  const std::string log = FRejectFolder + "/" + kRejectLogName;
  // A file named relative to the file-set folder moves only when it lies inside the folder; a
  // symbolic link moves as the link (renamed, never replaced by a copy of its target).
  uint32_t flags = platform::move_flags::CopyAllowed;
  if (move && !entry.empty() && entry[0] != '/') {
    if (!ORN_std::IsRegularFileInside(ORN_std::ResolvedFolder(FFolder), entry)) {
      AppendNotMovedLog(FLastError, entry, log);
      return;
    }
    const uint32_t attributes = platform::GetFileAttributes(entry);
    if (attributes != platform::kInvalidFileAttributes && (attributes & platform::attr::ReparsePoint)) flags = 0;
  }
  const std::string target = RejectTarget(FRejectFolder, entry);
  const bool moved = !move || platform::MoveFile(entry, target, flags);
  if (moved)
    AppendErrorLog(FLastError + "[ file: " + FileNameOf(target) + "]\n", log);
  else
    AppendNotMovedLog(FLastError, entry, log);
}

bool TanDicomFileSet::AddFile(const std::string& path) {
  if (!FDicomDir) {
    FDicomDir.reset(new TanDicomDirObject());
    if (!FDicomDir) {
      FLastError = "Memory Allocation Error.";
      return false;
    }
  }
  // A file below the file-set folder is referenced relative to it.
  std::string name = path;
  std::string full;
  if (!FFolderWithSeparator.empty() && platform::FullPath(path, &full) &&
      full.compare(0, FFolderWithSeparator.size(), FFolderWithSeparator) == 0)
    name = full.substr(FFolderWithSeparator.size());
  TanCurrentFolder current(name == path ? std::string() : FFolderWithSeparator);
  FLastError = FDicomDir->AddFile(name);
  const std::string error = FLastError;
  RejectDisplaced(true);
  FLastError = error;
  const bool added = FLastError.empty();
  if (!added && !FRejectFolder.empty()) Reject(name, true);
  if (added) FValid = true;
  return added;
}

bool TanDicomFileSet::DeleteInstance(const std::string& sopInstanceUID, const std::string& seriesUID,
                                     const std::string& studyUID, const std::string& patientID) {
  if (!FDicomDir) {
    FLastError = "DICOMDIR is not initialized.";
    return false;
  }
  if (!FDicomDir->HasInstance(sopInstanceUID, seriesUID, studyUID, patientID)) {
    FLastError = "The instance is not found.";
    return true;
  }
  if (FDicomDir->DeleteInstance(sopInstanceUID, seriesUID, studyUID, patientID)) {
    FLastError.clear();
    return true;
  }
  FLastError = "Cannot execute delete operation.";
  return false;
}

bool TanDicomFileSet::FindInstance(const std::string& sopInstanceUID, int32_t* instanceIndex, int32_t* seriesIndex,
                                   int32_t* studyIndex, int32_t* patientIndex, TanIEKind* kind) {
  if (!FDicomDir) {
    FLastError = "DICOMDIR is uninitialized.";
    return false;
  }
  FLastError.clear();
  return FDicomDir->FindInstance(sopInstanceUID, instanceIndex, seriesIndex, studyIndex, patientIndex, kind);
}

bool TanDicomFileSet::DeleteSeries(const std::string& seriesUID, const std::string& studyUID,
                                   const std::string& patientID) {
  if (!FDicomDir) {
    FLastError = "DICOMDIR is not initialized.";
    return false;
  }
  const int32_t result = FDicomDir->DeleteSeries(seriesUID, studyUID, patientID);
  if (result == 1) {
    FLastError.clear();
    return true;
  }
  if (result == -1) {
    FLastError = "The series was not found.";
    return true;
  }
  FLastError = "Cannot execute an operation deleting series.";
  return false;
}

bool TanDicomFileSet::Refresh() {
  if (!FDicomDir) {
    FLastError = "DICOMDIR is not initialized.";
    return false;
  }
  if (FDicomDir->Refresh()) {
    FLastError.clear();
    return true;
  }
  FLastError = "Cannot refresh the object.";
  return false;
}

bool TanDicomFileSet::IsOwnDicomDir() const { return FDicomDir && FDicomDir->IsOwnDicomDir(); }

uint32_t TanDicomFileSet::GetDicomDirLength() {
  if (!FDicomDir) return 0;
  TanCurrentFolder current(FFolderWithSeparator);
  return FDicomDir->GetFileLength();
}

void TanDicomFileSet::Close() {
  FDicomDir.reset();
  Minimize();
  FValid = false;
}

bool TanDicomFileSet::BuildStacks(bool rebuild) {
  if (!FValid || !FDicomDir) {
    FLastError = kNotInitialized;
    return false;
  }
  {
    TanCurrentFolder current(FFolderWithSeparator);
    const int32_t total = FDicomDir->GetSeriesCount();
    int32_t n = 0;
    if (rebuild)
      for (TanPatientIE* patient : FDicomDir->Patients())
        for (TanStudyIE* study : patient->FStudies)
          for (TanSeriesIE* series : study->FSeries) {
            RebuildSeriesStacks(*series);
            Progress(++n, total);
            Minimize();
          }
  }
  FLastError.clear();
  return true;
}

bool TanDicomFileSet::AddPixelDataInfo(const std::string& path) {
  TanDicomFileObject file;
  if (!file.LoadFromFile(path, false).empty()) return false;
  if (!file.BuildPrivatePixelDataInfo()) return false;
  // The writer fills a temporary beside the image and renames it over the image only when the
  // whole file is written: the image is never missing, and no other copy is left behind.
  return file.SaveToFile(path);
}

bool TanDicomFileSet::BuildPrivatePixelDataInfo() {
  if (!FValid || !FDicomDir) {
    FLastError = "The structure \"Dicom File Set\" is not initialized.";
    return false;
  }
  FLastError.clear();
  bool ok = true;
  std::string unreachable;
  {
    TanCurrentFolder current(FFolderWithSeparator);
    const std::string folder = ORN_std::ResolvedFolder(FFolder);
    const int32_t total = FDicomDir->GetImageCount();
    int32_t k = 0;
    for (TanPatientIE* patient : FDicomDir->Patients()) {
      if (!ok) break;
      for (TanStudyIE* study : patient->FStudies)
        for (TanSeriesIE* series : study->FSeries)
          for (TanImageIE* image : series->FImages) {
            const std::string fileID = image->GetReferencedFileID();
            const std::string path = FFolderWithSeparator + SafePathOfFileID(fileID);
            // Only a regular file inside the folder is rewritten; through a symbolic link its
            // target is, so the link stays a link.
            std::string target;
            const bool safe = IsSafeReferencedFileID(fileID);
            if (safe && ORN_std::IsRegularFileInside(folder, path, &target)) {
              if (!AddPixelDataInfo(target)) ok = false;
            } else {
              // A missing file fails as one that cannot be read; one that is there but out
              // of reach is named.
              if (unreachable.empty() && (!safe || PathExists(path))) unreachable = fileID;
              ok = false;
            }
            ++k;
            if (OnFileDone) OnFileDone(total, k, path.c_str());
            Progress(k, total);
            Minimize();
          }
    }
  }
  if (!ok) FLastError = "Unable to build some Private Pixel Data Info objects.";
  if (!unreachable.empty()) FLastError += " The file \"" + unreachable + "\" is out of reach of the file set.";
  return ok;
}

bool TanDicomFileSet::SaveDicomDir(bool asynchronous) {
  if (!FValid || !FDicomDir) {
    FLastError = kNotInitialized;
    return false;
  }
  // The new DICOMDIR replaces the old one only once it is completely written.
  const std::string path = FFolderWithSeparator + "DICOMDIR";
  {
    TanCurrentFolder current(FFolderWithSeparator);
    FLastError = FDicomDir->SaveToFile(path, asynchronous);
  }
  Progress(1, 1);
  const bool saved = FLastError.empty();
  // Series written without stacks are named; the DICOMDIR of the others is saved.
  if (saved) FLastError = FDicomDir->GetStackReport();
  return saved;
}

bool TanDicomFileSet::SaveToBlob(void* buffer) {
  if (FValid && FDicomDir) {
    TanCurrentFolder current(FFolderWithSeparator);
    FLastError = FDicomDir->SaveToBlob(buffer);
  } else {
    FLastError = kNotInitialized;
  }
  Progress(1, 1);
  return FLastError.empty();
}

}  // namespace ORN_dicom
