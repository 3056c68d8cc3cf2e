// Readiness, activation, the auto-hidden bars, tool modes, the tool switch broadcast and the
// reconstruction display mode.
#include <cmath>
#include <memory>

#include "platform/core/Clock.h"
#include "platform/windows/Messages.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

namespace msg = ORN_image::engine_msg;

bool TFrameStackWindow::WaitUntil(const std::function<bool()>& done) {
  // Bounded: the engine's window going away, this frame being destroyed (a handler run by
  // the pump may free it) or the time bound ends the wait with the failure marked.
  const std::shared_ptr<bool> alive = FAlive;
  const uint32_t start = platform::TickCount();
  for (;;) {
    if (!*alive) return false;
    if (done()) return true;
    if (FEngineFailed) return false;
    const bool engineGone = FEngineWindow != 0 && !platform::IsWindow(FEngineWindow);
    if (engineGone || platform::TickCount() - start > EngineWaitBound()) {
      FEngineFailed = true;
      return false;
    }
    Application->ProcessMessages();
    if (!*alive) return false;
    if (!done()) platform::Sleep(5);
  }
}

bool TFrameStackWindow::WaitForEngine() {
  return WaitUntil([this] { return FEngineReady; }) && !FEngineFailed;
}

bool TFrameStackWindow::GoToImage(int32_t index) {
  const std::shared_ptr<bool> alive = FAlive;
  if (!WaitForEngine()) {
    // The failure is reported; the flag is left for the owner to see (ReinitializeEngine or
    // a new ready report clears it).
    return false;
  }
  if (!*alive) return false;
  if (index < 0 || index >= FImageCount) return false;
  StopPlayback();
  trbarNavigator->SetPosition(index + 1);
  return true;
}

bool TFrameStackWindow::IsCinePlaying() {
  WaitForEngine();
  return !FCineStopped;
}

void TFrameStackWindow::ReinitializeEngine() {
  if (FEngineWindow == 0) return;
  FEngineReady = false;
  FEngineFailed = false;
  Post(msg::kReinitialise, 0, FWorkArea->Handle());
}

void TFrameStackWindow::SetShown(bool visible) {
  if (!Parent() || visible == Visible()) return;
  SetVisible(visible);
  // A running cine stops in the engine while hidden and stays running in the frame: the pause
  // mark makes the frame ignore the engine's stop report, and showing starts it again.
  if (!visible) {
    if (!FCineStopped && !FCinePaused) {
      StopCine();
      FCinePaused = true;
    }
    Deactivate(0);
  } else if (!FCineStopped && FCinePaused) {
    StartCine();
    FCinePaused = false;
  }
}

void TFrameStackWindow::DetachFromCell() {
  SetShown(false);
  auto detach = OnCellDetach;  // the cell clears this closure while it runs
  if (detach) detach(this);
  if (FTileWindow != 0) platform::SendMessage(FTileWindow, stack_msg::kHide, platform::WParam(Handle()), 0);
}

void TFrameStackWindow::SetBorderColor(TColor color) {
  for (TPanel* p : {pnlTop, pnlLeft, pnlRight, pnlBottom}) p->SetColor(color);
}

void TFrameStackWindow::Activate(platform::WindowHandle initiator) {
  const platform::WindowHandle self = Handle();
  if (initiator != FTileWindow && FTileWindow != 0)
    platform::SendMessage(FTileWindow, stack_msg::kActivate, platform::WParam(self), 0);
  if (initiator != FMainWindow && FMainWindow != 0)
    platform::SendMessage(FMainWindow, stack_msg::kActivate, platform::WParam(self), 0);
  SetBorderColor(FActiveColor);
  if (!(FActive && FReferenceLineSource)) Post(msg::kImagePlane, 0, FWorkArea->Handle());
  FActive = true;
  if (FWorkArea->Widget()) FWorkArea->SetFocus();
  if (!tbPin->Down()) platform::SetTimer(self, FToolsTimerId, 400);
  if (!tbNavigatorPin->Down()) platform::SetTimer(self, FNavigatorTimerId, 400);
}

