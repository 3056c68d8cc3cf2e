// The studies panel with real widgets: the global stack index over open and closed boxes,
// sharing the height, ordering, the wheel, expansion on request and the memory supervisor.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "browser/studies/TFrameStudyBoxFrameSet.h"
#include "browser/studies/tests/FakeTiles.h"

namespace ORN_browser::test {
namespace {

class StudiesPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(0, 0, 420, 600);
    panel_ = std::make_unique<TFrameStudyBoxFrameSet>(nullptr, &fake_.host);
    panel_->SetParent(form_.get());
  }
  void TearDown() override {
    panel_.reset();
    form_.reset();
  }
  // A box whose stacks each have `images` images; tiles built and the box expanded or not.
  TFrameStudyBox* AddBox(int stacks, bool open = true, bool build = true, int images = 2) {
    const int key = panel_->BoxCount();
    TFrameStudyBox* box = panel_->AddStudyLast(L"Study " + std::to_wstring(key), key, stacks);
    box->OnGetStackInfo = [images](int k, int stack, STACK_INFO_INIT_STRUCT& info) {
      info = Describe(k, stack, images);
      return true;
    };
    if (build) box->BuildTiles();
    if (!open) box->tbDisable->Click();
    return box;
  }
  FakeTileSet& Set(int i) { return *fake_.sets.at(static_cast<size_t>(i)); }

  FakeHost fake_;
  std::unique_ptr<TForm> form_;
  std::unique_ptr<TFrameStudyBoxFrameSet> panel_;
};

TEST_F(StudiesPanelTest, GlobalIndexCountsTheTilesOfOpenBoxes) {
  AddBox(3);
  AddBox(2, false);
  AddBox(4);
  EXPECT_EQ(panel_->GetStackCount(), 7);
  EXPECT_EQ(panel_->GetLastStackIndex(), 6);
  EXPECT_EQ(panel_->CheckEnabledStudy(), 0);
  struct Case {
    int index, box;
  };
  for (const Case& c : {Case{-1, 0}, Case{0, 0}, Case{2, 0}, Case{3, 2}, Case{6, 2}, Case{7, -1}})
    EXPECT_EQ(panel_->FindStudyByStackIndex(c.index), c.box) << c.index;
  EXPECT_EQ(panel_->GetStackInfo(3, false), Set(2).At(0));
  EXPECT_EQ(panel_->GetStackInfo(6, false), Set(2).At(3));
  EXPECT_EQ(panel_->GetStackInfo(7, false), nullptr);
  EXPECT_THROW(panel_->GetStackInfo(-1, false), std::out_of_range);
  EXPECT_EQ(panel_->GetFirstExpandedStackIndex(), -1);
  panel_->Box(2)->Expand();
  EXPECT_EQ(panel_->GetFirstExpandedStackIndex(), 3);
  EXPECT_EQ(panel_->FindFirstExpandedStudy(), 2);
}

TEST_F(StudiesPanelTest, WindowsAreFoundByBoxAndVisibleIndex) {
  AddBox(3);
  AddBox(2, false);
  AddBox(4);
  Set(2).At(1)->window = 0x1234;
  Set(1).At(1)->window = 0x5678;  // a closed box that still holds a window
  EXPECT_EQ(panel_->GetStackIndexByWindow(0x1234, 0), 4);
  EXPECT_EQ(panel_->FindStudyByWindow(0x1234), 2);
  EXPECT_EQ(panel_->FindStudyByWindow(0x5678), 1);
  // The closed box's stack is not among the stacks the user can see: no global index.
  EXPECT_EQ(panel_->GetStackIndexByWindow(0x5678, 0), -1);
  EXPECT_EQ(panel_->GetStackIndexByWindow(0x9999, 0), -1);
  EXPECT_EQ(panel_->GetStackIndexByWindow(0x1234, 2), 4);
  // Every global index names the tile that holds the window.
  for (int i = 0; i < panel_->GetStackCount(); ++i) {
    static_cast<FakeTile*>(panel_->GetStackInfo(i, false))->window = 0x100 + i;
    EXPECT_EQ(panel_->GetStackIndexByWindow(0x100 + i, 0), i);
  }
}

