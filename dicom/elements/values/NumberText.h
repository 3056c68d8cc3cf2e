// Numbers as the text the values give: integers in decimal, floating values in the general
// form with at most 15 significant digits and "." as decimal separator whatever the locale
// (these texts are copied into DICOM data).
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

namespace ORN_dicom {

std::string FloatText(double v);

template <class T>
std::string NumberText(T v) {
  if constexpr (std::is_floating_point_v<T>) return FloatText(static_cast<double>(v));
  else return std::to_string(v);
}

}  // namespace ORN_dicom