void TFrameStackWindow::Deactivate(platform::WindowHandle initiator) {
  const platform::WindowHandle self = Handle();
  if (initiator == self) return;
  if (FTileWindow != 0) platform::SendMessage(FTileWindow, stack_msg::kDeactivate, platform::WParam(self), 0);
  SetBorderColor(FInactiveColor);
  FActive = false;
  if (!tbPin->Down()) platform::KillTimer(self, FToolsTimerId);
  if (!tbNavigatorPin->Down()) platform::KillTimer(self, FNavigatorTimerId);
}

void TFrameStackWindow::AutoHide(TPanel* bar, bool allowShow) {
  const TPoint cursor = GetCursorPos();
  const TPoint origin = bar->Parent() ? bar->Parent()->ClientToScreen(TPoint{bar->Left(), bar->Top()})
                                      : TPoint{bar->Left(), bar->Top()};
  const TRect r = Rect(origin.x, origin.y, origin.x + bar->Width(), origin.y + bar->Height());
  const bool inside = cursor.x > r.Left && cursor.x < r.Right - 1 && cursor.y > r.Top && cursor.y < r.Bottom - 1;
  const bool outside = cursor.x < r.Left || cursor.x >= r.Right || cursor.y < r.Top || cursor.y >= r.Bottom;
  if (inside && !bar->Visible() && allowShow) {
    bar->SetVisible(true);
    bar->BringToFront();
  } else if (outside && bar->Visible()) {
    bar->SetVisible(false);
  }
}

void TFrameStackWindow::OnFrameTimer(uintptr_t id) {
  if (id == FToolsTimerId) {
    AutoHide(pnlTools, true);
  } else if (id == FNavigatorTimerId) {
    AutoHide(pnlNavigator, !tbMPR->Down() && FImageCount > 1);
    FNavigatorShown = pnlNavigator->Visible();
  } else if (id == FDialogTimerId) {
    // The secondary reconstruction dialog is not built yet: the timer only ends.
    platform::KillTimer(Handle(), FDialogTimerId);
  }
}

void TFrameStackWindow::SetToolbarPinned(bool pinned) {
  tbPin->SetDown(pinned);
  tbPinClick(nullptr);
}

void TFrameStackWindow::SetNavigatorPinned(bool pinned) {
  tbNavigatorPin->SetDown(pinned);
  tbNavigatorPinClick(nullptr);
}

void TFrameStackWindow::tbPinClick(TObject* Sender) {
  tbPin->SetImageIndex(tbPin->Down() ? 2 : 1);
  if (tbPin->Down()) {
    pnlTools->Anchors = 0;
    pnlTools->SetAlign(alTop);
    platform::KillTimer(Handle(), FToolsTimerId);
  } else {
    pnlTools->SetAlign(alNone);
    pnlTools->SetBounds(0, 0, pnlWorkArea->Width(), pnlTools->Height());
    pnlTools->BringToFront();
    pnlTools->Anchors = akLeft | akTop | akRight;
    platform::SetTimer(Handle(), FToolsTimerId, 400);
  }
  if (Sender) PostToMain(stack_msg::kToolSwitch, tbPin->Down() ? 1 : 0, tool_code::kToolbarPin);
}

void TFrameStackWindow::tbNavigatorPinClick(TObject* Sender) {
  tbNavigatorPin->SetImageIndex(tbNavigatorPin->Down() ? 2 : 1);
  if (tbNavigatorPin->Down()) {
    pnlNavigator->Anchors = 0;
    pnlNavigator->SetAlign(alBottom);
    platform::KillTimer(Handle(), FNavigatorTimerId);
  } else {
    pnlNavigator->SetAlign(alNone);
    pnlNavigator->SetBounds(0, pnlDesk->Height() - pnlNavigator->Height() - 2, pnlWorkArea->Width(),
                            pnlNavigator->Height());
    pnlNavigator->BringToFront();
    pnlNavigator->Anchors = akLeft | akRight | akBottom;
    platform::SetTimer(Handle(), FNavigatorTimerId, 400);
  }
  if (Sender) PostToMain(stack_msg::kToolSwitch, tbNavigatorPin->Down() ? 1 : 0, tool_code::kNavigatorPin);
}

