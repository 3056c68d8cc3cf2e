#include "fileset/dicomdir/RecordTree.h"

namespace ORN_dicom::record_tree {

namespace {

template <class T>
TanDirectoryRecord* Put(TanIESet<T>& set, iDDE* item) {
  return set.AppendFromItem(item);
}

// The instance-level types that a TOPIC and a SERIES share.
template <class P>
TanDirectoryRecord* SharedInstance(P& p, const std::string& type, iDDE* item) {
  if (type == "IMAGE") return Put(p.FImages, item);
  if (type == "OVERLAY") return Put(p.FOverlays, item);
  if (type == "MODALITY LUT") return Put(p.FModalityLuts, item);
  if (type == "VOI LUT") return Put(p.FVoiLuts, item);
  if (type == "CURVE") return Put(p.FCurves, item);
  if (type == "STORED PRINT") return Put(p.FStoredPrints, item);
  if (type == "RT DOSE") return Put(p.FRtDoses, item);
  if (type == "RT STRUCTURE SET") return Put(p.FRtStructureSets, item);
  if (type == "RT PLAN") return Put(p.FRtPlans, item);
  if (type == "RT TREAT RECORD") return Put(p.FRtTreatmentRecords, item);
  if (type == "PRESENTATION") return Put(p.FPresentations, item);
  if (type == "WAVEFORM") return Put(p.FWaveforms, item);
  if (type == "SR DOCUMENT") return Put(p.FSrDocuments, item);
  if (type == "KEY OBJECT DOC") return Put(p.FKeyObjectDocs, item);
  if (type == "PRIVATE") return Put(p.FPrivateRecords, item);
  return nullptr;
}

TanDirectoryRecord* SeriesChild(TanSeriesIE& s, const std::string& type, iDDE* item) {
  if (TanDirectoryRecord* r = SharedInstance(s, type, item)) return r;
  if (type == "SPECTROSCOPY") return Put(s.FSpectroscopies, item);
  if (type == "RAW DATA") return Put(s.FRawData, item);
  if (type == "REGISTRATION") return Put(s.FRegistrations, item);
  if (type == "FIDUCIAL") return Put(s.FFiducials, item);
  if (type == "ENCAP DOC") return Put(s.FEncapsulatedDocs, item);
  if (type == "VALUE MAP") return Put(s.FValueMaps, item);
  if (type == "STEREOMETRIC") return Put(s.FStereometrics, item);
  return nullptr;
}

}  // namespace

bool IsPatient(const TanDirectoryRecord& record) { return dynamic_cast<const TanPatientIE*>(&record) != nullptr; }
bool IsPrivate(const TanDirectoryRecord& record) { return dynamic_cast<const TanPrivateIE*>(&record) != nullptr; }

TanDirectoryRecord* AppendChildFromItem(TanDirectoryRecord& parent, const std::string& type, iDDE* item) {
  if (type.empty()) return nullptr;
  if (auto* p = dynamic_cast<TanPatientIE*>(&parent)) {
    if (type == "STUDY") return Put(p->FStudies, item);
    if (type == "HL7 STRUC DOC") return Put(p->FHL7StrucDocs, item);
    if (type == "PRIVATE") return Put(p->FPrivateRecords, item);
    return nullptr;
  }
  if (auto* s = dynamic_cast<TanStudyIE*>(&parent)) {
    if (type == "SERIES") return Put(s->FSeries, item);
    if (type == "VISIT") return Put(s->FVisits, item);
    if (type == "RESULTS") return Put(s->FResults, item);
    if (type == "STUDY COMPONENT") return Put(s->FStudyComponents, item);
    if (type == "PRIVATE") return Put(s->FPrivateRecords, item);
    return nullptr;
  }
  if (auto* s = dynamic_cast<TanSeriesIE*>(&parent)) return SeriesChild(*s, type, item);
  if (auto* t = dynamic_cast<TanTopicIE*>(&parent)) {
    if (type == "STUDY") return Put(t->FStudies, item);
    if (type == "SERIES") return Put(t->FSeries, item);
    return SharedInstance(*t, type, item);
  }
  if (auto* r = dynamic_cast<TanResultIE*>(&parent)) {
    if (type == "INTERPRETATION") return Put(r->FInterpretations, item);
    if (type == "PRIVATE") return Put(r->FPrivateRecords, item);
    return nullptr;
  }
  if (type != "PRIVATE") return nullptr;
  // A PRIVATE record takes no PRIVATE children: such nesting has no end of its own.
  if (IsPrivate(parent)) return nullptr;
  if (auto* h = dynamic_cast<TanHangingProtocolIE*>(&parent)) return Put(h->FHangingProtocolPrivateRecords, item);
  if (auto* h = dynamic_cast<TanHL7StrucDocIE*>(&parent)) return Put(h->FPrivateRecords, item);
  if (auto* i = dynamic_cast<TanInstatnceBasis*>(&parent)) return Put(i->FPrivateRecords, item);
  if (auto* v = dynamic_cast<TanVisitIE*>(&parent)) return Put(v->FPrivateRecords, item);
  if (auto* c = dynamic_cast<TanStudyComponentIE*>(&parent)) return Put(c->FPrivateRecords, item);
  if (auto* n = dynamic_cast<TanInterpretationIE*>(&parent)) return Put(n->FPrivateRecords, item);
  return nullptr;
}

}  // namespace ORN_dicom::record_tree
