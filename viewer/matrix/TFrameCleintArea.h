// The client area: the image side of the main window, laid out as a matrix of rows x columns
// cells of equal size (up to one pixel) on its desk panel, one of which can be maximized over
// the whole desk. The area owns its cells, never the windows: a window belongs to its stack
// tile and is attached to a cell, moved between cells or released from it. The cells forward
// their windows' maximize and linked-operation requests here; linked operations go to every
// window of the matrix, the sender included.
//
// W is the stack-window type; besides what TanMatrixCell needs it must offer
// SetMaximizedButton(bool), PauseCine(), ResumeCine(), Width(), Height(), ClientToScreen()
// and the receiving operations ApplyLinkedZoom ... ApplyLinkedTimeStep.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>

#include "platform/vcl/Colors.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "viewer/matrix/TanMatrixCell.h"

template <class W>
class TFrameCleintArea : public TFrame {
 public:
  using Cell = iMATRIX_CELL<W>;

  explicit TFrameCleintArea(TComponent* AOwner) : TFrame(AOwner) {
    pnlDesk = new TPanel(this);
    pnlDesk->SetName("pnlDesk");
    pnlDesk->BevelOuter = bvNone;
    pnlDesk->SetColor(clBlack);
    pnlDesk->Font.Style = fsBold;
    pnlDesk->Font.SetHeight(-13);
    pnlDesk->Font.Color = clGray;
    pnlDesk->FontChanged();
    pnlDesk->SetParent(this);
    pnlDesk->SetAlign(alClient);
    AttachResize();
  }

  ~TFrameCleintArea() override {
    OnResize = nullptr;
    // Cells go before the desk their panels sit on; each releases its window first.
    while (!FCells.empty()) FCells.pop_front();
  }

  TPanel* pnlDesk;
  // The owner's notification of the maximized state: (maximized, cell index).
  std::function<void(bool maximized, int cellIndex)> OnMaximizeChanged;

  int Columns() const { return FColumns; }
  int Rows() const { return FRows; }
  int MaximizedIndex() const { return FMaximized; }
  int CellCount() const { return static_cast<int>(FCells.size()); }
  Cell* Cells(int index) const { return FCells.at(static_cast<size_t>(index)).get(); }

  // Rounds to the granularity, rebuilds the cells and lays them out; 0 in either clears the
  // matrix. Negative sizes are refused and change nothing.
  void SetMatrix(int columns, int rows) {
    if (columns < 0 || rows < 0) return;
    columns = RoundUp(columns, FColumnGranularity);
    rows = RoundUp(rows, FRowGranularity);
    if (columns == 0 || rows == 0) {
      // Restored first, so the released windows leave with their cines unpaused and their
      // maximize buttons showing the matrix: they may be attached to a new matrix later.
      if (FMaximized >= 0) ToggleMaximize(FMaximized);
      while (!FCells.empty()) FCells.pop_front();
      FColumns = FRows = 0;
      if (OnMaximizeChanged) OnMaximizeChanged(false, FMaximized);
      FMaximized = -1;
    } else {
      if (FMaximized >= 0) ToggleMaximize(FMaximized);
      RebuildCells(columns, rows);
      FColumns = columns;
      FRows = rows;
      if (OnMaximizeChanged) OnMaximizeChanged(false, -1);
      LayOut();
    }
    Repaint();
  }

  // Restores a maximized matrix; nothing otherwise.
  void Relayout() {
    if (FMaximized >= 0) SetMatrix(FColumns, FRows);
  }

  void FrameResize(TObject*) {
    if (FMaximized < 0) {
      SetMatrix(FColumns, FRows);
    } else {
      FCells.at(static_cast<size_t>(FMaximized))->SetBounds(0, 0, pnlDesk->Width(), pnlDesk->Height());
    }
    Repaint();
  }

  // Maximizes cell `index`, or restores the matrix when a cell is maximized or index < 0.
  // Only a cell that holds a window is maximized (the request comes from its window).
  void ToggleMaximize(int index) {
    if (FMaximized >= 0 || index < 0) {
      Restore();
      return;
    }
    Cell* target = FCells.at(static_cast<size_t>(index)).get();
    if (!target->HasWindow()) return;
    for (size_t i = 0; i < FCells.size(); ++i) {
      Cell* c = FCells[i].get();
      c->SetVisible(false);
      if (W* w = c->GetWindow()) {
        c->SetMaximized(true);
        w->SetMaximizedButton(false);
        if (static_cast<int>(i) != index) w->PauseCine();
      }
    }
    FMaximized = index;
    NotifyMaximizeChanged(true, index);
    target->SetMaximized(true);
    target->SetVisible(true);
    if (W* w = target->GetWindow()) w->Activate(0);
  }