void TFrameStackWindow::SetWorkAreaCursor(int cursor) { FWorkArea->SetCursor(cursor); }

void TFrameStackWindow::PostToolMessages(TObject* Sender, int32_t code, bool endTool, bool resetTool) {
  if (Sender) Broadcast(code);
  if (endTool) Post(msg::kEndTool, 0, 0);
  if (resetTool) Post(msg::kResetTool, 0, 0);
}

void TFrameStackWindow::tbZoomClick(TObject* Sender) {
  PostToolMessages(Sender, tool_code::kZoom, true, true);
  if (ReconstructionMode()) {
    Post(msg::kMprZoom, 0, 0);
    if (tbZoom->Down()) MprToolCode() = 1;
  } else {
    Post(msg::kMouseTool, 0, msg::kToolZoom);
  }
  SetWorkAreaCursor(cursor_id::kZoomUp);
}

void TFrameStackWindow::tbVOIClick(TObject* Sender) {
  PostToolMessages(Sender, tool_code::kVoi, true, true);
  if (ReconstructionMode()) {
    Post(msg::kMprVoi, 0, 0);
    if (tbVOI->Down()) MprToolCode() = 2;
  } else {
    Post(msg::kMouseTool, 0, msg::kToolVoi);
  }
  SetWorkAreaCursor(cursor_id::kVoiUp);
}

void TFrameStackWindow::tbPanClick(TObject* Sender) {
  PostToolMessages(Sender, tool_code::kPan, true, true);
  if (tbMPR->Down())
    Post(msg::kMprPan, 0, 0);
  else
    Post(msg::kMouseTool, 0, msg::kToolPan);
  SetWorkAreaCursor(cursor_id::kPanUp);
}

void TFrameStackWindow::tbNavigatorClick(TObject* Sender) {
  PostToolMessages(Sender, tool_code::kNavigator, true, true);
  Post(msg::kMouseTool, 0, msg::kToolNavigator);
  SetWorkAreaCursor(cursor_id::kNavigatorUp);
}

void TFrameStackWindow::tbMagnifierClick(TObject* Sender) {
  if (Sender) Broadcast(tool_code::kMagnifier);
  Post(msg::kEndTool, 0, 1);
  Post(msg::kMouseTool, 0, msg::kToolMagnifier);
  Post(msg::kMagnifierZoom, 0, platform::LParam(std::lround(FMagnifierOptions.GetZoom())));
  Post(msg::kMagnifierSize, 0, FMagnifierOptions.GetSize());
  Post(msg::kMagnifierShape, 0, FMagnifierOptions.GetShape());
  Post(msg::kMagnifierOptimized, 0, FMagnifierOptions.IsOptimized() ? 1 : 0);
  SetWorkAreaCursor(cursor_id::kMagnifierUp);
}

void TFrameStackWindow::tbMeasurementClick(TObject* Sender) {
  if (Sender) Broadcast(tool_code::kMeasurement);
  Post(msg::kResetTool, 0, tbMeasurement->Down() ? 1 : 0);
  FPendingTwoClickTool = 0;
  SetWorkAreaCursor(FMeasurementCursor);
}

void TFrameStackWindow::tbEdgeEnhancementClick(TObject* Sender) {
  PostToolMessages(Sender, tool_code::kEdgeEnhancement, true, true);
  Post(msg::kMouseTool, 0, msg::kToolEdgeEnhancement);
  SetWorkAreaCursor(cursor_id::kEdgeEnhancementUp);
}

void TFrameStackWindow::tbPositionClick(TObject* Sender) {
  if (!tbPosition->Down()) return;
  if (Sender) Broadcast(tool_code::kPosition);
  Post(msg::kResetTool, 0, 0);
  Post(msg::kEndTool, 0, 0);
  Post(msg::kMprPosition, 0, 0);
  MprToolCode() = 10;
  SetWorkAreaCursor(cursor_id::kMprPositionUp);
}

