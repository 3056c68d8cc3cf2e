// The string grid (and the Tnt Unicode one): cells of wide text by column and row, fixed
// rows and columns shown as headers.
#pragma once

#include <vector>

#include "platform/vcl/Controls.h"

class TStringGrid : public TWinControl {
 public:
  explicit TStringGrid(TComponent* AOwner);
  int ColCount() const;
  int RowCount() const;
  void SetColCount(int count);
  void SetRowCount(int count);
  int FixedCols = 1;
  int FixedRows = 1;
  System::WideString Cells(int col, int row) const;
  void SetCell(int col, int row, const System::WideString& text);
  void SetColWidth(int col, int width);
  int ColWidth(int col) const;
  void SetDefaultRowHeight(int height);
  int Row() const;
  int Col() const;
};
using TTntStringGrid = TStringGrid;

// The owner-drawn grid (and the Tnt one): the owner paints every cell in OnDrawCell. Rows are
// DefaultRowHeight high with GridLineWidth lines between them; fixed rows stay at the top
// while the other rows scroll. Whole rows are selected. Setting Row to another row (by
// program, by keyboard or by a mouse press) asks OnSelectCell and then raises OnClick, as the
// VCL grid does; setting it to the row it has raises nothing.
enum TGridDrawStateFlag : uint8_t { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = uint8_t;
using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

class TDrawGrid : public TWinControl {
 public:
  explicit TDrawGrid(TComponent* AOwner);
  int ColCount() const { return FColCount; }
  void SetColCount(int count);
  int RowCount() const { return FRowCount; }
  // At least one row; fewer rows than fixed ones lower the fixed count.
  void SetRowCount(int count);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int count);
  int ColWidths(int col) const;
  void SetColWidth(int col, int width);
  int DefaultColWidth = 64;
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int height);
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int width);
  int Row() const { return FRow; }
  void SetRow(int row);
  int TopRow() const { return FTopRow; }
  // The cell's rectangle in the grid's pixels; empty when it is scrolled out of sight.
  TRect CellRect(int col, int row) const;
  // The row under a point of the grid, -1 when none.
  int RowAt(int y) const;
  void SetMinSize(int width, int height);
  int MinWidth() const { return FMinWidth; }
  int MinHeight() const { return FMinHeight; }
  // Valid for drawing while OnDrawCell runs; measures text at any time.
  TCanvas* Canvas() { return &FCanvas; }
  TColor FixedColor = clBtnFace;

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;

  bool WidgetEvent(QEvent* event) override;
  void SetBounds(int left, int top, int width, int height) override;

 private:
  int VisibleScrollRows() const;
  void UpdateScrollBar();
  void Scroll(int topRow);
  void MoveRow(int row);
  int FColCount = 5, FRowCount = 5, FFixedRows = 1, FDefaultRowHeight = 24, FGridLineWidth = 1;
  int FRow = 1, FTopRow = 1, FMinWidth = 0, FMinHeight = 0;
  std::vector<int> FColWidths;
  TCanvas FCanvas;
  class QScrollBar* FScrollBar = nullptr;
};
using TTntDrawGrid = TDrawGrid;
