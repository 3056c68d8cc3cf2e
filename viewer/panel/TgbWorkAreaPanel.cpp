#include "viewer/panel/TgbWorkAreaPanel.h"

#include <string>

#include "platform/windows/Messages.h"
#include "viewer/engine/EngineMessages.h"

namespace msg = ORN_image::engine_msg;
using platform::LParam;
using platform::LResult;
using platform::WParam;

namespace {
constexpr double kFixed = 0.0001;
int32_t Low(LParam v) { return int32_t(uint32_t(v) & 0xFFFF); }
int32_t High(LParam v) { return int32_t((uint32_t(v) >> 16) & 0xFFFF); }
}  // namespace

std::atomic<int32_t>& TgbWorkAreaPanel::WheelGuard() {
  static std::atomic<int32_t> guard{0};
  return guard;
}

TgbWorkAreaPanel::TgbWorkAreaPanel(TComponent* AOwner) : TSurfacePanel(AOwner) {
  SetAlign(alClient);
  SetColor(clBlack);
  Font.Color = clWhite;
  FontChanged();
  BevelOuter = bvNone;
  SetCaption(L"initializing");
  SetCursor(crHourGlass);
  Handle();  // the engine gets this handle on its command line
}

TgbWorkAreaPanel::~TgbWorkAreaPanel() = default;

void TgbWorkAreaPanel::PostSize() {
  const int w = Width() > 0 ? Width() : 1, h = Height() > 0 ? Height() : 1;
  platform::PostMessage(EngineWindow, msg::kSize, WParam(uint32_t(w - 1) & 0xFFFF) | (WParam(uint32_t(h - 1) & 0xFFFF) << 16), 0);
}

void TgbWorkAreaPanel::Wheel(WParam wParam, LParam lParam) {
  if (WheelGuard().exchange(1) != 0) return;  // a wheel turn is being handled: drop this one
  struct Clear {
    ~Clear() { WheelGuard().exchange(0); }
  } clear;
  const TPoint point{int16_t(Low(lParam)), int16_t(High(lParam))};
  const auto delta = int16_t(uint16_t(High(LParam(wParam))));
  const auto keys = uint16_t(Low(LParam(wParam)));
  if ((keys & msg::kMkControl) == 0 && OnWorkAreaWheel) OnWorkAreaWheel(this, delta > 0);
  platform::ProcessMessages();
  const TPoint topLeft = ClientToScreen(TPoint{0, 0});
  const bool inside = point.x >= topLeft.x && point.y >= topLeft.y && point.x < topLeft.x + Width() &&
                      point.y < topLeft.y + Height();
  if (inside)
    platform::PostMessage(EngineWindow, msg::kWmMouseWheel, wParam, lParam);
  else if (OnWheelOutside)
    OnWheelOutside(this, point, uint16_t(delta), keys);
}

LResult TgbWorkAreaPanel::PanelProc(uint32_t message, WParam wParam, LParam lParam) {
  const bool held[3] = {(wParam & msg::kMkLButton) != 0, (wParam & msg::kMkRButton) != 0,
                        (wParam & msg::kMkMButton) != 0};
  const bool popupAllowed = !held[0] && held[1] && held[2];
  // Before the message map.
  switch (message) {
    case msg::kWmLButtonDown:
      if (OnWorkAreaPopupAllowed) OnWorkAreaPopupAllowed(this, false);
      if (OnWorkAreaLeftDown) OnWorkAreaLeftDown(this, Low(lParam), High(lParam));
      break;
    case msg::kWmLButtonUp:
    case msg::kWmRButtonUp:
      if (held[2]) {
        platform::PostMessage(EngineWindow, msg::kWmMButtonUp, wParam, lParam);
        SetMouseCapture(false);
      }
      if (message == msg::kWmLButtonUp) {
        if (OnWorkAreaLeftUp) OnWorkAreaLeftUp(this);
      } else if (OnWorkAreaRightUp) {
        OnWorkAreaRightUp(this);
      }
      break;
    case msg::kWmRButtonDown:
      if (OnWorkAreaPopupAllowed) OnWorkAreaPopupAllowed(this, popupAllowed);
      if (OnWorkAreaRightDown) OnWorkAreaRightDown(this, Low(lParam), High(lParam));
      break;
    case msg::kWmMButtonDown:
      if (OnWorkAreaPopupAllowed) OnWorkAreaPopupAllowed(this, popupAllowed);
      SetMouseCapture(true);
      if (OnWorkAreaMiddleDown) OnWorkAreaMiddleDown(this, Low(lParam), High(lParam));
      platform::PostMessage(EngineWindow, msg::kWmMButtonDown, wParam, lParam);
      break;
    case msg::kWmMButtonUp:
      if (OnWorkAreaMiddleUp) OnWorkAreaMiddleUp(this);
      platform::PostMessage(EngineWindow, msg::kWmMButtonUp, wParam, lParam);
      SetMouseCapture(false);
      break;
    case msg::kWmMouseWheel:
      Wheel(wParam, lParam);
      break;
    default:
      break;
  }
  // The message map.
  Dispatch(message, wParam, lParam);
  // After it.
  switch (message) {
    case msg::kWmMouseMove:
    case msg::kWmLButtonDown:
    case msg::kWmLButtonUp:
    case msg::kWmRButtonDown:
    case msg::kWmRButtonUp:
      platform::PostMessage(EngineWindow, message, wParam, lParam);
      break;
    case msg::kWmSize:
      PostSize();
      break;
    case platform::kWmPaint:
      platform::PostMessage(EngineWindow, msg::kPaint, 0, 0);
      break;
    case platform::kWmCopyData:
      if (lParam != 0) CopyData(*reinterpret_cast<const platform::CopyDataStruct*>(lParam));
      break;
    default:
      break;
  }
  return 0;
}

