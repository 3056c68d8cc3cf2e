// What the frame does with each notification of its engine, and with the work-area mouse.
#include <cmath>
#include <memory>
#include <stdexcept>

#include "platform/windows/Messages.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

namespace msg = ORN_image::engine_msg;

void TFrameStackWindow::OnEngineReady() {
  try {
    if (FActive && FEngineWindow != 0) Post(msg::kImagePlane, 0, FWorkArea->Handle());
    if (tbLink->Down()) tbLinkClick(nullptr);
    if (!tbPS->Visible()) {
      ApplyInverse(FInverseAtStart);
      if (FZoomPercent < 1)
        Post(msg::kZoomToFit, 0, 0);
      else
        Post(msg::kZoom, 0, platform::LParam(FZoomPercent) * 100);
    }
    // Palette colour presets and the DICOM info panel come with the commands that are not
    // built yet; a frame starts grey and without the tag panel.
    if (FImageCount == 1) {
      tbNavigator->SetEnabled(false);
      tbNavigator->SetVisible(false);
    } else {
      pnlNavigator->SetVisible(FNavigatorShown);
    }
    PostToMain(stack_msg::kToolSwitch, platform::WParam(Handle()), tool_code::kNone);
    if (KeyImageTile) {
      FColumns = FRows = 1;
      tbMatrix->SetDown(FImageCount > 1);
      while (FColumns * FRows < FImageCount) {
        if (FColumns == FRows)
          ++FColumns;
        else
          ++FRows;
      }
      ApplyInverse(tbInverse->Down());
      FPaletteIndex = -1;
      PostToMain(stack_msg::kToolSwitch, platform::WParam(Handle()), tool_code::kPalette);
      Post(msg::kMatrix, 0, platform::LParam(FColumns) | (platform::LParam(FRows) << 16));
    }
    if (FAutoCine && FAutoCinemator) {
      FCinePaused = false;
      tbForward->SetDown(true);
      tbForwardClick(tbForward);
    }
    SendStatistics();
    FEngineReady = true;
    FEngineFailed = false;
    pnlServicesNavigatorServices->SetEnabled(true);
    FWorkArea->PopupMenu = pmWorkareaPopup;
  } catch (const std::exception&) {
    FEngineFailed = true;
    FEngineReady = false;
  }
}

void TFrameStackWindow::WorkAreaWindowLevelChanged(double centre, double width) {
  const bool source = FEngineReady && LinkDown() && OnLinkedVoi && FLinkOptions.LinkByVoi();
  if (!source) {
    FLinkedCentre = centre;
    FLinkedWidth = width;
  } else if (FActive && On(tbVOI) && FWindowKnown && !tbMPR->Down()) {
    const double dc = centre - FLinkedCentre, dw = width - FLinkedWidth;
    FLinkedCentre = centre;
    FLinkedWidth = width;
    OnLinkedVoi(this, dc, dw);
  }
  FCentre = centre;
  FWidth = width;
  FWindowKnown = true;
}

void TFrameStackWindow::WorkAreaPanChanged(double x, double y) {
  const bool source = FEngineReady && LinkDown() && OnLinkedPan && FLinkOptions.LinkByPan();
  if (!source) {
    FLinkedPanX = x;
    FLinkedPanY = y;
  } else if (FActive && On(tbPan) && FPanKnown) {
    const double dx = x - FLinkedPanX, dy = y - FLinkedPanY;
    FLinkedPanX = x;
    FLinkedPanY = y;
    OnLinkedPan(this, dx, dy);
  }
  FPanX = x;
  FPanY = y;
  FPanKnown = true;
}