TEST_F(StudiesPanelTest, EveryBoxClosed) {
  AddBox(2, false);
  AddBox(1, false);
  EXPECT_EQ(panel_->GetStackCount(), 0);
  EXPECT_EQ(panel_->GetLastStackIndex(), -1);
  EXPECT_EQ(panel_->CheckEnabledStudy(), -1);
  EXPECT_EQ(panel_->GetFirstExpandedStackIndex(), -1);
  EXPECT_EQ(panel_->GetStackInfo(0, false), nullptr);
}

TEST_F(StudiesPanelTest, EmptyPanel) {
  EXPECT_FALSE(panel_->AreAllStacksLossy());
  EXPECT_FALSE(panel_->HasLossyStack());
  EXPECT_EQ(panel_->GetPreferredWidth(), panel_->ScrollBox->VertScrollBarVisible() ? 24 : 0);
  EXPECT_EQ(panel_->FindStackInfo(0, 0, 0), nullptr);
  EXPECT_FALSE(panel_->ExpandStudy(0));
  EXPECT_THROW(panel_->Box(0), std::out_of_range);
}

TEST_F(StudiesPanelTest, LossyQueriesOverTheBoxes) {
  AddBox(2);
  AddBox(1);
  EXPECT_FALSE(panel_->HasLossyStack());
  Set(1).At(0)->lossy = true;
  EXPECT_TRUE(panel_->HasLossyStack());
  EXPECT_FALSE(panel_->AreAllStacksLossy());
  Set(0).At(0)->lossy = Set(0).At(1)->lossy = true;
  EXPECT_TRUE(panel_->AreAllStacksLossy());
  AddBox(0);
  EXPECT_FALSE(panel_->AreAllStacksLossy());  // a box without tiles
}

TEST_F(StudiesPanelTest, FitStudyBoxesSharesTheHeight) {
  // A collapsed box (header 26) and three expanded boxes that need 26 + 142 = 168, and
  // 26 + 3 x 142 = 452 twice.
  TFrameStudyBox* collapsed = AddBox(1);
  std::vector<TFrameStudyBox*> open = {AddBox(1), AddBox(3), AddBox(3)};
  for (TFrameStudyBox* b : open) b->Expand();
  ASSERT_EQ(collapsed->GetCompactHeight(), 26);
  ASSERT_EQ(open[0]->GetFullHeight(), 168);
  ASSERT_EQ(open[1]->GetFullHeight(), 452);
  // 574 remain, an equal share is 191: the first box takes the 168 it needs and the other
  // two share the remaining 406.
  panel_->FitStudyBoxes(600);
  EXPECT_EQ(collapsed->Height(), 26);
  EXPECT_EQ(open[0]->Height(), 168);
  EXPECT_EQ(open[1]->Height(), 203);
  EXPECT_EQ(open[2]->Height(), 203);
  // Enough for everyone: each box gets exactly what it needs.
  panel_->FitStudyBoxes(2000);
  EXPECT_EQ(open[1]->Height(), 452);
  EXPECT_EQ(open[2]->Height(), 452);
  // Collapsed boxes that use up the height leave the expanded ones as they were.
  panel_->FitStudyBoxes(20);
  EXPECT_EQ(open[1]->Height(), 452);
  // Expanding or collapsing a box fits the boxes again to the panel's height.
  open[2]->Collapse();
  EXPECT_EQ(open[2]->Height(), 26);
}

TEST_F(StudiesPanelTest, BoxesStackInTheOrderTheyWereAddedAndReversed) {
  TFrameStudyBox* a = AddBox(1, true, false);
  TFrameStudyBox* b = panel_->AddStudyFirst(L"B", 10, 1);
  TFrameStudyBox* c = panel_->AddStudyLast(L"C", 11, 1);
  Application->ProcessMessages();
  EXPECT_EQ(panel_->Box(0), b);
  EXPECT_EQ(panel_->Box(1), a);
  EXPECT_EQ(panel_->Box(2), c);
  EXPECT_LT(b->Top(), a->Top());
  EXPECT_LT(a->Top(), c->Top());
  panel_->ReverseStudyOrder();
  EXPECT_EQ(panel_->Box(0), c);
  EXPECT_EQ(panel_->Box(2), b);
  EXPECT_LT(c->Top(), a->Top());
  EXPECT_LT(a->Top(), b->Top());
}

