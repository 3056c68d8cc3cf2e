// The VCL's string types: AnsiString is 8-bit text (UTF-8 here), WideString wide text.
#pragma once

#include <string>

namespace System {

using AnsiString = std::string;
using WideString = std::wstring;

}  // namespace System
