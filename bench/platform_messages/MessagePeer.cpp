// The other process of the message benchmarks: counts posted messages, answers sent ones,
// takes WM_COPYDATA records and draws frames into a window's shared surface.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/process/Process.h"
#include "platform/windows/Application.h"
#include "platform/windows/Messages.h"
#include "platform/windows/SharedSurface.h"
#include "platform/windows/Window.h"
#include "bench/platform_messages/PeerMessages.h"

using namespace platform;

int main(int argc, char** argv) {
  Application app(argc, argv, false);
  if (argc < 2) return 100;
  const WindowHandle report = static_cast<WindowHandle>(std::strtoll(argv[1], nullptr, 10));
  uint64_t expected = 0, counted = 0, frame = 0;
  std::unique_ptr<SharedSurface> surface;
  WindowHandle surfaceOf = 0;
  Window window([&](uint32_t m, WParam w, LParam) -> LResult {
    switch (m) {
      case bench::kExpect: expected = w, counted = 0; return 1;
      case bench::kCount:
        if (++counted == expected) PostMessage(report, bench::kDone, counted, 0);
        return 0;
      case bench::kEcho: return static_cast<LResult>(w) + 1;
      case kWmCopyData: return 1;
      case bench::kDraw: {
        const auto target = static_cast<WindowHandle>(w);
        if (!surface || surfaceOf != target) surface = SharedSurface::Create(target, 1024, 1024), surfaceOf = target;
        if (!surface) return 0;
        surface->BeginDraw();
        uint32_t* px = surface->Pixels();
        const uint32_t colour = 0xFF000000u | uint32_t(++frame * 2654435761u >> 8);
        std::fill(px, px + 1024 * 1024, colour);
        surface->EndDraw();
        return SendMessage(target, kWmSurfaceChanged, surface->Generation(), surface->NoticeSize());
      }
      case bench::kQuit: PostQuitMessage(0); return 1;
    }
    return 0;
  });
  PostMessage(report, bench::kReady, static_cast<WParam>(window.Handle()), 0);
  return RunMessageLoop();
}
