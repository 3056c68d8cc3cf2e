// The machine-wide list of windows, for FindWindow and IsWindow across processes.
//
// Each window has one small file in the per-user folder of named objects,
// "win-<handle in hex>", holding its owner's process id and start time and its title.
// An entry whose owner no longer runs (the pid is gone, or reused by a process started at
// another time) is stale: it counts as no window and FindWindow removes it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/windows/WindowTypes.h"

namespace platform::window_registry {

void Publish(WindowHandle window, const std::string& title);
void Withdraw(WindowHandle window);
bool IsLive(WindowHandle window);
// Cheaper: the entry exists (its owner may have ended).
bool IsPublished(WindowHandle window);
WindowHandle FindByTitle(const std::string& title);

// The start time of a process (clock ticks since boot), 0 when it does not run.
uint64_t ProcessStartTime(uint32_t pid);

}  // namespace platform::window_registry
