// One cell of the client area's matrix, over the stack-window type W. A cell marks its
// rectangle on the area's desk and holds at most one window, which it does not own; while it
// holds one it installs its own handlers in the window's cell closures and passes the
// window's requests on through the twelve callbacks below, with its index added where needed.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/vcl/Classes.h"
#include "platform/windows/WindowTypes.h"

template <class W>
class iMATRIX_CELL {
 public:
  // Owner callbacks, empty until the owner installs them; an empty one is skipped.
  std::function<void(int cellIndex)> OnToggleMaximize;
  std::function<bool(W* sender, double factor)> OnLinkedZoom;
  std::function<bool(W* sender, double a, double b)> OnLinkedVoi;
  std::function<bool(W* sender, double a, double b)> OnLinkedPan;
  std::function<bool(W* sender)> OnLinkedRotateLeft;
  std::function<bool(W* sender)> OnLinkedRotateRight;
  std::function<bool(W* sender)> OnLinkedFlipHorizontal;
  std::function<bool(W* sender)> OnLinkedFlipVertical;
  std::function<bool(W* sender, int delta)> OnLinkedImageStep;
  std::function<bool(W* sender, uint8_t positionKind, double delta)> OnLinkedPositionStep;
  std::function<bool(W* sender, double delta)> OnLinkedTimeStep;
  std::function<void(int cellIndex, int& count, int& row, int& column)> OnQueryCellPosition;

  virtual int GetLeft() const = 0;
  virtual void SetLeft(int value) = 0;
  virtual int GetTop() const = 0;
  virtual void SetTop(int value) = 0;
  virtual int GetWidth() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual int GetHeight() const = 0;
  virtual void SetHeight(int value) = 0;
  virtual bool IsVisible() const = 0;
  virtual void SetVisible(bool value) = 0;
  virtual bool IsMaximized() const = 0;
  virtual void SetMaximized(bool value) = 0;
  virtual void GetBounds(int& left, int& top, int& width, int& height) const = 0;
  virtual void SetBounds(int left, int top, int width, int height) = 0;
  virtual bool HasWindow() const = 0;
  // Holds `window` (null empties the cell), detaching the window held before; true when the
  // cell holds a window now.
  virtual bool AttachWindow(W* window) = 0;
  virtual void SwapWindows(iMATRIX_CELL* other) = 0;
  virtual void ReleaseWindow() = 0;
  virtual platform::WindowHandle GetWindowHandle() = 0;
  virtual W* GetWindow() const = 0;
  virtual int GetIndex() const = 0;
  virtual bool ContainsScreenPoint(const TPoint& point) const = 0;
  virtual void SetIndex(int index) = 0;
  virtual void SetHighlight(bool on) = 0;
  virtual ~iMATRIX_CELL() = default;
};
