#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>

#include "platform/vcl/Forms.h"
#include "viewer/matrix/TFrameCleintArea.h"
#include "viewer/matrix/tests/FakeStackWindow.h"

namespace {

using Area = TFrameCleintArea<FakeStackWindow>;

// A client area of 1001 x 600 on a shown form, with windows named by one letter each. A
// matrix is written as one character per cell: the window's letter or '-' for an empty cell.
class ClientAreaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(20, 30, 1001, 600);
    area_ = new Area(form_.get());
    area_->SetParent(form_.get());
    area_->SetAlign(alClient);
    form_->Show();
    area_->OnMaximizeChanged = [this](bool m, int i) {
      notices_.push_back((m ? "max " : "restore ") + std::to_string(i));
    };
  }
  void TearDown() override {
    delete area_;
    windows_.clear();
    form_.reset();
  }

  FakeStackWindow* Window(char name) {
    auto& w = windows_[name];
    if (!w) w = std::make_unique<FakeStackWindow>(std::string(1, name), &log_);
    return w.get();
  }

  // Sets the matrix and attaches the windows of `layout` ('-' leaves a cell empty).
  void Fill(int columns, int rows, const std::string& layout) {
    area_->SetMatrix(columns, rows);
    ASSERT_EQ(area_->CellCount(), static_cast<int>(layout.size()));
    for (size_t i = 0; i < layout.size(); ++i)
      if (layout[i] != '-') area_->Cells(static_cast<int>(i))->AttachWindow(Window(layout[i]));
    log_.clear();
    notices_.clear();
  }

  std::string Layout() const {
    std::string s;
    for (int i = 0; i < area_->CellCount(); ++i) {
      FakeStackWindow* w = area_->Cells(i)->GetWindow();
      s += w ? w->Name()[0] : '-';
    }
    return s;
  }

  // Every cell's index equals its position, and every window knows its cell.
  void ExpectConsistent() const {
    for (int i = 0; i < area_->CellCount(); ++i) {
      EXPECT_EQ(area_->Cells(i)->GetIndex(), i);
      if (FakeStackWindow* w = area_->Cells(i)->GetWindow()) {
        EXPECT_EQ(w->CellIndex, i) << w->Name();
        EXPECT_TRUE(w->OnCellDetach) << w->Name();
      }
    }
  }

  // Windows that were released (0x8804 to their tile), in order.
  std::string Released() const {
    std::string s;
    for (const auto& line : log_)
      if (line.size() > 3 && line.substr(line.size() - 6) == "0x8804") s += line[0];
    return s;
  }

  std::unique_ptr<TForm> form_;
  Area* area_ = nullptr;
  std::map<char, std::unique_ptr<FakeStackWindow>> windows_;
  std::vector<std::string> log_;
  std::vector<std::string> notices_;
};

TEST_F(ClientAreaTest, SetMatrixRoundsToTheGranularity) {
  const struct {
    int columns, rows, columnGranularity, rowGranularity;
    int wantColumns, wantRows;
  } cases[] = {
      {3, 2, 2, 1, 4, 2}, {3, 2, 1, 1, 3, 2}, {7, 1, 2, 1, 8, 1}, {4, 3, 2, 2, 4, 4}, {1, 1, 3, 1, 3, 1},
      {6, 5, 3, 5, 6, 5}, {0, 3, 2, 1, 0, 0}, {2, 0, 1, 1, 0, 0}, {1, 1, 1, 1, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.columns) + "x" + std::to_string(c.rows) + " g" + std::to_string(c.columnGranularity));
    area_->SetGranularity(c.columnGranularity, c.rowGranularity);
    area_->SetMatrix(c.columns, c.rows);
    EXPECT_EQ(area_->Columns(), c.wantColumns);
    EXPECT_EQ(area_->Rows(), c.wantRows);
    EXPECT_EQ(area_->CellCount(), c.wantColumns * c.wantRows);
    ExpectConsistent();
  }
}

TEST_F(ClientAreaTest, GranularityBelowOneAndNegativeSizesAreRefused) {
  area_->SetGranularity(2, 1);
  area_->SetGranularity(0, 1);
  area_->SetGranularity(1, -3);
  EXPECT_EQ(area_->ColumnGranularity(), 2);
  EXPECT_EQ(area_->RowGranularity(), 1);
  area_->SetMatrix(3, 1);
  EXPECT_EQ(area_->CellCount(), 4);
  area_->SetMatrix(-1, 2);
  area_->SetMatrix(2, -1);
  EXPECT_EQ(area_->Columns(), 4);
  EXPECT_EQ(area_->Rows(), 1);
}

