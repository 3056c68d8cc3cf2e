// The study box over the real tile set of browser/tiles (through its adapter), offscreen:
// filling, order, a new stack in the middle and the key-image tile leaving from the middle.
// No stack is shown, so no engine starts.
#include <gtest/gtest.h>

#include <algorithm>

#include "browser/studies/TFrameStudyBoxFrameSet.h"
#include "browser/studies/TileSetAdapter.h"
#include "browser/tiles/tests/TileFakes.h"

namespace ORN_browser::test {
namespace {

class StudyBoxRealTilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.MakeTileSet = MakeStackInfoSets();
    host_.ProgramPath = "/nonexistent/studies_test";
    panel_ = std::make_unique<TFrameStudyBoxFrameSet>(nullptr, &host_);
    box_ = panel_->AddStudyLast(L"CT", 0, 3);
    box_->OnExpanded = box_->OnCollapsed = [] {};
    box_->OnGetStackInfo = [this](int key, int stack, STACK_INFO_INIT_STRUCT& info) {
      if (stack < 0 || stack >= static_cast<int>(protocols_.size())) return false;
      info.StudyIndex = key;
      info.SeriesIndex = stack;
      info.StackIndex = 0;
      info.Icon = platform::CreateDibSection24(64, 64);
      info.SeriesNumber = stack + 1;
      info.ImageCount = 4;
      info.Protocol = protocols_[static_cast<size_t>(stack)];
      info.Modality = "CT";
      return true;
    };
  }
  TFrameStackInfoSet& Real() { return *static_cast<TStackInfoSetAdapter*>(box_->TileSet())->Real(); }
  // The protocols of the tiles from the top of the screen down.
  std::vector<std::wstring> ScreenOrder() {
    std::vector<std::pair<int, std::wstring>> tops;
    for (int i = 0; i < Real().Count(); ++i) tops.push_back({Real().Tile(i)->Top(), Real().Tile(i)->lblProtocol->Caption()});
    std::sort(tops.begin(), tops.end());
    std::vector<std::wstring> out;
    for (auto& t : tops) out.push_back(t.second);
    return out;
  }

  tile_tests::FakeHost tileHost_;
  TStudyBrowserHost host_;
  std::unique_ptr<TFrameStudyBoxFrameSet> panel_;
  TFrameStudyBox* box_ = nullptr;
  std::vector<std::wstring> protocols_ = {L"A", L"B", L"C"};
};

TEST_F(StudyBoxRealTilesTest, BuildsReversesAndInsertsWithRealTiles) {
  EXPECT_TRUE(box_->Expand());
  ASSERT_EQ(Real().Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Real().Tile(i)->IsUsable());
    EXPECT_TRUE(Real().Tile(i)->Visible());
    EXPECT_EQ(Real().Tile(i)->KeyImageStackIndex, i);
  }
  EXPECT_EQ(ScreenOrder(), (std::vector<std::wstring>{L"A", L"B", L"C"}));
  EXPECT_EQ(box_->GetNavigatorTotal(), 12);
  EXPECT_EQ(panel_->GetStackInfo(2, false), box_->TileSet()->Tile(2));
  EXPECT_EQ(panel_->FindStackInfo(0, 1, 0), box_->TileSet()->Tile(1));

  box_->tbSortingForward->Click();
  EXPECT_EQ(ScreenOrder(), (std::vector<std::wstring>{L"C", L"B", L"A"}));
  box_->tbSortingForward->Click();

  // A derived series for index 2 lands between B and C; C's series index moves on by one.
  protocols_.insert(protocols_.begin() + 2, L"MPR");
  box_->OnMprSeriesRequest = [](const void*, iSTACK_TILE*, int& stack) {
    stack = 2;
    return true;
  };
  EXPECT_TRUE(box_->HandleMprSeriesRequest(nullptr, box_->TileSet()->Tile(0)));
  EXPECT_EQ(ScreenOrder(), (std::vector<std::wstring>{L"A", L"B", L"MPR", L"C"}));
  EXPECT_EQ(Real().Tile(3)->SeriesIndex(), 3);
  EXPECT_EQ(Real().Tile(2)->lblDescription->Caption(), L"");
}

TEST_F(StudyBoxRealTilesTest, KeyImageTileLeavesFromTheMiddle) {
  ASSERT_TRUE(TileSetTakesSeriesIndexAndMiddleRemoval());
  box_->Expand();
  bool exists = false;
  box_->OnKeyImageAdded = [&](const void*, uint32_t, iTILE_STACK_WINDOW*, iSTACK_TILE*, bool& created, int& stack) {
    created = !exists;
    exists = true;
    stack = 3;
    return true;
  };
  protocols_.push_back(L"Key Image Series");
  box_->HandleKeyImageAdded(nullptr, 0, nullptr, box_->TileSet()->Tile(0));
  ASSERT_EQ(Real().Count(), 4);
  EXPECT_TRUE(Real().Tile(3)->IsKeyImageTile());
  EXPECT_TRUE(box_->tbKeyImagesStack->Visible());
  // A derived series after the key-image tile.
  protocols_.push_back(L"MPR");
  box_->OnMprSeriesRequest = [](const void*, iSTACK_TILE*, int& stack) {
    stack = 4;
    return true;
  };
  EXPECT_TRUE(box_->HandleMprSeriesRequest(nullptr, box_->TileSet()->Tile(0)));
  ASSERT_EQ(Real().Count(), 5);
  // The last key image goes: the owner no longer describes the key-image stack.
  box_->OnKeyImageRemoved = [](const std::wstring&) { return true; };
  const auto describe = box_->OnGetStackInfo;
  box_->OnGetStackInfo = [describe](int key, int stack, STACK_INFO_INIT_STRUCT& info) -> bool {
    if (stack == 3) throw std::runtime_error("no key-image stack");
    return describe(key, stack, info);
  };
  EXPECT_TRUE(box_->HandleKeyImageRemoved(L"1.2"));
  ASSERT_EQ(Real().Count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(Real().Tile(i)->IsKeyImageTile()) << i;
  EXPECT_EQ(ScreenOrder(), (std::vector<std::wstring>{L"A", L"B", L"C", L"MPR"}));
  EXPECT_FALSE(box_->tbKeyImagesStack->Visible());
}

TEST_F(StudyBoxRealTilesTest, SupervisorHandlerPassesOverTilesWithoutEngines) {
  box_->Expand();
  EXPECT_FALSE(panel_->ReleaseOldestHiddenStack(0, 100));
}

}  // namespace
}  // namespace ORN_browser::test
