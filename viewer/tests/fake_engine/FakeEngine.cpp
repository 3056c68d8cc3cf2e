// Stands in for the rendering engine in the launcher tests. Command line:
//   <program> <owner pid> <panel window> <mode> <report file> [session number] end
// It opens its three named mappings, writes what it got to the report file, sets
// "FileMappingEvent"+pid, makes its window "StackEngineProcess"+pid, posts 0x8401 (its window)
// to the panel, and runs until its window gets WM_CLOSE. The mode changes one step:
//   normal    as above
//   die       exits with code 5 before setting the event
//   hang      never sets the event (and runs until killed)
//   nowindow  sets the event but makes no window (and runs until killed)
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>

#include "platform/process/Event.h"
#include "platform/process/NamedFileMapping.h"
#include "platform/process/Process.h"
#include "platform/windows/Application.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"

using namespace platform;

namespace {

std::string Content(const std::string& name) {
  auto m = NamedFileMapping::Open(name);
  if (!m) return "<none>";
  auto v = m->Map();
  return std::string(reinterpret_cast<const char*>(v->Data()), v->Size());
}

}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv, false);
  if (argc < 6) return 100;
  const WindowHandle panel = static_cast<WindowHandle>(std::stoll(argv[2]));
  const std::string mode = argv[3];
  const std::string pid = std::to_string(CurrentProcessId());

  // Hold the lists as a real engine would, then report what arrived.
  auto images = NamedFileMapping::Open("StackImageFiles" + pid);
  std::ofstream report(argv[4], std::ios::binary);
  report << pid << '\n';
  for (int i = 0; i < argc; ++i) report << argv[i] << '\n';
  report << Content("StackImageFiles" + pid) << '\n'
         << Content("PresentationStateFiles" + pid) << '\n'
         << Content("FrameIndexes" + pid) << '\n';
  report.close();

  if (mode == "die") return 5;
  if (mode == "hang") {
    for (;;) ::pause();
  }
  auto taken = Event::Open("FileMappingEvent" + pid);
  if (!taken) return 6;
  taken->Set();
  if (mode == "nowindow") {
    for (;;) ::pause();
  }
  Window window(
      [](uint32_t m, WParam, LParam) -> LResult {
        if (m == kWmClose) PostQuitMessage(0);
        return 0;
      },
      "StackEngineProcess" + pid);
  PostMessage(panel, 0x8401, static_cast<WParam>(window.Handle()), 1);
  return RunMessageLoop();
}
