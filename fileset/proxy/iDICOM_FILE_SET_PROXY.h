// The file-set proxy: the one door through which the main window opens the file set, and the
// host-only operations of a session (patient navigation in the host's list, host messages,
// study statuses, study attachments, key objects). The implementation's operations are
// protected virtual functions in slot order; callers use the public Call members. Operations
// return the proxy codes of ProxyCodes.h and never let an exception out.
#pragma once

#include <cstdint>

#include "platform/windows/WindowTypes.h"

namespace ORN_dicom {
class TanDicomFileSet;
}  // namespace ORN_dicom

namespace ORN_dicom_impl {

class iDICOM_FILE_SET_PROXY_PROTECTED {
 protected:
  ~iDICOM_FILE_SET_PROXY_PROTECTED() = default;

  virtual int32_t LoadFileSet(ORN_dicom::TanDicomFileSet* fileSet, bool flag) = 0;
  // Three buffers of 65 bytes (64 characters and a zero); `stackIndex` is not used.
  virtual int32_t GetStartSelection(char* patientID, char* studyUID, char* seriesUID, int32_t* stackIndex) = 0;
  virtual bool IsAvailable() = 0;
  virtual int32_t SaveKeyObjects(const char* folder, platform::WindowHandle notify) = 0;
  virtual int32_t ShowPatientList() = 0;
  virtual int32_t FirstPatient() = 0;
  virtual int32_t LastPatient() = 0;
  virtual int32_t NextPatient() = 0;
  virtual int32_t PreviousPatient() = 0;
  // In: the caller's values; out (on 0 only): the number of patients in the host's list and
  // the position of the current one.
  virtual int32_t GetPatientPosition(int32_t* count, int32_t* position) = 0;
  virtual int32_t ShowStudyAttachments(const char* studyUID) = 0;
  virtual int32_t NotifySeriesDisplayed(const char* patientID, const char* studyUID, const char* seriesUID,
                                        uint8_t flag) = 0;
  // `buffer` holds 256 bytes.
  virtual int32_t GetNextMessage(char* buffer) = 0;
  // The text stays the host's until it is given back with ReleaseBuffer.
  virtual int32_t GetPatientStudyStatuses(const char* patientID, const char** text, int32_t* length) = 0;
  virtual int32_t SetStudyStatus(const char* studyUID, uint8_t statusID) = 0;
  // `folder` holds 255 bytes for a zero-terminated text.
  virtual int32_t GetStudyStatusDefinitions(char* folder, const char** text, int32_t* length) = 0;
  virtual int32_t ReleaseBuffer(const char* text) = 0;
};

}  // namespace ORN_dicom_impl

namespace ORN_dicom {

class iDICOM_FILE_SET_PROXY : public ORN_dicom_impl::iDICOM_FILE_SET_PROXY_PROTECTED {
 public:
  virtual ~iDICOM_FILE_SET_PROXY() = default;

  int32_t CallLoadFileSet(TanDicomFileSet* fileSet, bool flag) { return LoadFileSet(fileSet, flag); }
  int32_t CallGetStartSelection(char* patientID, char* studyUID, char* seriesUID, int32_t* stackIndex) {
    return GetStartSelection(patientID, studyUID, seriesUID, stackIndex);
  }
  bool CallIsAvailable() { return IsAvailable(); }
  int32_t CallSaveKeyObjects(const char* folder, platform::WindowHandle notify) {
    return SaveKeyObjects(folder, notify);
  }
  int32_t CallShowPatientList() { return ShowPatientList(); }
  int32_t CallFirstPatient() { return FirstPatient(); }
  int32_t CallLastPatient() { return LastPatient(); }
  int32_t CallNextPatient() { return NextPatient(); }
  int32_t CallPreviousPatient() { return PreviousPatient(); }
  int32_t CallGetPatientPosition(int32_t* count, int32_t* position) { return GetPatientPosition(count, position); }
  int32_t CallShowStudyAttachments(const char* studyUID) { return ShowStudyAttachments(studyUID); }
  int32_t CallNotifySeriesDisplayed(const char* patientID, const char* studyUID, const char* seriesUID,
                                    uint8_t flag) {
    return NotifySeriesDisplayed(patientID, studyUID, seriesUID, flag);
  }
  int32_t CallGetNextMessage(char* buffer) { return GetNextMessage(buffer); }
  int32_t CallGetPatientStudyStatuses(const char* patientID, const char** text, int32_t* length) {
    return GetPatientStudyStatuses(patientID, text, length);
  }
  int32_t CallSetStudyStatus(const char* studyUID, uint8_t statusID) { return SetStudyStatus(studyUID, statusID); }
  int32_t CallGetStudyStatusDefinitions(char* folder, const char** text, int32_t* length) {
    return GetStudyStatusDefinitions(folder, text, length);
  }
  int32_t CallReleaseBuffer(const char* text) { return ReleaseBuffer(text); }
};

}  // namespace ORN_dicom
