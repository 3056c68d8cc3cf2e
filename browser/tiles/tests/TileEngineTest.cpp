// A tile set for a generated study of three series, with the real engine (Pixtrane.exe) and
// real work-area panels: each engine initialises in its turn (the pause and resume messages
// are recorded), the memory supervisor's handler closes the stack hidden longest, an engine
// killed by the test is reported and its tile shows it, and no engine outlives the test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <memory>
#include <sstream>

#include "browser/engines/TanEngineInitSlots.h"
#include "browser/supervisor/ReleaseOldestHiddenStack.h"
#include "browser/tiles/TFrameStackInfoSet.h"
#include "browser/tiles/tests/TileFakes.h"
#include "platform/com/Library.h"
#include "platform/vcl/Forms.h"

using namespace ORN_browser;
using namespace tile_tests;
using ORN_image::engine_msg::kPauseInitialisation;
using ORN_image::engine_msg::kResumeInitialisation;

namespace {

constexpr int kSeries = 3;
constexpr int kImages = 200;

const std::string& StudyFolder() {
  static const std::string folder = [] {
    const std::string f = platform::ProgramFolder() + "tiles_engine_study";
    const std::string command = "rm -rf '" + f + "' && /usr/bin/python3 '" MAKE_FILESET_FOLDER "' '" + f + "' 1 1 " +
                                std::to_string(kSeries) + " " + std::to_string(kImages) + " --size 32";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return f;
  }();
  return folder;
}

// One event of the initialisation order: which tile, and pause, resume or its completion.
struct OrderEvent {
  int tile;
  uint32_t what;  // 0x812D, 0x812E, or 0 for the progress reaching its maximum
};

class TileEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    TanEngineInitSlots::Reset();
    host = std::make_unique<FakeHost>(4);
    set = std::make_unique<TFrameStackInfoSet>(nullptr, 0);
    set->SetBounds(0, 0, 420, 500);
    set->OnWindowCreated = [this](iTILE_STACK_WINDOW* w) {
      // The order of events: completion is noted as the tile handles its last report.
      int study = -1, series = -1, stack = -1;
      auto* window = static_cast<FakeStackWindow*>(w);
      window->requests.StackIndexes(study, series, stack);
      window->progressHandled = [this, series](int progress, int maximum) {
        if (progress == maximum) events.push_back({series, 0});
      };
      return host->Place(w);
    };
    set->OnEngineFilesRequest = [this](int, int series, int, bool, std::ostream& images, std::ostream&,
                                       std::ostream& frames, std::string&) {
      // The first stack names its images ten times over, so its engine is still initialising
      // while the others start and report.
      const int rounds = series == 0 ? 10 : 1;
      for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < kImages; ++i) {
          images << StudyFolder() << "/P0/S0/R" << series << "/IM" << i << "\n";
          frames << "0\n";
        }
      images << '\0';
      frames << '\0';
      return true;
    };
    for (int s = 0; s < kSeries; ++s) {
      TStackDescription d;
      d.Study = 0, d.Series = s, d.Stack = 0;
      d.SeriesNumber = s + 1;
      d.ImageCount = kImages;
      d.Protocol = L"Series " + std::to_wstring(s + 1);
      d.Modality = s % 2 ? "MR" : "CT";
      TFrameStackInfo* tile = set->InsertStack(s, d);
      tile->SetInitModes(false, true);  // one engine at a time
      tile->InitOrder().OnEngineMessage = [this, s](uint32_t m, platform::WindowHandle, bool) {
        events.push_back({s, m});
      };
    }
  }
  void TearDown() override {
    for (int i = 0; i < set->Count(); ++i)
      if (set->Tile(i)->StackWindow()) host->Forget(set->Tile(i)->StackWindow());
    set.reset();
    host.reset();
    SetMessageBoxAnswers({});
    EXPECT_EQ(RunningEngines(), 0);
    EXPECT_EQ(FakeStackWindow::alive, 0);
    EXPECT_EQ(TanEngineInitSlots::Read(1), 0);
  }

  bool Complete(int tile) {
    TFrameStackInfo* t = set->Tile(tile);
    return t->InitOrder().GaugeMax() > 0 && t->InitOrder().GaugeProgress() == t->InitOrder().GaugeMax();
  }
  void PumpUntilAllComplete() {
    const bool done = PumpUntil(
        [&] {
          for (int i = 0; i < set->Count(); ++i)
            if (set->Tile(i)->IsShown() && !Complete(i)) return false;
          return true;
        },
        60000);
    ASSERT_TRUE(done) << "an engine did not complete its initialisation";
  }

  std::unique_ptr<FakeHost> host;
  std::unique_ptr<TFrameStackInfoSet> set;
  std::vector<OrderEvent> events;
};

}  // namespace

