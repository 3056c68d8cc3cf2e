// The info tool bar's showing, fading, scaling, hiding and glyphs, and the drag icon.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/widgets/DragDrop.h"
#include "app/widgets/InfoToolbar.h"
#include "app/widgets/tests/FakeResources.h"

namespace app {
namespace {

TEST(InfoToolbarTest, ShowAtClampsTheAlphaAndKeepsAShownStripInPlace) {
  const struct {
    double alpha;
    int blend;
  } cases[] = {{0.5, 127}, {1.7, 255}, {-0.2, 0}, {std::nan(""), 0}, {1.0, 255}, {0.0, 0}};
  TfrmInfoToolbar bar(nullptr);
  for (const auto& c : cases) {
    bar.ShowAt(100, 200, c.alpha, 0);
    EXPECT_EQ(bar.AlphaBlendValue(), c.blend) << c.alpha;
  }
  EXPECT_TRUE(bar.Visible());
  EXPECT_EQ(bar.Left(), 100);
  EXPECT_EQ(bar.Top(), 200);
  EXPECT_EQ(bar.Width(), 281);  // width 0 keeps it
  bar.ShowAt(300, 400, 0.5, -5);
  EXPECT_EQ(bar.Width(), 281);
  bar.ShowAt(300, 400, 0.5, 150);
  EXPECT_EQ(bar.Left(), 100);
  EXPECT_EQ(bar.Width(), 150);
  // The pointer over the strip makes it opaque.
  bar.FormMouseMove(&bar, 0, 1, 1);
  EXPECT_EQ(bar.AlphaBlendValue(), 255);
}

bool keepOpenAnswer = false;
std::vector<TPoint> asked;
bool KeepOpen(void* data, TPoint p) {
  EXPECT_EQ(data, &keepOpenAnswer);
  asked.push_back(p);
  return keepOpenAnswer;
}

TEST(InfoToolbarTest, TheTimerHidesTheStripOnceThePointerIsOutAndNotKeptOpen) {
  TfrmInfoToolbar bar(nullptr);
  bar.ShowAt(100, 100, 1.0, 0);
  const TRect r = bar.BoundsRect();
  bar.keepOpen = &KeepOpen;
  bar.keepOpenData = &keepOpenAnswer;
  const struct {
    TPoint pointer;
    bool keep;
    bool visible;
    bool asked;
  } cases[] = {
      {{r.Left, r.Top}, false, true, false},
      {{r.Right - 1, r.Bottom - 1}, false, true, false},
      {{r.Right, r.Top + 5}, true, true, true},  // the right edge is outside: the test decides
      {{r.Left + 5, r.Bottom}, false, false, true},
  };
  for (const auto& c : cases) {
    SetCursorPos(c.pointer.x, c.pointer.y);
    if (GetCursorPos().x != c.pointer.x || GetCursorPos().y != c.pointer.y) GTEST_SKIP() << "the pointer cannot be moved here";
    keepOpenAnswer = c.keep;
    asked.clear();
    bar.tmrCloseTimer(bar.tmrClose);
    EXPECT_EQ(bar.Visible(), c.visible) << c.pointer.x << "," << c.pointer.y;
    EXPECT_EQ(!asked.empty(), c.asked);
  }
  EXPECT_FALSE(bar.tmrClose->Enabled());
}

TEST(InfoToolbarTest, ScaleMultipliesTheStripAndButtons) {
  TfrmInfoToolbar bar(nullptr);
  bar.Scale(1.5);
  EXPECT_EQ(bar.Width(), 421);
  EXPECT_EQ(bar.Height(), 45);
  EXPECT_EQ(bar.sbFreeMatrix->BoundsRect(), Rect(0, 0, 42, 42));
  EXPECT_EQ(bar.cbLossyMode->BoundsRect(), Rect(45, 0, 87, 42));
}

TEST(InfoToolbarTest, LossyHintFollowsTheToggle) {
  TfrmInfoToolbar bar(nullptr);
  EXPECT_FALSE(bar.cbLossyMode->Enabled());
  bar.cbLossyMode->SetDown(true);
  bar.UpdateLossyHint();
  EXPECT_EQ(bar.cbLossyMode->Hint(), L"set lossless mode");
  bar.cbLossyMode->SetDown(false);
  bar.ApplyGuiResources(nullptr);
  EXPECT_EQ(bar.cbLossyMode->Hint(), L"set lossy mode");
}

TEST(InfoToolbarTest, GlyphsFromTheImagesModuleAndMissingOnesLeaveTheButton) {
  test::FakeResources record;
  record.colors = {{"cInfo", 0x123456}};
  record.images = platform::LoadResourceModule("Lingopack_English.dll");
  ASSERT_NE(record.images, nullptr);
  record.pages[L"GUI_IMAGES"] =
      L"<GUI_IMAGES><freematrix image=\"FREEMATRIX\"/><lossymode image=\"NOT_THERE\"/></GUI_IMAGES>";
  TfrmInfoToolbar bar(nullptr);
  bar.ApplyGuiResources(&record);
  EXPECT_EQ(bar.pnlTools->Color(), 0x123456);
  EXPECT_EQ(bar.sbFreeMatrix->Glyph()->Width(), 112);
  EXPECT_EQ(bar.sbFreeMatrix->NumGlyphs, 4);
  EXPECT_TRUE(bar.cbLossyMode->Glyph()->Empty());
  EXPECT_EQ(bar.cbLossyMode->NumGlyphs, 1);
  // A square picture is one glyph; the module's toggle picture holds four.
  record.pages[L"GUI_IMAGES"] = L"<GUI_IMAGES><lossymode image=\"MC_FREEMATRIX\"/></GUI_IMAGES>";
  bar.ApplyGuiResources(&record);
  EXPECT_EQ(bar.cbLossyMode->Glyph()->Width(), 24);
  EXPECT_EQ(bar.cbLossyMode->NumGlyphs, 1);
  record.pages[L"GUI_IMAGES"] = L"<GUI_IMAGES><lossymode image=\"LOSSYMODE\"/></GUI_IMAGES>";
  bar.ApplyGuiResources(&record);
  EXPECT_EQ(bar.cbLossyMode->NumGlyphs, 4);
  platform::FreeResourceModule(record.images);
}

TEST(DragDropTest, ImageAndCell) {
  TfrmDragDrop icon(nullptr);
  EXPECT_EQ(icon.GetCellIndex(), -1);
  EXPECT_EQ(icon.AlphaBlendValue(), 192);
  icon.SetImage(64, 48, nullptr);
  EXPECT_EQ(icon.ClientWidth(), 64);
  EXPECT_EQ(icon.ClientHeight(), 48);
  EXPECT_TRUE(icon.imgIcon->Picture()->Empty());
  TBitmap picture;
  picture.SetSize(32, 32);
  icon.SetImage(32, 32, &picture);
  EXPECT_EQ(icon.imgIcon->Picture()->Width(), 32);
  EXPECT_TRUE(icon.imgIcon->Stretch);
  icon.SetCellIndex(3);
  EXPECT_EQ(icon.GetCellIndex(), 3);
}

}  // namespace
}  // namespace app
