#include "engine/Measurements.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ORN_engine {

namespace {
constexpr double kPi = 3.14159265358979323846;

std::string Number(double v, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

double Degrees(double radians) { return radians * 180.0 / kPi; }
}  // namespace

bool IsMeasureKind(int kind) { return kind >= 0 && kind <= 10 && kind != 5; }

Scale ScaleOf(const ImageHeader& h, bool calibrated, const std::string& unit, double factor) {
  Scale s;
  if (h.HasSpacing) {
    s.StepU = h.Spacing[1];  // column spacing: the distance between neighbours in a row
    s.StepV = h.Spacing[0];  // row spacing
    s.Unit = "mm";
  } else if (h.HasImagerSpacing) {
    s.StepU = h.ImagerSpacing[1];
    s.StepV = h.ImagerSpacing[0];
    s.Unit = "mm";
    s.Imager = true;
  }
  if (calibrated && factor > 0) {
    s.Factor = factor;
    s.Unit = unit;
    s.Imager = false;
  }
  return s;
}

double Length(const Scale& s, ImagePoint a, ImagePoint b) {
  return std::hypot((b.U - a.U) * s.StepU, (b.V - a.V) * s.StepV) * s.Factor;
}

double Area(const Scale& s, const Measurement& m) {
  const double unit = s.StepU * s.StepV * s.Factor * s.Factor;
  if (m.Points.size() < 2) return 0;
  const ImagePoint a = m.Points[0], b = m.Points[1];
  if (m.Kind == kEllipse) return kPi * std::abs(b.U - a.U) / 2 * std::abs(b.V - a.V) / 2 * unit;
  if (m.Kind == kRectangle) return std::abs(b.U - a.U) * std::abs(b.V - a.V) * unit;
  if (m.Kind == kPolygon && m.Points.size() >= 3) {
    double twice = 0;
    for (size_t i = 0; i < m.Points.size(); ++i) {
      const ImagePoint p = m.Points[i], q = m.Points[(i + 1) % m.Points.size()];
      twice += p.U * q.V - q.U * p.V;
    }
    return std::abs(twice) / 2 * unit;
  }
  return 0;
}

double AngleAt(const Scale& s, ImagePoint a, ImagePoint vertex, ImagePoint c) {
  const double ax = (a.U - vertex.U) * s.StepU, ay = (a.V - vertex.V) * s.StepV;
  const double cx = (c.U - vertex.U) * s.StepU, cy = (c.V - vertex.V) * s.StepV;
  if ((ax == 0 && ay == 0) || (cx == 0 && cy == 0)) return 0;
  return Degrees(std::abs(std::atan2(ax * cy - ay * cx, ax * cx + ay * cy)));
}

double AngleBetween(const Scale& s, ImagePoint a0, ImagePoint a1, ImagePoint b0, ImagePoint b1) {
  const double ax = (a1.U - a0.U) * s.StepU, ay = (a1.V - a0.V) * s.StepV;
  const double bx = (b1.U - b0.U) * s.StepU, by = (b1.V - b0.V) * s.StepV;
  if ((ax == 0 && ay == 0) || (bx == 0 && by == 0)) return 0;
  const double angle = Degrees(std::abs(std::atan2(ax * by - ay * bx, ax * bx + ay * by)));
  return angle > 90 ? 180 - angle : angle;
}

bool InsideRegion(const Measurement& m, double u, double v) {
  if (m.Points.size() < 2) return false;
  const ImagePoint a = m.Points[0], b = m.Points[1];
  if (m.Kind == kRectangle)
    return u >= std::min(a.U, b.U) && u <= std::max(a.U, b.U) && v >= std::min(a.V, b.V) && v <= std::max(a.V, b.V);
  if (m.Kind == kEllipse) {
    const double rx = std::abs(b.U - a.U) / 2, ry = std::abs(b.V - a.V) / 2;
    if (rx <= 0 || ry <= 0) return false;
    const double x = (u - (a.U + b.U) / 2) / rx, y = (v - (a.V + b.V) / 2) / ry;
    return x * x + y * y <= 1.0;
  }
  if (m.Kind == kPolygon && m.Points.size() >= 3) {
    bool inside = false;
    for (size_t i = 0, j = m.Points.size() - 1; i < m.Points.size(); j = i++) {
      const ImagePoint p = m.Points[i], q = m.Points[j];
      if ((p.V > v) != (q.V > v) && u < (q.U - p.U) * (v - p.V) / (q.V - p.V) + p.U) inside = !inside;
    }
    return inside;
  }
  return false;
}

Statistics RegionStatistics(const Measurement& m, const ImageHeader& h, const DecodedImage& image,
                            const ViewState& view, double divisor) {
  Statistics s;
  if (image.Colour || image.Values.empty() || !IsRegionKind(m.Kind) || m.Points.size() < 2) return s;
  if (!(divisor > 0)) divisor = 1;
  double u0 = m.Points[0].U, u1 = u0, v0 = m.Points[0].V, v1 = v0;
  for (const ImagePoint& p : m.Points) {
    u0 = std::min(u0, p.U), u1 = std::max(u1, p.U);
    v0 = std::min(v0, p.V), v1 = std::max(v1, p.V);
  }
  const int i0 = std::max(0, int(std::floor(u0))), i1 = std::min(image.Columns - 1, int(std::ceil(u1)));
  const int j0 = std::max(0, int(std::floor(v0))), j1 = std::min(image.Rows - 1, int(std::ceil(v1)));
  std::vector<double> values;
  for (int j = j0; j <= j1; ++j)
    for (int i = i0; i <= i1; ++i)
      if (InsideRegion(m, i + 0.5, j + 0.5))
        values.push_back(ModalityValueOf(h, view, image.Values[size_t(j) * image.Columns + size_t(i)]) / divisor);
  if (values.empty()) return s;
  s.Count = values.size();
  s.Minimum = *std::min_element(values.begin(), values.end());
  s.Maximum = *std::max_element(values.begin(), values.end());
  double sum = 0;
  for (double x : values) sum += x;
  s.Mean = sum / double(values.size());
  double squares = 0;
  for (double x : values) squares += (x - s.Mean) * (x - s.Mean);
  s.Deviation = std::sqrt(squares / double(values.size()));
  return s;
}

double StatisticsDivisor(const ImageHeader& h, const StatisticsOptions& options) {
  if ((h.Modality == "PT" || h.Modality == "NM") && options.Factor > 0 && std::isfinite(options.Factor))
    return options.Factor;
  return 1.0;
}

std::vector<std::string> TextLines(const std::u16string& text) {
  std::vector<std::string> lines(1);
  for (char16_t c : text) {
    if (c == u'\r') continue;
    if (c == u'\n') {
      lines.emplace_back();
      continue;
    }
    lines.back().push_back(c < 0x80 ? char(c) : '?');
  }
  return lines;
}

std::u16string Utf16Of(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::vector<std::string> LabelLines(const Measurement& m, const Scale& scale, const ImageHeader& h,
                                    const DecodedImage* image, const ViewState& view,
                                    const StatisticsOptions& options) {
  if (IsTextKind(m.Kind) || m.UserText) return m.Text.empty() ? std::vector<std::string>{} : TextLines(m.Text);
  std::vector<std::string> lines;
  const std::string unit = scale.Unit + (scale.Imager ? " (imager)" : "");
  const auto& p = m.Points;
  switch (m.Kind) {
    case kDistance:
      if (p.size() >= 2) lines.push_back(Number(Length(scale, p[0], p[1]), 2) + " " + unit);
      break;
    case kAngle:
      if (p.size() >= 3) lines.push_back(Number(AngleAt(scale, p[0], p[1], p[2]), 1) + " deg");
      break;
    case kAngleBetweenLines:
      if (p.size() >= 4) lines.push_back(Number(AngleBetween(scale, p[0], p[1], p[2], p[3]), 1) + " deg");
      break;
    case kDensity:
      if (image != nullptr && !image->Colour && !p.empty()) {
        const int i = int(std::floor(p[0].U)), j = int(std::floor(p[0].V));
        if (i >= 0 && j >= 0 && i < image->Columns && j < image->Rows)
          lines.push_back(Number(ModalityValueOf(h, view, image->Values[size_t(j) * image->Columns + size_t(i)]) /
                                     StatisticsDivisor(h, options),
                                 2));
      }
      break;
    case kEllipse:
    case kRectangle:
    case kPolygon: {
      lines.push_back("area " + Number(Area(scale, m), 2) + " " + unit + "2");
      if (image == nullptr || image->Colour) break;
      const Statistics s = RegionStatistics(m, h, *image, view, StatisticsDivisor(h, options));
      if (s.Count == 0) break;
      if (options.ShowMinimum) lines.push_back(options.MinimumHeader + ": " + Number(s.Minimum, 2));
      if (options.ShowMaximum) lines.push_back(options.MaximumHeader + ": " + Number(s.Maximum, 2));
      if (options.ShowMean) lines.push_back(options.MeanHeader + ": " + Number(s.Mean, 2));
      if (options.ShowDeviation) lines.push_back(options.DeviationHeader + ": " + Number(s.Deviation, 2));
      break;
    }
    default:
      break;  // an arrow has no label
  }
  return lines;
}

}  // namespace ORN_engine