void TFrameStackWindow::tbThicknessClick(TObject* Sender) {
  if (!tbThickness->Down()) return;
  if (Sender) Broadcast(tool_code::kThickness);
  Post(msg::kResetTool, 0, 0);
  Post(msg::kEndTool, 0, 0);
  Post(msg::kMprThickness, 0, 0);
  MprToolCode() = 11;
  SetWorkAreaCursor(cursor_id::kMprThicknessUp);
}

void TFrameStackWindow::tbSlabPointingClick(TObject* Sender) {
  if (!tbSlabPointing->Down()) return;
  if (Sender) Broadcast(tool_code::kTriangulation);
  Post(msg::kResetTool, 0, 0);
  Post(msg::kEndTool, 0, 0);
  Post(msg::kMprTriangulation, 0, 0);
  MprToolCode() = 21;
  SetWorkAreaCursor(cursor_id::kTriangulationUp);
}

void TFrameStackWindow::SetInverseButton(bool state) {
  if (tbInverse->Down() == state) return;
  tbInverse->SetDown(state);
  Broadcast(tool_code::kInverse);
}

void TFrameStackWindow::ApplyInverse(bool state) {
  FInverseAtStart = state;
  SetInverseButton(state);
  Post(tbMPR->Down() ? msg::kMprInverse : msg::kInverse, 0, state ? 1 : 0);
}

void TFrameStackWindow::tbInverseClick(TObject*) { ApplyInverse(tbInverse->Down()); }

void TFrameStackWindow::tbResetClick(TObject*) {
  const bool ownLink = tbLink->Down();
  tbLink->SetDown(false);
  tbLinkClick(nullptr);
  if (ReconstructionMode()) ApplyInverse(false);
  // The main window's link button is not reachable from here yet; its bit stays 0.
  Post(msg::kLinkState, 0, ownLink ? 1 : 0);
}

void TFrameStackWindow::tbCloseClick(TObject*) {
  PostToMain(stack_msg::kHide, platform::WParam(Handle()), 0);
}

void TFrameStackWindow::tbScreenOnOffClick(TObject*) {
  if (OnCellMaximize) OnCellMaximize(this);
}

void TFrameStackWindow::WorkAreaClick() {
  lblVOIHint->SetCaption(L"");
  if (FColumns * FRows > 1 && OnCellMaximize) OnCellMaximize(this);
}

void TFrameStackWindow::PressButton(TToolButton* button, void (TFrameStackWindow::*handler)(TObject*)) {
  if (!button->Visible() || !button->Enabled()) return;
  button->SetDown(true);
  (this->*handler)(nullptr);
}

