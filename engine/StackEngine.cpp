#include "engine/StackEngine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/Overlay.h"
#include "engine/ReferenceLines.h"
#include "platform/windows/Messages.h"
#include "platform/windows/SharedSurface.h"
#include "platform/windows/Window.h"
#include "viewer/engine/EngineMessages.h"

namespace ORN_engine {

namespace msg = ORN_image::engine_msg;
using platform::LParam;
using platform::LResult;
using platform::WParam;

namespace {
LParam Fixed(double v) { return LParam(std::llround(v * msg::kFixedPoint)); }
}  // namespace

StackEngine::StackEngine(uint32_t ownPid, platform::WindowHandle panel, InputLists lists)
    : pid_(ownPid), panel_(panel), lists_(std::move(lists)) {}

StackEngine::~StackEngine() = default;

platform::WindowHandle StackEngine::Handle() const { return window_ ? window_->Handle() : 0; }

bool StackEngine::Start() {
  window_ = std::make_unique<platform::Window>(
      [this](uint32_t m, WParam w, LParam l) { return Procedure(m, w, l); },
      "StackEngineProcess" + std::to_string(int32_t(pid_)));
  headers_.resize(lists_.Images.size());
  Post(msg::kEngineWindow, WParam(window_->Handle()), 1);
  platform::SetTimer(window_->Handle(), kPanelWatchTimer, 500);
  platform::PostMessage(window_->Handle(), kReadNextHeader, 0, 0);
  return true;
}

void StackEngine::Post(uint32_t message, WParam wParam, LParam lParam) {
  platform::PostMessage(panel_, message, wParam, lParam);
}

// ---- Start-up: one header per message, so pause, resume and close are served between them.

void StackEngine::ReadNextHeader() {
  if (paused_ || ready_) return;
  if (headersRead_ < headers_.size()) {
    const size_t i = headersRead_;
    headers_[i] = ReadImageHeader(lists_.Images[i], i < lists_.Frames.size() ? lists_.Frames[i] : 0);
    ++headersRead_;
    Post(msg::kInitProgress, 0, LParam((uint32_t(headers_.size()) << 16) | uint32_t(headersRead_ & 0xFFFF)));
  }
  if (headersRead_ < headers_.size())
    platform::PostMessage(window_->Handle(), kReadNextHeader, 0, 0);
  else
    BecomeReady();
}

void StackEngine::BecomeReady() {
  ready_ = true;
  current_ = 0;
  shown_.resize(headers_.size());
  for (size_t i = 0; i < shown_.size(); ++i) shown_[i] = int(i);
  ReadPresentationStates();
  SetDefaultWindow();
  // The reports come before 0x805D: the window keeps them and acts on them when it is ready.
  Post(msg::kImageCount, 0, Count());
  Post(msg::kMatrix, 0, LParam(view_.MatrixColumns | (view_.MatrixRows << 16)));
  ReportZoom();
  ReportWindow();
  ReportImage();
  double fps = 0;
  if (!headers_.empty()) fps = headers_[0].FrameRate;
  cineFps_ = fps > 0 ? int(std::lround(fps)) : 10;
  // A stack without a rate of its own reports 0, so it is no automatic cine.
  Post(msg::kFrameRate, 0, fps > 0 ? cineFps_ : 0);
  // Spacing between the first two slices for linking by position; the slice thickness else.
  int flag = 0;
  double spacing = 0;
  if (headers_.size() >= 2 && headers_[0].HasPlane && headers_[1].HasPlane) {
    double d2 = 0;
    for (int k = 0; k < 3; ++k) d2 += std::pow(headers_[1].Position[k] - headers_[0].Position[k], 2);
    spacing = std::sqrt(d2);
    flag = 1;
  } else if (!headers_.empty()) {
    spacing = headers_[0].SliceThickness;
  }
  Post(msg::kPositionFactor, WParam(flag), Fixed(spacing));
  Post(msg::kReconstructionAvailable, 0, 0);
  // The list identifier is the engine's own: 1.
  Post(msg::kPresentationStatesAvailable, states_.empty() ? 0 : 1, states_.empty() ? 0 : 1);
  Post(msg::kBlendingAvailable, 0, 0);
  Post(msg::kEngineReady, 0, 0);
  SendModality();
  SendImagePlane();
  Draw();
  platform::PostMessage(window_->Handle(), kReadAhead, 0, 0);
}

// ---- Images

std::shared_ptr<DecodedImage> StackEngine::Image(int index) {
  if (index < 0 || index >= int(headers_.size())) return nullptr;
  auto found = cache_.find(index);
  if (found == cache_.end()) {
    std::string error;
    auto image = DecodeImage(headers_[size_t(index)], error);
    if (!image) {
      headers_[size_t(index)].Error = error;  // drawn as an empty cell from now on
      return nullptr;
    }
    found = cache_.emplace(index, std::move(image)).first;
  }
  recent_.remove(index);
  recent_.push_front(index);
  while (recent_.size() > kCacheImages) {
    cache_.erase(recent_.back());
    recent_.pop_back();
  }
  return found->second;
}

void StackEngine::SetDefaultWindow() {
  view_.WindowSet = false;
  if (Count() == 0) return;
  const ImageHeader& h = CurrentHeader();
  if (!h.WindowCentres.empty()) {
    view_.WindowSet = true;
    view_.Centre = h.WindowCentres[0];
    view_.Width = h.WindowWidths[0];
  } else if (h.VoiLut.Empty() && h.Grey()) {
    if (auto image = Image(Stack(current_))) {
      view_.WindowSet = true;
      FullRangeWindow(image->Minimum, image->Maximum, view_.Centre, view_.Width);
    }
  }
}

void StackEngine::GoTo(int index, bool report) {
  if (Count() == 0) return;
  index = std::clamp(index, 0, Count() - 1);
  if (index == current_) return;
  step_ = index > current_ ? 1 : -1;
  current_ = index;
  Draw();
  if (report) ReportImage();
  if (!cineRunning_) SendImagePlane();
  platform::PostMessage(window_->Handle(), kReadAhead, 0, 0);
}

double StackEngine::CurrentZoom() const {
  if (!view_.ZoomFits) return view_.Zoom;
  if (Count() == 0 || width_ <= 0) return 1.0;
  const ImageHeader& h = CurrentHeader();
  return MappingOf(width_ / view_.MatrixColumns, height_ / view_.MatrixRows, h.Columns, h.Rows, view_).Zoom;
}

void StackEngine::Resize(int width, int height) {
  if (width == width_ && height == height_ && surface_) return;
  surface_ = platform::SharedSurface::Create(panel_, width, height);
  width_ = surface_ ? width : 0;
  height_ = surface_ ? height : 0;
  if (ready_ && view_.ZoomFits) ReportZoom();
}

void StackEngine::Draw() {
  if (!surface_ || !ready_) return;
  surface_->BeginDraw();
  uint32_t* pixels = surface_->Pixels();
  const int cw = width_ / view_.MatrixColumns, ch = height_ / view_.MatrixRows;
  std::fill(pixels, pixels + size_t(width_) * height_, 0xFF000000u);
  const int first = FirstShown();
  for (int r = 0; r < view_.MatrixRows; ++r) {
    for (int c = 0; c < view_.MatrixColumns; ++c) {
      const int index = first + r * view_.MatrixColumns + c;
      Cell cell;
      std::shared_ptr<DecodedImage> image;
      if (index < Count()) {
        image = Image(Stack(index));
        cell.Header = &headers_[size_t(Stack(index))];
        cell.Image = image.get();
      }
      // With the zoom fitting, every cell fits its own image.
      DrawCell(pixels, width_, c * cw, r * ch, cw, ch, cell, view_);
      if (index < Count()) {
        DrawCellTools(pixels, width_, c * cw, r * ch, cw, ch, Stack(index), MappingFor(Stack(index)));
        if (lensShown_ && index == lensPosition_) {
          Lens lens;
          lens.X = lensX_;
          lens.Y = lensY_;
          lens.Size = lensSize_;
          lens.Circle = lensShape_ != 0;
          lens.Factor = magnifierZoom_ / 100.0;
          lens.Optimized = lensOptimized_;
          DrawLens(pixels, width_, c * cw, r * ch, cw, ch, cell, view_, lens);
        }
      }
    }
  }
  if (overlay_ && Count() > 0) {
    const ImageHeader& h = CurrentHeader();
    char zoom[32], window[64];
    std::snprintf(zoom, sizeof zoom, "ZOOM %.2f", CurrentZoom());
    double centre = view_.Centre, width = view_.Width;
    if (!view_.WindowSet) centre = width = 0;
    std::snprintf(window, sizeof window, "W %.0f C %.0f", width, centre);
    OverlayTexts texts;
    texts.TopLeft = h.PatientName;
    texts.TopRight = "IM " + std::to_string(current_ + 1) + "/" + std::to_string(Count());
    texts.BottomLeft = h.Grey() ? window : "";
    texts.BottomRight = zoom;
    DrawOverlay(pixels, width_, height_, texts);
  }
  surface_->EndDraw();
  Post(platform::kWmSurfaceChanged, WParam(surface_->Generation()), surface_->NoticeSize());
}

// ---- Reports

void StackEngine::ReportZoom() { Post(msg::kZoom, 0, Fixed(CurrentZoom())); }

void StackEngine::ReportWindow() {
  double centre = view_.Centre, width = view_.Width;
  if (!view_.WindowSet) {
    // A VOI LUT in effect: report the range it spans.
    const LookupTable* voiLut = view_.VoiLut != nullptr ? view_.VoiLut : Count() > 0 ? &CurrentHeader().VoiLut : nullptr;
    if (voiLut != nullptr && !voiLut->Empty()) {
      const LookupTable& lut = *voiLut;
      FullRangeWindow(lut.FirstMapped, lut.FirstMapped + double(lut.Entries.size()) - 1, centre, width);
    }
  }
  Post(msg::kWindowLevel, WParam(Fixed(width)), Fixed(centre));
}

void StackEngine::ReportPan() { Post(msg::kPan, WParam(LParam(std::lround(view_.PanY))), LParam(std::lround(view_.PanX))); }

void StackEngine::ReportImage() { Post(msg::kImageChanged, WParam(FirstShown()), current_); }

void StackEngine::SendModality() {
  std::string modality = Count() > 0 ? CurrentHeader().Modality : std::string();
  platform::CopyDataStruct record{msg::kModalityText, uint32_t(modality.size() + 1), modality.c_str()};
  platform::SendMessage(panel_, platform::kWmCopyData, WParam(window_->Handle()), LParam(&record));
}

void StackEngine::SendImagePlane() {
  if (Count() == 0) return;
  const ImageHeader& h = CurrentHeader();
  if (!h.HasPlane) return;
  msg::ImagePlaneRecord plane = PlaneRecordOf(h, Stack(current_));
  platform::CopyDataStruct record{msg::kImagePlane, uint32_t(sizeof plane), &plane};
  platform::SendMessage(panel_, platform::kWmCopyData, WParam(window_->Handle()), LParam(&record));
}

// ---- Cine

void StackEngine::StartCine(int fps, int direction, bool loop) {
  if (Count() == 0) return;
  cineFps_ = std::clamp(fps, 1, 1000);
  cineDirection_ = direction;
  cineLoop_ = loop;
  cineRunning_ = true;
  platform::SetTimer(window_->Handle(), kCineTimer, uint32_t(std::max(1, 1000 / cineFps_)));
  Post(msg::kCineStarted, 0, 0);
}

void StackEngine::StopCine() {
  const bool was = cineRunning_;
  cineRunning_ = false;
  platform::KillTimer(window_->Handle(), kCineTimer);
  if (was) {
    Post(msg::kCineStopped, 0, current_);
    SendImagePlane();
  }
}

void StackEngine::CineTick() {
  if (!cineRunning_) return;
  int next = current_ + (cineDirection_ == 0 ? 1 : -1);
  if (next >= Count() || next < 0) {
    if (!cineLoop_) {
      StopCine();
      return;
    }
    next = next < 0 ? Count() - 1 : 0;
  }
  GoTo(next, true);
}

// ---- Mouse tools: a left drag; the change is measured from where the drag began.

void StackEngine::MouseDown(int x, int y) {
  dragging_ = true;
  dragX_ = x;
  dragY_ = y;
  dragImage_ = current_;
  dragZoom_ = CurrentZoom();
  if (!view_.WindowSet) {
    SetDefaultWindow();
    if (!view_.WindowSet && Count() > 0) {
      if (auto image = Image(Stack(current_))) FullRangeWindow(image->Minimum, image->Maximum, view_.Centre, view_.Width);
      view_.WindowSet = true;
    }
  }
  dragCentre_ = view_.Centre;
  dragWidth_ = view_.Width;
  dragPanX_ = view_.PanX;
  dragPanY_ = view_.PanY;
  dragEdge_ = view_.EdgeStrength;
}

void StackEngine::MouseMove(int x, int y) {
  const int dx = x - dragX_, dy = y - dragY_;
  switch (tool_) {
    case msg::kToolZoom:
      view_.ZoomFits = false;
      view_.Zoom = std::clamp(dragZoom_ * std::exp(-dy / 200.0), 0.05, 40.0);
      Draw();
      ReportZoom();
      break;
    case msg::kToolVoi: {
      // One screen pixel moves the window by a 256th of the image's range.
      double step = 1;
      if (auto image = Image(Stack(current_))) step = std::max(1.0, (image->Maximum - image->Minimum) / 256.0);
      view_.WindowSet = true;
      view_.Width = std::max(1.0, dragWidth_ + dx * step);
      view_.Centre = dragCentre_ + dy * step;
      Draw();
      ReportWindow();
      break;
    }
    case msg::kToolPan:
      view_.PanX = dragPanX_ + dx;
      view_.PanY = dragPanY_ + dy;
      Draw();
      ReportPan();
      break;
    case msg::kToolNavigator:
      GoTo(dragImage_ + dy / 4, true);
      break;
    case msg::kToolEdgeEnhancement:
      // Right strengthens, left weakens: 40 pixels per step of 1.
      view_.EdgeStrength = std::clamp(dragEdge_ + dx / 40.0, 0.0, 5.0);
      Draw();
      break;
    default:
      break;
  }
}

// ---- Messages

void StackEngine::CopyData(WParam, const platform::CopyDataStruct& record) {
  switch (record.dwData) {
    case msg::kPalette:
      if (record.cbData == sizeof(msg::PaletteRecord) && record.lpData != nullptr) {
        const auto* p = static_cast<const msg::PaletteRecord*>(record.lpData);
        std::memcpy(view_.Palette[0], p->Red, 256);
        std::memcpy(view_.Palette[1], p->Green, 256);
        std::memcpy(view_.Palette[2], p->Blue, 256);
        havePalette_ = true;
        view_.PaletteOn = paletteWanted_;
      }
      break;
    case msg::kImagePlane: {
      // Image planes of the active frame: their reference lines are drawn over this stack's
      // images. Bytes past the last whole record are dropped; no record clears the lines.
      referencePlanes_.clear();
      const auto* b = static_cast<const uint8_t*>(record.lpData);
      for (size_t at = 0; b != nullptr && at + sizeof(msg::ImagePlaneRecord) <= record.cbData;
           at += sizeof(msg::ImagePlaneRecord)) {
        msg::ImagePlaneRecord plane;
        std::memcpy(&plane, b + at, sizeof plane);
        referencePlanes_.push_back(plane);
      }
      if (ready_) Draw();
      break;
    }
    case msg::kStatisticsSettings:
      if (record.cbData == sizeof(msg::StatisticsSettings) && record.lpData != nullptr) {
        msg::StatisticsSettings st;
        std::memcpy(&st, record.lpData, sizeof st);
        auto header = [](const char16_t* text, const char* fallback) {
          std::string out;
          for (size_t i = 0; i < 20 && text[i] != 0; ++i) out.push_back(text[i] < 0x80 ? char(text[i]) : '?');
          return out.empty() ? std::string(fallback) : out;
        };
        statistics_.Factor = st.Factor;
        statistics_.ShowMinimum = st.ShowMinimum != 0;
        statistics_.ShowMaximum = st.ShowMaximum != 0;
        statistics_.ShowMean = st.ShowMean != 0;
        statistics_.ShowDeviation = st.ShowDeviation != 0;
        statistics_.MinimumHeader = header(st.MinimumHeader, "min");
        statistics_.MaximumHeader = header(st.MaximumHeader, "max");
        statistics_.MeanHeader = header(st.MeanHeader, "mean");
        statistics_.DeviationHeader = header(st.DeviationHeader, "std.dev.");
        if (ready_) Draw();
      }
      break;
    case msg::kCalibration:
      if (record.cbData == sizeof(msg::CalibrationRecord) && record.lpData != nullptr) {
        msg::CalibrationRecord calibration;
        std::memcpy(&calibration, record.lpData, sizeof calibration);
        if (ready_) Calibrate(calibration);
      }
      break;
    case msg::kAnnotationText:
      if (ready_) ReceiveAnnotationText(record);
      break;
    default:
      // Print, export and reconstruction records are taken and not used: the tools they
      // serve are not in this engine.
      break;
  }
}

LResult StackEngine::Procedure(uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case platform::kWmClose:
      platform::PostQuitMessage(0);
      return 0;
    case platform::kWmTimer:
      if (wParam == kPanelWatchTimer && !platform::IsWindow(panel_)) platform::PostQuitMessage(0);
      if (wParam == kCineTimer) CineTick();
      return 0;
    case platform::kWmCopyData:
      if (lParam != 0) CopyData(wParam, *reinterpret_cast<const platform::CopyDataStruct*>(lParam));
      return 1;
    case kReadNextHeader:
      ReadNextHeader();
      return 0;
    case kReadAhead:
      // One image per message, so requests are served between them.
      for (int k = 1; k <= 2; ++k) {
        const int p = current_ + k * step_;
        const int i = p >= 0 && p < Count() ? Stack(p) : -1;
        if (i >= 0 && cache_.find(i) == cache_.end() && headers_[size_t(i)].Error.empty()) {
          Image(i);
          Image(Stack(current_));  // the shown image stays the most recent
          platform::PostMessage(window_->Handle(), kReadAhead, 0, 0);
          break;
        }
      }
      return 0;
    case msg::kPauseInitialisation:
      paused_ = true;
      return 0;
    case msg::kResumeInitialisation:
      if (paused_) {
        paused_ = false;
        if (!ready_) platform::PostMessage(window_->Handle(), kReadNextHeader, 0, 0);
      }
      return 0;
    case msg::kSize:
      Resize(int(wParam & 0xFFFF) + 1, int((wParam >> 16) & 0xFFFF) + 1);
      Draw();
      return 0;
    case msg::kIgnoredRecord:  // 0x8060: presets of the image; the engine keeps none of its own
      platform::PostMessage(platform::WindowHandle(wParam), msg::kPresetInEffect, 0, 0);
      return 0;
    default:
      break;
  }
  if (!ready_) return 0;  // requests before readiness find nothing to act on

