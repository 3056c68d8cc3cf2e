#include "platform/vcl/Gauges.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

TGauge::TGauge(TComponent* AOwner) : TControl(AOwner, new QWidget) { Widget()->resize(100, 20); }

void TGauge::SetProgress(int progress) {
  FProgress = std::clamp(progress, MinValue, std::max(MinValue, MaxValue));
  Invalidate();
}

int TGauge::PercentDone() const {
  const long range = static_cast<long>(MaxValue) - MinValue;
  return range <= 0 ? 0 : static_cast<int>((static_cast<long>(FProgress) - MinValue) * 100 / range);
}

bool TGauge::WidgetEvent(QEvent* event) {
  if (event->type() != QEvent::Paint || !Widget()) return TControl::WidgetEvent(event);
  QPainter painter(Widget());
  TCanvas canvas;
  canvas.BindPainter(&painter);
  const TRect r = ClientRect();
  canvas.Brush.Color = BackColor;
  canvas.FillRect(r);
  const int filled = r.Width() * PercentDone() / 100;
  canvas.Brush.Color = ForeColor;
  canvas.FillRect(Rect(0, 0, filled, r.Height()));
  canvas.Pen.Color = clGray;
  canvas.Brush.Style = bsClear;
  canvas.Rectangle(0, 0, r.Width(), r.Height());
  if (ShowText) {
    canvas.Font = Font;
    canvas.Font.Color = PercentDone() >= 50 ? clWhite : clBlack;
    TRect box = r;
    DrawText(canvas, std::to_wstring(PercentDone()) + L"%", box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
  canvas.BindPainter(nullptr);
  return true;
}
