// One of the three times of a file (creation, last access, last modification) in calendar
// fields, read and written through the file's handle or, when the file is closed, through a
// handle of its own opened for the call.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files/FileHandle.h"
#include "platform/files/FileTime.h"

namespace ORN_std {

class iFILETIME {
 public:
  virtual uint16_t GetYear() = 0;
  virtual bool SetYear(uint16_t value) = 0;
  virtual uint16_t GetMonth() = 0;
  virtual bool SetMonth(uint16_t value) = 0;
  virtual uint16_t GetDayOfWeek() = 0;
  virtual uint16_t GetDay() = 0;
  virtual bool SetDay(uint16_t value) = 0;
  virtual uint16_t GetHour() = 0;
  virtual bool SetHour(uint16_t value) = 0;
  virtual uint16_t GetMinute() = 0;
  virtual bool SetMinute(uint16_t value) = 0;
  virtual uint16_t GetSecond() = 0;
  virtual bool SetSecond(uint16_t value) = 0;
  virtual uint16_t GetMilliseconds() = 0;
  virtual bool SetMilliseconds(uint16_t value) = 0;
  virtual bool GetDateTime(uint16_t* year, uint16_t* month, uint16_t* day, uint16_t* hour,
                           uint16_t* minute, uint16_t* second, uint16_t* milliseconds) = 0;
  virtual bool SetDateTime(const uint16_t* year, const uint16_t* month, const uint16_t* day,
                           const uint16_t* hour, const uint16_t* minute, const uint16_t* second,
                           const uint16_t* milliseconds) = 0;
  virtual bool IsEqual(iFILETIME& other) = 0;
  virtual bool IsNotEqual(iFILETIME& other) = 0;
  virtual bool IsNotEarlier(iFILETIME& other) = 0;
  virtual bool IsNotLater(iFILETIME& other) = 0;
  virtual bool IsLater(iFILETIME& other) = 0;
  virtual bool IsEarlier(iFILETIME& other) = 0;
  virtual ~iFILETIME() = default;
  virtual bool ReadSystemTime(platform::SystemTime& time) = 0;
  virtual bool WriteSystemTime(const platform::SystemTime& time) = 0;
  virtual bool ReadFileTime(platform::FileTime& time) = 0;
  virtual bool WriteFileTime(const platform::FileTime& time) = 0;
};

// The calendar fields and comparisons, on top of the four reading and writing operations.
class TanFileDateTimeBasis : public iFILETIME {
 public:
  uint16_t GetYear() override;
  bool SetYear(uint16_t value) override;
  uint16_t GetMonth() override;
  bool SetMonth(uint16_t value) override;
  uint16_t GetDayOfWeek() override;
  uint16_t GetDay() override;
  bool SetDay(uint16_t value) override;
  uint16_t GetHour() override;
  bool SetHour(uint16_t value) override;
  uint16_t GetMinute() override;
  bool SetMinute(uint16_t value) override;
  uint16_t GetSecond() override;
  bool SetSecond(uint16_t value) override;
  uint16_t GetMilliseconds() override;
  bool SetMilliseconds(uint16_t value) override;
  bool GetDateTime(uint16_t* year, uint16_t* month, uint16_t* day, uint16_t* hour, uint16_t* minute,
                   uint16_t* second, uint16_t* milliseconds) override;
  bool SetDateTime(const uint16_t* year, const uint16_t* month, const uint16_t* day,
                   const uint16_t* hour, const uint16_t* minute, const uint16_t* second,
                   const uint16_t* milliseconds) override;
  bool IsEqual(iFILETIME& other) override;
  bool IsNotEqual(iFILETIME& other) override;
  bool IsNotEarlier(iFILETIME& other) override;
  bool IsNotLater(iFILETIME& other) override;
  bool IsLater(iFILETIME& other) override;
  bool IsEarlier(iFILETIME& other) override;

 private:
  uint16_t Field(uint16_t platform::SystemTime::*field, uint16_t failure);
  bool SetField(uint16_t platform::SystemTime::*field, uint16_t value);
  int Compare(iFILETIME& other);
};

// The handle to use for one call and the file's error text. The kinds implement the four
// reading and writing operations on their member of the time triple.
class TanFileDateTime : public TanFileDateTimeBasis {
 public:
  // Throws std::runtime_error "invalid-parameters" when the file is not open and has no path.
  TanFileDateTime(platform::FileHandle& fileHandle, const std::string& path,
                  std::string& errorText);
  ~TanFileDateTime() override;

 protected:
  // Which of the triple to read or write; the others are left alone.
  enum class Member { Creation, LastAccess, LastWrite };
  bool ReadTime(Member member, platform::FileTime& time);
  bool WriteTime(Member member, const platform::FileTime& time);
  // The calendar form of the member, through the two above.
  bool ReadCalendar(Member member, platform::SystemTime& time);
  bool WriteCalendar(Member member, const platform::SystemTime& time);

 private:
  bool Acquire(bool forWriting);
  void Release(bool ok);

  platform::FileHandle FHandle;
  platform::FileHandle& FFileHandle;
  const std::string& FPath;
  std::string& FLastErrorText;
  bool FOwnsHandle;
};

class TanFileDateCreationTime : public TanFileDateTime {
 public:
  using TanFileDateTime::TanFileDateTime;
  bool ReadSystemTime(platform::SystemTime& time) override;
  bool WriteSystemTime(const platform::SystemTime& time) override;
  bool ReadFileTime(platform::FileTime& time) override;
  bool WriteFileTime(const platform::FileTime& time) override;
};

class TanFileDateLastAccessTime : public TanFileDateTime {
 public:
  using TanFileDateTime::TanFileDateTime;
  bool ReadSystemTime(platform::SystemTime& time) override;
  bool WriteSystemTime(const platform::SystemTime& time) override;
  bool ReadFileTime(platform::FileTime& time) override;
  bool WriteFileTime(const platform::FileTime& time) override;
};

class TanFileDateLastModificationTime : public TanFileDateTime {
 public:
  using TanFileDateTime::TanFileDateTime;
  bool ReadSystemTime(platform::SystemTime& time) override;
  bool WriteSystemTime(const platform::SystemTime& time) override;
  bool ReadFileTime(platform::FileTime& time) override;
  bool WriteFileTime(const platform::FileTime& time) override;
};

}  // namespace ORN_std
