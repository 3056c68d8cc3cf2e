// Bitmaps, BMP and JPEG files, transparency, gradient fills and text drawing.
#include <gtest/gtest.h>

#include <QFont>
#include <QImage>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "platform/vcl/Graphics.h"

namespace {

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "-" + name)).string();
}

void Fill(TBitmap& bitmap, TColor color) {
  bitmap.Canvas()->Brush.Color = color;
  bitmap.Canvas()->FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
}

// A right triangle filled red; a clear pen leaves its edge in the fill colour, a solid black
// pen draws the edge.
TEST(CanvasTest, PolygonFillsWithOrWithoutOutline) {
  const struct {
    TPenStyle style;
    TColor edge;
  } cases[] = {{psClear, clRed}, {psSolid, clBlack}};
  for (const auto& c : cases) {
    TBitmap bitmap;
    bitmap.SetSize(20, 20);
    Fill(bitmap, clWhite);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Pen.Style = c.style;
    canvas->Pen.Color = clBlack;
    canvas->Brush.Color = clRed;
    canvas->Polygon({{0, 0}, {19, 0}, {0, 19}});
    EXPECT_EQ(canvas->Pixel(4, 4), clRed) << c.style;
    EXPECT_EQ(canvas->Pixel(0, 10), c.edge) << c.style;
    EXPECT_EQ(canvas->Pixel(18, 18), clWhite) << c.style;
  }
}

TEST(BitmapTest, ScanLinesAndPixelFormats) {
  struct Case {
    TPixelFormat format;
    int bytesPerPixel;
  } cases[] = {{pf24bit, 3}, {pf32bit, 4}};
  for (const auto& c : cases) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(c.format);
    bitmap.SetSize(5, 3);
    EXPECT_GE(bitmap.BytesPerLine(), 5 * c.bytesPerPixel);
    Fill(bitmap, clWhite);
    uint8_t* row = bitmap.ScanLine(1);  // rows from the top
    row[3 * c.bytesPerPixel + 0] = 0x10;  // blue
    row[3 * c.bytesPerPixel + 1] = 0x20;  // green
    row[3 * c.bytesPerPixel + 2] = 0x30;  // red
    EXPECT_EQ(bitmap.Canvas()->Pixel(3, 1), 0x102030) << c.format;
    EXPECT_EQ(bitmap.Canvas()->Pixel(2, 1), clWhite);
    EXPECT_EQ(bitmap.ScanLine(3), nullptr);

    // BMP round trip: bottom-up rows of the same depth.
    const auto bytes = bitmap.SaveToBytes();
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[28], c.bytesPerPixel * 8);
    const size_t stride = (5 * c.bytesPerPixel + 3) & ~3;
    EXPECT_EQ(bytes.size(), 54 + stride * 3);
    EXPECT_EQ(bytes[54 + stride * 1 + 3 * c.bytesPerPixel + 2], 0x30);  // row 1 of 3 is row 1 from the bottom
    TBitmap back;
    ASSERT_TRUE(back.LoadFromStream(bytes));
    EXPECT_EQ(back.PixelFormat(), c.format);
    EXPECT_EQ(back.Canvas()->Pixel(3, 1), 0x102030);
  }
}

TEST(BitmapTest, ResourceBitmapAndTransparency) {
  platform::ResourceModuleHandle module = platform::LoadResourceModule("Lingopack_Testish.dll");
  ASSERT_NE(module, nullptr);
  TBitmap checker;
  ASSERT_TRUE(checker.LoadFromResourceName(module, L"CHECKER"));
  EXPECT_FALSE(checker.LoadFromResourceName(module, L"MISSING"));
  platform::FreeResourceModule(module);
  ASSERT_EQ(checker.Width(), 4);
  ASSERT_EQ(checker.Height(), 2);
  EXPECT_EQ(checker.Canvas()->Pixel(0, 1), clRed);  // the file's first row is the bottom one
  EXPECT_EQ(checker.Canvas()->Pixel(0, 0), clBlue);
  EXPECT_EQ(checker.TransparentColor(), clRed);  // automatic: the bottom-left pixel

  TBitmap target;
  target.SetSize(4, 2);
  Fill(target, clWhite);
  checker.Transparent = true;
  target.Canvas()->Draw(0, 0, checker);
  EXPECT_EQ(target.Canvas()->Pixel(0, 1), clWhite);  // red left out
  EXPECT_EQ(target.Canvas()->Pixel(1, 1), clBlue);
  checker.SetTransparentColor(clBlue);
  target.Canvas()->Draw(0, 0, checker);
  EXPECT_EQ(target.Canvas()->Pixel(1, 1), clBlue);  // blue drawn before stays; nothing new
  EXPECT_EQ(target.Canvas()->Pixel(0, 1), clRed);
  checker.Transparent = false;
  target.Canvas()->Draw(0, 0, checker);
  EXPECT_EQ(target.Canvas()->Pixel(1, 0), clRed);
}