void TFrameStackWindow::WorkAreaImageChanged(int32_t first, int32_t current) {
  const bool cineRate = IsCineFrameRate(FCineFrameRate);
  const double time = cineRate ? first / FCineFrameRate : 0.0;
  const bool source = FEngineReady && LinkDown();
  bool handled = false;
  if (source && FActive && FLinkOptions.LinkByNavigation()) {
    if (FLinkOptions.NavigateByIndex() && FLinkOptions.Automated() == 0 && OnLinkedImageStep) {
      const int32_t delta = first - FLinkedImageIndex;
      FLinkedImageIndex = first;
      if (cineRate) FLinkedTime = time;
      OnLinkedImageStep(this, delta);
      handled = true;
    } else if (FLinkOptions.NavigateByPosition() && FLinkOptions.Automated() == 0 && OnLinkedPositionStep) {
      const double position = first * FSpacing;
      OnLinkedPositionStep(this, FPositionKind, position - FLinkedPosition);
      FLinkedPosition = position;
      handled = true;
    } else if (FLinkOptions.NavigateByTime() && FLinkOptions.Automated() == 1 && OnLinkedTimeStep && cineRate) {
      OnLinkedTimeStep(this, time - FLinkedTime);
      FLinkedTime = time;
      FLinkedImageIndex = first;
      handled = true;
    }
  }
  if (!source) {
    FLinkedImageIndex = first;
    FLinkedPosition = first * FSpacing;
    FLinkedTime = time;
  }
  (void)handled;
  FPreviousImageIndex = FCurrentImageIndex;
  FFirstShown = first;
  FCurrentImageIndex = first;
  FPosition = first * FSpacing;
  FTime = time;
  (void)current;
  if (trbarNavigator->Position() == FCurrentImageIndex + 1) {
    trbarNavigator->Tag = 0;
  } else {
    trbarNavigator->Tag = 1;
    trbarNavigator->SetPosition(FCurrentImageIndex + 1);
    // A position the track bar clamps (or leaves) runs no change handler: never keep the tag.
    trbarNavigator->Tag = 0;
  }
}

void TFrameStackWindow::WorkAreaImageCount(int32_t count) {
  if (FFirstImageCount == 0 || (FEngineReady && KeyImageTile)) FFirstImageCount = count;
  FImageCount = count;
  trbarNavigator->SetMin(1);
  trbarNavigator->Tag = 1;
  trbarNavigator->SetMax(std::max(count, 1));
  trbarNavigator->Tag = 0;
  UpdateSteppingButtons();
  const bool many = count > 1;
  if (!many) pnlNavigator->SetVisible(false);
  tbNavigator->SetVisible(many);
  tbMatrix->SetVisible(many);
  FLinkOptions.SetLinkByNavigation(many);
  FLinkOptions.SetNavigateByIndex(many);
  FLinkOptions.SetNavigateByIndex(
      !(FLinkOptions.Automated() == 1 ||
        (FLinkOptions.LinkByNavigation() && (FLinkOptions.NavigateByPosition() || FLinkOptions.NavigateByTime()))));
  FitScrolledBars();
}

void TFrameStackWindow::WorkAreaEngineMatrix(int32_t columns, int32_t rows) {
  if (FMatrixSet && !FEngineReady) {
    FColumns = std::max(columns, 1);
    FRows = std::max(rows, 1);
  }
  FMatrixOff = false;
}

void TFrameStackWindow::WorkAreaReconstructionAvailable(bool available) {
  tbMPR->SetVisible(available && FImageCount > 1);
}

void TFrameStackWindow::WorkAreaPresentationStatesAvailable(bool available) {
  tbPS->SetVisible(available);
  FPresentationStatesPending = true;
}

void TFrameStackWindow::WorkAreaPresentationStateList(const void*, uint32_t) {
  // The presentation-state items belong to the context menu (not built yet): without a menu
  // that accepts the list, the button is hidden.
  tbPS->SetVisible(false);
}

void TFrameStackWindow::WorkAreaPresentationStateApplied(int32_t index) { tbPS->SetDown(index != 0); }

void TFrameStackWindow::WorkAreaEngineWindow(platform::WindowHandle engine) {
  FEngineWindow = engine;
  // The information overlay's state reaches the engine through the info button.
  if (engine != 0) Post(msg::kInformationOverlay, 0, tbInfo->Down() ? 1 : 0);
}

void TFrameStackWindow::WorkAreaReconstructionCursor(bool on) {
  if (on)
    SetWorkAreaCursor(cursor_id::kMprAnixUp);
  else if (tbPosition->Down())
    SetWorkAreaCursor(cursor_id::kMprPositionUp);
  else if (tbThickness->Down())
    SetWorkAreaCursor(cursor_id::kMprThicknessUp);
  else if (tbSlabPointing->Down())
    SetWorkAreaCursor(cursor_id::kTriangulationUp);
}

