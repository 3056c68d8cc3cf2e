// The application object of a program with windows: it must exist before the first window
// and outlive the last. Code above platform makes one of these instead of a Qt object.
#pragma once

#include <memory>

class QCoreApplication;

namespace platform {

class Application {
 public:
  // `widgets`: the program shows widgets (QApplication); otherwise only message windows
  // (QCoreApplication). argc and argv must outlive the object.
  Application(int& argc, char** argv, bool widgets);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

 private:
  std::unique_ptr<QCoreApplication> app_;
};

}  // namespace platform
