// The local file-set proxy: opens the process-wide DICOMDIR path into a file set and adds the
// key-image temporary files of a folder to it; the host-only operations of a session answer
// "not supported". It holds no state of its own.
#pragma once

#include <string>

#include "fileset/proxy/iDICOM_FILE_SET_PROXY.h"

namespace ORN_dicom_impl {

class TanDICOMFileSetProxyImplementation : public ORN_dicom::iDICOM_FILE_SET_PROXY {
 public:
  // The extension of the key-image temporary files that SaveKeyObjects takes.
  static constexpr const char* kKeyImageMask = "*.ornkitmp";
  // How often a key-image file is claimed before it is given up (a file that vanished or
  // whose attributes cannot be written must not hold the pass).
  static constexpr int kClaimAttempts = 20;

 protected:
  int32_t LoadFileSet(ORN_dicom::TanDicomFileSet* fileSet, bool flag) override;
  int32_t GetStartSelection(char* patientID, char* studyUID, char* seriesUID, int32_t* stackIndex) override;
  bool IsAvailable() override;
  int32_t SaveKeyObjects(const char* folder, platform::WindowHandle notify) override;
  int32_t ShowPatientList() override;
  int32_t FirstPatient() override;
  int32_t LastPatient() override;
  int32_t NextPatient() override;
  int32_t PreviousPatient() override;
  int32_t GetPatientPosition(int32_t* count, int32_t* position) override;
  int32_t ShowStudyAttachments(const char* studyUID) override;
  int32_t NotifySeriesDisplayed(const char* patientID, const char* studyUID, const char* seriesUID,
                                uint8_t flag) override;
  int32_t GetNextMessage(char* buffer) override;
  int32_t GetPatientStudyStatuses(const char* patientID, const char** text, int32_t* length) override;
  int32_t SetStudyStatus(const char* studyUID, uint8_t statusID) override;
  int32_t GetStudyStatusDefinitions(char* folder, const char** text, int32_t* length) override;
  int32_t ReleaseBuffer(const char* text) override;

 private:
  // Adds one ready key-image file to the file set and saves its DICOMDIR; the file's code.
  int32_t SaveKeyObject(ORN_dicom::TanDicomFileSet& fileSet, const std::string& path);
};

}  // namespace ORN_dicom_impl
