#include "fileset/dicomdir/TanDicomDirObject.h"

#include "dicom/io/file/TanDicomFileObject.h"
#include "fileset/dicomdir/RecordTree.h"
#include "fileset/stacks/TanStackBuilder.h"

namespace ORN_dicom {

namespace {

// Takes the lent elements back from the temporary file object on every way out.
class LentElements {
 public:
  explicit LentElements(TanDicomFileObject& file) : FFile(file) {}
  ~LentElements() { FFile.FDataSet.ReleaseAll(); }
  LentElements(const LentElements&) = delete;
  LentElements& operator=(const LentElements&) = delete;

 private:
  TanDicomFileObject& FFile;
};

}  // namespace

TanDicomDirObject::TanDicomDirObject()
    : FMetaInfo(std::make_unique<TanFileMetaInfo>()),
      FIdentification(std::make_unique<TanFileSetIdentification>()),
      FDirectoryInfo(std::make_unique<TanDirectoryInformation>()) {
  FValid = FMetaInfo->FValid;
}

// The items' file positions are taken before the identification takes its element out.
TanDicomDirObject::TanDicomDirObject(TanDicomFileObject& file, TProgressHandler progress)
    : TanDicomDirObject(file, std::move(progress), TanDirRecSequence::FirstItemPosition(file)) {}

TanDicomDirObject::TanDicomDirObject(TanDicomFileObject& file, TProgressHandler progress, uint32_t firstItemPosition)
    : FMetaInfo(std::make_unique<TanFileMetaInfo>(file)),
      FIdentification(std::make_unique<TanFileSetIdentification>(file)),
      FDirectoryInfo(std::make_unique<TanDirectoryInformation>(file, std::move(progress), firstItemPosition)) {
  FValid = FMetaInfo->FValid && FDirectoryInfo->Records().IsRecordSequence();
}

TanDicomDirObject::~TanDicomDirObject() {
  FDirectoryInfo.reset();
  FIdentification.reset();
  FMetaInfo.reset();
}

std::string TanDicomDirObject::AddFile(const std::string& path) { return FDirectoryInfo->Tree().AddFile(path); }

bool TanDicomDirObject::DeleteInstance(const std::string& sopInstanceUID, const std::string& seriesUID,
                                       const std::string& studyUID, const std::string& patientID) {
  return FDirectoryInfo->Tree().DeleteInstance(sopInstanceUID.c_str(), seriesUID.c_str(), studyUID.c_str(),
                                               patientID.c_str(), nullptr);
}

bool TanDicomDirObject::HasInstance(const std::string& sopInstanceUID, const std::string& seriesUID,
                                    const std::string& studyUID, const std::string& patientID) {
  return FDirectoryInfo->Tree().ContainsInstance(sopInstanceUID.c_str(), seriesUID.c_str(), studyUID.c_str(),
                                                 patientID.c_str());
}

bool TanDicomDirObject::FindInstance(const std::string& sopInstanceUID, int32_t* instanceIndex, int32_t* seriesIndex,
                                     int32_t* studyIndex, int32_t* patientIndex, TanIEKind* kind) {
  return FDirectoryInfo->Tree().FindInstance(sopInstanceUID.c_str(), instanceIndex, seriesIndex, studyIndex,
                                             patientIndex, kind);
}

int32_t TanDicomDirObject::DeleteSeries(const std::string& seriesUID, const std::string& studyUID,
                                       const std::string& patientID) {
  return FDirectoryInfo->Tree().DeleteSeries(seriesUID.c_str(), studyUID.c_str(), patientID.c_str());
}

bool TanDicomDirObject::Refresh() { return FDirectoryInfo && FDirectoryInfo->Tree().OrganizeAllStudies(); }

int32_t TanDicomDirObject::GetSeriesCount() const {
  int32_t n = 0;
  for (TanPatientIE* p : Patients()) n += p->GetSeriesCount();
  return n;
}

int32_t TanDicomDirObject::GetStackCount() const {
  int32_t n = 0;
  for (TanPatientIE* p : Patients()) n += p->GetStackCount();
  return n;
}

int32_t TanDicomDirObject::GetImageCount() const {
  int32_t n = 0;
  for (TanPatientIE* p : Patients()) n += p->GetImageCount();
  return n;
}

bool TanDicomDirObject::IsOwnDicomDir() const {
  if (!FMetaInfo) return false;
  if (FMetaInfo->FImplementationClassUID != TanFileMetaInfo::kOwnImplementationClassUID ||
      FMetaInfo->FImplementationVersionName != TanFileMetaInfo::kOwnImplementationVersionName)
    return false;
  return GetImageCount() == 0 || GetStackCount() > 0;
}

void TanDicomDirObject::EnsureStacks() {
  FStackReport.clear();
  for (TanPatientIE* patient : Patients())
    for (TanStudyIE* study : patient->FStudies)
      for (TanSeriesIE* series : study->FSeries) {
        if (series->GetImageCount() == 0 || !series->FPrivateRecords.IsEmpty()) continue;
        // One series that cannot be stacked is reported and written without stacks.
        bool built = false;
        try {
          built = RebuildSeriesStacks(*series);
        } catch (...) {
        }
        if (!built) {
          if (!FStackReport.empty()) FStackReport += ' ';
          FStackReport += "Cannot build the stacks of the series \"" + series->GetSeriesInstanceUID() + "\".";
        }
      }
}

void TanDicomDirObject::Render(TanDicomFileObject& file) {
  EnsureStacks();
  file.FDataSet.SetTransferSyntax(2);
  FMetaInfo->WriteTo(file);
  FIdentification->WriteTo(file);
  FDirectoryInfo->WriteDirectoryRecords(file);
}

std::string TanDicomDirObject::SaveToFile(const std::string& path, bool asynchronous) {
  const std::string failure = "Cannot save the file \"" + path + "\".";
  TanDicomFileObject file;
  LentElements lent(file);
  try {
    Render(file);
    return file.SaveAs(path, asynchronous) ? std::string() : failure;
  } catch (...) {
    return failure;
  }
}

std::string TanDicomDirObject::SaveToBlob(void* buffer) {
  TanDicomFileObject file;
  LentElements lent(file);
  try {
    Render(file);
    return buffer != nullptr && file.WriteToMemory(buffer) ? std::string() : "Cannot save the blob.";
  } catch (...) {
    return "Cannot save the blob.";
  }
}

uint32_t TanDicomDirObject::GetFileLength() {
  TanDicomFileObject file;
  LentElements lent(file);
  try {
    Render(file);
    return file.GetEncodedSize();
  } catch (...) {
    return 0;
  }
}

}  // namespace ORN_dicom
