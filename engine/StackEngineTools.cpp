// The engine's tools: measurements and annotations with their statistics, labels, editing
// and calibration; the magnifier; marks and locks; presentation states; reference lines;
// key images. The requests reach them from StackEngine::Procedure.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/ReferenceLines.h"
#include "engine/ScreenCapture.h"
#include "engine/StackEngine.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"

namespace ORN_engine {

namespace msg = ORN_image::engine_msg;
using platform::LParam;
using platform::WParam;

namespace {
constexpr uint32_t kMeasureColour = 0xFF00FF00u, kSelectedColour = 0xFFFF4040u, kLockedColour = 0xFF40C0FFu,
                   kReferenceColour = 0xFFFFFF00u, kMarkColour = 0xFFFF8000u, kStateColour = 0xFFFFFFFFu;
constexpr double kHandleReach = 5, kLineReach = 4, kShortestDrag = 3;
constexpr double kPi = 3.14159265358979323846;

std::string Ascii(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? char(c) : '?');
  return out;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
  return out;
}

// Points around an ellipse given by its centre and two half-axis vectors.
std::vector<ImagePoint> EllipsePoints(ImagePoint c, ImagePoint a, ImagePoint b) {
  std::vector<ImagePoint> out;
  for (int k = 0; k < 72; ++k) {
    const double t = 2 * kPi * k / 72;
    out.push_back({c.U + std::cos(t) * a.U + std::sin(t) * b.U, c.V + std::cos(t) * a.V + std::sin(t) * b.V});
  }
  return out;
}

// The outline of a measurement, in image points, and whether it closes.
std::vector<ImagePoint> Outline(const Measurement& m, bool& closed) {
  closed = false;
  const auto& p = m.Points;
  if (p.size() < 2) return p;
  if (m.Kind == kEllipse) {
    closed = true;
    return EllipsePoints({(p[0].U + p[1].U) / 2, (p[0].V + p[1].V) / 2}, {(p[1].U - p[0].U) / 2, 0},
                         {0, (p[1].V - p[0].V) / 2});
  }
  if (m.Kind == kRectangle) {
    closed = true;
    return {p[0], {p[1].U, p[0].V}, p[1], {p[0].U, p[1].V}};
  }
  return p;
}
}  // namespace

// ---- Cells

CellMapping StackEngine::MappingFor(int stackIndex) const {
  const ImageHeader& h = headers_[size_t(stackIndex)];
  return MappingOf(width_ / view_.MatrixColumns, height_ / view_.MatrixRows, h.Columns, h.Rows, view_);
}

bool StackEngine::CellAt(int x, int y, int& position, double& sx, double& sy) const {
  if (width_ <= 0 || height_ <= 0 || x < 0 || y < 0) return false;
  const int cw = width_ / view_.MatrixColumns, ch = height_ / view_.MatrixRows;
  if (cw <= 0 || ch <= 0) return false;
  const int c = x / cw, r = y / ch;
  if (c >= view_.MatrixColumns || r >= view_.MatrixRows) return false;
  position = FirstShown() + r * view_.MatrixColumns + c;
  if (position >= Count()) return false;
  sx = x - c * cw + 0.5;
  sy = y - r * ch + 0.5;
  return true;
}

void StackEngine::DrawCellTools(uint32_t* pixels, int stride, int left, int top, int width, int height,
                                int stackIndex, const CellMapping& m) {
  Canvas canvas(pixels, stride, left, top, width, height);
  const ImageHeader& h = headers_[size_t(stackIndex)];
  if (activeState_ > 0 && activeState_ <= states_.size()) DrawPresentationAnnotations(canvas, h, m);
  for (const msg::ImagePlaneRecord& plane : referencePlanes_) {
    if (h.SopInstanceUid == std::string(plane.SopInstanceUid, strnlen(plane.SopInstanceUid, sizeof plane.SopInstanceUid)) &&
        plane.FrameNumber == h.Frame)
      continue;  // the image itself
    ImagePoint a, b;
    if (!ReferenceLine(plane, h, a, b)) continue;
    ScreenPoint sa, sb;
    m.ToScreen(a.U, a.V, sa.X, sa.Y);
    m.ToScreen(b.U, b.V, sb.X, sb.Y);
    canvas.Line(sa, sb, kReferenceColour);
  }
  if (measurementsVisible_) {
    for (size_t i = 0; i < measurements_.size(); ++i) {
      const Measurement& measurement = measurements_[i];
      if (measurement.Image != stackIndex) continue;
      const bool selected = int(i) == selected_;
      const uint32_t colour = measurement.Locked ? kLockedColour : selected ? kSelectedColour : kMeasureColour;
      DrawMeasurement(canvas, measurement, m, colour, selected && !measurement.Locked);
    }
  }
  if (std::binary_search(marks_.begin(), marks_.end(), stackIndex)) canvas.CornerMark(kMarkColour);
}

