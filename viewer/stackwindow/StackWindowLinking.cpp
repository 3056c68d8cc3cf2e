// The link button and the linked changes the client area hands to every frame of the matrix.
#include <algorithm>
#include <cmath>

#include "platform/windows/Messages.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

namespace msg = ORN_image::engine_msg;

void TFrameStackWindow::tbLinkClick(TObject* Sender) {
  std::wstring hint = L"link";
  if (tbLink->Down()) {
    std::wstring kinds;
    const std::pair<bool, const wchar_t*> linked[] = {{FLinkOptions.LinkByZoom(), L"zoom"},
                                                      {FLinkOptions.LinkByVoi(), L"voi"},
                                                      {FLinkOptions.LinkByPan(), L"pan"},
                                                      {FLinkOptions.LinkBySpatialTransform(), L"st"},
                                                      {FLinkOptions.LinkByNavigation(), L"navigation"}};
    for (const auto& [on, name] : linked) {
      if (!on) continue;
      if (!kinds.empty()) kinds += L"\\";
      kinds += name;
    }
    if (!kinds.empty()) hint += L":" + kinds;
  }
  tbLink->SetHint(hint);
  if (Sender) Broadcast(tool_code::kLink);
  FLinkedZoom = FCurrentZoom;
  FLinkedCentre = FCentre;
  FLinkedWidth = FWidth;
  FLinkedPanX = FPanX;
  FLinkedPanY = FPanY;
  FLinkedImageIndex = FCurrentImageIndex;
  FLinkedPosition = FPosition;
  FLinkedTime = FTime;
}

bool TFrameStackWindow::ApplyLinkGuard(TFrameStackWindow* sender, bool kindLinked) const {
  return sender != this && FEngineReady && kindLinked && LinkDown() && !tbMPR->Down();
}

void TFrameStackWindow::ApplyLinkedZoom(TFrameStackWindow* sender, double ratio) {
  if (!ApplyLinkGuard(sender, FLinkOptions.LinkByZoom())) return;
  FLinkedZoom *= ratio;
  if (FLinkedZoom >= 0.1 && FLinkedZoom <= 10)
    Post(msg::kZoom, 0, platform::LParam(FLinkedZoom * msg::kFixedPoint + 0.5));
  else if (FLinkedZoom < 0.1 && FCurrentZoom > 0.1)
    Post(msg::kZoom, 0, 1000);
  else if (FLinkedZoom > 10 && FCurrentZoom < 10)
    Post(msg::kZoom, 0, 100000);
}

void TFrameStackWindow::ApplyLinkedVoi(TFrameStackWindow* sender, double centreDelta, double widthDelta) {
  if (!ApplyLinkGuard(sender, FLinkOptions.LinkByVoi())) return;
  FLinkedCentre += centreDelta;
  FLinkedWidth += widthDelta;
  // Clamped into the 16-bit fields, never wrapped.
  Post(msg::kWindowLevel, 0, msg::PackWindowValues(FLinkedCentre, FLinkedWidth > 2 ? FLinkedWidth : 2));
}

void TFrameStackWindow::ApplyLinkedPan(TFrameStackWindow* sender, double dx, double dy) {
  if (!ApplyLinkGuard(sender, FLinkOptions.LinkByPan())) return;
  FLinkedPanX += dx;
  FLinkedPanY += dy;
  const auto x = uint16_t(int32_t(dx)), y = uint16_t(int32_t(dy));
  Post(msg::kPan, 0, platform::LParam((uint32_t(y) << 16) | x));
}

void TFrameStackWindow::ApplyLinkedRotateLeft(TFrameStackWindow*) {
  if (FEngineReady && FLinkOptions.LinkBySpatialTransform() && LinkDown() && !tbMPR->Down())
    Post(msg::kRotateLeft, 0, 0);
}
void TFrameStackWindow::ApplyLinkedRotateRight(TFrameStackWindow*) {
  if (FEngineReady && FLinkOptions.LinkBySpatialTransform() && LinkDown() && !tbMPR->Down())
    Post(msg::kRotateRight, 0, 0);
}
void TFrameStackWindow::ApplyLinkedFlipHorizontal(TFrameStackWindow*) {
  if (FEngineReady && FLinkOptions.LinkBySpatialTransform() && LinkDown() && !tbMPR->Down())
    Post(msg::kFlipHorizontal, 0, 0);
}
void TFrameStackWindow::ApplyLinkedFlipVertical(TFrameStackWindow*) {
  if (FEngineReady && FLinkOptions.LinkBySpatialTransform() && LinkDown() && !tbMPR->Down())
    Post(msg::kFlipVertical, 0, 0);
}

void TFrameStackWindow::ApplyLinkedImageStep(TFrameStackWindow* sender, int32_t step) {
  if (!ApplyLinkGuard(sender, FLinkOptions.LinkByNavigation()) || tbForward->Down() || tbBack->Down()) return;
  if (!FLinkOptions.NavigateByIndex() || FLinkOptions.Automated() != 0) return;
  FLinkedImageIndex += step;
  const int32_t last = std::max(FImageCount - 1, 0);
  const int32_t index = std::clamp(FLinkedImageIndex, 0, last);
  if (IsCineFrameRate(FCineFrameRate)) FLinkedTime = index / FCineFrameRate;
  Post(msg::kGoToImage, 1, index);
}

void TFrameStackWindow::ApplyLinkedPositionStep(TFrameStackWindow* sender, uint8_t kind, double step) {
  if (!ApplyLinkGuard(sender, FLinkOptions.LinkByNavigation()) || tbForward->Down() || tbBack->Down()) return;
  if (!FLinkOptions.NavigateByPosition() || FLinkOptions.Automated() != 0) return;
  if (kind == 0 || kind != FPositionKind || FSpacing == 0) return;
  FLinkedPosition += step;
  const int32_t index = int32_t(FLinkedPosition / FSpacing);
  if (index == trbarNavigator->Position() - 1) return;
  Post(msg::kGoToImage, 1, std::clamp(index, 0, std::max(FImageCount - 1, 0)));
}

void TFrameStackWindow::ApplyLinkedTimeStep(TFrameStackWindow* sender, double step) {
  if (!ApplyLinkGuard(sender, FLinkOptions.LinkByNavigation()) || tbForward->Down() || tbBack->Down()) return;
  if (!FLinkOptions.NavigateByTime() || FLinkOptions.Automated() != 1 || !IsCineFrameRate(FCineFrameRate)) return;
  FLinkedTime += step;
  const int32_t index = int32_t(std::lround(FLinkedTime * FCineFrameRate));
  Post(msg::kGoToImage, 1, std::clamp(index, 0, std::max(FImageCount - 1, 0)));
}
