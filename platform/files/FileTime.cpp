#include "platform/files/FileTime.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/core/LastError.h"
#include "platform/files/OpenFileTable.h"

namespace platform {

namespace {

constexpr char kCreationName[] = "user.vistrel.creationtime";
constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;
constexpr int64_t kDaysFrom1601To1970 = 134'774;

// Days since 1970-01-01 of a civil date (proleptic Gregorian), and back.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t* y, unsigned* m, unsigned* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<int64_t>(yoe) + era * 400 + (*m <= 2);
}

unsigned DaysInMonth(unsigned year, unsigned month) {
  static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

struct timespec ToTimespec(const FileTime& t) {
  const int64_t ticks = static_cast<int64_t>(t.ticks);
  struct timespec ts {};
  ts.tv_sec = ticks / kTicksPerSecond - kSecondsFrom1601To1970;
  ts.tv_nsec = (ticks % kTicksPerSecond) * 100;
  return ts;
}

FileTime CreationTime(const files_detail::OpenFile& file, const struct stat& st) {
  const std::string self = files_detail::DescriptorPath(file.fd);
  char text[32] = {};
  const ssize_t n = ::getxattr(self.c_str(), kCreationName, text, sizeof text - 1);
  if (n > 0) {
    text[n] = '\0';
    return FileTime{std::strtoull(text, nullptr, 10)};
  }
  struct statx sx {};
  if (::statx(file.fd, "", AT_EMPTY_PATH, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
    return FileTimeFromUnix(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
  return FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

}  // namespace

FileTime FileTimeFromUnix(int64_t seconds, int64_t nanoseconds) {
  const int64_t ticks = (seconds + kSecondsFrom1601To1970) * kTicksPerSecond + nanoseconds / 100;
  return FileTime{ticks < 0 ? 0 : static_cast<uint64_t>(ticks)};
}

bool FileTimeToLocalFileTime(const FileTime& utc, FileTime* local) {
  if (local == nullptr || utc.ticks >= (uint64_t{1} << 63)) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  const int64_t unixSeconds = static_cast<int64_t>(utc.ticks) / kTicksPerSecond - kSecondsFrom1601To1970;
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm parts{};
  if (::localtime_r(&t, &parts) == nullptr) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  const int64_t localSeconds = DaysFromCivil(parts.tm_year + 1900, static_cast<unsigned>(parts.tm_mon + 1),
                                             static_cast<unsigned>(parts.tm_mday)) *
                                   86400 +
                               parts.tm_hour * 3600 + parts.tm_min * 60 + parts.tm_sec;
  const int64_t ticks = static_cast<int64_t>(utc.ticks) + (localSeconds - unixSeconds) * kTicksPerSecond;
  if (ticks < 0) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  local->ticks = static_cast<uint64_t>(ticks);
  return true;
}

bool FileTimeToSystemTime(const FileTime& time, SystemTime* out) {
  if (time.ticks >= (uint64_t{1} << 63) || !out) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  const uint64_t totalMs = time.ticks / 10'000;
  const int64_t days1601 = static_cast<int64_t>(totalMs / 86'400'000);
  const uint64_t msOfDay = totalMs % 86'400'000;
  int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days1601 - kDaysFrom1601To1970, &y, &m, &d);
  out->year = static_cast<uint16_t>(y);
  out->month = static_cast<uint16_t>(m);
  out->day = static_cast<uint16_t>(d);
  out->dayOfWeek = static_cast<uint16_t>((days1601 + 1) % 7);  // 1601-01-01 was a Monday
  out->hour = static_cast<uint16_t>(msOfDay / 3'600'000);
  out->minute = static_cast<uint16_t>(msOfDay / 60'000 % 60);
  out->second = static_cast<uint16_t>(msOfDay / 1000 % 60);
  out->milliseconds = static_cast<uint16_t>(msOfDay % 1000);
  SetLastError(err::Success);
  return true;
}

bool SystemTimeToFileTime(const SystemTime& t, FileTime* out) {
  if (!out || t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1 ||
      t.day > DaysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59 || t.second > 59 ||
      t.milliseconds > 999) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  const int64_t days1601 = DaysFromCivil(t.year, t.month, t.day) + kDaysFrom1601To1970;
  const int64_t ms =
      ((days1601 * 24 + t.hour) * 60 + t.minute) * 60'000 + t.second * 1000 + t.milliseconds;
  out->ticks = static_cast<uint64_t>(ms) * 10'000;
  SetLastError(err::Success);
  return true;
}

int CompareFileTime(const FileTime& a, const FileTime& b) {
  return a.ticks < b.ticks ? -1 : (a.ticks > b.ticks ? 1 : 0);
}

bool GetFileTime(FileHandle handle, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) {
  auto file = files_detail::Lookup(handle);
  if (!file) return false;
  struct stat st {};
  if (::fstat(file->fd, &st) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  if (creation) *creation = CreationTime(*file, st);
  if (lastAccess) *lastAccess = FileTimeFromUnix(st.st_atim.tv_sec, st.st_atim.tv_nsec);
  if (lastWrite) *lastWrite = FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  SetLastError(err::Success);
  return true;
}

bool SetFileTime(FileHandle handle, const FileTime* creation, const FileTime* lastAccess,
                 const FileTime* lastWrite) {
  auto file = files_detail::Lookup(handle);
  if (!file) return false;
  if (!file->canWriteAttributes) {
    SetLastError(err::AccessDenied);
    return false;
  }
  const std::string self = files_detail::DescriptorPath(file->fd);
  if (creation) {
    const std::string text = std::to_string(creation->ticks);
    if (::setxattr(self.c_str(), kCreationName, text.data(), text.size(), 0) != 0) {
      SetLastError(errno == ENOTSUP ? err::NotSupported : ErrorFromErrno(errno));
      return false;
    }
  }
  if (lastAccess || lastWrite) {
    struct timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_nsec = UTIME_OMIT;
    if (lastAccess) times[0] = ToTimespec(*lastAccess);
    if (lastWrite) times[1] = ToTimespec(*lastWrite);
    if (::utimensat(AT_FDCWD, self.c_str(), times, 0) != 0) {
      SetLastErrorFromErrno();
      return false;
    }
  }
  SetLastError(err::Success);
  return true;
}

}  // namespace platform
