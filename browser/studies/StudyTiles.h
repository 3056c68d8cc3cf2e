// What a study box and the studies panel use of a study's tile set and its stack tiles: the
// description of one stack, the tile and tile-set operations they call, and the closures
// through which tiles report. The tile set of browser/tiles is seen through these two
// interfaces, so the box neither knows how a tile draws itself nor how it runs its engine.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <memory>
#include <string>

#include "browser/supervisor/ReleaseOldestHiddenStack.h"
#include "platform/vcl/DibSection.h"
#include "platform/vcl/SystemTypes.h"
#include "platform/windows/WindowTypes.h"

class TControl;

namespace app {
class iRESOURCE_INITIALIZATION;
}

namespace ORN_browser {

// The description of one display stack that the main window fills for a study box.
struct STACK_INFO_INIT_STRUCT {
  int32_t StudyIndex = 0;
  int32_t SeriesIndex = 0;
  int32_t StackIndex = 0;
  platform::HBITMAP Icon = nullptr;  // taken over by the tile that is filled from it
  int32_t SeriesNumber = 0;
  int32_t ImageCount = 0;
  std::wstring Protocol;
  System::AnsiString Date;
  System::AnsiString Time;
  System::AnsiString Modality;
  System::AnsiString BodyPart;
  std::wstring Description;
};

// The stack window of a tile, as the tiles see it.
class iTILE_STACK_WINDOW;

class iSTACK_TILE : public iSUPERVISED_STACK {
 public:
  // The tile's frame, for placement and scrolling.
  virtual TControl* Control() = 0;
  // Puts the description into the tile (the icon is taken over) and makes it usable.
  virtual void Fill(const STACK_INFO_INIT_STRUCT& info) = 0;
  virtual void SetShown(bool shown) = 0;
  virtual bool IsSelected() const = 0;
  // Selects (true) or unselects the tile and tells its stack window.
  virtual void NotifyActivation(bool activate) = 0;
  virtual bool GoToImage(int index) = 0;
  // The stack window's current image while its engine is ready; -1 otherwise.
  virtual int GetCurrentImage() = 0;
  // 1 lossy, 0 or -1 lossless.
  virtual void SetLossy(int mode) = 0;
  virtual bool IsLossyWanted() const = 0;
  virtual bool IsKeyImageTile() const = 0;
  virtual int GetTransientKeyImageCount() const = 0;
  virtual void SaveTransientKeyImages() = 0;

  virtual int GetStudyIndex() const = 0;
  virtual int GetSeriesIndex() const = 0;
  virtual void SetSeriesIndex(int index) = 0;
  virtual int GetStackIndex() const = 0;
  virtual int GetImageCount() const = 0;
  virtual int GetKeyImageStackIndex() const = 0;
  virtual void SetKeyImageStackIndex(int index) = 0;
  // Left edge of the description panel, the margin right of it and the widest description
  // line: together the width the tile wants.
  virtual int GetInfoPanelLeft() const = 0;
  virtual int GetRightMargin() const = 0;
  virtual int GetWidestLabelWidth() const = 0;
  // The window handle of the tile's stack window; 0 when it has none.
  virtual platform::WindowHandle GetStackWindowHandle() = 0;
  // Offers a wheel turn at a screen point; true when the tile took it.
  virtual bool ForwardMouseWheel(int x, int y, int16_t delta, int16_t keyState) = 0;

  // Closures the study box installs on every tile it fills or inserts.
  std::function<bool(int study, int series, int stack, bool lossy, std::ostream& imageFiles,
                     std::ostream& stateFiles, std::ostream& frameIndexes, std::string& arguments)>
      OnEngineFilesRequest;
  std::function<bool(iTILE_STACK_WINDOW* window)> OnWindowCreated;
  std::function<bool(iTILE_STACK_WINDOW* window, int cell)> OnWindowCreatedInCell;
  std::function<int(bool lossy)> OnStudyLossyRequest;
  std::function<void(int x, int y, uint16_t delta, uint16_t keyState)> OnWheelOutside;
};

class iSTACK_TILE_SET {
 public:
  virtual ~iSTACK_TILE_SET() = default;
  virtual TControl* Control() = 0;
  virtual int Count() const = 0;
  // Raises std::out_of_range("deque") for an index outside the tiles.
  virtual iSTACK_TILE* Tile(int index) = 0;
  // One tile's height and the height of all tiles, both scaled.
  virtual int GetTileHeight() const = 0;
  virtual int GetFullHeight() const = 0;
  // The widest tile base width seen; never lowered.
  virtual int GetBaseWidth() const = 0;
  virtual void ReverseOrder() = 0;
  // A new tile at 0 <= position <= Count(), filled from the description and shown.
  virtual iSTACK_TILE* InsertStack(int position, const STACK_INFO_INIT_STRUCT& info) = 0;
  virtual void RemoveFirstStack() = 0;
  virtual void RemoveLastStack() = 0;
  // Removes and destroys the tile at the index (the key-image tile wherever it stands).
  virtual void RemoveStack(int index) = 0;
  virtual void SetAllShown(bool shown) = 0;
  virtual void ApplyGuiResources(app::iRESOURCE_INITIALIZATION* resources) = 0;
  // Raise std::out_of_range("deque") when nothing matches.
  virtual iSTACK_TILE* FindStackInfo(int study, int series, int stack) = 0;
  virtual iSTACK_TILE* GetKeyImageStack() = 0;
  // -1 without a key-image tile.
  virtual int GetKeyImageStackIndex() = 0;
  virtual bool AreAllStacksLossy() = 0;
  virtual bool HasLossyStack() = 0;

  // The tile notifications the study box takes.
  std::function<void(iSTACK_TILE* tile, bool synchronise)> OnTileSelected;
  // The stack window's requests pass on as the tiles give them (`request` is the window's
  // record, opaque here).
  std::function<bool(const void* request, iSTACK_TILE* tile)> OnMprSeriesRequest;
  std::function<bool(const void* request, iSTACK_TILE* tile)> OnSecondaryCaptureRequest;
  std::function<void(const void* data, uint32_t size, iTILE_STACK_WINDOW* window, iSTACK_TILE* tile)> OnKeyImageAdded;
  std::function<bool(const std::wstring& keyImage)> OnKeyImageRemoved;
  std::function<bool(int study, int series, int stack, int image, std::string& text, std::string& fileName)>
      OnImageFileRequest;
  std::function<bool(int study, int series, int stack)> OnSaveKeyImages;
  std::function<void(iSTACK_TILE* tile)> OnWorkAreaLeftDown, OnWorkAreaLeftUp, OnWorkAreaRightDown,
      OnWorkAreaRightUp, OnWorkAreaMiddleDown, OnWorkAreaMiddleUp;
  std::function<void()> OnPreviousStack, OnNextStack;
  std::function<bool(int study, int series, int stack)> OnPlaceStack;
};

// Makes the tile set of a study with `count` empty, hidden placeholder tiles.
using TTileSetFactory = std::function<std::unique_ptr<iSTACK_TILE_SET>(int count)>;

}  // namespace ORN_browser
