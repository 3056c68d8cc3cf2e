// The panel of a stack window on which the stack's rendering engine draws. It forwards its
// mouse input, size and repaints to the engine's window, turns the engine's messages and
// records into events of the stack window, and paints the engine's shared surface.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/vcl/SurfacePanel.h"
#include "platform/windows/WindowTypes.h"

class TgbWorkAreaPanel : public TSurfacePanel {
 public:
  using TBoolEvent = std::function<void(TObject* Sender, bool value)>;
  using TIntEvent = std::function<void(TObject* Sender, int32_t value)>;
  using TIntPairEvent = std::function<void(TObject* Sender, int32_t a, int32_t b)>;
  using TDoubleEvent = std::function<void(TObject* Sender, double value)>;
  using TDoublePairEvent = std::function<void(TObject* Sender, double a, double b)>;
  using TMessageEvent = std::function<void(TObject* Sender, platform::WParam wParam, platform::LParam lParam)>;
  using TRecordEvent = std::function<void(TObject* Sender, const void* data, uint32_t size)>;
  using TTextEvent = std::function<void(TObject* Sender, const char* text)>;
  using TPointEvent = std::function<void(TObject* Sender, int32_t x, int32_t y)>;
  using TWindowEvent = std::function<void(TObject* Sender, platform::WindowHandle window)>;
  using TPositionFactorEvent = std::function<void(TObject* Sender, uint8_t flag, double spacing)>;
  using TWheelOutsideEvent =
      std::function<void(TObject* Sender, const TPoint& point, uint16_t delta, uint16_t keys)>;

  explicit TgbWorkAreaPanel(TComponent* AOwner);
  ~TgbWorkAreaPanel() override;

  TMessageEvent OnInitProgress;
  TDoubleEvent OnZoomChanged;
  TDoublePairEvent OnWindowLevelChanged;  // centre, width
  TDoublePairEvent OnPanChanged;          // lParam, wParam
  TIntPairEvent OnImageChanged;           // first shown, current
  TBoolEvent OnReconstructionCursor;
  TWindowEvent OnEngineWindow;
  TIntPairEvent OnEngineMatrix;           // columns, rows
  TIntEvent OnImageCount;
  TBoolEvent OnMeasurementHover;
  TBoolEvent OnReconstructionAvailable;
  TNotifyEvent OnEngineReady;
  TBoolEvent OnPresentationStatesAvailable;
  TRecordEvent OnPresentationStateList;
  TIntEvent OnPresentationStateApplied;
  TRecordEvent FOnIgnoredRecord;  // WM_COPYDATA 0x8060: no owner fills it
  TIntEvent OnCineStopped;
  TIntEvent OnCineStarted;
  TIntEvent OnFrameRate;
  TIntEvent OnMeasurementDone;
  TBoolEvent OnMenuItemState;
  std::function<void(TObject* Sender, bool selected, bool openEditor)> OnTextAnnotation;
  TIntEvent OnMeasurementSelection;
  TBoolEvent OnBlendingAvailable;
  TTextEvent OnVoiPresets;
  TRecordEvent OnImagePlane;
  TPositionFactorEvent OnPositionFactor;
  TIntPairEvent OnPositionReport;         // lParam, wParam
  TRecordEvent OnKeyImageData;
  TRecordEvent OnMprProjection;
  TWheelOutsideEvent OnWheelOutside;
  TIntPairEvent OnKeyImageNotification;   // wParam, lParam
  TMessageEvent OnWorkAreaDoubleClick;
  TPointEvent OnWorkAreaLeftDown;
  TNotifyEvent OnWorkAreaLeftUp;
  TBoolEvent OnInverseChanged;
  TIntPairEvent OnLinkStateChanged;       // high word, low word
  TBoolEvent OnReconstructionStep;
  TPointEvent OnWorkAreaRightDown;
  TNotifyEvent OnWorkAreaRightUp;
  TPointEvent OnWorkAreaMiddleDown;
  TNotifyEvent OnWorkAreaMiddleUp;
  TBoolEvent OnWorkAreaWheel;             // true: turned away from the user (delta > 0)
  TBoolEvent OnWorkAreaPopupAllowed;

  platform::WindowHandle EngineWindow = 0;

  platform::LResult PanelProc(uint32_t message, platform::WParam wParam, platform::LParam lParam) override;

  // The process-wide wheel guard (set while a wheel message is handled).
  static std::atomic<int32_t>& WheelGuard();

 private:
  // The message map: engine messages to events; true when the message was one of them.
  bool Dispatch(uint32_t message, platform::WParam wParam, platform::LParam lParam);
  void CopyData(const platform::CopyDataStruct& record);
  void Wheel(platform::WParam wParam, platform::LParam lParam);
  void PostSize();
};
