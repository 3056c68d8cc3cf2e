#include "app/widgets/MatrixCell.h"

namespace app {

namespace {
int nextCellNumber = 1;  // process-wide, as the cells' names count up
}

template <class TBase>
TMatrixCell<TBase>::TMatrixCell() {
  this->SetName("Cell" + std::to_string(nextCellNumber++));
}

template <class TBase>
TColor TMatrixCell<TBase>::StateColor() const {
  if (!inMatrix_) return empty_;
  return filled_ ? matrixFilled_ : matrix_;
}

template <class TBase>
TColor TMatrixCell<TBase>::Blend(TColor s, TColor p, double x) {
  TColor result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = (s >> shift) & 0xFF, b = (p >> shift) & 0xFF;
    const int c = static_cast<int>(a * (1.0 - x) + b * x);
    result |= (c & 0xFF) << shift;
  }
  return result;
}

template <class TBase>
void TMatrixCell<TBase>::SetState(bool inMatrix, bool filled) {
  inMatrix_ = inMatrix;
  filled_ = inMatrix && filled;
  this->SetFillColor(StateColor());
}

template <class TBase>
void TMatrixCell<TBase>::Highlight(bool on, bool asFilled) {
  if (!on) {
    this->SetFillColor(StateColor());
    return;
  }
  const TColor p = asFilled ? filledHighlight_ : highlight_;
  const double x = asFilled ? filledHighlightBlend_ : highlightBlend_;
  this->SetFillColor(Blend(StateColor(), p, x));
}

template <class TBase>
void TMatrixCell<TBase>::SetColors(TColor empty, TColor matrix, TColor matrixFilled, TColor highlight,
                                   TColor filledHighlight) {
  empty_ = empty;
  matrix_ = matrix;
  matrixFilled_ = matrixFilled;
  highlight_ = highlight;
  filledHighlight_ = filledHighlight;
  SetState(inMatrix_, filled_);
}

template class TMatrixCell<TCellRect>;

}  // namespace app
