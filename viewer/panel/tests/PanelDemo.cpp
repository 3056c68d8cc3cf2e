// panel_demo <png> <dicom file>...: a window holding the work-area panel, whose engine
// (Pixtrane.exe, started through the launcher) draws the files; once the first picture is
// painted, the VOI tool is chosen and the program waits for a drag made by real input
// (xdotool, from the script) before it saves the screenshot. Exits 0 when the picture came.
#include <cstdio>
#include <sstream>
#include <string>

#include "platform/process/tests/TestNames.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Screenshot.h"
#include "platform/windows/Application.h"
#include "platform/windows/Messages.h"
#include "platform/windows/tests/Pump.h"
#include "viewer/engine/EngineMessages.h"
#include "viewer/engine/TgbStackEngineProcess.h"
#include "viewer/panel/TgbWorkAreaPanel.h"

namespace msg = ORN_image::engine_msg;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: panel_demo <png> <dicom file>...\n");
    return 2;
  }
  platform::Application app(argc, argv, true);
  TForm form(nullptr);
  form.SetCaption(L"Vistrel \u2013 work-area panel");
  form.SetBounds(30, 30, 520, 520);
  auto* panel = new TgbWorkAreaPanel(&form);
  panel->SetParent(&form);
  bool ready = false;
  int windowChanges = 0;
  panel->OnEngineReady = [&](TObject*) { ready = true; };
  panel->OnWindowLevelChanged = [&](TObject*, double c, double w) {
    ++windowChanges;
    std::printf("window centre %.1f width %.1f\n", c, w);
  };
  form.Show();

  std::string files;
  for (int i = 2; i < argc; ++i) files += std::string(argv[i]) + "\n";
  files.push_back('\0');
  std::istringstream images(files), states(std::string(1, '\0')), frames(std::string(1, '\0'));
  ORN_image::TgbStackEngineProcess engine;
  if (!engine.Start(images, states, frames, "demo", platform::testing::OutProgram("Pixtrane.exe"), panel->Handle(),
                    20000)) {
    std::fprintf(stderr, "the engine did not start\n");
    return 3;
  }
  const bool drawn = platform::testing::PumpUntil([&] { return ready && panel->FramesTaken() > 0; }, 20000);
  if (drawn) {
    platform::PostMessage(panel->EngineWindow, msg::kMouseTool, 0, msg::kToolVoi);
    // The script drags across the panel now; it finds the window by its title.
    std::printf("ready %d %d %d %d\n", panel->ClientToScreen(TPoint{0, 0}).x, panel->ClientToScreen(TPoint{0, 0}).y,
                panel->Width(), panel->Height());
    std::fflush(stdout);
    platform::testing::PumpUntil([&] { return windowChanges > 1; }, 8000);
    platform::testing::PumpUntil([] { return false; }, 300);  // the last picture is painted
  }
  const bool saved = drawn && SaveScreenshot(&form, argv[1]);
  platform::PostMessage(panel->EngineWindow, platform::kWmClose, 0, 0);
  engine.Stop();
  std::printf("frames %llu, window changes by the drag %d\n", (unsigned long long)panel->FramesTaken(), windowChanges - 1);
  return saved ? 0 : 1;
}
