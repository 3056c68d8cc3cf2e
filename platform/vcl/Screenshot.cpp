#include "platform/vcl/Screenshot.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "platform/vcl/Controls.h"

namespace platform {

bool SaveScreenshot(TWinControl* control, const std::string& path) {
  if (control == nullptr || control->Widget() == nullptr) return false;
  QWidget* w = control->Widget();
  const QString file = QString::fromStdString(path);
  QDir().mkpath(QFileInfo(file).absolutePath());
  QPixmap picture;
  if (QGuiApplication::platformName() == "xcb" && QGuiApplication::primaryScreen() != nullptr) {
    const QPoint at = w->mapToGlobal(QPoint(0, 0));
    picture = QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), w->width(), w->height());
  }
  if (picture.isNull()) picture = w->grab();
  return picture.save(file, "PNG");
}

}  // namespace platform
