// Messages between the message benchmarks and their peer process.
#pragma once

#include <cstdint>

namespace platform::bench {

constexpr uint32_t kReady = 0x8300;   // peer -> bench, wParam: the peer's window
constexpr uint32_t kExpect = 0x8100;  // sent: the number of kCount posts to come
constexpr uint32_t kCount = 0x8101;   // posted; the peer posts kDone when all have come
constexpr uint32_t kEcho = 0x8102;    // sent: returns wParam + 1
constexpr uint32_t kDraw = 0x8103;    // sent: draw one 1024 x 1024 frame into the surface of
                                      // window wParam and send it the notice
constexpr uint32_t kQuit = 0x8104;
constexpr uint32_t kDone = 0x8200;    // peer -> bench

}  // namespace platform::bench
