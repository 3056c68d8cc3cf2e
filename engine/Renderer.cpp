#include "engine/Renderer.h"

#include <algorithm>
#include <cmath>

namespace ORN_engine {

namespace {
constexpr uint32_t kBlack = 0xFF000000u;

uint32_t Grey(int y) { return kBlack | uint32_t(y) << 16 | uint32_t(y) << 8 | uint32_t(y); }
uint32_t Rgb(int r, int g, int b) { return kBlack | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }
int Byte(double y) { return int(std::clamp(std::floor(y + 0.5), 0.0, 255.0)); }
// A palette table entry brought to 8 bits.
int Entry8(const LookupTable& t, int64_t v) {
  const int e = t.At(v);
  return t.Bits > 8 ? e >> (t.Bits - 8) : e;
}
}  // namespace

double LinearWindow(double x, double c, double w) {
  if (w <= 1) return x <= c - 0.5 ? 0.0 : 255.0;
  if (x <= c - 0.5 - (w - 1) / 2) return 0.0;
  if (x > c - 0.5 + (w - 1) / 2) return 255.0;
  return ((x - (c - 0.5)) / (w - 1) + 0.5) * 255.0;
}

void FullRangeWindow(double minimum, double maximum, double& centre, double& width) {
  width = maximum - minimum + 1;
  centre = (minimum + maximum) / 2 + 0.5;
}

double FitZoom(int cellWidth, int cellHeight, int columns, int rows) {
  if (columns <= 0 || rows <= 0 || cellWidth <= 0 || cellHeight <= 0) return 1.0;
  return std::min(double(cellWidth) / columns, double(cellHeight) / rows);
}

CellMapping MappingOf(int cellWidth, int cellHeight, int columns, int rows, const ViewState& view) {
  CellMapping m;
  m.CellWidth = cellWidth;
  m.CellHeight = cellHeight;
  m.View = view;
  m.View.VoiLut = nullptr;
  double w = columns, h = rows;
  m.CentreU = columns / 2.0;
  m.CentreV = rows / 2.0;
  if (view.AreaSet && view.AreaRight > view.AreaLeft && view.AreaBottom > view.AreaTop) {
    w = view.AreaRight - view.AreaLeft;
    h = view.AreaBottom - view.AreaTop;
    m.CentreU = (view.AreaLeft + view.AreaRight) / 2;
    m.CentreV = (view.AreaTop + view.AreaBottom) / 2;
  }
  const bool turned = (view.Rotation & 1) != 0;
  if (view.ZoomFits) {
    const double fw = turned ? h : w, fh = turned ? w : h;
    m.Zoom = (fw <= 0 || fh <= 0 || cellWidth <= 0 || cellHeight <= 0) ? 1.0 : std::min(cellWidth / fw, cellHeight / fh);
  } else {
    m.Zoom = view.Zoom;
  }
  return m;
}

void CellMapping::ToImage(double sx, double sy, double& u, double& v) const {
  double x = sx - (CellWidth / 2.0 + View.PanX);
  double y = sy - (CellHeight / 2.0 + View.PanY);
  if (View.FlipHorizontal) x = -x;
  if (View.FlipVertical) y = -y;
  // Undo the clockwise quarter turns.
  for (int r = 0; r < (View.Rotation & 3); ++r) {
    const double t = x;
    x = y;
    y = -t;
  }
  u = x / Zoom + CentreU;
  v = y / Zoom + CentreV;
}

void CellMapping::ToScreen(double u, double v, double& sx, double& sy) const {
  double x = (u - CentreU) * Zoom, y = (v - CentreV) * Zoom;
  for (int r = 0; r < (View.Rotation & 3); ++r) {  // clockwise quarter turns
    const double t = x;
    x = -y;
    y = t;
  }
  if (View.FlipHorizontal) x = -x;
  if (View.FlipVertical) y = -y;
  sx = x + CellWidth / 2.0 + View.PanX;
  sy = y + CellHeight / 2.0 + View.PanY;
}

bool ImagePointOf(double dx, double dy, int cellWidth, int cellHeight, int columns, int rows, const ViewState& view,
                  int& ix, int& iy) {
  const CellMapping m = MappingOf(cellWidth, cellHeight, columns, rows, view);
  double u = 0, v = 0;
  m.ToImage(dx + 0.5, dy + 0.5, u, v);
  if (u < 0 || v < 0 || u >= columns || v >= rows) return false;
  ix = int(u);
  iy = int(v);
  return true;
}

double ModalityValueOf(const ImageHeader& h, const ViewState& view, int32_t stored) {
  if (view.RescaleSet) return stored * view.Slope + view.Intercept;
  return ModalityValue(h, stored);
}

ColourTable MakeColourTable(const ImageHeader& h, const DecodedImage& img, const ViewState& view) {
  ColourTable out;
  if (img.Colour || img.Values.empty()) return out;
  const auto [mn, mx] = std::minmax_element(img.Values.begin(), img.Values.end());
  out.Lowest = *mn;
  out.Colours.resize(size_t(int64_t(*mx) - *mn + 1));
  const bool mono1 = view.PresentationShape >= 0 ? view.PresentationShape == 1 : (h.Photometric == "MONOCHROME1") != h.PresentationInverse;
  const bool invert = mono1 != view.Inverse;
  double centre = view.Centre, width = view.Width;
  const LookupTable* lut = view.VoiLut != nullptr ? view.VoiLut : &h.VoiLut;
  const bool useLut = !view.WindowSet && !lut->Empty();
  if (!view.WindowSet && !useLut) FullRangeWindow(img.Minimum, img.Maximum, centre, width);
  const double lutTop = std::ldexp(1.0, lut->Bits) - 1;
  for (size_t i = 0; i < out.Colours.size(); ++i) {
    const int32_t stored = out.Lowest + int32_t(i);
    if (h.Palette()) {
      int r = Entry8(h.PaletteRed, stored), g = Entry8(h.PaletteGreen, stored), b = Entry8(h.PaletteBlue, stored);
      if (view.Inverse) r = 255 - r, g = 255 - g, b = 255 - b;
      out.Colours[i] = Rgb(r, g, b);
      continue;
    }
    const double x = ModalityValueOf(h, view, stored);
    double y = useLut ? lut->At(int64_t(std::floor(x))) * 255.0 / lutTop : LinearWindow(x, centre, width);
    int g = Byte(y);
    if (invert) g = 255 - g;
    out.Colours[i] = view.PaletteOn ? Rgb(view.Palette[0][g], view.Palette[1][g], view.Palette[2][g]) : Grey(g);
  }
  return out;
}

namespace {
uint32_t PixelColour(const DecodedImage& img, const ColourTable& table, size_t p, bool inverse) {
  if (img.Colour) {
    int r = img.Rgb[3 * p], g = img.Rgb[3 * p + 1], b = img.Rgb[3 * p + 2];
    if (inverse) r = 255 - r, g = 255 - g, b = 255 - b;
    return Rgb(r, g, b);
  }
  return table.At(img.Values[p]);
}
}  // namespace

void DrawCell(uint32_t* out, int stride, int left, int top, int width, int height, const Cell& cell,
              const ViewState& view) {
  for (int y = 0; y < height; ++y) std::fill(out + size_t(top + y) * stride + left, out + size_t(top + y) * stride + left + width, kBlack);
  if (cell.Header == nullptr || cell.Image == nullptr || width <= 0 || height <= 0) return;
  const DecodedImage& img = *cell.Image;
  const ColourTable table = MakeColourTable(*cell.Header, img, view);
  const CellMapping m = MappingOf(width, height, img.Columns, img.Rows, view);
  for (int dy = 0; dy < height; ++dy) {
    uint32_t* row = out + size_t(top + dy) * stride + left;
    for (int dx = 0; dx < width; ++dx) {
      double u = 0, v = 0;
      m.ToImage(dx + 0.5, dy + 0.5, u, v);
      if (u < 0 || v < 0 || u >= img.Columns || v >= img.Rows) continue;
      row[dx] = PixelColour(img, table, size_t(int(v)) * img.Columns + size_t(int(u)), view.Inverse);
    }
  }
  if (view.EdgeStrength > 0) EnhanceEdges(out, stride, left, top, width, height, view.EdgeStrength);
}

void DrawLens(uint32_t* out, int stride, int left, int top, int width, int height, const Cell& cell,
              const ViewState& view, const Lens& lens) {
  if (cell.Header == nullptr || cell.Image == nullptr || width <= 0 || height <= 0 || lens.Size <= 0) return;
  const DecodedImage& img = *cell.Image;
  const CellMapping m = MappingOf(width, height, img.Columns, img.Rows, view);
  const double factor = std::max(0.1, lens.Factor);
  const double half = lens.Size / 2.0, cx = lens.X + 0.5, cy = lens.Y + 0.5;
  const int x0 = std::max(0, int(std::floor(cx - half))), x1 = std::min(width, int(std::ceil(cx + half)));
  const int y0 = std::max(0, int(std::floor(cy - half))), y1 = std::min(height, int(std::ceil(cy + half)));
  auto inside = [&](double x, double y) {
    if (!lens.Circle) return std::abs(x - cx) <= half && std::abs(y - cy) <= half;
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= half * half;
  };
  auto source = [&](int dx, int dy, double& u, double& v) {
    m.ToImage(cx + (dx + 0.5 - cx) / factor, cy + (dy + 0.5 - cy) / factor, u, v);
    return u >= 0 && v >= 0 && u < img.Columns && v < img.Rows;
  };
  ViewState lensView = view;
  if (lens.Optimized && !img.Colour && !cell.Header->Palette()) {
    // The window spans the values under the lens.
    double lo = 0, hi = 0;
    bool any = false;
    for (int dy = y0; dy < y1; ++dy)
      for (int dx = x0; dx < x1; ++dx) {
        double u = 0, v = 0;
        if (!inside(dx + 0.5, dy + 0.5) || !source(dx, dy, u, v)) continue;
        const double x = ModalityValueOf(*cell.Header, view, img.Values[size_t(int(v)) * img.Columns + size_t(int(u))]);
        lo = any ? std::min(lo, x) : x;
        hi = any ? std::max(hi, x) : x;
        any = true;
      }
    if (any) {
      lensView.WindowSet = true;
      FullRangeWindow(lo, hi, lensView.Centre, lensView.Width);
    }
  }
  const ColourTable table = MakeColourTable(*cell.Header, img, lensView);
  for (int dy = y0; dy < y1; ++dy) {
    uint32_t* row = out + size_t(top + dy) * stride + left;
    for (int dx = x0; dx < x1; ++dx) {
      if (!inside(dx + 0.5, dy + 0.5)) continue;
      double u = 0, v = 0;
      row[dx] = source(dx, dy, u, v)
                    ? PixelColour(img, table, size_t(int(v)) * img.Columns + size_t(int(u)), view.Inverse)
                    : kBlack;
      // A one-pixel white rim.
      const bool rim = lens.Circle ? !inside(dx + 0.5 + 1.5, dy + 0.5) || !inside(dx + 0.5 - 1.5, dy + 0.5) ||
                                         !inside(dx + 0.5, dy + 0.5 + 1.5) || !inside(dx + 0.5, dy + 0.5 - 1.5)
                                   : std::abs(dx + 0.5 - cx) > half - 1.5 || std::abs(dy + 0.5 - cy) > half - 1.5;
      if (rim) row[dx] = 0xFFFFFFFFu;
    }
  }
}

void EnhanceEdges(uint32_t* out, int stride, int left, int top, int width, int height, double strength) {
  if (width < 3 || height < 3 || strength <= 0) return;
  std::vector<uint32_t> copy(size_t(width) * height);
  for (int y = 0; y < height; ++y)
    std::copy(out + size_t(top + y) * stride + left, out + size_t(top + y) * stride + left + width, copy.begin() + size_t(y) * width);
  for (int y = 1; y + 1 < height; ++y)
    for (int x = 1; x + 1 < width; ++x) {
      const uint32_t p = copy[size_t(y) * width + x];
      uint32_t result = kBlack;
      for (int shift = 0; shift <= 16; shift += 8) {
        int sum = 0;
        for (int j = -1; j <= 1; ++j)
          for (int i = -1; i <= 1; ++i) sum += int((copy[size_t(y + j) * width + x + i] >> shift) & 0xFF);
        const int c = int((p >> shift) & 0xFF);
        const int e = Byte(c + strength * (c - sum / 9.0));
        result |= uint32_t(e) << shift;
      }
      out[size_t(top + y) * stride + left + x] = result;
    }
}

}  // namespace ORN_engine
