// Placement of patients, studies and series. Each level keeps a fixed order on its records' own
// keys, so that the tree comes out the same whatever order its files are added in:
// - patients by name, then Patient ID (byte order);
// - studies newest first by date and time (an empty date reads as EmptyDateValue, an empty time
//   as EmptyTimeValue, which is midnight), then Study Instance UID;
// - series (grouping setting below 0) by modality runs: the series of one modality stand
//   together in ascending number, date, time and UID, and the runs stand in the order of their
//   first series. A stored series without date or time takes those of its first image.
// A found record takes over a longer (or, at equal length, byte-greater) name, date or time
// and moves to the place its new keys give it.
#include <algorithm>
#include <map>
#include <vector>

#include "dicom/elements/element/iDDE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/entities/registry/TanStrinUID.h"
#include "dicom/entities/tree/TanGeneralDirectoryInfo.h"
#include "fileset/settings/dicom_file_set_ini.h"

namespace ORN_dicom {
namespace {

// An attribute of the file as the record built from it would give it: trimmed, "" when absent.
// A record is only built when no stored one matches, since building and deleting one per file
// costs more than the rest of the placement.
std::string FileText(TanDicomFileObject& file, uint32_t tag) {
  iDDE* e = file.FDataSet.Find(tag);
  return e == nullptr ? std::string() : TrimText(e->GetString());
}

// A found record takes the new text over its own when it is longer, or as long and greater,
// so that the kept text does not depend on which file came first.
bool Prefers(const std::string& added, const std::string& stored) {
  return added.size() > stored.size() || (added.size() == stored.size() && added > stored);
}

int CompareUIDs(const std::string& a, const std::string& b) {
  if (ORN_utility::TanStrinUID::IsGreater(a, b)) return 1;
  if (ORN_utility::TanStrinUID::IsGreater(b, a)) return -1;
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int CompareBytes(const std::string& a, const std::string& b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// --- patients ---

bool PatientRanksAfter(const TanPatientIE& p, const std::string& name, const std::string& id) {
  if (int c = CompareBytes(p.GetPatientName(), name)) return c > 0;
  return p.GetPatientID() > id;
}

int32_t PatientPosition(const TanIESet<TanPatientIE>& patients, const std::string& name, const std::string& id) {
  for (int32_t i = 0; i < patients.Count(); ++i)
    if (PatientRanksAfter(*patients.At(i), name, id)) return i;
  return patients.Count();
}

// --- studies ---

struct StudyKey {
  std::string date;
  std::string time;
  std::optional<double> parsedTime;
  std::string uid;
};

StudyKey KeyOf(const TanStudyIE& study) {
  StudyKey key;
  key.date = study.GetStudyDate();
  if (key.date.empty()) key.date = ORN_dicomdir::EmptyDateValue;
  key.time = study.GetStudyTime();
  if (key.time.empty()) key.time = ORN_dicomdir::EmptyTimeValue;
  key.parsedTime = TryParseDicomTime(key.time);
  key.uid = study.GetStudyInstanceUID();
  return key;
}

// Newest first; the UID settles equal dates and times.
bool StudyRanksAfter(const StudyKey& a, const StudyKey& b) {
  if (int c = CompareBytes(a.date, b.date)) return c < 0;
  if (int c = CompareTimes(a.time, a.parsedTime, b.time, b.parsedTime)) return c < 0;
  return CompareUIDs(a.uid, b.uid) > 0;
}

int32_t StudyPosition(const TanIESet<TanStudyIE>& studies, const StudyKey& key) {
  for (int32_t i = 0; i < studies.Count(); ++i)
    if (StudyRanksAfter(KeyOf(*studies.At(i)), key)) return i;
  return studies.Count();
}

// --- series ---

struct SeriesKey {
  std::string modality;
  int32_t number = 0;
  std::string date;
  std::string time;
  std::optional<double> parsedTime;
  std::string uid;
};

SeriesKey KeyOf(const TanSeriesIE& series) {
  SeriesKey key;
  key.modality = series.GetModality();
  key.number = series.GetSeriesNumber();
  key.uid = series.GetSeriesInstanceUID();
  key.date = series.GetSeriesDate();
  key.time = series.GetSeriesTime();
  const TanImageIE* first = series.FImages.Count() > 0 ? series.FImages.At(0) : nullptr;
  if (key.date.empty() && first != nullptr) {
    key.date = first->GetContentDate();
    if (key.date.empty()) key.date = first->GetInstanceCreationDate();
  }
  if (key.time.empty() && first != nullptr) {
    key.time = first->GetContentTime();
    if (key.time.empty()) key.time = first->GetInstanceCreationTime();
  }
  if (key.date.empty()) key.date = ORN_dicomdir::EmptyDateValue;
  if (key.time.empty()) key.time = ORN_dicomdir::EmptyTimeValue;
  key.parsedTime = TryParseDicomTime(key.time);
  return key;
}

// -1, 0 or 1 by number, date, time and UID, ascending.
int CompareSeries(const SeriesKey& a, const SeriesKey& b) {
  if (a.number != b.number) return a.number < b.number ? -1 : 1;
  if (int c = CompareBytes(a.date, b.date)) return c;
  if (int c = CompareTimes(a.time, a.parsedTime, b.time, b.parsedTime)) return c;
  return CompareUIDs(a.uid, b.uid);
}

}  // namespace

TanPatientIE* TanGeneralDirectoryInfo::FindOrAddPatient(TanIESet<TanPatientIE>& patients, TanDicomFileObject& file,
                                                        int32_t& index) {
  const std::string name = FileText(file, 0x00100010u);
  const std::string id = FileText(file, 0x00100020u);
  for (int32_t i = 0; i < patients.Count(); ++i) {
    TanPatientIE* stored = patients.At(i);
    if (stored->GetPatientID() != id) continue;
    index = i;
    if (Prefers(name, stored->GetPatientName())) {
      ReleaseItems();
      stored->SetPatientName(name);
      ntl::auto_ptr<TanPatientIE> moved = patients.TakeAt(i);
      index = PatientPosition(patients, name, id);
      patients.InsertAt(index, std::move(moved));
    }
    return stored;
  }
  ntl::auto_ptr<TanPatientIE> record(new TanPatientIE(file));
  index = PatientPosition(patients, record->GetPatientName(), record->GetPatientID());
  ReleaseItems();
  return patients.InsertAt(index, std::move(record));
}

TanStudyIE* TanGeneralDirectoryInfo::FindOrAddStudy(TanIESet<TanStudyIE>& studies, TanDicomFileObject& file,
                                                    int32_t& index) {
  const std::string uid = FileText(file, 0x0020000Du);
  const std::string date = FileText(file, 0x00080020u);
  const std::string time = FileText(file, 0x00080030u);
  const auto match = [&]() -> TanStudyIE* {
    for (int32_t i = 0; i < studies.Count(); ++i) {
      TanStudyIE* stored = studies.At(i);
      if (stored->GetStudyInstanceUID() != uid) continue;
      index = i;
      const bool newDate = Prefers(date, stored->GetStudyDate());
      const bool newTime = Prefers(time, stored->GetStudyTime());
      if (newDate || newTime) {
        ReleaseItems();
        if (newDate) stored->SetStudyDate(date);
        if (newTime) stored->SetStudyTime(time);
        ntl::auto_ptr<TanStudyIE> moved = studies.TakeAt(i);
        index = StudyPosition(studies, KeyOf(*stored));
        studies.InsertAt(index, std::move(moved));
      }
      return stored;
    }
    return nullptr;
  };
  // Without a UID the record is built first: its constructor refuses the file.
  if (!uid.empty()) {
    if (TanStudyIE* found = match()) return found;
  }
  ntl::auto_ptr<TanStudyIE> record(new TanStudyIE(file));
  if (uid.empty()) {
    if (TanStudyIE* found = match()) return found;
  }
  index = StudyPosition(studies, KeyOf(*record));
  ReleaseItems();
  return studies.InsertAt(index, std::move(record));
}

TanSeriesIE* TanGeneralDirectoryInfo::FindOrAddSeries(TanIESet<TanSeriesIE>& series, TanDicomFileObject& file,
                                                      int32_t& index) {
  const std::string uid = FileText(file, 0x0020000Eu);
  const std::string date = FileText(file, 0x00080021u);
  const std::string time = FileText(file, 0x00080031u);
  const bool place = ORN_dicomdir::GetGroupingByModalityType() < 0;
  const auto positionOf = [&series](const TanSeriesIE* s) {
    for (int32_t i = 0; i < series.Count(); ++i)
      if (series.At(i) == s) return i;
    return -1;
  };
  const auto match = [&]() -> TanSeriesIE* {
    for (int32_t i = 0; i < series.Count(); ++i) {
      TanSeriesIE* stored = series.At(i);
      if (TrimText(stored->GetSeriesInstanceUID()) != uid) continue;
      index = i;
      const bool newDate = Prefers(date, stored->GetSeriesDate());
      const bool newTime = Prefers(time, stored->GetSeriesTime());
      if (newDate || newTime) {
        ReleaseItems();
        if (newDate) stored->SetSeriesDate(date);
        if (newTime) stored->SetSeriesTime(time);
        if (place && PlaceAllSeries(series)) {
          FSeriesMoved = true;
          index = positionOf(stored);
        }
      }
      return stored;
    }
    return nullptr;
  };
  // Without a UID or a Modality the record is built first: its constructor refuses the file.
  const bool known = !uid.empty() && file.FDataSet.Find(0x00080060u) != nullptr;
  if (known) {
    if (TanSeriesIE* found = match()) return found;
  }
  ntl::auto_ptr<TanSeriesIE> record(new TanSeriesIE(file));
  if (!known) {
    if (TanSeriesIE* found = match()) return found;
  }
  ReleaseItems();
  TanSeriesIE* added = series.Append(std::move(record));
  index = series.Count() - 1;
  if (place && PlaceAllSeries(series)) {
    FSeriesMoved = true;
    index = positionOf(added);
  }
  return added;
}

bool TanGeneralDirectoryInfo::PlaceAllSeries(TanIESet<TanSeriesIE>& series) {
  if (ORN_dicomdir::GetGroupingByModalityType() >= 0 || series.Count() < 2) return false;
  struct Entry {
    TanSeriesIE* series;
    SeriesKey key;
  };
  std::vector<Entry> entries;
  entries.reserve(static_cast<size_t>(series.Count()));
  for (TanSeriesIE* s : series) entries.push_back({s, KeyOf(*s)});
  // The first series of each modality run.
  std::map<std::string, const SeriesKey*> firstOfRun;
  for (const Entry& e : entries) {
    auto [it, added] = firstOfRun.emplace(e.key.modality, &e.key);
    if (!added && CompareSeries(e.key, *it->second) < 0) it->second = &e.key;
  }
  std::vector<Entry*> order;
  for (Entry& e : entries) order.push_back(&e);
  std::stable_sort(order.begin(), order.end(), [&](const Entry* a, const Entry* b) {
    if (a->key.modality != b->key.modality) {
      if (int c = CompareSeries(*firstOfRun[a->key.modality], *firstOfRun[b->key.modality])) return c < 0;
      return a->key.modality < b->key.modality;
    }
    return CompareSeries(a->key, b->key) < 0;
  });
  bool same = true;
  for (size_t i = 0; i < order.size() && same; ++i) same = order[i]->series == entries[i].series;
  if (same) return false;
  ReleaseItems();
  std::vector<ntl::auto_ptr<TanSeriesIE>> taken;
  while (series.Count() > 0) taken.push_back(series.TakeAt(0));
  for (Entry* e : order) {
    for (auto& t : taken) {
      if (t.get() == e->series) {
        series.Append(std::move(t));
        break;
      }
    }
  }
  return true;
}

}  // namespace ORN_dicom