TEST(BitmapTest, FilesThatAreNotBitmaps) {
  TBitmap bitmap;
  EXPECT_FALSE(bitmap.LoadFromFile("/nonexistent.bmp"));
  EXPECT_FALSE(bitmap.LoadFromStream({'B', 'M', 1, 2, 3}));
  EXPECT_FALSE(bitmap.LoadFromStream({}));
  EXPECT_TRUE(bitmap.Empty());
}

TEST(JpegTest, QualityAndRoundTrip) {
  TBitmap source;
  source.SetSize(64, 48);
  GradientFill(*source.Canvas(), Rect(0, 0, 64, 48), clNavy, clYellow, false);
  source.Canvas()->Brush.Color = clRed;
  source.Canvas()->FillRect(Rect(8, 8, 24, 24));

  TJPEGImage jpeg;
  jpeg.Assign(source);
  jpeg.CompressionQuality = 95;
  const auto high = jpeg.SaveToBytes();
  jpeg.CompressionQuality = 10;
  const auto low = jpeg.SaveToBytes();
  ASSERT_FALSE(high.empty());
  EXPECT_LT(low.size(), high.size());
  EXPECT_EQ(high[0], 0xFF);
  EXPECT_EQ(high[1], 0xD8);

  const std::string path = TempPath("q95.jpg");
  jpeg.CompressionQuality = 95;
  ASSERT_TRUE(jpeg.SaveToFile(path));
  TJPEGImage read;
  ASSERT_TRUE(read.LoadFromFile(path));
  std::filesystem::remove(path);
  TBitmap back;
  read.AssignTo(back);
  ASSERT_EQ(back.Width(), 64);
  ASSERT_EQ(back.Height(), 48);
  const TColor inside = back.Canvas()->Pixel(16, 16);
  EXPECT_GT(inside & 0xFF, 220);          // red stays red
  EXPECT_LT((inside >> 16) & 0xFF, 40);

  EXPECT_FALSE(read.LoadFromBytes({0xFF, 0xD8, 0xFF, 0x00, 0x12}));
  EXPECT_FALSE(read.LoadFromBytes({}));
  EXPECT_FALSE(read.LoadFromFile("/nonexistent.jpg"));
  std::vector<uint8_t> truncated(high.begin(), high.begin() + static_cast<long>(high.size() / 2));
  read.LoadFromBytes(truncated);  // libjpeg fills the rest; it must not crash
}

TEST(DrawingTest, GradientFill) {
  TBitmap bitmap;
  bitmap.SetSize(11, 5);
  GradientFill(*bitmap.Canvas(), Rect(0, 0, 11, 5), clBlack, clWhite, false);
  EXPECT_EQ(bitmap.Canvas()->Pixel(0, 2), clBlack);
  EXPECT_EQ(bitmap.Canvas()->Pixel(10, 2), clWhite);
  const int mid = bitmap.Canvas()->Pixel(5, 2) & 0xFF;
  EXPECT_NEAR(mid, 128, 8);
  GradientFill(*bitmap.Canvas(), Rect(0, 0, 11, 5), clRed, clBlue, true);
  EXPECT_EQ(bitmap.Canvas()->Pixel(3, 0), clRed);
  EXPECT_EQ(bitmap.Canvas()->Pixel(3, 4), clBlue);
  GradientFill(*bitmap.Canvas(), Rect(5, 5, 5, 9), clRed, clBlue, true);  // empty: nothing
}

// The columns that hold ink (non-white pixels) in a bitmap.
std::pair<int, int> InkColumns(TBitmap& bitmap) {
  int first = -1, last = -1;
  for (int x = 0; x < bitmap.Width(); ++x)
    for (int y = 0; y < bitmap.Height(); ++y)
      if (bitmap.Canvas()->Pixel(x, y) != clWhite) {
        if (first < 0) first = x;
        last = x;
      }
  return {first, last};
}

