// Draws stack images into 0xAARRGGBB pixels: modality LUT (rescale or table), VOI (a linear
// window by the standard's formula, or a VOI LUT), MONOCHROME1 and the presentation LUT's
// INVERSE, the user's inverse, palette colour, zoom, pan, flips and quarter turns, in a
// matrix of cells. Nearest-neighbour sampling: a screen pixel shows the image pixel under
// its centre.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/StackImage.h"

namespace ORN_engine {

struct ViewState {
  double Zoom = 1.0;
  bool ZoomFits = true;  // the zoom follows the cell size until the user zooms
  double PanX = 0, PanY = 0;  // screen pixels, the image centre's offset from the cell centre
  int Rotation = 0;           // quarter turns clockwise, 0 to 3
  bool FlipHorizontal = false, FlipVertical = false;
  bool Inverse = false;
  // The window in modality values; when none is set the image's VOI LUT or full range is used.
  bool WindowSet = false;
  double Centre = 0, Width = 1;
  bool PaletteOn = false;
  uint8_t Palette[3][256] = {};
  int MatrixColumns = 1, MatrixRows = 1;
};

// The grey level 0..255 of a modality value under a linear window: the standard's formula
// with the output range 0 to 255, not rounded.
double LinearWindow(double x, double centre, double width);
// The window that spreads [minimum, maximum] over the whole output range.
void FullRangeWindow(double minimum, double maximum, double& centre, double& width);

// The zoom at which an image of columns x rows fits a cell of width x height.
double FitZoom(int cellWidth, int cellHeight, int columns, int rows);

struct Cell {
  const ImageHeader* Header = nullptr;
  const DecodedImage* Image = nullptr;
};

// The grey pipeline of one image as a table over its stored values, then the pixels of
// one cell. `out` has `stride` pixels per row.
void DrawCell(uint32_t* out, int stride, int left, int top, int width, int height, const Cell& cell,
              const ViewState& view);

// The image pixel under the centre of a screen pixel of a cell, false when outside.
bool ImagePointOf(double dx, double dy, int cellWidth, int cellHeight, int columns, int rows, const ViewState& view,
                  int& ix, int& iy);

}  // namespace ORN_engine
