// What the study boxes and the studies panel use of the main window: its colours, fonts and
// GUI scale, whether the program runs with a session number, its dynamic-hint store, the
// width of its studies panel, and the tile sets of the studies. The main window fills one
// and hands it to the panel, which hands it to every box it makes.
#pragma once

#include <functional>
#include <string>

#include "app/mainwindow/GuiScaling.h"
#include "browser/studies/StudyTiles.h"

namespace ORN_browser {

struct TStudyBrowserHost {
  app::TGuiResources Gui;
  // The command line gave a session number.
  bool SessionMode = false;
  // The dynamic-hint store (key, text); empty when the main window has none.
  std::function<void(const System::AnsiString& key, const std::wstring& text)> SetDynamicHint;
  // The studies panel takes this content width (a box finished building its tiles).
  std::function<void(int contentWidth)> FitStudiesPanelWidth;
  // The studies panel takes its content width or its remembered width (a box was collapsed
  // or expanded); the argument is the main window's minimise-to-icons state.
  std::function<void(bool minimizeToIcons)> SetStudiesPanelWidth;
  std::function<bool()> IsMinimizeToIconsDown;
  // Makes a study's tile set; a box without one has no tiles.
  TTileSetFactory MakeTileSet;
  // The program's path, whose "<exe>.ini" holds the memory supervisor's settings; empty: the
  // running program's.
  std::string ProgramPath;
};

}  // namespace ORN_browser