void StackEngine::DrawMeasurement(Canvas& canvas, const Measurement& m, const CellMapping& mapping, uint32_t colour,
                                  bool handles) {
  auto screen = [&](ImagePoint p) {
    ScreenPoint s;
    mapping.ToScreen(p.U, p.V, s.X, s.Y);
    return s;
  };
  std::vector<ScreenPoint> points;
  for (const ImagePoint& p : m.Points) points.push_back(screen(p));
  if (points.empty()) return;
  const bool pending = &m == (drawing_ >= 0 ? &measurements_[size_t(drawing_)] : nullptr);
  switch (m.Kind) {
    case kDistance:
    case kAngle:
      canvas.Polyline(points, false, colour);
      break;
    case kAngleBetweenLines:
      canvas.Line(points[0], points[std::min<size_t>(1, points.size() - 1)], colour);
      if (points.size() >= 4) canvas.Line(points[2], points[3], colour);
      break;
    case kEllipse:
    case kRectangle:
    case kPolygon: {
      bool closed = false;
      std::vector<ScreenPoint> outline;
      for (const ImagePoint& p : Outline(m, closed)) outline.push_back(screen(p));
      canvas.Polyline(outline, m.Kind == kPolygon ? !pending : closed, colour);
      break;
    }
    case kDensity:
      canvas.Line({points[0].X - 4, points[0].Y}, {points[0].X + 4, points[0].Y}, colour);
      canvas.Line({points[0].X, points[0].Y - 4}, {points[0].X, points[0].Y + 4}, colour);
      break;
    case kArrow:
    case kCallout:
      if (points.size() >= 2) canvas.Arrow(points[1], points[0], colour);
      break;
    default:
      break;
  }
  if (handles)
    for (const ScreenPoint& p : points) canvas.Handle(p, colour);
  if (pending && m.Kind != kText) return;  // the label comes when it is done
  std::vector<std::string> lines = LabelOf(m);
  if (m.Kind == kText && lines.empty()) lines = {"..."};
  const ScreenPoint anchor = IsTextKind(m.Kind) ? points.back() : ScreenPoint{points.back().X + 8, points.back().Y + 4};
  canvas.Text(anchor, lines, colour);
}

// ---- Measurements

Scale StackEngine::ScaleFor(int stackIndex) const {
  return ScaleOf(headers_[size_t(stackIndex)], calibrated_, calibrationUnit_, calibrationFactor_);
}

std::vector<std::string> StackEngine::LabelOf(const Measurement& m) {
  std::shared_ptr<DecodedImage> image = Image(m.Image);
  return LabelLines(m, ScaleFor(m.Image), headers_[size_t(m.Image)], image.get(), view_, statistics_);
}

