#include "dicom/elements/values/NumberText.h"

#include <charconv>

namespace ORN_dicom {

std::string FloatText(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  return std::string(buf, r.ptr);
}

}  // namespace ORN_dicom
