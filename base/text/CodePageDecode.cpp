#include "base/text/CodePageDecode.h"

#include <initializer_list>

namespace ORN_string_utils {

namespace {

struct Row {
  std::initializer_list<const char*> terms;
  uint16_t codePage;
};

const Row kRows[] = {
    {{"ISO_IR 100", "ISO 2022 IR 100"}, 28591},
    {{"ISO_IR 101", "ISO 2022 IR 101"}, 28592},
    {{"ISO_IR 109", "ISO 2022 IR 109"}, 28593},
    {{"ISO_IR 110", "ISO 2022 IR 110"}, 28594},
    {{"ISO_IR 127", "ISO 2022 IR 127"}, 28596},
    {{"ISO_IR 126", "ISO 2022 IR 126"}, 28597},
    {{"ISO_IR 138", "ISO 2022 IR 138"}, 28598},
    {{"ISO_IR 144", "ISO 2022 IR 144"}, 28595},
    {{"ISO_IR 148", "ISO 2022 IR 148"}, 28599},
    {{"ISO 2022 IR 149"}, 50225},
    {{"ISO 2022 IR 159"}, 50221},
    {{"ISO_IR 166", "ISO 2022 IR 166"}, kThaiCodePage},
    {{"ISO_IR 192"}, 65001},
    {{"ISO_IR 13", "ISO 2022 IR 13"}, 50222},
    {{"ISO 2022 IR 87"}, 50220},
    {{"GB18030"}, 936},
};

// The VCL's Trim: characters up to and including the blank are cut at both ends.
std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

}  // namespace

template <class TString>
uint16_t CodePageDecode<TString>::GetCodePage(const TString& characterSet) const {
  const std::string value = Trim(std::string(characterSet.c_str()));
  if (value.empty()) return 0;
  for (const Row& row : kRows) {
    for (const char* term : row.terms) {
      if (value.find(term) != std::string::npos) return row.codePage;
    }
  }
  return 0;
}

template class CodePageDecode<std::string>;

}  // namespace ORN_string_utils
