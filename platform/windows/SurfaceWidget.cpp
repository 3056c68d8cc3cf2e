#include "platform/windows/SurfaceWidget.h"

#include <QPainter>

#include "platform/windows/SharedSurface.h"

namespace platform {

SurfaceWidget::SurfaceWidget(QWidget* parent)
    : QWidget(parent), window_([this](uint32_t m, WParam w, LParam l) { return Procedure(m, w, l); }) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

SurfaceWidget::~SurfaceWidget() = default;

LResult SurfaceWidget::Procedure(uint32_t message, WParam wParam, LParam lParam) {
  if (message == kWmSurfaceChanged) {
    TakeFrame(static_cast<uint64_t>(wParam));
    return 1;
  }
  return procedure_ ? procedure_(message, wParam, lParam) : 0;
}

void SurfaceWidget::TakeFrame(uint64_t generation) {
  if (!surface_ || surface_->Generation() != generation) {
    surface_ = SharedSurface::Open(Handle(), generation);
    if (!surface_) return;
  }
  const QSize size(surface_->Width(), surface_->Height());
  if (back_.size() != size) back_ = QImage(size, QImage::Format_RGB32);
  if (!surface_->CopyFrame(reinterpret_cast<uint32_t*>(back_.bits()))) return;
  std::swap(frame_, back_);
  ++framesTaken_;
  repaint();
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (frame_.isNull()) painter.fillRect(rect(), Qt::black);
  else painter.drawImage(rect(), frame_);
}

}  // namespace platform
