// What a stack window shares with the frames it is linked to, and how its shown image follows
// theirs. Embedded in the window's context menu, which reads it from the GUI defaults and
// changes it through its link items; the window reads it before passing a change on.
#pragma once

#include <cstdint>

// A stack whose engine reports more frames per second than this (with more than two images)
// plays as a cine: it is linked by time, and its reference times are index / frame rate.
// Below or at it, times stay 0. One threshold for both, so the two never disagree.
constexpr int kCineFrameRateThreshold = 5;

inline bool IsCineFrameRate(double framesPerSecond) { return framesPerSecond > kCineFrameRateThreshold; }

class SLinkOptions {
 public:
  virtual ~SLinkOptions() = default;

  virtual bool LinkByZoom() const { return FLinkByZoom; }
  virtual bool LinkByVoi() const { return FLinkByVoi; }
  virtual bool LinkByPan() const { return FLinkByPan; }
  virtual bool LinkBySpatialTransform() const { return FLinkBySpatialTransform; }
  virtual bool LinkByNavigation() const { return FLinkByNavigation; }
  virtual int32_t Automated() const { return FAutomated; }
  virtual bool NavigateByIndex() const { return FNavigateByIndex; }
  virtual bool NavigateByPosition() const { return FNavigateByPosition; }
  virtual bool NavigateByTime() const { return FNavigateByTime; }

  virtual void SetLinkByZoom(bool v) { FLinkByZoom = v; }
  virtual void SetLinkByVoi(bool v) { FLinkByVoi = v; }
  virtual void SetLinkByPan(bool v) { FLinkByPan = v; }
  virtual void SetLinkBySpatialTransform(bool v) { FLinkBySpatialTransform = v; }
  virtual void SetLinkByNavigation(bool v) { FLinkByNavigation = v; }
  virtual void SetAutomated(int32_t v) { FAutomated = v; }
  // Index is derived by the callers from the automated value; it may stand beside position.
  virtual void SetNavigateByIndex(bool v) { FNavigateByIndex = v; }
  // Position and time exclude each other and index: setting one clears the two others.
  virtual void SetNavigateByPosition(bool v) {
    FNavigateByPosition = v;
    if (v) FNavigateByIndex = FNavigateByTime = false;
  }
  virtual void SetNavigateByTime(bool v) {
    FNavigateByTime = v;
    if (v) FNavigateByIndex = FNavigateByPosition = false;
  }

  virtual void SetLinkEnabled(bool v) { FLinkEnabled = v; }
  virtual bool LinkEnabled() const { return FLinkEnabled; }
  virtual void SetLinkVisible(bool v) { FLinkVisible = v; }
  virtual bool LinkVisible() const { return FLinkVisible; }

 private:
  bool FLinkByZoom = true;
  bool FLinkByVoi = true;
  bool FLinkByPan = true;
  bool FLinkBySpatialTransform = true;
  bool FLinkByNavigation = true;
  int32_t FAutomated = 1;
  bool FNavigateByIndex = false;
  bool FNavigateByPosition = false;
  bool FNavigateByTime = false;
  bool FLinkEnabled = true;
  bool FLinkVisible = true;
};
