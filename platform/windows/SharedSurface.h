// The pixels of a window that another process draws (the rendering engine draws the picture
// of a work-area panel). The drawer creates a surface named after the window's handle and a
// generation of its own, draws 32-bit pixels (0xAARRGGBB) into it, and posts or sends
// kWmSurfaceChanged to the window with wParam = the generation; the window's side opens that
// generation (again only when it changes, that is when the drawer changed the size) and
// copies the pixels out. A sequence counter lets the copy see whole frames only.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/windows/WindowTypes.h"

namespace platform {

class NamedFileMapping;
class MappedView;

// The repaint notice: wParam = the surface generation, lParam = height << 16 | width.
constexpr uint32_t kWmSurfaceChanged = 0x7F00;

class SharedSurface {
 public:
  // A surface of width x height pixels for the window, under a new generation. Null on
  // failure (sizes from 1 to 16384).
  static std::unique_ptr<SharedSurface> Create(WindowHandle window, int width, int height);
  static std::unique_ptr<SharedSurface> Open(WindowHandle window, uint64_t generation);

  ~SharedSurface();
  SharedSurface(const SharedSurface&) = delete;
  SharedSurface& operator=(const SharedSurface&) = delete;

  uint64_t Generation() const { return generation_; }
  int Width() const;
  int Height() const;
  // 0xAARRGGBB, rows of Width() pixels, top row first.
  uint32_t* Pixels();

  // The drawer brackets each frame; a copy never mixes two frames.
  void BeginDraw();
  void EndDraw();
  // Copies a whole frame into `out` (Width() x Height() pixels); false when the drawer kept
  // drawing throughout.
  bool CopyFrame(uint32_t* out) const;
  // The lParam of the notice for this surface.
  LParam NoticeSize() const;

 private:
  struct Header;
  SharedSurface(std::unique_ptr<NamedFileMapping> mapping, std::unique_ptr<MappedView> view, uint64_t generation);
  Header* header() const;

  std::unique_ptr<NamedFileMapping> mapping_;
  std::unique_ptr<MappedView> view_;
  uint64_t generation_;
};

}  // namespace platform
