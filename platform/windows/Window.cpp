#include "platform/windows/Window.h"

#include "platform/windows/MessageQueue.h"

namespace platform {

Window::Window(Procedure procedure, const std::string& title)
    : handle_(message_queue::AddWindow(std::move(procedure), title)), title_(title) {}

Window::~Window() { message_queue::RemoveWindow(handle_); }

void Window::SetTitle(const std::string& title) {
  title_ = title;
  message_queue::SetTitle(handle_, title);
}

void Window::SetProcedure(Procedure procedure) { message_queue::SetProcedure(handle_, std::move(procedure)); }

}  // namespace platform