void TFrameStackWindow::WorkAreaMeasurementHover(bool on) {
  if (on) {
    if (FWorkArea->Cursor() == FMeasurementCursor && FPendingTwoClickTool == 0)
      SetWorkAreaCursor(cursor_id::kMeasurementMoveUp);
  } else if (FWorkArea->Cursor() == cursor_id::kMeasurementMoveUp) {
    SetWorkAreaCursor(FMeasurementCursor);
  }
}

void TFrameStackWindow::WorkAreaFrameRate(int32_t fps) {
  FTime = FLinkedTime = 0;
  const bool automatic = IsCineFrameRate(fps) && FImageCount > 2;
  if (fps > UpDownFPS->Max) fps = 20;
  if (automatic) {
    FAutoCine = true;
    FFrameRate = fps;
    UpDownFPS->SetPosition(fps);
    FCinePaused = false;
    FCineFrameRate = fps;
    FLinkOptions.SetNavigateByTime(true);
  } else {
    FAutoCine = false;
    if (fps != 0) {
      FFrameRate = fps;
      UpDownFPS->SetPosition(fps);
    }
    FCinePaused = true;
    FCineFrameRate = 0;
    FLinkOptions.SetNavigateByTime(false);
  }
  eFPS->SetText(std::to_wstring(UpDownFPS->Position()));
  SetLinkAutomated(FLinkOptions.Automated());
}

void TFrameStackWindow::WorkAreaCineStarted() {
  if (FCineDirection == 0) tbForward->SetDown(true);
  if (FCineDirection == 1) tbBack->SetDown(true);
  ShowPlayPictures(FCineDirection == 1 ? tbBack : tbForward);
}

void TFrameStackWindow::WorkAreaCineStopped(int32_t index) {
  if (FCinePaused) return;
  tbForward->SetDown(false);
  tbBack->SetDown(false);
  FCineStopped = true;
  trbarNavigator->Tag = 1;
  trbarNavigator->SetPosition(index + 1);
  trbarNavigator->Tag = 0;
  pnlTrackbar->SetVisible(true);
  UpdateSteppingButtons();
  ShowPlayPictures(nullptr);
}

void TFrameStackWindow::WorkAreaMeasurementDone(bool) {
  if (tbMeasurement->Hint() != L"measurement:hidden") tbMeasurement->SetHint(L"measurement");
}

void TFrameStackWindow::WorkAreaMeasurementSelection(bool) {
  for (TToolButton* b : {tbForward, tbBack})
    if (b->Visible() && !b->Enabled()) b->SetEnabled(true);
}

void TFrameStackWindow::WorkAreaMenuItemState(bool) {
  // The calibrate item of the context menu follows this state once the menu is built.
}

void TFrameStackWindow::WorkAreaTextAnnotation(bool, bool) {
  // The annotation editor and the menu's edit item come with the context menu.
}

void TFrameStackWindow::WorkAreaInverseChanged(bool state) { SetInverseButton(state); }

void TFrameStackWindow::WorkAreaLinkStateChanged(int32_t value, int32_t state) {
  tbLink->SetDown(state == 1);
  tbLinkClick(nullptr);
  PostToMain(msg::kLinkState, 0, platform::LParam(uint32_t(value) << 16));
}

void TFrameStackWindow::WorkAreaBlendingAvailable(bool available) {
  if (available) {
    tbBlending->SetVisible(true);
  } else if (tbBlending->Visible()) {
    tbBlending->SetVisible(false);
    Broadcast(tool_code::kNone);
  }
}

void TFrameStackWindow::WorkAreaReconstructionStep(bool towardsPrevious) {
  if (!tbMPR->Down()) return;
  if (towardsPrevious) {
    if (OnStackBefore) OnStackBefore();
  } else if (OnStackAfter) {
    OnStackAfter();
  }
}

void TFrameStackWindow::WorkAreaImagePlane(const void* data, uint32_t size) {
  if (!FActive) return;
  auto lines = std::make_unique<TReferenceLines>();
  lines->SourceEngine = FEngineWindow;
  const uint32_t count = data ? size / sizeof(msg::ImagePlaneRecord) : 0;
  lines->Planes.resize(count);
  if (count) std::memcpy(lines->Planes.data(), data, count * sizeof(msg::ImagePlaneRecord));
  // The main window owns the container once the post succeeded.
  if (PostToMain(stack_msg::kToolSwitch, reinterpret_cast<platform::WParam>(lines.get()), tool_code::kReferenceLines))
    lines.release();
}

