// TSurfacePanel: widget events arrive at PanelProc as the Win32 messages of the panel's
// window, and a frame drawn into the shared surface of its handle is taken and painted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/SurfacePanel.h"
#include "platform/windows/Messages.h"
#include "platform/windows/SharedSurface.h"
#include "platform/windows/tests/Pump.h"

namespace {

struct Message {
  uint32_t M;
  platform::WParam W;
  platform::LParam L;
  bool operator==(const Message&) const = default;
};

class RecordingPanel : public TSurfacePanel {
 public:
  using TSurfacePanel::TSurfacePanel;
  platform::LResult PanelProc(uint32_t m, platform::WParam w, platform::LParam l) override {
    if (m != 0x0005 && m != platform::kWmPaint) got.push_back({m, w, l});
    if (m == platform::kWmPaint) ++paints;
    return 0;
  }
  std::vector<Message> got;
  int paints = 0;
};

platform::LParam At(int x, int y) { return platform::LParam((y << 16) | x); }

TEST(SurfacePanel, WidgetEventsBecomeMessages) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 150);
  auto* panel = new RecordingPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(10, 10, 100, 80);
  form.Show();
  QWidget* w = panel->Widget();
  const QPointF p(12, 34);
  const QPointF g = QPointF(w->mapToGlobal(QPoint(12, 34)));
  const struct {
    QEvent::Type Type;
    Qt::MouseButton Button;
    Qt::MouseButtons Held;
    Qt::KeyboardModifiers Keys;
    Message Want;
  } cases[] = {
      {QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, {0x0201, 0x0001, At(12, 34)}},
      {QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier, {0x0200, 0x0005, At(12, 34)}},
      {QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::NoModifier, {0x0202, 0, At(12, 34)}},
      {QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton | Qt::MiddleButton, Qt::ControlModifier,
       {0x0204, 0x0002 | 0x0010 | 0x0008, At(12, 34)}},
      {QEvent::MouseButtonRelease, Qt::RightButton, Qt::MiddleButton, Qt::NoModifier, {0x0205, 0x0010, At(12, 34)}},
      {QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier, {0x0207, 0x0010, At(12, 34)}},
      {QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, Qt::NoModifier, {0x0208, 0, At(12, 34)}},
      {QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, {0x0203, 0x0001, At(12, 34)}},
  };
  for (const auto& c : cases) {
    panel->got.clear();
    QMouseEvent e(c.Type, p, g, c.Button, c.Held, c.Keys);
    QApplication::sendEvent(w, &e);
    ASSERT_EQ(panel->got.size(), 1u) << int(c.Type);
    EXPECT_EQ(panel->got[0], c.Want) << int(c.Type);
  }
  // The wheel: delta in the high word of wParam, the point in screen coordinates.
  panel->got.clear();
  QWheelEvent wheel(p, g, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &wheel);
  ASSERT_EQ(panel->got.size(), 1u);
  EXPECT_EQ(panel->got[0].M, 0x020Au);
  EXPECT_EQ(panel->got[0].W, (platform::WParam(uint16_t(int16_t(-120))) << 16) | 0x0008);
  EXPECT_EQ(panel->got[0].L, At(int(g.x()), int(g.y())));
}

TEST(SurfacePanel, PaintsTheFramesOfItsSurface) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 150);
  auto* panel = new RecordingPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(0, 0, 40, 30);
  form.Show();
  platform::ProcessMessages();
  const int paintsBefore = panel->paints;
  auto surface = platform::SharedSurface::Create(panel->Handle(), 4, 3);
  ASSERT_TRUE(surface);
  surface->BeginDraw();
  for (int i = 0; i < 12; ++i) surface->Pixels()[i] = 0xFF000000u | uint32_t(i * 20);
  surface->EndDraw();
  platform::PostMessage(panel->Handle(), platform::kWmSurfaceChanged, platform::WParam(surface->Generation()),
                        surface->NoticeSize());
  ASSERT_TRUE(platform::testing::PumpUntil([&] { return panel->FramesTaken() == 1; }));
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(panel->Frame(width, height, pixels));
  EXPECT_EQ(width, 4);
  EXPECT_EQ(height, 3);
  EXPECT_EQ(pixels[11], 0xFF0000DCu);
  // Its own repaint of a new frame is no WM_PAINT for the owner (no repaint loop with the drawer).
  EXPECT_EQ(panel->paints, paintsBefore);
  // The picture on the screen is the frame.
  const QImage shown = panel->Widget()->grab().toImage();
  EXPECT_EQ(shown.pixel(3, 2) & 0xFFFFFF, 0x0000DCu);
}

}  // namespace
