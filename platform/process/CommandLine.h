// Splitting a Win32 command line into arguments, and quoting arguments into one.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Splits as Windows programs do: blanks and tabs separate; the program name runs to the next
// blank, or between quotes when it starts with one; in the other arguments quotes group
// blanks, 2n backslashes before a quote give n backslashes and toggle quoting, 2n+1 give n
// backslashes and a literal quote, and "" inside quotes is a literal quote.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// Quotes one argument so that SplitCommandLine gives it back unchanged (no quotes when it
// needs none).
std::string QuoteArgument(const std::string& argument);

}  // namespace platform
