#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "dicom/entities/registry/RecordKeys.h"
#include "dicom/entities/registry/TanStrinUID.h"

namespace ORN_dicom {
namespace {

double Tod(int h, int m, int s, int ms) { return (((h * 60.0 + m) * 60.0 + s) * 1000.0 + ms) / 86400000.0; }

TEST(ParseDicomTime, ReadsPartsWithTheirBounds) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {
      {"", 0.0},
      {"240000000", 0.0},  // hour 24 is out of bounds: midnight
      {"10:15:30.123456", Tod(10, 15, 30, 123)},
      {"10:15:30.5", Tod(10, 15, 30, 500)},
      {"1015", Tod(10, 15, 0, 0)},
      {"101530.25", Tod(10, 15, 30, 250)},
      {"235960", Tod(23, 59, 0, 0)},  // seconds 60 reset
      {"236000", Tod(23, 0, 0, 0)},   // minutes 60 reset
      {"9", 0.0},                     // "9" sorts after "23"
      {"2", Tod(2, 0, 0, 0)},
      {"10:15:30.9995", Tod(10, 15, 30, 0)},  // a fraction beginning 999 gives 0 ms
      {"07", Tod(7, 0, 0, 0)},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ParseDicomTime(c.text), c.expected) << c.text;
}

TEST(ParseDicomTime, RaisesForMalformedTexts) {
  EXPECT_THROW(ParseDicomTime("101530.1234567"), std::out_of_range);  // seven fraction digits
  EXPECT_THROW(ParseDicomTime("1:15"), std::invalid_argument);        // hours "1:"
  EXPECT_THROW(ParseDicomTime("101a"), std::invalid_argument);        // minutes "1a"
  EXPECT_FALSE(TryParseDicomTime("1:15").has_value());
  EXPECT_DOUBLE_EQ(*TryParseDicomTime("1015"), Tod(10, 15, 0, 0));
}

TEST(IsUltrasoundSOPClass, MatchesBothTextsAnywhere) {
  EXPECT_TRUE(IsUltrasoundSOPClass("1.2.840.10008.5.1.4.1.1.6.1"));
  EXPECT_TRUE(IsUltrasoundSOPClass("1.2.840.10008.5.1.4.1.1.3.1"));
  EXPECT_TRUE(IsUltrasoundSOPClass(" 1.2.840.10008.5.1.4.1.1.66.1 "));
  EXPECT_FALSE(IsUltrasoundSOPClass("1.2.840.10008.5.1.4.1.1.2"));
  EXPECT_FALSE(IsUltrasoundSOPClass(""));
}

TEST(ReadKey, AcceptsUpTo64CharactersTrimmed) {
  std::string key = "unchanged";
  EXPECT_TRUE(ReadKey(nullptr, key));
  EXPECT_EQ(key, "");
  const std::string uid64(64, '1');
  EXPECT_TRUE(ReadKey(uid64.c_str(), key));
  EXPECT_EQ(key, uid64);
  key = "unchanged";
  const std::string uid65(65, '1');
  EXPECT_FALSE(ReadKey(uid65.c_str(), key));
  EXPECT_EQ(key, "unchanged");
  EXPECT_TRUE(ReadKey("  1.2.3 ", key));
  EXPECT_EQ(key, "1.2.3");
}

TEST(TanStrinUID, OrdersComponentByComponent) {
  using ORN_utility::TanStrinUID;
  struct Case {
    const char* a;
    const char* b;
    bool greater;
  } cases[] = {
      {"1.2.10", "1.2.9", true},  {"1.2.9", "1.2.10", false}, {"1.2", "1.2.0", false}, {"1.2.0", "1.2", true},
      {"1.2.3", "1.2.3", false},  {"", "1.2", false},         {"", "", false},         {"1.2", "", true},
      {"1.2.9.1", "1.2.9", true}, {"10.1", "9.9", true},      {"1.3", "1.2.99", true},
  };
  for (const Case& c : cases) EXPECT_EQ(TanStrinUID::IsGreater(c.a, c.b), c.greater) << c.a << " vs " << c.b;
}

}  // namespace
}  // namespace ORN_dicom
