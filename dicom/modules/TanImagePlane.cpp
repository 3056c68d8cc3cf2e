#include "dicom/modules/TanImagePlane.h"

namespace ndl_impl {

bool Tan3DPoint::Set(double x, double y, double z) {
  FX = x;
  FY = y;
  FZ = z;
  FEmpty = 0;
  return true;
}

bool Tan3DPoint::Assign(const ndl::i3D_POINT& other) {
  operator=(other);
  return !IsEmpty();
}

bool Tan3DPoint::IsEqual(const ndl::i3D_POINT& other) const {
  return IsEmpty() == other.IsEmpty() && FX == other.GetX() && FY == other.GetY() && FZ == other.GetZ();
}

Tan3DPoint& Tan3DPoint::operator=(const ndl::i3D_POINT& other) {
  if (&other != this) {
    FEmpty = other.IsEmpty() ? 1 : 0;
    FX = other.GetX();
    FY = other.GetY();
    FZ = other.GetZ();
  }
  return *this;
}

void Tan3DPoint::Clear() {
  FX = FY = FZ = 0.0;
  FEmpty = 1;
}

bool TanImageOrientation::Set(double rx, double ry, double rz, double cx, double cy, double cz) {
  FRowDirection.Set(rx, ry, rz);
  FColumnDirection.Set(cx, cy, cz);
  return true;
}

bool TanImageOrientation::Assign(const ndl::iIMAGE_ORIENTATION& other) {
  return FRowDirection.Assign(other.RowDirection) && FColumnDirection.Assign(other.ColumnDirection);
}

bool TanImageOrientation::IsEqual(const ndl::iIMAGE_ORIENTATION& other) const {
  return FRowDirection.IsEqual(other.RowDirection) && FColumnDirection.IsEqual(other.ColumnDirection);
}

TanImageOrientation& TanImageOrientation::operator=(const ndl::iIMAGE_ORIENTATION& other) {
  if (&other != this) {
    FRowDirection = other.RowDirection;
    FColumnDirection = other.ColumnDirection;
  }
  return *this;
}

void TanImageOrientation::Clear() {
  FRowDirection.Clear();
  FColumnDirection.Clear();
}

TanImagePlane::TanImagePlane() : iIMAGE_PLANE(FPixelSpacing, FImageOrientation, FImagePosition, FSlice) {}

TanImagePlane::TanImagePlane(double rowSpacing, double columnSpacing, double rx, double ry, double rz, double cx,
                             double cy, double cz, double px, double py, double pz, double thickness, double location)
    : iIMAGE_PLANE(FPixelSpacing, FImageOrientation, FImagePosition, FSlice),
      FPixelSpacing(rowSpacing, columnSpacing),
      FImagePosition(px, py, pz),
      FSlice(thickness, location) {
  FImageOrientation.Set(rx, ry, rz, cx, cy, cz);
}

TanImagePlane::TanImagePlane(const TanImagePlane& other) : TanImagePlane() { *this = other; }

bool TanImagePlane::IsEmpty() const {
  return FPixelSpacing.IsEmpty() || FImageOrientation.IsEmpty() || FImagePosition.IsEmpty();
}

bool TanImagePlane::IsEqual(const ndl::iIMAGE_PLANE& other) const {
  return FPixelSpacing.IsEqual(other.PixelSpacing) && FImageOrientation.IsEqual(other.ImageOrientation) &&
         FImagePosition.IsEqual(other.ImagePosition) && FSlice.IsEqual(other.Slice);
}

TanImagePlane& TanImagePlane::Clear() {
  FPixelSpacing.Clear();
  FImageOrientation.Clear();
  FImagePosition.Clear();
  FSlice.Clear();
  return *this;
}

TanImagePlane& TanImagePlane::operator=(const ndl::iIMAGE_PLANE& other) {
  if (&other != this) {
    FPixelSpacing = other.PixelSpacing;
    FImageOrientation = other.ImageOrientation;
    FImagePosition = other.ImagePosition;
    FSlice = other.Slice;
  }
  return *this;
}

bool TanImagePlane::Assign(const ndl::iIMAGE_PLANE& other) {
  operator=(other);
  return !IsEmpty();
}

bool TanImagePlane::Set(double rowSpacing, double columnSpacing, double rx, double ry, double rz, double cx, double cy,
                        double cz, double px, double py, double pz, double thickness, double location) {
  operator=(TanImagePlane(rowSpacing, columnSpacing, rx, ry, rz, cx, cy, cz, px, py, pz, thickness, location));
  return !IsEmpty();
}

}  // namespace ndl_impl

namespace ndl {

iIMAGE_PLANE* TanImagePlaneFactory::CreateDefault() const {
  try {
    return new ndl_impl::TanImagePlane();
  } catch (...) {
    return nullptr;
  }
}

iIMAGE_PLANE* TanImagePlaneFactory::Create(double rowSpacing, double columnSpacing, double rx, double ry, double rz,
                                           double cx, double cy, double cz, double px, double py, double pz,
                                           double thickness, double location) const {
  try {
    return new ndl_impl::TanImagePlane(rowSpacing, columnSpacing, rx, ry, rz, cx, cy, cz, px, py, pz, thickness,
                                       location);
  } catch (...) {
    return nullptr;
  }
}

iIMAGE_PLANE* TanImagePlaneFactory::CreateCopy(const iIMAGE_PLANE& other) const {
  try {
    auto* copy = new ndl_impl::TanImagePlane();
    *copy = other;
    return copy;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace ndl
