#include "app/mainwindow/DicomTexts.h"

#include <cctype>

#include "dicom/elements/charset/TanDicomAnsiToUnicode.h"
#include "platform/core/DateTimeFormat.h"
#include "platform/vcl/SysUtils.h"

namespace vistrel_main {

namespace {

void SkipNonDigits(std::string& text) {
  size_t i = 0;
  while (i < text.size() && !std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  text.erase(0, i);
}

// Takes `count` leading characters as a number (0 when they are no number).
int TakeNumber(std::string& text, size_t count) {
  const int value = StrToIntDef(text.substr(0, count), 0);
  text.erase(0, count);
  return value;
}

// Year, month and day of a DA text; the day is only checked to be above 0.
bool ReadDate(const std::string& value, int& year, int& month, int& day) {
  std::string text = Trim(value);
  if (text.size() < 4) return false;
  year = TakeNumber(text, 4);
  if (year == 0) return false;
  SkipNonDigits(text);
  if (text.size() < 2) return false;
  month = TakeNumber(text, 2);
  if (month < 1 || month > 12) return false;
  SkipNonDigits(text);
  if (text.size() < 2) return false;
  day = TakeNumber(text, 2);
  return day > 0;
}

}  // namespace

bool ParseDicomDate(const std::string& text, platform::FileTime* result) {
  int year = 0, month = 0, day = 0;
  if (!ReadDate(text, year, month, day) || day > 31) return false;
  platform::SystemTime time;
  time.year = static_cast<uint16_t>(year);
  time.month = static_cast<uint16_t>(month);
  time.day = static_cast<uint16_t>(day);
  platform::FileTime converted;
  if (!platform::SystemTimeToFileTime(time, &converted)) return false;
  if (result) *result = converted;
  return true;
}

std::string FormatDicomDate(const std::string& text) {
  int year = 0, month = 0, day = 0;
  if (!ReadDate(text, year, month, day)) return "";
  return platform::FormatShortDate(year, month, day).value_or("");
}

std::string FormatDicomTime(const std::string& value) {
  std::string text = value;
  size_t offset = text.find('-');
  if (offset == std::string::npos) offset = text.find('+');
  if (offset != std::string::npos) text.erase(offset);
  text = Trim(text);
  if (text.size() < 2) return "";
  const int hours = TakeNumber(text, 2);
  if (hours > 24) return "";  // 24 reads; the formatting then refuses it
  SkipNonDigits(text);
  if (text.size() < 2) return "";
  const int minutes = TakeNumber(text, 2);
  if (minutes >= 60) return "";
  SkipNonDigits(text);
  int seconds = 0, milliseconds = 0;
  if (text.size() >= 2) {
    seconds = TakeNumber(text, 2);
    if (seconds >= 60) return "";
    SkipNonDigits(text);
    if (text.size() >= 3) milliseconds = TakeNumber(text, 3);
  }
  return platform::FormatTime24(hours, minutes, seconds, milliseconds).value_or("");
}

std::wstring DecodeDicomText(const char* characterSet, const char* bytes, uint32_t length) {
  if (!bytes || length == 0) return L"";
  return ORN_string_utils::TanDicomAnsiToUnicode().Decode(characterSet ? characterSet : "", bytes, length);
}

bool FileTimeLess(const platform::FileTime* a, const platform::FileTime* b) {
  return platform::CompareFileTime(*a, *b) < 0;
}

bool FileTimeEqual(const platform::FileTime* a, const platform::FileTime* b) {
  return platform::CompareFileTime(*a, *b) == 0;
}

}  // namespace vistrel_main
