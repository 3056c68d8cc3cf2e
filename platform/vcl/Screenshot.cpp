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
  QWidget* widget = window ? window->Widget() : nullptr;
  if (!widget) return false;
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

bool SaveScreenshot(TControl* control, const std::string& path, int margin) {
  QWidget* widget = control ? control->Widget() : nullptr;
  if (!widget) return false;
  const QString file = QString::fromStdString(path);
  QDir().mkpath(QFileInfo(file).absolutePath());
  QImage picture;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (QGuiApplication::platformName() == "xcb" && screen) {
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    picture = screen
                  ->grabWindow(0, origin.x() - margin, origin.y() - margin, widget->width() + 2 * margin,
                               widget->height() + 2 * margin)
                  .toImage();
  }
  if (picture.isNull()) picture = widget->grab().toImage();
  return !picture.isNull() && picture.save(file, "PNG");
}
