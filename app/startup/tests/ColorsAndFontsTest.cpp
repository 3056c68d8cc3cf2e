// Colours and fonts read from the GUI_COLORS and GUI_FONTS pages.
#include <gtest/gtest.h>

#include "app/startup/ColorsAndFonts.h"
#include "app/startup/tests/PagesRecord.h"

namespace app {
namespace {

using test::Page;
using test::PagesRecord;

TEST(ColorsTest, EntriesAndTheirDefaults) {
  PagesRecord record({{L"GUI_COLORS",
                       Page(L"GUI_COLORS",
                            L"<cInfo value=\"clRed\"/><cHex value=\"$00A1B2C3\"/><cBad value=\"notacolour\"/>"
                            L"<cRedOnly red=\"255\"/><cWrap red=\"300\" green=\"0\" blue=\"0\"/><cNone/>"
                            L"<cSystem value=\"clBtnFace\"/><cTwice value=\"clBlue\"/><cTwice value=\"clLime\"/>"
                            L"<popup_text_normal red=\"1\" green=\"2\" blue=\"3\"/>")}});
  struct Case {
    const wchar_t* name;
    TColor expected;
  } cases[] = {
      {L"cInfo", 0x0000FF},        {L"cHex", 0xA1B2C3},   {L"cBad", 0x808080},
      {L"cRedOnly", 0x8080FF},     {L"cWrap", 0x00002C},  {L"cNone", 0x808080},
      {L"cSystem", clBtnFace},     {L"cTwice", clLime},   {L"popup_text_normal", 0x030201},
  };
  for (TsgColors colors(&record); const auto& c : cases)
    EXPECT_EQ(colors.GetColor(c.name, 0x123456), c.expected) << std::string(c.name, c.name + wcslen(c.name));
  TsgColors colors(&record);
  EXPECT_EQ(colors.GetColor(L"cinfo", 0x00FF00), 0x00FF00);  // letter case counts
  TvsColors vs(&record);
  EXPECT_EQ(vs.GetColor(L"cHex", 0), 0xA1B2C3);
  EXPECT_EQ(vs.GetColor(L"cMissing", 7), 7);
}

TEST(ColorsTest, MissingOrBrokenPageGivesDefaults) {
  for (const std::wstring& page : {std::wstring(), std::wstring(L"<GUI_COLORS><cTitle"), std::wstring(L"<GUI_COLORS/>")}) {
    PagesRecord record({{L"GUI_COLORS", page}});
    TsgColors colors(&record);
    EXPECT_EQ(colors.GetColor(L"cTitle", 0x00FF00), 0x00FF00);
    EXPECT_EQ(colors.GetColor(L"cTitle"), 0);
    EXPECT_EQ(colors.Count(), 0);
  }
}

TEST(FontsTest, EntriesStylesColoursAndRatio) {
  PagesRecord record(
      {{L"GUI_COLORS", Page(L"GUI_COLORS", L"<cTitle red=\"10\" green=\"20\" blue=\"30\"/>")},
       {L"GUI_FONTS",
        Page(L"GUI_FONTS",
             L"<gui_ratio value=\"2\"/>"
             L"<fntBoldItalic name=\"Courier New\" height=\"-16\" bold=\"Yes\" italic=\"true\"/>"
             L"<fntPitchCase pitch=\"Fixed\"/><fntFixed pitch=\"fixed\" underline=\"1\" strikeout=\"On\"/>"
             L"<fntResource resource=\"cTitle\"/><fntResourceMissing resource=\"cNothing\"/>"
             L"<fntColorWins color=\"clRed\" resource=\"cTitle\"/><fntBadColor color=\"zzz\"/>"
             L"<fntRgb green=\"255\"/><fntTwice name=\"A\"/><fntTwice name=\"B\"/>")}});
  TsgFonts<TFont> fonts(&record);
  EXPECT_EQ(fonts.GetRatio(), 2);
  const TFont* boldItalic = fonts.GetFont(L"fntBoldItalic");
  EXPECT_EQ(boldItalic->Name, "Courier New");
  EXPECT_EQ(boldItalic->Style, fsBold | fsItalic);
  EXPECT_EQ(boldItalic->Height(), -16);
  EXPECT_EQ(fonts.GetFont(L"fntPitchCase")->Pitch, fpDefault);
  EXPECT_EQ(fonts.GetFont(L"fntPitchCase")->Name, "MS Sans Serif");
  EXPECT_EQ(fonts.GetFont(L"fntFixed")->Pitch, fpFixed);
  EXPECT_EQ(fonts.GetFont(L"fntFixed")->Style, fsUnderline | fsStrikeOut);
  EXPECT_EQ(fonts.GetFont(L"fntResource")->Color, 0x1E140A);
  EXPECT_EQ(fonts.GetFont(L"fntResourceMissing")->Color, 0);
  EXPECT_EQ(fonts.GetFont(L"fntColorWins")->Color, clRed);
  EXPECT_EQ(fonts.GetFont(L"fntBadColor")->Color, 0);
  EXPECT_EQ(fonts.GetFont(L"fntRgb")->Color, 0x00FF00);
  EXPECT_EQ(fonts.GetFont(L"fntTwice")->Name, "B");

  // Unknown names: GetFont gives the built-in default, CopyFont leaves the destination.
  const TFont* fallback = fonts.GetFont(L"fntUnknown");
  EXPECT_EQ(fallback, fonts.GetFont(L"fntDefault"));
  EXPECT_EQ(fallback->Name, "Arial");
  TFont destination;
  destination.Name = "Keep";
  destination.Charset = 77;
  EXPECT_FALSE(fonts.CopyFont(L"fntUnknown", &destination));
  EXPECT_EQ(destination.Name, "Keep");
  ASSERT_TRUE(fonts.CopyFont(L"fntBoldItalic", &destination));
  EXPECT_EQ(destination.Name, "Courier New");
  EXPECT_EQ(destination.Style, fsBold | fsItalic);
  EXPECT_EQ(destination.Charset, 77);  // the character set is not copied
}

TEST(FontsTest, WithoutPageOnlyTheBuiltInDefault) {
  PagesRecord record({});
  TsgFonts<TFont> fonts(&record);
  EXPECT_EQ(fonts.GetRatio(), 1);
  EXPECT_EQ(fonts.GetFont(L"fntTitle")->Name, "Arial");
  TvsFonts vs(&record);
  EXPECT_EQ(vs.Ratio, 1);
  EXPECT_EQ(vs.Title.Name, "MS Sans Serif");
  EXPECT_EQ(vs.Grid.Size, 8);
}

TEST(FontsTest, MainWindowFontsWithRatio) {
  PagesRecord record({{L"GUI_FONTS", Page(L"GUI_FONTS",
                                          L"<fntTitle height=\"12\"/><gui_ratio value=\"3\"/>"
                                          L"<fntGrid name=\"Courier\" height=\"10\"/><fntDefault name=\"Arial\"/>")}});
  TvsFonts vs(&record);
  EXPECT_EQ(vs.Ratio, 3);
  EXPECT_EQ(vs.Title.Name, "");
  EXPECT_EQ(vs.Title.Size, 12);
  EXPECT_EQ(vs.Grid.Name, "Courier");
  EXPECT_EQ(vs.Grid.Size, 10);
  EXPECT_EQ(vs.Default.Name, "Arial");
  EXPECT_EQ(vs.Default.Size, 8);
  EXPECT_EQ(vs.Info.Name, "MS Sans Serif");
  EXPECT_EQ(vs.Footer.Size, 8);
}

TEST(ConvertersTest, WideAndEightBitTexts) {
  EXPECT_EQ(TfuncConvertFrom<System::WideString>()(std::wstring(L"ab\0cd", 5)), L"ab");
  EXPECT_EQ(TfuncConvertFrom<System::AnsiString>()("Gr\xC3\xBC\xC3\x9F" "e"), L"Gr\u00FC\u00DFe");
  EXPECT_EQ(TfuncConvertTo<System::AnsiString>()(L""), "");
  EXPECT_EQ(TfuncConvertTo<System::AnsiString>()(L"\u00E9t\u00E9"), "\xC3\xA9t\xC3\xA9");
}

}  // namespace
}  // namespace app
