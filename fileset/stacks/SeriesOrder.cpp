#include "fileset/stacks/SeriesOrder.h"

#include <limits>
#include <string>

#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/entities/registry/RecordKeys.h"
#include "fileset/settings/dicom_file_set_ini.h"
#include "fileset/stacks/TanStackBuilder.h"

namespace ORN_dicom::series_order {

namespace {

struct Keys {
  int32_t number = 0;
  std::string date, time;            // series value, else the first image's
  std::string imageDate, imageTime;  // the first image's alone
  int32_t imageNumber = 0;
};

// The first image's content value, else its creation value.
std::string FirstImageValue(const TanSeriesIE& s, bool date) {
  if (s.FImages.IsEmpty()) return std::string();
  const TanImageIE* image = s.FImages.At(0);
  const std::string content = date ? image->GetContentDate() : image->GetContentTime();
  if (!content.empty()) return content;
  return date ? image->GetInstanceCreationDate() : image->GetInstanceCreationTime();
}

Keys KeysOf(const TanSeriesIE& s, bool replaceEmpty) {
  Keys k;
  k.number = s.GetSeriesNumber();
  k.imageDate = FirstImageValue(s, true);
  k.imageTime = FirstImageValue(s, false);
  k.date = s.GetSeriesDate();
  if (k.date.empty()) k.date = k.imageDate;
  k.time = s.GetSeriesTime();
  if (k.time.empty()) k.time = k.imageTime;
  k.imageNumber = s.FImages.IsEmpty() ? 0 : s.FImages.At(0)->GetInstanceNumber();
  if (replaceEmpty) {
    for (std::string* d : {&k.date, &k.imageDate})
      if (d->empty()) *d = ORN_dicomdir::EmptyDateValue;
    for (std::string* t : {&k.time, &k.imageTime})
      if (t->empty()) *t = ORN_dicomdir::EmptyTimeValue;
  }
  return k;
}

// A time that cannot be read compares as midnight.
double TimeOf(const std::string& text) { return TryParseDicomTime(text).value_or(0.0); }

// Exchanges the records at p and q (q < p) without making or destroying one.
void SwapRecords(TanIESet<TanSeriesIE>& x, int32_t p, int32_t q) {
  auto later = x.TakeAt(p);
  auto earlier = x.TakeAt(q);
  x.InsertAt(q, std::move(later));
  x.InsertAt(p, std::move(earlier));
}

template <class Before>
void ExchangeSort(TanIESet<TanSeriesIE>& x, Before before) {
  const int32_t n = x.Count();
  for (int32_t p = n - 1; p >= 1; --p)
    for (int32_t q = p - 1; q >= 0; --q)
      if (before(*x.At(p), *x.At(q))) SwapRecords(x, p, q);
}

}  // namespace

bool IsSeriesEarlier(const TanSeriesIE& a, const TanSeriesIE& b) {
  const Keys ka = KeysOf(a, false);
  const Keys kb = KeysOf(b, true);
  if (ka.number < kb.number) return true;
  if (ka.number != kb.number) return false;
  if (!ka.date.empty() && ka.date < kb.date) return true;
  if (ka.date != kb.date || ka.time.empty()) return false;
  const double ta = TimeOf(ka.time), tb = TimeOf(kb.time);
  if (ta < tb) return true;
  if (ta != tb) return false;
  if (!ka.imageDate.empty() && ka.imageDate < kb.imageDate) return true;
  if (ka.imageDate != kb.imageDate || ka.imageTime.empty()) return false;
  const double fa = TimeOf(ka.imageTime), fb = TimeOf(kb.imageTime);
  if (fa < fb) return true;
  if (fa != fb) return false;
  const int32_t ib = kb.imageNumber == 0 ? std::numeric_limits<int32_t>::max() : kb.imageNumber;
  return ka.imageNumber < ib;
}

bool IsSeriesBeforeByModality(const TanSeriesIE& a, const TanSeriesIE& b) {
  const std::string ma = a.GetModality(), mb = b.GetModality();
  if (ma == mb) return IsSeriesEarlier(a, b);
  return ma < mb;
}

void SortSeriesByModalityAndTime(TanIESet<TanSeriesIE>& series) { ExchangeSort(series, IsSeriesBeforeByModality); }
void SortSeriesByTime(TanIESet<TanSeriesIE>& series) { ExchangeSort(series, IsSeriesEarlier); }

void RenewPresentationPairs(TanStudyIE& study) {
  for (TanSeriesIE* series : study.FSeries)
    for (TanPrivateIE* stack : series->FPrivateRecords) stack->ClearPresentationRefs();
  for (TanSeriesIE* series : study.FSeries) AttachPresentationPairs(study, *series, false);
}

void OrganizeSeries(TanStudyIE& study, int32_t grouping) {
  if (grouping > 0) SortSeriesByModalityAndTime(study.FSeries);
  else if (grouping == 0) SortSeriesByTime(study.FSeries);
  RenewPresentationPairs(study);
}

void OrganizeSeries(TanStudyIE& study) { OrganizeSeries(study, ORN_dicomdir::GetGroupingByModalityType()); }

}  // namespace ORN_dicom::series_order
