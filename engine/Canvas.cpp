#include "engine/Canvas.h"

#include <algorithm>
#include <cmath>

#include "engine/Overlay.h"

namespace ORN_engine {

void Canvas::Put(int x, int y, uint32_t colour) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[size_t(top_ + y) * stride_ + left_ + x] = colour;
}

void Canvas::Line(ScreenPoint a, ScreenPoint b, uint32_t colour) {
  // Cut the segment to the cell (Liang-Barsky) so that far points cost nothing.
  double t0 = 0, t1 = 1;
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.X - 0, width_ - a.X, a.Y - 0, height_ - a.Y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
  }
  if (t0 > t1 || !std::isfinite(t0) || !std::isfinite(t1)) return;
  const double x0 = a.X + t0 * dx, y0 = a.Y + t0 * dy, x1 = a.X + t1 * dx, y1 = a.Y + t1 * dy;
  const int steps = int(std::ceil(std::max(std::abs(x1 - x0), std::abs(y1 - y0))));
  for (int s = 0; s <= steps; ++s) {
    const double t = steps == 0 ? 0 : double(s) / steps;
    Put(int(std::floor(x0 + t * (x1 - x0))), int(std::floor(y0 + t * (y1 - y0))), colour);
  }
}

void Canvas::Polyline(const std::vector<ScreenPoint>& points, bool closed, uint32_t colour) {
  for (size_t i = 0; i + 1 < points.size(); ++i) Line(points[i], points[i + 1], colour);
  if (closed && points.size() > 2) Line(points.back(), points.front(), colour);
}

void Canvas::Arrow(ScreenPoint tail, ScreenPoint head, uint32_t colour) {
  Line(tail, head, colour);
  const double length = std::hypot(tail.X - head.X, tail.Y - head.Y);
  if (length < 1) return;
  const double ux = (tail.X - head.X) / length, uy = (tail.Y - head.Y) / length;
  const double size = std::min(10.0, length / 2);
  for (double side : {-1.0, 1.0}) {
    const double c = std::cos(0.45), s = std::sin(0.45) * side;
    Line(head, {head.X + size * (ux * c - uy * s), head.Y + size * (ux * s + uy * c)}, colour);
  }
}

void Canvas::Handle(ScreenPoint p, uint32_t colour) {
  const int x = int(std::floor(p.X)), y = int(std::floor(p.Y));
  for (int k = -2; k <= 2; ++k) {
    Put(x + k, y - 2, colour);
    Put(x + k, y + 2, colour);
    Put(x - 2, y + k, colour);
    Put(x + 2, y + k, colour);
  }
}

void Canvas::Text(ScreenPoint p, const std::vector<std::string>& lines, uint32_t colour) {
  // The font draws into a buffer of the cell's size: copy out, draw, copy back.
  if (lines.empty() || width_ <= 0 || height_ <= 0) return;
  // Kept inside the cell where it fits: moved left and up from the right and bottom edges.
  size_t longest = 0;
  for (const std::string& l : lines) longest = std::max(longest, l.size());
  const double textWidth = 6.0 * double(longest), textHeight = double(kOverlayLineHeight) * double(lines.size());
  p.X = std::max(0.0, std::min(p.X, width_ - textWidth - 1));
  p.Y = std::max(0.0, std::min(p.Y, height_ - textHeight - 1));
  std::vector<uint32_t> cell(size_t(width_) * height_);
  for (int y = 0; y < height_; ++y)
    std::copy(pixels_ + size_t(top_ + y) * stride_ + left_, pixels_ + size_t(top_ + y) * stride_ + left_ + width_,
              cell.begin() + size_t(y) * width_);
  for (size_t i = 0; i < lines.size(); ++i)
    DrawOverlayText(cell.data(), width_, height_, int(std::floor(p.X)), int(std::floor(p.Y)) + int(i) * kOverlayLineHeight,
                    lines[i], colour);
  for (int y = 0; y < height_; ++y)
    std::copy(cell.begin() + size_t(y) * width_, cell.begin() + size_t(y + 1) * width_,
              pixels_ + size_t(top_ + y) * stride_ + left_);
}

void Canvas::CornerMark(uint32_t colour) {
  for (int y = 0; y < 10; ++y)
    for (int x = width_ - 10 + y; x < width_; ++x) Put(x, y, colour);
}

double SegmentDistance(ScreenPoint p, ScreenPoint a, ScreenPoint b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y, l2 = dx * dx + dy * dy;
  double t = l2 > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / l2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

}  // namespace ORN_engine
