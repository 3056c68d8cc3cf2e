// Texts between data elements (8-bit, the ANSI code page) and the modules' wide (UTF-16)
// explanations; the data set's Specific Character Set is not consulted.
#pragma once

#include <string>

namespace ndl_impl {

std::u16string AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::u16string& text);

}  // namespace ndl_impl
