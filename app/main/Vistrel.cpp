// Vistrel.exe: the program entry. Runs the start-up sequence, shows the main window and runs
// the message loop, then ends the process at once with exit code 0; nothing is torn down
// after that.
#include <cstdio>
#include <string>

#include "app/main/MainWindowParts.h"
#include "app/mainwindow/TFormAbout.h"
#include "app/mainwindow/TFormApplication.h"
#include "app/startup/ColorsAndFonts.h"
#include "app/startup/ProgramEntry.h"
#include "app/startup/TResourceInitialization.h"
#include "platform/com/Library.h"
#include "platform/process/Process.h"
#include "platform/windows/Application.h"

namespace {

// The main window with the About window that asks at start; both live until the process ends.
TCustomForm* MakeMainWindow(app::TResourceInitialization& record, app::TvsColors& colors, app::TvsFonts& fonts) {
  auto* about = new app::TFormAbout(nullptr);
  about->SetCaption(L"About Vistrel");  // borderless: the title names the window for the desktop
  about->ApplyGuiResources(&record, &colors, &fonts);
  app::TGuiResources gui;
  gui.Colors = &colors;
  gui.Fonts = &fonts;
  gui.Scale = static_cast<double>(fonts.Ratio);
  static auto* parts = new vistrel_program::TProgramParts;  // lives until the process ends
  auto* window = new vistrel_main::TFormApplication(nullptr, vistrel_program::MainWindowParts(*parts, gui));
  parts->TileHost.MainWindow = [window] { return window->Handle(); };
  window->ApplyGuiResources(&record, &colors, &fonts);
  window->StartupQuestion = about;
  // The end-to-end tests read what the window shows from this line.
  std::string report;
  if (platform::GetEnvironmentVariable("VISTREL_REPORT_WINDOW", report) && report == "1")
    window->OnStudyBoxesComplete = [window] {
      std::printf("window: %s; %s; boxes complete: %zu\n", platform::WideToUtf8(window->Caption()).c_str(),
                  platform::WideToUtf8(window->lblStudiesListTitle->Caption()).c_str(),
                  window->AddedStudyBoxes.size());
      std::fflush(stdout);
    };
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  const int showWindow = platform::StartupShowWindow();
  const std::string commandLine = app::CommandLineOfArguments(argc, argv);
  {
    platform::Application application(argc, argv, true);
    app::RunProgramEntry(commandLine, showWindow, MakeMainWindow);
  }
  platform::ExitProcessNow(0);
}
