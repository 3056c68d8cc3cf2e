// The "PATIENT" record: the patient's attributes for the DICOMDIR, keyed by Patient ID, and
// its studies, HL7 structured documents and PRIVATE records.
#pragma once

#include <cstdint>
#include <string>

#include "base/memory/HeapAllocated.h"
#include "dicom/entities/records/StudyLevelRecords.h"
#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/records/TanIESet.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/TanStudyIE.h"

namespace ORN_dicom {

class TanDicomFileObject;

class TanPatientIE : public nalloc::HeapAllocated<TanPatientIE>, public TanDirectoryRecord {
 public:
  // From a parsed file: (0010,0010), (0010,0020), (0010,0030) and (0010,0040) always present.
  explicit TanPatientIE(TanDicomFileObject& file);
  // Over an item read from a DICOMDIR (null: an empty item).
  explicit TanPatientIE(iDDE* item);
  ~TanPatientIE() override;

  std::string GetPatientName() const { return GetText(0x00100010u); }
  // Replaces the name unchanged (made when a foreign record lacks it).
  void SetPatientName(const std::string& name) { SetText(0x00100010u, name); }
  std::string GetPatientID() const { return GetText(0x00100020u); }
  std::string GetPatientBirthDate() const { return GetText(0x00100030u); }
  std::string GetPatientSex() const { return GetText(0x00100040u); }
  // "ISO_IR 6" when absent or blank.
  std::string GetSpecificCharacterSet() const;
  std::wstring GetPatientNameW() const { return GetWideText(GetSpecificCharacterSet(), 0x00100010u); }
  std::wstring GetPatientIDW() const { return GetWideText(GetSpecificCharacterSet(), 0x00100020u); }

  int32_t GetImageCount() const;
  int32_t GetStackCount() const;
  int32_t GetSeriesCount() const;

  void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const override;

  TanIESet<TanStudyIE> FStudies;
  TanIESet<TanHL7StrucDocIE> FHL7StrucDocs;
  TanIESet<TanPrivateIE> FPrivateRecords;
};

}  // namespace ORN_dicom