int StackEngine::HitTest(int x, int y, int& handle) const {
  handle = -1;
  int position = 0;
  double sx = 0, sy = 0;
  if (!measurementsVisible_ || !CellAt(x, y, position, sx, sy)) return -1;
  const int stackIndex = Stack(position);
  const CellMapping mapping = MappingFor(stackIndex);
  const ScreenPoint at{sx, sy};
  for (int i = int(measurements_.size()) - 1; i >= 0; --i) {
    const Measurement& m = measurements_[size_t(i)];
    if (m.Image != stackIndex || i == drawing_) continue;
    std::vector<ScreenPoint> points;
    for (const ImagePoint& p : m.Points) {
      ScreenPoint s;
      mapping.ToScreen(p.U, p.V, s.X, s.Y);
      points.push_back(s);
    }
    for (size_t k = 0; k < points.size(); ++k)
      if (std::hypot(points[k].X - at.X, points[k].Y - at.Y) <= kHandleReach) {
        handle = int(k);
        return i;
      }
    bool closed = false;
    std::vector<ScreenPoint> outline;
    for (const ImagePoint& p : Outline(m, closed)) {
      ScreenPoint s;
      mapping.ToScreen(p.U, p.V, s.X, s.Y);
      outline.push_back(s);
    }
    if (m.Kind == kPolygon) closed = true;
    if (m.Kind == kAngleBetweenLines && outline.size() >= 4) {
      if (SegmentDistance(at, outline[0], outline[1]) <= kLineReach || SegmentDistance(at, outline[2], outline[3]) <= kLineReach)
        return i;
      continue;
    }
    for (size_t k = 0; k + 1 < outline.size() + (closed ? 1 : 0); ++k)
      if (SegmentDistance(at, outline[k], outline[(k + 1) % outline.size()]) <= kLineReach) return i;
    if (IsTextKind(m.Kind)) {
      // The text's box.
      const std::vector<std::string> lines = TextLines(m.Text);
      size_t longest = 3;
      for (const auto& l : lines) longest = std::max(longest, l.size());
      const ScreenPoint t = points.back();
      if (at.X >= t.X && at.X <= t.X + 6.0 * double(longest) && at.Y >= t.Y && at.Y <= t.Y + 9.0 * double(lines.size()))
        return i;
    }
  }
  return -1;
}

bool StackEngine::MeasureDown(int x, int y) {
  int position = 0;
  double sx = 0, sy = 0;
  if (!CellAt(x, y, position, sx, sy)) return false;
  const int stackIndex = Stack(position);
  const CellMapping mapping = MappingFor(stackIndex);
  ImagePoint p;
  mapping.ToImage(sx, sy, p.U, p.V);
  pressed_ = true;
  grabX_ = x;
  grabY_ = y;
  if (drawing_ >= 0 && measurements_[size_t(drawing_)].Image != stackIndex) CancelDrawing();
  if (drawing_ >= 0) {
    Measurement& m = measurements_[size_t(drawing_)];
    if (m.Kind == kPolygon) {
      ScreenPoint first;
      mapping.ToScreen(m.Points[0].U, m.Points[0].V, first.X, first.Y);
      if (m.Points.size() >= 4 && std::hypot(first.X - sx, first.Y - sy) <= kHandleReach) {
        m.Points.back() = m.Points[0];  // a click on the first point closes the polygon
        FinishDrawing();
        return true;
      }
      m.Points.back() = p;
      m.Points.push_back(p);
    } else if (m.Kind == kAngle && stage_ == 2) {
      m.Points.back() = p;
      FinishDrawing();
      return true;
    } else if (m.Kind == kAngleBetweenLines && stage_ == 2) {
      m.Points.push_back(p);
      m.Points.push_back(p);
      stage_ = 3;
    }
    Draw();
    return true;
  }
  measurementsVisible_ = true;  // drawing shows the measurements again
  int handle = -1;
  const int hit = HitTest(x, y, handle);
  if (hit >= 0) {
    selected_ = hit;
    if (!measurements_[size_t(hit)].Locked) {
      grabbed_ = hit;
      grabbedHandle_ = handle;
      grabPoints_ = measurements_[size_t(hit)].Points;
    }
    ReportMeasurementState(false);
    Draw();
    return true;
  }
  Measurement m;
  m.Kind = kind_;
  m.Image = stackIndex;
  m.Points = {p};
  const bool single = m.Kind == kDensity || m.Kind == kText;
  if (!single) m.Points.push_back(p);
  measurements_.push_back(m);
  drawing_ = selected_ = int(measurements_.size()) - 1;
  stage_ = 1;
  if (single) FinishDrawing();
  else Draw();
  return true;
}

