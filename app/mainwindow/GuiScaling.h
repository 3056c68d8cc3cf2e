// What the main window's own small windows read of its GUI resources (its colours, fonts and
// scale factor), and the two scaling steps the main window applies to controls.
#pragma once

#include "app/startup/ColorsAndFonts.h"
#include "platform/vcl/Controls.h"

namespace app {

struct TGuiResources {
  const TvsColors* Colors = nullptr;  // none: every control keeps its colour
  const TvsFonts* Fonts = nullptr;    // none: the built-in entries
  double Scale = 1.0;                 // the fonts' gui_ratio
};

// Top, left, height and width times the scale (truncated) when it is not 1.
void ScaleControl(TControl* control, double scale);

// Gives the control the font entry's name and its size times the scale, and moves its top and
// left by the scale (truncated); width and height stay. Applied at every scale.
void ApplyScaledFont(TControl* control, const TvsFontEntry& font, double scale);

}  // namespace app
