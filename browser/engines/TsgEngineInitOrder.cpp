#include "browser/engines/TsgEngineInitOrder.h"

#include <algorithm>

#include "viewer/engine/EngineMessages.h"
#include "browser/engines/TanEngineInitSlots.h"
#include "platform/windows/Messages.h"

namespace ORN_browser {

TsgEngineInitOrder::TsgEngineInitOrder(iINIT_ORDER_TILE& tile, bool asynchronous, bool gaugeVisible)
    : tile_(tile), asynchronous_(asynchronous), gaugeVisible_(gaugeVisible) {}

TsgEngineInitOrder::~TsgEngineInitOrder() { Release(); }

void TsgEngineInitOrder::OnInitProgress(platform::LParam lParam) {
  const uint32_t value = static_cast<uint32_t>(lParam);
  gaugeMin_ = 0;
  gaugeMax_ = static_cast<int>(value >> 16);
  // The gauge keeps its progress within its range.
  gaugeProgress_ = std::clamp(static_cast<int>(value & 0xFFFFu), gaugeMin_, gaugeMax_);
  if (!ClaimInitSlots(gaugeProgress_, gaugeMax_)) StartTimer(kFirstRetryMs);
  gaugeShown_ = gaugeProgress_ < gaugeMax_ && gaugeVisible_ && asynchronous_;
}

void TsgEngineInitOrder::OnTimer(uintptr_t timerId) {
  if (timerId != static_cast<uintptr_t>(Identity())) return;
  StopTimer();
  if (!ClaimInitSlots(gaugeProgress_, gaugeMax_)) StartTimer(kRetryMs);
}

bool TsgEngineInitOrder::ClaimInitSlots(int progress, int maximum) {
  if (asynchronous_) return true;
  const intptr_t t = Identity();
  const bool complete = progress == maximum;
  const intptr_t s1 = TanEngineInitSlots::Read(1);
  const intptr_t s2 = TanEngineInitSlots::Read(2);
  const intptr_t s3 = TanEngineInitSlots::Read(3);
  auto heldByOther = [t](intptr_t s) { return s != 0 && s != t; };

  if (tile_.IsSelected()) {
    if (complete) {
      if (s1 == t)
        for (int slot = 1; slot <= 3; ++slot) TanEngineInitSlots::Exchange(slot, 0);
      return true;
    }
    if (s1 == t) return true;
    return Claim();
  }
  if (tile_.IsShown()) {
    if (complete) {
      if (heldByOther(s1) || s2 != t) return true;
      if (s1 == t) TanEngineInitSlots::Exchange(1, 0);
      TanEngineInitSlots::Exchange(2, 0);
      TanEngineInitSlots::Exchange(3, 0);
      return true;
    }
    if (s1 == t && s2 == t) return true;
    if (s1 != 0 || s2 != 0) return Pause();
    return Claim();
  }
  if (complete) {
    if (heldByOther(s1) || heldByOther(s2) || s3 != t) return true;
    if (s1 == t) TanEngineInitSlots::Exchange(1, 0);
    if (s2 == t) TanEngineInitSlots::Exchange(2, 0);
    TanEngineInitSlots::Exchange(3, 0);
    return true;
  }
  if (s1 == t && s2 == t && s3 == t) return true;
  if (s1 != 0 || s2 != 0 || s3 != 0) return Pause();
  return Claim();
}

void TsgEngineInitOrder::Release() {
  StopTimer();
  TanEngineInitSlots::ReleaseHeldBy(Identity());
}

bool TsgEngineInitOrder::Claim() {
  const intptr_t t = Identity();
  for (int slot = 1; slot <= 3; ++slot) TanEngineInitSlots::Exchange(slot, t);
  return PostToEngine(ORN_image::engine_msg::kResumeInitialisation);
}

bool TsgEngineInitOrder::Pause() {
  PostToEngine(ORN_image::engine_msg::kPauseInitialisation);
  return false;
}

bool TsgEngineInitOrder::PostToEngine(uint32_t message) {
  const platform::WindowHandle engine = tile_.EngineWindow();
  // Without an engine window the post goes nowhere and, as on Win32, still succeeds.
  const bool posted = engine == 0 || platform::PostMessage(engine, message, 0, 0);
  if (OnEngineMessage) OnEngineMessage(message, engine, posted);
  return posted;
}

void TsgEngineInitOrder::StartTimer(uint32_t ms) {
  const platform::WindowHandle window = tile_.TileWindow();
  if (window == 0) return;
  if (timerRunning_ && timerWindow_ != window) StopTimer();
  if (platform::SetTimer(window, static_cast<uintptr_t>(Identity()), ms) != 0) {
    timerRunning_ = true;
    timerWindow_ = window;
  }
}

void TsgEngineInitOrder::StopTimer() {
  if (!timerRunning_) return;
  platform::KillTimer(timerWindow_, static_cast<uintptr_t>(Identity()));
  timerRunning_ = false;
  timerWindow_ = 0;
}

}  // namespace ORN_browser
