#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "browser/supervisor/ReleaseOldestHiddenStack.h"
#include "browser/supervisor/TanMemoryResourceSupervisor.h"
#include "platform/core/SystemStatus.h"
#include "platform/vcl/DibSection.h"
#include "platform/windows/Messages.h"

using namespace ORN_browser;
namespace fs = std::filesystem;

namespace {

class FakeStack : public iSUPERVISED_STACK {
 public:
  FakeStack(bool running, bool shown, std::string stamp) : running_(running), shown_(shown), stamp_(std::move(stamp)) {}
  bool IsEngineRunning() const override { return running_; }
  bool IsShown() const override { return shown_; }
  std::string LastActivity() const override { return stamp_; }
  void CloseStack() override {
    running_ = false;
    ++closed;
  }
  int closed = 0;

 private:
  bool running_, shown_;
  std::string stamp_;
};

void Pump(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    platform::ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

// Memory figures giving a fixed load percent, and a fixed GDI count.
void FixFigures(int loadPercent, uint32_t gdi) {
  platform::SetMemoryStatusSource([loadPercent] {
    platform::MemoryStatus s;
    s.TotalPhys = 1000;
    s.AvailPhys = uint64_t(1000 - loadPercent * 10);
    return s;
  });
  platform::SetGdiCountSource([gdi] { return gdi; });
}

class MemorySupervisor : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::SetMemoryStatusSource({});
    platform::SetGdiCountSource({});
  }
};

}  // namespace

TEST(ReleaseOldestHidden, ClosesHiddenRunningStacksOldestFirstOnePerCall) {
  const std::string now = "20260101120000000";
  FakeStack shownOld(true, true, "20250101000000000");
  FakeStack stopped(false, false, "20250101000000001");
  FakeStack noStamp(true, false, "");
  FakeStack current(true, false, now);  // a stamp equal to now does not qualify
  FakeStack a(true, false, "20251201000000000");
  FakeStack b(true, false, "20251101000000000");
  FakeStack bTwin(true, false, "20251101000000000");
  std::vector<std::vector<iSUPERVISED_STACK*>> boxes{{&shownOld, &stopped, &noStamp}, {&current, &a}, {&b, &bTwin}};

  const std::vector<std::vector<int>> expected{{0, 1, 0, 0}, {0, 1, 1, 0}, {1, 1, 1, 0}, {1, 1, 1, 0}};
  for (int pass = 0; pass < 4; ++pass) {
    EXPECT_EQ(ReleaseOldestHiddenStack(boxes, now), pass < 3) << pass;
    EXPECT_EQ((std::vector<int>{a.closed, b.closed, bTwin.closed, current.closed}), expected[pass]) << pass;
  }
  EXPECT_EQ(shownOld.closed + stopped.closed + noStamp.closed, 0);
}

TEST(ReleaseOldestHidden, FirstOfEqualStampsGoesFirst) {
  FakeStack first(true, false, "20250101000000000"), second(true, false, "20250101000000000");
  std::vector<std::vector<iSUPERVISED_STACK*>> boxes{{&first}, {&second}};
  EXPECT_TRUE(ReleaseOldestHiddenStack(boxes, LocalTimeStamp()));
  EXPECT_EQ(first.closed, 1);
  EXPECT_EQ(second.closed, 0);
}

TEST(ReleaseOldestHidden, TimeStampHasTheFixedForm) {
  const std::string stamp = LocalTimeStamp();
  ASSERT_EQ(stamp.size(), 17u);
  EXPECT_EQ(stamp.find_first_not_of("0123456789"), std::string::npos);
}

