// A stack tile's share of the engine-initialisation order: its progress gauge, its claim on
// the three process-wide slots, and the retry timer of a tile whose engine was told to wait.
// The tile owns one, forwards its 0x8400 progress reports and its WM_TIMER messages here, and
// calls Release when its engine stops or the tile goes, so a tile that is gone never holds
// the slots or keeps a timer.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/windows/WindowTypes.h"

namespace ORN_browser {

// What the order needs of its tile.
class iINIT_ORDER_TILE {
 public:
  virtual ~iINIT_ORDER_TILE() = default;
  virtual bool IsSelected() const = 0;
  virtual bool IsShown() const = 0;
  // The engine's window while it runs, 0 otherwise.
  virtual platform::WindowHandle EngineWindow() = 0;
  // The tile's own window, which gets the retry timer's WM_TIMER.
  virtual platform::WindowHandle TileWindow() = 0;
};

class TsgEngineInitOrder {
 public:
  static constexpr uint32_t kFirstRetryMs = 200;
  static constexpr uint32_t kRetryMs = 500;

  // `asynchronous`: [GUI_DEFAULTS] PixtraneAsynchronousMode; `gaugeVisible`:
  // StackInitProgressBarVisible (both true when the key is missing).
  TsgEngineInitOrder(iINIT_ORDER_TILE& tile, bool asynchronous, bool gaugeVisible);
  ~TsgEngineInitOrder();
  TsgEngineInitOrder(const TsgEngineInitOrder&) = delete;
  TsgEngineInitOrder& operator=(const TsgEngineInitOrder&) = delete;

  // The tile's identity in the slots and the id of its timer.
  intptr_t Identity() const { return reinterpret_cast<intptr_t>(this); }

  void OnInitProgress(platform::LParam lParam);
  // WM_TIMER of the tile's window; other ids are ignored.
  void OnTimer(uintptr_t timerId);
  // True when the engine may go on (or has finished), false when it was told to pause.
  bool ClaimInitSlots(int progress, int maximum);
  // The engine stopped or the tile goes: the retry timer ends and the slots this tile holds
  // are given back.
  void Release();

  int GaugeMin() const { return gaugeMin_; }
  int GaugeMax() const { return gaugeMax_; }
  int GaugeProgress() const { return gaugeProgress_; }
  bool GaugeShown() const { return gaugeShown_; }
  bool TimerRunning() const { return timerRunning_; }
  bool Asynchronous() const { return asynchronous_; }

  // Called after each pause (0x812D) or resume (0x812E) sent to the engine's window (0 when
  // the engine has none), with whether the post went out; for the log and the tests.
  std::function<void(uint32_t message, platform::WindowHandle engine, bool posted)> OnEngineMessage;

 private:
  bool Claim();
  bool Pause();
  bool PostToEngine(uint32_t message);
  void StartTimer(uint32_t ms);
  void StopTimer();

  iINIT_ORDER_TILE& tile_;
  bool asynchronous_;
  bool gaugeVisible_;
  int gaugeMin_ = 0;
  int gaugeMax_ = 100;
  int gaugeProgress_ = 0;
  bool gaugeShown_ = false;
  bool timerRunning_ = false;
  platform::WindowHandle timerWindow_ = 0;
};

}  // namespace ORN_browser
