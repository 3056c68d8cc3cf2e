// A two-colour linear gradient over one rectangle, as the GradientFill call takes it: two
// vertices with 16-bit colour channels and one rectangle joining them.
#pragma once

#include <cstdint>

#include "platform/vcl/Graphics.h"

namespace app {

struct TRIVERTEX {
  int32_t x = 0, y = 0;
  uint16_t Red = 0, Green = 0, Blue = 0, Alpha = 0;
};
struct GRADIENT_RECT {
  uint32_t UpperLeft = 0, LowerRight = 1;
};

class TsgRectangleGradientFill {
 public:
  TsgRectangleGradientFill() = default;
  virtual ~TsgRectangleGradientFill() = default;
  // Colour 1 at the top, colour 2 at the bottom.
  virtual bool FillVertical(TCanvas* dc, TColor color1, TColor color2);
  // Colour 1 at the left, colour 2 at the right.
  virtual bool FillHorizontal(TCanvas* dc, TColor color1, TColor color2);
  virtual void SetFromRect(const TRect& rect);
  virtual void SetBounds(int x, int y, int width, int height);

  const TRIVERTEX& Vertex(int index) const { return vertices_[index]; }

 private:
  bool Fill(TCanvas* dc, TColor color1, TColor color2, bool vertical);
  TRIVERTEX vertices_[2];
  GRADIENT_RECT rect_;
};

}  // namespace app
