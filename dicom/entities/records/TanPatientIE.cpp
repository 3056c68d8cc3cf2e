#include "dicom/entities/records/TanPatientIE.h"

#include "dicom/entities/records/TanRecordFiller.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {

TanPatientIE::TanPatientIE(TanDicomFileObject& file) {
  SetRecordType("PATIENT");
  TanRecordFiller fill(*this, file);
  fill.CopyWhenNotEmpty(0x00080005u);
  for (uint32_t tag : {0x00100010u, 0x00100020u, 0x00100030u, 0x00100040u}) fill.CopyOrEmpty(tag);
}

TanPatientIE::TanPatientIE(iDDE* item) : TanDirectoryRecord(item) {}

TanPatientIE::~TanPatientIE() = default;

std::string TanPatientIE::GetSpecificCharacterSet() const {
  const std::string text = GetText(0x00080005u);
  return text.empty() ? "ISO_IR 6" : text;
}

int32_t TanPatientIE::GetImageCount() const {
  int32_t count = 0;
  for (TanStudyIE* s : FStudies) count += s->GetImageCount();
  return count;
}

int32_t TanPatientIE::GetStackCount() const {
  int32_t count = 0;
  for (TanStudyIE* s : FStudies) count += s->GetStackCount();
  return count;
}

int32_t TanPatientIE::GetSeriesCount() const {
  int32_t count = 0;
  for (TanStudyIE* s : FStudies) count += s->FSeries.Count();
  return count;
}

void TanPatientIE::ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const {
  FStudies.ForEach(visit);
  FHL7StrucDocs.ForEach(visit);
  FPrivateRecords.ForEach(visit);
}

}  // namespace ORN_dicom
