// Vistrel.exe: the program entry. Runs the start-up sequence and the message loop, then ends
// the process at once with exit code 0; nothing is torn down after that.
#include "app/startup/ProgramEntry.h"
#include "platform/process/Process.h"
#include "platform/windows/Application.h"

int main(int argc, char** argv) {
  const int showWindow = platform::StartupShowWindow();
  const std::string commandLine = app::CommandLineOfArguments(argc, argv);
  {
    platform::Application application(argc, argv, true);
    app::RunProgramEntry(commandLine, showWindow);
  }
  platform::ExitProcessNow(0);
}