TEST_F(ClientAreaTest, CellsCoverTheAreaWithTheRemainderInTheLastColumnsAndRows) {
  ASSERT_EQ(area_->Width(), 1001);
  ASSERT_EQ(area_->Height(), 600);
  const struct {
    int columns, rows;
    std::vector<TRect> bounds;
  } cases[] = {
      {2, 2, {Rect(0, 0, 500, 300), Rect(500, 0, 1001, 300), Rect(0, 300, 500, 600), Rect(500, 300, 1001, 600)}},
      {3, 1, {Rect(0, 0, 333, 600), Rect(333, 0, 667, 600), Rect(667, 0, 1001, 600)}},
      {1, 7, {Rect(0, 0, 1001, 85), Rect(0, 85, 1001, 170), Rect(0, 170, 1001, 256), Rect(0, 256, 1001, 342),
              Rect(0, 342, 1001, 428), Rect(0, 428, 1001, 514), Rect(0, 514, 1001, 600)}},
  };
  for (const auto& c : cases) {
    area_->SetMatrix(c.columns, c.rows);
    for (int i = 0; i < area_->CellCount(); ++i) {
      int l, t, w, h;
      area_->Cells(i)->GetBounds(l, t, w, h);
      EXPECT_EQ(Rect(l, t, l + w, t + h), c.bounds[static_cast<size_t>(i)]) << c.columns << "x" << c.rows << " cell " << i;
    }
  }
  // 1 x 7: 600 = 7 x 85 + 5, so the last five rows are 86 high.
}

TEST_F(ClientAreaTest, ResizeLaysTheMatrixOutAgain) {
  Fill(2, 1, "ab");
  form_->SetBounds(20, 30, 800, 500);
  int l, t, w, h;
  area_->Cells(1)->GetBounds(l, t, w, h);
  EXPECT_EQ(Rect(l, t, l + w, t + h), Rect(400, 0, 800, 500));
  EXPECT_EQ(Window('b')->BoundsRect(), Rect(400, 0, 800, 500));
  EXPECT_EQ(Layout(), "ab");
}