  // Shows cell `index` maximized in place of the maximized one; the previous maximized
  // index, or -1 when nothing is maximized or the cell holds no window.
  int MoveMaximizedTo(int index) {
    if (FMaximized < 0) return -1;
    Cell* target = FCells.at(static_cast<size_t>(index)).get();
    if (!target->HasWindow()) return -1;
    if (index == FMaximized) return FMaximized;
    Cell* current = FCells.at(static_cast<size_t>(FMaximized)).get();
    const bool locked = LockWindowUpdate(pnlDesk);
    target->SetMaximized(current->IsMaximized());
    current->SetVisible(false);
    // The hidden window's cine is marked paused and the shown one's resumed, as a maximize
    // and a restore would, so that the restore resumes exactly the paused ones.
    if (W* w = current->GetWindow()) w->PauseCine();
    const int previous = FMaximized;
    FMaximized = index;
    target->SetVisible(true);
    if (W* w = target->GetWindow()) {
      w->ResumeCine();
      w->Activate(0);
    }
    if (locked) LockWindowUpdate(nullptr);
    return previous;
  }

  int MaximizeNextCell() { return MaximizeTo(FindNextFilledCell()); }
  int MaximizePrevCell() { return MaximizeTo(FindPrevFilledCell()); }

  int FindNextFilledCell() const {
    if (FMaximized < 0) return -1;
    for (size_t i = static_cast<size_t>(FMaximized) + 1; i < FCells.size(); ++i)
      if (FCells[i]->HasWindow()) return static_cast<int>(i);
    return -1;
  }

  int FindPrevFilledCell() const {
    if (FMaximized <= 0) return -1;
    for (int i = FMaximized - 1; i >= 0; --i)
      if (FCells[static_cast<size_t>(i)]->HasWindow()) return i;
    return -1;
  }

  // Every window moves `step` cells toward the start; the first ones wrap to the end.
  void ShiftWindowsForward(int step) {
    const int n = Bounded(step);
    for (int i = 0; i + step < n; ++i) FCells[static_cast<size_t>(i)]->SwapWindows(FCells[static_cast<size_t>(i + step)].get());
  }

  // Every window moves `step` cells toward the end; those pushed past it are released.
  void ShiftWindowsBack(int step) {
    const int n = Bounded(step);
    for (int i = n - 1; i >= step; --i) FCells[static_cast<size_t>(i)]->SwapWindows(FCells[static_cast<size_t>(i - step)].get());
    for (int i = step - 1; i >= 0; --i) FCells[static_cast<size_t>(i)]->ReleaseWindow();
  }

  void SwapCellWindows(int a, int b) {
    Cell* first = FCells.at(static_cast<size_t>(a)).get();
    Cell* second = FCells.at(static_cast<size_t>(b)).get();
    first->SwapWindows(second);
  }

  // Restores the matrix, then moves the filled cells first, keeping their order.
  void CompactWindows() {
    Relayout();
    for (size_t c = 0; c < FCells.size(); ++c) {
      if (FCells[c]->HasWindow()) continue;
      size_t next = static_cast<size_t>(FCells[c]->GetIndex()) + 1;
      while (next < FCells.size() && !FCells[next]->HasWindow()) ++next;
      if (next >= FCells.size()) return;
      FCells[c]->SwapWindows(FCells[next].get());
    }
  }

  void ReleaseAllWindows() {
    for (auto& c : FCells) c->ReleaseWindow();
  }

  int CountEmptyCells() const { return CellCount() - CountFilledCells(); }
  int CountFilledCells() const {
    int n = 0;
    for (const auto& c : FCells) n += c->HasWindow() ? 1 : 0;
    return n;
  }
  int FindFirstEmptyCell() const {
    for (size_t i = 0; i < FCells.size(); ++i)
      if (!FCells[i]->HasWindow()) return static_cast<int>(i);
    return -1;
  }
  int FindFirstFilledCell() const {
    for (size_t i = 0; i < FCells.size(); ++i)
      if (FCells[i]->HasWindow()) return static_cast<int>(i);
    return -1;
  }
  int GetActiveCellIndex() const {
    for (size_t i = 0; i < FCells.size(); ++i)
      if (W* w = FCells[i]->GetWindow(); w && w->IsActive()) return static_cast<int>(i);
    return -1;
  }
  int FindCellByWindow(platform::WindowHandle handle) const {
    for (size_t i = 0; i < FCells.size(); ++i)
      if (FCells[i]->HasWindow() && FCells[i]->GetWindowHandle() == handle) return static_cast<int>(i);
    return -1;
  }

