#include "app/widgets/GradientFill.h"

namespace app {

namespace {

void SetColor(TRIVERTEX& v, TColor color) {
  v.Red = static_cast<uint16_t>((color & 0xFF) * 256);
  v.Green = static_cast<uint16_t>(((color >> 8) & 0xFF) * 256);
  v.Blue = static_cast<uint16_t>(((color >> 16) & 0xFF) * 256);
  v.Alpha = 0;
}

TColor ColorOf(const TRIVERTEX& v) { return (v.Red >> 8) | ((v.Green >> 8) << 8) | ((v.Blue >> 8) << 16); }

}  // namespace

bool TsgRectangleGradientFill::Fill(TCanvas* dc, TColor color1, TColor color2, bool vertical) {
  SetColor(vertices_[0], color1);
  SetColor(vertices_[1], color2);
  if (!dc) return false;
  const TRIVERTEX& a = vertices_[rect_.UpperLeft];
  const TRIVERTEX& b = vertices_[rect_.LowerRight];
  if (b.x <= a.x || b.y <= a.y) return true;  // an empty rectangle draws nothing
  GradientFill(*dc, Rect(a.x, a.y, b.x, b.y), ColorOf(a), ColorOf(b), vertical);
  return true;
}

bool TsgRectangleGradientFill::FillVertical(TCanvas* dc, TColor color1, TColor color2) {
  return Fill(dc, color1, color2, true);
}

bool TsgRectangleGradientFill::FillHorizontal(TCanvas* dc, TColor color1, TColor color2) {
  return Fill(dc, color1, color2, false);
}

void TsgRectangleGradientFill::SetFromRect(const TRect& rect) {
  vertices_[0].x = rect.Left;
  vertices_[0].y = rect.Top;
  vertices_[1].x = rect.Right;
  vertices_[1].y = rect.Bottom;
  rect_ = GRADIENT_RECT{};
}

void TsgRectangleGradientFill::SetBounds(int x, int y, int width, int height) {
  SetFromRect(Rect(x, y, x + width, y + height));
}

}  // namespace app
