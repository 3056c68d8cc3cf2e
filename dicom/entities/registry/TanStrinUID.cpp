#include "dicom/entities/registry/TanStrinUID.h"

#include <string_view>

namespace ORN_utility {
namespace {

// 1-based position of the first ".", the length plus 1 without one, 0 for an empty text.
size_t Mark(std::string_view text) {
  if (text.empty()) return 0;
  const size_t dot = text.find('.');
  return dot == std::string_view::npos ? text.size() + 1 : dot + 1;
}

std::string_view Rest(std::string_view text, size_t mark) {
  return mark <= text.size() ? text.substr(mark) : std::string_view();
}

}  // namespace

bool TanStrinUID::IsGreater(const std::string& aText, const std::string& bText) {
  std::string_view a = aText;
  std::string_view b = bText;
  for (;;) {
    const size_t markA = Mark(a);
    const size_t markB = Mark(b);
    if (markA != markB || markA == 0 || markB == 0) return markB < markA;
    for (size_t i = 0; i + 1 < markA; ++i) {
      const auto ca = static_cast<signed char>(a[i]);
      const auto cb = static_cast<signed char>(b[i]);
      if (ca != cb) return ca > cb;
    }
    a = Rest(a, markA);
    b = Rest(b, markB);
  }
}

}  // namespace ORN_utility
