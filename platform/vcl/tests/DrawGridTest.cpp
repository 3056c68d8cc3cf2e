// The owner-drawn grid: row counts, the current row and its notifications, scrolling and
// painting through OnDrawCell.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"

TEST(DrawGrid, RowCountKeepsOneRowAndLowersTheFixedRows) {
  TDrawGrid grid(nullptr);
  struct Case {
    int rows, fixedAfter, rowCountAfter;
  };
  for (const Case& c : {Case{0, 0, 1}, Case{1, 0, 1}, Case{5, 0, 5}}) {
    grid.SetRowCount(c.rows);
    EXPECT_EQ(grid.RowCount(), c.rowCountAfter) << c.rows;
    EXPECT_EQ(grid.FixedRows(), c.fixedAfter) << c.rows;
  }
  grid.SetFixedRows(1);
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_EQ(grid.Row(), 1);
}

TEST(DrawGrid, SettingTheRowAsksSelectCellThenClicksOnlyWhenItChanges) {
  TDrawGrid grid(nullptr);
  grid.SetRowCount(4);
  grid.SetFixedRows(1);
  std::vector<std::string> events;
  grid.OnSelectCell = [&](TObject*, int, int row, bool&) { events.push_back("select " + std::to_string(row)); };
  grid.OnClick = [&](TObject*) { events.push_back("click " + std::to_string(grid.Row())); };
  grid.SetRow(3);
  grid.SetRow(3);
  grid.SetRow(0);  // the fixed row cannot be current
  grid.SetRow(9);  // beyond the rows
  EXPECT_EQ(events, (std::vector<std::string>{"select 3", "click 3"}));
  grid.OnSelectCell = [&](TObject*, int, int, bool& can) { can = false; };
  grid.SetRow(2);
  EXPECT_EQ(grid.Row(), 3);
}

TEST(DrawGrid, MousePressMovesTheRowAndTheReleaseClicks) {
  TForm form(nullptr);
  TDrawGrid grid(&form);
  grid.SetParent(&form);
  grid.SetBounds(0, 0, 200, 200);
  grid.SetDefaultRowHeight(24);
  grid.SetRowCount(5);
  int clicks = 0, doubles = 0;
  grid.OnClick = [&](TObject*) { ++clicks; };
  grid.OnDblClick = [&](TObject*) { ++doubles; };
  form.Show();
  const QPointF at(10, 2 * 25 + 5);  // row 2 with one-pixel lines
  QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid.Widget(), &press);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(clicks, 0);
  QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(grid.Widget(), &release);
  EXPECT_EQ(clicks, 1);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid.Widget(), &dbl);
  EXPECT_EQ(doubles, 1);
}

TEST(DrawGrid, CellRectsFollowWidthsLinesAndScrolling) {
  TForm form(nullptr);
  TDrawGrid grid(&form);
  grid.SetParent(&form);
  grid.SetColCount(3);
  grid.SetColWidth(0, 30);
  grid.SetColWidth(1, 50);
  grid.SetDefaultRowHeight(24);
  grid.SetRowCount(20);
  grid.SetBounds(0, 0, 300, 6 * 25 + 1);
  TRect r = grid.CellRect(1, 2);
  EXPECT_EQ(r.Left, 31);
  EXPECT_EQ(r.Top, 50);
  EXPECT_EQ(r.Right, 81);
  EXPECT_EQ(r.Bottom, 74);
  // Moving the current row past the last visible row scrolls; the fixed row stays on top.
  grid.SetRow(10);
  EXPECT_GT(grid.TopRow(), 1);
  EXPECT_EQ(grid.CellRect(0, 0).Top, 0);
  EXPECT_EQ(grid.CellRect(0, 1).Right, 0);  // scrolled out of sight
  EXPECT_EQ(grid.RowAt(1), 0);
  EXPECT_EQ(grid.RowAt(26), grid.TopRow());
}

TEST(DrawGrid, PaintsEveryVisibleCellThroughOnDrawCell) {
  TForm form(nullptr);
  TDrawGrid grid(&form);
  grid.SetParent(&form);
  grid.SetColCount(2);
  grid.SetRowCount(3);
  grid.SetBounds(0, 0, 200, 100);
  std::vector<std::pair<int, int>> cells;
  grid.OnDrawCell = [&](TObject*, int col, int row, const TRect&, TGridDrawState state) {
    cells.emplace_back(col, row);
    if (row == 0) EXPECT_TRUE(state & gdFixed);
    if (row == grid.Row()) EXPECT_TRUE(state & gdSelected);
  };
  form.Show();
  grid.Widget()->grab();
  EXPECT_EQ(cells.size(), 6u);
}