  // The cell under a screen point, highlighted unless `noHighlight`; every other cell's
  // highlight is cleared. While a cell is maximized, that cell and no change.
  virtual int HighlightCellAtScreenPoint(int x, int y, bool noHighlight) {
    if (FMaximized >= 0) return FMaximized;
    int found = -1;
    for (size_t i = 0; i < FCells.size(); ++i) {
      if (found < 0 && FCells[i]->ContainsScreenPoint(TPoint{x, y})) {
        found = static_cast<int>(i);
        FCells[i]->SetHighlight(!noHighlight);
      } else {
        FCells[i]->SetHighlight(false);
      }
    }
    return found;
  }

  // Granularities below 1 are refused (the matrix is rounded and divided by them).
  virtual void SetGranularity(int columnGranularity, int rowGranularity) {
    if (columnGranularity < 1 || rowGranularity < 1) return;
    FColumnGranularity = columnGranularity;
    FRowGranularity = rowGranularity;
  }
  int ColumnGranularity() const { return FColumnGranularity; }
  int RowGranularity() const { return FRowGranularity; }

  // The number of cells and the row and column of cell `index` inside the block that one
  // granularity step (one monitor) shows; 1, 0, 0 for the maximized cell. Nothing is written
  // for an index outside the matrix, nor when the matrix holds less than one block (the
  // granularity changed since it was set), which would divide by 0.
  void QueryCellPosition(int index, int& count, int& row, int& column) const {
    if (index < 0 || index >= CellCount()) return;
    if (index == FMaximized) {
      count = 1;
      row = column = 0;
      return;
    }
    const int rowBlock = FRows / FRowGranularity, columnBlock = FColumns / FColumnGranularity;
    if (rowBlock == 0 || columnBlock == 0) return;
    count = CellCount();
    row = (index / FColumns) % rowBlock;
    column = (index % FColumns) % columnBlock;
  }

 private:
  static int RoundUp(int value, int granularity) {
    const int rest = value % granularity;
    return rest > 0 ? value + granularity - rest : value;
  }

  // The number of cells, after checking that `step` names one.
  int Bounded(int step) const {
    static_cast<void>(FCells.at(static_cast<size_t>(step < 0 ? FCells.size() : static_cast<size_t>(step))));
    return CellCount();
  }

  int MaximizeTo(int index) {
    if (index >= 0 && MoveMaximizedTo(index) == -1) return -1;
    return index;
  }

  void AttachResize() {
    OnResize = [this](TObject* sender) { FrameResize(sender); };
  }

  // The owner may resize the area meanwhile; that resize must not lay the matrix out again.
  void NotifyMaximizeChanged(bool maximized, int index) {
    if (!OnMaximizeChanged) return;
    OnResize = nullptr;
    OnMaximizeChanged(maximized, index);
    AttachResize();
  }

  void Restore() {
    NotifyMaximizeChanged(false, FMaximized);
    const int maximized = FMaximized;
    for (size_t i = 0; i < FCells.size(); ++i) {
      Cell* c = FCells[i].get();
      c->SetMaximized(false);
      c->SetVisible(true);
      if (W* w = c->GetWindow()) {
        c->SetMaximized(false);
        w->SetMaximizedButton(true);
        // The maximized window's cine never paused; every other one was marked paused when it
        // was hidden (by the maximize or by MoveMaximizedTo) and runs again now.
        if (static_cast<int>(i) != maximized) w->ResumeCine();
      }
    }
    FMaximized = -1;
    FrameResize(this);
    if (maximized >= 0 && maximized < CellCount()) {
      if (W* w = FCells[static_cast<size_t>(maximized)]->GetWindow()) {
        w->Activate(0);
        const TPoint centre = w->ClientToScreen(TPoint{w->Width() / 2, w->Height() / 2});
        SetCursorPos(centre.x, centre.y);
      }
    }
  }

