#include "platform/vcl/Screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
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

bool SaveMenuScreenshot(TPopupMenu* menu, TControl* background, const std::string& path) {
  const std::vector<QMenu*> menus = menu ? menu->ShownMenus() : std::vector<QMenu*>();
  QWidget* back = background ? background->Widget() : nullptr;
  if (menus.empty()) return false;
  QRect all;
  if (back) all = back->window()->frameGeometry();
  for (QMenu* m : menus) all = all.united(m->geometry());
  all.adjust(-10, -10, 10, 10);
  const QString file = QString::fromStdString(path);
  QDir().mkpath(QFileInfo(file).absolutePath());
  QImage picture;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (QGuiApplication::platformName() == "xcb" && screen)
    picture = screen->grabWindow(0, all.x(), all.y(), all.width(), all.height()).toImage();
  if (picture.isNull()) {
    // No screen to read: the windows' own renderings, placed where they stand.
    picture = QImage(all.size(), QImage::Format_RGB32);
    picture.fill(QColor(90, 100, 110));
    QPainter painter(&picture);
    if (back) painter.drawPixmap(back->window()->geometry().topLeft() - all.topLeft(), back->window()->grab());
    for (QMenu* m : menus) painter.drawPixmap(m->geometry().topLeft() - all.topLeft(), m->grab());
  }
  return !picture.isNull() && picture.save(file, "PNG");
}
