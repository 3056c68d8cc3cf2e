// What the main window uses of the studies panel and its study boxes (the study browser's
// TFrameStudyBoxFrameSet and TFrameStudyBox). The main window makes a panel through the
// factory the program installs (TMainWindowParts) and talks to it through these interfaces.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/vcl/DibSection.h"

class TBitmap;
class TControl;
namespace app {
class TResourceInitialization;
}

namespace vistrel_main {

using app::TResourceInitialization;

class iSTACK_WINDOW;
class iCLIENT_AREA;

// The description of one stack tile, filled by the main window.
struct TStackTileDescription {
  int32_t StudyIndex = -1;
  int32_t SeriesIndex = -1;
  int32_t StackIndex = -1;
  platform::HBITMAP Icon = nullptr;  // handed to the tile, which frees it
  int32_t SeriesNumber = 0;
  int32_t ImageCount = 0;
  std::wstring MainLabel;
  std::string SeriesDate, SeriesTime, Modality, BodyPart;
  std::wstring Description;
};

// The study box's callbacks that the main window binds.
struct TStudyBoxCallbacks {
  std::function<bool(int32_t study, int32_t stack, TStackTileDescription& description)> TileDescription;
  std::function<bool(int32_t study, int32_t series, int32_t stack, bool lossy, std::ostream& images,
                     std::ostream& presentationStates, std::ostream& frames, std::string& key)>
      EngineFileLists;
  std::function<bool(iSTACK_WINDOW& window)> PlaceNewWindow;
  std::function<bool(iSTACK_WINDOW& window, int32_t cell)> PlaceWindowInCell;
};

class iSTUDY_BOX {
 public:
  virtual ~iSTUDY_BOX() = default;
  // A non-empty text shows the attachments button, which calls `open` with the text.
  virtual void SetAttachments(const std::string& text, std::function<void(const std::string&)> open) = 0;
  virtual void SetStatusHint(const std::wstring& hint) = 0;
  virtual void SetStatusImage(bool show, TBitmap* bitmap) = 0;
  virtual void ApplyGuiSettings(TResourceInitialization* resources) = 0;
  // -1 hides the lossy button; otherwise shown, down for a value other than 0.
  virtual void SetLossyState(int state) = 0;
  virtual void SetCallbacks(const TStudyBoxCallbacks& callbacks) = 0;
};

// The studies panel's callbacks that the main window binds (the others stay unbound until
// their owners exist).
struct TStudiesPanelCallbacks {
  // A box was closed or reopened.
  std::function<void(bool enabled)> StudyBoxEnabledChanged;
};

class iSTUDIES_PANEL {
 public:
  virtual ~iSTUDIES_PANEL() = default;
  virtual TControl* Control() = 0;
  virtual void SetCallbacks(const TStudiesPanelCallbacks& callbacks) = 0;
  // The new box, inserted first or appended; owned by the panel.
  virtual iSTUDY_BOX* AddStudyFirst(const std::wstring& title, int32_t study, int32_t stackCount) = 0;
  virtual iSTUDY_BOX* AddStudyLast(const std::wstring& title, int32_t study, int32_t stackCount) = 0;
  virtual int GetStackCount() = 0;
  virtual int GetPreferredWidth() = 0;
  virtual void ReverseStudyOrder() = 0;
  virtual void StopStudyNavigators() = 0;
};

// How the program makes the parts of the main window that other subsystems build; an empty
// factory leaves that part out (the window then shows no study boxes, or no cells).
struct TMainWindowParts {
  std::function<std::unique_ptr<iSTUDIES_PANEL>()> MakeStudiesPanel;
  std::function<std::unique_ptr<iCLIENT_AREA>()> MakeClientArea;
};

}  // namespace vistrel_main
