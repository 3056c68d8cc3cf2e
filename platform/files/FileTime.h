// The three times of a file as Win32 keeps them: UTC, in 100-nanosecond ticks since
// 1601-01-01, with the calendar form and the comparison.
//
// Creation time: Linux cannot set a file's birth time, so a creation time that is set is kept
// in the extended attribute "user.vistrel.creationtime" (decimal ticks) and read back from
// there; a file without it reports its birth time (statx), or its last write time when the file
// system records no birth time. Setting it fails with ERROR_NOT_SUPPORTED where the file system
// keeps no user extended attributes.
#pragma once

#include <cstdint>

#include "platform/files/FileHandle.h"

namespace platform {

struct FileTime {
  uint64_t ticks = 0;
};

struct SystemTime {
  uint16_t year = 0;
  uint16_t month = 0;      // 1..12
  uint16_t dayOfWeek = 0;  // 0 Sunday .. 6 Saturday
  uint16_t day = 0;        // 1..31
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

// Fails (ERROR_INVALID_PARAMETER) for ticks of 2^63 and above.
bool FileTimeToSystemTime(const FileTime& time, SystemTime* out);
// Fails (ERROR_INVALID_PARAMETER) for a field out of range or a year outside 1601..30827; the
// day of the week is ignored.
bool SystemTimeToFileTime(const SystemTime& time, FileTime* out);
// -1, 0 or 1.
int CompareFileTime(const FileTime& a, const FileTime& b);

// A UTC file time in the local time zone by the system's zone rules (daylight saving as it stood
// at that time); fails (ERROR_INVALID_PARAMETER) when the time cannot be converted.
bool FileTimeToLocalFileTime(const FileTime& utc, FileTime* local);

// The ticks of a POSIX time.
FileTime FileTimeFromUnix(int64_t seconds, int64_t nanoseconds);

// Any of the three pointers may be null. Setting needs write access to the handle.
bool GetFileTime(FileHandle handle, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite);
bool SetFileTime(FileHandle handle, const FileTime* creation, const FileTime* lastAccess,
                 const FileTime* lastWrite);

}  // namespace platform
