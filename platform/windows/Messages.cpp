#include "platform/windows/Messages.h"

#include <QCoreApplication>

#include "platform/core/LastError.h"
#include "platform/windows/MessageQueue.h"
#include "platform/windows/WindowRegistry.h"

namespace platform {

bool PostMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
  return message_queue::Post(window, message, wParam, lParam);
}

LResult SendMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
  return message_queue::Send(window, message, wParam, lParam);
}

WindowHandle FindWindow(const std::string& title) { return window_registry::FindByTitle(title); }

bool IsWindow(WindowHandle window) {
  if (window == 0) return false;
  return message_queue::IsLocalWindow(window) || window_registry::IsLive(window);
}

uint32_t WindowProcessId(WindowHandle window) {
  return IsWindow(window) ? static_cast<uint32_t>(static_cast<uint64_t>(window) >> 32) : 0;
}

std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t id, uint32_t elapseMs) {
  return message_queue::SetTimer(window, id, elapseMs);
}

bool KillTimer(WindowHandle window, std::uintptr_t id) { return message_queue::KillTimer(window, id); }

void ProcessMessages() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

int RunMessageLoop() { return QCoreApplication::exec(); }

void PostQuitMessage(int exitCode) { QCoreApplication::exit(exitCode); }

}  // namespace platform
