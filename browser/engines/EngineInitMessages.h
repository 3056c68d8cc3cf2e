// The messages of the engine-initialisation order: the two posted to an engine's window
// (wParam 0, lParam 0) and the progress report a tile gets from its stack window. Kept in
// one place so they can follow the engine's own message list once that exists.
#pragma once

#include <cstdint>

namespace ORN_browser {

constexpr uint32_t kWmEnginePauseInit = 0x812D;
constexpr uint32_t kWmEngineResumeInit = 0x812E;
// lParam: low word progress, high word maximum.
constexpr uint32_t kWmStackInitProgress = 0x8400;

}  // namespace ORN_browser