  std::unique_ptr<Cell> NewCell(int index) {
    auto cell = std::make_unique<TanMatrixCell<W>>(pnlDesk, index, 0, 0, 0, 0, nullptr);
    cell->OnToggleMaximize = [this](int i) { ToggleMaximize(i); };
    cell->OnLinkedZoom = [this](W* s, double f) { return Broadcast([&](W* w) { w->ApplyLinkedZoom(s, f); }); };
    cell->OnLinkedVoi = [this](W* s, double a, double b) { return Broadcast([&](W* w) { w->ApplyLinkedVoi(s, a, b); }); };
    cell->OnLinkedPan = [this](W* s, double a, double b) { return Broadcast([&](W* w) { w->ApplyLinkedPan(s, a, b); }); };
    cell->OnLinkedRotateLeft = [this](W* s) { return Broadcast([&](W* w) { w->ApplyLinkedRotateLeft(s); }); };
    cell->OnLinkedRotateRight = [this](W* s) { return Broadcast([&](W* w) { w->ApplyLinkedRotateRight(s); }); };
    cell->OnLinkedFlipHorizontal = [this](W* s) { return Broadcast([&](W* w) { w->ApplyLinkedFlipHorizontal(s); }); };
    cell->OnLinkedFlipVertical = [this](W* s) { return Broadcast([&](W* w) { w->ApplyLinkedFlipVertical(s); }); };
    cell->OnLinkedImageStep = [this](W* s, int d) { return Broadcast([&](W* w) { w->ApplyLinkedImageStep(s, d); }); };
    cell->OnLinkedPositionStep = [this](W* s, uint8_t k, double d) {
      return Broadcast([&](W* w) { w->ApplyLinkedPositionStep(s, k, d); });
    };
    cell->OnLinkedTimeStep = [this](W* s, double d) { return Broadcast([&](W* w) { w->ApplyLinkedTimeStep(s, d); }); };
    cell->OnQueryCellPosition = [this](int i, int& count, int& row, int& column) {
      QueryCellPosition(i, count, row, column);
    };
    cell->SetVisible(true);
    return cell;
  }

  // Hands a linked change to every window of the matrix, in cell order.
  template <class F>
  bool Broadcast(F apply) {
    for (size_t i = 0; i < FCells.size(); ++i)
      if (W* w = FCells[i]->GetWindow()) apply(w);
    return false;
  }

  void RebuildCells(int columns, int rows) {
    const int wanted = columns * rows, old = FColumns * FRows;
    if (wanted > old) {
      for (int i = old; i < wanted; ++i) FCells.push_back(NewCell(i));
      return;
    }
    if (wanted == old) return;
    const int active = GetActiveCellIndex();
    if (active < 0) {
      // Destroyed in ascending order, each releasing its window.
      while (static_cast<int>(FCells.size()) > wanted) {
        std::unique_ptr<Cell> gone = std::move(FCells[static_cast<size_t>(wanted)]);
        FCells.erase(FCells.begin() + wanted);
      }
      return;
    }
    // The active window stays; windows after it come before windows before it, in order.
    std::deque<std::unique_ptr<Cell>> kept;
    kept.push_back(std::move(FCells[static_cast<size_t>(active)]));
    for (size_t i = static_cast<size_t>(active) + 1; i < FCells.size() && static_cast<int>(kept.size()) < wanted; ++i)
      if (FCells[i]->HasWindow()) kept.push_back(std::move(FCells[i]));
    for (int i = active - 1; i >= 0 && static_cast<int>(kept.size()) < wanted; --i)
      if (FCells[static_cast<size_t>(i)]->HasWindow()) kept.push_front(std::move(FCells[static_cast<size_t>(i)]));
    for (size_t i = 0; i < kept.size(); ++i) kept[i]->SetIndex(static_cast<int>(i));
    while (static_cast<int>(kept.size()) < wanted) kept.push_back(NewCell(static_cast<int>(kept.size())));
    kept.swap(FCells);
    for (auto& left : kept) left.reset();  // the old sequence's remainder, in ascending order
  }

  // Cells cover the frame's width and height exactly; the remainder pixels go to the last
  // columns and rows, one each.
  void LayOut() {
    const int W_ = Width(), H = Height();
    const int w = W_ / FColumns, h = H / FRows, ew = W_ % FColumns, eh = H % FRows;
    int y = 0;
    for (int r = 0; r < FRows; ++r) {
      const int height = r < FRows - eh ? h : h + 1;
      int x = 0;
      for (int c = 0; c < FColumns; ++c) {
        const int width = c < FColumns - ew ? w : w + 1;
        FCells[static_cast<size_t>(r * FColumns + c)]->SetBounds(x, y, width, height);
        x += width;
      }
      y += height;
    }
  }

  std::deque<std::unique_ptr<Cell>> FCells;
  int FColumns = 0;
  int FRows = 0;
  int FMaximized = -1;
  int FRowGranularity = 1;
  int FColumnGranularity = 1;
};