TEST_F(ClientAreaTest, ShrinkAndGrowKeepTheWindowsThePartsSay) {
  const struct {
    const char* name;
    int columns, rows;
    const char* layout;
    char active;  // 0: none
    int newColumns, newRows;
    const char* want;
    const char* released;
  } cases[] = {
      {"active window stays, later ones before earlier ones", 3, 3, "a-b-c-d-e", 'c', 1, 2, "cd", "abe"},
      {"no active window: the first cells stay", 3, 3, "a-b-c-d-e", 0, 1, 2, "a-", "bcde"},
      {"active in the last cell takes earlier windows in order", 2, 2, "abcd", 'd', 3, 1, "bcd", "a"},
      {"active first, room for all", 3, 2, "a--b-c", 'a', 2, 2, "abc-", ""},
      {"active, empty cells fill the rest", 2, 2, "-a--", 'a', 1, 2, "a-", ""},
      {"grow appends empty cells", 2, 1, "ab", 'a', 2, 2, "ab--", ""},
      {"reshape keeps every cell", 2, 3, "abcdef", 0, 3, 2, "abcdef", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    area_->SetMatrix(0, 0);
    windows_.clear();
    Fill(c.columns, c.rows, c.layout);
    if (c.active) Window(c.active)->Activate(0);
    std::vector<iMATRIX_CELL<FakeStackWindow>*> before;
    for (int i = 0; i < area_->CellCount(); ++i) before.push_back(area_->Cells(i));
    area_->SetMatrix(c.newColumns, c.newRows);
    EXPECT_EQ(Layout(), c.want);
    EXPECT_EQ(Released(), c.released);
    ExpectConsistent();
    for (const char* r = c.released; *r; ++r) {
      EXPECT_FALSE(Window(*r)->OnCellDetach);
      EXPECT_FALSE(Window(*r)->Visible());
    }
    if (c.columns * c.rows == c.newColumns * c.newRows) {
      for (int i = 0; i < area_->CellCount(); ++i) {
        EXPECT_EQ(area_->Cells(i), before[static_cast<size_t>(i)]);
      }
    }
  }
}

TEST_F(ClientAreaTest, ZeroClearsTheMatrixAndReleasesEveryWindow) {
  Fill(3, 2, "ab-c--");
  for (char w : {'a', 'b', 'c'}) Window(w)->StartCine();
  area_->Cells(0)->GetWindow()->OnCellMaximize(Window('a'));
  notices_.clear();
  area_->SetMatrix(0, 5);
  EXPECT_EQ(area_->CellCount(), 0);
  EXPECT_EQ(area_->Columns(), 0);
  EXPECT_EQ(area_->Rows(), 0);
  EXPECT_EQ(area_->MaximizedIndex(), -1);
  EXPECT_EQ(Released(), "abc");
  EXPECT_EQ(notices_.front(), "restore 0");
  EXPECT_EQ(notices_.back(), "restore -1");
  for (char w : {'a', 'b', 'c'}) {
    EXPECT_FALSE(Window(w)->CinePaused) << w;  // no pause mark left behind
    EXPECT_FALSE(Window(w)->EngineCine) << w;  // hidden: stopped in the engine
    EXPECT_TRUE(Window(w)->MaximizedButton) << w;
  }
  EXPECT_EQ(area_->FindFirstEmptyCell(), -1);
  EXPECT_EQ(area_->GetActiveCellIndex(), -1);
  EXPECT_EQ(area_->CountFilledCells(), 0);
}

TEST_F(ClientAreaTest, ShiftSwapAndCompact) {
  enum Op { Forward, Back, Swap, Compact };
  const struct {
    const char* layout;
    Op op;
    int a, b;
    const char* want;
    const char* released;
  } cases[] = {
      {"abcde", Forward, 1, 0, "bcdea", ""},
      {"abcde", Forward, 2, 0, "cdeba", ""},
      {"abcde", Forward, 4, 0, "ebcda", ""},
      {"abcde", Forward, 0, 0, "abcde", ""},
      {"ab-d-", Forward, 1, 0, "b-d-a", ""},
      {"abcde", Back, 2, 0, "--abc", "de"},
      {"abcde", Back, 1, 0, "-abcd", "e"},
      {"abcde", Back, 0, 0, "abcde", ""},
      {"a-c--", Back, 3, 0, "---a-", "c"},
      {"ab---", Swap, 0, 4, "-b--a", ""},
      {"ab---", Swap, 1, 1, "ab---", ""},
      {"-a-b--c", Compact, 0, 0, "abc----", ""},
      {"abc", Compact, 0, 0, "abc", ""},
      {"---", Compact, 0, 0, "---", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.layout) + " op " + std::to_string(c.op) + " " + std::to_string(c.a));
    area_->SetMatrix(0, 0);
    windows_.clear();
    Fill(static_cast<int>(std::string(c.layout).size()), 1, c.layout);
    if (c.op == Forward) area_->ShiftWindowsForward(c.a);
    if (c.op == Back) area_->ShiftWindowsBack(c.a);
    if (c.op == Swap) area_->SwapCellWindows(c.a, c.b);
    if (c.op == Compact) area_->CompactWindows();
    EXPECT_EQ(Layout(), c.want);
    EXPECT_EQ(Released(), c.released);
    ExpectConsistent();
  }
}

TEST_F(ClientAreaTest, CompactRestoresAMaximizedMatrixFirst) {
  Fill(3, 1, "-a-");
  Window('a')->OnCellMaximize(Window('a'));
  ASSERT_EQ(area_->MaximizedIndex(), 1);
  area_->CompactWindows();
  EXPECT_EQ(area_->MaximizedIndex(), -1);
  EXPECT_EQ(Layout(), "a--");
  EXPECT_TRUE(Window('a')->Visible());
  EXPECT_EQ(Window('a')->BoundsRect(), Rect(0, 0, 333, 600));
}

TEST_F(ClientAreaTest, BoundedArgumentsOutOfRangeRaiseAndChangeNothing) {
  Fill(5, 1, "abcde");
  EXPECT_THROW(area_->ShiftWindowsForward(5), std::out_of_range);
  EXPECT_THROW(area_->ShiftWindowsForward(-1), std::out_of_range);
  EXPECT_THROW(area_->ShiftWindowsBack(5), std::out_of_range);
  EXPECT_THROW(area_->ShiftWindowsBack(-2), std::out_of_range);
  EXPECT_THROW(area_->SwapCellWindows(0, 5), std::out_of_range);
  EXPECT_THROW(area_->SwapCellWindows(-1, 0), std::out_of_range);
  EXPECT_THROW(area_->ToggleMaximize(5), std::out_of_range);
  Window('b')->OnCellMaximize(Window('b'));
  EXPECT_THROW(area_->MoveMaximizedTo(5), std::out_of_range);
  EXPECT_THROW(area_->MoveMaximizedTo(-1), std::out_of_range);
  EXPECT_EQ(area_->MaximizedIndex(), 1);
  EXPECT_EQ(Layout(), "abcde");
  EXPECT_EQ(Released(), "");
}

