// Finding, removing and maintaining records. Instances are found by the Referenced SOP
// Instance UID in File of their records (a blank key finds nothing); patients, studies and
// series by Patient ID, Study Instance UID and Series Instance UID, where an empty key matches
// every record of its level.
#include <type_traits>

#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/entities/tree/TanGeneralDirectoryInfo.h"

namespace ORN_dicom {
namespace {

struct Found {
  TanIEKind kind = ieNone;
  int32_t index = -1;
};

// Searches the instance sets of kinds 11 to 24, then 27 to 33, then the stacks (kind 25).
Found FindInSeries(TanSeriesIE& series, const std::string& uid) {
  Found found;
  series.ForEachRecordSet([&](TanIEKind kind, auto& set) {
    if (found.index >= 0 || kind == iePrivate) return;
    const int32_t i = set.FindByReferencedSOPInstanceUID(uid);
    if (i >= 0) found = {kind, i};
  });
  if (found.index < 0) {
    const int32_t i = series.Stacks().FindByReferencedSOPInstanceUID(uid);
    if (i >= 0) found = {iePrivate, i};
  }
  return found;
}

void EraseInSeries(TanSeriesIE& series, const Found& found) {
  series.ForEachRecordSet([&](TanIEKind kind, auto& set) {
    if (kind == found.kind) set.EraseAt(found.index);
  });
}

bool Matches(const std::string& key, const std::string& value) { return key.empty() || key == value; }

}  // namespace

bool TanGeneralDirectoryInfo::DeleteInstance(const char* instanceUID, const char* seriesUID, const char* studyUID,
                                             const char* patientID, TanIEKind* kind) {
  std::string instanceKey, seriesKey, studyKey, patientKey;
  if (!ReadKey(instanceUID, instanceKey) || !ReadKey(seriesUID, seriesKey) || !ReadKey(studyUID, studyKey) ||
      !ReadKey(patientID, patientKey))
    return false;
  FUIDMemos.clear();
  for (int32_t p = 0; p < FPatients.Count(); ++p) {
    TanPatientIE* patient = FPatients.At(p);
    if (!Matches(patientKey, patient->GetPatientID())) continue;
    const auto removeEmptyPatient = [&] {
      if (patient->FStudies.Count() == 0 && patient->FHL7StrucDocs.Count() == 0) FPatients.EraseAt(p);
    };
    const int32_t h = patient->FHL7StrucDocs.FindByReferencedSOPInstanceUID(instanceKey);
    if (h >= 0) {
      ReleaseItems();
      patient->FHL7StrucDocs.EraseAt(h);
      if (kind != nullptr) *kind = ieHL7StrucDoc;
      removeEmptyPatient();
      return true;
    }
    for (int32_t s = 0; s < patient->FStudies.Count(); ++s) {
      TanStudyIE* study = patient->FStudies.At(s);
      if (!Matches(studyKey, study->GetStudyInstanceUID())) continue;
      for (int32_t r = 0; r < study->FSeries.Count(); ++r) {
        TanSeriesIE* series = study->FSeries.At(r);
        if (!Matches(seriesKey, series->GetSeriesInstanceUID())) continue;
        const Found found = FindInSeries(*series, instanceKey);
        if (found.index < 0) continue;
        ReleaseItems();
        EraseInSeries(*series, found);
        if (kind != nullptr) *kind = found.kind;
        if (found.kind == iePresentation)
          study->OrganizeSeries();
        else
          series->Stacks().Clear();
        if (series->IsEmpty()) {
          study->FSeries.EraseAt(r);
          study->OrganizeSeries();
        }
        if (study->IsEmpty()) patient->FStudies.EraseAt(s);
        removeEmptyPatient();
        return true;
      }
    }
  }
  return true;
}

bool TanGeneralDirectoryInfo::ContainsInstance(const char* instanceUID, const char* seriesUID, const char* studyUID,
                                               const char* patientID) {
  std::string instanceKey, seriesKey, studyKey, patientKey;
  if (!ReadKey(instanceUID, instanceKey) || !ReadKey(seriesUID, seriesKey) || !ReadKey(studyUID, studyKey) ||
      !ReadKey(patientID, patientKey))
    return false;
  for (TanPatientIE* patient : FPatients) {
    if (!Matches(patientKey, patient->GetPatientID())) continue;
    if (patient->FHL7StrucDocs.FindByReferencedSOPInstanceUID(instanceKey) >= 0) return true;
    for (TanStudyIE* study : patient->FStudies) {
      if (!Matches(studyKey, study->GetStudyInstanceUID())) continue;
      for (TanSeriesIE* series : study->FSeries) {
        if (!Matches(seriesKey, series->GetSeriesInstanceUID())) continue;
        if (FindInSeries(*series, instanceKey).index >= 0) return true;
      }
    }
  }
  return false;
}

bool TanGeneralDirectoryInfo::FindInstance(const char* instanceUID, int32_t* instanceIndex, int32_t* seriesIndex,
                                           int32_t* studyIndex, int32_t* patientIndex, TanIEKind* kind) {
  std::string instanceKey;
  if (!ReadKey(instanceUID, instanceKey)) return false;
  for (int32_t p = 0; p < FPatients.Count(); ++p) {
    TanPatientIE* patient = FPatients.At(p);
    if (patient->FHL7StrucDocs.FindByReferencedSOPInstanceUID(instanceKey) >= 0) {
      if (seriesIndex != nullptr) *seriesIndex = -1;
      if (studyIndex != nullptr) *studyIndex = -1;
      if (patientIndex != nullptr) *patientIndex = p;
      if (kind != nullptr) *kind = ieHL7StrucDoc;
      return true;
    }
    for (int32_t s = 0; s < patient->FStudies.Count(); ++s) {
      TanStudyIE* study = patient->FStudies.At(s);
      for (int32_t r = 0; r < study->FSeries.Count(); ++r) {
        const Found found = FindInSeries(*study->FSeries.At(r), instanceKey);
        if (found.index < 0) continue;
        if (instanceIndex != nullptr) *instanceIndex = found.index;
        if (seriesIndex != nullptr) *seriesIndex = r;
        if (studyIndex != nullptr) *studyIndex = s;
        if (patientIndex != nullptr) *patientIndex = p;
        if (kind != nullptr) *kind = found.kind;
        return true;
      }
    }
  }
  return false;
}

int32_t TanGeneralDirectoryInfo::DeleteSeries(const char* seriesUID, const char* studyUID, const char* patientID) {
  std::string seriesKey, studyKey, patientKey;
  if (!ReadKey(seriesUID, seriesKey) || !ReadKey(studyUID, studyKey) || !ReadKey(patientID, patientKey)) return 0;
  FUIDMemos.clear();
  int32_t result = -1;
  bool done = false;
  for (int32_t p = 0; p < FPatients.Count() && !done;) {
    TanPatientIE* patient = FPatients.At(p);
    if (!Matches(patientKey, patient->GetPatientID())) {
      ++p;
      continue;
    }
    for (int32_t s = 0; s < patient->FStudies.Count() && !done;) {
      TanStudyIE* study = patient->FStudies.At(s);
      if (!Matches(studyKey, study->GetStudyInstanceUID())) {
        ++s;
        continue;
      }
      for (int32_t r = 0; r < study->FSeries.Count(); ++r) {
        if (!Matches(seriesKey, study->FSeries.At(r)->GetSeriesInstanceUID())) continue;
        try {
          ReleaseItems();
          study->FSeries.EraseAt(r);
          result = 1;
        } catch (...) {
          result = 0;
        }
        done = true;
        break;
      }
      if (study->IsEmpty()) {
        ReleaseItems();
        patient->FStudies.EraseAt(s);
        continue;  // the next study took this position
      }
      if (result == 1) study->OrganizeSeries();
      ++s;
    }
    if (patient->FStudies.Count() == 0 && patient->FHL7StrucDocs.Count() == 0) {
      ReleaseItems();
      FPatients.EraseAt(p);
      continue;
    }
    ++p;
  }
  return result;
}

bool TanGeneralDirectoryInfo::OrganizeAllStudies() {
  try {
    for (TanPatientIE* patient : FPatients)
      for (TanStudyIE* study : patient->FStudies) study->OrganizeSeries();
    ReleaseItems();
    return true;
  } catch (...) {
    return false;
  }
}

bool TanGeneralDirectoryInfo::EnsureStacks(bool build) {
  for (TanPatientIE* patient : FPatients) {
    for (TanStudyIE* study : patient->FStudies) {
      for (TanSeriesIE* series : study->FSeries) {
        if (series->FImages.Count() == 0 || series->Stacks().Count() > 0) continue;
        if (!build) return false;
        ReleaseItems();
        if (!BuildStacks(*series)) return false;
      }
    }
  }
  return true;
}

}  // namespace ORN_dicom