TEST(DrawingTest, DrawTextFlags) {
  TBitmap bitmap;
  bitmap.SetSize(200, 30);
  TCanvas& canvas = *bitmap.Canvas();
  canvas.Font.Size = 10;

  TRect calc = Rect(0, 0, 0, 0);
  const int height = DrawText(canvas, L"&File", calc, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(calc.Width(), canvas.TextWidth(L"File"));  // "&" is not shown
  EXPECT_EQ(calc.Height(), height);
  TRect raw = Rect(0, 0, 0, 0);
  DrawText(canvas, L"&File", raw, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_GT(raw.Width(), calc.Width());
  TRect wrapped = Rect(0, 0, 60, 0);
  DrawText(canvas, L"several words that wrap over lines", wrapped, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GT(wrapped.Height(), height);
  EXPECT_GT(canvas.TextExtent(L"longer text").x, canvas.TextExtent(L"text").x);
  EXPECT_GT(canvas.TextHeight(L"x"), 0);

  struct Case {
    uint32_t flags;
    const char* where;
  } cases[] = {{DT_LEFT, "left"}, {DT_CENTER, "centre"}, {DT_RIGHT, "right"}};
  for (const auto& c : cases) {
    Fill(bitmap, clWhite);
    TRect box = Rect(0, 0, 200, 30);
    DrawText(canvas, L"Te&xt", box, c.flags | DT_SINGLELINE | DT_VCENTER);
    auto [first, last] = InkColumns(bitmap);
    ASSERT_GE(first, 0) << c.where;
    const int left = first, right = 199 - last;
    switch (c.flags) {
      case DT_LEFT: EXPECT_LT(left, 5); break;
      case DT_RIGHT: EXPECT_LT(right, 5); break;
      default: EXPECT_NEAR(left, right, 6); break;
    }
  }
  // Right-to-left reading keeps the absolute alignment.
  Fill(bitmap, clWhite);
  TRect rtl = Rect(0, 0, 200, 30);
  DrawText(canvas, L"Text", rtl, DT_RIGHT | DT_SINGLELINE | DT_RTLREADING);
  EXPECT_LT(199 - InkColumns(bitmap).second, 5);
  // Ellipsis keeps the text inside the box.
  Fill(bitmap, clWhite);
  TRect narrow = Rect(0, 0, 40, 30);
  DrawText(canvas, L"a rather long caption", narrow, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_LT(InkColumns(bitmap).second, 40);
}

TEST(DrawingTest, SystemBitmaps) {
  for (uint32_t id : {OBM_CHECK, OBM_MNARROW}) {
    TBitmap bitmap;
    ASSERT_TRUE(LoadSystemBitmap(id, bitmap));
    EXPECT_EQ(bitmap.TransparentColor(), clWhite);  // the corner is background
    bool ink = false;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) ink = ink || bitmap.Canvas()->Pixel(x, y) == clBlack;
    EXPECT_TRUE(ink) << id;
  }
  TBitmap none;
  EXPECT_FALSE(LoadSystemBitmap(1, none));
}

}  // namespace

TEST(IconFileTest, TheLargestImageWithItsTransparency) {
  const std::string folder = std::filesystem::temp_directory_path() / ("icons_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  QImage icon(32, 32, QImage::Format_ARGB32);
  icon.fill(QColor(0, 0, 255, 255));
  icon.setPixelColor(0, 0, QColor(0, 0, 0, 0));
  ASSERT_TRUE(icon.save(QString::fromStdString(folder + "/a.ico"), "ICO"));
  {
    std::FILE* f = std::fopen((folder + "/not.ico").c_str(), "wb");
    std::fputs("not an icon", f);
    std::fclose(f);
  }
  TBitmap bitmap;
  EXPECT_FALSE(LoadIconFile(folder + "/missing.ico", bitmap));
  EXPECT_FALSE(LoadIconFile(folder + "/not.ico", bitmap));
  ASSERT_TRUE(LoadIconFile(folder + "/a.ico", bitmap));
  EXPECT_EQ(bitmap.Width(), 32);
  EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
  EXPECT_EQ(bitmap.Canvas()->Pixel(5, 5) & 0xFFFFFF, 0xFF0000);
  EXPECT_EQ(bitmap.ScanLine(0)[3], 0);  // alpha of the transparent corner
  std::filesystem::remove_all(folder);
}

TEST(CanvasTest, EllipseFillsItsBoundingBox) {
  TBitmap bitmap;
  bitmap.SetSize(20, 20);
  TCanvas* c = bitmap.Canvas();
  c->Brush.Color = clWhite;
  c->FillRect(Rect(0, 0, 20, 20));
  c->Brush.Color = clRed;
  c->Pen.Color = clRed;
  c->Ellipse(4, 4, 16, 16);
  EXPECT_EQ(c->Pixel(10, 10) & 0xFFFFFF, clRed);
  EXPECT_EQ(c->Pixel(4, 4) & 0xFFFFFF, clWhite);  // the corner of the box stays
  EXPECT_EQ(c->Pixel(17, 10) & 0xFFFFFF, clWhite);
}

// Point sizes become pixel sizes at 96 dpi; a negative size (a positive VCL height) still
// gives a usable font of that many pixels.
TEST(FontTest, SizesBecomeUsablePixelSizes) {
  const struct {
    int size;
    int pixels;
  } cases[] = {{8, 11}, {16, 21}, {-11, 14}, {-22, 28}, {0, 1}};
  for (const auto& c : cases) {
    TFont font;
    font.Size = c.size;
    EXPECT_EQ(font.ToQFont().pixelSize(), c.pixels) << c.size;
  }
}
