// A panel that another process draws into, with its input delivered as Win32 messages:
// the panel paints the shared surface (platform/windows SharedSurface) of its own window
// handle, and its widget events reach `PanelProc` as the messages Win32 would deliver
// (WM_MOUSEMOVE, button downs, ups and double clicks, WM_MOUSEWHEEL with screen
// coordinates, WM_SIZE, WM_PAINT), just as messages other windows send or post to it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/vcl/ExtCtrls.h"

class TSurfacePanel : public TPanel {
 public:
  explicit TSurfacePanel(TComponent* AOwner);
  ~TSurfacePanel() override;

  // The window procedure of the panel: every message, whether from a widget event or from
  // another window. The default handles nothing (0).
  virtual platform::LResult PanelProc(uint32_t message, platform::WParam wParam, platform::LParam lParam);

  // The last frame taken from the surface: width, height and 0xAARRGGBB pixels; false before
  // the first notice.
  bool Frame(int& width, int& height, std::vector<uint32_t>& pixels) const;
  uint64_t FramesTaken() const { return FFramesTaken; }
  // Mouse capture as SetCapture and ReleaseCapture: the panel keeps the mouse while set.
  void SetMouseCapture(bool capture);
  bool MouseCaptured() const { return FCaptured; }

  bool WidgetEvent(QEvent* event) override;

 private:
  void TakeFrame(uint64_t generation);
  struct Surface;
  std::unique_ptr<Surface> FSurface;
  uint64_t FFramesTaken = 0;
  bool FCaptured = false;
  bool FPaintingFrame = false;  // a repaint for a new frame is no WM_PAINT of the system
};
