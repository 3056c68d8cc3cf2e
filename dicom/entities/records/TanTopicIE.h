// The "TOPIC" record: groups studies, series and instances of a DICOMDIR under a topic at the
// root. Topics are only read from a DICOMDIR and written back unchanged; their sets carry no
// parent link, so a series below a topic reaches no study.
#pragma once

#include "base/memory/HeapAllocated.h"
#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/records/TanIESet.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"

namespace ORN_dicom {

class TanTopicIE : public nalloc::HeapAllocated<TanTopicIE>, public TanDirectoryRecord {
 public:
  // Over an item read from a DICOMDIR. An item without elements, or none, gets (0004,1430)
  // "TOPIC" and the four topic attributes, empty.
  explicit TanTopicIE(iDDE* item = nullptr);
  ~TanTopicIE() override;

  // True when all seventeen sets are empty.
  bool IsEmpty() const;

  void ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const override;

  TanIESet<TanStudyIE> FStudies;
  TanIESet<TanSeriesIE> FSeries;
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
  TanIESet<TanPrivateIE> FPrivateRecords;

 private:
  template <class F>
  void ForEachSet(F&& visit) const {
    visit(FStudies);
    visit(FSeries);
    visit(FImages);
    visit(FOverlays);
    visit(FModalityLuts);
    visit(FVoiLuts);
    visit(FCurves);
    visit(FStoredPrints);
    visit(FRtDoses);
    visit(FRtStructureSets);
    visit(FRtPlans);
    visit(FRtTreatmentRecords);
    visit(FPresentations);
    visit(FWaveforms);
    visit(FSrDocuments);
    visit(FKeyObjectDocs);
    visit(FPrivateRecords);
  }
};

}  // namespace ORN_dicom
