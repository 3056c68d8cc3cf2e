// Saves a picture of a shown window as PNG: grabbed from the screen when there is a real
// display (an X server, Xvfb), rendered from the widgets on the offscreen platform.
#pragma once

#include <string>

#include "platform/vcl/Controls.h"

// Waits (serving events, at most `timeoutMs`) until the window is on the screen.
bool WaitUntilExposed(TControl* window, int timeoutMs);
bool SaveScreenshot(TControl* window, const std::string& path);
// "xcb" or "offscreen": the platform the pictures come from.
std::string ScreenPlatformName();
