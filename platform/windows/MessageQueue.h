// The GUI thread's message queue and the channels to other processes' queues.
//
// Each process with windows listens on one Unix SOCK_SEQPACKET socket in the abstract
// namespace, "vistrel-win-<uid>-<pid>", which vanishes with the process. A window handle is
// (pid << 32 | serial), so a sender finds the owner's socket from the handle alone. Each
// sending thread keeps one connection per peer process; a request (posted or sent message)
// travels on it and the reply to a sent message comes back on it. WM_COPYDATA bytes over
// 32 KiB travel in a memfd passed along with the request.
//
// On the GUI thread the listening socket, the connections and a wake-up eventfd for sends
// from other threads of this process are watched by Qt socket notifiers. Sent messages are
// served as they arrive; posted messages (from any thread or process) become Qt posted
// events, so they are served in one order with the widget events. While the GUI thread
// waits for the answer to its own SendMessage it serves messages sent to it (not posted
// ones), as Win32 does; a peer that dies ends the wait (the connection closes).
#pragma once

#include <cstdint>
#include <string>

#include "platform/windows/Window.h"
#include "platform/windows/WindowTypes.h"

namespace platform::message_queue {

WindowHandle AddWindow(Window::Procedure procedure, const std::string& title);
void RemoveWindow(WindowHandle window);
void SetTitle(WindowHandle window, const std::string& title);
void SetProcedure(WindowHandle window, Window::Procedure procedure);
bool IsLocalWindow(WindowHandle window);

bool Post(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
LResult Send(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);

std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t id, uint32_t elapseMs);
bool KillTimer(WindowHandle window, std::uintptr_t id);

}  // namespace platform::message_queue
