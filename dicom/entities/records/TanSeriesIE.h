// The "SERIES" record: the series' attributes for the DICOMDIR, one ordered set per instance
// record type, the set of its display stacks (PRIVATE records) and the stack builder.
#pragma once

#include <cstdint>
#include <string>

#include "base/memory/HeapAllocated.h"
#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/records/TanIESet.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/TanStacks.h"
#include "dicom/entities/registry/TanIEKind.h"

namespace ORN_dicom {

class TanDicomFileObject;
class TanStudyIE;

class TanSeriesIE : public nalloc::HeapAllocated<TanSeriesIE>, public TanDirectoryRecord {
 public:
  // From a parsed file; throws std::invalid_argument "Cannot find Modality (0008,0060)." or
  // "Cannot find Series Instance UID (0020,000E).".
  explicit TanSeriesIE(TanDicomFileObject& file);
  // Over an item read from a DICOMDIR (null: an empty item).
  explicit TanSeriesIE(iDDE* item);
  // The stacks go first, then the sets from the last to the first.
  ~TanSeriesIE() override;

  std::string GetModality() const { return GetText(0x00080060u); }
  std::string GetSeriesInstanceUID() const { return GetText(0x0020000Eu); }
  // 0 when absent or blank.
  int32_t GetSeriesNumber() const;
  std::string GetSeriesDate() const { return GetText(0x00080021u); }
  void SetSeriesDate(const std::string& date) { SetText(0x00080021u, date); }
  std::string GetSeriesTime() const { return GetText(0x00080031u); }
  void SetSeriesTime(const std::string& time) { SetText(0x00080031u, time); }
  std::string GetSeriesDescription() const { return GetText(0x0008103Eu); }
  std::string GetInstitutionName() const { return GetText(0x00080080u); }
  std::string GetLaterality() const { return GetText(0x00200060u); }
  std::string GetBodyPartExamined() const { return GetText(0x00180015u); }
  std::string GetProtocolName() const { return GetText(0x00181030u); }
  // "ISO_IR 6" when absent or blank.
  std::string GetSpecificCharacterSet() const;
  std::wstring GetProtocolNameW() const { return GetWideText(GetSpecificCharacterSet(), 0x00181030u); }
  std::wstring GetSeriesDescriptionW() const { return GetWideText(GetSpecificCharacterSet(), 0x0008103Eu); }

  int32_t GetImageCount() const { return FImages.Count(); }
  // Every instance kind but IMAGE (STEREOMETRIC included, the stacks not).
  int32_t GetOtherInstanceCount() const;
  int32_t GetInstanceCount() const { return GetImageCount() + GetOtherInstanceCount(); }
  // True when all twenty-two sets, the stacks included, are empty.
  bool IsEmpty() const;

  // The study holding the series, through the parent link; null outside a study.
  TanStudyIE* GetStudy() const;
  TanIESet<TanPrivateIE>& Stacks() { return FPrivateRecords; }
  const TanIESet<TanPrivateIE>& Stacks() const { return FPrivateRecords; }

  // Calls visit(kind, set) for the twenty-two sets in member order (the stacks as iePrivate).
  template <class F>
  void ForEachRecordSet(F&& visit) {
    visit(ieImage, FImages);
    visit(ieOverlay, FOverlays);
    visit(ieModalityLut, FModalityLuts);
    visit(ieVoiLut, FVoiLuts);
    visit(ieCurve, FCurves);
    visit(ieStoredPrint, FStoredPrints);
    visit(ieRtDose, FRtDoses);
    visit(ieRtStructureSet, FRtStructureSets);
    visit(ieRtPlan, FRtPlans);
    visit(ieRtTreatRecord, FRtTreatmentRecords);
    visit(iePresentation, FPresentations);
    visit(ieWaveform, FWaveforms);
    visit(ieSrDocument, FSrDocuments);
    visit(ieKeyObjectDoc, FKeyObjectDocs);
    visit(iePrivate, FPrivateRecords);
    visit(ieSpectroscopy, FSpectroscopies);
    visit(ieRawData, FRawData);
    visit(ieRegistration, FRegistrations);
    visit(ieFiducial, FFiducials);
    visit(ieEncapDoc, FEncapsulatedDocs);
    visit(ieValueMap, FValueMaps);
    visit(ieStereometric, FStereometrics);
  }
  template <class F>
  void ForEachRecordSet(F&& visit) const {
    const_cast<TanSeriesIE*>(this)->ForEachRecordSet([&](TanIEKind kind, const auto& set) { visit(kind, set); });
  }

  // The twenty-one instance sets in DICOMDIR order, then the stacks.
  void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const override;

  TanIESet<TanImageIE> FImages;
  TanIESet<TanOverlayIE> FOverlays;
  TanIESet<TanModalityLutIE> FModalityLuts;
  TanIESet<TanVoiLutIE> FVoiLuts;
  TanIESet<TanCurveIE> FCurves;
  TanIESet<TanStoredPrintIE> FStoredPrints;
  TanIESet<TanRtDoseIE> FRtDoses;
  TanIESet<TanRtStructureSetIE> FRtStructureSets;
  TanIESet<TanRtPlanIE> FRtPlans;
  TanIESet<TanRtTreatmentRecordIE> FRtTreatmentRecords;
  TanIESet<TanPresentationIE> FPresentations;
  TanIESet<TanWaveformIE> FWaveforms;
  TanIESet<TanSrDocumentIE> FSrDocuments;
  TanIESet<TanKeyObjectDocIE> FKeyObjectDocs;
  TanIESet<TanPrivateIE> FPrivateRecords;  // the display stacks
  TanIESet<TanSpectroscopyIE> FSpectroscopies;
  TanIESet<TanRawDataIE> FRawData;
  TanIESet<TanRegistrationIE> FRegistrations;
  TanIESet<TanFiducialIE> FFiducials;
  TanIESet<TanEncapsulatedDocIE> FEncapsulatedDocs;
  TanIESet<TanValueMappingIE> FValueMaps;
  TanIESet<TanSteriometricIE> FStereometrics;
  TanStacks<TanSeriesIE> FStackBuilder;
};

}  // namespace ORN_dicom
