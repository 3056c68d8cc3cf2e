// The free-matrix chooser on a real form: grid size, the hit test with its gaps, cell
// colours and highlighting, choosing and cancelling, and the GUI resources.
#include <gtest/gtest.h>

#include "app/widgets/FreeMatrixControl.h"
#include "app/widgets/tests/FakeResources.h"

namespace app {
namespace {

using Cell = TMatrixCell<TCellRect>;

TEST(MatrixCellTest, StateAndHighlightColours) {
  Cell cell;
  EXPECT_EQ(cell.Name().rfind("Cell", 0), 0u);
  EXPECT_EQ(cell.GetFillColor(), 0xFFFFFF);
  const struct {
    bool inMatrix, filled;
    TColor state, highlighted;
  } cases[] = {
      {false, false, 0xFFFFFF, 0x000000},
      {false, true, 0xFFFFFF, 0x000000},  // filled only in the matrix
      {true, false, 0xFFDCDC, 0x000000},
      {true, true, 0xC0A0A0, 0x0000FF},
  };
  for (const auto& c : cases) {
    cell.SetState(c.inMatrix, c.filled);
    EXPECT_EQ(cell.GetFillColor(), c.state);
    cell.HighlightByState(true);
    EXPECT_EQ(cell.GetFillColor(), c.highlighted);
    cell.HighlightByState(false);
    EXPECT_EQ(cell.GetFillColor(), c.state);
  }
  cell.SetState(false, false);
  cell.SetColors(0xFFFFFF, 0, 0, 0x808080, 0);
  cell.SetHighlightBlend(0.5, 1.0);
  cell.Highlight(true, false);
  EXPECT_EQ(cell.GetFillColor(), 0xBFBFBF);
  cell.SetRect(10, 20, 50, 45);
  EXPECT_EQ(cell.GetRect(), Rect(10, 20, 50, 45));
}

TEST(FreeMatrixControlTest, TheWindowHoldsTheAskedGrid) {
  const std::pair<int, int> sizes[] = {{1, 1}, {2, 3}, {4, 4}, {1, 5}};
  for (bool header : {true, false}) {
    for (const auto& [rows, columns] : sizes) {
      TFreeMatrixControl chooser(nullptr, header, rows, columns);
      EXPECT_EQ(chooser.CellCount(), rows * columns) << rows << "x" << columns;
      EXPECT_EQ(chooser.pbCells->Width(), columns * 40 + (columns - 1) * 4 + 8);
      EXPECT_EQ(chooser.pbCells->Height(), rows * 40 + (rows - 1) * 4 + 8);
      const auto& last = chooser.Cell(chooser.CellCount() - 1);
      EXPECT_EQ(last.GetRow(), rows);
      EXPECT_EQ(last.GetColumn(), columns);
    }
  }
}

TEST(FreeMatrixControlTest, ARoomOfFiftyTwoByHundredHoldsOneColumnAndTwoRows) {
  TFreeMatrixControl chooser(nullptr, true, 1, 1);
  const int dw = chooser.Width() - chooser.pbCells->Width(), dh = chooser.Height() - chooser.pbCells->Height();
  chooser.SetBounds(0, 0, 52 + dw, 100 + dh);
  chooser.FormResize(&chooser);
  EXPECT_EQ(chooser.CellCount(), 2);
  EXPECT_EQ(chooser.Cell(1).GetRow(), 2);
  EXPECT_EQ(chooser.CellsBounds(), Rect(4, 4, 44, 88));
}

TEST(FreeMatrixControlTest, PointsOnTheGapsBelongToTheCellBefore) {
  TFreeMatrixControl chooser(nullptr, true, 2, 3);
  ASSERT_EQ(chooser.CellsBounds(), Rect(4, 4, 132, 88));
  const struct {
    int x, y;
    int cell;
    const wchar_t* info;
  } cases[] = {
      {4, 4, 0, L"1, 1"},     {43, 43, 0, L"1, 1"},   {44, 10, 0, L"1, 1"},    // gap right of the cell
      {47, 47, 0, L"1, 1"},   {10, 45, 0, L"1, 1"},                            // gap below it
      {48, 4, 1, L"1, 2"},    {131, 87, 5, L"2, 3"},  {92, 48, 5, L"2, 3"},
      {132, 50, -1, L"CANCEL"}, {50, 88, -1, L"CANCEL"}, {3, 3, -1, L"CANCEL"},  // right and bottom edges are out
  };
  for (const auto& c : cases) {
    chooser.pbCellsMouseMove(chooser.pbCells, 0, c.x, c.y);
    EXPECT_EQ(chooser.GetSelectedCell(), c.cell) << c.x << "," << c.y;
    EXPECT_EQ(chooser.lblInfo->Caption(), c.info) << c.x << "," << c.y;
    for (int i = 0; i < chooser.CellCount(); ++i) {
      const TColor expected = i == c.cell ? 0x808080 : 0xFFFFFF;
      EXPECT_EQ(chooser.Cell(i).GetFillColor(), expected) << i;
    }
    EXPECT_EQ(chooser.pnlCells->Color(), c.cell == -1 ? 0xC0C0C0 : chooser.pbCells->Color());
  }
}

TEST(FreeMatrixControlTest, FilledCellsAndTheirHighlight) {
  TFreeMatrixControl chooser(nullptr, true, 1, 3);
  chooser.SetCellState(1, true);
  chooser.SetCellState(2, false);
  chooser.SetCellState(3, true);  // beyond the grid: nothing
  chooser.SetCellState(-1, true);
  EXPECT_EQ(chooser.Cell(0).GetFillColor(), 0xFFFFFF);
  EXPECT_EQ(chooser.Cell(1).GetFillColor(), 0xC0A0A0);
  EXPECT_EQ(chooser.Cell(2).GetFillColor(), 0xFFFFFF);
  chooser.pbCellsMouseMove(chooser.pbCells, 0, 50, 10);
  EXPECT_EQ(chooser.Cell(1).GetFillColor(), 0x000000);
  chooser.pbCellsMouseMove(chooser.pbCells, 0, 100, 10);
  EXPECT_EQ(chooser.Cell(1).GetFillColor(), 0xC0A0A0);
  EXPECT_EQ(chooser.Cell(2).GetFillColor(), 0x808080);
}

TEST(FreeMatrixControlTest, ResizingKeepsTheStatesOfTheCellsThatStay) {
  TFreeMatrixControl chooser(nullptr, true, 2, 2);
  chooser.SetCellState(0, true);
  chooser.SetCellState(3, true);
  chooser.SetMatrixSize(1, 3);  // cell 3 goes
  ASSERT_EQ(chooser.CellCount(), 3);
  EXPECT_TRUE(chooser.Cell(0).Filled());
  EXPECT_EQ(chooser.Cell(2).GetRow(), 1);
  chooser.SetMatrixSize(2, 3);  // new cells come empty
  ASSERT_EQ(chooser.CellCount(), 6);
  EXPECT_TRUE(chooser.Cell(0).Filled());
  for (int i = 1; i < 6; ++i) EXPECT_FALSE(chooser.Cell(i).Filled()) << i;
  EXPECT_EQ(chooser.Cell(5).GetFillColor(), 0xFFFFFF);
}

TEST(FreeMatrixControlTest, ChoosingAndCancelling) {
  const struct {
    const char* what;
    int x, y;
    bool viaLabel, viaEscape;
    int result, row, column, selected;
  } cases[] = {
      {"click on a cell", 100, 50, false, false, mrOk, 2, 3, 5},
      {"click with no cell hovered", 140, 50, false, false, mrCancel, 1, 1, -1},
      {"click on the label", 100, 50, true, false, mrCancel, 1, 1, -1},
      {"escape", 100, 50, false, true, mrCancel, 1, 1, 5},
  };
  for (const auto& c : cases) {
    TFreeMatrixControl chooser(nullptr, true, 2, 3);
    chooser.pbCellsMouseMove(chooser.pbCells, 0, c.x, c.y);
    if (c.viaLabel) {
      chooser.lblInfoMouseMove(chooser.lblInfo, 0, 1, 1);
      chooser.lblInfoClick(chooser.lblInfo);
    } else if (c.viaEscape) {
      bool handled = false;
      chooser.ApplicationEvents1ShortCut(13, 0, handled);
      EXPECT_FALSE(handled);
      EXPECT_EQ(chooser.ModalResult(), mrNone);
      chooser.ApplicationEvents1ShortCut(27, 0, handled);
      EXPECT_TRUE(handled);
    } else {
      chooser.pbCellsClick(chooser.pbCells);
    }
    EXPECT_EQ(chooser.ModalResult(), c.result) << c.what;
    EXPECT_EQ(chooser.GetChosenRow(), c.row) << c.what;
    EXPECT_EQ(chooser.GetChosenColumn(), c.column) << c.what;
    EXPECT_EQ(chooser.GetSelectedCell(), c.selected) << c.what;
  }
}

TEST(FreeMatrixControlTest, GuiResourcesGiveColoursTextsAndTheTitlePicture) {
  test::FakeResources record;
  record.colors = {{"cMCEmptyCell", 0x101010}, {"cMCHeader", 0x202020}, {"cMCBorder", 0x303030},
                   {"cMCCellsBkCancel", 0x404040}, {"cMCHeaderText", 0x505050}};
  record.pages[L"GUI_STRINGS"] = L"<GUI_STRINGS><mcCancelMess value=\"Abort\"/><freematrix_settings/></GUI_STRINGS>";
  record.pages[L"GUI_IMAGES"] = L"<GUI_IMAGES><mc_freematrix image=\"NOT_THERE\"/></GUI_IMAGES>";
  record.images = platform::LoadResourceModule("Lingopack_English.dll");
  ASSERT_NE(record.images, nullptr);
  TFreeMatrixControl chooser(nullptr, true, 1, 2);
  chooser.ApplyGuiResources(&record);  // a missing picture raises nothing
  EXPECT_TRUE(chooser.imgTitle->Picture()->Empty());
  // A title entry without a value keeps the title's own text.
  EXPECT_EQ(chooser.lblTitle->Caption(), L"Select Cell:");
  EXPECT_EQ(chooser.lblInfo->Caption(), L"Abort");
  EXPECT_EQ(chooser.lblTitle->Font.Color, 0x505050);
  EXPECT_EQ(chooser.pnlHeader->Color(), 0x202020);
  for (TPanel* strip : {chooser.pnlLeftBorder, chooser.pnlRightBorder, chooser.pnlBottomBorder})
    EXPECT_EQ(strip->Color(), 0x303030);
  EXPECT_EQ(chooser.pnlCells->Color(), 0x404040);
  EXPECT_EQ(chooser.Cell(1).GetFillColor(), 0x101010);

  record.pages[L"GUI_STRINGS"] = L"<GUI_STRINGS><freematrix_settings value=\"Pick a cell\"/></GUI_STRINGS>";
  record.pages[L"GUI_IMAGES"] = L"<GUI_IMAGES><mc_freematrix image=\"MC_FREEMATRIX\"/></GUI_IMAGES>";
  chooser.ApplyGuiResources(&record);
  EXPECT_EQ(chooser.lblTitle->Caption(), L"Pick a cell");
  EXPECT_EQ(chooser.imgTitle->Picture()->Width(), 24);

  // Without a record only the look follows the pointer: over the grid the chosen cell shows.
  TFreeMatrixControl plain(nullptr, false, 1, 1);
  const TPoint outside = plain.pbCells->ClientToScreen(Point(60, 60));
  const TPoint inside = plain.pbCells->ClientToScreen(Point(10, 10));
  SetCursorPos(outside.x, outside.y);
  plain.ApplyGuiResources(nullptr);
  EXPECT_EQ(plain.lblInfo->Caption(), L"CANCEL");
  EXPECT_EQ(plain.pnlCells->Color(), 0xC0C0C0);
  SetCursorPos(inside.x, inside.y);
  if (GetCursorPos().x == inside.x) {
    plain.ApplyGuiResources(nullptr);
    EXPECT_EQ(plain.lblInfo->Caption(), L"1, 1");
  }
  EXPECT_EQ(plain.Cell(0).GetFillColor(), 0xFFFFFF);
  platform::FreeResourceModule(record.images);
}

}  // namespace
}  // namespace app
