#include "dicom/modules/DecimalText.h"

#include <charconv>

#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/elements/charset/TanStr2Int.h"

namespace ndl_impl {

std::string DecimalText(double value) {
  char buffer[64];
  for (int precision = 15; precision > 0; --precision) {
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    const std::string text(buffer, r.ptr);
    if (text.size() <= 16) return text;
  }
  return "0";
}

int IntegerOfText(const std::string& text) { return ORN_utility::TanStr2Int(text).ToInt(); }

double DoubleOfText(const std::string& text) {
  try {
    return static_cast<double>(ORN_utility::TanStr2Float(text).ToFloat());
  } catch (...) {
    return 0.0;
  }
}

}  // namespace ndl_impl
