// Pixtrane.exe: the rendering engine of one stack. It reads its three lists from the named
// mappings of its own process id, tells the launcher it has taken them, makes its window
// "StackEngineProcess" + pid and serves the stack window until WM_CLOSE or until its panel's
// process is gone.
#include <cstdio>

#include "engine/CommandLine.h"
#include "engine/InputLists.h"
#include "engine/StackEngine.h"
#include "platform/process/Event.h"
#include "platform/process/Process.h"
#include "platform/windows/Application.h"
#include "platform/windows/Messages.h"

int main(int argc, char** argv) {
  platform::Application app(argc, argv, false);
  const ORN_engine::CommandLine line = ORN_engine::ParseCommandLine(argc, argv);
  if (!line.Valid) {
    std::fprintf(stderr, "%s\n", line.Error.c_str());
    return 2;
  }
  const uint32_t pid = platform::CurrentProcessId();
  // The lists are read whole before the launcher is told, so its handles may go at once.
  ORN_engine::InputLists lists = ORN_engine::ReadInputLists(pid);
  if (auto taken = platform::Event::Open("FileMappingEvent" + std::to_string(int32_t(pid)))) taken->Set();

  ORN_engine::StackEngine engine(pid, platform::WindowHandle(line.Panel), std::move(lists));
  if (!engine.Start()) return 3;
  return platform::RunMessageLoop();
}
