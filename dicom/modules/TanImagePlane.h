// The image plane of an image or a frame: pixel spacing, row and column direction cosines,
// position of the first pixel, slice thickness and location. All equalities are exact; the
// callers bring their own tolerances.
#pragma once

namespace ndl {

class iSLICE {
 public:
  virtual bool IsEmpty() const = 0;
  virtual double GetThickness() const = 0;
  virtual double GetLocation() const = 0;
  virtual bool Set(double thickness, double location) = 0;
  virtual bool Assign(const iSLICE& other) = 0;
  virtual bool IsEqual(const iSLICE& other) const = 0;
  virtual iSLICE& operator=(const iSLICE& other) = 0;
  virtual void Clear() = 0;
};

class i3D_POINT {
 public:
  virtual bool IsEmpty() const = 0;
  virtual double GetX() const = 0;
  virtual double GetY() const = 0;
  virtual double GetZ() const = 0;
  virtual bool Set(double x, double y, double z) = 0;
  virtual bool Assign(const i3D_POINT& other) = 0;
  virtual bool IsEqual(const i3D_POINT& other) const = 0;
  virtual i3D_POINT& operator=(const i3D_POINT& other) = 0;
  virtual void Clear() = 0;
};

class iIMAGE_ORIENTATION {
 public:
  iIMAGE_ORIENTATION(i3D_POINT& row, i3D_POINT& column) : RowDirection(row), ColumnDirection(column) {}
  iIMAGE_ORIENTATION(const iIMAGE_ORIENTATION&) = delete;
  virtual bool IsEmpty() const = 0;
  virtual bool Set(double rx, double ry, double rz, double cx, double cy, double cz) = 0;
  virtual bool Assign(const iIMAGE_ORIENTATION& other) = 0;
  virtual bool IsEqual(const iIMAGE_ORIENTATION& other) const = 0;
  virtual iIMAGE_ORIENTATION& operator=(const iIMAGE_ORIENTATION& other) = 0;
  virtual void Clear() = 0;
  virtual ~iIMAGE_ORIENTATION() = default;

  i3D_POINT& RowDirection;
  i3D_POINT& ColumnDirection;
};

class iPIXEL_SPACING {
 public:
  virtual bool IsEmpty() const = 0;
  virtual double GetRowSpacing() const = 0;
  virtual double GetColumnSpacing() const = 0;
  virtual bool Set(double row, double column) = 0;
  virtual bool Assign(const iPIXEL_SPACING& other) = 0;
  virtual bool IsEqual(const iPIXEL_SPACING& other) const = 0;
  virtual iPIXEL_SPACING& operator=(const iPIXEL_SPACING& other) = 0;
  virtual void Clear() = 0;
};

class iIMAGE_PLANE {
 public:
  iIMAGE_PLANE(iPIXEL_SPACING& spacing, iIMAGE_ORIENTATION& orientation, i3D_POINT& position, iSLICE& slice)
      : PixelSpacing(spacing), ImageOrientation(orientation), ImagePosition(position), Slice(slice) {}
  iIMAGE_PLANE(const iIMAGE_PLANE&) = delete;
  virtual bool IsEmpty() const = 0;
  virtual bool IsEqual(const iIMAGE_PLANE& other) const = 0;
  virtual iIMAGE_PLANE& Clear() = 0;
  virtual iIMAGE_PLANE& operator=(const iIMAGE_PLANE& other) = 0;
  virtual bool Assign(const iIMAGE_PLANE& other) = 0;
  // Row spacing, column spacing, row direction x y z, column direction x y z, position x y z,
  // slice thickness, slice location; true when the plane is not empty.
  virtual bool Set(double rowSpacing, double columnSpacing, double rx, double ry, double rz, double cx, double cy,
                   double cz, double px, double py, double pz, double thickness, double location) = 0;
  virtual ~iIMAGE_PLANE() = default;

  iPIXEL_SPACING& PixelSpacing;
  iIMAGE_ORIENTATION& ImageOrientation;
  i3D_POINT& ImagePosition;
  iSLICE& Slice;
};

}  // namespace ndl

namespace ndl_impl {

// Two values that are stored only when both are non-zero (slice and pixel spacing share it).
template <class I>
class TanValuePair : public I {
 public:
  TanValuePair() = default;
  TanValuePair(double a, double b) : FFirst(a), FSecond(b) {}
  TanValuePair(const TanValuePair&) = default;
  TanValuePair& operator=(const TanValuePair& other) {
    FFirst = other.FFirst;
    FSecond = other.FSecond;
    return *this;
  }
  bool IsEmpty() const override { return FFirst == 0.0 || FSecond == 0.0; }
  bool Set(double a, double b) override {
    if (a == 0.0 || b == 0.0) return false;
    FFirst = a;
    FSecond = b;
    return true;
  }
  bool Assign(const I& other) override {
    if (other.IsEmpty()) return false;
    operator=(other);
    return true;
  }
  bool IsEqual(const I& other) const override {
    const auto& o = static_cast<const TanValuePair&>(other);
    return FFirst == o.FFirst && FSecond == o.FSecond;
  }
  TanValuePair& operator=(const I& other) override {
    if (&other != this) operator=(static_cast<const TanValuePair&>(other));
    return *this;
  }
  void Clear() override { FFirst = FSecond = 0.0; }

