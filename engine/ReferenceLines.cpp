#include "engine/ReferenceLines.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ORN_engine {

namespace msg = ORN_image::engine_msg;

namespace {
double Dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Keeps the part of t in [t0, t1] where lo <= base + slope * t <= hi.
bool Clip(double base, double slope, double lo, double hi, double& t0, double& t1) {
  if (std::abs(slope) < 1e-12) return base >= lo && base <= hi;
  double a = (lo - base) / slope, b = (hi - base) / slope;
  if (a > b) std::swap(a, b);
  t0 = std::max(t0, a);
  t1 = std::min(t1, b);
  return t0 <= t1;
}
}  // namespace

msg::ImagePlaneRecord PlaneRecordOf(const ImageHeader& h, int imageIndex) {
  msg::ImagePlaneRecord plane{};
  std::copy(h.Position, h.Position + 3, plane.Position);
  std::copy(h.Orientation, h.Orientation + 6, plane.Orientation);
  std::copy(h.Spacing, h.Spacing + 2, plane.Spacing);
  plane.Rows = h.Rows;
  plane.Columns = h.Columns;
  plane.ImageIndex = imageIndex;
  plane.FrameNumber = h.Frame;
  std::strncpy(plane.FrameOfReferenceUid, h.FrameOfReferenceUid.c_str(), sizeof plane.FrameOfReferenceUid - 1);
  std::strncpy(plane.SopInstanceUid, h.SopInstanceUid.c_str(), sizeof plane.SopInstanceUid - 1);
  std::strncpy(plane.Modality, h.Modality.c_str(), sizeof plane.Modality - 1);
  return plane;
}

bool ReferenceLine(const msg::ImagePlaneRecord& source, const ImageHeader& target, ImagePoint& a, ImagePoint& b) {
  if (!target.HasPlane || target.Columns <= 0 || target.Rows <= 0) return false;
  const std::string sourceFrame(source.FrameOfReferenceUid, strnlen(source.FrameOfReferenceUid, sizeof source.FrameOfReferenceUid));
  if (sourceFrame.empty() || sourceFrame != target.FrameOfReferenceUid) return false;
  if (source.Rows <= 0 || source.Columns <= 0 || !(source.Spacing[0] > 0) || !(source.Spacing[1] > 0)) return false;

  const double* sr = source.Orientation;      // along a source row
  const double* sc = source.Orientation + 3;  // down a source column
  const double n[3] = {sr[1] * sc[2] - sr[2] * sc[1], sr[2] * sc[0] - sr[0] * sc[2], sr[0] * sc[1] - sr[1] * sc[0]};
  const double* tr = target.Orientation;
  const double* tc = target.Orientation + 3;
  // A target image point (u, v) lies at P + tr * stepU * (u - 0.5) + tc * stepV * (v - 0.5).
  const double stepU = target.Spacing[1], stepV = target.Spacing[0];
  double d[3];
  for (int k = 0; k < 3; ++k) d[k] = target.Position[k] - source.Position[k];
  // Signed distance from the source plane: f(u, v) = fu * u + fv * v + f0.
  const double fu = Dot(n, tr) * stepU, fv = Dot(n, tc) * stepV;
  const double f0 = Dot(n, d) - 0.5 * fu - 0.5 * fv;
  const double norm = std::hypot(fu, fv);
  if (norm < 1e-9 * (stepU + stepV)) return false;  // parallel planes
  // The line f = 0: a point on it and its direction.
  const double pu = -f0 * fu / (norm * norm), pv = -f0 * fv / (norm * norm);
  const double du = -fv / norm, dv = fu / norm;
  double t0 = -1e9, t1 = 1e9;
  if (!Clip(pu, du, 0, target.Columns, t0, t1) || !Clip(pv, dv, 0, target.Rows, t0, t1)) return false;
  // Within the source image too: its image coordinates along the line are affine in t.
  auto sourceCoord = [&](const double* axis, double step, double& base, double& slope) {
    double p0[3], dir[3];
    for (int k = 0; k < 3; ++k) {
      p0[k] = d[k] + tr[k] * stepU * (pu - 0.5) + tc[k] * stepV * (pv - 0.5);
      dir[k] = tr[k] * stepU * du + tc[k] * stepV * dv;
    }
    base = Dot(axis, p0) / step + 0.5;
    slope = Dot(axis, dir) / step;
  };
  double bu = 0, su = 0, bv = 0, sv = 0;
  sourceCoord(sr, source.Spacing[1], bu, su);
  sourceCoord(sc, source.Spacing[0], bv, sv);
  if (!Clip(bu, su, 0, source.Columns, t0, t1) || !Clip(bv, sv, 0, source.Rows, t0, t1)) return false;
  a = {pu + t0 * du, pv + t0 * dv};
  b = {pu + t1 * du, pv + t1 * dv};
  return t1 > t0;
}

}  // namespace ORN_engine
