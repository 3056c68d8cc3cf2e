// What a stack tile uses of its stack window (the image frame of an open stack), and the
// requests the window makes of its tile. The stack window itself lives with the image frames;
// the main window makes one for a tile through iTILE_HOST and adapts it to this interface.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/vcl/Classes.h"
#include "platform/windows/WindowTypes.h"

class TBitmap;

namespace ORN_browser {

class iTILE_STACK_WINDOW;

// The window's requests, each installed by the tile; an empty one is skipped by the window.
// The derived-series and secondary-capture requests carry the window's own record, which the
// tile and its owners pass on unchanged.
struct TStackWindowRequests {
  std::function<bool(const void* request)> MprSeries;
  std::function<bool(const void* request)> SecondaryCapture;
  std::function<void(const void* data, uint32_t size, iTILE_STACK_WINDOW* window)> KeyImageAdded;
  std::function<bool(const std::wstring& keyImage)> KeyImageRemoved;
  std::function<bool(int imageIndex, std::string& text, std::string& fileName)> ImageFile;
  std::function<bool(bool lossy)> StackLossy;
  std::function<int(bool lossy)> StudyLossy;
  // The tile's three indexes; left as the caller set them when no tile answers.
  std::function<void(int& study, int& series, int& stack)> StackIndexes;
  std::function<void(int x, int y, uint16_t delta, uint16_t keys)> WheelOutside;
  std::function<void()> LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp;
  std::function<void()> BeforeFirstImage, PastLastImage;
};

class iTILE_STACK_WINDOW {
 public:
  virtual ~iTILE_STACK_WINDOW() = default;

  virtual platform::WindowHandle Handle() = 0;
  // The work-area panel the engine draws into; 0 when the window has none.
  virtual platform::WindowHandle PanelHandle() = 0;
  // The window's cell of the client area, -1 when it is in none.
  virtual int CellIndex() const = 0;
  virtual bool IsVisible() const = 0;
  // The client rectangle in screen coordinates; false when it cannot be had.
  virtual bool GetScreenClientRect(TRect& rect) = 0;

  virtual void SetRequests(const TStackWindowRequests& requests) = 0;
  virtual void SetKeyImageSeries(bool keyImages) = 0;
  virtual void SetDragIcon(TBitmap* picture) = 0;
  virtual void SetSeriesCaption(const std::wstring& caption) = 0;

  virtual bool IsEngineReady() const = 0;
  virtual bool IsEngineFailed() const = 0;
  virtual int CurrentImage() const = 0;
  // Moves to the image once the engine is ready; the window waits for its engine itself.
  virtual bool GoToImage(int index) = 0;
  virtual void SetMaximizedButton(bool notMaximized) = 0;
  // Clears the ready state and has the engine initialise again.
  virtual void ReinitializeEngine() = 0;
};

}  // namespace ORN_browser