void StackEngine::MeasureMove(int x, int y, bool button) {
  if (grabbed_ >= 0) {
    if (!button) return;
    Measurement& m = measurements_[size_t(grabbed_)];
    const CellMapping mapping = MappingFor(m.Image);
    double u0 = 0, v0 = 0, u1 = 0, v1 = 0;
    mapping.ToImage(grabX_, grabY_, u0, v0);
    mapping.ToImage(x, y, u1, v1);
    for (size_t k = 0; k < m.Points.size() && k < grabPoints_.size(); ++k)
      if (grabbedHandle_ < 0 || int(k) == grabbedHandle_) m.Points[k] = {grabPoints_[k].U + u1 - u0, grabPoints_[k].V + v1 - v0};
    Draw();
    return;
  }
  if (drawing_ >= 0) {
    Measurement& m = measurements_[size_t(drawing_)];
    int position = 0;
    double sx = 0, sy = 0;
    if (!CellAt(x, y, position, sx, sy) || Stack(position) != m.Image) return;
    ImagePoint p;
    MappingFor(m.Image).ToImage(sx, sy, p.U, p.V);
    const bool rubber = m.Kind == kPolygon || (m.Kind == kAngle && stage_ == 2);
    if (rubber || (button && (stage_ == 1 || stage_ == 3))) {
      m.Points.back() = p;
      Draw();
    }
    return;
  }
  if (button) return;
  int handle = -1;
  const bool over = HitTest(x, y, handle) >= 0;
  if (over != hovering_) {
    hovering_ = over;
    Post(msg::kMeasurementHover, 0, over ? 1 : 0);
  }
}

void StackEngine::MeasureUp(int x, int y) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  if (grabbed_ >= 0) {
    grabbed_ = -1;
    ReportMeasurementState(false);
    Draw();
    return;
  }
  if (drawing_ < 0 || !wasPressed) return;
  Measurement& m = measurements_[size_t(drawing_)];
  const bool dragged = std::hypot(x - grabX_, y - grabY_) >= kShortestDrag;
  switch (m.Kind) {
    case kDistance:
    case kEllipse:
    case kRectangle:
    case kArrow:
    case kCallout:
      if (dragged) FinishDrawing();
      else CancelDrawing();  // a click draws nothing
      break;
    case kAngle:
      if (stage_ != 1) break;
      if (!dragged) {
        CancelDrawing();
        break;
      }
      m.Points.push_back(m.Points.back());  // the second arm follows the mouse
      stage_ = 2;
      Draw();
      break;
    case kAngleBetweenLines:
      if (stage_ == 1) {
        if (!dragged) CancelDrawing();
        else stage_ = 2;
      } else if (stage_ == 3) {
        if (dragged) {
          FinishDrawing();
        } else {
          m.Points.resize(2);  // the second line was a click: wait for a drag
          stage_ = 2;
          Draw();
        }
      }
      break;
    default:
      break;
  }
}

void StackEngine::FinishDrawing() {
  if (drawing_ < 0) return;
  Measurement& m = measurements_[size_t(drawing_)];
  const int index = drawing_;
  drawing_ = -1;
  stage_ = 0;
  if (m.Kind == kPolygon) {
    // Drop the point that followed the mouse and repeated points.
    if (m.Points.size() > 1) m.Points.pop_back();
    std::vector<ImagePoint> kept;
    for (const ImagePoint& p : m.Points)
      if (kept.empty() || std::hypot(p.U - kept.back().U, p.V - kept.back().V) > 1e-6) kept.push_back(p);
    if (kept.size() > 1 && std::hypot(kept.front().U - kept.back().U, kept.front().V - kept.back().V) <= 1e-6) kept.pop_back();
    m.Points = kept;
    if (m.Points.size() < 3) {
      RemoveMeasurement(index);
      ReportMeasurementState(false);
      Draw();
      return;
    }
  }
  selected_ = index;
  ReportMeasurementState(IsTextKind(m.Kind));
  Draw();
}

void StackEngine::CancelDrawing() {
  if (grabbed_ >= 0) {
    measurements_[size_t(grabbed_)].Points = grabPoints_;
    grabbed_ = -1;
    if (ready_) Draw();
  }
  if (drawing_ < 0) return;
  RemoveMeasurement(drawing_);
  drawing_ = -1;
  stage_ = 0;
  if (ready_) {
    ReportMeasurementState(false);
    Draw();
  }
}

