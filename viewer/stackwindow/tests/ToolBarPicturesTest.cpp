// Tool-bar pictures: the picture records, copying from the shared lists by counters on later
// frames, pressed pictures and the maximize button.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/vcl/Forms.h"
#include "viewer/stackwindow/TFrameStackWindow.h"
#include "viewer/stackwindow/ToolBarPictures.h"

namespace {

std::unique_ptr<TBitmap> Solid(int w, int h, TColor colour) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(w, h);
  b->Canvas()->Brush.Color = colour;
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  b->Canvas()->SetPixel(0, h - 1, 0xFF00FF);  // the transparent colour sits bottom-left
  return b;
}

TColor CentreOf(TImageList& list, int index) {
  TBitmap b;
  if (!list.GetBitmap(index, &b)) return clNone;
  return b.Canvas()->Pixel(b.Width() / 2, b.Height() / 2);
}

const wchar_t* kSection =
    L"<tbTools button_width=\"24\" button_height=\"24\" normal_il=\"ilNormal16x16\" store_il=\"testStore\" "
    L"hot_il=\"testHot\" disabled_il=\"testDisabled\">"
    L"<tbLink image=\"LINK\" pressed=\"LINK_DOWN\"/>"
    L"<tbZoom image=\"ZOOM\" hot=\"ZOOM_HOT\"/>"
    L"</tbTools>";

TEST(ToolBarPicturesTest, LaterFramesCopyFromTheSharedListsInTheFirstFramesOrder) {
  // The first frame's pictures as they sit in the shared lists: tbLink normal and pressed,
  // then tbZoom normal (store); tbZoom hot (hot list).
  TImageList& store = GetSharedImageList("  testStore ");
  TImageList& hot = GetSharedImageList("testHot");
  store.Clear();
  hot.Clear();
  store.Width = store.Height = 16;
  for (TColor c : {TColor(0x0000FF), TColor(0x00FF00), TColor(0xFF0000)}) store.AddMasked(Solid(16, 16, c).get(), 0xFF00FF);
  hot.AddMasked(Solid(16, 16, 0x00FFFF).get(), 0xFF00FF);
  ToolBarPicturesLoaded() = true;

  TFrameStackWindow frame(nullptr, -1, 0, 0, 0);
  TStackWindowPictures pictures;
  pictures.LoadToolBarPictures({{"ilNormal16x16", frame.ilNormal16x16}}, nullptr, kSection, frame.tbTools, 24, 24);
  EXPECT_EQ(&GetSharedImageList("testStore"), &store);
  EXPECT_EQ(store.Count(), 3) << "a later frame adds nothing to the shared list";
  const ToolButtonPictures* link = PicturesOf(frame.tbLink);
  const ToolButtonPictures* zoom = PicturesOf(frame.tbZoom);
  ASSERT_NE(link, nullptr);
  ASSERT_NE(zoom, nullptr);
  EXPECT_EQ(link->Normal, 0);
  EXPECT_EQ(link->Pressed, 1);
  EXPECT_EQ(zoom->Normal, 2);
  EXPECT_EQ(zoom->Pressed, -1);
  EXPECT_EQ(zoom->Hot, 0);
  // A button without a page element keeps its form picture and an empty record.
  const ToolButtonPictures* pan = PicturesOf(frame.tbPan);
  ASSERT_NE(pan, nullptr);
  EXPECT_EQ(pan->Normal, -1);
  EXPECT_EQ(frame.tbPan->ImageIndex(), -1);
  EXPECT_EQ(frame.tbTools->ButtonWidth, 24);
  EXPECT_EQ(frame.ilNormal16x16->Width, 16);

  // The pressed picture shows while the button is down; a button without one keeps its picture.
  EXPECT_EQ(CentreOf(*frame.ilNormal16x16, frame.tbLink->ImageIndex()), 0x0000FF);
  frame.tbLink->SetDown(true);
  ShowButtonPicture(frame.tbLink, *frame.ilNormal16x16, store, true);
  EXPECT_EQ(CentreOf(*frame.ilNormal16x16, frame.tbLink->ImageIndex()), 0x00FF00);
  ShowButtonPicture(frame.tbZoom, *frame.ilNormal16x16, store, true);
  EXPECT_EQ(CentreOf(*frame.ilNormal16x16, frame.tbZoom->ImageIndex()), 0xFF0000);
  ToolBarPicturesLoaded() = false;
}

TEST(ToolBarPicturesTest, FirstFrameReportsAMissingBitmap) {
  ToolBarPicturesLoaded() = false;
  EXPECT_THROW(LoadToolBitmap(nullptr, "NO_SUCH_BITMAP", 16, 16), std::runtime_error);
}

TEST(ToolBarPicturesTest, MaximizeButtonWithoutPicturesUsesItsTwoIndexes) {
  TFrameStackWindow frame(nullptr, -1, 0, 0, 0);
  frame.SetMaximizedButton(true);
  EXPECT_EQ(frame.tbOnOff->ImageIndex(), 0);
  frame.SetMaximizedButton(false);
  EXPECT_EQ(frame.tbOnOff->ImageIndex(), 1);
}

TEST(ToolBarPicturesTest, OnlyTheExactButtonClassCounts) {
  TToolButton button(nullptr);
  TPanel panel(nullptr);
  EXPECT_TRUE(IsToolButtonClass(&button));
  EXPECT_FALSE(IsToolButtonClass(&panel));
  EXPECT_FALSE(IsToolButtonClass(nullptr));
}

}  // namespace
