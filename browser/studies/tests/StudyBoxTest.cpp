// The study box with real widgets: lazy building, collapse and expansion, closing, the tile
// order, new stacks and key-image tiles.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "browser/studies/TFrameStudyBox.h"
#include "browser/studies/tests/FakeTiles.h"
#include "platform/windows/Messages.h"

namespace ORN_browser::test {
namespace {

// Serves messages until the condition holds or the time is up.
template <class F>
bool WaitFor(F condition, int ms = 3000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

class StudyBoxTest : public ::testing::Test {
 protected:
  // A box of a study whose stacks have the given image counts; the owner describes them.
  std::unique_ptr<TFrameStudyBox> MakeBox(std::vector<int> images, int lossyState = -1) {
    images_ = images;
    auto box = std::make_unique<TFrameStudyBox>(nullptr, lossyState, static_cast<int>(images.size()), 7,
                                                L"CT Chest 2026-01-02", &fake_.host);
    box->OnExpanded = [this] { ++expanded_; };
    box->OnCollapsed = [this] { ++collapsed_; };
    box->OnGetStackInfo = [this](int key, int stack, STACK_INFO_INIT_STRUCT& info) {
      asked_.push_back(stack);
      if (missing_ == stack || stack < 0 || stack >= static_cast<int>(images_.size())) return false;
      info = Describe(key, stack, images_[static_cast<size_t>(stack)]);
      return true;
    };
    return box;
  }
  FakeTileSet& Set(int i = 0) { return *fake_.sets.at(static_cast<size_t>(i)); }

  FakeHost fake_;
  std::vector<int> images_;
  std::vector<int> asked_;
  int missing_ = -1;
  int expanded_ = 0, collapsed_ = 0;
};

TEST_F(StudyBoxTest, NewBoxIsCollapsedAndExpandBuildsEveryTileAtOnce) {
  auto box = MakeBox({3, 4, 2});
  EXPECT_FALSE(box->IsExpanded());
  EXPECT_TRUE(box->IsEnabled());
  EXPECT_EQ(box->GetStackCount(), 3);
  EXPECT_FALSE(box->AreTilesBuilt());
  EXPECT_TRUE(asked_.empty());
  EXPECT_EQ(box->Height(), box->GetHeaderHeight());

  EXPECT_TRUE(box->Expand());
  EXPECT_TRUE(box->IsExpanded());
  EXPECT_TRUE(box->AreTilesBuilt());
  EXPECT_EQ(asked_, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(box->NextTile(), 3);
  EXPECT_EQ(expanded_, 1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Set().At(i)->fills, 1);
    EXPECT_TRUE(Set().At(i)->Control()->Visible());
    EXPECT_EQ(Set().At(i)->keyImageStackIndex, i);
  }
  EXPECT_TRUE(box->Expand());  // already expanded: nothing more
  EXPECT_EQ(expanded_, 1);
}

TEST_F(StudyBoxTest, UserExpansionFillsOneTilePerTick) {
  auto box = MakeBox({1, 1, 1, 1});
  box->tbOpenCollaps->Click();
  EXPECT_TRUE(box->IsExpanded());
  EXPECT_EQ(box->NextTile(), -1);  // the first tile comes with the first tick
  ASSERT_TRUE(WaitFor([&] { return box->NextTile() >= 0; }));
  EXPECT_FALSE(box->AreTilesBuilt());
  ASSERT_TRUE(WaitFor([&] { return box->AreTilesBuilt(); }));
  EXPECT_EQ(asked_, (std::vector<int>{0, 1, 2, 3}));
  // Collapsing and expanding again builds nothing more.
  box->tbOpenCollaps->Click();
  box->tbOpenCollaps->Click();
  EXPECT_EQ(asked_.size(), 4u);
  EXPECT_EQ(expanded_, 2);
  EXPECT_EQ(collapsed_, 1);
}

TEST_F(StudyBoxTest, ClosedBoxRefusesToExpandAndCollapseOfCollapsedChangesNothing) {
  auto box = MakeBox({2});
  EXPECT_TRUE(box->Collapse());
  EXPECT_EQ(collapsed_, 0);
  box->tbDisable->Click();
  EXPECT_FALSE(box->IsEnabled());
  EXPECT_FALSE(box->Expand());
  EXPECT_FALSE(box->IsExpanded());
  EXPECT_FALSE(box->AreTilesBuilt());
  EXPECT_EQ(box->GetStackCount(), 0);
  EXPECT_FALSE(box->Collapse());
}

TEST_F(StudyBoxTest, MissingDescriptionLeavesThatTileEmpty) {
  missing_ = 2;
  auto box = MakeBox({1, 2, 3, 4});
  box->Expand();
  EXPECT_EQ(Set().At(2)->fills, 0);
  EXPECT_FALSE(Set().At(2)->Control()->Visible());
  for (int i : {0, 1, 3}) EXPECT_EQ(Set().At(i)->fills, 1) << i;
  EXPECT_EQ(box->GetNavigatorTotal(), 1 + 2 + 4);
}

TEST_F(StudyBoxTest, NavigatorStripAndPreferredWidthFollowTheImageCount) {
  struct Case {
    std::vector<int> images;
    bool strip;
    int max;
  };
  for (const Case& c : {Case{{1, 0}, false, 1}, Case{{3, 4}, true, 7}}) {
    fake_.fittedWidths.clear();
    auto box = MakeBox(c.images);
    box->Expand();
    EXPECT_EQ(box->pnlStudyNavigator->Visible(), c.strip);
    EXPECT_EQ(box->TrackBarStadyNavigator->Max(), c.max);
    ASSERT_EQ(fake_.fittedWidths.size(), 1u);
    // The tile wants 153 + 19 + 60 = 232; never less than 144; the strip adds 29.
    const int tiles = std::max(232, TFrameStudyBox::kInitialPreferredWidth);
    EXPECT_GE(fake_.fittedWidths[0], 144);
    EXPECT_EQ(fake_.fittedWidths[0] - (box->scrollboxStaudyBox->VertScrollBarVisible()
                                           ? box->scrollboxStaudyBox->VertScrollBarSize()
                                           : 0),
              tiles + (c.strip ? 29 : 0));
  }
}

TEST_F(StudyBoxTest, NarrowTilesStillGiveTheSmallestPreferredWidth) {
  auto box = MakeBox({1});
  Set().At(0)->widestLabel = -200;
  box->Expand();
  ASSERT_FALSE(fake_.fittedWidths.empty());
  EXPECT_GE(fake_.fittedWidths[0], TFrameStudyBox::kInitialPreferredWidth);
}

TEST_F(StudyBoxTest, ClosingCollapsesHidesStacksAndReopeningPaintsWhite) {
  auto box = MakeBox({2, 2});
  std::vector<bool> reported;
  box->OnStudyEnabledChanged = [&](bool enabled) { reported.push_back(enabled); };
  box->pnlHeaderInfo->SetColor(0x00FFEE);  // a configured header colour
  box->Expand();
  Set().At(0)->shown = true;
  box->tbDisable->Click();
  EXPECT_FALSE(box->IsExpanded());
  EXPECT_EQ(collapsed_, 1);
  EXPECT_FALSE(Set().At(0)->shown);
  EXPECT_EQ(Set().At(1)->shownCalls, (std::vector<bool>{false}));
  EXPECT_EQ(box->pnlHeaderInfo->Color(), TFrameStudyBox::kClosedHeaderColor);
  EXPECT_FALSE(box->tbOpenCollaps->Enabled());
  EXPECT_FALSE(box->tbSortingForward->Enabled());
  box->tbDisable->Click();
  EXPECT_EQ(reported, (std::vector<bool>{false, true}));
  EXPECT_EQ(box->pnlHeaderInfo->Color(), TFrameStudyBox::kOpenHeaderColor);
  EXPECT_TRUE(box->tbOpenCollaps->Enabled());
}

TEST_F(StudyBoxTest, OrderChosenBeforeBuildingAppliesWhenTheTilesExist) {
  auto box = MakeBox({1, 1, 1});
  int orderChanges = 0;
  box->OnStudyOrderChanged = [&] { ++orderChanges; };
  box->tbSortingForward->Click();
  EXPECT_TRUE(box->IsReversed());
  EXPECT_EQ(box->tbSortingForward->Hint(), L"sort back");
  EXPECT_EQ(box->tbSortingForward->ImageIndex(), 4);
  EXPECT_EQ(orderChanges, 0);
  EXPECT_EQ(Set().reversals, 0);
  box->Expand();
  // Filled in forward order, then shown in the order the button asks for.
  EXPECT_EQ(asked_, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Set().At(0)->series, 2);
  box->tbSortingForward->Click();
  EXPECT_EQ(orderChanges, 1);
  EXPECT_EQ(Set().At(0)->series, 0);
  EXPECT_EQ(box->tbSortingForward->Hint(), L"sort forward");
  EXPECT_EQ(box->tbSortingForward->ImageIndex(), 5);
}

class StudyBoxInsertionTest : public StudyBoxTest {
 protected:
  void SetUp() override {
    box_ = MakeBox({2, 2, 2});
    box_->OnMprSeriesRequest = [this](const void*, iSTACK_TILE*, int& stack) {
      stack = newStack_;
      if (newStack_ >= static_cast<int>(images_.size())) images_.push_back(5);
      return true;
    };
  }
  std::unique_ptr<TFrameStudyBox> box_;
  int newStack_ = -1;
};

TEST_F(StudyBoxInsertionTest, NewStackLandsAtItsIndexAndRenumbersTheSeriesBelow) {
  box_->Expand();
  box_->Collapse();
  images_.insert(images_.begin() + 2, 5);
  newStack_ = 2;
  EXPECT_TRUE(box_->HandleMprSeriesRequest(nullptr, Set().At(0)));
  ASSERT_EQ(Set().Count(), 4);
  EXPECT_EQ(Set().At(2)->images, 5);
  EXPECT_TRUE(Set().At(2)->description.empty());  // inserted tiles get no description
  EXPECT_EQ(Set().At(0)->series, 0);
  EXPECT_EQ(Set().At(1)->series, 1);
  EXPECT_EQ(Set().At(3)->series, 3);  // C moved down one series
  EXPECT_TRUE(box_->IsExpanded());
  EXPECT_EQ(box_->TrackBarStadyNavigator->Max(), 6 + 5);
  EXPECT_EQ(box_->NextTile(), 4);
  EXPECT_EQ(box_->GetMaxHeight(), 4 * FakeTile::kHeight + box_->GetHeaderHeight());
}

TEST_F(StudyBoxInsertionTest, ReversedBoxPutsTheNewLastStackOnTop) {
  box_->Expand();
  box_->tbSortingForward->Click();
  newStack_ = 3;
  EXPECT_TRUE(box_->HandleMprSeriesRequest(nullptr, Set().At(0)));
  ASSERT_EQ(Set().Count(), 4);
  EXPECT_EQ(Set().At(0)->images, 5);
}

TEST_F(StudyBoxInsertionTest, RequestsThatAddNothingOrFailAreAnsweredWithoutInsertion) {
  box_->Expand();
  newStack_ = -1;
  EXPECT_TRUE(box_->HandleMprSeriesRequest(nullptr, Set().At(0)));  // no stack to add
  newStack_ = 9;  // the owner has no description for it
  missing_ = 9;
  EXPECT_FALSE(box_->HandleMprSeriesRequest(nullptr, Set().At(0)));
  newStack_ = 7;  // beyond the tiles
  EXPECT_FALSE(box_->HandleMprSeriesRequest(nullptr, Set().At(0)));
  EXPECT_EQ(Set().Count(), 3);
  EXPECT_TRUE(box_->tbSortingForward->Enabled());
  box_->OnMprSeriesRequest = nullptr;
  EXPECT_FALSE(box_->HandleMprSeriesRequest(nullptr, Set().At(0)));
}

class StudyBoxKeyImageTest : public StudyBoxTest {
 protected:
  void SetUp() override {
    box_ = MakeBox({3, 3});
    box_->Expand();
    box_->OnKeyImageAdded = [this](const void*, uint32_t, iTILE_STACK_WINDOW*, iSTACK_TILE*, bool& created,
                                   int& stack) {
      created = !keyStackExists_;
      keyStackExists_ = true;
      stack = 2;
      ++keyImages_;
      return true;
    };
    box_->OnGetStackInfo = [this](int key, int stack, STACK_INFO_INIT_STRUCT& info) {
      if (stack == 2) {
        if (!keyStackExists_) throw std::runtime_error("no key-image stack");
        info = Describe(key, 2, keyImages_);
        info.Protocol = L"Key Image Series";
        return true;
      }
      info = Describe(key, stack, 3);
      return true;
    };
    box_->OnKeyImageRemoved = [this](const std::wstring&) {
      if (--keyImages_ == 0) keyStackExists_ = false;
      return true;
    };
  }
  std::unique_ptr<TFrameStudyBox> box_;
  bool keyStackExists_ = false;
  int keyImages_ = 0;
};

TEST_F(StudyBoxKeyImageTest, FirstKeyImageAddsTheTileAndTheButton) {
  const int max = box_->TrackBarStadyNavigator->Max();
  box_->HandleKeyImageAdded(nullptr, 0, nullptr, Set().At(0));
  ASSERT_EQ(Set().Count(), 3);
  EXPECT_TRUE(Set().At(2)->keyImage);
  EXPECT_TRUE(box_->tbKeyImagesStack->Visible());
  EXPECT_TRUE(box_->ToolButton5->Visible());
  EXPECT_EQ(box_->TrackBarStadyNavigator->Max(), max + 1);
  box_->HandleKeyImageAdded(nullptr, 0, nullptr, Set().At(0));  // a second one refills the tile
  EXPECT_EQ(Set().Count(), 3);
  EXPECT_EQ(Set().At(2)->images, 2);
  EXPECT_EQ(box_->TrackBarStadyNavigator->Max(), max + 2);
}

TEST_F(StudyBoxKeyImageTest, RemovingTheLastKeyImageRemovesTheKeyImageTileWhereverItStands) {
  box_->HandleKeyImageAdded(nullptr, 0, nullptr, Set().At(0));
  // A derived series inserted after the key-image tile: the key-image tile is not the last.
  box_->OnMprSeriesRequest = [](const void*, iSTACK_TILE*, int& stack) {
    stack = 3;
    return true;
  };
  EXPECT_TRUE(box_->HandleMprSeriesRequest(nullptr, Set().At(0)));
  ASSERT_EQ(Set().Count(), 4);
  ASSERT_TRUE(Set().At(2)->keyImage);
  const int max = box_->TrackBarStadyNavigator->Max();

  EXPECT_TRUE(box_->HandleKeyImageRemoved(L"1.2.3"));
  ASSERT_EQ(Set().Count(), 3);
  EXPECT_EQ(Set().removed, (std::vector<int>{2}));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(Set().At(i)->keyImage) << i;
  EXPECT_FALSE(box_->tbKeyImagesStack->Visible());
  EXPECT_EQ(box_->TrackBarStadyNavigator->Max(), max - 1);
}

TEST_F(StudyBoxKeyImageTest, RemovalWithoutKeyImageTileRemovesNoTile) {
  box_->OnKeyImageRemoved = [](const std::wstring&) { return true; };
  keyStackExists_ = false;
  EXPECT_TRUE(box_->HandleKeyImageRemoved(L"1.2.3"));
  EXPECT_EQ(Set().Count(), 2);
  EXPECT_TRUE(Set().removed.empty());
}

TEST_F(StudyBoxTest, LongTitleShowsItsHint) {
  auto box = MakeBox({1});
  box->SetBounds(0, 0, 600, box->Height());
  box->FrameResize(nullptr);
  EXPECT_FALSE(box->statictextTitle->ShowHint);
  box->SetBounds(0, 0, 150, box->Height());
  box->FrameResize(nullptr);
  EXPECT_TRUE(box->statictextTitle->ShowHint);
}

TEST_F(StudyBoxTest, MousePressInAChildFocusesTheTileArea) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 420, 500);
  auto box = MakeBox({1, 1});
  box->SetParent(&form);
  box->SetBounds(0, 0, 400, 400);
  form.Show();
  constexpr platform::WParam kLeftButtonDown = 0x0201;
  box->WndProc(0x0210, kLeftButtonDown, 0);  // collapsed: the focus stays
  Application->ProcessMessages();
  EXPECT_FALSE(box->scrollboxStaudyBox->Focused());
  box->Expand();
  box->SetHeight(400);
  box->WndProc(0x0210, 1 /* WM_CREATE */, 0);
  Application->ProcessMessages();
  EXPECT_FALSE(box->scrollboxStaudyBox->Focused());
  box->WndProc(0x0210, kLeftButtonDown, 0);
  EXPECT_TRUE(WaitFor([&] { return box->scrollboxStaudyBox->Focused(); }, 1000));
  box->SetParent(nullptr);
}

TEST_F(StudyBoxTest, BoxWithoutExpansionHandlersStillOpensAndCloses) {
  auto box = MakeBox({1});
  box->OnExpanded = nullptr;
  box->OnCollapsed = nullptr;
  EXPECT_TRUE(box->Expand());
  EXPECT_TRUE(box->Collapse());
  EXPECT_FALSE(box->IsExpanded());
}

TEST_F(StudyBoxTest, RelaysPassToTheOwnerOrAnswerFalse) {
  auto box = MakeBox({1});
  box->Expand();
  FakeTileSet& set = Set();
  std::string text, file;
  EXPECT_FALSE(set.OnImageFileRequest(7, 0, 0, 0, text, file));
  EXPECT_FALSE(set.OnSaveKeyImages(7, 0, 0));
  EXPECT_FALSE(set.OnPlaceStack(7, 0, 0));
  EXPECT_FALSE(Set().At(0)->OnWindowCreated(nullptr));
  int placed = -1;
  box->OnImageFileRequest = [](int, int, int, int image, std::string& t, std::string& f) {
    t = "text";
    f = "file" + std::to_string(image);
    return true;
  };
  box->OnPlaceStack = [&placed](int st, int se, int sk) {
    placed = st * 100 + se * 10 + sk;
    return 1;
  };
  box->OnWindowCreated = [](iTILE_STACK_WINDOW*) { return true; };
  EXPECT_TRUE(set.OnImageFileRequest(7, 0, 0, 4, text, file));
  EXPECT_EQ(file, "file4");
  EXPECT_TRUE(set.OnPlaceStack(7, 1, 2));
  EXPECT_EQ(placed, 712);
  EXPECT_TRUE(Set().At(0)->OnWindowCreated(nullptr));
}

TEST_F(StudyBoxTest, DestroyingDuringABuildStopsTheTimer) {
  auto box = MakeBox({1, 1, 1, 1, 1});
  box->tbOpenCollaps->Click();
  ASSERT_TRUE(WaitFor([&] { return box->NextTile() >= 1; }));
  box.reset();
  // No tick may reach the destroyed box.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
  while (std::chrono::steady_clock::now() < end) Application->ProcessMessages();
  SUCCEED();
}

}  // namespace
}  // namespace ORN_browser::test
