#include "platform/vcl/ScreenShot.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

bool SaveScreenShot(TControl* control, const std::string& pngPath, int margin) {
  QWidget* widget = control ? control->Widget() : nullptr;
  if (!widget) return false;
  const QString path = QString::fromLocal8Bit(pngPath.c_str());
  QDir().mkpath(QFileInfo(path).absolutePath());
  QImage picture;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (QGuiApplication::platformName() == "xcb" && screen) {
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    picture = screen->grabWindow(0, origin.x() - margin, origin.y() - margin, widget->width() + 2 * margin,
                                 widget->height() + 2 * margin)
                  .toImage();
  }
  if (picture.isNull()) picture = widget->grab().toImage();
  return !picture.isNull() && picture.save(path, "PNG");
}
