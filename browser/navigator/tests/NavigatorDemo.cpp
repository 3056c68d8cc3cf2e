// Shows the navigator over a generated file set of three patients and saves a screenshot.
// Under an X server (Xvfb) the navigator opens on the second patient, the first patient's row is clicked with real input (xdotool) and
// the program checks that the studies level followed; on the offscreen platform the row is
// chosen by program. Exit code 0 when the picture was written and the choice arrived.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "browser/navigator/TFormDICOMDIRNavigator.h"
#include "browser/navigator/tests/NavigatorFixture.h"
#include "platform/core/Clock.h"
#include "platform/vcl/Screenshot.h"
#include "platform/windows/Application.h"
#include "platform/windows/Messages.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: navigator_demo <screenshot.png>\n");
    return 2;
  }
  platform::Application app(argc, argv, true);
  browser_testing::ThreePatientFileSet fixture;
  int32_t patient = 1, study = 0, stack = 0;
  int status = 0;
  {
    ORN_browser::TFormDICOMDIRNavigator form(nullptr, fixture.Set(), &patient, &study, &stack);
    form.Show();
    if (!WaitUntilExposed(&form, 5000)) std::fprintf(stderr, "the window was not exposed\n");
    TDrawGrid* patients = form.m_PatientLevel->Grid;
    const bool real = ScreenPlatformName() == "xcb";
    if (real) {
      const TRect cell = patients->CellRect(1, 1);
      const TPoint at = patients->ClientToScreen({(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2});
      const std::string command =
          "xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 1";
      if (std::system(command.c_str()) != 0) std::fprintf(stderr, "xdotool failed\n");
      for (int i = 0; i < 100 && patient != 0; ++i) {
        platform::ProcessMessages();
        platform::Sleep(20);
      }
    } else {
      patients->SetRow(1);
    }
    WaitUntilExposed(&form, 1000);
    if (patient != 0 || form.m_StackLevel->m_Rows.size() != 2) {
      std::fprintf(stderr, "the click did not choose the first patient (%d, %d, %d)\n", patient, study, stack);
      status = 1;
    }
    if (!SaveScreenshot(&form, argv[1])) {
      std::fprintf(stderr, "cannot write %s\n", argv[1]);
      status = 1;
    }
    std::printf("screenshot (%s): %s, chosen (%d, %d, %d)\n", real ? "Xvfb, real click" : "offscreen", argv[1],
                patient, study, stack);
  }
  return status;
}
