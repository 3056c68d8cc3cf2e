#include "platform/vcl/SurfacePanel.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWidget>

#include "platform/windows/SharedSurface.h"

namespace {
constexpr uint32_t kWmSize = 0x0005, kWmMouseMove = 0x0200, kWmLButtonDown = 0x0201, kWmLButtonUp = 0x0202,
                   kWmLButtonDblClk = 0x0203, kWmRButtonDown = 0x0204, kWmRButtonUp = 0x0205,
                   kWmRButtonDblClk = 0x0206, kWmMButtonDown = 0x0207, kWmMButtonUp = 0x0208,
                   kWmMButtonDblClk = 0x0209, kWmMouseWheel = 0x020A;
constexpr uint32_t kMkLButton = 0x0001, kMkRButton = 0x0002, kMkShift = 0x0004, kMkControl = 0x0008,
                   kMkMButton = 0x0010;

platform::WParam KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  platform::WParam w = 0;
  if (buttons & Qt::LeftButton) w |= kMkLButton;
  if (buttons & Qt::RightButton) w |= kMkRButton;
  if (buttons & Qt::MiddleButton) w |= kMkMButton;
  if (modifiers & Qt::ShiftModifier) w |= kMkShift;
  if (modifiers & Qt::ControlModifier) w |= kMkControl;
  return w;
}

platform::LParam PackedPoint(int x, int y) { return platform::LParam((uint32_t(uint16_t(y)) << 16) | uint16_t(x)); }
}  // namespace

struct TSurfacePanel::Surface {
  std::unique_ptr<platform::SharedSurface> Shared;
  QImage Frame, Back;
};

TSurfacePanel::TSurfacePanel(TComponent* AOwner) : TPanel(AOwner), FSurface(std::make_unique<Surface>()) {
  Widget()->setMouseTracking(true);
  WindowProc = [this](uint32_t m, platform::WParam w, platform::LParam l) -> platform::LResult {
    if (m == platform::kWmSurfaceChanged) {
      TakeFrame(uint64_t(w));
      return 1;
    }
    return PanelProc(m, w, l);
  };
}

TSurfacePanel::~TSurfacePanel() = default;

platform::LResult TSurfacePanel::PanelProc(uint32_t, platform::WParam, platform::LParam) { return 0; }

void TSurfacePanel::TakeFrame(uint64_t generation) {
  Surface& s = *FSurface;
  if (!s.Shared || s.Shared->Generation() != generation) {
    s.Shared = platform::SharedSurface::Open(Handle(), generation);
    if (!s.Shared) return;
  }
  const QSize size(s.Shared->Width(), s.Shared->Height());
  if (s.Back.size() != size) s.Back = QImage(size, QImage::Format_ARGB32);
  if (!s.Shared->CopyFrame(reinterpret_cast<uint32_t*>(s.Back.bits()))) return;
  std::swap(s.Frame, s.Back);
  ++FFramesTaken;
  if (Widget() != nullptr && Widget()->isVisible()) {
    FPaintingFrame = true;
    Widget()->repaint();
    FPaintingFrame = false;
  }
}

bool TSurfacePanel::Frame(int& width, int& height, std::vector<uint32_t>& pixels) const {
  const QImage& f = FSurface->Frame;
  if (f.isNull()) return false;
  width = f.width();
  height = f.height();
  pixels.assign(reinterpret_cast<const uint32_t*>(f.constBits()),
                reinterpret_cast<const uint32_t*>(f.constBits()) + size_t(width) * height);
  return true;
}

void TSurfacePanel::SetMouseCapture(bool capture) { FCaptured = capture; }

bool TSurfacePanel::WidgetEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::Paint: {
      if (FSurface->Frame.isNull()) {
        TPanel::WidgetEvent(event);
      } else {
        QPainter painter(Widget());
        painter.fillRect(Widget()->rect(), Qt::black);
        painter.drawImage(0, 0, FSurface->Frame);
      }
      if (!FPaintingFrame) PanelProc(platform::kWmPaint, 0, 0);
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      const QPoint p = e->position().toPoint();
      const platform::WParam keys = KeyState(e->buttons(), e->modifiers());
      uint32_t m = kWmMouseMove;
      const bool press = event->type() == QEvent::MouseButtonPress, dbl = event->type() == QEvent::MouseButtonDblClick;
      if (event->type() != QEvent::MouseMove) {
        switch (e->button()) {
          case Qt::LeftButton: m = dbl ? kWmLButtonDblClk : press ? kWmLButtonDown : kWmLButtonUp; break;
          case Qt::RightButton: m = dbl ? kWmRButtonDblClk : press ? kWmRButtonDown : kWmRButtonUp; break;
          case Qt::MiddleButton: m = dbl ? kWmMButtonDblClk : press ? kWmMButtonDown : kWmMButtonUp; break;
          default: return true;
        }
      }
      PanelProc(m, keys, PackedPoint(p.x(), p.y()));
      return true;
    }
    case QEvent::Wheel: {
      auto* e = static_cast<QWheelEvent*>(event);
      const QPoint g = e->globalPosition().toPoint();
      const int delta = e->angleDelta().y();
      const platform::WParam w =
          (platform::WParam(uint16_t(int16_t(delta))) << 16) | KeyState(e->buttons(), e->modifiers());
      PanelProc(kWmMouseWheel, w, PackedPoint(g.x(), g.y()));
      return true;
    }
    case QEvent::Resize: {
      const bool handled = TPanel::WidgetEvent(event);
      PanelProc(kWmSize, 0, PackedPoint(Width(), Height()));
      return handled;
    }
    default:
      return TPanel::WidgetEvent(event);
  }
}