void TgbWorkAreaPanel::CopyData(const platform::CopyDataStruct& record) {
  switch (record.dwData) {
    case msg::kPresentationStateList:
      if (OnPresentationStateList) OnPresentationStateList(this, record.lpData, record.cbData);
      break;
    case msg::kIgnoredRecord:
      if (FOnIgnoredRecord) FOnIgnoredRecord(this, record.lpData, record.cbData);
      break;
    case msg::kModalityText:
      // The text is read within the record: one without a NUL ends at its last byte.
      if (OnVoiPresets) {
        const std::string text = msg::TextWithin(record.lpData, record.cbData);
        OnVoiPresets(this, text.c_str());
      }
      break;
    case msg::kImagePlane:
      if (OnImagePlane) OnImagePlane(this, record.lpData, record.cbData);
      break;
    case msg::kKeyImageData:
      if (OnKeyImageData) OnKeyImageData(this, record.lpData, record.cbData);
      break;
    case msg::kMprProjection:
      if (OnMprProjection) OnMprProjection(this, record.lpData, record.cbData);
      break;
    default:
      break;
  }
}

bool TgbWorkAreaPanel::Dispatch(uint32_t message, WParam wParam, LParam lParam) {
  const auto l32 = int32_t(lParam), w32 = int32_t(LParam(wParam));
  switch (message) {
    case msg::kInitProgress:
      if (OnInitProgress) OnInitProgress(this, wParam, lParam);
      return true;
    case msg::kEngineWindow:
      if (lParam != 0) {
        SetCaption(L"");
        EngineWindow = platform::WindowHandle(wParam);
        if (OnEngineWindow) OnEngineWindow(this, EngineWindow);
        // The engine draws at the panel's size: tell it the size it has now.
        PostSize();
      } else {
        SetColor(clWhite);
        SetCaption(L"Pixtrane Initialization Error");
      }
      return true;
    case msg::kEngineReady:
      SetCaption(L"");
      SetCursor(crDefault);
      if (OnEngineReady) OnEngineReady(this);
      return true;
    case msg::kZoom:
      if (OnZoomChanged) OnZoomChanged(this, l32 * kFixed);
      return true;
    case msg::kWindowLevel:
      if (OnWindowLevelChanged) OnWindowLevelChanged(this, l32 * kFixed, w32 * kFixed);
      return true;
    case msg::kPan:
      if (OnPanChanged) OnPanChanged(this, double(l32), double(w32));
      return true;
    case msg::kImageChanged:
      if (OnImageChanged) OnImageChanged(this, w32, l32);
      return true;
    case msg::kImageCount:
      if (OnImageCount) OnImageCount(this, l32);
      return true;
    case msg::kMatrix:
      if (OnEngineMatrix) OnEngineMatrix(this, Low(lParam), High(lParam));
      return true;
    case msg::kReconstructionCursor:
      if (OnReconstructionCursor) OnReconstructionCursor(this, lParam != 0);
      return true;
    case msg::kMeasurementHover:
      if (OnMeasurementHover) OnMeasurementHover(this, lParam != 0);
      return true;
    case msg::kReconstructionAvailable:
      if (OnReconstructionAvailable) OnReconstructionAvailable(this, lParam != 0);
      return true;
    case msg::kPresentationStatesAvailable:
      if (OnPresentationStatesAvailable) OnPresentationStatesAvailable(this, lParam != 0);
      if (lParam != 0) platform::PostMessage(EngineWindow, msg::kPresentationStateList, 0, LParam(wParam));
      return true;
    case msg::kPresentationStateApplied:
      if (OnPresentationStateApplied) OnPresentationStateApplied(this, l32);
      return true;
    case msg::kCineStarted:
      if (OnCineStarted) OnCineStarted(this, l32);
      return true;
    case msg::kCineStopped:
      if (OnCineStopped) OnCineStopped(this, l32);
      return true;
    case msg::kFrameRate:
      if (OnFrameRate) OnFrameRate(this, l32);
      return true;
    case msg::kMeasurementDone:
      if (OnMeasurementDone) OnMeasurementDone(this, l32);
      return true;
    case msg::kMeasurementSelection:
      if (OnMeasurementSelection) OnMeasurementSelection(this, l32);
      return true;
    case msg::kMenuItemState:
      if (OnMenuItemState) OnMenuItemState(this, lParam != 0);
      return true;
    case msg::kTextAnnotation:
      if (OnTextAnnotation) OnTextAnnotation(this, lParam != 0, wParam != 0);
      return true;
    case msg::kBlendingAvailable:
      if (OnBlendingAvailable) OnBlendingAvailable(this, lParam != 0);
      return true;
    case msg::kPositionFactor:
      if (OnPositionFactor) OnPositionFactor(this, uint8_t(wParam & 0xFF), l32 * kFixed);
      return true;
    case msg::kPositionReport:
      if (OnPositionReport) OnPositionReport(this, l32, w32);
      return true;
    case msg::kKeyImageNotification:
      if (OnKeyImageNotification) OnKeyImageNotification(this, w32, l32);
      return true;
    case msg::kInverse:
      if (OnInverseChanged) OnInverseChanged(this, lParam != 0);
      return true;
    case msg::kLinkState:
      if (OnLinkStateChanged) OnLinkStateChanged(this, High(lParam), Low(lParam));
      return true;
    case msg::kReconstructionStep:
      if (OnReconstructionStep) OnReconstructionStep(this, l32 > 0);
      return true;
    case msg::kWmLButtonDblClk:
      if (OnWorkAreaDoubleClick) OnWorkAreaDoubleClick(this, wParam, lParam);
      return true;
    default:
      return false;
  }
}
