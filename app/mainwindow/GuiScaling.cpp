#include "app/mainwindow/GuiScaling.h"

namespace app {

namespace {
int Times(int value, double scale) { return static_cast<int>(value * scale); }
}  // namespace

void ScaleControl(TControl* control, double scale) {
  if (!control || scale == 1.0) return;
  control->SetBounds(Times(control->Left(), scale), Times(control->Top(), scale), Times(control->Width(), scale),
                     Times(control->Height(), scale));
}

void ApplyScaledFont(TControl* control, const TvsFontEntry& font, double scale) {
  if (!control) return;
  control->Font.Name = font.Name;
  control->Font.Size = Times(font.Size, scale);
  control->FontChanged();
  control->SetBounds(Times(control->Left(), scale), Times(control->Top(), scale), control->Width(), control->Height());
}

}  // namespace app
