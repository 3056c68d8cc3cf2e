// What the main window uses of the client area and of the stack windows in its cells. The
// client area (a matrix of cells) and the stack window come from the image frames; the main
// window reaches them through these two interfaces, which TClientAreaOf<W> (ClientAreaOf.h)
// implements over the client area of a stack-window type W.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/windows/WindowTypes.h"

class TWinControl;
namespace app {
class TResourceInitialization;
}

namespace vistrel_main {

using app::TResourceInitialization;

// The seven texts of a stack window's embedded-object block, in their order.
struct TEmbeddedObjectTexts {
  std::wstring PatientName, PatientID, AccessionNumber, StudyID;
  std::string Modalities, SeriesInstanceUID, SeriesNumber;
};

class iSTACK_WINDOW {
 public:
  virtual ~iSTACK_WINDOW() = default;
  virtual platform::WindowHandle Handle() = 0;
  virtual bool IsInverse() = 0;
  virtual bool IsLinkDown() = 0;
  virtual bool IsPaletteColorDown() = 0;
  // The opposite-pan item of the window's context menu.
  virtual void SetOppositePan(bool on) = 0;
  // Applies the GUI settings once; false when the window had applied them already.
  virtual bool ApplyGuiSettingsOnce(TResourceInitialization* resources) = 0;
  virtual void SetShown(bool shown) = 0;
  virtual void SetToolbarPinned(bool on) = 0;
  virtual void SetNavigatorPinned(bool on) = 0;
  virtual void SetLinkAutomated(int32_t value) = 0;
  virtual void SetInfoShown(bool on) = 0;
  virtual void SetLinked(bool on) = 0;
  virtual void SetInverse(bool on) = 0;
  virtual void SetPaletteColor(bool on) = 0;
  virtual void SetStatisticsOptions(bool a, bool b, bool c, bool d) = 0;
  // Sets the chronological class 0 to 3 and repaints its label.
  virtual void SetChronologicalClass(int value) = 0;
  // Study, series and stack index the window shows (-1 where it has none); false when the
  // window has no identity callback.
  virtual bool GetIdentity(int& study, int& series, int& stack) = 0;
  virtual void SetEmbeddedObject(const TEmbeddedObjectTexts& texts) = 0;
};

class iCLIENT_AREA {
 public:
  virtual ~iCLIENT_AREA() = default;
  virtual TWinControl* Control() = 0;
  virtual void SetGranularity(int columns, int rows) = 0;
  virtual void SetMatrix(int columns, int rows) = 0;
  virtual int Columns() = 0;
  virtual int Rows() = 0;
  virtual void Relayout() = 0;
  virtual int CellCount() = 0;
  virtual bool CellHasWindow(int cell) = 0;
  virtual platform::WindowHandle CellWindowHandle(int cell) = 0;
  // The window of the cell, null for an empty cell; valid until the cell changes.
  virtual iSTACK_WINDOW* CellWindow(int cell) = 0;
  virtual void ReleaseCellWindow(int cell) = 0;
  virtual bool AttachToCell(int cell, iSTACK_WINDOW& window) = 0;
  virtual void GetCellBounds(int cell, int& left, int& top, int& width, int& height) = 0;
  virtual void ReleaseAllWindows() = 0;
  virtual int FindFirstEmptyCell() = 0;
  virtual int GetActiveCellIndex() = 0;
  virtual void SwapCellWindows(int a, int b) = 0;
  // The cell under a screen point, -1 when none; highlights it unless dropping.
  virtual int CellAtScreenPoint(int x, int y, bool dropping) = 0;
  virtual void SetMaximizeCallback(std::function<void(bool maximized, int cell)> callback) = 0;
};

}  // namespace vistrel_main
