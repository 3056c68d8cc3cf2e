#include "platform/core/DateTimeFormat.h"

#include <cstdio>

namespace platform {

std::optional<std::string> FormatShortDate(int year, int month, int day) {
  if (year < 1601 || year > 30827 || month < 1 || month > 12 || day < 1) return std::nullopt;
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  if (day > last) return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d/%d", month, day, year);
  return std::string(text);
}

std::optional<std::string> FormatTime24(int hour, int minute, int second, int milliseconds) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || milliseconds < 0 ||
      milliseconds > 999)
    return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
  return std::string(text);
}

}  // namespace platform
