// The parts of the main window that other subsystems build: the studies panel with its study
// boxes and the client area with the stack windows. Each is joined here once it exists; until
// then the main window goes without it.
#pragma once

#include "app/mainwindow/iSTUDIES_PANEL.h"

namespace vistrel_program {

inline vistrel_main::TMainWindowParts MainWindowParts() { return {}; }

}  // namespace vistrel_program
