#include "platform/vcl/Screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>

std::string ScreenPlatformName() { return QGuiApplication::platformName().toStdString(); }

bool WaitUntilExposed(TControl* window, int timeoutMs) {
  QWidget* widget = window->Widget();
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (widget->windowHandle() && widget->windowHandle()->isExposed()) {
      // One more round so the first paint has landed.
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      QThread::msleep(50);
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      return true;
    }
    QThread::msleep(10);
  }
  return false;
}

bool SaveScreenshot(TControl* window, const std::string& path) {
  QWidget* widget = window->Widget();
  QImage picture;
  if (QGuiApplication::platformName() == "xcb") {
    const QRect frame = widget->frameGeometry().adjusted(-8, -8, 8, 8);
    if (QScreen* screen = QGuiApplication::primaryScreen())
      picture = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
  }
  if (picture.isNull()) picture = widget->grab().toImage();
  const QString file = QString::fromStdString(path);
  QDir().mkpath(QFileInfo(file).absolutePath());
  return !picture.isNull() && picture.save(file, "PNG");
}
