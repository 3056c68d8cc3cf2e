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

bool ImagePointOf(double dx, double dy, int cellWidth, int cellHeight, int columns, int rows, const ViewState& view,
                  int& ix, int& iy) {
  const double zoom = view.ZoomFits ? FitZoom(cellWidth, cellHeight, (view.Rotation & 1) ? rows : columns,
                                              (view.Rotation & 1) ? columns : rows)
                                    : view.Zoom;
  double x = dx + 0.5 - (cellWidth / 2.0 + view.PanX);
  double y = dy + 0.5 - (cellHeight / 2.0 + view.PanY);
  if (view.FlipHorizontal) x = -x;
  if (view.FlipVertical) y = -y;
  // Undo the clockwise quarter turns.
  for (int r = 0; r < (view.Rotation & 3); ++r) {
    const double t = x;
    x = y;
    y = -t;
  }
  const double u = x / zoom + columns / 2.0, v = y / zoom + rows / 2.0;
  if (u < 0 || v < 0 || u >= columns || v >= rows) return false;
  ix = int(u);
  iy = int(v);
  return true;
}

void DrawCell(uint32_t* out, int stride, int left, int top, int width, int height, const Cell& cell,
              const ViewState& view) {
  for (int y = 0; y < height; ++y) std::fill(out + size_t(top + y) * stride + left, out + size_t(top + y) * stride + left + width, kBlack);
  if (cell.Header == nullptr || cell.Image == nullptr || width <= 0 || height <= 0) return;
  const ImageHeader& h = *cell.Header;
  const DecodedImage& img = *cell.Image;

  // One colour per stored value (grey and palette images).
  std::vector<uint32_t> table;
  int32_t lowest = 0;
  if (!img.Colour && !img.Values.empty()) {
    const auto [mn, mx] = std::minmax_element(img.Values.begin(), img.Values.end());
    lowest = *mn;
    table.resize(size_t(int64_t(*mx) - *mn + 1));
    const bool invert = (h.Photometric == "MONOCHROME1") != (h.PresentationInverse != view.Inverse);
    double centre = view.Centre, width = view.Width;
    const bool useLut = !view.WindowSet && !h.VoiLut.Empty();
    if (!view.WindowSet && !useLut) FullRangeWindow(img.Minimum, img.Maximum, centre, width);
    const double lutTop = std::ldexp(1.0, h.VoiLut.Bits) - 1;
    for (size_t i = 0; i < table.size(); ++i) {
      const int32_t stored = lowest + int32_t(i);
      if (h.Palette()) {
        int r = Entry8(h.PaletteRed, stored), g = Entry8(h.PaletteGreen, stored), b = Entry8(h.PaletteBlue, stored);
        if (view.Inverse) r = 255 - r, g = 255 - g, b = 255 - b;
        table[i] = Rgb(r, g, b);
        continue;
      }
      const double x = ModalityValue(h, stored);
      double y = useLut ? h.VoiLut.At(int64_t(std::floor(x))) * 255.0 / lutTop : LinearWindow(x, centre, width);
      int g = Byte(y);
      if (invert) g = 255 - g;
      table[i] = view.PaletteOn ? Rgb(view.Palette[0][g], view.Palette[1][g], view.Palette[2][g]) : Grey(g);
    }
  }

  for (int dy = 0; dy < height; ++dy) {
    uint32_t* row = out + size_t(top + dy) * stride + left;
    for (int dx = 0; dx < width; ++dx) {
      int ix = 0, iy = 0;
      if (!ImagePointOf(dx, dy, width, height, img.Columns, img.Rows, view, ix, iy)) continue;
      const size_t p = size_t(iy) * img.Columns + ix;
      if (img.Colour) {
        int r = img.Rgb[3 * p], g = img.Rgb[3 * p + 1], b = img.Rgb[3 * p + 2];
        if (view.Inverse) r = 255 - r, g = 255 - g, b = 255 - b;
        row[dx] = Rgb(r, g, b);
      } else {
        row[dx] = table[size_t(img.Values[p] - lowest)];
      }
    }
  }
}

}  // namespace ORN_engine
