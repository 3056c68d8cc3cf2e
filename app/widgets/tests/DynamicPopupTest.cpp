// The dynamic popup's items: names, refusals, check and radio clicks with their
// notifications, tags, pictures, measuring and attaching, on real menu items.
#include <gtest/gtest.h>

#include "app/widgets/DynamicPopup.h"

namespace app {
namespace {

struct Heard {
  std::string kind, name;
  int tag;
  bool checked;
  bool operator==(const Heard&) const = default;
};

class RecordingOwner {
 public:
  void OnCheckItem(const std::string& name, int tag, bool checked) { heard.push_back({"check", name, tag, checked}); }
  void OnRadioItem(const std::string& name, int tag, bool checked) { heard.push_back({"radio", name, tag, checked}); }
  void OnMenuItem(const std::string& name, int tag) { heard.push_back({"menu", name, tag, false}); }
  std::vector<Heard> heard;
};

using Popup = TVCLDynamicPopup<RecordingOwner>;

void Pictures(TVCLBitmapSet& set, int size) {
  TBitmap picture;
  picture.SetSize(size, size);
  set.AddBitmap("normal", &picture);
}

TEST(DynamicPopupTest, NamesAreGivenOrMadeUpAndNeverTwice) {
  RecordingOwner owner;
  Popup popup(&owner);
  const int counter = DynamicPopupItemCounter();
  EXPECT_TRUE(popup.AddCheckItem("", L"a", L"", 1, nullptr, 0, true, false));
  EXPECT_TRUE(popup.AddRadioItem("", L"b", L"", 2, nullptr, 0, true, false, 0));
  EXPECT_TRUE(popup.AddMenuItem("", L"c", L"", 3, nullptr, 0, true));
  popup.AddDivider("");
  EXPECT_EQ(popup.Item(0)->Name(), "CheckItem" + std::to_string(counter + 1));
  EXPECT_EQ(popup.Item(1)->Name(), "RadioItem" + std::to_string(counter + 2));
  EXPECT_EQ(popup.Item(2)->Name(), "MenuItem" + std::to_string(counter + 3));
  EXPECT_EQ(popup.Item(3)->Name(), "Divider" + std::to_string(counter + 4));
  EXPECT_EQ(popup.Item(3)->Caption(), L"-");

  EXPECT_TRUE(popup.AddCheckItem("Same", L"x", L"", 1, nullptr, 0, true, false));
  EXPECT_FALSE(popup.AddRadioItem("Same", L"y", L"", 1, nullptr, 0, true, false, 0));
  EXPECT_FALSE(popup.AddMenuItem("Same", L"z", L"", 1, nullptr, 0, true));
  popup.AddDivider("Same");
  EXPECT_EQ(popup.GetItemCount(), 5);
  EXPECT_EQ(popup.IndexOfName("Same"), 4);
  EXPECT_EQ(popup.IndexOfName("same"), -1);

  const int group = DynamicPopupGroupCounter();
  EXPECT_EQ(popup.NextGroupIndex(), group + 1);
  EXPECT_EQ(popup.NextGroupIndex(), group + 2);
}

TEST(DynamicPopupTest, ClickAtOnceChecksOnlyEnabledItems) {
  const struct {
    bool enabled;
    bool checked;
    std::vector<Heard> heard;
  } cases[] = {
      {false, false, {}},
      {true, true, {{"check", "C", 7, true}}},
  };
  for (const auto& c : cases) {
    RecordingOwner owner;
    Popup popup(&owner);
    popup.AddCheckItem("C", L"c", L"", 7, nullptr, 0, c.enabled, true);
    EXPECT_EQ(popup.Item(0)->Checked(), c.checked) << c.enabled;
    EXPECT_EQ(owner.heard, c.heard) << c.enabled;
  }
}

TEST(DynamicPopupTest, ClicksReachTheOwner) {
  RecordingOwner owner;
  Popup popup(&owner);
  TTntPopupMenu menu(nullptr);
  menu.OwnerDraw = true;
  popup.AddCheckItem("Check", L"check", L"", 1, nullptr, 0, true, false);
  popup.AddRadioItem("Three", L"three", L"", 3, nullptr, 0, true, false, 4);
  popup.AddRadioItem("Five", L"five", L"", 5, nullptr, 0, true, false, 4);
  popup.AddRadioItem("FiveToo", L"five too", L"", 5, nullptr, 0, true, false, 9);
  popup.AddMenuItem("Plain", L"plain", L"", 8, nullptr, 0, true);
  popup.AttachTo(menu.Items());
  ASSERT_EQ(menu.Items()->Count(), 5);

  popup.Item(0)->Click();
  popup.Item(0)->Click();
  popup.Item(1)->Click();
  EXPECT_TRUE(popup.Item(1)->Checked());
  owner.heard.clear();
  // Item 5 of group 4: item 3 loses its check by the menu's own grouping, unreported; every
  // item of tag 5 is reported.
  popup.Item(2)->Click();
  EXPECT_FALSE(popup.Item(1)->Checked());
  EXPECT_TRUE(popup.Item(2)->Checked());
  EXPECT_FALSE(popup.Item(3)->Checked());
  EXPECT_EQ(owner.heard, (std::vector<Heard>{{"radio", "Five", 5, true}, {"radio", "FiveToo", 5, false}}));
  owner.heard.clear();
  popup.Item(4)->Click();
  EXPECT_FALSE(popup.Item(4)->Checked());
  EXPECT_EQ(owner.heard, (std::vector<Heard>{{"menu", "Plain", 8, false}}));
  popup.Clear();
  EXPECT_EQ(menu.Items()->Count(), 0);
}

TEST(DynamicPopupTest, WithoutAnOwnerClicksOnlyMoveTheMarks) {
  Popup popup(nullptr);
  popup.AddCheckItem("C", L"c", L"", 1, nullptr, 0, true, true);
  EXPECT_TRUE(popup.Item(0)->Checked());
}

TEST(DynamicPopupTest, TagsDriveChecksAndEnabling) {
  Popup popup(nullptr);
  for (int tag : {2, 4, 5, 9}) popup.AddMenuItem("", L"i", L"", tag, nullptr, 0, true);
  popup.CheckItemsWithTag(5);
  popup.EnableItemsAbove(4);
  const bool checked[] = {false, false, true, false};
  const bool enabled[] = {false, false, true, true};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(popup.Item(i)->Checked(), checked[i]) << i;
    EXPECT_EQ(popup.Item(i)->Enabled, enabled[i]) << i;
  }
}

TEST(DynamicPopupTest, PictureSetsPerIdentifier) {
  Popup popup(nullptr);
  TVCLBitmapSet first, second, empty;
  Pictures(first, 16);
  Pictures(second, 24);
  EXPECT_FALSE(popup.SetItemBitmaps(3, nullptr));
  EXPECT_TRUE(popup.SetItemBitmaps(3, &first));
  EXPECT_FALSE(popup.SetItemBitmaps(3, &second));  // the old pictures stay
  TBitmap out;
  ASSERT_TRUE(popup.GetItemBitmap(3, "normal", &out));
  EXPECT_EQ(out.Width(), 16);
  EXPECT_FALSE(popup.GetItemBitmap(3, "", &out));
  EXPECT_FALSE(popup.GetItemBitmap(3, "normal", nullptr));
  EXPECT_FALSE(popup.GetItemBitmap(4, "normal", &out));
  // An item added with pictures under that identifier replaces them.
  popup.AddRadioItem("", L"r", L"", 3, &second, 0, true, false, 0);
  ASSERT_TRUE(popup.GetItemBitmap(3, "normal", &out));
  EXPECT_EQ(out.Width(), 24);
  EXPECT_EQ(second.GetCount(), 1);  // the caller keeps its own set
  // A plain item whose set is empty shows neither picture nor mark.
  popup.AddMenuItem("", L"p", L"", 6, &empty, 0, true);
  TBitmap item;
  item.SetSize(100, 20);
  item.Canvas()->Brush.Color = 0x00FF00;
  item.Canvas()->FillRect(Rect(0, 0, 100, 20));
  popup.Item(1)->OnAdvancedDrawItem(popup.Item(1), item.Canvas(), Rect(0, 0, 100, 20), odChecked);
  EXPECT_EQ(item.Canvas()->Pixel(10, 10) & 0xFFFFFF, 0x00FFFF);  // the plain stripe
}

TEST(DynamicPopupTest, MeasuringWidensTheHeaderForPicturesAndKeepsItAfterClear) {
  Popup popup(nullptr);
  TVCLBitmapSet big, small;
  Pictures(big, 40);
  Pictures(small, 10);
  popup.AddRadioItem("", L"Big", L"", 1, &big, 0, true, false, 0);
  popup.AddDivider("");
  TCanvas canvas;
  int width = 0, height = 0;
  popup.Item(0)->OnMeasureItem(popup.Item(0), &canvas, width, height);
  EXPECT_EQ(height, 40 + 2 * 3);
  EXPECT_EQ(popup.Painter().GetHeaderWidth(), 43);
  EXPECT_EQ(width, canvas.TextWidth(L"Big") + 5 + 15 + 43);
  int dividerWidth = 77, dividerHeight = 0;
  popup.Item(1)->OnMeasureItem(popup.Item(1), &canvas, dividerWidth, dividerHeight);
  EXPECT_EQ(dividerHeight, 10);
  EXPECT_EQ(dividerWidth, 77);

  popup.Clear();
  popup.AddRadioItem("", L"Small", L"", 1, &small, 0, true, false, 0);
  width = height = 0;
  popup.Item(0)->OnMeasureItem(popup.Item(0), &canvas, width, height);
  EXPECT_EQ(popup.Painter().GetHeaderWidth(), 43);

  // A shortcut widens the item and the shortcut column.
  popup.AddMenuItem("", L"Save", L"", 2, nullptr, ShortCut('S', ssCtrl), true);
  width = height = 0;
  popup.Item(1)->OnMeasureItem(popup.Item(1), &canvas, width, height);
  const int s = canvas.TextWidth(L"Ctrl+S");
  EXPECT_EQ(popup.Painter().GetShortcutColumn(), s);
  EXPECT_EQ(width, canvas.TextWidth(L"Save") + 5 + 15 + s + 43);
}

}  // namespace
}  // namespace app
