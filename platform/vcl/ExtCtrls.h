// Panels, splitters, scroll boxes, paint boxes, images and timers.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrls.h"

class QTimer;

enum TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* AOwner);
  TBevelCut BevelOuter = bvRaised;
  TBevelCut BevelInner = bvNone;
  TAlignment Alignment = taCenter;
  void SetCaption(const System::WideString& caption) override;
  bool WidgetEvent(QEvent* event) override;
};
using TTntPanel = TPanel;

// Dragging the splitter resizes the aligned control it sits against.
class TSplitter : public TControl {
 public:
  explicit TSplitter(TComponent* AOwner);
  int MinSize = 30;
  TNotifyEvent OnMoved;
  // Moves the splitter by `delta` pixels, as a drag does.
  void MoveBy(int delta);
  bool WidgetEvent(QEvent* event) override;

 private:
  TControl* Neighbour() const;
  int FDragStart = -1;
};

class TScrollBox : public TWinControl {
 public:
  explicit TScrollBox(TComponent* AOwner);
  void AlignControls() override;
  // The vertical scroll bar: position (clamped to its range), whether it shows, its width.
  int VertPosition() const;
  void SetVertPosition(int position);
  bool VertScrollBarVisible() const;
  int VertScrollBarSize() const;
  void SetVertScrollBarSize(int size);

 private:
  QWidget* ChildHost() const override;
};

class TPaintBox : public TControl {
 public:
  explicit TPaintBox(TComponent* AOwner);
  // Valid while OnPaint runs.
  TCanvas* Canvas() { return &FCanvas; }
  TNotifyEvent OnPaint;
  bool WidgetEvent(QEvent* event) override;

 private:
  TCanvas FCanvas;
};

class TImage : public TControl {
 public:
  explicit TImage(TComponent* AOwner);
  TBitmap* Picture() { return &FPicture; }
  bool Stretch = false;
  bool Center = false;
  bool Transparent = false;
  bool WidgetEvent(QEvent* event) override;

 private:
  TBitmap FPicture;
};

// Runs OnTimer every Interval milliseconds on the GUI thread while Enabled (also inside modal
// loops).
class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  int Interval() const { return FInterval; }
  void SetInterval(int interval);
  TNotifyEvent OnTimer;

 private:
  void Update();
  QTimer* FTimer;
  bool FEnabled = true;
  int FInterval = 1000;
};
