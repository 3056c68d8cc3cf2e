#include "platform/vcl/SysUtils.h"

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>

TFormatSettings FormatSettings;

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Upper(c);
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool SameText(const System::AnsiString& a, const System::AnsiString& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

System::AnsiString UpperCase(const System::AnsiString& text) {
  System::AnsiString out = text;
  for (char& c : out) c = Upper(c);
  return out;
}

System::AnsiString LowerCase(const System::AnsiString& text) {
  System::AnsiString out = text;
  for (char& c : out) c = Lower(c);
  return out;
}

System::AnsiString TrimLeft(const System::AnsiString& text) {
  size_t b = 0;
  while (b < text.size() && Blank(text[b])) ++b;
  return text.substr(b);
}

System::AnsiString TrimRight(const System::AnsiString& text) {
  size_t e = text.size();
  while (e > 0 && Blank(text[e - 1])) --e;
  return text.substr(0, e);
}

System::AnsiString Trim(const System::AnsiString& text) { return TrimLeft(TrimRight(text)); }

bool TryStrToInt(const System::AnsiString& text, int32_t& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && Upper(text[i]) == 'X') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && Upper(text[i + 1]) == 'X') {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int d = base == 16 ? HexDigit(text[i]) : (std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0' : -1);
    if (d < 0) return false;
    magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  // Hexadecimal may give the whole 32 bits (as Val does); decimal must fit a signed int.
  if (base == 16) {
    const auto bits = static_cast<uint32_t>(magnitude);
    value = negative ? -static_cast<int32_t>(bits) : static_cast<int32_t>(bits);
    return true;
  }
  const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
  if (magnitude > limit) return false;
  value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
  return true;
}

int32_t StrToInt(const System::AnsiString& text) {
  int32_t value = 0;
  if (!TryStrToInt(text, value)) throw EConvertError("'" + text + "' is not a valid integer value");
  return value;
}

int32_t StrToIntDef(const System::AnsiString& text, int32_t fallback) {
  int32_t value = 0;
  return TryStrToInt(text, value) ? value : fallback;
}

System::AnsiString IntToStr(int64_t value) { return std::to_string(value); }

bool TryStrToFloat(const System::AnsiString& text, double& value) {
  const System::AnsiString trimmed = Trim(text);
  if (trimmed.empty()) return false;
  // Rewrite into the C locale's form so strtod reads it the same in every process locale.
  std::string c;
  for (char ch : trimmed) {
    if (ch == FormatSettings.DecimalSeparator) {
      c += '.';
    } else if (ch == '.' || ch == ',' || ch == ' ') {
      return false;
    } else if (std::isdigit(static_cast<unsigned char>(ch)) || ch == '+' || ch == '-' || ch == 'e' || ch == 'E') {
      c += ch;
    } else {
      return false;
    }
  }
  const char* point = std::localeconv()->decimal_point;
  if (point && point[0] != '.') {
    for (char& ch : c)
      if (ch == '.') ch = point[0];
  }
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(c.c_str(), &end);
  if (end != c.c_str() + c.size() || errno == ERANGE) return false;
  value = parsed;
  return true;
}

double StrToFloat(const System::AnsiString& text) {
  double value = 0;
  if (!TryStrToFloat(text, value)) throw EConvertError("'" + text + "' is not a valid floating point value");
  return value;
}

double StrToFloatDef(const System::AnsiString& text, double fallback) {
  double value = 0;
  return TryStrToFloat(text, value) ? value : fallback;
}

TDateTime Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  // Days from 1899-12-30 to the local calendar date (a proleptic Gregorian day count).
  auto dayCount = [](int year, int month0, int day) {
    const long y = year - (month0 < 2 ? 1 : 0);
    const long m = (month0 + 9) % 12;
    return 365 * y + y / 4 - y / 100 + y / 400 + (m * 306 + 5) / 10 + (day - 1);
  };
  const long days = dayCount(local.tm_year + 1900, local.tm_mon, local.tm_mday) - dayCount(1899, 11, 30);
  return static_cast<double>(days) + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

System::AnsiString TimeToStr(TDateTime time) {
  const double fraction = std::fabs(time - std::trunc(time));
  int seconds = static_cast<int>(std::lround(fraction * 86400.0)) % 86400;
  std::tm t{};
  t.tm_hour = seconds / 3600;
  t.tm_min = seconds / 60 % 60;
  t.tm_sec = seconds % 60;
  char text[64];
  const size_t n = std::strftime(text, sizeof text, "%X", &t);
  return System::AnsiString(text, n);
}
