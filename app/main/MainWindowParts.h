// The parts of the main window that other subsystems build: the studies panel with its study
// boxes (the study browser over the real stack tiles) and the client area with the real stack
// windows. The parts live as long as the program.
#pragma once

#include "app/main/StudiesPanel.h"
#include "app/main/TileHost.h"
#include "app/mainwindow/iSTUDIES_PANEL.h"

namespace vistrel_program {

struct TProgramParts {
  TVistrelTileHost TileHost;
  ORN_browser::TStudyBrowserHost BrowserHost;
};

// Fills the hosts from the main window's resources and returns the window's factories.
inline vistrel_main::TMainWindowParts MainWindowParts(TProgramParts& parts, const app::TGuiResources& gui) {
  parts.TileHost.Gui = gui;
  parts.BrowserHost.Gui = gui;
  parts.BrowserHost.MakeTileSet = ORN_browser::MakeStackInfoSets();
  vistrel_main::TMainWindowParts result;
  result.MakeStudiesPanel = [&parts]() -> std::unique_ptr<vistrel_main::iSTUDIES_PANEL> {
    return std::make_unique<TStudiesPanelOf>(parts.BrowserHost, parts.TileHost);
  };
  result.MakeClientArea = [&parts]() -> std::unique_ptr<vistrel_main::iCLIENT_AREA> {
    return std::make_unique<TTiledClientArea>(parts.TileHost);
  };
  return result;
}

}  // namespace vistrel_program
