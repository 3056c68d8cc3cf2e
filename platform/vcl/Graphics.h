// The VCL's drawing classes on Qt: fonts, brushes, pens, TCanvas (drawing on a bitmap or on a
// widget while it paints), TBitmap (24- and 32-bit device-independent pixels, transparency,
// BMP files and bitmap resources) and TJPEGImage (libjpeg-turbo, with a quality setting),
// with the Win32 drawing calls the windows use: DrawText, GradientFill, text extents.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/resources/ResourceModule.h"
#include "platform/vcl/Classes.h"
#include "platform/vcl/Colors.h"

class QPainter;
class QImage;
class QFont;

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;
enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
constexpr int DEFAULT_CHARSET = 1;

class TFont {
 public:
  System::AnsiString Name = "Tahoma";
  int Size = 8;  // points; Height is -pixels at 96 dpi
  TColor Color = clWindowText;
  TFontStyles Style = 0;
  TFontPitch Pitch = fpDefault;
  int Charset = DEFAULT_CHARSET;
  int Height() const { return -(Size * 96 + 36) / 72; }
  void SetHeight(int height) { Size = ((height < 0 ? -height : height) * 72 + 48) / 96; }
  void Assign(const TFont& other) { *this = other; }
  QFont ToQFont() const;
};

enum TBrushStyle { bsSolid, bsClear };
struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
};

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
};

class TBitmap;

class TCanvas {
 public:
  TCanvas();
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TFont Font;
  TBrush Brush;
  TPen Pen;

  void FillRect(const TRect& rect);
  void Rectangle(int left, int top, int right, int bottom);
  // The ellipse inside the bounding box, outlined with the pen and filled with the brush.
  void Ellipse(int left, int top, int right, int bottom);
  void MoveTo(int x, int y) { FPen = {x, y}; }
  void LineTo(int x, int y);
  void TextOut(int x, int y, const System::WideString& text);
  TPoint TextExtent(const System::WideString& text);  // x: width, y: height
  int TextWidth(const System::WideString& text) { return TextExtent(text).x; }
  int TextHeight(const System::WideString& text) { return TextExtent(text).y; }
  // Draws the bitmap with its top-left corner at (x, y), leaving out its transparent colour
  // when it is Transparent.
  void Draw(int x, int y, TBitmap& bitmap);
  void StretchDraw(const TRect& rect, TBitmap& bitmap);
  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);

  // The painter of the current drawing; null when the canvas has no surface.
  QPainter* Painter();
  // Binds the canvas to a painter it does not own (a widget while it paints), or unbinds it.
  void BindPainter(QPainter* painter);
  // Binds the canvas to an image that it paints on through a painter of its own.
  void BindImage(QImage* image);
  // Ends the canvas's own painter, so the image's bits can be read or changed.
  void Release();

 private:
  void Prepare(bool fill);
  QPainter* FExternal = nullptr;
  QImage* FImage = nullptr;
  std::unique_ptr<QPainter> FOwnPainter;
  TPoint FPen;
};

enum TPixelFormat { pfDevice, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap {
 public:
  TBitmap();
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const;
  int Height() const;
  void SetWidth(int width) { SetSize(width, Height()); }
  void SetHeight(int height) { SetSize(Width(), height); }
  void SetSize(int width, int height);  // keeps the pixels that still fit, new ones black
  bool Empty() const { return Width() == 0 || Height() == 0; }
  TPixelFormat PixelFormat() const { return FFormat; }
  void SetPixelFormat(TPixelFormat format);

  bool Transparent = false;
  TTransparentMode TransparentMode = tmAuto;
  // tmAuto: the bottom-left pixel; tmFixed: the colour set.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color) {
    FTransparentColor = color;
    TransparentMode = tmFixed;
  }

  // Row y from the top: 3 bytes per pixel (B, G, R) for pf24bit, 4 (B, G, R, A) for pf32bit.
  uint8_t* ScanLine(int y);
  int BytesPerLine() const;

  TCanvas* Canvas();
  void Assign(const TBitmap& source);

  // BMP files: bottom-up rows, 24 or 32 bits; reading also takes the other depths.
  bool LoadFromFile(const System::AnsiString& path);
  bool SaveToFile(const System::AnsiString& path);
  bool LoadFromStream(const std::vector<uint8_t>& bmpFile);
  std::vector<uint8_t> SaveToBytes();
  // An RT_BITMAP resource (a BMP without its file header) of a resource module.
  bool LoadFromResourceName(platform::ResourceModuleHandle module, const System::WideString& name);

  QImage& Image();  // ends the canvas's painter first

 private:
  friend bool LoadIconFile(const System::AnsiString& path, TBitmap& bitmap);
  void Adopt(const QImage& image);
  std::unique_ptr<QImage> FImage;
  TCanvas FCanvas;
  TPixelFormat FFormat = pf24bit;
  TColor FTransparentColor = clNone;
};

// A Windows icon file (.ico): its largest image as a 32-bit bitmap whose transparent pixels
// have alpha 0; false for a file that is missing or does not decode as an icon.
bool LoadIconFile(const System::AnsiString& path, TBitmap& bitmap);

class TJPEGImage {
 public:
  int CompressionQuality = 90;  // 1 to 100
  void Assign(TBitmap& bitmap);  // takes the bitmap's pixels
  void AssignTo(TBitmap& bitmap) const;  // gives a 24-bit bitmap
  bool LoadFromFile(const System::AnsiString& path);
  bool SaveToFile(const System::AnsiString& path) const;
  bool LoadFromBytes(const std::vector<uint8_t>& data);  // false for data that does not decode
  std::vector<uint8_t> SaveToBytes() const;
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

 private:
  int FWidth = 0, FHeight = 0;
  std::vector<uint8_t> FRgb;  // R, G, B per pixel, rows top-down
};

// DrawText flags, Win32's numbers.
constexpr uint32_t DT_LEFT = 0x0, DT_TOP = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
                   DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_NOCLIP = 0x100,
                   DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
                   DT_END_ELLIPSIS = 0x8000, DT_RTLREADING = 0x20000;

// Draws text in a rectangle (DT_RTLREADING: right-to-left reading order; alignment flags keep
// their absolute sides); "&" marks the next character as the accelerator (underlined)
// unless DT_NOPREFIX, "&&" is a plain "&". With DT_CALCRECT it draws nothing and sets the
// rectangle's right and bottom to the text's extent. Returns the text height.
int DrawText(TCanvas& canvas, const System::WideString& text, TRect& rect, uint32_t flags);
// The system bitmaps the menu painter draws: the check mark and the sub-menu arrow, black on
// white (white is their automatic transparent colour).
constexpr uint32_t OBM_MNARROW = 32739, OBM_CHECK = 32760;
bool LoadSystemBitmap(uint32_t id, TBitmap& bitmap);
// Fills the rectangle with a gradient from `from` to `to`, left to right or top to bottom.
void GradientFill(TCanvas& canvas, const TRect& rect, TColor from, TColor to, bool vertical);
