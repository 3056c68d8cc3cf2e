// Tool shortcuts and measurement statistics of Base.ini.
#include <gtest/gtest.h>

#include "app/startup/ToolsIni.h"
#include "app/startup/tests/StartupFiles.h"

namespace orn_ini {
namespace {

TEST(IniShortCutTest, Parse) {
  struct Case {
    const char* text;
    uint16_t key;
    bool ctrl, alt, shift;
  } cases[] = {
      {"Ctrl+Z", 'Z', true, false, false},
      {"   Ctrl+Z  ", 'Z', true, false, false},
      {"Ctrl+Alt+F5", 0x74, true, true, false},
      {"Shift+Ctrl+P", 'P', true, false, true},
      {"F2", 0x71, false, false, false},
      {"Hyper+Q", 0, false, false, false},
      {"", 0, false, false, false},
  };
  for (const auto& c : cases) {
    TanIniShortCut s;
    s.Parse(c.text);
    EXPECT_EQ(s.key, c.key) << c.text;
    EXPECT_EQ(s.ctrl, c.ctrl) << c.text;
    EXPECT_EQ(s.alt, c.alt) << c.text;
    EXPECT_EQ(s.shift, c.shift) << c.text;
    EXPECT_EQ(s.value, c.key ? TextToShortCut(c.text[0] == ' ' ? "Ctrl+Z" : c.text) : 0) << c.text;
    EXPECT_EQ(s.IsEmpty(), c.key == 0) << c.text;
  }
}

TEST(ToolsIniTest, ShortCuts) {
  struct Case {
    const char* name;
    std::string section;
    bool loaded;
    TShortCut zoom, voi, pan, navigation;
  } cases[] = {
      {"all four", "ZoomShortCut=Ctrl+Z\nVoiShortCut=Ctrl+W\nPanShortCut=Ctrl+P\nNavigationShortCut=Ctrl+N\n", true,
       scCtrl | 'Z', scCtrl | 'W', scCtrl | 'P', scCtrl | 'N'},
      // One missing or unreadable shortcut disables only itself.
      {"one missing", "ZoomShortCut=  Ctrl+Z  \nVoiShortCut=Ctrl+W\nPanShortCut=Ctrl+P\n", false, scCtrl | 'Z',
       scCtrl | 'W', scCtrl | 'P', 0},
      {"one unreadable", "ZoomShortCut=Ctrl+Z\nVoiShortCut=Bogus\nPanShortCut=Ctrl+P\nNavigationShortCut=F3\n", false,
       scCtrl | 'Z', 0, scCtrl | 'P', 0x72},
      {"none", "", false, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    app::test::ScratchIni files("tools");
    files.WriteBaseIni("[MAIN TOOLS]\n" + c.section);
    TanToolsrIni tools(files.BaseIni());
    EXPECT_EQ(tools.IsLoaded(), c.loaded) << c.name;
    EXPECT_EQ(tools.GetZoomShortCut(), c.zoom) << c.name;
    EXPECT_EQ(tools.GetVoiShortCut(), c.voi) << c.name;
    EXPECT_EQ(tools.GetPanShortCut(), c.pan) << c.name;
    EXPECT_EQ(tools.GetNavigationShortCut(), c.navigation) << c.name;
  }
  TanToolsrIni missing("/nonexistent/VistrelBase.ini");
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_EQ(missing.GetZoomShortCut(), 0);
}

TEST(MeasurementStatisticsIniTest, Flags) {
  struct Case {
    const char* name;
    std::string text;
    bool valid;
    int flags;
  } cases[] = {
      {"no section", "[OTHER]\nMin=1\n", true, 0},
      {"min and mean", "[MEASUREMENT STATISTICS]\nMin=1\nMean=2\nMax=0\nStdDev=0\n", true, 5},
      {"all shown", "[MEASUREMENT STATISTICS]\nMin=1\nMax=1\nMean=1\nStdDev=1\n", true, 15},
      {"negative", "[MEASUREMENT STATISTICS]\nMin=1\nStdDev=-1\n", false, 0},
      {"not a number", "[MEASUREMENT STATISTICS]\nMax=yes\nMean=3\n", true, 4},
  };
  for (const auto& c : cases) {
    app::test::ScratchIni files("statistics");
    files.WriteBaseIni(c.text);
    TanMeasurementStatisticsIni statistics(files.BaseIni());
    EXPECT_EQ(statistics.IsValid(), c.valid) << c.name;
    EXPECT_EQ(statistics.GetFlags(), c.flags) << c.name;
  }
  TanMeasurementStatisticsIni missing("/nonexistent/VistrelBase.ini");
  EXPECT_FALSE(missing.IsValid());
  EXPECT_EQ(missing.GetFlags(), 0);
}

}  // namespace
}  // namespace orn_ini
