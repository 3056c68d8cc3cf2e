// Grayscale Softcopy Presentation States: what the engine reads of a state file (the images
// it references, its VOI, modality rescale, presentation LUT shape, spatial transformation,
// displayed area, graphic and text annotations) and where each part applies.
#pragma once

#include <string>
#include <vector>

#include "engine/Measurements.h"
#include "engine/StackImage.h"

namespace ORN_engine {

struct PsGraphic {
  enum Type { kPoint, kPolyline, kInterpolated, kCircle, kEllipse };
  Type Shape = kPolyline;
  bool Display = false;  // points in fractions of the displayed area, not image pixels
  std::vector<ImagePoint> Points;
};

struct PsText {
  std::string Text;
  bool HasBox = false, BoxDisplay = false;
  ImagePoint BoxTopLeft, BoxBottomRight;
  bool HasAnchor = false, AnchorDisplay = false, AnchorVisible = false;
  ImagePoint Anchor;
};

struct PsAnnotation {
  std::vector<std::string> Images;  // SOP Instance UIDs; empty: every image of the state
  std::vector<PsText> Texts;
  std::vector<PsGraphic> Graphics;
};

struct PsVoi {
  std::vector<std::string> Images;
  bool HasWindow = false;
  double Centre = 0, Width = 1;
  LookupTable Lut;
};

struct PsArea {
  std::vector<std::string> Images;
  double Left = 0, Top = 0, Right = 0, Bottom = 0;  // image coordinates, pixel edges
  std::string Mode;                                 // SCALE TO FIT, TRUE SIZE, MAGNIFY
  double Magnification = 1;
};

struct PresentationState {
  std::string Path, Label;
  std::vector<std::string> Images;  // every referenced SOP Instance UID
  std::vector<PsVoi> Vois;
  bool HasRescale = false;
  double Slope = 1, Intercept = 0;
  int Shape = -1;  // presentation LUT shape: -1 none, 0 IDENTITY, 1 INVERSE
  int Rotation = 0;  // quarter turns clockwise
  bool Flip = false;  // horizontal flip, applied before the rotation
  std::vector<PsArea> Areas;
  std::vector<PsAnnotation> Annotations;

  bool References(const std::string& sopInstanceUid) const;
  const PsVoi* VoiFor(const std::string& sopInstanceUid) const;
  const PsArea* AreaFor(const std::string& sopInstanceUid) const;
};

// Reads a state file; false with `error` set when it is no grayscale softcopy presentation
// state or cannot be read.
bool ReadPresentationState(const std::string& path, PresentationState& out, std::string& error);

}  // namespace ORN_engine