TEST_F(MemorySupervisor, SettingsDecideWhetherASupervisorRuns) {
  const fs::path dir = fs::temp_directory_path() / ("supervisor_" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  const std::string exe = (dir / "Vistrel.exe").string();
  struct Case {
    const char* ini;  // null: no file
    bool runs;
    int limit, delay;
  };
  const Case cases[] = {
      {nullptr, false, 0, 0},
      {"[MEMORY SUPERVISOR]\n", false, 0, 0},  // default limit 100
      {"[MEMORY SUPERVISOR]\nLimit=100\n", false, 0, 0},
      {"[MEMORY SUPERVISOR]\nLimit=-1\n", false, 0, 0},
      {"[MEMORY SUPERVISOR]\nLimit=abc\n", false, 0, 0},
      {"[MEMORY SUPERVISOR]\nLimit=99\nDelay=250\n", true, 99, 250},
      {"[MEMORY SUPERVISOR]\nLimit=0\nDelay=x\n", true, 0, 1000},
  };
  FixFigures(0, 0);
  for (const Case& c : cases) {
    fs::remove(dir / "Vistrel.ini");
    if (c.ini) std::ofstream(dir / "Vistrel.ini") << c.ini;
    auto supervisor = StartMemorySupervisor(exe, [](int, int) { return false; });
    EXPECT_EQ(supervisor != nullptr, c.runs) << (c.ini ? c.ini : "no file");
    if (supervisor) {
      EXPECT_EQ(supervisor->Limit(), c.limit);
      EXPECT_EQ(supervisor->Delay(), c.delay);
    }
  }
  fs::remove_all(dir);
}

TEST_F(MemorySupervisor, LoadAndGdiThresholds) {
  struct Case {
    int load;
    uint32_t gdi;
    int limit;
    bool calls;
  };
  for (const Case& c : {Case{50, 0, 50, false}, Case{51, 0, 50, true}, Case{10, 9000, 50, false},
                        Case{10, 9001, 50, true}, Case{1, 0, 0, true}}) {
    FixFigures(c.load, c.gdi);
    TanMemoryResourceSupervisor supervisor(true, c.limit, 20);
    std::vector<std::pair<int, int>> seen;
    supervisor.OnOverload = [&](int limit, int load) {
      seen.emplace_back(limit, load);
      return false;
    };
    supervisor.Resume();
    Pump(120);
    supervisor.Stop();
    EXPECT_EQ(!seen.empty(), c.calls) << c.load << " " << c.gdi;
    if (!seen.empty()) EXPECT_EQ(seen.front(), std::make_pair(c.limit, c.load));
  }
}

TEST_F(MemorySupervisor, ClosesOnePerPassOldestFirstThenSleepsWhenNothingIsLeft) {
  FixFigures(90, 0);
  FakeStack older(true, false, "20250101000000000"), newer(true, false, "20250601000000000");
  std::vector<std::vector<iSUPERVISED_STACK*>> boxes{{&newer, &older}};
  std::vector<std::string> closedOrder;
  TanMemoryResourceSupervisor supervisor(true, 10, 300);
  supervisor.OnOverload = [&](int, int) {
    const int o = older.closed, n = newer.closed;
    const bool closed = ReleaseOldestHiddenStack(boxes, LocalTimeStamp());
    if (older.closed > o) closedOrder.push_back("older");
    if (newer.closed > n) closedOrder.push_back("newer");
    return closed;
  };
  supervisor.Resume();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (closedOrder.size() < 2 && std::chrono::steady_clock::now() < deadline) Pump(5);
  EXPECT_EQ(closedOrder, (std::vector<std::string>{"older", "newer"}));
  // After the two closing calls the next finds nothing and the one after waits the delay.
  Pump(100);
  EXPECT_LE(supervisor.CallCount(), 3);
  supervisor.Stop();
}

TEST_F(MemorySupervisor, LimitZeroWithNothingToCloseDoesNotSpin) {
  FixFigures(5, 0);
  TanMemoryResourceSupervisor supervisor(true, 0, 0);
  supervisor.OnOverload = [](int, int) { return false; };
  supervisor.Resume();
  Pump(200);
  supervisor.Stop();
  // At least the idle sleep between calls: 200 ms allow about 20 calls, never thousands.
  EXPECT_GT(supervisor.CallCount(), 0);
  EXPECT_LE(supervisor.CallCount(), 200 / TanMemoryResourceSupervisor::kMinIdleSleepMs + 2);
}

TEST_F(MemorySupervisor, StopWaitsForTheThreadAndDropsAPendingCall) {
  FixFigures(90, 0);
  int calls = 0;
  {
    TanMemoryResourceSupervisor supervisor(true, 10, 5000);
    supervisor.OnOverload = [&](int, int) {
      ++calls;
      return false;
    };
    supervisor.Resume();
    // The thread has posted its call, which the GUI thread has not served yet.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto start = std::chrono::steady_clock::now();
    supervisor.Stop();
    // Stop does not sit out the 5 s delay.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  }
  Pump(50);  // the posted call reaches a window that is gone
  EXPECT_EQ(calls, 0);
}

TEST_F(MemorySupervisor, ComputeLoadTruncatesOverPhysicalAndPageFile) {
  platform::SetMemoryStatusSource([] {
    platform::MemoryStatus s;
    s.TotalPhys = 3000;
    s.AvailPhys = 1000;
    s.TotalPageFile = 1000;
    s.AvailPageFile = 999;  // used 2001 of 4000: 50.025 %
    return s;
  });
  EXPECT_EQ(TanMemoryResourceSupervisor::ComputeLoad(), 50);
  platform::SetMemoryStatusSource({});
  const int real = TanMemoryResourceSupervisor::ComputeLoad();
  EXPECT_GE(real, 0);
  EXPECT_LE(real, 100);
}

TEST(GdiCount, FollowsTheBitmapsThatLive) {
  const uint32_t before = platform::GdiObjectCount();
  platform::HBITMAP a = platform::CreateDibSection24(4, 4);
  platform::HBITMAP b = platform::CreateDibSection24(4, 4);
  EXPECT_EQ(platform::CreateDibSection24(0, 4), nullptr);  // refused: not counted
  EXPECT_EQ(platform::GdiObjectCount(), before + 2);
  platform::DeleteBitmap(a);
  platform::DeleteBitmap(nullptr);
  EXPECT_EQ(platform::GdiObjectCount(), before + 1);
  platform::DeleteBitmap(b);
  EXPECT_EQ(platform::GdiObjectCount(), before);
}
