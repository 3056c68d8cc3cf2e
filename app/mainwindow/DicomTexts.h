// The DICOM dates and times the main window shows, read leniently (separators between the
// numeric parts are skipped) and written in the user's locale, and the decoding of a DICOM
// text value in its Specific Character Set. The patient display, the stack tiles and the
// navigator's grids use them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files/FileTime.h"

namespace vistrel_main {

// A DA value as the file time of 00:00:00.000 of that day (no time-zone conversion); false
// for a text without year, month and day, or a day that does not exist.
bool ParseDicomDate(const std::string& text, platform::FileTime* result);
// A DA value as the user's short date; "" when it does not read. The day only has to be
// above 0: the locale formatting refuses a day the month does not have.
std::string FormatDicomDate(const std::string& text);
// A TM value (a UTC offset suffix is dropped) as the user's 24-hour time; "" when it does
// not read.
std::string FormatDicomTime(const std::string& text);
// The bytes of a DICOM text value decoded in the Specific Character Set value (null: none).
std::wstring DecodeDicomText(const char* characterSet, const char* bytes, uint32_t length);

// FILETIME comparisons of the patient display.
bool FileTimeLess(const platform::FileTime* a, const platform::FileTime* b);
bool FileTimeEqual(const platform::FileTime* a, const platform::FileTime* b);

}  // namespace vistrel_main