TEST_F(StudiesPanelTest, FindStackInfoLooksOnlyIntoBuiltBoxesOfThatStudy) {
  AddBox(2);
  AddBox(3, true, false);
  AddBox(1, false);
  EXPECT_EQ(panel_->FindStackInfo(0, 1, 0), Set(0).At(1));
  EXPECT_EQ(panel_->FindStackInfo(1, 1, 0), nullptr);  // not built
  EXPECT_EQ(panel_->FindStackInfo(2, 0, 0), Set(2).At(0));  // closed boxes are searched too
  EXPECT_EQ(panel_->FindStackInfo(0, 5, 0), nullptr);
}

TEST_F(StudiesPanelTest, ExpandStudyBuildsOrGivesUp) {
  AddBox(2, true, false);
  AddBox(2, false, false);  // closed and never built
  EXPECT_TRUE(panel_->ExpandStudy(0));
  EXPECT_TRUE(panel_->Box(0)->AreTilesBuilt());
  EXPECT_TRUE(panel_->Box(0)->IsExpanded());
  EXPECT_TRUE(panel_->ExpandStudy(0));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(panel_->ExpandStudy(1));  // returns at once instead of waiting for ever
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(panel_->ExpandStudy(42));
}

TEST_F(StudiesPanelTest, ExpandStudyWaitsForATimedBuild) {
  AddBox(3, true, false);
  panel_->Box(0)->tbOpenCollaps->Click();  // the user started the timed build
  EXPECT_FALSE(panel_->Box(0)->AreTilesBuilt());
  EXPECT_TRUE(panel_->ExpandStudy(0));
  EXPECT_TRUE(panel_->Box(0)->AreTilesBuilt());
}

TEST_F(StudiesPanelTest, ExpandAndCollapseFollowTheShownStacks) {
  AddBox(1);
  AddBox(1);
  AddBox(1, false);
  panel_->Box(1)->Expand();
  Set(0).At(0)->shown = true;
  panel_->ExpandStudiesWithOpenStacks();
  EXPECT_TRUE(panel_->Box(0)->IsExpanded());
  EXPECT_FALSE(panel_->Box(1)->IsExpanded());
  EXPECT_FALSE(panel_->Box(2)->IsExpanded());
}

TEST_F(StudiesPanelTest, SelectionRemembersTheStudyAndIsForwarded) {
  AddBox(1);
  AddBox(2);
  panel_->Box(1)->Expand();
  std::vector<iSTACK_TILE*> selected;
  panel_->OnStackSelected = [&](TFrameStudyBox*, iSTACK_TILE* tile) { selected.push_back(tile); };
  EXPECT_EQ(panel_->SelectedStudyKey(), -1);
  Set(1).OnTileSelected(Set(1).At(1), false);
  EXPECT_EQ(panel_->SelectedStudyKey(), 1);
  EXPECT_EQ(selected, (std::vector<iSTACK_TILE*>{Set(1).At(1)}));
}

TEST_F(StudiesPanelTest, StartingARepeatStopsTheOtherBoxes) {
  AddBox(2, true, true, 3);
  AddBox(2, true, true, 3);
  panel_->Box(0)->Expand();
  panel_->Box(1)->Expand();
  panel_->Box(0)->StartNavigatorForward();
  EXPECT_EQ(panel_->Box(0)->RepeatDirection(), 1);
  panel_->Box(1)->StartNavigatorForward();
  EXPECT_EQ(panel_->Box(1)->RepeatDirection(), 1);
  EXPECT_EQ(panel_->Box(0)->RepeatDirection(), 0);
  EXPECT_FALSE(panel_->Box(0)->sbForward->Down());
  panel_->StopStudyNavigators();
  EXPECT_EQ(panel_->Box(1)->RepeatDirection(), 0);
}

