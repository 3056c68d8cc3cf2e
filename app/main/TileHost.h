// The main window as the stack tiles' host (iTILE_HOST): it makes real stack windows for the
// tiles and answers their questions about the client area of the patient shown now. The
// client area registers itself here while it lives (TTiledClientArea).
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "app/main/TileStackWindow.h"
#include "browser/tiles/iTILE_HOST.h"

namespace vistrel_program {

class TVistrelTileHost;

// The client area of the main window over the real stack windows, known to the tiles' host.
class TTiledClientArea : public vistrel_main::TClientAreaOf<TFrameStackWindow> {
 public:
  explicit TTiledClientArea(TVistrelTileHost& host);
  ~TTiledClientArea() override;

 private:
  TVistrelTileHost& FHost;
};

class TVistrelTileHost : public ORN_browser::iTILE_HOST {
 public:
  TVistrelTileHost() { ORN_browser::SetTileHost(this); }
  ~TVistrelTileHost() override { ORN_browser::SetTileHost(nullptr); }

  std::function<platform::WindowHandle()> MainWindow;
  app::TGuiResources Gui;
  TTiledClientArea* Area = nullptr;

  platform::WindowHandle MainWindowHandle() override { return MainWindow ? MainWindow() : 0; }
  app::TGuiResources GuiResources() override { return Gui; }
  std::unique_ptr<ORN_browser::iTILE_STACK_WINDOW> CreateStackWindow(int cell, platform::WindowHandle tile) override {
    auto window = std::make_unique<TTileStackWindow>(cell, MainWindowHandle(), tile,
                                                     [this](TTileStackWindow* w) { FWindows.erase(w->Frame()); });
    FWindows[window->Frame()] = window.get();
    return window;
  }
  // No hanging-protocol settings in this build.
  bool StackInitialization() override { return false; }

  bool HasClientArea() override { return Area != nullptr; }
  int ClientColumns() override { return Area ? Area->Columns() : 0; }
  int ClientRows() override { return Area ? Area->Rows() : 0; }
  int MaximizedCell() override { return Area ? Area->Area().MaximizedIndex() : -1; }
  int CellCount() override { return Area ? Area->CellCount() : 0; }
  bool CellHasWindow(int cell) override { return CellWindow(cell) != nullptr; }
  ORN_browser::iTILE_STACK_WINDOW* CellWindow(int cell) override {
    if (!Area || cell < 0 || cell >= Area->CellCount()) return nullptr;
    const auto found = FWindows.find(Area->Area().Cells(cell)->GetWindow());
    return found != FWindows.end() ? found->second : nullptr;
  }
  int MoveMaximizedTo(int cell) override { return Area ? Area->Area().MoveMaximizedTo(cell) : -1; }
  int CellIndexAtScreenPoint(int x, int y, bool drop) override {
    return Area ? Area->CellAtScreenPoint(x, y, drop) : -1;
  }
  bool MoveCell(int from, int to) override {
    if (!Area || from == to || from < 0 || to < 0 || from >= Area->CellCount() || to >= Area->CellCount())
      return false;
    Area->SwapCellWindows(from, to);
    return true;
  }

  // The tile window of a frame, null for a frame no tile made.
  TTileStackWindow* WindowOf(ORN_browser::iTILE_STACK_WINDOW* window) { return dynamic_cast<TTileStackWindow*>(window); }

 private:
  std::map<TFrameStackWindow*, TTileStackWindow*> FWindows;
};

inline TTiledClientArea::TTiledClientArea(TVistrelTileHost& host) : FHost(host) { FHost.Area = this; }
inline TTiledClientArea::~TTiledClientArea() {
  if (FHost.Area == this) FHost.Area = nullptr;
}

}  // namespace vistrel_program