void TFrameStackWindow::SwitchTool(platform::WParam wParam, platform::LParam lParam) {
  const int32_t code = int32_t(lParam & 0xFFFF);
  const bool fromSelf = platform::WindowHandle(wParam) == Handle();
  if (fromSelf && code != tool_code::kReferenceLines && code != tool_code::kPositionRelay &&
      code != tool_code::kLinkAutomated)
    return;
  const bool mprOn = tbMPR->Enabled() && tbMPR->Down();
  switch (code) {
    case tool_code::kZoom: PressButton(tbZoom, &TFrameStackWindow::tbZoomClick); break;
    case tool_code::kVoi: PressButton(tbVOI, &TFrameStackWindow::tbVOIClick); break;
    case tool_code::kPan: PressButton(tbPan, &TFrameStackWindow::tbPanClick); break;
    case tool_code::kNavigator:
    case tool_code::kPosition:
      if (mprOn && tbPosition->Visible() && tbPosition->Enabled())
        PressButton(tbPosition, &TFrameStackWindow::tbPositionClick);
      else if (tbNavigator->Visible() && tbNavigator->Enabled())
        PressButton(tbNavigator, &TFrameStackWindow::tbNavigatorClick);
      else
        RestoreCurrentTool();
      break;
    case tool_code::kMagnifier: PressButton(tbMagnifier, &TFrameStackWindow::tbMagnifierClick); break;
    case tool_code::kMeasurement: PressButton(tbMeasurement, &TFrameStackWindow::tbMeasurementClick); break;
    case tool_code::kEdgeEnhancement:
      if (tbEdgeEnhancement->Visible() && tbEdgeEnhancement->Enabled())
        PressButton(tbEdgeEnhancement, &TFrameStackWindow::tbEdgeEnhancementClick);
      else
        RestoreCurrentTool();
      break;
    case tool_code::kInverse: ApplyInverse(wParam != 0); break;
    case tool_code::kReset: {
      const bool ownLink = tbLink->Down();
      tbLink->SetDown(false);
      tbLinkClick(nullptr);
      if (ReconstructionMode()) ApplyInverse(false);
      Post(msg::kLinkState, 0, (lParam & ~platform::LParam(0xFFFF)) + (ownLink ? 1 : 0));
      break;
    }
    case tool_code::kThickness:
      if (ReconstructionMode()) PressButton(tbThickness, &TFrameStackWindow::tbThicknessClick);
      break;
    case tool_code::kToolbarPin: SetToolbarPinned(wParam != 0); break;
    case tool_code::kNavigatorPin: SetNavigatorPinned(wParam != 0); break;
    case tool_code::kReferenceLines: {
      const auto* lines = reinterpret_cast<const TReferenceLines*>(wParam);
      if (tbMPR->Visible() && tbMPR->Enabled() && tbMPR->Down()) break;
      if (lines && FEngineWindow != 0 && FEngineWindow != lines->SourceEngine) {
        lines->SendTo(FEngineWindow);
        FReferenceLineSource = false;
      } else {
        FReferenceLineSource = true;
        Post(msg::kRedraw, 0, 0);
      }
      break;
    }
    case tool_code::kPositionRelay: {
      if (ReconstructionMode() || FReferenceLineSource) break;
      const int32_t a = int32_t((wParam >> 16) & 0xFFFF);
      const int32_t b = int32_t(wParam & 0xFFFF);
      platform::LParam out = b;
      if ((lParam & 0x80000000) && LinkDown() && FLinkOptions.LinkByNavigation() &&
          FLinkOptions.NavigateByPosition() && FLinkOptions.Automated() == 1)
        out |= platform::LParam(0x80000000);
      Post(msg::kPositionReport, platform::WParam(a), out);
      break;
    }
    case tool_code::kLinkAutomated: SetLinkAutomated(int32_t(wParam)); break;
    case tool_code::kLink:
      tbLink->SetDown(wParam != 0);
      tbLinkClick(nullptr);
      break;
    case tool_code::kStatistics:
      FStatistics.ShowMinimum = (lParam >> 16) & 1;
      FStatistics.ShowMaximum = (lParam >> 17) & 1;
      FStatistics.ShowMean = (lParam >> 18) & 1;
      FStatistics.ShowDeviation = (lParam >> 19) & 1;
      SendStatistics();
      break;
    case tool_code::kTriangulation:
      if (ReconstructionMode()) PressButton(tbSlabPointing, &TFrameStackWindow::tbSlabPointingClick);
      break;
    default:
      // 0, and the information overlay and palette codes whose commands are not built yet.
      break;
  }
}

