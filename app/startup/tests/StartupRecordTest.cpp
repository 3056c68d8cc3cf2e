// The start-up record read from ini files beside the test program, with fake monitors.
#include <gtest/gtest.h>

#include "app/startup/ColorsAndFonts.h"
#include "app/startup/LanguageSettings.h"
#include "app/startup/TResourceInitialization.h"
#include "app/startup/tests/StartupFiles.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"

namespace app {
namespace {

const TRect kLeft = Rect(0, 0, 1920, 1080), kRight = Rect(1920, 0, 3840, 1080);

class StartupRecordTest : public ::testing::Test {
 protected:
  void TearDown() override {
    Screen->SetFakeMonitors({});
    SetLanguageDialogHook(nullptr);
  }
  // Loads a record from the ini text on the given monitors (the first is primary).
  std::unique_ptr<TResourceInitialization> LoadWith(const std::string& ini, std::vector<TRect> monitors = {kLeft}) {
    Screen->SetFakeMonitors(monitors);
    if (!ini.empty()) files_.WriteIni(ini);
    auto record = std::make_unique<TResourceInitialization>();
    record->Load(-1, files_.Prefix());
    return record;
  }
  test::ScratchIni files_{"record"};
};

TEST_F(StartupRecordTest, WithoutIniTheProgramItselfServesEveryModule) {
  auto record = LoadWith("", {kLeft, kRight});
  const HMODULE self = platform::ExecutableModule();
  EXPECT_EQ(record->GetTextModule(), self);
  EXPECT_EQ(record->GetImagesModule(), self);
  EXPECT_EQ(record->GetModule(L"AnyKey"), self);
  EXPECT_EQ(record->GetMonitorCount(), 1);
  EXPECT_EQ(record->GetMonitorTotal(), 2);
  EXPECT_EQ(record->GetLanguageDll(), "");
  EXPECT_EQ(record->GetText(L"GUI_STRINGS"), L"");
  EXPECT_EQ(record->GetText2(L"ABOUTFORM_TEXT"), L"");
  TRect desktop;
  ASSERT_TRUE(record->GetDesktopRect(&desktop));
  EXPECT_EQ(desktop, kLeft);
  EXPECT_FALSE(record->GetDesktopRect(nullptr));
  ASSERT_NE(record->GetColors(), nullptr);
  ASSERT_NE(record->GetFonts(), nullptr);
  EXPECT_EQ(record->GetColors()->GetColor(L"cTitle", 0x00FF00), 0x00FF00);
}

TEST_F(StartupRecordTest, PlacementOnTheMonitors) {
  struct Case {
    const char* name;
    std::vector<TRect> monitors;
    std::string section;
    TRect desktop;
    int monitorCount;
    TRect dialog;
  } cases[] = {
      {"monitor 2 with offsets", {kLeft, kRight}, "Monitor=2\nTop=10\nLeft=20\n", Rect(1940, 10, 3840, 1080), 1, kRight},
      {"width and height only", {kLeft}, "Width=800\nHeight=600\n", Rect(0, 0, 800, 600), 1, kLeft},
      {"empty section spans both", {kLeft, kRight}, "", Rect(0, 0, 3840, 1080), 2, kLeft},
      {"monitor count cut to the monitors", {kLeft, kRight}, "MonitorCount=5\n", Rect(0, 0, 3840, 1080), 2, kLeft},
      {"absolute point on the second monitor", {kLeft, kRight}, "Left=2000\nTop=5\n", Rect(2000, 5, 3840, 1080), 1, kRight},
      {"taller second monitor sets the bottom", {kLeft, Rect(1920, 0, 3840, 1200)}, "", Rect(0, 0, 3840, 1200), 2, kLeft},
      {"monitor count 1 keeps one monitor", {kLeft, kRight}, "MonitorCount=1\n", Rect(0, 0, 1920, 1080), 1, kLeft},
      // A monitor past the end cannot be read: the primary's rectangle with the offsets.
      {"monitor past the end", {kLeft, kRight}, "Monitor=3\nTop=7\nLeft=9\n", Rect(9, 7, 3840, 1080), 2, kLeft},
      {"malformed numbers take their defaults", {kLeft}, "Width=abc\nHeight=12x\n", Rect(0, 0, 1920, 1080), 1, kLeft},
  };
  for (const auto& c : cases) {
    auto record = LoadWith("[MULTIMONITOR]\n" + c.section, c.monitors);
    TRect desktop;
    record->GetDesktopRect(&desktop);
    EXPECT_EQ(desktop, c.desktop) << c.name << ": " << desktop.Left << "," << desktop.Top << "," << desktop.Right
                                  << "," << desktop.Bottom;
    EXPECT_EQ(record->GetMonitorCount(), c.monitorCount) << c.name;
    EXPECT_EQ(record->LanguageDialogRect(), c.dialog) << c.name;
  }
}

TEST_F(StartupRecordTest, ModulesAreLoadedOnlyFromBesideTheProgram) {
  struct Case {
    const char* name;
    std::string gui;
    bool englishLoaded;
    bool reported;
  } cases[] = {
      {"file name beside the program", "TextDLL=Lingopack_English.dll\n", true, false},
      {"full path beside the program", "TextDLL=" + test::ProgramFolder() + "/Lingopack_English.dll\n", true, false},
      {"path elsewhere", "TextDLL=/tmp/Lingopack_English.dll\n", false, true},
      {"a number is no module", "TextDLL=1\n", false, true},
      {"missing module", "TextDLL=Lingopack_Missing.dll\n", false, true},
      {"LanguageSelection is not a module key", "LanguageSelection=1\n", false, false},
  };
  for (const auto& c : cases) {
    auto record = LoadWith("[GUI]\n" + c.gui);
    const bool loaded = !record->GetText(L"GUI_COLORS").empty();
    EXPECT_EQ(loaded, c.englishLoaded) << c.name;
    const std::wstring message = record->GetErrorGuard().PopMessage();
    EXPECT_EQ(record->GetErrorGuard().PopErrorFlag(), c.reported) << c.name;
    if (c.reported) {
      EXPECT_NE(message.find(L"TextDLL"), std::wstring::npos) << c.name;
    }
    if (!loaded) {
      EXPECT_EQ(record->GetTextModule(), platform::ExecutableModule()) << c.name;
    }
  }
}

TEST_F(StartupRecordTest, EnglishModuleGivesPagesTextsVersionAndColours) {
  auto record = LoadWith("[GUI]\nTextDLL=Lingopack_English.dll\nImagesDLL=Lingopack_English.dll\nLanguageSelection=0\n");
  EXPECT_EQ(record->GetLanguageDll(), "Lingopack_English.dll");
  EXPECT_NE(record->GetTextModule(), platform::ExecutableModule());
  EXPECT_NE(record->GetText(L"GUI_HINTS").find(L"GUI_HINTS"), std::wstring::npos);
  EXPECT_FALSE(record->GetText2(L"ABOUTFORM_TEXT").empty());
  EXPECT_NE(record->GetColors()->GetColor(L"cTitle", -5), -5);
  // The version record is kept under the [GUI] key, not the module's path.
  EXPECT_NE(record->GetVersionInfoSet()->GetVersionInfo(L"TextDLL")->ProductName, L"Unavailable");
}

TEST_F(StartupRecordTest, CalibrationFactorsReadWithAPointWhateverTheLocale) {
  const char separator = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = ',';
  auto record = LoadWith("[CALIBRATION]\ndefault=mm\nmm=1\ncm=10\ninch=abc\nDefault=2.54x\nft=304.8\nhalf=,5\n");
  FormatSettings.DecimalSeparator = separator;
  EXPECT_EQ(record->GetDefaultCalibrationUnit(), L"mm");
  TCalibrationFactors factors{{L"stale", 9.0}};
  record->GetCalibrationFactors(factors);
  const TCalibrationFactors expected{{L"mm", 1.0}, {L"cm", 10.0}, {L"inch", 1.0}, {L"Default", 1.0}, {L"ft", 304.8},
                                     {L"half", 1.0}};
  EXPECT_EQ(factors, expected);
}

TEST_F(StartupRecordTest, GuiDefaultsByExactKey) {
  auto record = LoadWith(
      "[GUI_DEFAULTS]\nOne=1\nZero=0\nYesWord=  Yes  \nTRUEWord=TRUE\nPart=ES\nLetter=Y\nUnderscore=_\nTen=10\n"
      "Mixed=yEs\nBlanks=\" \"\nPollingDelay=2000\nHex=$10\nTrailing=12ab\nlowercase=5\n");
  struct BoolCase {
    const wchar_t* key;
    bool fallback, expected;
  } bools[] = {
      {L"One", false, true},       {L"Zero", true, false},       {L"YesWord", false, true},
      {L"TRUEWord", false, true},  {L"Part", true, false},       {L"Letter", true, false},
      {L"Underscore", true, false}, {L"Ten", true, false},       {L"Mixed", true, false},
      {L"Blanks", true, false},    {L"Missing", true, true},     {L"Missing", false, false},
  };
  for (const auto& c : bools)
    EXPECT_EQ(record->GetGuiDefaultBool(c.key, c.fallback), c.expected) << std::string(c.key, c.key + wcslen(c.key));
  EXPECT_EQ(record->GetGuiDefaultInt(L"PollingDelay", 7), 2000);
  EXPECT_EQ(record->GetGuiDefaultInt(L"Hex", 7), 16);
  EXPECT_EQ(record->GetGuiDefaultInt(L"Trailing", 7), 7);
  EXPECT_EQ(record->GetGuiDefaultInt(L"Missing", 7), 7);
  EXPECT_EQ(record->GetGuiDefault(L"Trailing", "x"), "12ab");
  EXPECT_EQ(record->GetGuiDefault(L"Missing", "x"), "x");
  // Lookups match letter case, although the ini file itself does not.
  EXPECT_EQ(record->GetGuiDefaultInt(L"lowercase", 7), 5);
  EXPECT_EQ(record->GetGuiDefaultInt(L"Lowercase", 7), 7);
  EXPECT_EQ(record->GetGuiDefault(L"POLLINGDELAY", "none"), "none");
}

TEST_F(StartupRecordTest, StudyStatusSettings) {
  auto record = LoadWith("[STUDY_STATUS]\nStatusOnOpen=Read\nStatusOnClose=\n");
  EXPECT_EQ(record->GetStudyStatusSetting(L"StatusOnOpen", L"d"), L"Read");
  EXPECT_EQ(record->GetStudyStatusSetting(L"StatusOnClose", L"d"), L"d");
  EXPECT_EQ(record->GetStudyStatusSetting(L"statusonopen", L"d"), L"d");
}

TEST_F(StartupRecordTest, MonitorQueries) {
  auto record = LoadWith("", {kLeft, kRight});
  TRect r = Rect(1, 2, 3, 4);
  EXPECT_FALSE(record->GetMonitorRectAt(-1, &r));
  EXPECT_EQ(r, Rect(1, 2, 3, 4));
  EXPECT_FALSE(record->GetMonitorRectAt(2, &r));
  ASSERT_TRUE(record->GetMonitorRectAt(1, &r));
  EXPECT_EQ(r, kRight);
  EXPECT_EQ(record->GetMonitorAt(Point(100, 100), &r), 0);
  EXPECT_EQ(r, kLeft);
  EXPECT_EQ(record->GetMonitorAt(Point(3840, 10), &r), -1);  // the right edge is outside
}

TEST_F(StartupRecordTest, CursorsFromTheImagesModuleOrTheProgram) {
  // Without an images module the program's own cursors serve; it has no polygon cursor.
  auto plain = LoadWith("");
  plain->LoadCursors();
  EXPECT_TRUE(Screen->HasCursor(35));  // edge enhancement falls back to the pan cursor
  EXPECT_TRUE(Screen->HasCursor(1));
  EXPECT_TRUE(Screen->HasCursor(28));  // carried under its own name
  EXPECT_FALSE(Screen->HasCursor(32));
  EXPECT_FALSE(Screen->HasCursor(33));
  auto english = LoadWith("[GUI]\nImagesDLL=Lingopack_English.dll\n");
  english->LoadCursors();
  for (int i = 1; i <= 36; ++i) EXPECT_TRUE(Screen->HasCursor(i)) << i;
}

TEST_F(StartupRecordTest, FileIcons) {
  auto record = LoadWith("");
  TBitmap bitmap;
  bitmap.SetSize(3, 3);
  EXPECT_FALSE(record->DrawFileIcon(test::ProgramFolder() + "/Lingopack_English.dll", 0, 16, 16, &bitmap));
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_FALSE(record->DrawFileIcon("", 0, 16, 16, &bitmap));
  EXPECT_FALSE(record->DrawFileIcon(test::ProgramFolder() + "/Vistrel.exe", 0, 16, 16, nullptr));
  EXPECT_FALSE(record->DrawFileIcon(test::ProgramFolder() + "/Vistrel.exe", 1, 16, 16, &bitmap));
  ASSERT_TRUE(record->DrawFileIcon(test::ProgramFolder() + "/Vistrel.exe", 0, 16, 16, &bitmap));
  EXPECT_EQ(bitmap.Width(), 16);
  EXPECT_EQ(bitmap.Height(), 16);
  EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
}

TEST_F(StartupRecordTest, LanguageDialogChoiceIsWrittenBack) {
  // Beside the test program lie Lingopack_English.dll and Lingopack_Testish.dll.
  SetLanguageDialogHook([](TFormLanguageSettings* form) {
    auto* timer = new TTimer(form);
    timer->SetInterval(10);
    timer->OnTimer = [form, timer](TObject*) {
      timer->SetEnabled(false);
      for (int i = 0; i < form->cbLanguages->ItemCount(); ++i)
        if (form->cbLanguages->Item(i) == L"Testish") form->cbLanguages->SetItemIndex(i);
      form->bOk->Click();
    };
  });
  // A full path: the dialog lists the folder of the module named.
  auto record = LoadWith("[GUI]\nTextDLL=" + test::ProgramFolder() + "/Lingopack_English.dll\nLanguageSelection=1\n",
                         {kLeft, kRight});
  const std::string chosen = test::ProgramFolder() + "/Lingopack_Testish.dll";
  EXPECT_EQ(record->GetLanguageDll(), chosen);
  EXPECT_NE(files_.ReadIni().find("TextDLL=" + chosen), std::string::npos) << files_.ReadIni();
  EXPECT_NE(files_.ReadIni().find("LanguageSelection=1"), std::string::npos);
  EXPECT_EQ(record->GetModule(L"TextDLL"), record->GetTextModule());
  EXPECT_NE(record->GetTextModule(), platform::ExecutableModule());
}

TEST_F(StartupRecordTest, LanguageDialogCancelKeepsTheModule) {
  bool shown = false;
  SetLanguageDialogHook([&shown](TFormLanguageSettings* form) {
    shown = true;
    auto* timer = new TTimer(form);
    timer->SetInterval(10);
    timer->OnTimer = [form, timer](TObject*) {
      timer->SetEnabled(false);
      form->bCancel->Click();
    };
  });
  const std::string english = test::ProgramFolder() + "/Lingopack_English.dll";
  const std::string ini = "[GUI]\nTextDLL=" + english + "\nLanguageSelection=1\n";
  auto record = LoadWith(ini);
  EXPECT_TRUE(shown);
  EXPECT_EQ(record->GetLanguageDll(), english);
  EXPECT_EQ(files_.ReadIni(), ini);
  EXPECT_FALSE(record->GetText(L"GUI_COLORS").empty());
}

}  // namespace
}  // namespace app
