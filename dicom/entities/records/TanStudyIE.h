// The "STUDY" record: the study's attributes for the DICOMDIR and its series, visits, results,
// study components and PRIVATE records. Its series set hands every series a parent link that
// yields the study.
#pragma once

#include <cstdint>
#include <string>

#include "base/memory/HeapAllocated.h"
#include "dicom/entities/records/StudyLevelRecords.h"
#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/records/TanIESet.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/TanSeriesIE.h"

namespace ORN_dicom {

class TanDicomFileObject;

class TanStudyIE : public nalloc::HeapAllocated<TanStudyIE>, public TanDirectoryRecord {
 public:
  static constexpr const char* kKeyImageSeriesDescription = "Key Image Series";
  static constexpr const char* kKeyImageSeriesUIDRoot = "2.25.40263187551.0";

  // From a parsed file; throws std::invalid_argument "Cannot find Study Instance UID
  // (0020,000D).".
  explicit TanStudyIE(TanDicomFileObject& file);
  // Over an item read from a DICOMDIR (null: an empty item).
  explicit TanStudyIE(iDDE* item);
  ~TanStudyIE() override;

  std::string GetStudyDate() const { return GetText(0x00080020u); }
  void SetStudyDate(const std::string& date) { SetText(0x00080020u, date); }
  std::string GetStudyTime() const { return GetText(0x00080030u); }
  void SetStudyTime(const std::string& time) { SetText(0x00080030u, time); }
  std::string GetStudyDescription() const { return GetText(0x00081030u); }
  std::string GetStudyInstanceUID() const { return GetText(0x0020000Du); }
  std::string GetStudyID() const { return GetText(0x00200010u); }
  std::string GetAccessionNumber() const { return GetText(0x00080050u); }
  std::string GetReferringPhysicianName() const { return GetText(0x00080090u); }
  // "ISO_IR 6" when absent or blank.
  std::string GetSpecificCharacterSet() const;
  std::wstring GetStudyDescriptionW() const { return GetWideText(GetSpecificCharacterSet(), 0x00081030u); }
  std::wstring GetStudyIDW() const { return GetWideText(GetSpecificCharacterSet(), 0x00200010u); }
  std::wstring GetAccessionNumberW() const { return GetWideText(GetSpecificCharacterSet(), 0x00080050u); }

  int32_t GetImageCount() const;
  int32_t GetStackCount() const;
  // The modalities of the series, each once in order of first use, joined by ",".
  std::string GetModalitiesInStudy() const;
  // The series, visit, results and study-component sets are all empty.
  bool IsEmpty() const;
  // Position of the first series described "Key Image Series" whose UID holds the system's
  // key-image root; -1 when none.
  int32_t FindKeyImageSeries() const;
  int32_t GetMaxSeriesNumber() const;
  // Position of the first series with the UID; -1 when none.
  int32_t FindSeriesByUID(const std::string& uid) const;
  // Orders the series set through the installed series work (SeriesWork.h).
  void OrganizeSeries();

  void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const override;

  TanIESet<TanSeriesIE> FSeries;
  TanIESet<TanVisitIE> FVisits;
  TanIESet<TanResultIE> FResults;
  TanIESet<TanStudyComponentIE> FStudyComponents;
  TanIESet<TanPrivateIE> FPrivateRecords;
};

}  // namespace ORN_dicom
