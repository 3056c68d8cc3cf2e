// The tile set of a study with real widgets (offscreen): order on screen and in the sequence,
// heights, the queries and the forwarders.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "browser/tiles/TFrameStackInfoSet.h"
#include "browser/tiles/tests/TileFakes.h"

using namespace ORN_browser;
using namespace tile_tests;

namespace {

TStackDescription Stack(int stack, const std::wstring& protocol = L"P") {
  TStackDescription d;
  d.Study = 0, d.Series = 0, d.Stack = stack;
  d.ImageCount = 1;
  d.Protocol = protocol;
  return d;
}

// The stack indexes of the tiles in sequence order and in screen order (top to bottom).
std::vector<int> SequenceOrder(const TFrameStackInfoSet& set) {
  std::vector<int> out;
  for (int i = 0; i < set.Count(); ++i) out.push_back(set.Tile(i)->StackIndex());
  return out;
}
std::vector<int> ScreenOrder(TFrameStackInfoSet& set) {
  set.AlignControls();
  std::vector<std::pair<int, int>> tops;
  for (int i = 0; i < set.Count(); ++i) tops.push_back({set.Tile(i)->Top(), set.Tile(i)->StackIndex()});
  std::sort(tops.begin(), tops.end());
  std::vector<int> out;
  for (auto& t : tops) out.push_back(t.second);
  return out;
}

class TileSet : public ::testing::Test {
 protected:
  FakeHost host{4};
};

}  // namespace

TEST_F(TileSet, AnEmptySetIsAtItsMinimumHeightAndAnswersNo) {
  TFrameStackInfoSet set(nullptr, 0);
  EXPECT_EQ(set.Count(), 0);
  EXPECT_EQ(set.GetFullHeight(), 0);
  EXPECT_EQ(set.Height(), 142);
  EXPECT_FALSE(set.AreAllStacksLossy());
  EXPECT_FALSE(set.HasLossyStack());
  EXPECT_EQ(set.GetKeyImageStackIndex(), -1);
  EXPECT_THROW(set.GetKeyImageStack(), std::out_of_range);
  EXPECT_THROW(set.Tile(0), std::out_of_range);
  set.RemoveFirstStack();  // refused quietly
  EXPECT_EQ(set.Count(), 0);
}

TEST_F(TileSet, HeightFollowsTheTilesAndTheScale) {
  TFrameStackInfoSet set(nullptr, 3);
  EXPECT_EQ(set.Height(), 3 * 142);
  EXPECT_EQ(set.GetTileHeight(), 142);
  EXPECT_EQ(set.BaseWidth(), 142);
  set.InsertStack(3, Stack(9));
  EXPECT_EQ(set.Height(), 4 * 142);
  set.RemoveFirstStack();
  set.RemoveLastStack();
  EXPECT_EQ(set.Height(), 2 * 142);
  host.scale = 1.5;
  EXPECT_EQ(set.GetTileHeight(), 213);
  EXPECT_EQ(set.GetFullHeight(), 426);
  TFrameStackInfoSet one(nullptr, 1);
  one.RemoveFirstStack();
  EXPECT_EQ(one.Height(), 142);
}

TEST_F(TileSet, InsertionsAndReversalKeepScreenAndSequenceInOneOrder) {
  struct Case {
    int position;
    std::vector<int> order;
  } cases[] = {{0, {9, 0, 1}}, {1, {0, 9, 1}}, {2, {0, 1, 9}}};
  for (const auto& c : cases) {
    TFrameStackInfoSet set(nullptr, 0);
    set.InsertStack(0, Stack(1));
    set.InsertStack(0, Stack(0));
    TFrameStackInfo* tile = set.InsertStack(c.position, Stack(9));
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->StackIndex(), 9);
    EXPECT_TRUE(tile->Visible());
    EXPECT_EQ(SequenceOrder(set), c.order) << c.position;
    EXPECT_EQ(ScreenOrder(set), c.order) << c.position;
  }
  TFrameStackInfoSet set(nullptr, 0);
  for (int i = 0; i < 3; ++i) set.InsertStack(i, Stack(i));
  EXPECT_EQ(set.InsertStack(5, Stack(7)), nullptr);
  EXPECT_EQ(set.InsertStack(-1, Stack(7)), nullptr);
  const int height = set.Height();
  set.ReverseOrder();
  EXPECT_EQ(SequenceOrder(set), (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(ScreenOrder(set), (std::vector<int>{2, 1, 0}));
  set.ReverseOrder();
  EXPECT_EQ(ScreenOrder(set), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(set.Height(), height);
}

TEST_F(TileSet, QueriesFindTheFirstMatch) {
  TFrameStackInfoSet set(nullptr, 0);
  TFrameStackInfo* upper = set.InsertStack(0, Stack(4));
  set.InsertStack(1, Stack(4));
  TFrameStackInfo* key = set.InsertStack(2, Stack(5, L"Key Image Series"));
  key->KeyImageStackIndex = 11;
  EXPECT_EQ(set.FindStackInfo(0, 0, 4), upper);
  EXPECT_THROW(set.FindStackInfo(0, 0, 8), std::out_of_range);
  try {
    set.FindStackInfo(1, 0, 4);
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "deque");
  }
  EXPECT_EQ(set.GetKeyImageStack(), key);
  EXPECT_EQ(set.GetKeyImageStackIndex(), 11);
  EXPECT_FALSE(set.HasLossyStack());
  upper->SetLossy(1);
  EXPECT_TRUE(set.HasLossyStack());
  EXPECT_FALSE(set.AreAllStacksLossy());
  for (int i = 0; i < set.Count(); ++i) set.Tile(i)->SetLossy(1);
  EXPECT_TRUE(set.AreAllStacksLossy());
}

TEST_F(TileSet, ForwardersPassCallsOnAndAnswerNoWithoutAClosure) {
  TFrameStackInfoSet set(nullptr, 2);
  TFrameStackInfo* tile = set.Tile(1);
  std::string text, file;
  EXPECT_FALSE(tile->OnImageFileRequest(0, 0, 0, 0, text, file));
  EXPECT_FALSE(tile->OnPlaceStack(0, 0, 0));
  EXPECT_FALSE(tile->OnWindowCreated(nullptr));
  tile->OnNextStack();  // nothing installed: nothing happens

  TFrameStackInfo* selected = nullptr;
  int next = 0;
  set.OnTileSelected = [&](TFrameStackInfo* t, bool) { selected = t; };
  set.OnNextStack = [&] { ++next; };
  set.OnPlaceStack = [](int a, int b, int c) { return a == 1 && b == 2 && c == 3; };
  tile->OnTileSelected(tile, true);
  tile->OnNextStack();
  EXPECT_EQ(selected, tile);
  EXPECT_EQ(next, 1);
  EXPECT_TRUE(tile->OnPlaceStack(1, 2, 3));
  // The placeholder tiles are hidden and empty until the study box fills them.
  EXPECT_FALSE(tile->Visible());
  EXPECT_FALSE(tile->IsUsable());
}
