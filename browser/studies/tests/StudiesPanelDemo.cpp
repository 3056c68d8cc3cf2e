// Shows the studies panel with two study boxes of a patient (a CT study of three stacks and
// an MR study of two) and saves a screenshot. The first box is expanded by program; under an
// X server (Xvfb) the second box's title is clicked with real input (xdotool), which expands
// it and fills its tiles one per tick; on the offscreen platform the title is clicked by
// program. Exit code 0 when the picture was written and both boxes show their tiles.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "browser/studies/TFrameStudyBoxFrameSet.h"
#include "browser/studies/tests/FakeTiles.h"
#include "platform/core/Clock.h"
#include "platform/vcl/Screenshot.h"
#include "platform/windows/Application.h"
#include "platform/windows/Messages.h"

namespace {

// A 128 x 128 grey icon of a round phantom, brighter for the later stacks.
platform::HBITMAP PhantomIcon(int seed) {
  platform::HBITMAP icon = platform::CreateDibSection24(128, 128);
  if (!icon) return nullptr;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      const double r = std::hypot(x - 64.0, y - 64.0);
      int v = r < 50 ? 90 + seed * 30 : 10;
      if (std::hypot(x - 45.0 - seed * 8, y - 55.0) < 12 || std::hypot(x - 80.0, y - 70.0 + seed * 5) < 9) v = 230;
      if (r > 47 && r < 50) v = 200;
      uint8_t* p = icon->StoredRow(127 - y) + x * 3;
      p[0] = p[1] = p[2] = static_cast<uint8_t>(v);
    }
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: studies_panel_demo <screenshot.png>\n");
    return 2;
  }
  platform::Application app(argc, argv, true);
  int status = 0;
  {
    ORN_browser::test::FakeHost fake;
    TForm form(nullptr);
    form.SetCaption(L"Studies panel");
    form.SetBounds(40, 40, 440, 760);
    ORN_browser::TFrameStudyBoxFrameSet panel(nullptr, &fake.host);
    panel.SetParent(&form);
    const struct {
      const wchar_t* title;
      const char* modality;
      int stacks;
    } studies[] = {{L"CT Chest 2026-01-02 (3 series)", "CT", 3}, {L"MR Head 2025-11-20 (2 series)", "MR", 2}};
    for (int s = 0; s < 2; ++s) {
      ORN_browser::TFrameStudyBox* box = panel.AddStudyLast(studies[s].title, s, studies[s].stacks);
      const char* modality = studies[s].modality;
      box->OnGetStackInfo = [modality](int key, int stack, ORN_browser::STACK_INFO_INIT_STRUCT& info) {
        info = ORN_browser::test::Describe(key, stack, 10 + 20 * stack, modality);
        info.Icon = PhantomIcon(stack + key);
        info.Protocol = (key == 0 ? L"Thorax " : L"Brain ") + std::to_wstring(stack + 1);
        return true;
      };
    }
    form.Show();
    panel.Box(0)->Expand();
    if (!WaitUntilExposed(&form, 5000)) std::fprintf(stderr, "the window was not exposed\n");
    ORN_browser::TFrameStudyBox* second = panel.Box(1);
    const bool real = ScreenPlatformName() == "xcb";
    if (real) {
      const TPoint at = second->statictextTitle->ClientToScreen({10, second->statictextTitle->Height() / 2});
      const std::string command = "xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 1";
      if (std::system(command.c_str()) != 0) std::fprintf(stderr, "xdotool failed\n");
    } else {
      second->pnlHeaderInfoClick(nullptr);
    }
    for (int i = 0; i < 200 && !second->AreTilesBuilt(); ++i) {
      platform::ProcessMessages();
      platform::Sleep(20);
    }
    panel.FitStudyBoxes(panel.ScrollBox->ClientHeight());
    WaitUntilExposed(&form, 1000);
    if (!second->IsExpanded() || !second->AreTilesBuilt() || panel.GetStackCount() != 5) {
      std::fprintf(stderr, "the second box did not open with its tiles\n");
      status = 1;
    }
    if (!SaveScreenshot(&form, argv[1])) {
      std::fprintf(stderr, "cannot write %s\n", argv[1]);
      status = 1;
    }
    std::printf("screenshot (%s): %s, %d stacks\n", real ? "Xvfb, real click" : "offscreen", argv[1],
                panel.GetStackCount());
  }
  return status;
}
