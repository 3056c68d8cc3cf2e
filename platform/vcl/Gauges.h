// The sample gauge control: a horizontal bar from MinValue to MaxValue filled to Progress,
// with the percentage written on it.
#pragma once

#include "platform/vcl/Controls.h"

class TGauge : public TControl {
 public:
  explicit TGauge(TComponent* AOwner);
  int MinValue = 0;
  int MaxValue = 100;
  int Progress() const { return FProgress; }
  void SetProgress(int progress);  // clamped to MinValue..MaxValue
  void AddProgress(int value) { SetProgress(FProgress + value); }
  int PercentDone() const;
  TColor ForeColor = clNavy;
  TColor BackColor = clWhite;
  bool ShowText = true;
  bool WidgetEvent(QEvent* event) override;

 private:
  int FProgress = 0;
};
using TCGauge = TGauge;
