// The GUI settings of the stack window: colours, texts and statistics headers are read by the
// first frame and kept for the process; [GUI_DEFAULTS] per frame; a null record changes
// nothing.
#include <gtest/gtest.h>

#include <string>

#include "app/startup/tests/PagesRecord.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

namespace {

std::wstring Header(const char16_t (&field)[20]) {
  std::wstring out;
  for (char16_t c : field) {
    if (c == 0) break;
    out.push_back(wchar_t(c));
  }
  return out;
}

app::test::PagesRecord Record(const std::wstring& active, const std::wstring& caption, bool withMaxHeader) {
  using app::test::Page;
  return app::test::PagesRecord(
      {{L"GUI_COLORS", Page(L"GUI_COLORS", L"<cActive " + active + L"/><cCOLatestStudy red=\"1\" green=\"2\" blue=\"3\"/>")},
       {L"GUI_STRINGS",
        Page(L"GUI_STRINGS", L"<msgConfirmCaption value=\"" + caption + L"\"/>" +
                                 (withMaxHeader ? L"<suv_max_header value=\"Maximum of the region\"/>" : L""))}});
}

TEST(StackWindowSettingsTest, NullRecordChangesNothing) {
  TFrameStackWindow frame(nullptr, -1, 0, 0, 0);
  frame.ApplyGuiSettings(nullptr);
  EXPECT_FALSE(frame.GuiSettingsApplied());
  EXPECT_EQ(frame.ZoomPercent(), 100);
}

TEST(StackWindowSettingsTest, FirstFrameReadsThePagesAndLaterFramesCopyThem) {
  auto first = Record(L"red=\"10\" green=\"20\" blue=\"30\"", L"Please confirm", true);
  TFrameStackWindow a(nullptr, -1, 0, 0, 0);
  a.ApplyGuiSettings(&first);
  EXPECT_TRUE(a.GuiSettingsApplied());
  EXPECT_EQ(a.ActiveColor(), TColor(10 | 20 << 8 | 30 << 16));
  EXPECT_EQ(a.InactiveColor(), 0);
  EXPECT_EQ(a.ChronologicalColor(0), TColor(1 | 2 << 8 | 3 << 16));
  EXPECT_EQ(a.ChronologicalColor(3), 0);
  EXPECT_EQ(a.MessageText(0), L"Please confirm");
  EXPECT_EQ(a.MessageText(2), L"Error");
  // A header longer than its field is cut and keeps its terminating zero.
  EXPECT_EQ(Header(a.StatisticsRecord().MaximumHeader), L"Maximum of the regi");
  EXPECT_EQ(Header(a.StatisticsRecord().MinimumHeader), L"min");
  // No [GUI_DEFAULTS] Zoom: fitted to the window, not the constructor's 100 %.
  EXPECT_EQ(a.ZoomPercent(), -1);
  EXPECT_TRUE(a.AutoCinemator());
  EXPECT_EQ(a.WindowLevelHintDelay(), 4000);

  // A second frame with other pages takes the first frame's colours and texts.
  auto second = Record(L"red=\"200\" green=\"200\" blue=\"200\"", L"Other", false);
  TFrameStackWindow b(nullptr, -1, 0, 0, 0);
  b.ApplyGuiSettings(&second);
  EXPECT_EQ(b.ActiveColor(), a.ActiveColor());
  EXPECT_EQ(b.MessageText(0), L"Please confirm");
  // The pages themselves are the first frame's: every frame gets the page's header.
  EXPECT_EQ(Header(b.StatisticsRecord().MaximumHeader), L"Maximum of the regi");
}

}  // namespace
