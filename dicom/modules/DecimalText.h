// Number texts of the modules: decimal texts in the general format with '.' whatever the
// locale, kept within the 16 characters of a DS value, and the readers of IS/DS texts.
#pragma once

#include <string>

namespace ndl_impl {

// At most 15 significant digits, no trailing zeros, no point for whole numbers; fewer digits
// when the text would pass 16 characters.
std::string DecimalText(double value);

// IS and DS values of a text, through the number texts of the element layer; a DS text that is
// no number gives 0.0.
int IntegerOfText(const std::string& text);
double DoubleOfText(const std::string& text);

}  // namespace ndl_impl
