#include "app/mainwindow/EngineFileLists.h"

#include <stdexcept>

#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/proxy/ReferencedFile.h"
#include "fileset/set/TanDicomFileSet.h"
#include "fileset/stacks/TanStackBuilder.h"

namespace vistrel_main {

std::string LossyImagePath(const std::string& path) {
  if (path.find(kKeyImageExtension) != std::string::npos) return path;
  const size_t slash = path.rfind('/');
  const size_t at = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, at) + kLossyFolder + "/" + path.substr(at);
}

bool FillEngineFileLists(ORN_dicom::TanDicomFileSet* fileSet, int32_t patient, int32_t study, int32_t series,
                         int32_t stack, bool lossy, std::ostream& images, std::ostream& presentationStates,
                         std::ostream& frames, std::string& key) {
  if (!fileSet || !fileSet->FValid || !fileSet->GetDicomDir()) return false;
  ORN_dicom::TanStudyIE* studyRecord = fileSet->GetDicomDir()->Patients().At(patient)->FStudies.At(study);
  ORN_dicom::TanSeriesIE* seriesRecord = studyRecord->FSeries.At(series);
  ORN_dicom::TanPrivateIE* stackRecord = seriesRecord->Stacks().At(stack);
  const std::string& folder = fileSet->GetFolderWithSeparator();

  // The lists are made whole before anything is written, so a refused stack writes nothing.
  std::string imageList, frameList, stateList;
  const int32_t count = stackRecord->GetStackImageCount();
  for (int32_t j = 0; j < count; ++j) {
    const int32_t index = stackRecord->GetStackImageIndex(j);
    if (index < 0 || index >= seriesRecord->FImages.Count()) return false;
    std::string path;
    if (!ORN_dicom::ReferencedFilePath(folder, seriesRecord->FImages.At(index)->GetReferencedFileID(), path))
      return false;
    imageList += (lossy ? LossyImagePath(path) : path) + '\n';
    const int32_t frame = stackRecord->GetStackFrameNumber(j);
    frameList += std::to_string(frame < 0 ? 0 : frame) + '\n';
  }
  for (int32_t k = 0; k < stackRecord->GetPresentationRefCount(); ++k) {
    int32_t seriesIndex = -1, presentationIndex = -1;
    if (!stackRecord->GetPresentationRef(k, seriesIndex, presentationIndex)) continue;
    if (seriesIndex < 0 || seriesIndex >= studyRecord->FSeries.Count()) continue;
    const auto& states = studyRecord->FSeries.At(seriesIndex)->FPresentations;
    if (presentationIndex < 0 || presentationIndex >= states.Count()) continue;
    std::string path;
    if (!ORN_dicom::ReferencedFilePath(folder, states.At(presentationIndex)->GetReferencedFileID(), path)) continue;
    stateList += path + '\n';
  }

  if (stackRecord->GetStackKey().empty()) stackRecord->SetStackKey(ORN_dicom::CreateGuidString());
  key = stackRecord->GetStackKey();
  images << imageList << '\0';
  frames << frameList << '\0';
  presentationStates << stateList << '\0';
  return true;
}

}  // namespace vistrel_main
