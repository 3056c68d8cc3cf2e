#include "platform/vcl/Graphics.h"

#include <QImageReader>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <csetjmp>
#include <fstream>

#include <jpeglib.h>

namespace {

QColor ToQColor(TColor color) {
  const uint32_t rgb = ColorToRGB(color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor FromQColor(QColor c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

QString ToQString(const System::WideString& text) {
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(text.data()), static_cast<qsizetype>(text.size()));
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

QImage::Format FormatOf(TPixelFormat format) {
  return format == pf32bit ? QImage::Format_ARGB32 : QImage::Format_BGR888;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

QFont TFont::ToQFont() const {
  QFont font(QString::fromUtf8(Name.c_str()));
  // A negative size (as GUI pages give it) means a positive VCL height: the cell height.
  font.setPixelSize(std::max(1, std::abs(Height())));
  font.setBold(Style & fsBold);
  font.setItalic(Style & fsItalic);
  font.setUnderline(Style & fsUnderline);
  font.setStrikeOut(Style & fsStrikeOut);
  if (Pitch == fpFixed) font.setFixedPitch(true);
  return font;
}

// ---- TCanvas ----

TCanvas::TCanvas() = default;

TCanvas::~TCanvas() { Release(); }

QPainter* TCanvas::Painter() {
  if (FExternal) return FExternal;
  if (!FOwnPainter && FImage && !FImage->isNull()) FOwnPainter = std::make_unique<QPainter>(FImage);
  return FOwnPainter.get();
}

void TCanvas::BindPainter(QPainter* painter) {
  Release();
  FExternal = painter;
}

void TCanvas::BindImage(QImage* image) {
  Release();
  FImage = image;
}

void TCanvas::Release() {
  if (FOwnPainter) FOwnPainter->end();
  FOwnPainter.reset();
}

void TCanvas::Prepare(bool fill) {
  QPainter* p = Painter();
  if (!p) return;
  p->setFont(Font.ToQFont());
  if (Pen.Style == psClear) {
    p->setPen(Qt::NoPen);
  } else {
    p->setPen(QPen(ToQColor(Pen.Color), Pen.Width));
  }
  p->setBrush(fill && Brush.Style == bsSolid ? QBrush(ToQColor(Brush.Color)) : Qt::NoBrush);
}

void TCanvas::FillRect(const TRect& rect) {
  if (QPainter* p = Painter(); p && Brush.Style == bsSolid) p->fillRect(ToQRect(rect), ToQColor(Brush.Color));
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  Prepare(true);
  if (QPainter* p = Painter()) p->drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  Prepare(true);
  if (QPainter* p = Painter()) p->drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

void TCanvas::LineTo(int x, int y) {
  Prepare(false);
  if (QPainter* p = Painter()) p->drawLine(FPen.x, FPen.y, x, y);
  FPen = {x, y};
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  Prepare(true);
  QPainter* p = Painter();
  if (!p || points.empty()) return;
  QPolygon polygon;
  for (const TPoint& point : points) polygon << QPoint(point.x, point.y);
  p->drawPolygon(polygon);
}

void TCanvas::TextOut(int x, int y, const System::WideString& text) {
  QPainter* p = Painter();
  if (!p) return;
  Prepare(true);
  const QString s = ToQString(text);
  QFontMetrics metrics(p->font());
  const QRect box(x, y, metrics.horizontalAdvance(s), metrics.height());
  if (Brush.Style == bsSolid) p->fillRect(box, ToQColor(Brush.Color));
  p->setPen(ToQColor(Font.Color));
  p->drawText(x, y + metrics.ascent(), s);
}

TPoint TCanvas::TextExtent(const System::WideString& text) {
  QFontMetrics metrics(Font.ToQFont());
  return {metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  StretchDraw(Rect(x, y, x + bitmap.Width(), y + bitmap.Height()), bitmap);
}

void TCanvas::StretchDraw(const TRect& rect, TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  QImage image = bitmap.Image().convertToFormat(QImage::Format_ARGB32);
  if (bitmap.Transparent) {
    const QRgb key = ToQColor(bitmap.TransparentColor()).rgb() & 0xFFFFFF;
    for (int row = 0; row < image.height(); ++row) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
      for (int col = 0; col < image.width(); ++col)
        if ((line[col] & 0xFFFFFF) == key) line[col] = 0;
    }
  } else if (bitmap.PixelFormat() == pf24bit) {
    image = image.convertToFormat(QImage::Format_RGB32);
  }
  if (QPainter* p = Painter()) p->drawImage(ToQRect(rect), image);
}

TColor TCanvas::Pixel(int x, int y) {
  if (!FImage || !FImage->valid(x, y)) return clNone;
  Release();
  return FromQColor(FImage->pixelColor(x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (!FImage || !FImage->valid(x, y)) return;
  Release();
  FImage->setPixelColor(x, y, ToQColor(color));
}

// ---- TBitmap ----

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()) { FCanvas.BindImage(FImage.get()); }
TBitmap::~TBitmap() { FCanvas.Release(); }

int TBitmap::Width() const { return FImage->width(); }
int TBitmap::Height() const { return FImage->height(); }

void TBitmap::SetSize(int width, int height) {
  FCanvas.Release();
  if (width <= 0 || height <= 0) {
    *FImage = QImage();
    return;
  }
  QImage image(width, height, FormatOf(FFormat));
  image.fill(FFormat == pf32bit ? QColor(0, 0, 0, 0) : QColor(Qt::black));
  if (!FImage->isNull()) {
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, *FImage);
  }
  *FImage = image;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == pfDevice) format = pf24bit;
  FCanvas.Release();
  FFormat = format;
  if (!FImage->isNull()) *FImage = FImage->convertToFormat(FormatOf(format));
}

TColor TBitmap::TransparentColor() const {
  if (TransparentMode == tmFixed || FImage->isNull()) return FTransparentColor;
  return FromQColor(FImage->pixelColor(0, FImage->height() - 1));
}

uint8_t* TBitmap::ScanLine(int y) {
  FCanvas.Release();
  if (y < 0 || y >= Height()) return nullptr;
  return FImage->scanLine(y);
}

int TBitmap::BytesPerLine() const { return static_cast<int>(FImage->bytesPerLine()); }

TCanvas* TBitmap::Canvas() { return &FCanvas; }

QImage& TBitmap::Image() {
  FCanvas.Release();
  return *FImage;
}

void TBitmap::Adopt(const QImage& image) {
  FCanvas.Release();
  FFormat = image.hasAlphaChannel() ? pf32bit : pf24bit;
  *FImage = image.convertToFormat(FormatOf(FFormat));
}

void TBitmap::Assign(const TBitmap& source) {
  FCanvas.Release();
  const_cast<TBitmap&>(source).FCanvas.Release();
  FFormat = source.FFormat;
  *FImage = source.FImage->copy();
  Transparent = source.Transparent;
  TransparentMode = source.TransparentMode;
  FTransparentColor = source.FTransparentColor;
}

bool TBitmap::LoadFromStream(const std::vector<uint8_t>& bmpFile) {
  QImage image;
  if (!image.loadFromData(bmpFile.data(), static_cast<int>(bmpFile.size()), "BMP")) return false;
  // A 32-bit BMP keeps its fourth byte as alpha.
  const bool alpha = bmpFile.size() >= 30 && bmpFile[28] == 32;
  if (alpha && !image.hasAlphaChannel()) image = image.convertToFormat(QImage::Format_ARGB32);
  Adopt(image);
  return true;
}

bool TBitmap::LoadFromFile(const System::AnsiString& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return LoadFromStream(data);
}

std::vector<uint8_t> TBitmap::SaveToBytes() {
  FCanvas.Release();
  const int bytes = FFormat == pf32bit ? 4 : 3;
  const uint32_t stride = (static_cast<uint32_t>(Width()) * bytes + 3) & ~3u;
  const uint32_t size = stride * static_cast<uint32_t>(Height());
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + size);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(Width()));
  Put32(out, static_cast<uint32_t>(Height()));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bytes * 8));
  Put32(out, 0);
  Put32(out, size);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = Height() - 1; y >= 0; --y) {
    const uint8_t* line = FImage->constScanLine(y);
    out.insert(out.end(), line, line + Width() * bytes);
    out.resize(out.size() + (stride - static_cast<uint32_t>(Width() * bytes)), 0);
  }
  return out;
}

