#include "platform/windows/Application.h"

#include <QApplication>
#include <QCoreApplication>

namespace platform {

Application::Application(int& argc, char** argv, bool widgets)
    : app_(widgets ? std::unique_ptr<QCoreApplication>(new QApplication(argc, argv))
                   : std::make_unique<QCoreApplication>(argc, argv)) {}

Application::~Application() = default;

}  // namespace platform
