// A picture of a window for a person to look at: the screen under the control when it runs
// on an X server (what a user sees, other windows included), else the control's own
// rendering. Written as PNG; the folder is made when missing.
#pragma once

#include <string>

class TWinControl;

namespace platform {

bool SaveScreenshot(TWinControl* control, const std::string& path);

}  // namespace platform
