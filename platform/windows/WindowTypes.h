// Window handles, message parameters and the message numbers the system uses.
#pragma once

#include <cstdint>

namespace platform {

// A window handle: pointer-sized, valid in every process of this user on this machine.
// Handles of live windows are positive as signed integers and never 0, 1 or -1.
using WindowHandle = std::intptr_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

constexpr uint32_t kWmPaint = 0x000F;
constexpr uint32_t kWmClose = 0x0010;
constexpr uint32_t kWmCopyData = 0x004A;
constexpr uint32_t kWmTimer = 0x0113;
constexpr uint32_t kWmUser = 0x0400;
constexpr uint32_t kWmApp = 0x8000;

// The record of WM_COPYDATA: lParam points to one. The receiver gets its own copy of the
// bytes, valid until its window procedure returns.
struct CopyDataStruct {
  std::uintptr_t dwData;
  uint32_t cbData;
  const void* lpData;
};

}  // namespace platform
