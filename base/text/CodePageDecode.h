// The Windows code page with which the texts of a DICOM Specific Character Set (0008,0005)
// are converted. Used by the GUI side (data-set provider, tag viewer) and by the element
// library's decoder (ORN_string_utils::TanDicomAnsiToUnicode), which has the same table.
#pragma once

#include <cstdint>
#include <string>

namespace ORN_string_utils {

template <class TString>
class CodePageDecode {
 public:
  virtual ~CodePageDecode() = default;

  // Trims the value, then searches the term table in its fixed order for the first row with a
  // term that occurs anywhere in it (a substring, case-sensitive); 0 when none does.
  // The order matters: "ISO_IR 138" must be tested before the "ISO_IR 13" it contains, and a
  // multi-valued set is decided by the row that comes first in the table.
  virtual uint16_t GetCodePage(const TString& characterSet) const;
};

// Code page for TIS 620 (Thai) text: Windows code page 874.
constexpr uint16_t kThaiCodePage = 874;

extern template class CodePageDecode<std::string>;

}  // namespace ORN_string_utils
