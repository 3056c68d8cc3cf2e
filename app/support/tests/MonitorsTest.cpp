// Monitor order and lookups with fake monitors of the screen.
#include <gtest/gtest.h>

#include "app/support/Monitors.h"
#include "platform/vcl/Forms.h"

namespace app {
namespace {

class MonitorsTest : public ::testing::Test {
 protected:
  void TearDown() override { Screen->SetFakeMonitors({}); }
  // The monitor order as the left and top edges of the monitors.
  static std::vector<std::pair<int, int>> Order(TsgVirtualDesktop& desktop) {
    std::vector<std::pair<int, int>> order;
    iMONITORS& list = desktop.GetMonitors();
    for (int i = 0; i < list.GetCount(); ++i)
      order.emplace_back(list.GetMonitor(i).GetLeft(), list.GetMonitor(i).GetTop());
    return order;
  }
};

TEST_F(MonitorsTest, RowsTopToBottomLeftToRightWithinARow) {
  using Positions = std::vector<std::pair<int, int>>;
  struct Case {
    const char* name;
    std::vector<TRect> screens;
    Positions expected;
  } cases[] = {
      {"side by side", {Rect(1920, 0, 3840, 1080), Rect(0, 0, 1920, 1080)}, {{0, 0}, {1920, 0}}},
      {"stacked", {Rect(0, 1080, 1920, 2160), Rect(0, 0, 1920, 1080)}, {{0, 0}, {0, 1080}}},
      // On a grid the diagonal neighbours each come before the other; the insertion sort
      // fixes the result, here for monitors reported bottom-right, bottom-left, top-left, top-right.
      {"2 x 2 grid",
       {Rect(100, 100, 200, 200), Rect(0, 100, 100, 200), Rect(0, 0, 100, 100), Rect(100, 0, 200, 100)},
       {{0, 0}, {100, 0}, {0, 100}, {100, 100}}},
      {"tall monitor left of two stacked",
       {Rect(1000, 0, 2000, 500), Rect(1000, 500, 2000, 1000), Rect(0, 0, 1000, 1000)},
       {{0, 0}, {1000, 0}, {1000, 500}}},
  };
  for (const auto& c : cases) {
    Screen->SetFakeMonitors(c.screens);
    TsgVirtualDesktop desktop;
    EXPECT_EQ(Order(desktop), c.expected) << c.name;
  }
}

TEST_F(MonitorsTest, DiagonalMonitorsStayInTheList) {
  // Each of two diagonal monitors comes before the other: the sort must still keep both.
  Screen->SetFakeMonitors({Rect(100, 0, 200, 100), Rect(0, 100, 100, 200), Rect(200, 200, 300, 300)});
  TsgVirtualDesktop desktop;
  EXPECT_EQ(desktop.GetMonitors().GetCount(), 3);
  EXPECT_NE(desktop.GetMonitors().IndexOfDevice(L"\\\\.\\DISPLAY1"), -1);
  EXPECT_NE(desktop.GetMonitors().IndexOfDevice(L"\\\\.\\DISPLAY2"), -1);
  EXPECT_NE(desktop.GetMonitors().IndexOfDevice(L"\\\\.\\DISPLAY3"), -1);
}

TEST_F(MonitorsTest, LookupsAndTheNullMonitor) {
  // The first fake monitor is the primary one; it lies to the right.
  Screen->SetFakeMonitors({Rect(1920, 0, 3840, 1080), Rect(0, 0, 1920, 1080)});
  TsgVirtualDesktop desktop;
  iMONITORS& list = desktop.GetMonitors();
  EXPECT_EQ(list.GetPrimary().GetLeft(), 1920);
  EXPECT_EQ(list.IndexOfDevice(L"\\\\.\\DISPLAY1"), 1);
  EXPECT_EQ(list.IndexOfDevice(L"\\\\.\\display1"), -1);

  // Right and bottom edges belong to the neighbour, or to no monitor.
  EXPECT_EQ(list.IndexFromPoint({1919, 500}), 0);
  EXPECT_EQ(list.IndexFromPoint({1920, 500}), 1);
  EXPECT_EQ(list.IndexFromPoint({3840, 500}), -1);
  EXPECT_EQ(list.IndexFromPoint({100, 1080}), -1);

  for (int index : {-1, list.GetCount()}) {
    iMONITOR& none = list.GetMonitor(index);
    EXPECT_EQ(none.GetDeviceName(), L"NULL_MONITOR");
    EXPECT_FALSE(none.IsPrimary());
    TRect r = Rect(1, 2, 3, 4);
    EXPECT_FALSE(none.GetMonitorRect(&r));
    EXPECT_EQ(r, Rect(1, 2, 3, 4));
  }
  TRect r;
  EXPECT_TRUE(list.GetMonitor(0).GetWorkRect(&r));
  EXPECT_EQ(r, Rect(0, 0, 1920, 1080));
  EXPECT_FALSE(list.GetMonitor(0).GetWorkRect(nullptr));

  EXPECT_EQ(desktop.GetLeft(), 0);
  EXPECT_EQ(desktop.GetTop(), 0);
  EXPECT_EQ(desktop.GetWidth(), 3840);
  EXPECT_EQ(desktop.GetHeight(), 1080);

  EXPECT_TRUE(desktop.Refresh());
  EXPECT_EQ(list.GetCount(), 2);  // not twice as many
}

TEST_F(MonitorsTest, OneMonitor) {
  Screen->SetFakeMonitors({Rect(0, 0, 1280, 1024)});
  TsgVirtualDesktop desktop;
  iMONITORS& list = desktop.GetMonitors();
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(&list.GetPrimary(), &list.GetMonitor(0));
  EXPECT_EQ(list.IndexFromPoint({640, 512}), 0);

  TsgMonitor gone(99);  // a handle the screen does not know
  EXPECT_EQ(gone.GetDeviceName(), L"NULL_MONITOR");
  EXPECT_EQ(gone.GetWidth(), 0);
}

}  // namespace
}  // namespace app
