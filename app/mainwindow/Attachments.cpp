// Study attachments (files in "Attachment/<Study Instance UID>" beside the executable, or the
// host's in a session) and the patient buttons of a session, which ask the host.
#include "app/mainwindow/TFormApplication.h"
#include "fileset/proxy/FileAccessProxies.h"
#include "fileset/proxy/ReferencedFile.h"
#include "platform/com/Library.h"
#include "platform/files/FileAttributes.h"

namespace vistrel_main {

void TFormApplication::OpenStudyAttachments(const std::string& uid) {
  std::string folder = ExecutableFolder();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  // The UID becomes a folder name: only a real UID may, never a path.
  if (folder.empty() || uid.empty() || !ORN_dicom::IsDicomUID(uid)) return;
  const std::string path = folder + "Attachment/" + uid;
  const uint32_t attributes = platform::GetFileAttributes(path);
  if (attributes == platform::kInvalidFileAttributes || !(attributes & platform::attr::Directory)) return;
  dlgOpenAttachments->InitialDir = platform::Utf8ToWide(path);
  dlgOpenAttachments->FileName.clear();
  if (!dlgOpenAttachments->Execute() || dlgOpenAttachments->FileName.empty()) return;
  ShellOpenFile(platform::WideToUtf8(dlgOpenAttachments->FileName));
}

void TFormApplication::OpenHostStudyAttachments(const char* uid) {
  if (!uid) return;
  if (ORN_dicom::iDICOM_FILE_SET_PROXY* proxy = ORN_dicom::GetFileSetProxy()) proxy->CallShowStudyAttachments(uid);
}

namespace {

// The common steps of the host's patient buttons: settle the key images, then ask the host.
int AskHost(TFormApplication& form, int32_t (ORN_dicom::iDICOM_FILE_SET_PROXY::*operation)()) {
  form.CheckTemporaryKeyImages();
  ORN_dicom::iDICOM_FILE_SET_PROXY* proxy = ORN_dicom::GetFileSetProxy();
  return proxy ? (proxy->*operation)() : 0;
}

}  // namespace

int TFormApplication::HostNextPatient(TObject*) { return AskHost(*this, &ORN_dicom::iDICOM_FILE_SET_PROXY::CallNextPatient); }
int TFormApplication::HostPreviousPatient(TObject*) {
  return AskHost(*this, &ORN_dicom::iDICOM_FILE_SET_PROXY::CallPreviousPatient);
}
int TFormApplication::HostFirstPatient(TObject*) { return AskHost(*this, &ORN_dicom::iDICOM_FILE_SET_PROXY::CallFirstPatient); }
int TFormApplication::HostLastPatient(TObject*) { return AskHost(*this, &ORN_dicom::iDICOM_FILE_SET_PROXY::CallLastPatient); }
int TFormApplication::HostShowPatientList(TObject*) {
  // Any process may bring its window to the front here; nothing to allow on this platform.
  return AskHost(*this, &ORN_dicom::iDICOM_FILE_SET_PROXY::CallShowPatientList);
}

}  // namespace vistrel_main
