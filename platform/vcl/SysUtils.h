// The VCL's text and number conversions with its rules: StrToInt reads what Delphi's Val
// reads (leading blanks, a sign, decimal digits or hexadecimal after "$", "x" or "0x", nothing
// after them, 32-bit range); StrToFloat uses the decimal separator of FormatSettings.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "platform/vcl/SystemTypes.h"

// The VCL's conversion error.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TFormatSettings {
  char DecimalSeparator = '.';
};
// The user's settings; the program sets DecimalSeparator from its locale at start-up.
extern TFormatSettings FormatSettings;

bool SameText(const System::AnsiString& a, const System::AnsiString& b);
System::AnsiString UpperCase(const System::AnsiString& text);
System::AnsiString LowerCase(const System::AnsiString& text);
// Removes characters with codes of 32 or less from the ends.
System::AnsiString Trim(const System::AnsiString& text);
System::AnsiString TrimLeft(const System::AnsiString& text);
System::AnsiString TrimRight(const System::AnsiString& text);

bool TryStrToInt(const System::AnsiString& text, int32_t& value);
int32_t StrToInt(const System::AnsiString& text);  // throws EConvertError
int32_t StrToIntDef(const System::AnsiString& text, int32_t fallback);
System::AnsiString IntToStr(int64_t value);

// Leading and trailing blanks allowed, the separator of FormatSettings, an optional exponent.
bool TryStrToFloat(const System::AnsiString& text, double& value);
double StrToFloat(const System::AnsiString& text);  // throws EConvertError
double StrToFloatDef(const System::AnsiString& text, double fallback);

// Local date and time as days since 1899-12-30, the time in the fraction.
using TDateTime = double;
TDateTime Now();
// The time of day in the locale's long time format ("14:05:09" in the C locale).
System::AnsiString TimeToStr(TDateTime time);
