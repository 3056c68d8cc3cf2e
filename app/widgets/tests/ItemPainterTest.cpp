// The item painter's colours, state classes, gradient bands and divider, the gradient fill's
// vertices and the picture set's copies and sizes, drawn on real bitmaps.
#include <gtest/gtest.h>

#include "app/widgets/GradientFill.h"
#include "app/widgets/ItemPainter.h"
#include "app/widgets/tests/FakeResources.h"

namespace app {
namespace {

constexpr int kWidth = 120, kHeight = 20;

struct Canvas {
  Canvas() {
    bitmap.SetSize(kWidth, kHeight);
  }
  TColor At(int x, int y) { return bitmap.Canvas()->Pixel(x, y) & 0xFFFFFF; }
  TBitmap bitmap;
};

// A picture of one colour whose bottom-left pixel (the transparent colour) differs.
void Fill(TBitmap& picture, int w, int h, TColor color) {
  picture.SetSize(w, h);
  picture.Canvas()->Brush.Color = color;
  picture.Canvas()->FillRect(Rect(0, 0, w, h));
  picture.Canvas()->SetPixel(0, h - 1, 0xFF00FF);
}

TEST(ItemPainterTest, EveryStateFallsIntoOneClassFirstRuleWins) {
  const struct {
    TOwnerDrawState state;
    const char* name;
  } cases[] = {
      {0, "normal"},
      {odSelected, "hot"},
      {odChecked, "checked"},
      {odChecked | odSelected, "hotchecked"},
      {odDisabled, "disabled"},
      {odGrayed | odChecked | odSelected, "disabled"},
      {odFocused, "normal"},
  };
  for (const auto& c : cases) EXPECT_STREQ(StateClassName(StateClassOf(c.state)), c.name) << c.state;
}

struct ColourCase {
  const char* what;
  TOwnerDrawState state;
  TColor header, base, text;
};

void ExpectColours(TVCLItemPainter& painter, const ColourCase& c) {
  Canvas canvas;
  const TRect item = Rect(0, 0, kWidth, kHeight);
  painter.DrawBackground(canvas.bitmap.Canvas(), item, c.state);
  painter.DrawCaption(canvas.bitmap.Canvas(), item, c.state, L"");
  EXPECT_EQ(canvas.At(3, 3), c.header) << c.what;
  EXPECT_EQ(canvas.At(kWidth - 3, 3), c.base) << c.what;
  EXPECT_EQ(canvas.bitmap.Canvas()->Font.Color, c.text) << c.what;
}

TEST(ItemPainterTest, WithoutLoadedColoursThePaintingDefaultsApply) {
  const ColourCase cases[] = {
      {"normal: white, yellow stripe, black text", 0, 0x00FFFF, 0xFFFFFF, 0x000000},
      {"hot: blue, red stripe, white text", odSelected, 0x0000FF, 0xFF0000, 0xFFFFFF},
      {"hot checked", odSelected | odChecked, 0xF0CAA6, 0xF0CAA6, 0xFFFFFF},
      {"checked", odChecked, 0x00FFFF, 0xFFFFFF, 0x000000},
      {"disabled", odDisabled, 0x00FFFF, 0xFFFFFF, 0x808080},
  };
  TVCLItemPainter painter;
  for (const auto& c : cases) ExpectColours(painter, c);
}

TEST(ItemPainterTest, LoadedColoursUseTheLoadingDefaultsAndCheckedTextStaysBlack) {
  test::FakeResources none;
  test::FakeResources named;
  named.colors = {{"popup_back_hot", 0x112233}, {"popup_text_normal", 0x445566}, {"popup_text_checked", 0x00FF00}};
  const ColourCase noneCases[] = {
      {"normal: dark grey, silver text", 0, 0x404040, 0x404040, 0xC0C0C0},
      {"hot: black, white text", odSelected, 0x000000, 0x000000, 0xFFFFFF},
      {"checked: black text whatever the pages", odChecked, 0x808080, 0x808080, 0x000000},
  };
  TVCLItemPainter painter;
  painter.LoadColors(&none);
  for (const auto& c : noneCases) ExpectColours(painter, c);

  painter.LoadColors(&named);  // empties the table first
  ExpectColours(painter, {"named hot background", odSelected, 0x000000, 0x112233, 0xFFFFFF});
  ExpectColours(painter, {"named normal text", 0, 0x404040, 0x404040, 0x445566});
  ExpectColours(painter, {"no GUI colour for checked text", odChecked, 0x808080, 0x808080, 0x000000});

  painter.LoadColors(nullptr);  // changes nothing
  EXPECT_EQ(painter.LookupColor("base_hot", 0), 0x112233);
}

TEST(ItemPainterTest, AMissingKeyKeepsTheDefaultOfItsFirstLookup) {
  TVCLItemPainter painter;
  EXPECT_EQ(painter.LookupColor("base_hot", 0x123456), 0x123456);
  EXPECT_EQ(painter.LookupColor("base_hot", 0xFF0000), 0x123456);
}

TEST(ItemPainterTest, GradientBandsLeaveTheMiddleThirdSolid) {
  TVCLItemPainter painter;
  painter.SetGradient(true);
  Canvas canvas;
  painter.DrawBackground(canvas.bitmap.Canvas(), Rect(0, 0, kWidth, kHeight), odSelected);
  const int x = kWidth - 3;
  // Upper band rows 0 to 5 run from white to blue, lower band rows 13 to 19 from blue back.
  EXPECT_NE(canvas.At(x, 0), 0xFF0000);
  for (int y = 6; y <= 12; ++y) EXPECT_EQ(canvas.At(x, y), 0xFF0000) << y;
  EXPECT_NE(canvas.At(x, 19), 0xFF0000);
  // The stripe has bands of its own: yellow to red.
  EXPECT_EQ(canvas.At(3, 9), 0x0000FF);
  EXPECT_NE(canvas.At(3, 0), 0x0000FF);
}

TEST(ItemPainterTest, TheDividerLineRunsThroughTheMiddle) {
  TVCLItemPainter painter;
  TBitmap bitmap;
  bitmap.SetSize(kWidth, 10);
  painter.DrawDivider(bitmap.Canvas(), Rect(0, 0, kWidth, 10));
  EXPECT_EQ(bitmap.Canvas()->Pixel(60, 5) & 0xFFFFFF, 0xC0C0C0);
  EXPECT_EQ(bitmap.Canvas()->Pixel(60, 4) & 0xFFFFFF, 0xFFFFFF);
  EXPECT_EQ(bitmap.Canvas()->Pixel(60, 6) & 0xFFFFFF, 0xFFFFFF);
}

TEST(ItemPainterTest, AStateWithoutItsOwnPictureShowsTheNormalOne) {
  TVCLBitmapSet set;
  TBitmap normal, hot, checked;
  Fill(normal, 16, 16, 0x0000FF);
  Fill(hot, 16, 16, 0x00FF00);
  Fill(checked, 16, 16, 0xFF0000);
  ASSERT_TRUE(set.AddBitmap("normal", &normal));
  ASSERT_TRUE(set.AddBitmap("hot", &hot));
  ASSERT_TRUE(set.AddBitmap("checked", &checked));
  const struct {
    TOwnerDrawState state;
    TColor shown;
  } cases[] = {{0, 0x0000FF}, {odSelected, 0x00FF00}, {odChecked, 0xFF0000}, {odSelected | odChecked, 0x0000FF},
               {odDisabled, 0x0000FF}};
  TVCLItemPainter painter;
  for (const auto& c : cases) {
    Canvas canvas;
    painter.DrawBitmap(canvas.bitmap.Canvas(), Rect(0, 0, kWidth, kHeight), c.state, &set);
    // At x = 3 + 8, y = (20 - 16) / 2 + 8.
    EXPECT_EQ(canvas.At(11, 10), c.shown) << c.state;
  }
}

TEST(ItemPainterTest, RadioMarkIsADotInTheTextColourOnlyWhenChecked) {
  TVCLItemPainter painter;
  Canvas checked, unchecked;
  for (Canvas* c : {&checked, &unchecked}) {
    c->bitmap.Canvas()->Brush.Color = 0xFFFFFF;
    c->bitmap.Canvas()->FillRect(Rect(0, 0, kWidth, kHeight));
  }
  painter.DrawRadioMark(checked.bitmap.Canvas(), Rect(0, 0, kWidth, kHeight), odChecked);
  painter.DrawRadioMark(unchecked.bitmap.Canvas(), Rect(0, 0, kWidth, kHeight), 0);
  const int w = painter.GetMarkWidth(), h = painter.GetMarkHeight();
  const int x = (20 - w) / 2 + w / 2, y = (kHeight - h) / 2 + h / 2;
  EXPECT_EQ(checked.At(x, y), 0x000000);
  EXPECT_EQ(checked.At(x - 5, y - 5), 0xFFFFFF);  // the magenta ground is transparent
  EXPECT_EQ(unchecked.At(x, y), 0xFFFFFF);
}

TEST(BitmapSetTest, CopiesNamesAndSizes) {
  TVCLBitmapSet set;
  TBitmap small, large, other;
  Fill(small, 16, 16, 0x0000FF);
  Fill(large, 32, 32, 0x00FF00);
  Fill(other, 8, 8, 0xFF0000);
  EXPECT_FALSE(set.AddBitmap("", &small));
  EXPECT_FALSE(set.AddBitmap("normal", nullptr));
  EXPECT_TRUE(set.AddBitmap("normal", &small));
  EXPECT_FALSE(set.AddBitmap("normal", &other));  // the old picture stays
  EXPECT_TRUE(set.AddBitmap("hot", &large));
  TBitmap out;
  ASSERT_TRUE(set.GetBitmap("normal", &out));
  EXPECT_EQ(out.Width(), 16);
  EXPECT_EQ(out.Canvas()->Pixel(5, 5) & 0xFFFFFF, 0x0000FF);
  EXPECT_FALSE(set.GetBitmap("", &out));
  EXPECT_FALSE(set.GetBitmap("checked", &out));
  std::vector<std::string> names;
  set.GetNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"hot", "normal"}));

  // An empty other set leaves this one as it was.
  TVCLBitmapSet empty;
  EXPECT_FALSE(set.Assign(empty));
  EXPECT_EQ(set.GetCount(), 2);

  // Clearing keeps the largest size ever seen.
  set.Clear();
  EXPECT_EQ(set.GetCount(), 0);
  EXPECT_EQ(set.GetMaxWidth(), 32);
  EXPECT_EQ(set.GetMaxHeight(), 32);

  TVCLBitmapSet source;
  source.AddBitmap("normal", &other);
  source.AddBitmap("disabled", &small);
  EXPECT_TRUE(set.Assign(source));
  EXPECT_EQ(set.GetCount(), 2);
  ASSERT_TRUE(set.GetBitmap("disabled", &out));
  EXPECT_EQ(out.Canvas()->Pixel(5, 5) & 0xFFFFFF, 0x0000FF);
}

TEST(GradientFillTest, VerticesTakeTheColoursAsSixteenBitChannels) {
  TsgRectangleGradientFill fill;
  fill.SetBounds(2, 3, 10, 20);
  TBitmap bitmap;
  bitmap.SetSize(20, 30);
  EXPECT_TRUE(fill.FillVertical(bitmap.Canvas(), 0x0000FF, 0x00FF80));
  EXPECT_EQ(fill.Vertex(0).x, 2);
  EXPECT_EQ(fill.Vertex(1).y, 23);
  EXPECT_EQ(fill.Vertex(0).Red, 0xFF00);
  EXPECT_EQ(fill.Vertex(1).Green, 0xFF00);
  EXPECT_EQ(fill.Vertex(1).Red, 0x8000);
  EXPECT_EQ(fill.Vertex(1).Blue, 0);
  EXPECT_EQ(fill.Vertex(0).Alpha, 0);
  // Top row red, bottom row near the second colour.
  EXPECT_EQ(bitmap.Canvas()->Pixel(5, 3) & 0xFFFFFF, 0x0000FF);
  EXPECT_GT((bitmap.Canvas()->Pixel(5, 22) >> 8) & 0xFF, 0xE0);
}

}  // namespace
}  // namespace app
