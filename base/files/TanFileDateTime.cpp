#include "base/files/TanFileDateTime.h"

#include <stdexcept>

#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"

namespace ORN_std {

using platform::FileTime;
using platform::SystemTime;

namespace {
constexpr uint16_t kUnset = 0xFFFF;
}

uint16_t TanFileDateTimeBasis::Field(uint16_t SystemTime::*field, uint16_t failure) {
  SystemTime time{};
  return ReadSystemTime(time) ? time.*field : failure;
}

bool TanFileDateTimeBasis::SetField(uint16_t SystemTime::*field, uint16_t value) {
  if (value == kUnset) return false;
  SystemTime time{};
  if (!ReadSystemTime(time)) return false;
  time.*field = value;
  return WriteSystemTime(time);
}

uint16_t TanFileDateTimeBasis::GetYear() { return Field(&SystemTime::year, 0); }
bool TanFileDateTimeBasis::SetYear(uint16_t v) { return SetField(&SystemTime::year, v); }
uint16_t TanFileDateTimeBasis::GetMonth() { return Field(&SystemTime::month, 0); }
bool TanFileDateTimeBasis::SetMonth(uint16_t v) { return SetField(&SystemTime::month, v); }
uint16_t TanFileDateTimeBasis::GetDayOfWeek() { return Field(&SystemTime::dayOfWeek, 0); }
uint16_t TanFileDateTimeBasis::GetDay() { return Field(&SystemTime::day, 0); }
bool TanFileDateTimeBasis::SetDay(uint16_t v) { return SetField(&SystemTime::day, v); }
uint16_t TanFileDateTimeBasis::GetHour() { return Field(&SystemTime::hour, kUnset); }
bool TanFileDateTimeBasis::SetHour(uint16_t v) { return SetField(&SystemTime::hour, v); }
uint16_t TanFileDateTimeBasis::GetMinute() { return Field(&SystemTime::minute, kUnset); }
bool TanFileDateTimeBasis::SetMinute(uint16_t v) { return SetField(&SystemTime::minute, v); }
uint16_t TanFileDateTimeBasis::GetSecond() { return Field(&SystemTime::second, kUnset); }
bool TanFileDateTimeBasis::SetSecond(uint16_t v) { return SetField(&SystemTime::second, v); }
uint16_t TanFileDateTimeBasis::GetMilliseconds() {
  return Field(&SystemTime::milliseconds, kUnset);
}
bool TanFileDateTimeBasis::SetMilliseconds(uint16_t v) {
  return SetField(&SystemTime::milliseconds, v);
}

bool TanFileDateTimeBasis::GetDateTime(uint16_t* year, uint16_t* month, uint16_t* day,
                                       uint16_t* hour, uint16_t* minute, uint16_t* second,
                                       uint16_t* milliseconds) {
  SystemTime time{};
  if (!ReadSystemTime(time)) return false;
  if (year) *year = time.year;
  if (month) *month = time.month;
  if (day) *day = time.day;
  if (hour) *hour = time.hour;
  if (minute) *minute = time.minute;
  if (second) *second = time.second;
  if (milliseconds) *milliseconds = time.milliseconds;
  return true;
}

bool TanFileDateTimeBasis::SetDateTime(const uint16_t* year, const uint16_t* month,
                                       const uint16_t* day, const uint16_t* hour,
                                       const uint16_t* minute, const uint16_t* second,
                                       const uint16_t* milliseconds) {
  SystemTime time{};
  if (!ReadSystemTime(time)) return false;
  if (year) time.year = *year;
  if (month) time.month = *month;
  if (day) time.day = *day;
  if (hour) time.hour = *hour;
  if (minute) time.minute = *minute;
  if (second) time.second = *second;
  if (milliseconds) time.milliseconds = *milliseconds;
  return WriteSystemTime(time);
}

int TanFileDateTimeBasis::Compare(iFILETIME& other) {
  FileTime own;
  FileTime theirs;
  if (!ReadFileTime(own)) throw std::runtime_error("invalid-own-object");
  if (!other.ReadFileTime(theirs)) throw std::runtime_error("invalid-smb-object");
  return platform::CompareFileTime(own, theirs);
}

bool TanFileDateTimeBasis::IsEqual(iFILETIME& other) { return Compare(other) == 0; }
bool TanFileDateTimeBasis::IsNotEqual(iFILETIME& other) { return Compare(other) != 0; }
bool TanFileDateTimeBasis::IsNotEarlier(iFILETIME& other) { return Compare(other) != -1; }
bool TanFileDateTimeBasis::IsNotLater(iFILETIME& other) { return Compare(other) != 1; }
bool TanFileDateTimeBasis::IsLater(iFILETIME& other) { return Compare(other) == 1; }
bool TanFileDateTimeBasis::IsEarlier(iFILETIME& other) { return Compare(other) == -1; }

TanFileDateTime::TanFileDateTime(platform::FileHandle& fileHandle, const std::string& path,
                                 std::string& errorText)
    : FHandle(platform::kInvalidFileHandle),
      FFileHandle(fileHandle),
      FPath(path),
      FLastErrorText(errorText),
      FOwnsHandle(false) {
  if (fileHandle == platform::kInvalidFileHandle && path.empty())
    throw std::runtime_error("invalid-parameters");
}

TanFileDateTime::~TanFileDateTime() {
  if (FOwnsHandle) platform::CloseFile(FHandle);
}

bool TanFileDateTime::Acquire(bool forWriting) {
  if (FFileHandle != platform::kInvalidFileHandle) {
    FHandle = FFileHandle;
    FOwnsHandle = false;
    return true;
  }
  FHandle = platform::CreateFile(FPath, forWriting ? platform::access::GenericWrite : 0,
                                 platform::share::None, platform::Disposition::OpenExisting, 0);
  FOwnsHandle = FHandle != platform::kInvalidFileHandle;
  return FOwnsHandle;
}

void TanFileDateTime::Release(bool ok) {
  const uint32_t code = platform::GetLastError();
  if (FOwnsHandle) platform::CloseFile(FHandle);
  FOwnsHandle = false;
  FHandle = platform::kInvalidFileHandle;
  FLastErrorText = ok ? std::string() : platform::SystemMessage(code);
}

bool TanFileDateTime::ReadTime(Member member, FileTime& time) {
  bool ok = Acquire(false);
  if (ok) {
    ok = platform::GetFileTime(FHandle, member == Member::Creation ? &time : nullptr,
                               member == Member::LastAccess ? &time : nullptr,
                               member == Member::LastWrite ? &time : nullptr);
  }
  Release(ok);
  return ok;
}

bool TanFileDateTime::WriteTime(Member member, const FileTime& time) {
  bool ok = Acquire(true);
  if (ok) {
    ok = platform::SetFileTime(FHandle, member == Member::Creation ? &time : nullptr,
                               member == Member::LastAccess ? &time : nullptr,
                               member == Member::LastWrite ? &time : nullptr);
  }
  Release(ok);
  return ok;
}

// A failed calendar conversion keeps its reason in the file's error text, as a failed call.
bool TanFileDateTime::ReadCalendar(Member member, SystemTime& time) {
  FileTime fileTime;
  if (!ReadTime(member, fileTime)) return false;
  if (platform::FileTimeToSystemTime(fileTime, &time)) return true;
  FLastErrorText = platform::SystemMessage(platform::GetLastError());
  return false;
}

bool TanFileDateTime::WriteCalendar(Member member, const SystemTime& time) {
  FileTime fileTime;
  if (platform::SystemTimeToFileTime(time, &fileTime)) return WriteTime(member, fileTime);
  FLastErrorText = platform::SystemMessage(platform::GetLastError());
  return false;
}

bool TanFileDateCreationTime::ReadFileTime(FileTime& time) {
  return ReadTime(Member::Creation, time);
}
bool TanFileDateCreationTime::WriteFileTime(const FileTime& time) {
  return WriteTime(Member::Creation, time);
}
bool TanFileDateCreationTime::ReadSystemTime(SystemTime& time) {
  return ReadCalendar(Member::Creation, time);
}
bool TanFileDateCreationTime::WriteSystemTime(const SystemTime& time) {
  return WriteCalendar(Member::Creation, time);
}

bool TanFileDateLastAccessTime::ReadFileTime(FileTime& time) {
  return ReadTime(Member::LastAccess, time);
}
bool TanFileDateLastAccessTime::WriteFileTime(const FileTime& time) {
  return WriteTime(Member::LastAccess, time);
}
bool TanFileDateLastAccessTime::ReadSystemTime(SystemTime& time) {
  return ReadCalendar(Member::LastAccess, time);
}
bool TanFileDateLastAccessTime::WriteSystemTime(const SystemTime& time) {
  return WriteCalendar(Member::LastAccess, time);
}

bool TanFileDateLastModificationTime::ReadFileTime(FileTime& time) {
  return ReadTime(Member::LastWrite, time);
}
bool TanFileDateLastModificationTime::WriteFileTime(const FileTime& time) {
  return WriteTime(Member::LastWrite, time);
}
bool TanFileDateLastModificationTime::ReadSystemTime(SystemTime& time) {
  return ReadCalendar(Member::LastWrite, time);
}
bool TanFileDateLastModificationTime::WriteSystemTime(const SystemTime& time) {
  return WriteCalendar(Member::LastWrite, time);
}

}  // namespace ORN_std