TEST_F(StudiesPanelTest, WheelOverATileAreaScrollsItOverAHeaderNot) {
  form_->Show();
  AddBox(1, true, true, 1);
  AddBox(6, true, true, 1);
  panel_->Box(1)->Expand();
  panel_->FitStudyBoxes(400);
  Application->ProcessMessages();
  TScrollBox* tiles = panel_->Box(1)->scrollboxStaudyBox;
  ASSERT_TRUE(tiles->VertScrollBarVisible());
  const TPoint inside = tiles->ClientToScreen(Point(tiles->Width() / 2, tiles->Height() / 2));
  bool handled = false;
  EXPECT_TRUE(panel_->HandleMouseWheel(-120, inside.x, inside.y, handled));
  EXPECT_TRUE(handled);
  EXPECT_EQ(tiles->VertPosition(), 120);
  const TPoint header = panel_->Box(1)->pnlHeaderMain->ClientToScreen(Point(5, 5));
  EXPECT_FALSE(panel_->HandleMouseWheel(-120, header.x, header.y, handled));
  EXPECT_FALSE(handled);
  EXPECT_EQ(tiles->VertPosition(), 120);
}

TEST_F(StudiesPanelTest, BoxesLeaveThePanelBeforeTheyAreDestroyed) {
  AddBox(2);
  AddBox(3);
  AddBox(1);
  // What a box's destruction lets run (pending messages) sees only whole boxes.
  std::vector<int> counts;
  TFrameStudyBoxFrameSet* panel = panel_.release();
  for (int i = 0; i < 3; ++i) Set(i).OnDestroyed = [&counts, panel] { counts.push_back(panel->GetStackCount()); };
  delete panel;
  EXPECT_EQ(counts, (std::vector<int>{3 + 1, 1, 0}));
}

// The supervisor's settings beside a stand-in program path.
class SupervisedPanelTest : public StudiesPanelTest {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("studies_panel_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "Vistrel.ini") << "[MEMORY SUPERVISOR]\nLimit=0\nDelay=20\n";
    fake_.host.ProgramPath = (folder_ / "Vistrel.exe").string();
    StudiesPanelTest::SetUp();
  }
  void TearDown() override {
    StudiesPanelTest::TearDown();
    std::filesystem::remove_all(folder_);
  }
  std::filesystem::path folder_;
};

TEST_F(SupervisedPanelTest, OverloadClosesTheOldestHiddenEngineAndStopsWithThePanel) {
  ASSERT_NE(panel_->Supervisor(), nullptr);
  AddBox(2);
  AddBox(2);
  const struct {
    int set, tile;
    bool running, shown;
    const char* stamp;
  } tiles[] = {{0, 0, true, true, "20260101000000000"},
               {0, 1, true, false, "20260101120000000"},
               {1, 0, true, false, "20260101090000000"},
               {1, 1, false, false, "20250101000000000"}};
  for (const auto& t : tiles) {
    FakeTile* tile = Set(t.set).At(t.tile);
    tile->engineRunning = t.running;
    tile->shown = t.shown;
    tile->stamp = t.stamp;
  }
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (Set(0).At(1)->closes == 0 && std::chrono::steady_clock::now() < end) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // The hidden tile of 09:00 goes first, then that of 12:00; shown and stopped ones stay.
  EXPECT_EQ(Set(1).At(0)->closes, 1);
  EXPECT_EQ(Set(0).At(1)->closes, 1);
  EXPECT_EQ(Set(0).At(0)->closes, 0);
  EXPECT_EQ(Set(1).At(1)->closes, 0);
  panel_.reset();  // waits for the thread; nothing reaches the destroyed boxes
}

TEST_F(StudiesPanelTest, NoSupervisorWithoutSettings) { EXPECT_EQ(panel_->Supervisor(), nullptr); }

}  // namespace
}  // namespace ORN_browser::test