TEST_F(TileEngine, EnginesInitialiseOneAtATimeInTheirTurn) {
  for (int i = 0; i < kSeries; ++i) set->Tile(i)->Show();
  for (int i = 0; i < kSeries; ++i) {
    ASSERT_TRUE(set->Tile(i)->IsShown()) << i;
    ASSERT_TRUE(set->Tile(i)->IsEngineRunning()) << i;
  }
  EXPECT_EQ(RunningEngines(), kSeries);
  PumpUntilAllComplete();

  // The first report claims the slots and resumes its own engine; every other tile is told
  // to pause while the first holds them, and resumes only after the first has completed.
  std::string sequence;
  for (const auto& e : events)
    sequence += std::to_string(e.tile) + (e.what == 0 ? ":done " : e.what == kPauseInitialisation ? ":pause " : ":resume ");
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].tile, 0) << sequence;
  EXPECT_EQ(events[0].what, kResumeInitialisation) << sequence;
  size_t firstDone = events.size();
  for (size_t k = 0; k < events.size(); ++k)
    if (events[k].tile == 0 && events[k].what == 0) firstDone = std::min(firstDone, k);
  ASSERT_LT(firstDone, events.size()) << sequence;
  for (int i = 1; i < kSeries; ++i) {
    int pauses = 0;
    for (size_t k = 0; k < events.size(); ++k) {
      if (events[k].tile != i) continue;
      if (events[k].what == kPauseInitialisation) ++pauses;
      if (events[k].what == kResumeInitialisation) EXPECT_GT(k, firstDone) << "tile " << i << ": " << sequence;
    }
    EXPECT_GT(pauses, 0) << "tile " << i << ": " << sequence;
  }
  EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const OrderEvent& e) { return e.tile == 0 && e.what == kPauseInitialisation; }), 0);
  // The holder frees the slots when it completes; the gauge is never shown in this mode.
  EXPECT_EQ(TanEngineInitSlots::Read(1), 0);
  for (int i = 0; i < kSeries; ++i) EXPECT_FALSE(set->Tile(i)->CGaugeInit->Visible());
}

TEST_F(TileEngine, AKilledEngineIsReportedAndItsTileShowsTheStackClosed) {
  for (int i = 0; i < kSeries; ++i) set->Tile(i)->Show();
  PumpUntilAllComplete();
  TFrameStackInfo* victim = set->Tile(1);
  auto engine = platform::Process::Open(victim->Engine().ChildProcessId());
  ASSERT_NE(engine, nullptr);
  host->Forget(victim->StackWindow());
  SetMessageBoxAnswers({IDNO});
  engine->Terminate(9);
  ASSERT_TRUE(PumpUntil([&] { return victim->StackWindow() == nullptr; }, 10000));
  EXPECT_FALSE(victim->IsShown());
  EXPECT_FALSE(victim->chbView->Checked());
  EXPECT_FALSE(victim->IsEngineRunning());
  EXPECT_EQ(RunningEngines(), kSeries - 1);
  // The other tiles keep their stacks.
  EXPECT_TRUE(set->Tile(0)->IsShown());
  EXPECT_TRUE(set->Tile(2)->IsShown());
}

TEST_F(TileEngine, TheSupervisorsHandlerClosesTheStackHiddenLongest) {
  for (int i = 0; i < kSeries; ++i) set->Tile(i)->Show();
  PumpUntilAllComplete();
  set->Tile(2)->Hide(true);
  Pump(5);
  set->Tile(0)->Hide(true);
  Pump(5);
  std::vector<std::vector<iSUPERVISED_STACK*>> boxes(1);
  for (int i = 0; i < kSeries; ++i) boxes[0].push_back(set->Tile(i));
  for (int i = 0; i < kSeries; ++i) host->Forget(set->Tile(i)->StackWindow());

  ASSERT_TRUE(ReleaseOldestHiddenStack(boxes, LocalTimeStamp()));
  EXPECT_FALSE(set->Tile(2)->IsEngineRunning());
  EXPECT_EQ(set->Tile(2)->StackWindow(), nullptr);
  EXPECT_TRUE(set->Tile(0)->IsEngineRunning());
  ASSERT_TRUE(ReleaseOldestHiddenStack(boxes, LocalTimeStamp()));
  EXPECT_FALSE(set->Tile(0)->IsEngineRunning());
  // The shown tile is never chosen.
  EXPECT_FALSE(ReleaseOldestHiddenStack(boxes, LocalTimeStamp()));
  EXPECT_TRUE(set->Tile(1)->IsEngineRunning());
  EXPECT_EQ(RunningEngines(), 1);
}

TEST_F(TileEngine, AHolderWhoseEngineStopsGivesTheSlotsBack) {
  TFrameStackInfo* holder = set->Tile(0);
  holder->Show();
  ASSERT_TRUE(PumpUntil([&] { return TanEngineInitSlots::Read(1) != 0 || Complete(0); }, 10000));
  holder->CloseStack();
  EXPECT_EQ(TanEngineInitSlots::Read(1), 0);
  set->Tile(1)->Show();
  ASSERT_TRUE(PumpUntil([&] { return Complete(1); }, 30000));
  for (const auto& e : events)
    if (e.tile == 1) EXPECT_NE(e.what, kPauseInitialisation) << "tile 1 waited for a stopped holder";
}