void TFrameStackWindow::WorkAreaPositionReport(int32_t a, int32_t b) {
  platform::LParam code = tool_code::kPositionRelay;
  if (LinkDown() && FLinkOptions.LinkByNavigation() && FLinkOptions.NavigateByPosition() &&
      FLinkOptions.Automated() == 1)
    code = platform::LParam(0x8000000F);
  PostToMain(stack_msg::kToolSwitch, platform::WParam((uint32_t(b) << 16) | (uint32_t(a) & 0xFFFF)), code);
}

void TFrameStackWindow::WorkAreaPositionFactor(uint8_t kind, double spacing) {
  FPositionKind = kind;
  FSpacing = spacing;
  FLinkOptions.SetNavigateByPosition(spacing != 0);
  if (FLinkOptions.NavigateByPosition()) {
    FLinkOptions.SetNavigateByIndex(false);
    FLinkOptions.SetNavigateByTime(false);
  }
}

void TFrameStackWindow::WorkAreaKeyImageNotification(int32_t, int32_t) {
  // Key-image removal and the tag panel are commands not built yet.
}

void TFrameStackWindow::WorkAreaVoiPresets(const char* modality) {
  RebuildVoiPresets(FPresets, modality ? modality : "", kVoiPresetsFileName);
}

void TFrameStackWindow::WorkAreaWheelOutside(const TPoint& point, uint16_t delta, uint16_t keys) {
  if (OnWheelOutsideRequest) OnWheelOutsideRequest(point, delta, keys);
}

void TFrameStackWindow::WorkAreaLeftDown(int32_t x, int32_t y) {
  static const std::pair<int, int> pressed[] = {{8, 7},   {10, 9},  {12, 11}, {14, 13}, {16, 15}, {18, 19},
                                                {20, 21}, {22, 23}, {24, 25}, {26, 27}, {33, 34}, {36, 35}};
  Activate(0);
  const int cursor = FWorkArea->Cursor();
  if (cursor == cursor_id::kPolygon) FPendingTwoClickTool = 1;
  for (const auto& [up, down] : pressed)
    if (cursor == up) SetWorkAreaCursor(down);
  if (tbMeasurement->Down() && !FCineStopped) StopPlayback();
  if (OnPanelLeftDown) OnPanelLeftDown(x, y);
}

void TFrameStackWindow::WorkAreaLeftUp() {
  static const std::pair<int, int> released[] = {{7, 8},   {9, 10},  {11, 12}, {13, 14}, {15, 16}, {19, 18},
                                                 {21, 20}, {23, 22}, {27, 26}, {34, 33}, {35, 36}};
  const int cursor = FWorkArea->Cursor();
  if (cursor == 25) SetWorkAreaCursor(FMeasurementCursor);
  for (const auto& [down, up] : released)
    if (cursor == down) SetWorkAreaCursor(up);
  if (OnPanelLeftUp) OnPanelLeftUp();
}

void TFrameStackWindow::WorkAreaDoubleClick(platform::WParam wParam, platform::LParam lParam) {
  if (FPendingTwoClickTool != 0) {
    Post(msg::kResetTool, FPendingTwoClickTool, 1);
    FPendingTwoClickTool = 0;
    return;
  }
  if (tbMPR->Down() || (tbMatrix->Down() && FColumns * FRows > 1)) {
    FMatrixOff = !FMatrixOff;
    Post(msg::kWmLButtonDblClk, wParam, lParam);
    return;
  }
  if ((!tbMatrix->Down() || FColumns * FRows == 1) && OnCellMaximize) OnCellMaximize(this);
}

void TFrameStackWindow::WorkAreaWheel(bool forward) {
  if (tbMPR->Down()) return;
  const bool cine = !FCineStopped;
  const int32_t cells = tbMatrix->Down() ? PageSize() : 1;
  if (forward) {
    if ((FFirstShown == 0 || cine) && OnStackBefore) OnStackBefore();
  } else if ((FFirstShown + cells >= FImageCount || cine) && OnStackAfter) {
    OnStackAfter();
  }
}

void TFrameStackWindow::WorkAreaPopupAllowed(bool suppress) {
  // The work area has its menu only once the engine is ready.
  if (!FEngineReady) return;
  FWorkArea->PopupMenu = suppress ? nullptr : pmWorkareaPopup;
}