 protected:
  double FFirst = 0.0;
  double FSecond = 0.0;
};

class TanSlice : public TanValuePair<ndl::iSLICE> {
 public:
  using TanValuePair::TanValuePair;
  using TanValuePair::operator=;
  double GetThickness() const override { return FFirst; }
  double GetLocation() const override { return FSecond; }
};

class TanPixelSpacing : public TanValuePair<ndl::iPIXEL_SPACING> {
 public:
  using TanValuePair::TanValuePair;
  using TanValuePair::operator=;
  double GetRowSpacing() const override { return FFirst; }
  double GetColumnSpacing() const override { return FSecond; }
};

class Tan3DPoint : public ndl::i3D_POINT {
 public:
  Tan3DPoint() = default;
  Tan3DPoint(double x, double y, double z) : FEmpty(0), FX(x), FY(y), FZ(z) {}
  Tan3DPoint(const Tan3DPoint&) = default;
  Tan3DPoint& operator=(const Tan3DPoint& other) { return operator=(static_cast<const ndl::i3D_POINT&>(other)); }
  bool IsEmpty() const override { return FEmpty != 0; }
  double GetX() const override { return FX; }
  double GetY() const override { return FY; }
  double GetZ() const override { return FZ; }
  bool Set(double x, double y, double z) override;
  bool Assign(const ndl::i3D_POINT& other) override;
  bool IsEqual(const ndl::i3D_POINT& other) const override;
  Tan3DPoint& operator=(const ndl::i3D_POINT& other) override;
  void Clear() override;

 private:
  unsigned char FEmpty = 1;
  double FX = 0.0, FY = 0.0, FZ = 0.0;
};

class TanImageOrientation : public ndl::iIMAGE_ORIENTATION {
 public:
  TanImageOrientation() : iIMAGE_ORIENTATION(FRowDirection, FColumnDirection) {}
  TanImageOrientation(const TanImageOrientation& other) : TanImageOrientation() { *this = other; }
  TanImageOrientation& operator=(const TanImageOrientation& other) {
    return operator=(static_cast<const ndl::iIMAGE_ORIENTATION&>(other));
  }
  bool IsEmpty() const override { return FRowDirection.IsEmpty() || FColumnDirection.IsEmpty(); }
  bool Set(double rx, double ry, double rz, double cx, double cy, double cz) override;
  bool Assign(const ndl::iIMAGE_ORIENTATION& other) override;
  bool IsEqual(const ndl::iIMAGE_ORIENTATION& other) const override;
  TanImageOrientation& operator=(const ndl::iIMAGE_ORIENTATION& other) override;
  void Clear() override;

 private:
  Tan3DPoint FRowDirection;
  Tan3DPoint FColumnDirection;
};

class TanImagePlane : public ndl::iIMAGE_PLANE {
 public:
  TanImagePlane();
  TanImagePlane(double rowSpacing, double columnSpacing, double rx, double ry, double rz, double cx, double cy,
                double cz, double px, double py, double pz, double thickness, double location);
  TanImagePlane(const TanImagePlane& other);
  TanImagePlane& operator=(const TanImagePlane& other) { return operator=(static_cast<const ndl::iIMAGE_PLANE&>(other)); }
  ~TanImagePlane() override = default;

  bool IsEmpty() const override;
  bool IsEqual(const ndl::iIMAGE_PLANE& other) const override;
  TanImagePlane& Clear() override;
  TanImagePlane& operator=(const ndl::iIMAGE_PLANE& other) override;
  bool Assign(const ndl::iIMAGE_PLANE& other) override;
  bool Set(double rowSpacing, double columnSpacing, double rx, double ry, double rz, double cx, double cy, double cz,
           double px, double py, double pz, double thickness, double location) override;

 private:
  TanPixelSpacing FPixelSpacing;
  TanImageOrientation FImageOrientation;
  Tan3DPoint FImagePosition;
  TanSlice FSlice;
};

}  // namespace ndl_impl

namespace ndl {

// Makes image planes on the heap; null when construction throws.
class TanImagePlaneFactory {
 public:
  iIMAGE_PLANE* CreateDefault() const;
  iIMAGE_PLANE* Create(double rowSpacing, double columnSpacing, double rx, double ry, double rz, double cx, double cy,
                       double cz, double px, double py, double pz, double thickness, double location) const;
  iIMAGE_PLANE* CreateCopy(const iIMAGE_PLANE& other) const;
};

}  // namespace ndl
