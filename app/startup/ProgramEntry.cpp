#include "app/startup/ProgramEntry.h"

#include <cstdio>
#include <exception>
#include <memory>

#include "app/startup/ColorsAndFonts.h"
#include "app/startup/HintWindow.h"
#include "app/startup/LanguageSettings.h"
#include "app/startup/TResourceInitialization.h"
#include "platform/com/Library.h"
#include "platform/process/CommandLine.h"
#include "platform/process/Process.h"
#include "platform/process/ProcessSnapshot.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"

namespace app {

int64_t& SessionNumber() {
  static int64_t session = -1;
  return session;
}

int64_t SessionNumberFromCommandLine(const std::string& commandLine, int showWindow) {
  if (showWindow == 0 || commandLine.empty()) return -1;
  const size_t blank = commandLine.find(' ');
  if (blank == std::string::npos) return -1;
  return static_cast<int64_t>(StrToIntDef(commandLine.substr(0, blank), -1));
}

std::string CommandLineOfArguments(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += platform::QuoteArgument(argv[i]);
  }
  return line;
}

void PublishParentProcess() {
  const std::vector<platform::ProcessEntry> snapshot = platform::ProcessSnapshot();
  if (snapshot.empty()) return;
  const uint32_t self = platform::CurrentProcessId();
  const platform::ProcessEntry* own = nullptr;
  for (const auto& entry : snapshot)
    if (entry.pid == self) own = &entry;
  if (!own) return;
  const uint32_t parent = own->parentPid;
  if (!platform::SetEnvironmentVariable("EV_ORNSYS_VISTREL_PARENT_PROCESS_ID", std::to_string(parent))) return;
  std::string name;
  for (const auto& entry : platform::ProcessSnapshot())
    if (entry.pid == parent) name = entry.exeName;
  if (name.empty() || !platform::SetEnvironmentVariable("EV_ORNSYS_VISTREL_PARENT_PROCESS_NAME", name))
    platform::DeleteEnvironmentVariable("EV_ORNSYS_VISTREL_PARENT_PROCESS_NAME");
}

namespace {

// Never deleted while the program runs: windows keep pointers to them until the process ends.
std::unique_ptr<TvsFonts>& EntryFonts() {
  static std::unique_ptr<TvsFonts> fonts;
  return fonts;
}
std::unique_ptr<TvsColors>& EntryColors() {
  static std::unique_ptr<TvsColors> colors;
  return colors;
}

void RunSequence(const std::string& commandLine, int showWindow, const TMainWindowFactory& makeMainWindow) {
  // COM needs no set-up on this platform: components are loaded by file name.
  Application->HintWindowClass = [](TComponent* owner) -> THintWindow* { return new TORNHint(owner); };

  // Lives until the next start-up or the process's end: the main window keeps a pointer to it.
  static std::unique_ptr<TResourceInitialization> entryRecord;
  entryRecord = std::make_unique<TResourceInitialization>();
  TResourceInitialization& record = *entryRecord;
  record.Load(-1, "");
  record.LoadCursors();
  record.LoadHints();

  Application->Initialize();
  Application->Title = L"Vistrel";
  // The start-up forms; the language window made here stays hidden for the whole run.
  std::unique_ptr<TFormLanguageSettings> languageWindow =
      std::make_unique<TFormLanguageSettings>(nullptr, nullptr, nullptr);
  // Only the main window may be the application's main form; this one is never shown.
  if (Application->MainForm == languageWindow.get()) Application->MainForm = nullptr;

  EntryFonts() = std::make_unique<TvsFonts>(&record);
  EntryColors() = std::make_unique<TvsColors>(&record);
  THintColors& hint = HintColors();
  hint.Border = EntryColors()->GetColor(L"cTitle", 0);
  hint.Text = EntryColors()->GetColor(L"cTitle", 0);
  hint.Background = EntryColors()->GetColor(L"cInfo", 0xFFFFFF);

  SessionNumber() = SessionNumberFromCommandLine(commandLine, showWindow);

  if (SessionNumber() == -1)
    std::printf("Vistrel: stand-alone mode\n");
  else
    std::printf("Vistrel: session %lld\n", static_cast<long long>(SessionNumber()));
  std::fflush(stdout);

  PublishParentProcess();
  if (!makeMainWindow) return;
  TCustomForm* main = makeMainWindow(record, *EntryColors(), *EntryFonts());
  if (!main) return;
  Application->MainForm = main;
  main->Show();
  Application->Run();
}

}  // namespace

int RunProgramEntry(const std::string& commandLine, int showWindow, const TMainWindowFactory& makeMainWindow) {
  try {
    RunSequence(commandLine, showWindow, makeMainWindow);
  } catch (const std::exception& error) {
    Application->MessageBox(platform::Utf8ToWide(error.what()), Application->Title, MB_OK | MB_ICONERROR);
  } catch (...) {
    Application->MessageBox(L"", Application->Title, MB_OK | MB_ICONERROR);
  }
  return 0;
}

}  // namespace app
