#include <gtest/gtest.h>

#include "platform/core/LastError.h"
#include "platform/process/CommandLine.h"
#include "platform/process/Process.h"
#include "platform/process/tests/TestNames.h"
#include "platform/windows/Messages.h"
#include "platform/windows/SharedSurface.h"
#include "platform/windows/SurfaceWidget.h"
#include "platform/windows/Window.h"
#include "platform/windows/tests/PeerProtocol.h"
#include "platform/windows/tests/Pump.h"

namespace platform {
namespace {

using testing::OutProgram;
using testing::PumpUntil;
using testing::UniqueName;

TEST(SharedSurface, DrawerAndPainterShareFramesAndSizeChanges) {
  SurfaceWidget widget;
  widget.resize(64, 32);
  auto small = SharedSurface::Create(widget.Handle(), 4, 2);
  ASSERT_TRUE(small);
  small->BeginDraw();
  for (int i = 0; i < 8; ++i) small->Pixels()[i] = 0xFF000000u | uint32_t(i);
  small->EndDraw();
  EXPECT_EQ(SendMessage(widget.Handle(), kWmSurfaceChanged, small->Generation(), small->NoticeSize()), 1);
  ASSERT_EQ(widget.Frame().size(), QSize(4, 2));
  EXPECT_EQ(widget.Frame().pixel(3, 1), 0xFF000007u);

  // A new size is a new generation; the widget follows it.
  auto large = SharedSurface::Create(widget.Handle(), 3, 3);
  ASSERT_TRUE(large);
  EXPECT_NE(large->Generation(), small->Generation());
  large->BeginDraw();
  large->Pixels()[8] = 0xFFABCDEFu;
  large->EndDraw();
  SendMessage(widget.Handle(), kWmSurfaceChanged, large->Generation(), large->NoticeSize());
  ASSERT_EQ(widget.Frame().size(), QSize(3, 3));
  EXPECT_EQ(widget.Frame().pixel(2, 2), 0xFFABCDEFu);
  EXPECT_EQ(widget.FramesTaken(), 2u);

  // A notice for a surface that does not exist leaves the frame as it was.
  SendMessage(widget.Handle(), kWmSurfaceChanged, 12345, 0);
  EXPECT_EQ(widget.Frame().size(), QSize(3, 3));
  EXPECT_FALSE(SharedSurface::Create(widget.Handle(), 0, 5));
}

TEST(SharedSurface, AnotherProcessDrawsTheWidget) {
  SurfaceWidget widget;
  widget.resize(256, 256);
  bool ready = false;
  WindowHandle peerWindow = 0;
  Window report([&](uint32_t m, WParam w, LParam) -> LResult {
    if (m == peer::kReady) ready = true, peerWindow = static_cast<WindowHandle>(w);
    return 0;
  });
  auto p = Process::Start(QuoteArgument(OutProgram("window_peer")) + " " + UniqueName("drawer") + " " +
                              std::to_string(report.Handle()),
                          {});
  ASSERT_TRUE(p);
  ASSERT_TRUE(PumpUntil([&] { return ready; }));
  EXPECT_EQ(SendMessage(peerWindow, peer::kDraw, static_cast<WParam>(widget.Handle()), 3), 1);
  EXPECT_EQ(widget.FramesTaken(), 3u);
  ASSERT_EQ(widget.Frame().size(), QSize(1024, 1024));
  EXPECT_EQ(widget.Frame().pixel(1023, 1023), 0xFF000000u | ((2 * 40503u) & 0xFFFFFF));
  PostMessage(peerWindow, peer::kQuit, 0, 0);
  EXPECT_EQ(WaitForObject(p.get(), 20000), kWaitObject0);
}

}  // namespace
}  // namespace platform
