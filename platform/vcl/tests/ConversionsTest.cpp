// Number, colour and shortcut conversions with the VCL's rules.
#include <gtest/gtest.h>

#include "platform/vcl/Colors.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TStream.h"

namespace {

TEST(ConversionsTest, StrToInt) {
  struct Case {
    const char* text;
    bool ok;
    int32_t value;
  } cases[] = {
      {"250", true, 250},         {"  42", true, 42},        {"42 ", false, 0},
      {"-7", true, -7},           {"+7", true, 7},           {"$10", true, 16},
      {"0x1f", true, 31},         {"X1F", true, 31},         {"-$10", true, -16},
      {"$FFFFFFFF", true, -1},    {"2147483647", true, 2147483647},
      {"2147483648", false, 0},   {"-2147483648", true, INT32_MIN},
      {"12ab", false, 0},         {"ten", false, 0},         {"", false, 0},
      {"-", false, 0},            {"$", false, 0},           {"1 2", false, 0},
  };
  for (const auto& c : cases) {
    int32_t v = 0;
    EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
    EXPECT_EQ(StrToIntDef(c.text, -99), c.ok ? c.value : -99) << c.text;
  }
  EXPECT_THROW(StrToInt("abc"), EConvertError);
}

TEST(ConversionsTest, StrToFloatUsesTheDecimalSeparator) {
  EXPECT_DOUBLE_EQ(StrToFloatDef(" 1.5 ", 0), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloatDef("2e3", 0), 2000);
  EXPECT_DOUBLE_EQ(StrToFloatDef("1,5", 9), 9);
  EXPECT_DOUBLE_EQ(StrToFloatDef("x", 1.0), 1.0);
  FormatSettings.DecimalSeparator = ',';
  EXPECT_DOUBLE_EQ(StrToFloatDef("1,5", 9), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloatDef("1.5", 9), 9);
  FormatSettings.DecimalSeparator = '.';
  EXPECT_THROW(StrToFloat(""), EConvertError);
}

TEST(ConversionsTest, StringToColor) {
  EXPECT_EQ(StringToColor("clNavy"), 0x800000);
  EXPECT_EQ(StringToColor("CLBTNFACE"), clBtnFace);
  EXPECT_EQ(StringToColor("$00FF0000"), 0xFF0000);
  EXPECT_EQ(StringToColor("255"), 255);
  EXPECT_THROW(StringToColor("notacolor"), EConvertError);
  EXPECT_EQ(ColorToString(clRed), "clRed");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFFu);
}

TEST(ConversionsTest, TimeToStrGivesTheTimeOfDay) {
  const struct {
    double time;
    const char* text;
  } cases[] = {{0.0, "00:00:00"}, {0.5, "12:00:00"}, {45000.75, "18:00:00"}, {1.0 / 86400 * 3723, "01:02:03"}};
  for (const auto& c : cases) EXPECT_EQ(TimeToStr(c.time), c.text) << c.time;
  const double now = Now();
  EXPECT_GT(now, 45000.0);  // after 2023
  EXPECT_EQ(TimeToStr(now).size(), 8u);
}

TEST(ConversionsTest, ShortCutTexts) {
  struct Case {
    TShortCut shortcut;
    const char* text;
  } cases[] = {
      {ShortCut('S', ssCtrl), "Ctrl+S"},
      {ShortCut(0x74, ssShift | ssCtrl), "Shift+Ctrl+F5"},
      {ShortCut(0x2E, 0), "Del"},
      {ShortCut(0x21, ssAlt), "Alt+PgUp"},
      {ShortCut('1', ssShift | ssCtrl | ssAlt), "Shift+Ctrl+Alt+1"},
      {ShortCut(0x1B, 0), "Esc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShortCutToText(c.shortcut), c.text);
    EXPECT_EQ(TextToShortCut(c.text), c.shortcut) << c.text;
  }
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(TextToShortCut("ctrl+shift+s"), ShortCut('S', ssCtrl | ssShift));
  EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), 0);
  EXPECT_EQ(TextToShortCut(""), 0);
  uint16_t key;
  TShiftState shift;
  ShortCutToKey(ShortCut('Q', ssAlt | ssCtrl), key, shift);
  EXPECT_EQ(key, 'Q');
  EXPECT_EQ(shift, ssAlt | ssCtrl);
}

TEST(StreamTest, MemoryStream) {
  TMemoryStream s;
  EXPECT_EQ(s.Write("abcdef", 6), 6);
  s.SetPosition(2);
  char buffer[8] = {};
  EXPECT_EQ(s.Read(buffer, 8), 4);
  EXPECT_STREQ(buffer, "cdef");
  EXPECT_EQ(s.Seek(-1, soEnd), 5);
  s.SetSize(3);
  EXPECT_EQ(s.Position(), 3);
  EXPECT_EQ(s.Read(buffer, 1), 0);
  EXPECT_THROW(TFileStream("/nonexistent/x", fmOpenRead), EFOpenError);
}

}  // namespace