bool TBitmap::SaveToFile(const System::AnsiString& path) {
  const auto bytes = SaveToBytes();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

bool TBitmap::LoadFromResourceName(platform::ResourceModuleHandle module, const System::WideString& name) {
  platform::ResourceHandle resource = platform::FindResource(module, name, platform::rt::Bitmap);
  if (!resource) return false;
  const auto* data = static_cast<const uint8_t*>(platform::LoadResource(module, resource));
  const uint32_t size = platform::SizeofResource(module, resource);
  if (size < 40) return false;
  uint32_t headerSize, colours;
  uint16_t bits;
  std::memcpy(&headerSize, data, 4);
  std::memcpy(&bits, data + 14, 2);
  std::memcpy(&colours, data + 32, 4);
  if (headerSize < 40 || headerSize > size) return false;
  const uint64_t palette = bits <= 8 ? (colours ? colours : (1u << bits)) * 4ull : 0;
  std::vector<uint8_t> file;
  file.push_back('B');
  file.push_back('M');
  Put32(file, 14 + size);
  Put32(file, 0);
  Put32(file, static_cast<uint32_t>(14 + headerSize + palette));
  file.insert(file.end(), data, data + size);
  return LoadFromStream(file);
}

// ---- TJPEGImage ----

namespace {

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

}  // namespace

void TJPEGImage::Assign(TBitmap& bitmap) {
  const QImage image = bitmap.Image().convertToFormat(QImage::Format_RGB888);
  FWidth = image.width();
  FHeight = image.height();
  FRgb.resize(static_cast<size_t>(FWidth) * FHeight * 3);
  for (int y = 0; y < FHeight; ++y)
    std::memcpy(FRgb.data() + static_cast<size_t>(y) * FWidth * 3, image.constScanLine(y), static_cast<size_t>(FWidth) * 3);
}

void TJPEGImage::AssignTo(TBitmap& bitmap) const {
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(FWidth, FHeight);
  for (int y = 0; y < FHeight; ++y) {
    uint8_t* line = bitmap.ScanLine(y);
    const uint8_t* src = FRgb.data() + static_cast<size_t>(y) * FWidth * 3;
    for (int x = 0; x < FWidth; ++x) {
      line[3 * x] = src[3 * x + 2];
      line[3 * x + 1] = src[3 * x + 1];
      line[3 * x + 2] = src[3 * x];
    }
  }
}

bool TJPEGImage::LoadFromBytes(const std::vector<uint8_t>& data) {
  jpeg_decompress_struct info{};
  JpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = OnJpegError;
  std::vector<uint8_t> rgb;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const size_t stride = static_cast<size_t>(info.output_width) * 3;
  rgb.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = rgb.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  FWidth = static_cast<int>(info.output_width);
  FHeight = static_cast<int>(info.output_height);
  jpeg_destroy_decompress(&info);
  FRgb = std::move(rgb);
  return true;
}

std::vector<uint8_t> TJPEGImage::SaveToBytes() const {
  if (FWidth == 0 || FHeight == 0) return {};
  jpeg_compress_struct info{};
  JpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = OnJpegError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(FWidth);
  info.image_height = static_cast<JDIMENSION>(FHeight);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, std::clamp(CompressionQuality, 1, 100), TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(FRgb.data()) + static_cast<size_t>(info.next_scanline) * FWidth * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

bool LoadIconFile(const System::AnsiString& path, TBitmap& bitmap) {
  QImageReader reader(QString::fromUtf8(path.c_str()), "ICO");
  QImage best;
  do {
    QImage image = reader.read();
    if (!image.isNull() && image.width() * image.height() > best.width() * best.height()) best = image;
  } while (reader.jumpToNextImage());
  if (best.isNull()) return false;
  bitmap.Adopt(best.convertToFormat(QImage::Format_ARGB32));
  return true;
}

bool TJPEGImage::LoadFromFile(const System::AnsiString& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  return LoadFromBytes(std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

bool TJPEGImage::SaveToFile(const System::AnsiString& path) const {
  const auto bytes = SaveToBytes();
  if (bytes.empty()) return false;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

// ---- DrawText and GradientFill ----

int DrawText(TCanvas& canvas, const System::WideString& text, TRect& rect, uint32_t flags) {
  // "&x" underlines x; "&&" is "&".
  QString shown;
  int accelerator = -1;
  const QString source = ToQString(text);
  for (qsizetype i = 0; i < source.size(); ++i) {
    if (!(flags & DT_NOPREFIX) && source[i] == '&' && i + 1 < source.size()) {
      ++i;
      if (source[i] != '&' && accelerator < 0) accelerator = static_cast<int>(shown.size());
    }
    shown += source[i];
  }
  const QFont font = canvas.Font.ToQFont();
  QFontMetrics metrics(font);
  int qtFlags = 0;
  qtFlags |= Qt::AlignAbsolute;
  qtFlags |= (flags & DT_CENTER) ? Qt::AlignHCenter : (flags & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
  if (flags & DT_SINGLELINE) {
    qtFlags |= (flags & DT_VCENTER) ? Qt::AlignVCenter : (flags & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    qtFlags |= Qt::TextSingleLine;
  } else {
    qtFlags |= Qt::AlignTop;
    if (flags & DT_WORDBREAK) qtFlags |= Qt::TextWordWrap;
  }
  if (flags & DT_CALCRECT) {
    const int width = (flags & DT_WORDBREAK) && rect.Width() > 0 ? rect.Width() : 100000;
    const QRect bound = metrics.boundingRect(QRect(rect.Left, rect.Top, width, 100000), qtFlags, shown);
    rect.Right = rect.Left + bound.width();
    rect.Bottom = rect.Top + bound.height();
    return bound.height();
  }
  QPainter* p = canvas.Painter();
  if (!p) return 0;
  if (flags & DT_END_ELLIPSIS) shown = metrics.elidedText(shown, Qt::ElideRight, rect.Width());
  p->save();
  p->setLayoutDirection((flags & DT_RTLREADING) ? Qt::RightToLeft : Qt::LeftToRight);
  p->setFont(font);
  p->setPen(ToQColor(canvas.Font.Color));
  if (!(flags & DT_NOCLIP)) p->setClipRect(ToQRect(rect));
  QRect drawn;
  if (accelerator >= 0 && accelerator < shown.size() && (flags & DT_SINGLELINE) && !(flags & DT_RTLREADING)) {
    // Draw in three runs so the accelerator alone is underlined.
    QFont underlined = font;
    underlined.setUnderline(true);
    const QString before = shown.left(accelerator), key = shown.mid(accelerator, 1), after = shown.mid(accelerator + 1);
    const int total = metrics.horizontalAdvance(shown);
    int x = rect.Left;
    if (flags & DT_CENTER) x = rect.Left + (rect.Width() - total) / 2;
    if (flags & DT_RIGHT) x = rect.Right - total;
    const QRect line(x, rect.Top, total, rect.Height());
    const int vflags = qtFlags & (Qt::AlignVCenter | Qt::AlignBottom | Qt::AlignTop);
    p->drawText(line, vflags | Qt::AlignLeft, before, &drawn);
    const int keyX = x + metrics.horizontalAdvance(before);
    p->setFont(underlined);
    p->drawText(QRect(keyX, rect.Top, total, rect.Height()), vflags | Qt::AlignLeft, key);
    p->setFont(font);
    p->drawText(QRect(keyX + metrics.horizontalAdvance(key), rect.Top, total, rect.Height()), vflags | Qt::AlignLeft,
                after);
  } else {
    p->drawText(ToQRect(rect), qtFlags, shown, &drawn);
  }
  p->restore();
  return drawn.height() > 0 ? drawn.height() : metrics.height();
}

void GradientFill(TCanvas& canvas, const TRect& rect, TColor from, TColor to, bool vertical) {
  QPainter* p = canvas.Painter();
  if (!p || rect.Width() <= 0 || rect.Height() <= 0) return;
  // One colour per column (row), the first exactly `from` and the last exactly `to`.
  const QColor a = ToQColor(from), b = ToQColor(to);
  const int steps = vertical ? rect.Height() : rect.Width();
  for (int i = 0; i < steps; ++i) {
    const double t = steps > 1 ? static_cast<double>(i) / (steps - 1) : 0.0;
    const QColor c(static_cast<int>(a.red() + (b.red() - a.red()) * t + 0.5),
                   static_cast<int>(a.green() + (b.green() - a.green()) * t + 0.5),
                   static_cast<int>(a.blue() + (b.blue() - a.blue()) * t + 0.5));
    if (vertical) p->fillRect(rect.Left, rect.Top + i, rect.Width(), 1, c);
    else p->fillRect(rect.Left + i, rect.Top, 1, rect.Height(), c);
  }
}

bool LoadSystemBitmap(uint32_t id, TBitmap& bitmap) {
  if (id != OBM_CHECK && id != OBM_MNARROW) return false;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(id == OBM_CHECK ? 13 : 9, 13);
  QPainter p(&bitmap.Image());
  p.fillRect(0, 0, bitmap.Width(), bitmap.Height(), Qt::white);
  p.setPen(Qt::black);
  if (id == OBM_CHECK) {
    // The classic 7-pixel-wide tick, three pixels thick.
    for (int i = 0; i < 3; ++i) {
      p.drawLine(3, 5 + i, 5, 7 + i);
      p.drawLine(5, 7 + i, 9, 3 + i);
    }
  } else {
    for (int i = 0; i < 4; ++i) p.drawLine(3 + i, 3 + i, 3 + i, 9 - i);
  }
  return true;
}
