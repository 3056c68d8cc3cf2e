#include "platform/vcl/DibPng.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace platform {

bool SaveDibAsPng(const DibSection& bitmap, const std::string& path) {
  if (bitmap.Width <= 0 || bitmap.Height <= 0) return false;
  QImage image(bitmap.Width, bitmap.Height, QImage::Format_RGB888);
  for (int32_t y = 0; y < bitmap.Height; ++y) {
    const uint8_t* in = bitmap.ScanLine(y);
    uint8_t* out = image.scanLine(y);
    for (int32_t x = 0; x < bitmap.Width; ++x) {
      out[3 * x] = in[3 * x + 2];
      out[3 * x + 1] = in[3 * x + 1];
      out[3 * x + 2] = in[3 * x];
    }
  }
  const QString file = QString::fromStdString(path);
  QDir().mkpath(QFileInfo(file).absolutePath());
  return image.save(file, "PNG");
}

}  // namespace platform
