// Shows the About window (start-up question and About form) and the loading bar with the
// English module's texts, colours and fonts, and saves a screenshot of each into the folder
// given. Arguments: the screenshot folder, the splash picture of the loading bar.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/mainwindow/TFormAbout.h"
#include "app/mainwindow/TFormLoadingBar.h"
#include "app/mainwindow/tests/FakeStartup.h"
#include "app/support/PropertiesPage.h"
#include "platform/com/Library.h"
#include "platform/vcl/Screenshot.h"
#include "platform/windows/Application.h"

namespace {

using namespace app;

// GUI_COLORS read as the program entry's colours object reads it.
class PageColors : public TvsColors {
 public:
  explicit PageColors(const std::wstring& page) : TvsColors(nullptr) { page_.Init(page, -1); }
  TColor GetColor(const std::wstring& name, TColor fallback) const override {
    auto& page = const_cast<TsgPropertiesPage&>(page_);
    if (!page.SeekChild(name)) return fallback;
    return page.GetChildAttribute<int32_t>(L"red", 0, -1) | page.GetChildAttribute<int32_t>(L"green", 0, -1) << 8 |
           page.GetChildAttribute<int32_t>(L"blue", 0, -1) << 16;
  }

 private:
  TsgPropertiesPage page_;
};

TvsFonts PageFonts(const std::wstring& text) {
  TvsFonts fonts(nullptr);
  TsgPropertiesPage page;
  if (!page.Init(text, -1)) return fonts;
  if (page.SeekChild(L"gui_ratio")) fonts.Ratio = page.GetChildAttribute<int32_t>(L"value", 1, -1);
  const std::pair<const wchar_t*, TvsFontEntry*> entries[] = {
      {L"fntTitle", &fonts.Title}, {L"fntInfo", &fonts.Info}, {L"fntDefault", &fonts.Default},
      {L"fntFooter", &fonts.Footer}, {L"fntGrid", &fonts.Grid}};
  for (const auto& [name, entry] : entries) {
    if (!page.SeekChild(name)) continue;
    entry->Name = platform::WideToUtf8(page.GetChildAttribute<std::wstring>(L"name", L"", -1));
    entry->Size = page.GetChildAttribute<int32_t>(L"height", 8, -1);
  }
  return fonts;
}

void Pump(int milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < until) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool Save(TControl* window, const std::string& folder, const char* name) {
  WaitUntilExposed(window, 3000);
  Pump(300);
  const std::string path = folder + "/" + name;
  const bool ok = SaveScreenshot(window, path, 0);
  std::printf("%s %s\n", ok ? "saved" : "cannot write", path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: form_screens <screenshot folder> <splash picture>\n");
    return 2;
  }
  const std::string folder = argv[1], splash = argv[2];
  int qtArgc = 1;
  platform::Application app(qtArgc, argv, true);
  HMODULE module = platform::LoadResourceModule("Lingopack_English.dll");
  if (!module) {
    std::fprintf(stderr, "Lingopack_English.dll not found\n");
    return 1;
  }
  bool ok = true;
  {
    test::FakeStartup startup;
    startup.module = module;
    PageColors colors(startup.GetText(L"GUI_COLORS"));
    const TvsFonts fonts = PageFonts(startup.GetText(L"GUI_FONTS"));

    TFormAbout about(nullptr);
    about.ApplyGuiResources(&startup, &colors, &fonts);
    about.Show();
    ok = Save(&about, folder, "about_question.png") && ok;
    about.SetAboutMode(true);
    ok = Save(&about, folder, "about_window.png") && ok;
    about.Hide();

    TFormLoadingBar bar(nullptr, TGuiResources{&colors, &fonts, static_cast<double>(fonts.Ratio)}, splash,
                        L"Reading the file set");
    bar.Show();
    bar.SetProgress(0, 42, 100);
    bar.SetInfoText(100, 42, "SAMPLE/CT/IM000042");
    ok = Save(&bar, folder, "loading_bar.png") && ok;
    bar.Hide();
  }
  platform::FreeResourceModule(module);
  return ok ? 0 : 1;
}
