#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/Forms.h"
#include "viewer/matrix/TanMatrixCell.h"
#include "viewer/matrix/tests/FakeStackWindow.h"

namespace {

using Cell = TanMatrixCell<FakeStackWindow>;

// A shown form with a desk panel of 600 x 400, as the client area gives its cells.
class MatrixCellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(50, 60, 600, 400);
    desk_ = new TPanel(form_.get());
    desk_->BevelOuter = bvNone;
    desk_->SetParent(form_.get());
    desk_->SetBounds(0, 0, 600, 400);
    form_->Show();
  }
  void TearDown() override {
    a_.reset();
    b_.reset();
    form_.reset();
  }
  std::unique_ptr<FakeStackWindow> NewWindow(const std::string& name) {
    return std::make_unique<FakeStackWindow>(name, &log_);
  }

  std::unique_ptr<TForm> form_;
  TPanel* desk_ = nullptr;
  std::vector<std::string> log_;
  std::unique_ptr<FakeStackWindow> a_, b_;
};

TEST_F(MatrixCellTest, PanelShowsAnEmptyCellAndHidesUnderAWindow) {
  Cell cell(desk_, 0, 10, 20, 100, 80, nullptr);
  EXPECT_TRUE(cell.Panel()->Visible());
  EXPECT_EQ(cell.Panel()->Color(), 0x000000);
  EXPECT_EQ(cell.Panel()->BoundsRect(), Rect(10, 20, 110, 100));
  cell.SetHighlight(true);
  EXPECT_EQ(cell.Panel()->Color(), 0x808080);
  cell.SetHighlight(false);
  EXPECT_EQ(cell.Panel()->Color(), 0x000000);
  cell.SetVisible(false);
  EXPECT_FALSE(cell.Panel()->Visible());
  cell.SetVisible(true);

  a_ = NewWindow("a");
  EXPECT_TRUE(cell.AttachWindow(a_.get()));
  EXPECT_FALSE(cell.Panel()->Visible());
  EXPECT_TRUE(a_->Visible());
  EXPECT_EQ(a_->BoundsRect(), Rect(10, 20, 110, 100));
  EXPECT_EQ(a_->Parent(), desk_);  // no parent yet: the desk becomes it
  EXPECT_EQ(a_->CellIndex, 0);
  cell.SetBounds(5, 6, 50, 60);
  EXPECT_EQ(a_->BoundsRect(), Rect(5, 6, 55, 66));
  EXPECT_EQ(cell.Panel()->BoundsRect(), Rect(5, 6, 55, 66));  // the panel keeps the bounds while hidden
}

TEST_F(MatrixCellTest, MaximizedCellPlacesItsWindowOverTheDesk) {
  Cell cell(desk_, 3, 300, 200, 300, 200, nullptr);
  a_ = NewWindow("a");
  cell.AttachWindow(a_.get());
  a_->Activate(0);
  cell.SetMaximized(true);
  EXPECT_EQ(a_->BoundsRect(), Rect(0, 0, 600, 400));
  int l, t, w, h;
  cell.GetBounds(l, t, w, h);
  EXPECT_EQ(Rect(l, t, l + w, t + h), Rect(300, 200, 600, 400));
  EXPECT_TRUE(a_->IsActive());  // re-activated after the layout hid it
  cell.SetMaximized(false);
  EXPECT_EQ(a_->BoundsRect(), Rect(300, 200, 600, 400));
  cell.SetVisible(false);
  EXPECT_FALSE(a_->Visible());
  EXPECT_FALSE(a_->IsActive());  // hidden: not activated again
}

TEST_F(MatrixCellTest, AttachKeepsAnExistingParent) {
  TPanel other(nullptr);
  other.SetParent(form_.get());
  a_ = NewWindow("a");
  a_->SetParent(&other);
  Cell cell(desk_, 0, 0, 0, 10, 10, nullptr);
  cell.AttachWindow(a_.get());
  EXPECT_EQ(a_->Parent(), &other);
  cell.ReleaseWindow();
}

TEST_F(MatrixCellTest, AttachingAnotherWindowDetachesAndUnwiresTheFirst) {
  Cell cell(desk_, 2, 0, 0, 10, 10, nullptr);
  int toggled = -1;
  cell.OnToggleMaximize = [&](int i) { toggled = i; };
  a_ = NewWindow("a");
  b_ = NewWindow("b");
  cell.AttachWindow(a_.get());
  a_->OnCellMaximize(a_.get());
  EXPECT_EQ(toggled, 2);
  log_.clear();
  EXPECT_TRUE(cell.AttachWindow(b_.get()));
  EXPECT_EQ(log_, std::vector<std::string>{"a: 0x8804"});
  EXPECT_FALSE(a_->Visible());
  EXPECT_FALSE(a_->OnCellMaximize || a_->OnLinkedZoom || a_->OnLinkedVoi || a_->OnLinkedPan ||
               a_->OnLinkedRotateLeft || a_->OnLinkedRotateRight || a_->OnLinkedFlipHorizontal ||
               a_->OnLinkedFlipVertical || a_->OnLinkedImageStep || a_->OnLinkedPositionStep ||
               a_->OnLinkedTimeStep || a_->GetCellPosition || a_->OnCellDetach);
  EXPECT_EQ(cell.GetWindow(), b_.get());
  EXPECT_FALSE(cell.AttachWindow(nullptr));
  EXPECT_TRUE(cell.Panel()->Visible());
}

