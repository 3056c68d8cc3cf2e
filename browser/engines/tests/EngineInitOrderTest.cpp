#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "browser/engines/TanEngineInitSlots.h"
#include "browser/engines/TsgEngineInitOrder.h"
#include "viewer/engine/EngineMessages.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"

using namespace ORN_browser;
using ORN_image::engine_msg::kPauseInitialisation;
using ORN_image::engine_msg::kResumeInitialisation;

namespace {

// A tile with a window of its own (for the retry timer) and an engine window that records the
// pause and resume messages it gets.
class FakeTile : public iINIT_ORDER_TILE {
 public:
  explicit FakeTile(bool asynchronous = false, bool gaugeVisible = true)
      : tileWindow_([this](uint32_t m, platform::WParam w, platform::LParam) -> platform::LResult {
          if (m == platform::kWmTimer && order) {
            ++timerTicks;
            tickTimes.push_back(std::chrono::steady_clock::now());
            order->OnTimer(w);
          }
          return 0;
        }),
        engineWindow_([this](uint32_t m, platform::WParam, platform::LParam) -> platform::LResult {
          engineMessages.push_back(m);
          return 0;
        }) {
    order = std::make_unique<TsgEngineInitOrder>(*this, asynchronous, gaugeVisible);
  }
  bool IsSelected() const override { return selected; }
  bool IsShown() const override { return shown; }
  platform::WindowHandle EngineWindow() override { return engineRunning ? engineWindow_.Handle() : 0; }
  platform::WindowHandle TileWindow() override { return tileWindow_.Handle(); }

  void Report(int progress, int maximum) { order->OnInitProgress(platform::LParam((maximum << 16) | progress)); }
  intptr_t Id() const { return order->Identity(); }

  bool selected = false;
  bool shown = false;
  bool engineRunning = true;
  int timerTicks = 0;
  std::vector<std::chrono::steady_clock::time_point> tickTimes;
  std::vector<uint32_t> engineMessages;
  std::unique_ptr<TsgEngineInitOrder> order;

 private:
  platform::Window tileWindow_;
  platform::Window engineWindow_;
};

void Pump(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    platform::ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool SlotsHold(intptr_t v) {
  return TanEngineInitSlots::Read(1) == v && TanEngineInitSlots::Read(2) == v && TanEngineInitSlots::Read(3) == v;
}

class EngineInitOrder : public ::testing::Test {
 protected:
  void SetUp() override { TanEngineInitSlots::Reset(); }
  void TearDown() override { TanEngineInitSlots::Reset(); }
};

}  // namespace

TEST_F(EngineInitOrder, AsynchronousModeTouchesNothingAndShowsTheGaugeWhileInitialising) {
  struct Case {
    bool gaugeVisible;
    int progress, maximum;
    bool shown;
  };
  for (const Case& c : {Case{true, 3, 10, true}, Case{true, 10, 10, false}, Case{false, 3, 10, false}}) {
    FakeTile tile(true, c.gaugeVisible);
    tile.selected = true;
    tile.Report(c.progress, c.maximum);
    Pump(20);
    EXPECT_TRUE(SlotsHold(0));
    EXPECT_TRUE(tile.engineMessages.empty());
    EXPECT_FALSE(tile.order->TimerRunning());
    EXPECT_EQ(tile.order->GaugeShown(), c.shown) << c.progress << "/" << c.maximum;
  }
}

TEST_F(EngineInitOrder, OrderedModeNeverShowsTheGauge) {
  FakeTile tile(false, true);
  tile.shown = true;
  tile.Report(1, 10);
  EXPECT_FALSE(tile.order->GaugeShown());
}

TEST_F(EngineInitOrder, CompleteFirstReportClaimsNothingAndReleasesNothing) {
  FakeTile holder, other;
  holder.shown = true;
  holder.Report(1, 10);
  ASSERT_TRUE(SlotsHold(holder.Id()));
  for (bool selected : {false, true}) {
    other.selected = selected;
    other.Report(0, 0);  // 0 of 0 counts as complete
    EXPECT_TRUE(SlotsHold(holder.Id()));
    other.Report(12, 10);  // above the maximum is clamped, so complete too
    EXPECT_TRUE(SlotsHold(holder.Id()));
  }
  EXPECT_TRUE(other.engineMessages.empty());
}

TEST_F(EngineInitOrder, SecondShownTilePausesRetriesAndResumesWhenTheFirstCompletes) {
  FakeTile first, second;
  first.shown = second.shown = true;
  first.Report(1, 10);
  Pump(20);
  EXPECT_EQ(first.engineMessages, std::vector<uint32_t>{kResumeInitialisation});
  const auto start = std::chrono::steady_clock::now();
  second.Report(1, 10);
  Pump(20);
  EXPECT_EQ(second.engineMessages, std::vector<uint32_t>{kPauseInitialisation});
  EXPECT_TRUE(second.order->TimerRunning());
  // First retry after 200 ms, then every 500 ms, each one pausing again. Lower bounds only,
  // with the few percent a coarse timer may fire early: a busy machine serves timers late.
  auto waitTicks = [&](int n) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (second.timerTicks < n && std::chrono::steady_clock::now() < deadline) Pump(2);
  };
  auto ms = [](auto from, auto to) { return std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count(); };
  waitTicks(2);
  ASSERT_EQ(second.tickTimes.size(), 2u);
  EXPECT_GE(ms(start, second.tickTimes[0]), 180);
  EXPECT_GE(ms(second.tickTimes[0], second.tickTimes[1]), 450);
  Pump(20);
  EXPECT_EQ(second.engineMessages, (std::vector<uint32_t>{kPauseInitialisation, kPauseInitialisation, kPauseInitialisation}));
  EXPECT_TRUE(SlotsHold(first.Id()));
  first.Report(10, 10);
  EXPECT_TRUE(SlotsHold(0));
  waitTicks(3);
  Pump(20);
  EXPECT_TRUE(SlotsHold(second.Id()));
  EXPECT_EQ(second.engineMessages.back(), kResumeInitialisation);
  EXPECT_FALSE(second.order->TimerRunning());
}

