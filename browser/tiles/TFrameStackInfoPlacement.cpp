// The stack tile's placement paths: opening or moving its stack into a given cell, the
// "Select Cell:" chooser, dragging the icon onto a cell, the hover info strip and the
// forwarding of a wheel turn over the open stack window.
#include <algorithm>

#include "browser/tiles/TFrameStackInfo.h"
#include "app/widgets/StartupResources.h"
#include "platform/windows/Messages.h"

namespace ORN_browser {

void TFrameStackInfo::OpenInCell(int cell, bool select) {
  ShowInCell(cell);
  if (select) Select(true);
  iTILE_HOST* host = TileHost();
  if (!host || !host->HasClientArea()) return;
  iTILE_STACK_WINDOW* window = host->CellWindow(cell);
  if (!window) return;
  // Only our own window can be waited for safely: its life is the tile's to end.
  if (window != stackWindow_.get()) return;
  if (WaitForEngine(window) && stackWindow_.get() == window && TileHost())
    window->SetMaximizedButton(TileHost()->MaximizedCell() < 0);
}

bool TFrameStackInfo::PlaceInCell(int cell, bool select, bool reinitialise) {
  iTILE_STACK_WINDOW* before = stackWindow_.get();
  bool result = true;
  if (!shown_) {
    OpenInCell(cell, select);
  } else if (stackWindow_) {
    result = stackWindow_->CellIndex() >= 0;
    if (result) MoveCell(stackWindow_->CellIndex(), cell);
  }
  if (result && reinitialise && before && stackWindow_) {
    iTILE_STACK_WINDOW* window = stackWindow_.get();
    window->ReinitializeEngine();
    WaitForEngine(window);
  }
  return result;
}

void TFrameStackInfo::MoveCell(int from, int to) {
  if (iTILE_HOST* host = TileHost()) host->MoveCell(from, to);
}

void TFrameStackInfo::PlaceInFreeMatrixCell(int x, int y, bool headerVisible) {
  iTILE_HOST* host = TileHost();
  if (!host || !host->HasClientArea()) return;
  auto chooser = std::make_unique<app::TFreeMatrixControl>(nullptr, headerVisible, host->ClientRows(),
                                                           host->ClientColumns());
  if (record_) {
    app::TStartupResources resources(record_);
    chooser->ApplyGuiResources(&resources);
  } else {
    chooser->ApplyGuiResources(nullptr);
  }
  for (int i = 0; i < host->CellCount(); ++i) chooser->SetCellState(i, host->CellHasWindow(i));

  // The chooser lies wholly on the monitor nearest to the point.
  if (TMonitor* monitor = Screen->MonitorFromPoint(TPoint{x, y})) {
    const TRect m = monitor->BoundsRect;
    x = std::max(x, m.Left);
    y = std::max(y, m.Top);
    if (x + chooser->Width() > m.Right) x = m.Right - chooser->Width();
    if (y + chooser->Height() > m.Bottom) y = m.Bottom - chooser->Height();
  }
  chooser->SetLeft(x);
  chooser->SetTop(y);

  const std::shared_ptr<bool> alive = alive_;
  const int result = RunChooser ? RunChooser(*chooser) : chooser->ShowModal();
  if (!*alive || result != mrOk) return;
  const int cell = chooser->GetSelectedCell();
  host = TileHost();
  // A choice outside the matrix (none hovered, or the matrix changed meanwhile) moves nothing.
  if (!host || cell < 0 || cell >= host->CellCount()) return;
  if (shown_ && stackWindow_) {
    if (stackWindow_->CellIndex() >= 0 && host->MoveCell(stackWindow_->CellIndex(), cell)) {
      if (host->MaximizedCell() > -1)
        host->MoveMaximizedTo(cell);
      else
        Select(true);
    }
  } else if (!shown_) {
    ShowInCell(cell);
    Select(true);
    if (iTILE_STACK_WINDOW* window = host->CellWindow(cell)) window->SetMaximizedButton(host->MaximizedCell() < 0);
  }
}

void TFrameStackInfo::OnStripFreeMatrixClick(TObject*) {
  PlaceInFreeMatrixCell(infoStrip->Left(), infoStrip->Top() + infoStrip->Height(), false);
}

void TFrameStackInfo::lblPanelMouseScreenContextPopup(TObject* sender, const TPoint& mouse, bool& handled) {
  handled = true;  // no popup menu is ever shown: the chooser takes its place
  if (!sender) return;
  const TPoint p = ToScreen(sender, mouse.x, mouse.y);
  PlaceInFreeMatrixCell(p.x, p.y, true);
}

TPoint TFrameStackInfo::ToScreen(TObject* sender, int x, int y) const {
  auto* control = dynamic_cast<TControl*>(sender);
  return control ? control->ClientToScreen(TPoint{x, y}) : ClientToScreen(TPoint{x, y});
}

// ---------------------------------------------------------------- drag onto a cell

void TFrameStackInfo::lblMouseScreenMouseDown(TObject* sender, TMouseButton, TShiftState shift, int x, int y) {
  if (!(shift & ssLeft)) return;
  dragging_ = true;
  const TPoint p = ToScreen(sender, x, y);
  if (iTILE_HOST* host = TileHost()) host->CellIndexAtScreenPoint(p.x, p.y, false);
}

void TFrameStackInfo::lblMouseScreenMouseMove(TObject* sender, TShiftState shift, int x, int y) {
  if (shift & ssLeft) {
    if (!dragging_) return;
    const TPoint p = ToScreen(sender, x, y);
    if (iTILE_HOST* host = TileHost()) host->CellIndexAtScreenPoint(p.x, p.y, false);
    dragPicture->SetLeft(p.x);
    dragPicture->SetTop(p.y);
    if (!dragPicture->Visible()) {
      dragPicture->SetImage(imIcon->Width(), imIcon->Height(), imIcon->Picture());
      dragPicture->SetCellIndex(shown_ && stackWindow_ ? stackWindow_->CellIndex() : -1);
      dragPicture->Show();
    }
    return;
  }

  // The hover strip comes up over the bottom of the icon while it fits wholly inside the
  // visible band of the panel that scrolls the tiles.
  TWinControl* parent = Parent();
  TWinControl* grandparent = parent ? parent->Parent() : nullptr;
  if (!grandparent || !infoStrip) return;
  const TPoint origin = grandparent->ClientToScreen(TPoint{0, 0});
  const int bandTop = origin.y;
  const int bandBottom = origin.y + grandparent->ClientHeight();
  const int stripRow = imIcon->Top() + imIcon->Height() - infoStrip->Height();
  const TPoint point = ClientToScreen(TPoint{imIcon->Left(), stripRow});
  if (point.y > bandTop && point.y + infoStrip->Height() < bandBottom)
    infoStrip->ShowAt(point.x, point.y, StripOpacity(y, stripRow),
                      shapeInfo->Left() + shapeInfo->Width() - imIcon->Left());
}

double TFrameStackInfo::StripOpacity(int mouseY, int stripRow) {
  if (stripRow <= 0) return 1.0;
  return std::clamp(static_cast<double>(mouseY) / stripRow, 0.0, 1.0);
}

void TFrameStackInfo::lblMouseScreenMouseUp(TObject* sender, TMouseButton, TShiftState, int x, int y) {
  if (!dragging_) return;
  const TPoint p = ToScreen(sender, x, y);
  iTILE_HOST* host = TileHost();
  const int target = host ? host->CellIndexAtScreenPoint(p.x, p.y, true) : -1;
  if (target >= 0 && dragPicture->Visible()) {
    if (shown_) {
      if (dragPicture->GetCellIndex() >= 0) MoveCell(dragPicture->GetCellIndex(), target);
    } else {
      OpenInCell(target, true);
    }
  }
  dragging_ = false;
  if (dragPicture->Visible()) dragPicture->Hide();
}

bool TFrameStackInfo::StripContainsPoint(const TPoint& screenPoint) {
  return PtInRect(ClientRect(), ScreenToClient(screenPoint));
}

// ---------------------------------------------------------------- wheel

bool TFrameStackInfo::ForwardMouseWheel(int x, int y, int delta, int keyState) {
  if (!shown_ || !stackWindow_ || !stackWindow_->IsVisible()) return false;
  TRect rect;
  if (!stackWindow_->GetScreenClientRect(rect) || !PtInRect(rect, TPoint{x, y})) return false;
  lblMouseScreenClick(nullptr);
  if (!stackWindow_) return false;
  const auto wParam = platform::WParam((uint32_t(uint16_t(delta)) << 16) | uint16_t(keyState));
  const auto lParam = platform::LParam((uint32_t(uint16_t(y)) << 16) | uint16_t(x));
  platform::PostMessage(stackWindow_->Handle(), 0x020A, wParam, lParam);  // WM_MOUSEWHEEL
  return true;
}

}  // namespace ORN_browser
