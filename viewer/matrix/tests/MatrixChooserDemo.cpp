// matrix_chooser_demo <png> [--self]: shows the matrix chooser modally (grid 5 x 6, selection
// 2 x 3 of 4 items, header shown) and writes the screen point of grid cell (3, 4) to
// <png>.target. A driver moves the real mouse there and clicks; once a cell is hovered the
// demo saves a picture of the chooser to <png>. With --self (no display server) it hovers and
// clicks through the chooser's own handlers. Exits 0 when the chooser ended with OK and a
// 3 x 4 matrix.
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/process/Process.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Screenshot.h"
#include "platform/windows/Application.h"
#include "viewer/matrix/TMatrixControl.h"
#include "viewer/matrix/tests/FakeGridCell.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: matrix_chooser_demo <png> [--self]\n");
    return 2;
  }
  const std::string png = argv[1];
  const bool self = argc > 2 && std::string(argv[2]) == "--self";
  platform::Application app(argc, argv, true);

  TMatrixControlOf<FakeGridCell> chooser(nullptr, true, 5, 6, 2, 3, 4);
  chooser.SetCaption(L"Matrix chooser demo");
  chooser.SetLeft(60);
  chooser.SetTop(50);
  chooser.ApplyGuiResources(nullptr);

  // Grid cell (3, 4): its centre in the paint box's coordinates.
  const TPoint cell{4 + 3 * 44 + 20, 4 + 2 * 44 + 20};
  int ticks = 0, hoveredTicks = 0;
  bool saved = false;
  TTimer timer(nullptr);
  timer.SetInterval(100);
  timer.OnTimer = [&](TObject*) {
    ++ticks;
    if (ticks == 2) {
      const TPoint screen = chooser.pbCells->ClientToScreen(cell);
      std::ofstream(png + ".target") << screen.x << " " << screen.y << "\n";
      if (self) chooser.pbCellsMouseMove(chooser.pbCells, 0, cell.x, cell.y);
    }
    if (chooser.HoveredIndex() >= 0 && !saved && ++hoveredTicks >= 3) {
      saved = SaveScreenshot(&chooser, png, 0);
      std::printf("screenshot %s: %s\n", png.c_str(), saved ? "saved" : "failed");
      std::fflush(stdout);
      if (self) {
        const TPoint screen = chooser.pbCells->ClientToScreen(cell);
        SetCursorPos(screen.x, screen.y);
        chooser.pbCellsClick(chooser.pbCells);
      }
    }
    if (ticks > 200) chooser.SetModalResult(mrCancel);  // nobody drove it: give up
  };
  timer.SetEnabled(true);
  const int result = chooser.ShowModal();
  timer.SetEnabled(false);
  std::printf("result %d, label \"%ls\", matrix %d x %d\n", result, chooser.lblInfo->Caption().c_str(),
              chooser.GetRows(), chooser.GetColumns());
  return result == mrOk && chooser.GetRows() == 3 && chooser.GetColumns() == 4 && saved ? 0 : 1;
}