void TFrameStackWindow::RestoreCurrentTool() {
  if (tbZoom->Visible() && tbZoom->Down()) {
    tbZoomClick(nullptr);
    return;
  }
  const std::pair<TToolButton*, void (TFrameStackWindow::*)(TObject*)> tools[] = {
      {tbVOI, &TFrameStackWindow::tbVOIClick},
      {tbPan, &TFrameStackWindow::tbPanClick},
      {tbNavigator, &TFrameStackWindow::tbNavigatorClick},
      {tbMagnifier, &TFrameStackWindow::tbMagnifierClick},
      {tbMeasurement, &TFrameStackWindow::tbMeasurementClick},
      {tbEdgeEnhancement, &TFrameStackWindow::tbEdgeEnhancementClick},
      {tbPosition, &TFrameStackWindow::tbPositionClick},
      {tbThickness, &TFrameStackWindow::tbThicknessClick},
      {tbSlabPointing, &TFrameStackWindow::tbSlabPointingClick}};
  for (const auto& [button, handler] : tools) {
    if (button->Visible() && button->Down()) {
      (this->*handler)(nullptr);
      return;
    }
  }
  PressButton(tbZoom, &TFrameStackWindow::tbZoomClick);
}

void TFrameStackWindow::OnMeasurementTypeChosen(platform::WParam wParam, platform::LParam lParam) {
  struct Kind {
    int32_t kind;
    int cursor;
    const wchar_t* hint;
  };
  static const Kind kinds[] = {{0, 5, L"measurement:distance"},
                               {1, 2, L"measurement:elliptical area"},
                               {2, 1, L"measurement:rectangular area"},
                               {3, 4, L"measurement:angle"},
                               {4, 3, L"measurement:angle between lines"},
                               {6, 31, L"measurement:density"},
                               {7, 30, L"measurement:callout"},
                               {8, 29, L"measurement:text"},
                               {9, 28, L"measurement:arrow"},
                               {10, 32, L"measurement:polygon"}};
  FPendingTwoClickTool = 0;
  (void)wParam;  // the menu's check marks would follow a kind chosen elsewhere
  for (const Kind& k : kinds) {
    if (k.kind != int32_t(lParam)) continue;
    tbMeasurement->SetHint(k.hint);
    SetWorkAreaCursor(k.cursor);
    Post(msg::kMeasurementKind, 0, lParam);
  }
  FMeasurementCursor = uint8_t(FWorkArea->Cursor());
}

void TFrameStackWindow::tbMPRClick(TObject*) {
  if (tbMPR->Down())
    EnterReconstructionMode();
  else
    LeaveReconstructionMode();
}

void TFrameStackWindow::EnterReconstructionMode() {
  tbPS->SetEnabled(false);
  tbInfo->SetEnabled(false);
  tbNavigator->SetVisible(false);
  tbEdgeEnhancement->SetVisible(false);
  for (TToolButton* b : {tbPosition, tbThickness, tbSlabPointing}) b->SetVisible(true);
  for (TToolButton* b : {tbRotateLeft, tbRotateRight, tbFlipHorizontal, tbFlipVertical, tbMatrix, tbLink})
    b->SetEnabled(false);
  WorkAreaImagePlane(nullptr, 0);
  // The projection item of the context menu decides; without the menu the default projection.
  Post(msg::kProjectionWeightedMaximum, 0, 0);
  if (tbMeasurement->Down()) {
    MprToolCode() = 6;
    Broadcast(tool_code::kMeasurement);
  } else {
    const std::pair<TToolButton*, uint8_t> tools[] = {
        {tbZoom, 1}, {tbVOI, 2}, {tbMagnifier, 5}, {tbPan, 3}, {tbNavigator, 10}};
    for (const auto& [button, code] : tools) {
      if (button->Down()) {
        MprToolCode() = code;
        break;
      }
    }
    if (MprToolCode() == 0) MprToolCode() = 10;
    platform::PostMessage(Handle(), stack_msg::kToolSwitch, 0, MprToolCode());
  }
  ApplyInverse(tbInverse->Down());
  FNavigatorShown = pnlNavigator->Visible();
  pnlNavigator->SetVisible(false);  FitScrolledBars();
}

