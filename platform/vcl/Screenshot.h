// Pictures of windows for a person to look at: read back from the screen when a display
// server shows the windows (what a user sees, windows above included), otherwise rendered
// from the control's widgets (the offscreen platform has no screen to read).
#pragma once

#include <string>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Menus.h"

// Waits (serving events, at most `timeoutMs`) until the window is on the screen.
bool WaitUntilExposed(TControl* window, int timeoutMs);
// Saves a PNG of a shown control with `margin` pixels around it from the screen; the folder
// is made when missing. False when nothing could be written.
bool SaveScreenshot(TControl* control, const std::string& path, int margin = 0);
// "xcb" or "offscreen": the platform the pictures come from.
std::string ScreenPlatformName();
// Saves a PNG of a shown popup menu with its open submenus over the window behind it.
bool SaveMenuScreenshot(TPopupMenu* menu, TControl* background, const std::string& path);
