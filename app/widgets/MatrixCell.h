// One rectangle of a chooser grid painted on a paint box (`TCellRect`), and a grid cell whose
// colour follows its state (outside the matrix, in it, holding a window) and the pointer
// (`TMatrixCell`).
#pragma once

#include <string>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Colors.h"

namespace app {

class TCellRect {
 public:
  TCellRect() = default;
  virtual void SetTop(int top) { top_ = top; }
  virtual void SetLeft(int left) { left_ = left; }
  virtual void SetWidth(int width) { width_ = width; }
  virtual void SetHeight(int height) { height_ = height; }
  virtual void SetName(const std::string& name) { name_ = name; }
  virtual TRect GetRect() const { return Rect(left_, top_, left_ + width_, top_ + height_); }
  virtual void SetRect(int left, int top, int right, int bottom) {
    left_ = left;
    top_ = top;
    width_ = right - left;
    height_ = bottom - top;
  }
  virtual void SetFillColor(TColor color) { color_ = color; }
  virtual TColor GetFillColor() const { return color_; }
  virtual ~TCellRect() = default;

  const std::string& Name() const { return name_; }

 private:
  int top_ = 0, left_ = 0, width_ = 0, height_ = 0;
  TColor color_ = 0xFFFFFF;
  std::string name_ = "CellRect";
};

template <class TBase>
class TMatrixCell : public TBase {
 public:
  TMatrixCell();
  ~TMatrixCell() override = default;
  virtual void SetState(bool inMatrix, bool filled);
  virtual void Highlight(bool on, bool asFilled);
  virtual void HighlightByState(bool on) { Highlight(on, filled_); }
  virtual void SetColors(TColor empty, TColor matrix, TColor matrixFilled, TColor highlight, TColor filledHighlight);
  virtual void SetHighlightBlend(double highlight, double filledHighlight) {
    highlightBlend_ = highlight;
    filledHighlightBlend_ = filledHighlight;
  }
  virtual void SetPosition(int row, int column) {
    row_ = row;
    column_ = column;
  }
  virtual int GetRow() const { return row_; }
  virtual int GetColumn() const { return column_; }

  bool InMatrix() const { return inMatrix_; }
  bool Filled() const { return filled_; }
  TColor StateColor() const;
  // s·(1 − x) + p·x per channel, truncated.
  static TColor Blend(TColor s, TColor p, double x);

 private:
  TColor empty_ = 0xFFFFFF;
  TColor matrixFilled_ = 0xC0A0A0;
  TColor matrix_ = 0xFFDCDC;
  TColor highlight_ = 0x000000;
  TColor filledHighlight_ = 0x0000FF;
  bool inMatrix_ = false;
  bool filled_ = false;
  double highlightBlend_ = 1.0;
  double filledHighlightBlend_ = 1.0;
  int row_ = 0;
  int column_ = 0;
};

extern template class TMatrixCell<TCellRect>;

}  // namespace app
