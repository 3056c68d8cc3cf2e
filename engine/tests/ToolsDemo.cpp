// tools_demo <png> <left stack file> <right stack file>: two work-area panels side by side,
// each with its own engine (Pixtrane.exe through the launcher). The engines exchange their
// image planes, so each draws the other's reference line. On the left the measurement tool
// is on and steps through the kinds as the script (tools_demo.sh, real mouse input by
// xdotool) finishes each one; then the magnifier is chosen, and while the script holds the
// button down the window is saved as a screenshot. Every wait is bounded.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

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

namespace {

struct Side {
  TgbWorkAreaPanel* Panel = nullptr;
  ORN_image::TgbStackEngineProcess Engine;
  bool Ready = false;
  std::vector<uint8_t> Plane;
};

bool StartEngine(Side& side, const std::string& file) {
  std::istringstream images(file + "\n" + std::string(1, '\0')), states(std::string(1, '\0')),
      frames(std::string(1, '\0'));
  side.Panel->OnEngineReady = [&side](TObject*) { side.Ready = true; };
  side.Panel->OnImagePlane = [&side](TObject*, const void* data, uint32_t size) {
    const auto* b = static_cast<const uint8_t*>(data);
    side.Plane.assign(b, b + size);
  };
  return side.Engine.Start(images, states, frames, "demo", platform::testing::OutProgram("Pixtrane.exe"),
                           side.Panel->Handle(), 20000);
}

void SendRecord(platform::WindowHandle to, uint32_t code, const void* data, uint32_t size) {
  platform::CopyDataStruct record{code, size, data};
  platform::SendMessage(to, platform::kWmCopyData, 0, platform::LParam(&record));
}

void PrintPanel(const char* name, TgbWorkAreaPanel* panel) {
  const TPoint origin = panel->ClientToScreen(TPoint{0, 0});
  std::printf("%s %d %d %d %d\n", name, origin.x, origin.y, panel->Width(), panel->Height());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: tools_demo <png> <left file> <right file>\n");
    return 2;
  }
  platform::Application app(argc, argv, true);
  TForm form(nullptr);
  form.SetCaption(L"Vistrel \u2013 engine tools");
  form.SetBounds(20, 20, 980, 500);
  Side left, right;
  left.Panel = new TgbWorkAreaPanel(&form);
  left.Panel->SetParent(&form);
  left.Panel->SetAlign(alNone);  // a work-area panel fills its parent otherwise
  left.Panel->SetBounds(0, 0, 480, 480);
  right.Panel = new TgbWorkAreaPanel(&form);
  right.Panel->SetParent(&form);
  right.Panel->SetAlign(alNone);
  right.Panel->SetBounds(490, 0, 480, 480);
  form.Show();
  if (!StartEngine(left, argv[2]) || !StartEngine(right, argv[3])) {
    std::fprintf(stderr, "the engines did not start\n");
    return 3;
  }
  const bool ready = platform::testing::PumpUntil(
      [&] { return left.Ready && right.Ready && !left.Plane.empty() && !right.Plane.empty() &&
                   left.Panel->FramesTaken() > 0 && right.Panel->FramesTaken() > 0; },
      20000);
  bool saved = false;
  if (!ready)
    std::printf("not ready: left %d/%zu/%llu, right %d/%zu/%llu\n", left.Ready, left.Plane.size(),
                (unsigned long long)left.Panel->FramesTaken(), right.Ready, right.Plane.size(),
                (unsigned long long)right.Panel->FramesTaken());
  if (ready) {
    const platform::WindowHandle engine = left.Panel->EngineWindow;
    // Each engine draws where the other's plane cuts its image.
    SendRecord(engine, msg::kImagePlane, right.Plane.data(), uint32_t(right.Plane.size()));
    SendRecord(right.Panel->EngineWindow, msg::kImagePlane, left.Plane.data(), uint32_t(left.Plane.size()));
    msg::StatisticsSettings statistics{};
    statistics.Factor = 2.0;
    statistics.ShowMinimum = statistics.ShowMaximum = statistics.ShowMean = statistics.ShowDeviation = 1;
    const char16_t* headers[4] = {u"min", u"max", u"mean", u"std.dev."};
    char16_t* fields[4] = {statistics.MinimumHeader, statistics.MaximumHeader, statistics.MeanHeader,
                           statistics.DeviationHeader};
    for (int k = 0; k < 4; ++k)
      for (int i = 0; headers[k][i] != 0; ++i) fields[k][i] = headers[k][i];
    SendRecord(engine, msg::kStatisticsSettings, &statistics, sizeof statistics);

    // The kinds in the order the script draws them; each finished one selects the next.
    const int kinds[] = {0, 1, 2, 3, 4, 6, 9, 10};
    size_t next = 0;
    bool magnifier = false, pressed = false;
    platform::PostMessage(engine, msg::kResetTool, 0, 1);  // the measurement button goes down
    platform::PostMessage(engine, msg::kMeasurementKind, 0, kinds[next]);
    left.Panel->OnMeasurementDone = [&](TObject*, int32_t selected) {
      if (selected == 0 || magnifier) return;
      ++next;
      if (next < std::size(kinds)) {
        platform::PostMessage(engine, msg::kMeasurementKind, 0, kinds[next]);
        std::printf("kind %d\n", kinds[next]);
      } else {
        magnifier = true;
        platform::PostMessage(engine, msg::kEndTool, 0, 0);
        platform::PostMessage(engine, msg::kMouseTool, 0, msg::kToolMagnifier);
        platform::PostMessage(engine, msg::kMagnifierSize, 0, 180);
        platform::PostMessage(engine, msg::kMagnifierShape, 0, 1);
        platform::PostMessage(engine, msg::kMagnifierOptimized, 0, 1);
        platform::PostMessage(engine, msg::kMagnifierZoom, 0, 300);
        std::printf("magnifier\n");
      }
      std::fflush(stdout);
    };
    // A double click ends the polygon, as the stack window does it.
    left.Panel->OnWorkAreaDoubleClick = [&](TObject*, platform::WParam, platform::LParam) {
      platform::PostMessage(engine, msg::kResetTool, 1, 1);
    };
    left.Panel->OnWorkAreaLeftDown = [&](TObject*, int32_t, int32_t) { pressed = magnifier; };
    PrintPanel("ready", left.Panel);
    if (platform::testing::PumpUntil([&] { return pressed; }, 40000)) {
      platform::testing::PumpUntil([] { return false; }, 600);  // the lens is drawn and painted
      saved = SaveScreenshot(&form, argv[1]);
    } else {
      std::printf("no magnifier press came (%zu kinds done)\n", next);
    }
    std::printf("%s\n", saved ? "saved" : "not saved");
    std::fflush(stdout);
  }
  for (Side* side : {&left, &right}) {
    platform::PostMessage(side->Panel->EngineWindow, platform::kWmClose, 0, 0);
    side->Engine.Stop();
  }
  return saved ? 0 : 1;
}