TEST_F(MatrixCellTest, SwapMovesTheWindowAndRepointsItsClosures) {
  Cell left(desk_, 0, 0, 0, 300, 400, nullptr);
  Cell right(desk_, 1, 300, 0, 300, 400, nullptr);
  std::vector<int> toggled;
  left.OnToggleMaximize = right.OnToggleMaximize = [&](int i) { toggled.push_back(i); };
  a_ = NewWindow("a");
  left.AttachWindow(a_.get());
  log_.clear();
  left.SwapWindows(&right);
  EXPECT_TRUE(log_.empty());  // nothing is detached
  EXPECT_FALSE(left.HasWindow());
  EXPECT_EQ(right.GetWindow(), a_.get());
  EXPECT_TRUE(left.Panel()->Visible());  // the empty cell shows at the old place
  EXPECT_EQ(a_->BoundsRect(), Rect(300, 0, 600, 400));
  EXPECT_EQ(a_->CellIndex, 1);
  a_->OnCellMaximize(a_.get());
  EXPECT_EQ(toggled, std::vector<int>{1});
  right.SwapWindows(&right);  // with itself: as it was
  EXPECT_EQ(right.GetWindow(), a_.get());
  EXPECT_EQ(a_->CellIndex, 1);
}

TEST_F(MatrixCellTest, PositionQueryAnswersOnlyWhileTheCellIsVisible) {
  Cell cell(desk_, 4, 0, 0, 10, 10, nullptr);
  cell.OnQueryCellPosition = [](int i, int& count, int& row, int& column) {
    count = 100 + i;
    row = 7;
    column = 8;
  };
  a_ = NewWindow("a");
  cell.AttachWindow(a_.get());
  int count = -1, row = -1, column = -1;
  a_->GetCellPosition(count, row, column);
  EXPECT_EQ(count, 104);
  EXPECT_EQ(row, 7);
  EXPECT_EQ(column, 8);
  cell.SetVisible(false);
  count = row = column = -5;
  a_->GetCellPosition(count, row, column);
  EXPECT_EQ(count, -5);
  EXPECT_EQ(row, -5);
  EXPECT_EQ(column, -5);
}

TEST_F(MatrixCellTest, LinkedRequestsForwardWhenInstalled) {
  Cell cell(desk_, 0, 0, 0, 10, 10, nullptr);
  a_ = NewWindow("a");
  cell.AttachWindow(a_.get());
  EXPECT_FALSE(a_->OnLinkedZoom(a_.get(), 2.0));  // no callback installed: skipped
  std::vector<std::string> got;
  cell.OnLinkedZoom = [&](FakeStackWindow* s, double f) { got.push_back(s->Name() + std::to_string(f)); return true; };
  cell.OnLinkedPositionStep = [&](FakeStackWindow*, uint8_t k, double d) { got.push_back(std::to_string(k + d)); return false; };
  EXPECT_TRUE(a_->OnLinkedZoom(a_.get(), 1.5));
  EXPECT_FALSE(a_->OnLinkedPositionStep(a_.get(), 2, 0.5));
  EXPECT_EQ(got, (std::vector<std::string>{"a1.500000", "2.500000"}));
}

TEST_F(MatrixCellTest, WindowLeavingByItselfEmptiesTheCellOnce) {
  Cell cell(desk_, 0, 0, 0, 10, 10, nullptr);
  a_ = NewWindow("a");
  cell.AttachWindow(a_.get());
  log_.clear();
  a_->DetachFromCell();
  EXPECT_EQ(log_, std::vector<std::string>{"a: 0x8804"});
  EXPECT_FALSE(cell.HasWindow());
  EXPECT_FALSE(a_->OnCellDetach);
  EXPECT_TRUE(cell.Panel()->Visible());
  cell.ReleaseWindow();  // nothing held: no second detach
  EXPECT_EQ(log_.size(), 1u);
}

TEST_F(MatrixCellTest, DestroyingACellDetachesItsWindow) {
  a_ = NewWindow("a");
  {
    Cell cell(desk_, 0, 0, 0, 10, 10, nullptr);
    cell.AttachWindow(a_.get());
    log_.clear();
  }
  EXPECT_EQ(log_, std::vector<std::string>{"a: 0x8804"});
  EXPECT_FALSE(a_->OnCellDetach);
}

// The constructor hides the window and lays it out over the cell, but installs no closures.
TEST_F(MatrixCellTest, WindowGivenToTheConstructorIsPlacedNotWired) {
  a_ = NewWindow("a");
  a_->SetParent(desk_);
  Cell cell(desk_, 0, 7, 8, 10, 10, a_.get());
  EXPECT_TRUE(a_->Visible());
  EXPECT_EQ(a_->BoundsRect(), Rect(7, 8, 17, 18));
  EXPECT_FALSE(cell.Panel()->Visible());
  EXPECT_FALSE(a_->OnCellDetach);
  EXPECT_EQ(a_->CellIndex, -1);
  EXPECT_TRUE(cell.HasWindow());
  cell.ReleaseWindow();
}

TEST_F(MatrixCellTest, ContainsScreenPointUsesTheCellRectangle) {
  Cell cell(desk_, 0, 100, 50, 200, 100, nullptr);
  a_ = NewWindow("a");
  cell.AttachWindow(a_.get());  // panel hidden under the window: the test still works
  const TPoint origin = desk_->ClientToScreen(TPoint{0, 0});
  const struct {
    int x, y;
    bool in;
  } cases[] = {{100, 50, true}, {299, 149, true}, {300, 100, false}, {150, 150, false}, {99, 60, false}};
  for (const auto& c : cases)
    EXPECT_EQ(cell.ContainsScreenPoint(TPoint{origin.x + c.x, origin.y + c.y}), c.in) << c.x << "," << c.y;
}

}  // namespace