void StackEngine::RemoveMeasurement(int index) {
  if (index < 0 || index >= int(measurements_.size())) return;
  measurements_.erase(measurements_.begin() + index);
  auto fix = [index](int& i) {
    if (i == index) i = -1;
    else if (i > index) --i;
  };
  fix(selected_);
  fix(drawing_);
  fix(editing_);
  fix(grabbed_);
}

void StackEngine::ReportMeasurementState(bool openEditor) {
  if (!ready_) return;
  const bool present = !measurements_.empty();
  const bool selected = selected_ >= 0 && selected_ != drawing_;
  bool calibratable = false;
  if (selected) {
    const Measurement& m = measurements_[size_t(selected_)];
    calibratable = m.Kind == kDistance && m.Points.size() >= 2 &&
                   Length(ScaleOf(headers_[size_t(m.Image)], false, "", 1), m.Points[0], m.Points[1]) > 0;
  }
  Post(msg::kMeasurementSelection, 0, present ? 1 : 0);
  Post(msg::kMeasurementDone, 0, selected ? 1 : 0);
  Post(msg::kMenuItemState, 0, calibratable ? 1 : 0);
  Post(msg::kTextAnnotation, openEditor && selected ? 1 : 0, selected ? 1 : 0);
}

void StackEngine::EraseSelected() {
  if (selected_ >= 0 && selected_ != drawing_ && !measurements_[size_t(selected_)].Locked) RemoveMeasurement(selected_);
  ReportMeasurementState(false);
  Draw();
}

void StackEngine::EraseAll() {
  CancelDrawing();
  for (int i = int(measurements_.size()) - 1; i >= 0; --i)
    if (!measurements_[size_t(i)].Locked) RemoveMeasurement(i);  // locked ones stay
  ReportMeasurementState(false);
  Draw();
}

void StackEngine::Calibrate(const msg::CalibrationRecord& record) {
  // The selected distance is `value` units long: lengths are given in that unit from now on.
  // A value of 0 or less returns to mm (or pixels).
  const double value = record.Value;
  if (!std::isfinite(value)) return;
  if (value <= 0) {
    calibrated_ = false;
  } else {
    if (selected_ < 0 || selected_ == drawing_) return;
    const Measurement& m = measurements_[size_t(selected_)];
    if (m.Kind != kDistance || m.Points.size() < 2) return;
    const double base = Length(ScaleOf(headers_[size_t(m.Image)], false, "", 1), m.Points[0], m.Points[1]);
    if (!(base > 0)) return;
    calibrated_ = true;
    calibrationFactor_ = value / base;
    calibrationUnit_ = Ascii(msg::WideTextWithin(record.Unit, sizeof record.Unit));
  }
  Draw();
}

void StackEngine::SendAnnotationText(platform::WindowHandle to) {
  std::u16string text;
  editing_ = selected_ != drawing_ ? selected_ : -1;
  if (editing_ >= 0) {
    const Measurement& m = measurements_[size_t(editing_)];
    text = IsTextKind(m.Kind) || m.UserText ? m.Text : Utf16Of(Joined(LabelOf(m)));
  }
  if (!platform::IsWindow(to)) return;
  // UTF-16LE without a terminator.
  std::vector<uint8_t> bytes(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = uint8_t(text[i] & 0xFF);
    bytes[2 * i + 1] = uint8_t(text[i] >> 8);
  }
  platform::CopyDataStruct record{msg::kAnnotationText, uint32_t(bytes.size()), bytes.empty() ? nullptr : bytes.data()};
  platform::SendMessage(to, platform::kWmCopyData, WParam(window_->Handle()), LParam(&record));
}

void StackEngine::ReceiveAnnotationText(const platform::CopyDataStruct& record) {
  const int target = editing_ >= 0 ? editing_ : selected_;
  editing_ = -1;
  if (target < 0 || target == drawing_ || measurements_[size_t(target)].Locked) return;
  const std::u16string text = msg::WideTextWithin(record.lpData, record.cbData);
  Measurement& m = measurements_[size_t(target)];
  if (IsTextKind(m.Kind)) {
    m.Text = text;  // an empty text: the stack window erases the annotation next
  } else {
    // The computed label given back unchanged (or emptied) keeps the label computed.
    std::u16string plain;
    for (char16_t c : text)
      if (c != u'\r') plain.push_back(c);
    m.UserText = false;
    m.Text.clear();
    std::string computed;
    for (const std::string& line : LabelOf(m)) computed += (computed.empty() ? "" : "\n") + line;
    if (!plain.empty() && plain != Utf16Of(computed)) {
      m.UserText = true;
      m.Text = text;
    }
  }
  Draw();
}

