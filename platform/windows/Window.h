// A window of this process: a handle that other processes can find and send messages to,
// and the procedure that handles them. Every window belongs to the GUI thread (the thread of
// the Qt application object), which runs its procedure from the Qt event loop.
#pragma once

#include <functional>
#include <string>

#include "platform/windows/WindowTypes.h"

namespace platform {

class Window {
 public:
  using Procedure = std::function<LResult(uint32_t message, WParam wParam, LParam lParam)>;

  // Creates the window on the GUI thread; a QCoreApplication (or QApplication) must exist.
  explicit Window(Procedure procedure, const std::string& title = {});
  ~Window();  // the handle becomes invalid; pending posted messages are dropped
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  WindowHandle Handle() const { return handle_; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  // Replaces the procedure (a widget installs its own once it is built).
  void SetProcedure(Procedure procedure);

 private:
  WindowHandle handle_;
  std::string title_;
};

}  // namespace platform
