// The other process of the window tests: a window titled by its first argument that answers
// the messages of PeerProtocol.h and reports to the window given as second argument.
#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/process/Process.h"
#include "platform/windows/Messages.h"
#include "platform/windows/SharedSurface.h"
#include "platform/windows/Window.h"
#include "platform/windows/tests/PeerProtocol.h"

using namespace platform;

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 3) return 100;
  const std::string title = argv[1];
  const WindowHandle report = static_cast<WindowHandle>(std::strtoll(argv[2], nullptr, 10));
  std::unique_ptr<Window> window;
  std::unique_ptr<SharedSurface> surface;
  window = std::make_unique<Window>([&](uint32_t m, WParam w, LParam l) -> LResult {
    switch (m) {
      case peer::kEcho: return static_cast<LResult>(w) + l;
      case peer::kPostBack: return PostMessage(report, peer::kPosted, w, l);
      case peer::kSendBack: return SendMessage(report, peer::kAsk, w, 0) + 1;
      case peer::kQuit: PostQuitMessage(0); return 1;
      case peer::kBurst:
        for (WParam i = 0; i < w; ++i) PostMessage(report, peer::kPosted, i, 0);
        return 1;
      case peer::kDraw: {
        const auto target = static_cast<WindowHandle>(w);
        for (LParam f = 0; f < l; ++f) {
          if (!surface) surface = SharedSurface::Create(target, 1024, 1024);
          if (!surface) return 0;
          surface->BeginDraw();
          uint32_t* px = surface->Pixels();
          std::fill(px, px + 1024 * 1024, 0xFF000000u | uint32_t(f * 40503u));
          surface->EndDraw();
          if (!SendMessage(target, kWmSurfaceChanged, surface->Generation(), surface->NoticeSize())) return 0;
        }
        return 1;
      }
      case peer::kDieNow: ExitProcessNow(3);
      case kWmCopyData: {
        const auto* cds = reinterpret_cast<const CopyDataStruct*>(l);
        const uint32_t sum = peer::Checksum(cds->lpData, cds->cbData);
        if (cds->dwData == peer::kCopyEcho) {
          const auto* p = static_cast<const uint8_t*>(cds->lpData);
          std::vector<uint8_t> reversed(p, p + cds->cbData);
          std::reverse(reversed.begin(), reversed.end());
          CopyDataStruct back{cds->dwData, cds->cbData, reversed.data()};
          SendMessage(static_cast<WindowHandle>(w), kWmCopyData, window->Handle(), reinterpret_cast<LParam>(&back));
        }
        return sum;
      }
    }
    return 0;
  }, title);
  // End with the test that started us.
  const uint32_t parent = ParentProcessId();
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (ParentProcessId() != parent) QCoreApplication::exit(0);
  });
  watch.start(200);
  PostMessage(report, peer::kReady, static_cast<WParam>(window->Handle()), 0);
  return RunMessageLoop();
}