void StackEngine::LockAt(int x, int y) {
  int handle = -1;
  const int hit = HitTest(x, y, handle);
  if (hit >= 0) {
    measurements_[size_t(hit)].Locked = true;
    if (grabbed_ == hit) grabbed_ = -1;
  }
  Draw();
}

// ---- Magnifier

void StackEngine::ShowLens(int x, int y) {
  int position = 0;
  double sx = 0, sy = 0;
  if (!CellAt(x, y, position, sx, sy)) return;
  lensShown_ = true;
  lensPosition_ = position;
  lensX_ = int(sx);
  lensY_ = int(sy);
  Draw();
}

void StackEngine::HideLens() {
  if (!lensShown_) return;
  lensShown_ = false;
  if (ready_) Draw();
}

// ---- Marks

void StackEngine::ToggleMarkAt(int x, int y) {
  int position = 0;
  double sx = 0, sy = 0;
  if (!CellAt(x, y, position, sx, sy)) return;
  const int index = Stack(position);
  auto at = std::lower_bound(marks_.begin(), marks_.end(), index);
  if (at != marks_.end() && *at == index) marks_.erase(at);
  else marks_.insert(at, index);
  if (marksOnly_) {
    // An image unmarked while only marked ones are shown leaves the view.
    if (marks_.empty()) {
      ShowMarkedOnly(false);
      return;
    }
    shown_ = marks_;
    current_ = std::min(current_, Count() - 1);
    Post(msg::kImageCount, 0, Count());
    ReportImage();
    SendImagePlane();
  }
  Draw();
}

void StackEngine::ShowMarkedOnly(bool only) {
  if (only && marks_.empty()) return;  // nothing marked: every image stays shown
  if (only == marksOnly_ && (!only || shown_ == marks_)) return;
  const int image = Stack(current_);
  marksOnly_ = only;
  if (only) {
    shown_ = marks_;
  } else {
    shown_.resize(headers_.size());
    for (size_t i = 0; i < shown_.size(); ++i) shown_[i] = int(i);
  }
  const auto found = std::lower_bound(shown_.begin(), shown_.end(), image);
  current_ = found != shown_.end() ? int(found - shown_.begin()) : Count() - 1;
  Post(msg::kImageCount, 0, Count());
  ReportImage();
  SendImagePlane();
  Draw();
}

void StackEngine::ReleaseMarks() {
  if (marksOnly_) {
    marks_.clear();
    marksOnly_ = true;  // makes the switch below report the whole stack again
    ShowMarkedOnly(false);
    return;
  }
  marks_.clear();
  Draw();
}

void StackEngine::KeyImageNotification(int kind, int x, int y) {
  int position = 0;
  double sx = 0, sy = 0;
  if ((kind != 1 && kind != 2) || !CellAt(x, y, position, sx, sy)) return;
  if (kind == 2) GoTo(position, true);
  Post(msg::kKeyImageNotification, WParam(kind), Stack(position));
}

// ---- Presentation states

void StackEngine::ReadPresentationStates() {
  states_.clear();
  for (const std::string& path : lists_.PresentationStates) {
    PresentationState ps;
    std::string error;
    if (!ReadPresentationState(path, ps, error)) continue;  // unreadable or no state: not listed
    const bool ours = std::any_of(headers_.begin(), headers_.end(),
                                  [&](const ImageHeader& h) { return !h.SopInstanceUid.empty() && ps.References(h.SopInstanceUid); });
    if (ours) states_.push_back(std::move(ps));
  }
}

void StackEngine::SendPresentationStateList() {
  // Names ended by LF; the first, "DEFAULT", stands for the original display (index 0).
  std::string list;
  if (!states_.empty()) {
    list = "DEFAULT\n";
    for (const PresentationState& ps : states_) {
      std::string name;
      for (char c : ps.Label)
        if (c != '\n' && c != '\r' && c != '\0') name.push_back(c);
      list += name + "\n";
    }
  }
  platform::CopyDataStruct record{msg::kPresentationStateList, uint32_t(list.size()), list.empty() ? nullptr : list.data()};
  platform::SendMessage(panel_, platform::kWmCopyData, WParam(window_->Handle()), LParam(&record));
}