TEST_F(ClientAreaTest, MaximizeAndRestore) {
  Fill(2, 2, "ab-c");
  for (char w : {'a', 'b', 'c'}) Window(w)->StartCine();
  Window('b')->OnCellMaximize(Window('b'));
  EXPECT_EQ(area_->MaximizedIndex(), 1);
  EXPECT_EQ(notices_, std::vector<std::string>{"max 1"});
  EXPECT_TRUE(Window('b')->Visible());
  EXPECT_TRUE(Window('b')->IsActive());
  EXPECT_EQ(Window('b')->BoundsRect(), Rect(0, 0, 1001, 600));
  EXPECT_FALSE(Window('a')->Visible());
  EXPECT_FALSE(Window('c')->Visible());
  EXPECT_FALSE(area_->Cells(2)->IsVisible());
  for (char w : {'a', 'b', 'c'}) EXPECT_FALSE(Window(w)->MaximizedButton) << w;
  EXPECT_TRUE(Window('a')->CinePaused);
  EXPECT_TRUE(Window('c')->CinePaused);
  EXPECT_FALSE(Window('b')->CinePaused);
  EXPECT_TRUE(Window('b')->EngineCine);
  EXPECT_FALSE(Window('a')->EngineCine);
  int count = 0, row = -1, column = -1;
  Window('b')->GetCellPosition(count, row, column);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(row, 0);
  EXPECT_EQ(column, 0);

  notices_.clear();
  Window('b')->OnCellMaximize(Window('b'));  // the restore request
  EXPECT_EQ(area_->MaximizedIndex(), -1);
  EXPECT_EQ(notices_.front(), "restore 1");
  for (char w : {'a', 'b', 'c'}) {
    EXPECT_TRUE(Window(w)->Visible()) << w;
    EXPECT_TRUE(Window(w)->MaximizedButton) << w;
    EXPECT_FALSE(Window(w)->CinePaused) << w;
    EXPECT_TRUE(Window(w)->EngineCine) << w;
  }
  EXPECT_TRUE(area_->Cells(2)->IsVisible());
  EXPECT_FALSE(area_->Cells(1)->IsMaximized());
  EXPECT_EQ(Window('b')->BoundsRect(), Rect(500, 0, 1001, 300));
  EXPECT_TRUE(Window('b')->IsActive());
  const TPoint centre = Window('b')->ClientToScreen(TPoint{250, 150});
  EXPECT_EQ(GetCursorPos().x, centre.x);
  EXPECT_EQ(GetCursorPos().y, centre.y);
}

TEST_F(ClientAreaTest, MaximizingAnEmptyCellIsRefused) {
  Fill(2, 1, "a-");
  area_->ToggleMaximize(1);
  EXPECT_EQ(area_->MaximizedIndex(), -1);
  EXPECT_TRUE(area_->Cells(1)->IsVisible());
  EXPECT_TRUE(notices_.empty());
}