TEST_F(EngineInitOrder, RoleDecidesWhoGoesOn) {
  // Holder role, claimant role: does the claimant go on while the holder is mid-way?
  struct Case {
    const char* name;
    bool claimantSelected, claimantShown;
    bool goesOn;
  };
  for (const Case& c : {Case{"selected takes the slots", true, false, true},
                        Case{"shown waits", false, true, false},
                        Case{"hidden waits", false, false, false}}) {
    TanEngineInitSlots::Reset();
    FakeTile holder, claimant;
    holder.Report(1, 10);  // a hidden tile on empty slots claims them
    ASSERT_TRUE(SlotsHold(holder.Id())) << c.name;
    claimant.selected = c.claimantSelected;
    claimant.shown = c.claimantShown;
    EXPECT_EQ(claimant.order->ClaimInitSlots(1, 10), c.goesOn) << c.name;
    EXPECT_TRUE(SlotsHold(c.goesOn ? claimant.Id() : holder.Id())) << c.name;
    Pump(10);
    EXPECT_EQ(claimant.engineMessages.back(), c.goesOn ? kResumeInitialisation : kPauseInitialisation) << c.name;
  }
}

TEST_F(EngineInitOrder, FormerHolderPausesItselfAtItsNextReportAfterASelectedTileTookOver) {
  FakeTile holder, chosen;
  holder.shown = true;
  holder.Report(1, 10);
  chosen.selected = true;
  chosen.Report(1, 10);
  EXPECT_TRUE(SlotsHold(chosen.Id()));
  holder.Report(2, 10);
  Pump(10);
  EXPECT_EQ(holder.engineMessages.back(), kPauseInitialisation);
  chosen.Report(10, 10);
  EXPECT_TRUE(SlotsHold(0));
}

TEST_F(EngineInitOrder, ShownTileCompletingReleasesOnlyItsOwnSlots) {
  FakeTile shownTile, selected;
  shownTile.shown = true;
  shownTile.Report(1, 10);
  selected.selected = true;
  selected.Report(1, 10);
  shownTile.Report(10, 10);  // slot 1 held by another: nothing released
  EXPECT_TRUE(SlotsHold(selected.Id()));
}

TEST_F(EngineInitOrder, StoppedOrDestroyedHolderGivesTheSlotsBack) {
  FakeTile waiting;
  waiting.shown = true;
  {
    FakeTile holder;
    holder.shown = true;
    holder.Report(1, 10);
    waiting.Report(1, 10);
    ASSERT_TRUE(SlotsHold(holder.Id()));
    holder.order->Release();  // its engine stopped
    EXPECT_TRUE(SlotsHold(0));
    holder.Report(2, 10);  // restarted: claims again
    EXPECT_TRUE(SlotsHold(holder.Id()));
  }  // destroyed while holding
  EXPECT_TRUE(SlotsHold(0));
  Pump(300);
  EXPECT_TRUE(SlotsHold(waiting.Id()));
}

TEST_F(EngineInitOrder, StoppedWaitingTileEndsItsRetries) {
  FakeTile holder, waiting;
  holder.Report(1, 10);
  waiting.Report(1, 10);
  ASSERT_TRUE(waiting.order->TimerRunning());
  waiting.engineRunning = false;
  waiting.order->Release();
  EXPECT_FALSE(waiting.order->TimerRunning());
  Pump(300);
  EXPECT_EQ(waiting.timerTicks, 0);
  EXPECT_TRUE(SlotsHold(holder.Id()));
}

TEST_F(EngineInitOrder, ClaimWithoutAnEngineWindowStillSucceeds) {
  FakeTile tile;
  tile.engineRunning = false;
  EXPECT_TRUE(tile.order->ClaimInitSlots(1, 10));
  EXPECT_TRUE(SlotsHold(tile.Id()));
}
