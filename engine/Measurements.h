// Measurements and annotations drawn over the images of a stack: their kinds and points (in
// image coordinates, so they stay on the anatomy when the view changes), lengths, areas and
// angles in mm from the pixel spacing or in a calibrated unit, region statistics in modality
// units, and the label texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Renderer.h"
#include "engine/StackImage.h"

namespace ORN_engine {

// The kinds of 0x8052; 5 has no tool.
enum MeasureKind : int {
  kDistance = 0,
  kEllipse = 1,
  kRectangle = 2,
  kAngle = 3,
  kAngleBetweenLines = 4,
  kDensity = 6,
  kCallout = 7,
  kText = 8,
  kArrow = 9,
  kPolygon = 10,
};
bool IsMeasureKind(int kind);
// Kinds whose label is a text of the user (text annotation, callout).
inline bool IsTextKind(int kind) { return kind == kText || kind == kCallout; }
// Kinds that enclose a region with statistics.
inline bool IsRegionKind(int kind) { return kind == kEllipse || kind == kRectangle || kind == kPolygon; }

// An image point: pixel (i, j) covers [i, i+1) x [j, j+1), its centre is (i + 0.5, j + 0.5).
struct ImagePoint {
  double U = 0, V = 0;
};

struct Measurement {
  int Kind = kDistance;
  int Image = 0;  // index of the image in the stack
  std::vector<ImagePoint> Points;
  bool Locked = false;
  // The text of a text or callout annotation; for a measurement the text a user put in place
  // of its computed label (UserText set).
  std::u16string Text;
  bool UserText = false;
};

// How lengths are measured on an image: the physical size of a step along a row (U) and
// down a column (V), and the unit of the label. Without spacing a step is one pixel.
struct Scale {
  double StepU = 1, StepV = 1;
  std::string Unit = "px";
  bool Imager = false;  // the spacing is Imager Pixel Spacing (at the detector)
  double Factor = 1;    // calibration: label units per step unit
};
// The scale of an image: Pixel Spacing, else Imager Pixel Spacing, else pixels; a
// calibration (unit, factor in units per mm or per pixel) replaces the unit.
Scale ScaleOf(const ImageHeader& header, bool calibrated, const std::string& unit, double factor);

double Length(const Scale& scale, ImagePoint a, ImagePoint b);
// Area of an ellipse, rectangle or polygon in squared label units.
double Area(const Scale& scale, const Measurement& m);
// Angle at the vertex (points 0, 1, 2: 1 is the vertex) in degrees, 0 to 180, in physical space.
double AngleAt(const Scale& scale, ImagePoint a, ImagePoint vertex, ImagePoint c);
// The angle between two lines (points 0-1 and 2-3) in degrees, 0 to 90.
double AngleBetween(const Scale& scale, ImagePoint a0, ImagePoint a1, ImagePoint b0, ImagePoint b1);

// Whether an image point lies inside a region measurement (ellipse and rectangle spanned by
// points 0 and 1; polygon by its points, even-odd rule).
bool InsideRegion(const Measurement& m, double u, double v);

struct Statistics {
  size_t Count = 0;
  double Minimum = 0, Maximum = 0, Mean = 0, Deviation = 0;  // population standard deviation
};
// Statistics of the modality values of the pixels whose centres lie inside the region,
// each divided by `divisor`.
Statistics RegionStatistics(const Measurement& m, const ImageHeader& header, const DecodedImage& image,
                            const ViewState& view, double divisor);

// What the 0x80AC record asks for.
struct StatisticsOptions {
  bool ShowMinimum = false, ShowMaximum = false, ShowMean = false, ShowDeviation = true;
  std::string MinimumHeader = "min", MaximumHeader = "max", MeanHeader = "mean", DeviationHeader = "std.dev.";
  double Factor = 2.0;
};
// The divisor the statistics use: the record's factor (dose per body weight) for PET and NM
// images, which gives standardized uptake values; 1 for any other modality.
double StatisticsDivisor(const ImageHeader& header, const StatisticsOptions& options);

// The label of a measurement: its lines, computed (`image` may be null: no statistics or
// density then) unless it carries a user text.
std::vector<std::string> LabelLines(const Measurement& m, const Scale& scale, const ImageHeader& header,
                                    const DecodedImage* image, const ViewState& view,
                                    const StatisticsOptions& options);

// UTF-16 text to the 8-bit text the drawing font shows (characters beyond ASCII become '?'),
// split into lines at LF (a CR is dropped).
std::vector<std::string> TextLines(const std::u16string& text);
std::u16string Utf16Of(const std::string& text);

}  // namespace ORN_engine
