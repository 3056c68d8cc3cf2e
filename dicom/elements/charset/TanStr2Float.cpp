#include "dicom/elements/charset/TanStr2Float.h"

#include <charconv>
#include <cstring>
#include <stdexcept>

#include "dicom/elements/charset/NumberText.h"

namespace ORN_utility {

TanStr2Float::TanStr2Float(const char* text) {
  const auto [begin, end] = number_text::FirstValue(text);
  const char* p = begin;
  size_t n = 0;
  if (p < end && (*p == '-' || *p == '+')) {
    if (*p == '-') FBody[n++] = '-';
    ++p;
  }
  bool point = false, exponent = false, sign = false;
  for (; p < end; ++p) {
    const char c = *p;
    bool keep = c >= '0' && c <= '9';
    if (!keep && c == '.' && !point) keep = point = true;
    if (!keep && (c == 'e' || c == 'E') && !exponent) keep = exponent = true;
    if (!keep && (c == '-' || c == '+') && !sign) keep = sign = true;
    // "1,5" is not 15: a character that cannot belong to the number ends it.
    if (!keep) break;
    if (n == kCapacity) {
      FTooLong = true;
      break;
    }
    FBody[n++] = c;
  }
  FBody[n] = '\0';
}

long double TanStr2Float::ToFloat() const {
  const size_t n = std::strlen(FBody);
  if (n == 0 && !FTooLong) return 0;
  long double value = 0;
  const auto [ptr, ec] = std::from_chars(FBody, FBody + n, value);
  if (FTooLong || ec != std::errc() || ptr != FBody + n) {
    throw std::invalid_argument("'" + std::string(FBody) + "' is not a valid floating point value");
  }
  return value;
}

}  // namespace ORN_utility