void StackEngine::ApplyPresentationState(uint32_t index) {
  if (index == 0xFFFFFFFFu) index = lastState_ != 0 ? lastState_ : (states_.empty() ? 0 : 1);
  if (index > states_.size()) {
    Post(msg::kPresentationStateApplied, 0, LParam(activeState_));  // not applied: what is shown stays
    return;
  }
  if (activeState_ == 0) originalView_ = view_;
  ViewState v = originalView_;
  v.MatrixColumns = view_.MatrixColumns;
  v.MatrixRows = view_.MatrixRows;
  v.PaletteOn = view_.PaletteOn;
  std::memcpy(v.Palette, view_.Palette, sizeof v.Palette);
  if (index > 0) {
    const PresentationState& ps = states_[index - 1];
    const std::string& sop = CurrentHeader().SopInstanceUid;
    // The state flips before it turns; the view turns before it flips.
    v.FlipHorizontal = ps.Flip;
    v.FlipVertical = false;
    v.Rotation = ps.Flip ? (4 - ps.Rotation) & 3 : ps.Rotation;
    if (const PsVoi* voi = ps.VoiFor(sop)) {
      if (voi->HasWindow) {
        v.WindowSet = true;
        v.Centre = voi->Centre;
        v.Width = voi->Width;
        v.VoiLut = nullptr;
      } else {
        v.WindowSet = false;
        v.VoiLut = &voi->Lut;
      }
    }
    v.RescaleSet = ps.HasRescale;
    v.Slope = ps.Slope;
    v.Intercept = ps.Intercept;
    v.PresentationShape = ps.Shape;
    v.PanX = v.PanY = 0;
    v.AreaSet = false;
    v.ZoomFits = true;
    if (const PsArea* area = ps.AreaFor(sop)) {
      v.AreaSet = true;
      v.AreaLeft = area->Left;
      v.AreaTop = area->Top;
      v.AreaRight = area->Right;
      v.AreaBottom = area->Bottom;
      if (area->Mode == "MAGNIFY") {
        v.ZoomFits = false;
        v.Zoom = area->Magnification;
      }
    }
    lastState_ = index;
  }
  view_ = v;
  activeState_ = index;
  Draw();
  ReportZoom();
  ReportWindow();
  ReportPan();
  Post(msg::kPresentationStateApplied, 0, LParam(index));
}

