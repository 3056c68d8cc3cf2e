// Window messages between windows of this and other processes: posting, sending (blocking,
// and serving messages sent to the caller while it waits, as Win32 does), WM_COPYDATA,
// FindWindow by title, window timers and the GUI thread's message loop, which is the Qt
// event loop: posted messages, sent messages, timers and widget events are served in one
// order on the GUI thread.
#pragma once

#include <cstdint>
#include <string>

#include "platform/windows/WindowTypes.h"

namespace platform {

// Queues the message for the window's thread and returns at once. False with
// err::InvalidWindowHandle for a null or dead window; WM_COPYDATA cannot be posted.
bool PostMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);

// Runs the window's procedure and returns its result. For a window of another thread or
// process the caller waits, serving messages sent to its own windows meanwhile. For
// WM_COPYDATA, lParam points to a CopyDataStruct whose bytes the receiver gets a copy of.
// 0 with err::InvalidWindowHandle when the window does not exist or its process ends before
// it answers.
LResult SendMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);

// The top-level window with this title (compared without regard to ASCII case), or 0.
WindowHandle FindWindow(const std::string& title);
bool IsWindow(WindowHandle window);
// The process that owns the window, 0 for an invalid handle.
uint32_t WindowProcessId(WindowHandle window);

// Calls the window's procedure with WM_TIMER (wParam = id) every `elapseMs`, also while a
// modal loop runs. A second SetTimer with the same window and id restarts that timer.
// Returns id, or 0 for a window that is not of this process.
std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t id, uint32_t elapseMs);
bool KillTimer(WindowHandle window, std::uintptr_t id);

// Serves every message and event that is waiting, then returns.
void ProcessMessages();
// Runs the GUI thread's message loop until PostQuitMessage; returns its exit code.
int RunMessageLoop();
void PostQuitMessage(int exitCode);

}  // namespace platform
