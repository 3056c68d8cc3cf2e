// A widget that is a window another process draws into: it has a window handle, paints the
// shared surface of that handle, and repaints on the drawer's notice. Messages other than
// the notice go to the procedure its owner installs.
#pragma once

#include <QImage>
#include <QWidget>

#include <memory>

#include "platform/windows/Window.h"

namespace platform {

class SharedSurface;

class SurfaceWidget : public QWidget {
 public:
  explicit SurfaceWidget(QWidget* parent = nullptr);
  ~SurfaceWidget() override;

  WindowHandle Handle() const { return window_.Handle(); }
  void SetProcedure(Window::Procedure procedure) { procedure_ = std::move(procedure); }
  // The last frame taken from the surface (null before the first notice).
  const QImage& Frame() const { return frame_; }
  // Number of notices that gave a new frame.
  uint64_t FramesTaken() const { return framesTaken_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  LResult Procedure(uint32_t message, WParam wParam, LParam lParam);
  void TakeFrame(uint64_t generation);

  Window window_;
  Window::Procedure procedure_;
  std::unique_ptr<SharedSurface> surface_;
  QImage frame_;
  QImage back_;  // the next frame is copied here, then the two swap
  uint64_t framesTaken_ = 0;
};

}  // namespace platform