  switch (message) {
    case msg::kPaint:
    case msg::kRedraw:
      Draw();
      break;
    case msg::kMatrix: {
      const int columns = std::clamp(int(lParam & 0xFFFF), 1, 16), rows = std::clamp(int((lParam >> 16) & 0xFFFF), 1, 16);
      view_.MatrixColumns = columns;
      view_.MatrixRows = rows;
      Draw();
      Post(msg::kMatrix, 0, LParam(columns | (rows << 16)));
      ReportZoom();
      ReportImage();
      break;
    }
    case msg::kZoom:
      if (lParam > 0) {
        view_.ZoomFits = false;
        view_.Zoom = std::clamp(double(lParam) / msg::kFixedPoint, 0.01, 100.0);
        Draw();
      }
      ReportZoom();
      break;
    case msg::kZoomToFit:
      view_.ZoomFits = true;
      view_.PanX = view_.PanY = 0;
      Draw();
      ReportZoom();
      ReportPan();
      break;
    case msg::kPan:
      view_.PanX += msg::PointX(lParam);
      view_.PanY += msg::PointY(lParam);
      Draw();
      ReportPan();
      break;
    case msg::kFlipHorizontal:
      view_.FlipHorizontal = !view_.FlipHorizontal;
      Draw();
      break;
    case msg::kFlipVertical:
      view_.FlipVertical = !view_.FlipVertical;
      Draw();
      break;
    case msg::kRotateRight:
    case msg::kRotateLeft:
      view_.Rotation = (view_.Rotation + (message == msg::kRotateRight ? 1 : 3)) & 3;
      Draw();
      if (view_.ZoomFits) ReportZoom();
      break;
    case msg::kInverse:
      view_.Inverse = lParam != 0;
      Draw();
      Post(msg::kInverse, 0, view_.Inverse ? 1 : 0);
      break;
    case msg::kFullRangeWindow:
      if (auto image = Image(Stack(current_)); image && !image->Colour) {
        view_.WindowSet = true;
        FullRangeWindow(image->Minimum, image->Maximum, view_.Centre, view_.Width);
        Draw();
      }
      ReportWindow();
      break;
    case msg::kWindowLevel:
      view_.WindowSet = true;
      view_.Centre = msg::WindowCentreOf(lParam);
      view_.Width = std::max(1, msg::WindowWidthOf(lParam));
      Draw();
      ReportWindow();
      break;
    case msg::kPaletteOnOff:
      // Without a palette received there is nothing to colour with: the picture stays grey.
      paletteWanted_ = lParam != 0;
      view_.PaletteOn = paletteWanted_ && havePalette_;
      break;
    case msg::kGoToImage:
      if (wParam == 1 || (lParam >= 0 && lParam < Count())) GoTo(int(std::clamp<LParam>(lParam, 0, std::max(0, Count() - 1))), true);
      break;
    case msg::kCineStarted:
      StartCine(int(lParam & 0xFFFF), int((lParam >> 16) & 0xFF), ((lParam >> 24) & 0xFF) != 0);
      break;
    case msg::kCineStopped:
      StopCine();
      break;
    case msg::kCineLoop:
      cineLoop_ = lParam != 0;
      break;
    case msg::kFrameRate:
      if (lParam > 0) {
        cineFps_ = std::clamp(int(lParam), 1, 1000);
        if (cineRunning_) platform::SetTimer(window_->Handle(), kCineTimer, uint32_t(std::max(1, 1000 / cineFps_)));
        Post(msg::kFrameRate, 0, cineFps_);
      }
      break;
    case msg::kMouseTool:
      tool_ = int(lParam);
      dragging_ = false;
      measuring_ = false;
      CancelDrawing();
      HideLens();
      break;
    case msg::kWmLButtonDown:
      if (measuring_) MeasureDown(msg::PointX(lParam), msg::PointY(lParam));
      else if (tool_ == msg::kToolMagnifier) ShowLens(msg::PointX(lParam), msg::PointY(lParam));
      else MouseDown(msg::PointX(lParam), msg::PointY(lParam));
      break;
    case msg::kWmMouseMove:
      if (measuring_) MeasureMove(msg::PointX(lParam), msg::PointY(lParam), (wParam & msg::kMkLButton) != 0);
      else if (lensShown_ && (wParam & msg::kMkLButton) != 0) ShowLens(msg::PointX(lParam), msg::PointY(lParam));
      else if (dragging_ && (wParam & msg::kMkLButton) != 0) MouseMove(msg::PointX(lParam), msg::PointY(lParam));
      break;
    case msg::kWmLButtonUp:
      if (measuring_) MeasureUp(msg::PointX(lParam), msg::PointY(lParam));
      HideLens();
      dragging_ = false;
      break;
    case msg::kWmLButtonDblClk:
      // A double click ends a polygon being drawn.
      if (measuring_ && drawing_ >= 0 && measurements_[size_t(drawing_)].Kind == kPolygon) FinishDrawing();
      break;
    case msg::kEndTool:
      HideLens();
      dragging_ = false;
      break;
    case msg::kMeasurementKind:
      if (IsMeasureKind(int(lParam))) {
        CancelDrawing();
        kind_ = int(lParam);
        measuring_ = true;
        HideLens();
      }
      break;
    case msg::kEraseAllMeasurements:
      EraseAll();
      break;
    case msg::kEraseSelectedMeasurement:
      EraseSelected();
      break;
    case msg::kMeasurementsVisible:
      measurementsVisible_ = lParam != 0;
      if (!measurementsVisible_) CancelDrawing();
      Draw();
      break;
    case msg::kCancelMeasurement:
      CancelDrawing();
      break;
    case msg::kMagnifierZoom:
      if (lParam >= 10 && lParam <= 10000) magnifierZoom_ = double(lParam);
      break;
    case msg::kMagnifierSize:
      if (lParam >= 16 && lParam <= 2048) lensSize_ = int(lParam);
      break;
    case msg::kMagnifierShape:
      lensShape_ = lParam != 0 ? 1 : 0;
      break;
    case msg::kMagnifierOptimized:
      lensOptimized_ = lParam != 0;
      break;
    case msg::kShowMarkedOnly:
      ShowMarkedOnly(true);
      break;
    case msg::kShowAll:
      ShowMarkedOnly(false);
      break;
    case msg::kToggleMark:
      ToggleMarkAt(msg::PointX(lParam), msg::PointY(lParam));
      break;
    case msg::kReleaseMarks:
      ReleaseMarks();
      break;
    case msg::kLockAtPoint:
      LockAt(msg::PointX(lParam), msg::PointY(lParam));
      break;
    case msg::kReleaseLocks:
      for (Measurement& m : measurements_) m.Locked = false;
      Draw();
      break;
    case msg::kKeyImageData:
      SendKeyImage(platform::WindowHandle(lParam), uint32_t(wParam));
      break;
    case msg::kKeyImageNotification:
      KeyImageNotification(int(wParam), msg::PointX(lParam), msg::PointY(lParam));
      break;
    case msg::kWmMouseWheel: {
      const auto delta = int16_t(uint16_t((wParam >> 16) & 0xFFFF));
      if (delta != 0) GoTo(current_ + (delta > 0 ? -1 : 1), true);
      break;
    }
    case msg::kResetTool:
      // wParam: the pending two-click tool (a polygon), ended by lParam 1; wParam 0: lParam
      // 1 turns the measurement tool on, 0 off (another tool follows with 0x8005).
      dragging_ = false;
      if (wParam != 0) {
        if (lParam != 0 && drawing_ >= 0) FinishDrawing();
      } else {
        CancelDrawing();
        measuring_ = lParam != 0;
        HideLens();
      }
      break;
    case msg::kLinkState: {
      // Reset: the view as it was at the start; the link state goes back to the panel.
      const int columns = view_.MatrixColumns, rows = view_.MatrixRows;
      bool paletteOn = view_.PaletteOn;
      uint8_t palette[3][256];
      std::memcpy(palette, view_.Palette, sizeof palette);
      view_ = ViewState{};
      if (activeState_ != 0) {
        activeState_ = 0;
        Post(msg::kPresentationStateApplied, 0, 0);
      }
      view_.MatrixColumns = columns;
      view_.MatrixRows = rows;
      view_.PaletteOn = paletteOn;
      std::memcpy(view_.Palette, palette, sizeof palette);
      SetDefaultWindow();
      Draw();
      ReportZoom();
      ReportWindow();
      ReportPan();
      Post(msg::kInverse, 0, 0);
      Post(msg::kLinkState, 0, LParam((uint32_t(lParam) & 0xFFFF0000u) | (uint32_t(lParam) & 1u)));
      break;
    }
    case msg::kPresentationStateList:
      SendPresentationStateList();
      break;
    case msg::kPresentationStateApplied:
      ApplyPresentationState(uint32_t(lParam));
      break;
    case msg::kInformationOverlay:
      overlay_ = lParam != 0;
      Draw();
      break;
    case msg::kRequestAnnotationText:
      SendAnnotationText(platform::WindowHandle(lParam));
      break;
    case msg::kImagePlane:  // this frame became active
      SendImagePlane();
      break;
    default:
      break;  // every other request: see engine/README.md
  }
  return 0;
}

}  // namespace ORN_engine
