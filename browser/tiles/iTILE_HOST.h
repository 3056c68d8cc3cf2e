// What a stack tile uses of the main window: its handle and GUI resources, the making of a
// stack window, the hanging-protocol stack initialisation flag, and the client area's matrix
// of cells. One host per process (the main window); the tile reaches it through TileHost().
#pragma once

#include <memory>

#include "app/mainwindow/GuiScaling.h"
#include "browser/tiles/iTILE_STACK_WINDOW.h"
#include "platform/windows/WindowTypes.h"

namespace ORN_browser {

class iTILE_HOST {
 public:
  virtual ~iTILE_HOST() = default;

  virtual platform::WindowHandle MainWindowHandle() = 0;
  // The main window's colours, fonts and GUI scale factor.
  virtual app::TGuiResources GuiResources() = 0;
  // A new stack window in no cell (-1) or the given one, reporting to the tile's window.
  virtual std::unique_ptr<iTILE_STACK_WINDOW> CreateStackWindow(int cellIndex, platform::WindowHandle tile) = 0;
  // The hanging-protocol settings' StackInitialization flag (false without valid settings).
  virtual bool StackInitialization() = 0;

  // The client area; every query answers "none" (0, -1, null, false) while there is none.
  virtual bool HasClientArea() = 0;
  virtual int ClientColumns() = 0;
  virtual int ClientRows() = 0;
  virtual int MaximizedCell() = 0;
  virtual int CellCount() = 0;
  virtual bool CellHasWindow(int cell) = 0;
  virtual iTILE_STACK_WINDOW* CellWindow(int cell) = 0;
  virtual int MoveMaximizedTo(int cell) = 0;
  virtual int CellIndexAtScreenPoint(int x, int y, bool drop) = 0;
  // False when both are equal; otherwise swaps the windows of the two cells.
  virtual bool MoveCell(int from, int to) = 0;
};

// The process's host, null until the main window sets it (and after it clears it).
void SetTileHost(iTILE_HOST* host);
iTILE_HOST* TileHost();

}  // namespace ORN_browser
