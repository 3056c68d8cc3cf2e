// Saves a picture of a shown control as PNG: read back from the screen when a display server
// shows the windows (so what a person sees, windows above it included), otherwise rendered
// from the control's widgets (the offscreen platform has no screen to read).
#pragma once

#include <string>

#include "platform/vcl/Controls.h"

// `margin` pixels around the control are included from the screen. False when nothing could
// be written.
bool SaveScreenShot(TControl* control, const std::string& pngPath, int margin = 0);
