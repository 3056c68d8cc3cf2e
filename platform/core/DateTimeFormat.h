// GetDateFormatA with the short-date format and GetTimeFormatA with the 24-hour format, for
// the user's default locale. The default locale here is English (United States): "M/d/yyyy"
// and "HH:mm:ss". As on Windows, a date or time that does not exist is refused.
#pragma once

#include <optional>
#include <string>

namespace platform {

// Years 1601 to 30827, months 1 to 12, days within the month (leap years counted).
std::optional<std::string> FormatShortDate(int year, int month, int day);
// Hours 0 to 23, minutes and seconds 0 to 59, milliseconds 0 to 999.
std::optional<std::string> FormatTime24(int hour, int minute, int second, int milliseconds);

}  // namespace platform
