// Vistrel.exe: the program entry. Runs the start-up sequence, shows the main window and runs
// the message loop, then ends the process at once with exit code 0; nothing is torn down
// after that.
#include "app/main/MainWindowParts.h"
#include "app/mainwindow/TFormAbout.h"
#include "app/mainwindow/TFormApplication.h"
#include "app/startup/ColorsAndFonts.h"
#include "app/startup/ProgramEntry.h"
#include "app/startup/TResourceInitialization.h"
#include "platform/process/Process.h"
#include "platform/windows/Application.h"

namespace {

// The main window with the About window that asks at start; both live until the process ends.
TCustomForm* MakeMainWindow(app::TResourceInitialization& record, app::TvsColors& colors, app::TvsFonts& fonts) {
  auto* about = new app::TFormAbout(nullptr);
  about->ApplyGuiResources(&record, &colors, &fonts);
  auto* window = new vistrel_main::TFormApplication(nullptr, vistrel_program::MainWindowParts());
  window->ApplyGuiResources(&record, &colors, &fonts);
  window->StartupQuestion = about;
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