void TFrameStackWindow::LeaveReconstructionMode() {
  tbPS->SetEnabled(true);
  tbInfo->SetEnabled(true);
  tbNavigator->SetVisible(FImageCount > 1);
  tbEdgeEnhancement->SetVisible(true);
  for (TToolButton* b : {tbPosition, tbThickness, tbSlabPointing}) b->SetVisible(false);
  for (TToolButton* b : {tbRotateLeft, tbRotateRight, tbFlipHorizontal, tbFlipVertical, tbMatrix, tbLink})
    b->SetEnabled(true);
  Post(msg::kReconstructionAvailable, 0, 0);
  if (FActive) Post(msg::kImagePlane, 0, FWorkArea->Handle());
  Broadcast(tool_code::kNone);
  ApplyInverse(tbInverse->Down());
  pnlNavigator->SetVisible(FNavigatorShown && FImageCount > 1);  FitScrolledBars();
}

void TFrameStackWindow::SyncContextMenu(int32_t imageIndex) {
  FLinkOptions.SetLinkVisible(tbLink->Visible());
  if (tbLink->Visible()) FLinkOptions.SetLinkEnabled(tbLink->Enabled());
  // The menu's items follow here once the context menu is built; the window/level reply
  // below is what the frame itself needs (the preset in effect).
  if (tbVOI->Down() && !ReconstructionMode() && FEngineWindow != 0) {
    FVoiReplyReceived = false;
    if (Post(msg::kIgnoredRecord, platform::WParam(Handle()), imageIndex))
      WaitUntil([this] { return FVoiReplyReceived; });
  }
}

void TFrameStackWindow::OnEngineProgress(platform::WParam wParam, platform::LParam lParam) {
  if (FTileWindow != 0) platform::PostMessage(FTileWindow, msg::kInitProgress, wParam, lParam);
  const int32_t done = int32_t(lParam & 0xFFFF);
  const int32_t all = int32_t((lParam >> 16) & 0xFFFF);
  if (all > done) {
    if (tbMPR->Visible()) tbMPR->SetEnabled(false);
  } else {
    if (tbMPR->Visible()) tbMPR->SetEnabled(true);
    FInitComplete.exchange(1);
  }
}

void TFrameStackWindow::OnEngineZoom(double zoom) {
  const bool linked = FEngineReady && LinkDown() && OnLinkedZoom && FLinkOptions.LinkByZoom();
  if (linked) {
    if (FActive && On(tbZoom) && FZoomKnown) {
      // A first report (no linked zoom yet) only sets the reference: no ratio over 0.
      if (FLinkedZoom > 0) OnLinkedZoom(this, zoom / FLinkedZoom);
      FLinkedZoom = zoom;
    }
  } else {
    FLinkedZoom = zoom;
  }
  FCurrentZoom = zoom;
  FZoomKnown = true;
}

void TFrameStackWindow::SetLinkAutomated(int32_t value) {
  FLinkOptions.SetAutomated(value);
  if (!FLinkOptions.NavigateByPosition()) FLinkOptions.SetNavigateByIndex(value != 1);
}

void TFrameStackWindow::SetMaximizedButton(bool restored) {
  if (::PicturesOf(tbOnOff))
    ShowButtonPicture(tbOnOff, *ilNormal28x10, GetSharedImageList("ilStore28x10"), !restored);
  else
    tbOnOff->SetImageIndex(restored ? 0 : 1);
}

void TFrameStackWindow::PauseCine() {
  if (!FCineStopped && !FCinePaused) {
    StopCine();
    FCinePaused = true;
  }
}

void TFrameStackWindow::ResumeCine() {
  if (!FCineStopped && FCinePaused) {
    StartCine();
    FCinePaused = false;
  }
}

void TFrameStackWindow::StopPlayback() {
  if (tbForward->Down()) {
    tbForward->SetDown(false);
    tbForwardClick(tbForward);
  } else if (tbBack->Down()) {
    tbBack->SetDown(false);
    tbBackClick(tbBack);
  }
  FCineRequested = false;
}

void TFrameStackWindow::SendStatistics() {
  if (FEngineWindow == 0) return;
  platform::CopyDataStruct record{msg::kStatisticsSettings, sizeof(FStatistics), &FStatistics};
  platform::SendMessage(FEngineWindow, platform::kWmCopyData, platform::WParam(Handle()),
                        reinterpret_cast<platform::LParam>(&record));
}
