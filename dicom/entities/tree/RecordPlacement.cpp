// Placement of patients, studies and series:
// - patients by name; a new patient goes after every patient of an equal or smaller name;
// - studies newest first; a study without date or time reads as EmptyDateValue or
//   EmptyTimeValue (midnight), and a new study without a date goes to the end;
// - series (grouping setting below 0) by number, date and time next to the series of their
//   modality; with the setting at 0 or above they are appended for OrganizeSeries to order.
// A found record takes over a longer name, date or time from the new file and keeps its place;
// while a file is added, only once its record joins the tree (see TanTakeOver).
#include <optional>

#include "dicom/elements/element/iDDE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
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

// Times of day compared as parsed times (see CompareTimes).
struct TimeKey {
  std::string text;
  std::optional<double> parsed;
  explicit TimeKey(std::string t) : text(std::move(t)), parsed(TryParseDicomTime(text)) {}
};

int Compare(const TimeKey& a, const TimeKey& b) { return CompareTimes(a.text, a.parsed, b.text, b.parsed); }

// A stored study: its date and time, or the empty-date and empty-time texts.
struct StoredStudy {
  std::string date;
  TimeKey time;
};

StoredStudy StoredOf(const TanStudyIE& study) {
  std::string date = study.GetStudyDate();
  if (date.empty()) date = ORN_dicomdir::EmptyDateValue;
  std::string time = study.GetStudyTime();
  if (time.empty()) time = ORN_dicomdir::EmptyTimeValue;
  return {date, TimeKey(time)};
}

// True when the new study goes before the stored one.
bool StudyGoesBefore(const std::string& date, const TimeKey& time, const StoredStudy& s) {
  if (!date.empty() && s.date.compare(date) < 0) return true;
  return s.date == date && !time.text.empty() && Compare(s.time, time) <= 0;
}

// A stored series: number, date and time, the latter two from its first image when it has none.
struct StoredSeries {
  int32_t number;
  std::string date;
  TimeKey time;
};

StoredSeries StoredOf(const TanSeriesIE& series) {
  const TanImageIE* first = series.FImages.Count() > 0 ? series.FImages.At(0) : nullptr;
  std::string date = series.GetSeriesDate();
  if (date.empty() && first != nullptr) {
    date = first->GetContentDate();
    if (date.empty()) date = first->GetInstanceCreationDate();
  }
  if (date.empty()) date = ORN_dicomdir::EmptyDateValue;
  std::string time = series.GetSeriesTime();
  if (time.empty() && first != nullptr) {
    time = first->GetContentTime();
    if (time.empty()) time = first->GetInstanceCreationTime();
  }
  if (time.empty()) time = ORN_dicomdir::EmptyTimeValue;
  return {series.GetSeriesNumber(), date, TimeKey(time)};
}

// True when the new series goes before the stored one; with equal number, date and time it
// goes after.
bool SeriesGoesBefore(int32_t number, const std::string& date, const TimeKey& time, const StoredSeries& s) {
  if (number != s.number) return number < s.number;
  if (!date.empty() && s.date.compare(date) > 0) return true;
  return s.date == date && !time.text.empty() && Compare(s.time, time) > 0;
}

}  // namespace

TanPatientIE* TanGeneralDirectoryInfo::FindOrAddPatient(TanIESet<TanPatientIE>& patients, TanDicomFileObject& file,
                                                        int32_t& index) {
  const std::string name = FileText(file, 0x00100010u);
  const std::string id = FileText(file, 0x00100020u);
  for (int32_t i = 0; i < patients.Count(); ++i) {
    TanPatientIE* stored = patients.At(i);
    if (stored->GetPatientID() != id) continue;
    TakeOver(stored, 0x00100010u, stored->GetPatientName().size(), name,
             [stored](const std::string& text) { stored->SetPatientName(text); });
    index = i;
    return stored;
  }
  ntl::auto_ptr<TanPatientIE> record(new TanPatientIE(file));
  TakenFrom(record.get(), {0x00100010u});
  const std::string newName = record->GetPatientName();
  int32_t position = 0;
  while (position < patients.Count() && patients.At(position)->GetPatientName().compare(newName) <= 0) ++position;
  ReleaseItems();
  index = position;
  return patients.InsertAt(position, std::move(record));
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
      TakeOver(stored, 0x00080020u, stored->GetStudyDate().size(), date,
               [stored](const std::string& text) { stored->SetStudyDate(text); });
      TakeOver(stored, 0x00080030u, stored->GetStudyTime().size(), time,
               [stored](const std::string& text) { stored->SetStudyTime(text); });
      index = i;
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
  TakenFrom(record.get(), {0x00080020u, 0x00080030u});
  const TimeKey newTime(time);
  int32_t position = 0;
  while (position < studies.Count() && !StudyGoesBefore(date, newTime, StoredOf(*studies.At(position)))) ++position;
  ReleaseItems();
  index = position;
  return studies.InsertAt(position, std::move(record));
}

TanSeriesIE* TanGeneralDirectoryInfo::FindOrAddSeries(TanIESet<TanSeriesIE>& series, TanDicomFileObject& file,
                                                      int32_t& index) {
  const std::string uid = FileText(file, 0x0020000Eu);
  const std::string date = FileText(file, 0x00080021u);
  const std::string time = FileText(file, 0x00080031u);
  const auto match = [&]() -> TanSeriesIE* {
    for (int32_t i = 0; i < series.Count(); ++i) {
      TanSeriesIE* stored = series.At(i);
      if (TrimText(stored->GetSeriesInstanceUID()) != uid) continue;
      TakeOver(stored, 0x00080021u, stored->GetSeriesDate().size(), date,
               [stored](const std::string& text) { stored->SetSeriesDate(text); });
      TakeOver(stored, 0x00080031u, stored->GetSeriesTime().size(), time,
               [stored](const std::string& text) { stored->SetSeriesTime(text); });
      index = i;
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
  TakenFrom(record.get(), {0x00080021u, 0x00080031u});

  const int32_t count = series.Count();
  int32_t position = count;
  if (ORN_dicomdir::GetGroupingByModalityType() < 0) {
    const std::string modality = TrimText(record->GetModality());
    const int32_t number = record->GetSeriesNumber();
    const TimeKey newTime(time);
    const auto goesBefore = [&](int32_t i) { return SeriesGoesBefore(number, date, newTime, StoredOf(*series.At(i))); };
    const auto modalityAt = [&](int32_t i) { return TrimText(series.At(i)->GetModality()); };
    int32_t found = -1;
    // First among the series of its modality: in front of the first it goes before, else at
    // the end of the run of its modality when that run does not end the set.
    for (int32_t i = 0; i < count && found < 0; ++i) {
      if (modalityAt(i) != modality) continue;
      if (goesBefore(i))
        found = i;
      else if (i < count - 1 && modalityAt(i + 1) != modality)
        found = i + 1;
    }
    // Then among all series.
    for (int32_t i = 0; i < count && found < 0; ++i)
      if (goesBefore(i)) found = i;
    if (found >= 0) position = found;
  }
  ReleaseItems();
  index = position;
  return series.InsertAt(position, std::move(record));
}

}  // namespace ORN_dicom
