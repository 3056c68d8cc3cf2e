#include "dicom/elements/charset/TanStr2Int.h"

#include <charconv>
#include <cstring>

#include "dicom/elements/charset/NumberText.h"

namespace ORN_utility {

TanStr2Int::TanStr2Int(const char* text) {
  const auto [begin, end] = number_text::FirstValue(text);
  const char* p = begin;
  size_t n = 0;
  if (p < end && (*p == '-' || *p == '+')) {
    if (*p == '-') FBody[n++] = '-';
    ++p;
  }
  for (; p < end && *p >= '0' && *p <= '9'; ++p) {
    if (n == kCapacity) {
      FTooLong = true;
      break;
    }
    FBody[n++] = *p;
  }
  FBody[n] = '\0';
}

int32_t TanStr2Int::ToInt() const {
  if (FTooLong) return 0;
  const char* end = FBody + std::strlen(FBody);
  int32_t value = 0;
  const auto [ptr, ec] = std::from_chars(FBody, end, value);
  return ec == std::errc() && ptr == end ? value : 0;
}

}  // namespace ORN_utility