TEST_F(ClientAreaTest, MovingTheMaximizedView) {
  const struct {
    const char* name;
    int target;  // -2: next, -3: previous
    int result;
    int maximizedAfter;
  } cases[] = {
      {"to an empty cell", 1, -1, 2}, {"to itself", 2, 2, 2},     {"to a filled cell", 4, 2, 4},
      {"to the first cell", 0, 2, 0}, {"next filled", -2, 4, 4},  {"previous filled", -3, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    area_->SetMatrix(0, 0);
    windows_.clear();
    Fill(5, 1, "a-b-c");
    for (char w : {'a', 'b', 'c'}) Window(w)->StartCine();
    Window('b')->OnCellMaximize(Window('b'));
    ASSERT_EQ(area_->MaximizedIndex(), 2);
    notices_.clear();
    const int result = c.target == -2 ? area_->MaximizeNextCell()
                       : c.target == -3 ? area_->MaximizePrevCell()
                                        : area_->MoveMaximizedTo(c.target);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(area_->MaximizedIndex(), c.maximizedAfter);
    EXPECT_TRUE(notices_.empty());  // the owner is not told of a move
    FakeStackWindow* shown = area_->Cells(c.maximizedAfter)->GetWindow();
    for (char w : {'a', 'b', 'c'}) {
      FakeStackWindow* win = Window(w);
      const bool isShown = win == shown;
      EXPECT_EQ(win->Visible(), isShown) << w;
      // The pause marks follow what is hidden, and the engine plays only the shown cine.
      EXPECT_EQ(win->CinePaused, !isShown) << w;
      EXPECT_EQ(win->EngineCine, isShown) << w;
    }
    EXPECT_EQ(shown->BoundsRect(), Rect(0, 0, 1001, 600));
    EXPECT_TRUE(shown->IsActive());
    // The restore request of the window now shown runs every cine again with no pause mark.
    shown->OnCellMaximize(shown);
    for (char w : {'a', 'b', 'c'}) {
      EXPECT_TRUE(Window(w)->Visible()) << w;
      EXPECT_FALSE(Window(w)->CinePaused) << w;
      EXPECT_TRUE(Window(w)->EngineCine) << w;
    }
    EXPECT_EQ(Layout(), "a-b-c");
  }
}

TEST_F(ClientAreaTest, FindFilledCellsAroundTheMaximizedOne) {
  Fill(5, 1, "a-b--");
  EXPECT_EQ(area_->FindNextFilledCell(), -1);  // nothing maximized
  EXPECT_EQ(area_->MaximizeNextCell(), -1);
  EXPECT_EQ(area_->MoveMaximizedTo(2), -1);
  Window('a')->OnCellMaximize(Window('a'));
  EXPECT_EQ(area_->FindPrevFilledCell(), -1);  // cell 0 is maximized
  EXPECT_EQ(area_->FindNextFilledCell(), 2);
  EXPECT_EQ(area_->MaximizeNextCell(), 2);
  EXPECT_EQ(area_->FindNextFilledCell(), -1);
  EXPECT_EQ(area_->MaximizeNextCell(), -1);
  EXPECT_EQ(area_->MaximizedIndex(), 2);
  EXPECT_EQ(area_->MaximizePrevCell(), 0);
}

TEST_F(ClientAreaTest, SetMatrixWhileMaximizedRestoresFirst) {
  Fill(2, 1, "ab");
  Window('a')->StartCine();
  Window('b')->OnCellMaximize(Window('b'));
  area_->SetMatrix(3, 1);
  EXPECT_EQ(area_->MaximizedIndex(), -1);
  EXPECT_EQ(Layout(), "ab-");
  EXPECT_TRUE(Window('a')->Visible());
  EXPECT_FALSE(Window('a')->CinePaused);
  EXPECT_TRUE(Window('a')->EngineCine);
  EXPECT_EQ(notices_.back(), "restore -1");
}

TEST_F(ClientAreaTest, QueryCellPosition) {
  const struct {
    int columns, rows, columnGranularity, rowGranularity, laterColumnGranularity;
    int index;
    int count, row, column;  // -9: nothing written
  } cases[] = {
      {4, 2, 2, 1, 0, 6, 8, 1, 0},
      {4, 2, 2, 1, 0, 3, 8, 0, 1},
      {4, 2, 1, 1, 0, 7, 8, 1, 3},
      {3, 3, 1, 1, 0, 5, 9, 1, 2},
      {4, 2, 2, 1, 0, 8, -9, -9, -9},   // past the last cell
      {4, 2, 2, 1, 0, -1, -9, -9, -9},
      {2, 1, 1, 1, 3, 1, -9, -9, -9},   // a granularity wider than the matrix: no division by 0
  };
  for (const auto& c : cases) {
    area_->SetGranularity(c.columnGranularity, c.rowGranularity);
    area_->SetMatrix(c.columns, c.rows);
    if (c.laterColumnGranularity) area_->SetGranularity(c.laterColumnGranularity, 1);
    int count = -9, row = -9, column = -9;
    area_->QueryCellPosition(c.index, count, row, column);
    EXPECT_EQ(count, c.count) << c.columns << "x" << c.rows << " cell " << c.index;
    EXPECT_EQ(row, c.row);
    EXPECT_EQ(column, c.column);
  }
}

TEST_F(ClientAreaTest, LinkedChangesReachEveryWindowIncludingTheSender) {
  Fill(2, 2, "a-bc");
  const struct {
    std::function<bool(FakeStackWindow*)> send;
    const char* what;
  } cases[] = {
      {[](FakeStackWindow* w) { return w->OnLinkedZoom(w, 1.25); }, "zoom b 1.25"},
      {[](FakeStackWindow* w) { return w->OnLinkedVoi(w, 40, 400); }, "voi b 40 400"},
      {[](FakeStackWindow* w) { return w->OnLinkedPan(w, -3.5, 2); }, "pan b -3.5 2"},
      {[](FakeStackWindow* w) { return w->OnLinkedRotateLeft(w); }, "rotl b"},
      {[](FakeStackWindow* w) { return w->OnLinkedRotateRight(w); }, "rotr b"},
      {[](FakeStackWindow* w) { return w->OnLinkedFlipHorizontal(w); }, "fliph b"},
      {[](FakeStackWindow* w) { return w->OnLinkedFlipVertical(w); }, "flipv b"},
      {[](FakeStackWindow* w) { return w->OnLinkedImageStep(w, -2); }, "image b -2"},
      {[](FakeStackWindow* w) { return w->OnLinkedPositionStep(w, 3, 1.5); }, "position b 3 1.5"},
      {[](FakeStackWindow* w) { return w->OnLinkedTimeStep(w, 0.25); }, "time b 0.25"},
  };
  for (const auto& c : cases) {
    log_.clear();
    EXPECT_FALSE(c.send(Window('b')));
    const std::string what = c.what;
    EXPECT_EQ(log_, (std::vector<std::string>{"a: " + what, "b: " + what, "c: " + what}));
  }
}

TEST_F(ClientAreaTest, QueriesOverCells) {
  EXPECT_EQ(area_->FindFirstEmptyCell(), -1);
  EXPECT_EQ(area_->FindFirstFilledCell(), -1);
  EXPECT_EQ(area_->CountEmptyCells(), 0);
  Fill(3, 2, "-a-b--");
  EXPECT_EQ(area_->FindFirstEmptyCell(), 0);
  EXPECT_EQ(area_->FindFirstFilledCell(), 1);
  EXPECT_EQ(area_->CountEmptyCells(), 4);
  EXPECT_EQ(area_->CountFilledCells(), 2);
  EXPECT_EQ(area_->GetActiveCellIndex(), -1);
  Window('b')->Activate(0);
  EXPECT_EQ(area_->GetActiveCellIndex(), 3);
  EXPECT_EQ(area_->FindCellByWindow(Window('b')->Handle()), 3);
  EXPECT_EQ(area_->FindCellByWindow(Window('a')->Handle()), 1);
  EXPECT_EQ(area_->FindCellByWindow(12345), -1);
  area_->ReleaseAllWindows();
  EXPECT_EQ(Released(), "ab");
  EXPECT_EQ(area_->CountFilledCells(), 0);
}

TEST_F(ClientAreaTest, HighlightFollowsTheScreenPoint) {
  Fill(2, 2, "a---");
  const TPoint origin = area_->ClientToScreen(TPoint{0, 0});
  auto grey = [this](int i) { return static_cast<TanMatrixCell<FakeStackWindow>*>(area_->Cells(i))->Panel()->Color() == 0x808080; };
  EXPECT_EQ(area_->HighlightCellAtScreenPoint(origin.x + 600, origin.y + 400, false), 3);
  EXPECT_TRUE(grey(3));
  EXPECT_EQ(area_->HighlightCellAtScreenPoint(origin.x + 10, origin.y + 10, false), 0);  // under a window
  EXPECT_TRUE(grey(0));
  EXPECT_FALSE(grey(3));
  EXPECT_EQ(area_->HighlightCellAtScreenPoint(origin.x + 600, origin.y + 10, true), 1);  // the drop
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(grey(i)) << i;
  EXPECT_EQ(area_->HighlightCellAtScreenPoint(origin.x - 50, origin.y + 10, false), -1);
  Window('a')->OnCellMaximize(Window('a'));
  EXPECT_EQ(area_->HighlightCellAtScreenPoint(origin.x + 600, origin.y + 400, false), 0);
  EXPECT_FALSE(grey(3));
}

TEST_F(ClientAreaTest, DestroyingTheAreaReleasesItsWindows) {
  Fill(2, 1, "ab");
  delete area_;
  area_ = nullptr;
  EXPECT_EQ(Released(), "ab");
  EXPECT_FALSE(Window('a')->OnCellDetach);
  area_ = new Area(form_.get());  // for TearDown
}

}  // namespace
