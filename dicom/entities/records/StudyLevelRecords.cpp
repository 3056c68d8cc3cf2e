#include "dicom/entities/records/StudyLevelRecords.h"

#include "dicom/entities/records/TanRecordFiller.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {

TanHangingProtocolIE::TanHangingProtocolIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("HANGING PROTOCOL");
  TanRecordFiller fill(*this, file);
  fill.CopyWhenNotEmpty(0x00080005u);
  for (uint32_t tag : {0x00720002u, 0x00720004u, 0x00720006u, 0x00720008u, 0x0072000Au}) fill.CopyOrEmpty(tag);
  fill.CopyOrEmptySequence(0x0072000Cu);
  fill.CopyOrEmptySequence(0x0072000Eu);
  fill.CopyOrNumber(0x00720014u, 1);
}

void TanHangingProtocolIE::ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const {
  FHangingProtocolPrivateRecords.ForEach(visit);
}

TanHL7StrucDocIE::TanHL7StrucDocIE(TanDicomFileObject& file) {
  TakeReferencedFileKeys(*this, file);
  SetRecordType("HL7 STRUC DOC");
  TanRecordFiller fill(*this, file);
  fill.CopyWhenNotEmpty(0x00080005u);
  fill.CopyOrEmpty(0x0040E001u);
  fill.CopyOrEmpty(0x0040E004u);
  fill.CopyOrEmptySequence(0x0040E006u);
  fill.CopyOrEmpty(0x00420010u);
}

void TanHL7StrucDocIE::ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const {
  FPrivateRecords.ForEach(visit);
}

void TanResultIE::ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const {
  FInterpretations.ForEach(visit);
  FPrivateRecords.ForEach(visit);
}

}  // namespace ORN_dicom
