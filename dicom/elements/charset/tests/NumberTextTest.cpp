#include <gtest/gtest.h>

#include <locale>
#include <stdexcept>
#include <string>

#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/elements/charset/TanStr2Int.h"

namespace {

using ORN_utility::TanStr2Float;
using ORN_utility::TanStr2Int;

TEST(TanStr2Int, ReadsTheFirstIntegerValue) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"42", 42},           {"  42  ", 42},         {"-12", -12},      {" -7 ", -7},
      {"+5", 5},            {"0", 0},               {"", 0},           {"-", 0},
      {"abc", 0},           {"1\\2", 1},            {" 3 \\ 4", 3},    {"\\2", 0},
      {"1.9", 1},           {"12 mm", 12},          {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},                   {"2147483648", 0}, {"99999999999", 0},
      {"000000000012", 12}, {"0000000000012", 0},   {"--5", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TanStr2Int(c.text).ToInt(), c.value) << '"' << c.text << '"';
  EXPECT_EQ(TanStr2Int(static_cast<const char*>(nullptr)).ToInt(), 0);
  EXPECT_EQ(TanStr2Int(std::string("-8")).ToInt(), -8);
}

TEST(TanStr2Float, ReadsTheFirstDecimalValue) {
  const struct {
    const char* text;
    long double value;
  } cases[] = {
      {"12.5", 12.5L},         {"+3.5", 3.5L},        {" -0.5 ", -0.5L},   {"", 0},
      {"   ", 0},              {"-1.2e+05", -120000}, {"1E3", 1000},       {".5", 0.5L},
      {"5.", 5},               {"0.5\\0.5", 0.5L},    {"2\\3.5", 2},       {"1,5", 1},
      {"1.2.3", 1.2L},         {"12.5 mm", 12.5L},    {"1234567890.12345", 1234567890.12345L},
      {"-1.5e-3", -0.0015L},   {"abc1", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TanStr2Float(c.text).ToFloat(), c.value) << '"' << c.text << '"';
  }
  EXPECT_EQ(TanStr2Float(static_cast<const char*>(nullptr)).ToFloat(), 0);
}

TEST(TanStr2Float, RefusesWhatIsNoNumber) {
  for (const char* text : {"-", ".", "e5", "1e", "-.", "1e+", "1-2", "12345678901234567"}) {
    EXPECT_THROW(TanStr2Float(text).ToFloat(), std::invalid_argument) << '"' << text << '"';
  }
  try {
    TanStr2Float("1e").ToFloat();
    FAIL() << "no exception";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "'1e' is not a valid floating point value");
  }
}

// A locale whose decimal separator is a comma, as a German desktop has.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(TanStr2Float, PointIsTheSeparatorWhateverTheLocale) {
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  const long double value = TanStr2Float("12.5").ToFloat();
  const long double comma = TanStr2Float("12,5").ToFloat();
  std::locale::global(previous);
  EXPECT_EQ(value, 12.5L);
  EXPECT_EQ(comma, 12);
}

}  // namespace
