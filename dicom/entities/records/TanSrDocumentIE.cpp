#include <cmath>
#include <stdexcept>

#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanTags.h"
#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanRecordFiller.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {

namespace {

constexpr uint32_t kVerificationFlag = 0x0040A493u;
constexpr uint32_t kVerifyingObserverSequence = 0x0040A073u;
constexpr uint32_t kVerificationDateTime = 0x0040A030u;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A field that passed its range check must be a decimal number.
int32_t Number(const std::string& field, const std::string& text) {
  if (field.empty()) throw EConvertError("'" + text + "' is not a valid date and time");
  int32_t v = 0;
  for (char c : field) {
    if (!IsDigit(c)) throw EConvertError("'" + field + "' is not a valid integer value");
    v = v * 10 + (c - '0');
  }
  return v;
}

std::string Ranged(const std::string& field, const char* low, const char* high, const char* fallback) {
  return field < low || field > high ? std::string(fallback) : field;
}

// Days from 30 December 1899 to the date (proleptic Gregorian calendar).
int64_t DayCount(int32_t y, int32_t m, int32_t d) {
  const int32_t yy = y - (m <= 2 ? 1 : 0);
  const int64_t era = (yy >= 0 ? yy : yy - 399) / 400;
  const int64_t yoe = yy - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t fromEpoch1970 = era * 146097 + doe - 719468;
  return fromEpoch1970 + 25569;  // 1970-01-01 is day 25569 of the count
}

bool IsLeap(int32_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int32_t DaysInMonth(int32_t y, int32_t m) {
  static const int32_t days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

}  // namespace

double TanSrDocumentIE::PointInTime(const std::string& text) {
  const std::size_t n = text.size();
  if (n == 0) return 0;
  std::string year = Ranged(text.substr(0, 4), "0001", "2200", "0001");
  std::string month = "01", day = "01", hour = "00", minute = "00", second = "00", fraction = "000000";
  std::size_t p = 5;  // 1-based position as the text counts it
  auto field = [&]() {
    if (p <= n && !IsDigit(text[p - 1])) ++p;
    std::string f = p <= n ? text.substr(p - 1, 2) : std::string();
    p += 2;
    return f;
  };
  if (n >= 6) month = Ranged(field(), "01", "12", "01");
  if (p < n) day = Ranged(field(), "01", "31", "01");
  if (p < n) hour = Ranged(field(), "00", "23", "00");
  if (p < n) minute = Ranged(field(), "00", "59", "00");
  if (p < n) second = Ranged(field(), "00", "60", "00");
  if (p < n) {
    const std::string digits = text.substr(p, 6);  // after the decimal point at p
    fraction.replace(0, digits.size(), digits);
    fraction = Ranged(fraction, "000000", "999999", "000000");
    p += 7;
  }
  const int32_t y = Number(year, text), mo = Number(month, text), d = Number(day, text);
  const int32_t h = Number(hour, text), mi = Number(minute, text), s = Number(second, text);
  const int32_t ms = Number(fraction.substr(0, 3), text);
  if (y < 1 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo))
    throw EConvertError("'" + text + "' is not a valid date");
  if (h > 23 || mi > 59 || s > 59) throw EConvertError("'" + text + "' is not a valid time");
  const double date = static_cast<double>(DayCount(y, mo, d));
  const double time = (((h * 60.0 + mi) * 60.0 + s) * 1000.0 + ms) / 86400000.0;
  // Before the day count's start the time runs the other way, as in the date format it follows.
  return date < 0 ? date - time : date + time;
}

TanSrDocumentIE::TanSrDocumentIE(TanDicomFileObject& file) : TanInstance(file) {
  SetRecordType("SR DOCUMENT");
  TanRecordFiller fill(*this, file);
  fill.CopyOrText(0x00200013u, "1");
  fill.CopyOrEmptySequence(0x0040A043u);
  fill.CopyOrText(0x0040A491u, "PARTIAL");
  fill.CopyOrText(kVerificationFlag, "UNVERIFIED");
  AddVerificationDateTime(fill);
}

void TanSrDocumentIE::AddVerificationDateTime(TanRecordFiller& fill) {
  if (GetText(kVerificationFlag) != "VERIFIED") return;
  iDDE* kept = nullptr;
  double keptPoint = 0;
  if (iDDE* observers = fill.Find(kVerifyingObserverSequence)) {
    if (auto* items = observers->ValueAs<TanDDESequenceValue>()) {
      TanItems view(*items);
      for (uint32_t i = 0; i < view.Count(); ++i) {
        TanDDEItemValue* item = view.Item(i);
        iDDE* dt = item != nullptr ? item->Find(kVerificationDateTime) : nullptr;
        if (dt == nullptr) continue;
        const double point = PointInTime(Trim(dt->GetString()));
        if (point > keptPoint) {
          keptPoint = point;
          kept = dt;
        }
      }
    }
  }
  if (kept != nullptr) fill.Insert(fill.Factory().MakeDDEFromDDE(kept));
  else fill.Insert(fill.Factory().MakeDDE(0x0040, 0xA030, 0));
}

}  // namespace ORN_dicom