void StackEngine::DrawPresentationAnnotations(Canvas& canvas, const ImageHeader& h, const CellMapping& m) {
  const PresentationState& ps = states_[activeState_ - 1];
  if (!ps.References(h.SopInstanceUid)) return;
  // Display units: fractions of the displayed area as it lies on the screen.
  double left = 0, top = 0, right = h.Columns, bottom = h.Rows;
  if (const PsArea* area = ps.AreaFor(h.SopInstanceUid)) left = area->Left, top = area->Top, right = area->Right, bottom = area->Bottom;
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (const ImagePoint& c : {ImagePoint{left, top}, ImagePoint{right, top}, ImagePoint{left, bottom}, ImagePoint{right, bottom}}) {
    double sx = 0, sy = 0;
    m.ToScreen(c.U, c.V, sx, sy);
    x0 = std::min(x0, sx), x1 = std::max(x1, sx), y0 = std::min(y0, sy), y1 = std::max(y1, sy);
  }
  auto screen = [&](ImagePoint p, bool display) {
    ScreenPoint s;
    if (display) s = {x0 + p.U * (x1 - x0), y0 + p.V * (y1 - y0)};
    else m.ToScreen(p.U, p.V, s.X, s.Y);
    return s;
  };
  for (const PsAnnotation& a : ps.Annotations) {
    if (!a.Images.empty() && std::find(a.Images.begin(), a.Images.end(), h.SopInstanceUid) == a.Images.end()) continue;
    for (const PsGraphic& g : a.Graphics) {
      std::vector<ImagePoint> points = g.Points;
      bool closed = false;
      if (g.Shape == PsGraphic::kCircle) {
        const ImagePoint c = points[0];
        const double r = std::hypot(points[1].U - c.U, points[1].V - c.V);
        points = EllipsePoints(c, {r, 0}, {0, r});
        closed = true;
      } else if (g.Shape == PsGraphic::kEllipse) {
        const ImagePoint c{(points[0].U + points[1].U) / 2, (points[0].V + points[1].V) / 2};
        points = EllipsePoints(c, {(points[1].U - points[0].U) / 2, (points[1].V - points[0].V) / 2},
                               {(points[3].U - points[2].U) / 2, (points[3].V - points[2].V) / 2});
        closed = true;
      }
      std::vector<ScreenPoint> s;
      for (const ImagePoint& p : points) s.push_back(screen(p, g.Display));
      if (g.Shape == PsGraphic::kPoint) {
        for (const ScreenPoint& p : s) {
          canvas.Line({p.X - 3, p.Y}, {p.X + 3, p.Y}, kStateColour);
          canvas.Line({p.X, p.Y - 3}, {p.X, p.Y + 3}, kStateColour);
        }
      } else {
        canvas.Polyline(s, closed, kStateColour);
      }
    }
    for (const PsText& t : a.Texts) {
      const std::vector<std::string> lines = TextLines(Utf16Of(t.Text));
      if (t.HasBox) {
        const ScreenPoint tl = screen(t.BoxTopLeft, t.BoxDisplay), br = screen(t.BoxBottomRight, t.BoxDisplay);
        const ScreenPoint corner{std::min(tl.X, br.X), std::min(tl.Y, br.Y)};
        canvas.Text(corner, lines, kStateColour);
        if (t.HasAnchor && t.AnchorVisible) canvas.Line(corner, screen(t.Anchor, t.AnchorDisplay), kStateColour);
      } else {
        const ScreenPoint anchor = screen(t.Anchor, t.AnchorDisplay);
        canvas.Text({anchor.X + 4, anchor.Y + 4}, lines, kStateColour);
        if (t.AnchorVisible) canvas.Handle(anchor, kStateColour);
      }
    }
  }
}

// ---- Key images

void StackEngine::SendKeyImage(platform::WindowHandle panel, uint32_t request) {
  if (Count() == 0 || !platform::IsWindow(panel)) return;
  // The request's halves give the picture's width (low) and height (high).
  int width = int(request & 0xFFFF), height = int(request >> 16);
  if (width <= 0 || height <= 0) width = height = 512;
  width = std::clamp(width, 16, 2048);
  height = std::clamp(height, 16, 2048);
  const int index = Stack(current_);
  const ImageHeader& h = headers_[size_t(index)];
  std::shared_ptr<DecodedImage> image = Image(index);
  std::vector<uint32_t> picture(size_t(width) * height, 0xFF000000u);
  Cell cell;
  cell.Header = &h;
  cell.Image = image.get();
  ViewState v = view_;
  v.ZoomFits = true;
  v.PanX = v.PanY = 0;
  DrawCell(picture.data(), width, 0, 0, width, height, cell, v);
  const CellMapping mapping = MappingOf(width, height, h.Columns, h.Rows, v);
  const ViewState kept = view_;
  view_ = v;
  DrawCellTools(picture.data(), width, 0, 0, width, height, index, mapping);
  view_ = kept;
  const bool turned = (v.Rotation & 1) != 0;
  double columnSpacing = 0, rowSpacing = 0;
  if (h.HasSpacing) {
    columnSpacing = (turned ? h.Spacing[0] : h.Spacing[1]) / mapping.Zoom;
    rowSpacing = (turned ? h.Spacing[1] : h.Spacing[0]) / mapping.Zoom;
  }
  const std::vector<uint8_t> block =
      ScreenCaptureBlock(picture.data(), width, height, columnSpacing, rowSpacing, {{h.SopClassUid, h.SopInstanceUid, h.Frame}});
  platform::CopyDataStruct record{msg::kKeyImageData, uint32_t(block.size()), block.data()};
  platform::SendMessage(panel, platform::kWmCopyData, WParam(window_->Handle()), LParam(&record));
}

}  // namespace ORN_engine
