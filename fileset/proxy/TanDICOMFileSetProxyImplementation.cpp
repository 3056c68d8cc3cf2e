#include "fileset/proxy/TanDICOMFileSetProxyImplementation.h"

#include "base/files/TanFilesObject.h"
#include "fileset/proxy/FileAccessProxies.h"
#include "fileset/proxy/KeyFileProtocol.h"
#include "fileset/proxy/ProxyCodes.h"
#include "fileset/set/TanDicomFileSet.h"
#include "platform/files/FileAttributes.h"
#include "platform/windows/Messages.h"

namespace ORN_dicom_impl {

using namespace ORN_dicom::proxy_code;

bool TanDICOMFileSetProxyImplementation::IsAvailable() {
  try {
    const std::string path = ORN_dicom::GetLocalDicomDirPath();
    if (path.empty()) return false;
    const uint32_t attributes = platform::GetFileAttributes(path);
    return attributes != platform::kInvalidFileAttributes && (attributes & platform::attr::Directory) == 0;
  } catch (...) {
    return false;
  }
}

int32_t TanDICOMFileSetProxyImplementation::LoadFileSet(ORN_dicom::TanDicomFileSet* fileSet, bool) {
  try {
    if (!IsAvailable()) return kNotPresent;
    int32_t code = kDone;
    const std::string path = ToProxyArgument(ORN_dicom::GetLocalDicomDirPath().c_str(), code);
    if (code != kDone) return code;
    if (!fileSet) return kBadArgument;
    fileSet->OpenDicomDir(path);
    return fileSet->FValid ? kDone : kFailed;
  } catch (...) {
    return kException;
  }
}

int32_t TanDICOMFileSetProxyImplementation::GetStartSelection(char*, char*, char*, int32_t*) {
  // Nothing is selected: the buffers stay as they are.
  return kDone;
}

int32_t TanDICOMFileSetProxyImplementation::SaveKeyObject(ORN_dicom::TanDicomFileSet& fileSet,
                                                          const std::string& path) {
  if (!key_file::IsReady(path)) return -1;
  if (!key_file::Claim(path, kClaimAttempts)) {
    // Not ours after all (it vanished, or its attributes cannot be written): hand it back
    // when it is still there, so that a later pass takes it up again.
    key_file::MakeReady(path);
    return kFailed;
  }
  if (fileSet.AddFile(path) && fileSet.SaveDicomDir(false)) return kDone;
  key_file::MakeReady(path);
  return kFailed;
}

int32_t TanDICOMFileSetProxyImplementation::SaveKeyObjects(const char* folder, platform::WindowHandle notify) {
  try {
    if (!IsAvailable()) return kNotPresent;
    int32_t code = kDone;
    const std::string name = ToProxyArgument(folder, code);
    if (code != kDone) return code;
    ORN_std::TanFilesObject<> files(name, kKeyImageMask, true, false);
    if (files.IsEmpty()) return kDone;
    ORN_dicom::TanDicomFileSet fileSet{std::string()};
    code = LoadFileSet(&fileSet, false);
    if (code != kDone) return code;
    int32_t last = kDone;
    for (int32_t i = 0; i < files.GetCount(); ++i) {
      const int32_t result = SaveKeyObject(fileSet, files.At(i).GetPath());
      if (result < 0) continue;  // not ready: left alone, nothing posted
      last = result;
      platform::PostMessage(notify, kKeyObjectSavedMessage, 0, result);
      platform::ProcessMessages();
    }
    return last;
  } catch (...) {
    return kException;
  }
}

int32_t TanDICOMFileSetProxyImplementation::ShowPatientList() { return kNotSupported; }
int32_t TanDICOMFileSetProxyImplementation::FirstPatient() { return kNotSupported; }
int32_t TanDICOMFileSetProxyImplementation::LastPatient() { return kNotSupported; }
int32_t TanDICOMFileSetProxyImplementation::NextPatient() { return kNotSupported; }
int32_t TanDICOMFileSetProxyImplementation::PreviousPatient() { return kNotSupported; }
int32_t TanDICOMFileSetProxyImplementation::GetPatientPosition(int32_t*, int32_t*) { return kNotSupported; }
int32_t TanDICOMFileSetProxyImplementation::ShowStudyAttachments(const char*) { return kNotSupported; }
int32_t TanDICOMFileSetProxyImplementation::NotifySeriesDisplayed(const char*, const char*, const char*, uint8_t) {
  return kNotSupported;
}
int32_t TanDICOMFileSetProxyImplementation::GetNextMessage(char*) { return kNotSupported; }
int32_t TanDICOMFileSetProxyImplementation::GetPatientStudyStatuses(const char*, const char**, int32_t*) {
  return kNotSupported;
}
int32_t TanDICOMFileSetProxyImplementation::SetStudyStatus(const char*, uint8_t) { return kNotSupported; }
int32_t TanDICOMFileSetProxyImplementation::GetStudyStatusDefinitions(char*, const char**, int32_t*) {
  return kNotSupported;
}
int32_t TanDICOMFileSetProxyImplementation::ReleaseBuffer(const char*) { return kNotSupported; }

}  // namespace ORN_dicom_impl
