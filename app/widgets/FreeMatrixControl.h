// The "Select Cell:" window: the cells of the client area's matrix as a grid of squares,
// those holding a stack window marked, one picked with the mouse. Shown modally; mrOk with
// the chosen cell, mrCancel otherwise.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/widgets/MatrixCell.h"
#include "app/widgets/WidgetResources.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace app {

class TFreeMatrixControl : public TForm {
 public:
  TFreeMatrixControl(TComponent* owner, bool showHeader, int rows, int columns);
  ~TFreeMatrixControl() override;

  virtual void SetMatrixSize(int rows, int columns);
  virtual void ApplyMatrixSize(int rows, int columns) { SetMatrixSize(rows, columns); }
  virtual int GetChosenColumn() const { return chosenColumn_; }
  virtual int GetChosenRow() const { return chosenRow_; }
  virtual int GetSelectedCell() const { return hovered_; }
  virtual void SetCellState(int index, bool filled);
  virtual void ApplyGuiResources(iWIDGET_RESOURCES* resources);

  // Handlers.
  void FormResize(TObject* sender);
  void pnlBorderMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void pbCellsPaint(TObject* sender);
  void pbCellsMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void pbCellsClick(TObject* sender);
  void pnlHeaderMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void lblInfoMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void lblInfoClick(TObject* sender);
  void FormShow(TObject* sender);
  void ApplicationEvents1ShortCut(uint16_t key, TShiftState shift, bool& handled);

  TPanel *pnlForm, *pnlTopBorder, *pnlBottomBorder, *pnlLeftBorder, *pnlRightBorder;
  TPanel *pnlLeftTop, *pnlRightTop, *pnlRightBottom, *pnlLeftBottom;
  TPanel *pnlBase, *pnlHeader, *pnlCells;
  TImage* imgTitle;
  TLabel *lblTitle, *lblInfo;
  TPaintBox* pbCells;
  TApplicationEvents* ApplicationEvents1;

  int CellCount() const { return static_cast<int>(cells_.size()); }
  const TMatrixCell<TCellRect>& Cell(int index) const { return *cells_.at(static_cast<size_t>(index)); }
  const TRect& CellsBounds() const { return cellsBounds_; }
  int MinWidth() const { return minWidth_; }
  int MinHeight() const { return minHeight_; }

 private:
  void ShowCancelLook();
  void UnhighlightAll();
  std::wstring PositionText(int row, int column) const;
  void ColorCell(TMatrixCell<TCellRect>& cell) const;

  std::vector<std::unique_ptr<TMatrixCell<TCellRect>>> cells_;
  int topMargin_ = 4, leftMargin_ = 4, rightMargin_ = 4, bottomMargin_ = 4;
  int rowGap_ = 4, columnGap_ = 4;
  int cellWidth_ = 40, cellHeight_ = 40;
  int chosenRow_ = 1, chosenColumn_ = 1;
  TRect cellsBounds_;
  TPoint dragPosition_;
  bool leftDown_ = false;
  std::wstring cancelText_;
  int hovered_ = -1;
  TColor emptyCell_ = 0xFFFFFF;
  TColor hoveredCell_ = 0x808080;
  TColor hoveredFilledCell_ = 0x000000;
  TColor matrixCell_ = 0xFFDCDC;
  TColor matrixFilledCell_ = 0xC0A0A0;
  TColor cellsBackground_;
  TColor cancelBackground_ = 0xC0C0C0;
  TColor cancelText_Color_ = 0xFFFFFF;
  TColor infoText_;
  double highlightBlend_ = 1.0, filledHighlightBlend_ = 1.0;
  int minWidth_ = 0, minHeight_ = 0;
};

}  // namespace app
