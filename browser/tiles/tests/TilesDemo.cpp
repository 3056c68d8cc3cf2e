// Shows the tile set of a generated study of three series beside a client area of four cells,
// filled as the main window fills it: the stacks' records of the file set with their icons,
// and the engine's file lists. Under an X server (Xvfb) the second tile is clicked with real
// input (xdotool) and the first one through its view check box; on the offscreen platform both
// are clicked by program. Each opened stack's engine draws into its cell. The program saves a
// screenshot once both engines are ready and checks that no engine outlives it.
// Usage: tiles_demo <generator script> <scratch folder> <screenshot.png>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "app/mainwindow/EngineFileLists.h"
#include "base/memory/TanCPPAllocator.h"
#include "browser/tiles/TFrameStackInfoSet.h"
#include "browser/tiles/tests/TileFakes.h"
#include "fileset/set/TanDicomFileSet.h"
#include "imaging/TgbDicomIcon.h"
#include "platform/core/Clock.h"
#include "platform/vcl/Screenshot.h"
#include "platform/windows/Application.h"

using namespace ORN_browser;
using namespace tile_tests;

namespace {

// The main window's GUI colours that the tiles read, as a language module might give them.
class DemoColors : public app::TvsColors {
 public:
  DemoColors() : app::TvsColors(nullptr) {}
  TColor GetColor(const std::wstring& name, TColor fallback) const override {
    static const std::map<std::wstring, TColor> colors = {
        {L"cBackgraund", 0x505050}, {L"cDefault", 0xF0F0F0}, {L"cSelected", 0x803000},
        {L"cActive", 0x00A0FF},     {L"cUnActive", 0x707070}, {L"cInfo", 0x404040},
        {L"cInfoText", 0x000000},   {L"cInfoNoIconText", 0xC0C0C0}};
    const auto found = colors.find(name);
    return found != colors.end() ? found->second : fallback;
  }
};

bool Click(TControl* control) {
  const TPoint at = control->ClientToScreen({control->Width() / 2, control->Height() / 2});
  const std::string command = "xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 1";
  return std::system(command.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: tiles_demo <make_fileset_folder.py> <scratch folder> <screenshot.png>\n");
    return 2;
  }
  platform::Application app(argc, argv, true);
  const std::string folder = argv[2];
  const std::string generate = "rm -rf '" + folder + "' && /usr/bin/python3 '" + argv[1] + "' '" + folder +
                               "/set' 1 1 3 12 --size 96 > /dev/null";
  if (std::system(generate.c_str()) != 0) {
    std::fprintf(stderr, "cannot generate the study\n");
    return 1;
  }
  auto built = std::make_unique<ORN_dicom::TanDicomFileSet>(folder + "/reject");
  built->BuildFromFolder(folder + "/set", true);
  built->BuildStacks(true);
  built->SaveDicomDir(false);
  built.reset();
  ORN_dicom::TanDicomFileSet fileSet(folder + "/reject");
  fileSet.OpenDicomDir(folder + "/set/DICOMDIR");
  const ORN_dicom::TanStudyIE& study = *fileSet.GetDicomDir()->Patients().At(0)->FStudies.At(0);

  int status = 0;
  const bool real = ScreenPlatformName() == "xcb";
  {
    FakeHost host(4);
    DemoColors colors;
    host.colors = &colors;
    TForm form(nullptr);
    form.SetCaption(L"Stack tiles");
    form.SetBounds(40, 40, 1000, 480);
    form.SetColor(clGray);
    TPanel* area = new TPanel(&form);
    area->SetParent(&form);
    area->SetBounds(430, 10, 560, 460);
    area->SetColor(clBlack);
    TFrameStackInfoSet set(&form, 0);
    set.SetParent(&form);
    set.SetBounds(6, 10, 418, 460);

    // The client area: four cells of 2 x 2, each window's panel over its cell.
    auto place = [&](iTILE_STACK_WINDOW* w, int cell) {
      if (!host.Place(w, cell)) return false;
      auto* window = static_cast<FakeStackWindow*>(w);
      const int c = window->CellIndex();
      window->panel->SetParent(area);
      window->panel->SetAlign(alNone);
      window->panel->SetBounds((c % 2) * 280 + 2, (c / 2) * 230 + 2, 276, 226);
      window->panel->Show();
      return true;
    };
    set.OnWindowCreated = [&](iTILE_STACK_WINDOW* w) { return place(w, -1); };
    set.OnEngineFilesRequest = [&](int studyIndex, int series, int stack, bool lossy, std::ostream& images,
                                   std::ostream& states, std::ostream& frames, std::string&) {
      std::string key;
      return vistrel_main::FillEngineFileLists(&fileSet, 0, studyIndex, series, stack, lossy, images, states, frames,
                                               key);
    };
    // The study box keeps one tile selected.
    set.OnTileSelected = [&](TFrameStackInfo* selected, bool) {
      for (int i = 0; i < set.Count(); ++i)
        if (set.Tile(i) != selected) set.Tile(i)->Unselect(true);
    };
    int position = 0;
    for (int32_t s = 0; s < study.FSeries.Count(); ++s) {
      const ORN_dicom::TanSeriesIE& series = *study.FSeries.At(s);
      for (int32_t j = 0; j < series.Stacks().Count(); ++j) {
        const ORN_dicom::TanPrivateIE* stack = series.Stacks().At(j);
        TStackDescription d;
        d.Study = 0, d.Series = s, d.Stack = j;
        if (ORN_dicom::iDDE* sequence = stack->GetIconImageSequence()) {
          ORN_image::TgbDisplayDicomIcon<ORN_std::TanCPPAllocator> icon(sequence);
          d.Icon = icon.CreateBitmap();
        }
        d.SeriesNumber = series.GetSeriesNumber();
        d.ImageCount = stack->GetStackImageCount();
        d.Protocol = L"Series " + std::to_wstring(s + 1);
        d.Date = series.GetSeriesDate();
        d.Time = series.GetSeriesTime();
        d.Modality = series.GetModality();
        d.BodyPart = "CHEST";
        d.Description = L"generated stack";
        set.InsertStack(position++, d);
      }
    }
    form.Show();
    WaitUntilExposed(&form, 5000);

    TFrameStackInfo* second = set.Tile(1);
    TFrameStackInfo* first = set.Tile(0);
    if (real) {
      if (!Click(second->lblMouseScreen)) std::fprintf(stderr, "xdotool failed\n");
      PumpUntil([&] { return second->IsShown(); }, 20000);
      if (!Click(first->chbView)) std::fprintf(stderr, "xdotool failed\n");
      PumpUntil([&] { return first->IsShown(); }, 20000);
    } else {
      second->lblMouseScreenClick(second->lblMouseScreen);
      first->chbView->Click();
    }
    auto ready = [](TFrameStackInfo* t) {
      auto* w = static_cast<FakeStackWindow*>(t->StackWindow());
      return w && w->ready;
    };
    if (!PumpUntil([&] { return ready(first) && ready(second); }, 30000)) {
      std::fprintf(stderr, "the engines did not become ready\n");
      status = 1;
    }
    Pump(800);  // the first pictures arrive
    if (!second->IsShown() || !first->IsShown() || !first->IsSelected() || second->IsSelected()) {
      std::fprintf(stderr, "the clicks did not open the stacks (%d %d, selected %d %d)\n", first->IsShown(),
                   second->IsShown(), first->IsSelected(), second->IsSelected());
      status = 1;
    }
    WaitUntilExposed(&form, 1000);
    if (!SaveScreenshot(&form, argv[3])) {
      std::fprintf(stderr, "cannot write %s\n", argv[3]);
      status = 1;
    }
    std::printf("screenshot (%s): %s; %d engines running\n", real ? "Xvfb, real clicks" : "offscreen", argv[3],
                RunningEngines());
    for (int i = 0; i < set.Count(); ++i)
      if (set.Tile(i)->StackWindow()) host.Forget(set.Tile(i)->StackWindow());
  }
  if (RunningEngines() != 0) {
    std::fprintf(stderr, "an engine outlived its tile\n");
    status = 1;
  }
  return status;
}
