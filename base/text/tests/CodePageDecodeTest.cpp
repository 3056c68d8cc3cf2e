#include <gtest/gtest.h>

#include "base/text/CodePageDecode.h"

namespace {

struct Case {
  const char* value;
  uint16_t codePage;
};

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << c.value << "\" -> " << c.codePage; }

class CodePageDecodeTest : public ::testing::TestWithParam<Case> {};

TEST_P(CodePageDecodeTest, MapsCharacterSetToCodePage) {
  ORN_string_utils::CodePageDecode<std::string> decode;
  EXPECT_EQ(decode.GetCodePage(GetParam().value), GetParam().codePage) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    TermTable, CodePageDecodeTest,
    ::testing::Values(
        // every row of the table, in both spellings where it has two
        Case{"ISO_IR 100", 28591}, Case{"ISO 2022 IR 100", 28591}, Case{"ISO_IR 101", 28592},
        Case{"ISO 2022 IR 101", 28592}, Case{"ISO_IR 109", 28593}, Case{"ISO_IR 110", 28594},
        Case{"ISO_IR 127", 28596}, Case{"ISO_IR 126", 28597}, Case{"ISO_IR 138", 28598},
        Case{"ISO 2022 IR 138", 28598}, Case{"ISO_IR 144", 28595}, Case{"ISO_IR 148", 28599},
        Case{"ISO 2022 IR 149", 50225}, Case{"ISO 2022 IR 159", 50221}, Case{"ISO_IR 166", 874},
        Case{"ISO 2022 IR 166", 874}, Case{"ISO_IR 192", 65001}, Case{"ISO_IR 13", 50222},
        Case{"ISO 2022 IR 13", 50222}, Case{"ISO 2022 IR 87", 50220}, Case{"GB18030", 936},
        // trimming, empties and unknown terms
        Case{"  ISO_IR 100 \t", 28591}, Case{"", 0}, Case{"   ", 0}, Case{"ISO_IR 6", 0},
        Case{"iso_ir 100", 0},
        // substring search in table order
        Case{"\\ISO 2022 IR 87", 50220}, Case{"ISO 2022 IR 6\\ISO 2022 IR 87", 50220},
        Case{"ISO 2022 IR 13\\ISO 2022 IR 87", 50222},
        Case{"ISO 2022 IR 126\\ISO 2022 IR 100", 28591},
        Case{"ISO 2022 IR 100\\ISO 2022 IR 126", 28591}));

}  // namespace
