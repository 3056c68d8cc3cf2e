// The string grid (and the Tnt Unicode one): cells of wide text by column and row, fixed
// rows and columns shown as headers.
#pragma once

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
