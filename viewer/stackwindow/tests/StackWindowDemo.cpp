// stack_window_demo <png> <dicom file>...: a window holding one stack window whose engine
// (Pixtrane.exe, started through the launcher) draws the files. Once the first picture is
// painted it prints "ready" with the screen rectangles of the work area and of the VOI
// button, then waits for real input from the script (click the VOI button, turn the wheel
// three steps, drag in the work area) and saves the screenshot. Exits 0 when the picture came,
// the wheel stepped and the drag changed the window values.
#include <cstdio>
#include <sstream>
#include <string>

#include "platform/process/tests/TestNames.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Screenshot.h"
#include "platform/windows/Application.h"
#include "platform/windows/Messages.h"
#include "platform/windows/tests/Pump.h"
#include "viewer/engine/TgbStackEngineProcess.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

using platform::testing::PumpUntil;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: stack_window_demo <png> <dicom file>...\n");
    return 2;
  }
  platform::Application app(argc, argv, true);
  TForm form(nullptr);
  form.SetCaption(L"Vistrel \u2013 stack window");
  form.SetBounds(30, 30, 560, 620);
  auto* frame = new TFrameStackWindow(&form, -1, 0, 0, 0);
  frame->SetParent(&form);
  frame->SetAlign(alClient);
  form.Show();
  frame->SetShown(true);
  frame->SetToolbarPinned(true);
  frame->SetNavigatorPinned(true);

  std::string files;
  for (int i = 2; i < argc; ++i) files += std::string(argv[i]) + "\n";
  files.push_back('\0');
  std::istringstream images(files), states(std::string(1, '\0')), frames(std::string(1, '\0'));
  ORN_image::TgbStackEngineProcess engine;
  if (!engine.Start(images, states, frames, "demo", platform::testing::OutProgram("Pixtrane.exe"),
                    frame->WorkArea()->Handle(), 20000)) {
    std::fprintf(stderr, "the engine did not start\n");
    return 3;
  }
  const bool ready = frame->WaitForEngine() &&
                     PumpUntil([&] { return frame->WorkArea()->FramesTaken() > 0; }, 20000);
  bool stepped = false, windowed = false;
  if (ready) {
    TgbWorkAreaPanel* panel = frame->WorkArea();
    const TPoint area = panel->ClientToScreen(TPoint{0, 0});
    const TPoint voi = frame->tbVOI->ClientToScreen(TPoint{frame->tbVOI->Width() / 2, frame->tbVOI->Height() / 2});
    std::printf("ready %d %d %d %d %d %d\n", area.x, area.y, panel->Width(), panel->Height(), voi.x, voi.y);
    std::fflush(stdout);
    const double width = frame->WindowWidth();
    stepped = PumpUntil([&] { return frame->CurrentImageIndex() >= 3; }, 15000);
    windowed = PumpUntil([&] { return frame->tbVOI->Down() && frame->WindowWidth() != width; }, 15000);
    PumpUntil([] { return false; }, 400);  // the last picture is painted
    std::printf("image %d of %d, track bar %d, window centre %.0f width %.0f\n", frame->CurrentImageIndex() + 1,
                frame->ImageCount(), frame->trbarNavigator->Position(), frame->WindowCentre(), frame->WindowWidth());
  }
  const bool saved = ready && SaveScreenshot(&form, argv[1]);
  if (frame->EngineWindow()) platform::PostMessage(frame->EngineWindow(), platform::kWmClose, 0, 0);
  engine.Stop();
  std::printf("stepped %d, window changed %d, saved %d\n", stepped, windowed, saved);
  return saved && stepped && windowed ? 0 : 1;
}
