// The program entry's start-up sequence: the start-up record, cursors and hints, the hint
// window class and colours, the session number, the parent process for the children; then
// the message loop and the teardown. The caller ends the process afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TCustomForm;

namespace app {

class TResourceInitialization;
class TvsColors;
class TvsFonts;

// Makes the main window once the start-up record, colours and fonts exist; they live until
// the process ends.
using TMainWindowFactory = std::function<TCustomForm*(TResourceInitialization& record, TvsColors& colors,
                                                      TvsFonts& fonts)>;

// The host's session, -1 in stand-alone mode; set once before the message loop.
int64_t& SessionNumber();

// The session number of a command line (without the program name): the integer before the
// first blank, read only when the program was not started hidden (showWindow not 0); no
// blank, no number or a value outside 32 bits gives -1.
int64_t SessionNumberFromCommandLine(const std::string& commandLine, int showWindow);

// The command line a Windows program is handed, from the arguments after the program name:
// each quoted as needed and joined with blanks.
std::string CommandLineOfArguments(int argc, char** argv);

// Names the parent process in EV_ORNSYS_VISTREL_PARENT_PROCESS_ID and
// EV_ORNSYS_VISTREL_PARENT_PROCESS_NAME for every child started later; the name is removed
// when it cannot be found.
void PublishParentProcess();

// Runs the start-up sequence, shows the main window made by `makeMainWindow` and runs the
// message loop until it ends; without a factory the sequence ends after the start-up. Prints
// the mode ("Vistrel: stand-alone mode" or "Vistrel: session N") first. An exception ends the
// sequence with one message box. Returns 0.
int RunProgramEntry(const std::string& commandLine, int showWindow, const TMainWindowFactory& makeMainWindow = {});

}  // namespace app
