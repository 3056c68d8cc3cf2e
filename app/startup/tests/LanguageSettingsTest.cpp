// The language dialog over a folder of module files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/startup/LanguageSettings.h"
#include "platform/process/Process.h"
#include "platform/vcl/ExtCtrls.h"

namespace app {
namespace {

class LanguageSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("vistrel_languages_" + std::to_string(platform::CurrentProcessId()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    SetLanguageDialogHook(nullptr);
    std::filesystem::remove_all(folder_);
  }
  void Add(std::initializer_list<const char*> names) {
    for (const char* name : names) std::ofstream(folder_ / name) << "module";
  }
  std::string Path(const char* name) const { return (folder_ / name).string(); }
  static std::vector<std::wstring> Items(TFormLanguageSettings& form) {
    std::vector<std::wstring> items;
    for (int i = 0; i < form.cbLanguages->ItemCount(); ++i) items.push_back(form.cbLanguages->Item(i));
    return items;
  }
  // Answers the next dialog: picks the item (when given) and presses OK, or cancels.
  static void Answer(const wchar_t* item, bool ok) {
    SetLanguageDialogHook([item, ok](TFormLanguageSettings* form) {
      auto* timer = new TTimer(form);
      timer->SetInterval(10);
      timer->OnTimer = [form, timer, item, ok](TObject*) {
        timer->SetEnabled(false);
        if (item)
          for (int i = 0; i < form->cbLanguages->ItemCount(); ++i)
            if (form->cbLanguages->Item(i) == item) form->cbLanguages->SetItemIndex(i);
        (ok ? form->bOk : form->bCancel)->Click();
      };
    });
  }
  std::filesystem::path folder_;
};

TEST(LanguageDisplayNameTest, FromTheFileName) {
  struct Case {
    const char* file;
    const wchar_t* name;
  } cases[] = {
      {"Lingopack_English.dll", L"English"}, {"Lingopack_pt_BR.dll", L"BR"}, {"Lingopack_English.DLL", L""},
      {"Lingopack_.dll", L""},               {"Lingopack.dll", L""},         {"Lingopack_A.dll.dll", L"A"},
      {"Lingopack_Deutsch.dllx", L"Deutsch"},
  };
  for (const auto& c : cases) EXPECT_EQ(TFormLanguageSettings::DisplayName(c.file), c.name) << c.file;
}

TEST_F(LanguageSettingsTest, ListSortedWithTheCurrentModuleSelected) {
  Add({"Lingopack_English.dll", "Lingopack_Deutsch.dll", "Lingopack_pt_BR.dll", "Lingopack_.dll", "readme.txt"});
  std::string chosen = Path("Lingopack_English.dll");
  bool flag = true;
  TFormLanguageSettings form(nullptr, &chosen, &flag);
  EXPECT_EQ(Items(form), (std::vector<std::wstring>{L"BR", L"Deutsch", L"English"}));
  ASSERT_GE(form.cbLanguages->ItemIndex(), 0);
  EXPECT_EQ(form.cbLanguages->Item(form.cbLanguages->ItemIndex()), L"English");
  EXPECT_EQ(form.StatusBar1->Caption(), L" Selected language : English");
  EXPECT_FALSE(form.chboxDialog->Visible());
  EXPECT_EQ(form.Caption(), L"Select Language");
}

TEST_F(LanguageSettingsTest, CurrentModuleMatchedByItsFileName) {
  // The folder's name holds "Deutsch", and "English" is part of a longer language name:
  // neither may choose the module.
  folder_ /= "Deutsch";
  std::filesystem::create_directories(folder_);
  Add({"Lingopack_English.dll", "Lingopack_Deutsch.dll", "Lingopack_OldEnglish.dll"});
  std::string chosen = Path("Lingopack_English.dll");
  bool flag = false;
  TFormLanguageSettings form(nullptr, &chosen, &flag);
  EXPECT_EQ(form.cbLanguages->Item(form.cbLanguages->ItemIndex()), L"English");
  Answer(L"English", true);
  ASSERT_TRUE(ShowLanguageSettings(&chosen, &flag, nullptr));
  EXPECT_EQ(chosen, Path("Lingopack_English.dll"));
  Answer(L"OldEnglish", true);
  ASSERT_TRUE(ShowLanguageSettings(&chosen, &flag, nullptr));
  EXPECT_EQ(chosen, Path("Lingopack_OldEnglish.dll"));
}

TEST_F(LanguageSettingsTest, ChoosingAnotherLanguage) {
  Add({"Lingopack_English.dll", "Lingopack_Deutsch.dll"});
  struct Case {
    const char* name;
    const wchar_t* pick;
    bool ok;
    bool result;
    const char* chosenFile;
  } cases[] = {
      {"OK with Deutsch", L"Deutsch", true, true, "Lingopack_Deutsch.dll"},
      {"OK keeping English", nullptr, true, true, "Lingopack_English.dll"},
      {"Cancel after picking", L"Deutsch", false, false, "Lingopack_English.dll"},
  };
  for (const auto& c : cases) {
    std::string chosen = Path("Lingopack_English.dll");
    bool flag = true;  // OK writes the hidden check box's state
    Answer(c.pick, c.ok);
    EXPECT_EQ(ShowLanguageSettings(&chosen, &flag, nullptr), c.result) << c.name;
    EXPECT_EQ(chosen, Path(c.chosenFile)) << c.name;
    EXPECT_EQ(flag, !c.ok) << c.name;
  }
}

TEST_F(LanguageSettingsTest, OkWithNothingSelectedKeepsTheName) {
  Add({"Lingopack_English.dll", "Lingopack_Deutsch.dll"});
  std::string chosen = Path("Lingopack_Klingon.dll");
  bool flag = true;
  Answer(nullptr, true);
  EXPECT_TRUE(ShowLanguageSettings(&chosen, &flag, nullptr));
  EXPECT_EQ(chosen, Path("Lingopack_Klingon.dll"));
}

TEST_F(LanguageSettingsTest, NoDialogWithoutARealChoice) {
  struct Case {
    const char* name;
    std::vector<const char*> files;
  } cases[] = {
      {"no module", {}},
      {"one module", {"Lingopack_English.dll"}},
      {"one module and a bad name", {"Lingopack_English.dll", "Lingopack_Deutsch.DLL"}},
  };
  bool shown = false;
  SetLanguageDialogHook([&shown](TFormLanguageSettings*) { shown = true; });
  for (const auto& c : cases) {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    for (const char* f : c.files) Add({f});
    std::string chosen = Path("Lingopack_English.dll");
    bool flag = false;
    EXPECT_FALSE(ShowLanguageSettings(&chosen, &flag, nullptr)) << c.name;
    EXPECT_EQ(chosen, Path("Lingopack_English.dll")) << c.name;
  }
  std::string bare = "Lingopack_English.dll";  // no folder: the root holds no module
  bool flag = false;
  EXPECT_FALSE(ShowLanguageSettings(&bare, &flag, nullptr));
  EXPECT_FALSE(shown);
}

TEST_F(LanguageSettingsTest, CentredOnTheRectangle) {
  Add({"Lingopack_English.dll", "Lingopack_Deutsch.dll"});
  std::string chosen = Path("Lingopack_English.dll");
  bool flag = false;
  TRect centre = Rect(1920, 0, 3840, 1080);
  int left = 0, top = 0;
  SetLanguageDialogHook([&](TFormLanguageSettings* form) {
    left = form->Left();
    top = form->Top();
    auto* timer = new TTimer(form);
    timer->SetInterval(10);
    timer->OnTimer = [form, timer](TObject*) {
      timer->SetEnabled(false);
      form->bCancel->Click();
    };
  });
  ShowLanguageSettings(&chosen, &flag, &centre);
  EXPECT_EQ(left, (1920 + 3840 - 298) / 2);
  EXPECT_EQ(top, (0 + 1080 - 138) / 2);
}

}  // namespace
}  // namespace app
