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
  // A displayed area (image coordinates, pixel edges): while the zoom fits, the area fits the
  // cell, and its centre is put at the cell's centre.
  bool AreaSet = false;
  double AreaLeft = 0, AreaTop = 0, AreaRight = 0, AreaBottom = 0;
  // A presentation state's modality rescale, VOI LUT (instead of the image's) and presentation
  // LUT shape (-1 none: the image's photometric decides; 0 identity; 1 inverse).
  bool RescaleSet = false;
  double Slope = 1, Intercept = 0;
  const LookupTable* VoiLut = nullptr;
  int PresentationShape = -1;
  double EdgeStrength = 0;  // edge enhancement of the drawn cells, 0 off
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

// Where an image lies in a cell: the zoom and the image point shown at the cell's centre
// (before the pan). Screen points are cell-relative and continuous: the centre of screen
// pixel (x, y) is (x + 0.5, y + 0.5); image points likewise (pixel edges at integers).
struct CellMapping {
  double Zoom = 1;
  double CentreU = 0, CentreV = 0;
  int CellWidth = 0, CellHeight = 0;
  ViewState View;
  void ToImage(double sx, double sy, double& u, double& v) const;
  void ToScreen(double u, double v, double& sx, double& sy) const;
};
CellMapping MappingOf(int cellWidth, int cellHeight, int columns, int rows, const ViewState& view);

// One colour per stored value of a grey or palette image under the view's pipeline.
struct ColourTable {
  int32_t Lowest = 0;
  std::vector<uint32_t> Colours;
  uint32_t At(int32_t stored) const { return Colours[size_t(stored - Lowest)]; }
};
ColourTable MakeColourTable(const ImageHeader& header, const DecodedImage& image, const ViewState& view);
// The modality value of a stored value under the view (a presentation state's rescale wins).
double ModalityValueOf(const ImageHeader& header, const ViewState& view, int32_t stored);

// The grey pipeline of one image as a table over its stored values, then the pixels of
// one cell. `out` has `stride` pixels per row.
void DrawCell(uint32_t* out, int stride, int left, int top, int width, int height, const Cell& cell,
              const ViewState& view);

// The image pixel under the centre of a screen pixel of a cell, false when outside.
bool ImagePointOf(double dx, double dy, int cellWidth, int cellHeight, int columns, int rows, const ViewState& view,
                  int& ix, int& iy);

// The magnifier's lens: centred on a cell-relative point, showing the image under it
// enlarged by `Factor` over the cell's own zoom; with `Optimized` its window spans the
// values under the lens.
struct Lens {
  int X = 0, Y = 0;
  int Size = 256;
  bool Circle = true;
  double Factor = 2.0;
  bool Optimized = false;
};
void DrawLens(uint32_t* out, int stride, int left, int top, int width, int height, const Cell& cell,
              const ViewState& view, const Lens& lens);

// Edge enhancement of a drawn cell: an unsharp mask over a 3 x 3 neighbourhood, each channel
// p + strength x (p - mean).
void EnhanceEdges(uint32_t* out, int stride, int left, int top, int width, int height, double strength);

}  // namespace ORN_engine
