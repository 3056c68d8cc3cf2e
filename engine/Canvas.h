// Drawing of lines, outlines, handles and texts over a cell of the picture, cut at the cell's
// edges. Coordinates are cell-relative and continuous (a pixel's centre at +0.5).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ORN_engine {

struct ScreenPoint {
  double X = 0, Y = 0;
};

class Canvas {
 public:
  Canvas(uint32_t* pixels, int stride, int left, int top, int width, int height)
      : pixels_(pixels), stride_(stride), left_(left), top_(top), width_(width), height_(height) {}

  void Line(ScreenPoint a, ScreenPoint b, uint32_t colour);
  void Polyline(const std::vector<ScreenPoint>& points, bool closed, uint32_t colour);
  // An arrow from `tail` to `head`, the head drawn as two short strokes.
  void Arrow(ScreenPoint tail, ScreenPoint head, uint32_t colour);
  // A small hollow square around a point: a handle of a selected measurement.
  void Handle(ScreenPoint p, uint32_t colour);
  // Lines of text, the first line's top-left corner at p, with a dark shadow.
  void Text(ScreenPoint p, const std::vector<std::string>& lines, uint32_t colour);
  // A filled triangle in the cell's top-right corner (the mark of a marked image).
  void CornerMark(uint32_t colour);
  void Put(int x, int y, uint32_t colour);

 private:
  uint32_t* pixels_;
  int stride_, left_, top_, width_, height_;
};

// Distance of a point from a segment.
double SegmentDistance(ScreenPoint p, ScreenPoint a, ScreenPoint b);

}  // namespace ORN_engine
