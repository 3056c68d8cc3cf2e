// Messages between the window tests and their peer process.
#pragma once

#include <cstdint>

#include "platform/windows/WindowTypes.h"

namespace platform::peer {

constexpr uint32_t kReady = 0x8300;        // peer -> test, wParam: the peer's window
constexpr uint32_t kEcho = 0x8100;         // returns wParam + lParam
constexpr uint32_t kPostBack = 0x8101;     // the peer posts kPosted(wParam, lParam) back
constexpr uint32_t kSendBack = 0x8102;     // the peer sends kAsk(wParam) back, returns answer + 1
constexpr uint32_t kQuit = 0x8103;
constexpr uint32_t kBurst = 0x8104;        // the peer posts kPosted(i, 0) for i < wParam
constexpr uint32_t kDraw = 0x8105;         // draw `lParam` frames of colour index i into the
                                           // surface of window wParam, each followed by a
                                           // sent notice
constexpr uint32_t kDieNow = 0x8107;       // the peer exits without answering
constexpr uint32_t kPosted = 0x8200;       // peer -> test (posted)
constexpr uint32_t kAsk = 0x8201;          // peer -> test (sent)
constexpr uintptr_t kCopyEcho = 7;         // WM_COPYDATA tag: the peer sends the record back
                                           // reversed, to the window in wParam

// A sum that notices moved and changed bytes.
inline uint32_t Checksum(const void* data, uint32_t length) {
  uint32_t h = 2166136261u;
  const auto* p = static_cast<const uint8_t*>(data);
  for (uint32_t i = 0; i < length; ++i) h = (h ^ p[i]) * 16777619u;
  return h;
}

}  // namespace platform::peer
