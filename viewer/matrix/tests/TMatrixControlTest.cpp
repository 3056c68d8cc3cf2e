#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "platform/vcl/Forms.h"
#include "viewer/matrix/TMatrixControl.h"
#include "viewer/matrix/tests/FakeGridCell.h"

namespace {

using Chooser = TMatrixControlOf<FakeGridCell>;

// The grid as text, one line per row: F filled, S selected, '.' outside; with hover shown,
// H hovered and filled, h hovered.
std::string States(const Chooser& chooser, bool hover = false) {
  std::string out;
  int row = 0;
  for (const auto& cell : chooser.Cells()) {
    if (cell->GetRow() != row && row != 0) out += '|';
    row = cell->GetRow();
    if (hover && cell->Hovered()) {
      out += cell->HoverFilled() ? 'H' : 'h';
    } else {
      out += cell->Filled() ? 'F' : cell->Selected() ? 'S' : '.';
    }
  }
  return out;
}

// The paint-box point at the centre of grid cell (row, column), both 1-based.
TPoint CellCentre(int row, int column) { return TPoint{4 + (column - 1) * 44 + 20, 4 + (row - 1) * 44 + 20}; }

class MatrixChooserTest : public ::testing::Test {
 protected:
  std::unique_ptr<Chooser> Make(int gridRows, int gridColumns, int rows, int columns, int maximum, bool header = false) {
    auto c = std::make_unique<Chooser>(nullptr, header, gridRows, gridColumns, rows, columns, maximum);
    c->SetLeft(100);
    c->SetTop(80);
    c->Show();
    return c;
  }
  void Hover(Chooser& c, int row, int column, TShiftState shift = 0) {
    const TPoint p = CellCentre(row, column);
    c.pbCellsMouseMove(c.pbCells, shift, p.x, p.y);
  }
  // Puts the cursor on a point of the paint box and clicks there.
  void ClickAt(Chooser& c, int x, int y) {
    const TPoint s = c.pbCells->ClientToScreen(TPoint{x, y});
    SetCursorPos(s.x, s.y);
    c.pbCellsClick(c.pbCells);
  }
};

TEST_F(MatrixChooserTest, GridSizeFollowsTheForm) {
  const struct {
    int gridRows, gridColumns;
  } cases[] = {{5, 5}, {1, 1}, {3, 8}, {10, 11}};
  for (const auto& g : cases) {
    auto c = Make(g.gridRows, g.gridColumns, 1, 1, 1);
    EXPECT_EQ(c->GetGridRows(), g.gridRows);
    EXPECT_EQ(c->GetGridColumns(), g.gridColumns);
    EXPECT_EQ(c->Cells().size(), static_cast<size_t>(g.gridRows * g.gridColumns));
    EXPECT_EQ(c->pbCells->Width(), g.gridColumns * 44 - 4 + 8);
    EXPECT_EQ(c->pbCells->Height(), g.gridRows * 44 - 4 + 8);
    EXPECT_EQ(c->GridRect(), Rect(4, 4, 4 + g.gridColumns * 44 - 4, 4 + g.gridRows * 44 - 4));
    const FakeGridCell& last = *c->Cells().back();
    EXPECT_EQ(last.GetRow(), g.gridRows);
    EXPECT_EQ(last.GetColumn(), g.gridColumns);
  }
  // A paint box of 499 x 463 holds 11 columns and 10 rows.
  auto c = Make(2, 2, 1, 1, 1);
  c->SetBounds(c->Left(), c->Top(), c->Width() - c->pbCells->Width() + 499, c->Height() - c->pbCells->Height() + 463);
  EXPECT_EQ(c->pbCells->Width(), 499);
  EXPECT_EQ(c->GetGridColumns(), 11);
  EXPECT_EQ(c->GetGridRows(), 10);
  EXPECT_EQ(c->Cells().size(), 110u);
}

TEST_F(MatrixChooserTest, MinimumSizeKeepsOneCell) {
  auto c = Make(0, 0, 1, 1, 1);
  EXPECT_EQ(c->GetGridRows(), 1);
  EXPECT_EQ(c->GetGridColumns(), 1);
  c->SetBounds(c->Left(), c->Top(), 10, 10);
  EXPECT_EQ(c->Width(), c->MinWidth());
  EXPECT_EQ(c->Cells().size(), 1u);
  EXPECT_EQ(c->GridRect(), Rect(4, 4, 44, 44));
}

TEST_F(MatrixChooserTest, SelectionFillsAsManyCellsAsThereAreItems) {
  const struct {
    int gridRows, gridColumns, rows, columns, maximum;
    const char* states;
  } cases[] = {
      {3, 3, 2, 3, 4, "FFF|FSS|..."},
      {3, 3, 3, 3, 9, "FFF|FFF|FFF"},
      {2, 3, 1, 5, 4, "FFF|..."},    // the two columns beyond the edge count: 5 used
      {2, 3, 2, 5, 4, "FFF|SSS"},    // so row 2 has nothing left to fill
      {2, 3, 2, 3, 4, "FFF|FSS"},
      {2, 2, 5, 1, 3, "F.|F."},      // rows beyond the grid are not shown
      {2, 2, 0, 0, 3, "..|.."},
  };
  for (const auto& t : cases) {
    auto c = Make(t.gridRows, t.gridColumns, t.rows, t.columns, t.maximum);
    EXPECT_EQ(States(*c), t.states) << t.rows << "x" << t.columns << " max " << t.maximum;
    EXPECT_EQ(c->GetRows(), t.rows);
    EXPECT_EQ(c->GetColumns(), t.columns);
  }
  auto c = Make(3, 3, 1, 1, 1);
  c->SetSelection(2, 3, 4);
  EXPECT_EQ(States(*c), "FFF|FSS|...");
  c->SetSelection(2, 2, 0);  // a maximum of 0 keeps the one there
  EXPECT_EQ(States(*c), "FF.|FF.|...");
  c->SetMaximumFilled(1);
  EXPECT_EQ(States(*c), "FS.|SS.|...");
  c->SetMaximumFilled(0);
  EXPECT_EQ(States(*c), "FS.|SS.|...");
}

TEST_F(MatrixChooserTest, HoverFollowsThePointerAndRoundsToTheGranularity) {
  const struct {
    int columnGranularity, rowGranularity, row, column;
    const char* hovered;
    const wchar_t* label;
  } cases[] = {
      {1, 1, 3, 2, "HH...|HH...|hh...|.....", L"3 x 2 = 6 (4)"},
      {2, 1, 3, 2, "HH...|HH...|hh...|.....", L"3 x 2 = 6 (4)"},
      {2, 1, 2, 3, "HHHH.|hhhh.|.....|.....", L"2 x 4 = 8 (4)"},
      {3, 1, 1, 5, "HHHHh|.....|.....|.....", L"1 x 6 = 6 (4)"},  // 5 rounds up to 6, not 7
      {1, 2, 3, 1, "H....|H....|H....|H....", L"4 x 1 = 4 (4)"},
      {1, 1, 1, 1, "H....|.....|.....|.....", L"1 x 1 = 1 (4)"},
  };
  for (const auto& t : cases) {
    auto c = Make(4, 5, 1, 1, 4);
    c->SetGranularity(t.columnGranularity, t.rowGranularity);
    Hover(*c, t.row, t.column);
    EXPECT_EQ(States(*c, true), t.hovered) << t.row << "," << t.column << " g" << t.columnGranularity;
    EXPECT_EQ(c->lblInfo->Caption(), t.label);
    EXPECT_EQ(c->HoveredIndex(), (t.row - 1) * 5 + t.column - 1);
  }
}

TEST_F(MatrixChooserTest, GapsCountWithTheCellBeforeThem) {
  auto c = Make(3, 3, 1, 1, 9);
  // x 45..47 is the gap after column 1: still column 1; x 48 starts column 2.
  c->pbCellsMouseMove(c->pbCells, 0, 46, 10);
  EXPECT_EQ(c->HoveredIndex(), 0);
  EXPECT_EQ(c->lblInfo->Caption(), L"1 x 1 = 1 (9)");
  c->pbCellsMouseMove(c->pbCells, 0, 48, 10);
  EXPECT_EQ(c->HoveredIndex(), 1);
  EXPECT_EQ(c->lblInfo->Caption(), L"1 x 2 = 2 (9)");
}

TEST_F(MatrixChooserTest, PointerOutsideTheGridShowsCancel) {
  auto c = Make(3, 3, 1, 1, 4);
  Hover(*c, 2, 2);
  EXPECT_NE(c->pnlCells->Color(), 0xC0C0C0);
  c->pbCellsMouseMove(c->pbCells, 0, 1, 1);  // in the margin
  EXPECT_EQ(c->HoveredIndex(), -1);
  EXPECT_EQ(c->lblInfo->Caption(), L"CANCEL");
  EXPECT_EQ(c->pnlCells->Color(), 0xC0C0C0);
  EXPECT_EQ(c->lblInfo->Font.Color, 0xFFFFFF);
  EXPECT_EQ(States(*c, true), "F..|...|...");
  Hover(*c, 1, 1);
  c->lblInfoMouseMove(c->lblInfo, 0, 5, 5);
  EXPECT_EQ(c->HoveredIndex(), -1);
  EXPECT_EQ(c->lblInfo->Caption(), L"CANCEL");
  EXPECT_EQ(States(*c, true), "F..|...|...");
}

TEST_F(MatrixChooserTest, ClickChoosesTheHoveredMatrix) {
  const struct {
    int columnGranularity, row, column;
    int rows, columns;
    const char* states;
  } cases[] = {
      {1, 2, 3, 2, 3, "FFF.|FSS.|....|...."},
      {2, 2, 3, 2, 4, "FFFF|SSSS|....|...."},
      {3, 1, 2, 1, 3, "FFF.|....|....|...."},
  };
  for (const auto& t : cases) {
    auto c = Make(4, 4, 1, 1, 4);
    c->SetGranularity(t.columnGranularity, 1);
    Hover(*c, t.row, t.column);
    const TPoint p = CellCentre(t.row, t.column);
    ClickAt(*c, p.x, p.y);
    EXPECT_EQ(c->ModalResult(), mrOk);
    EXPECT_EQ(c->GetRows(), t.rows);
    EXPECT_EQ(c->GetColumns(), t.columns);
    EXPECT_EQ(States(*c), t.states);
  }
}

TEST_F(MatrixChooserTest, ClicksThatConfirmCancelOrDoNothing) {
  auto c = Make(3, 3, 2, 2, 4);
  c->pbCellsMouseMove(c->pbCells, 0, 2, 2);  // margin: nothing hovered
  ClickAt(*c, 2, 2);
  EXPECT_EQ(c->ModalResult(), mrOk);  // confirms the selection unchanged
  EXPECT_EQ(c->GetRows(), 2);
  EXPECT_EQ(c->GetColumns(), 2);

  for (const TPoint p : {TPoint{0, 30}, TPoint{30, 0}}) {
    auto d = Make(3, 3, 2, 2, 4);
    Hover(*d, 1, 1);
    ClickAt(*d, p.x, p.y);  // the first pixel column or row is not a choice
    EXPECT_EQ(d->ModalResult(), mrNone);
  }

  auto e = Make(3, 3, 2, 2, 4);
  e->lblInfoClick(e->lblInfo);
  EXPECT_EQ(e->ModalResult(), mrCancel);
}

TEST_F(MatrixChooserTest, EscapeCancelsAndOtherKeysPass) {
  const struct {
    uint16_t key;
    bool handled;
    int result;
  } cases[] = {{27, true, mrCancel}, {13, false, mrNone}, {'A', false, mrNone}};
  for (const auto& t : cases) {
    auto c = Make(2, 2, 1, 1, 1);
    EXPECT_EQ(c->ApplicationEvents1->ShortCut(t.key, 0), t.handled) << t.key;
    EXPECT_EQ(c->ModalResult(), t.result) << t.key;
  }
}

TEST_F(MatrixChooserTest, DraggingOutOfTheGridWithTheButtonHeldEnlargesIt) {
  auto c = Make(3, 3, 1, 1, 4);
  const int width = c->Width(), height = c->Height(), left = c->Left();
  c->pbCellsMouseMove(c->pbCells, ssLeft, c->pbCells->Width() + 50, 20);
  EXPECT_EQ(c->Width(), width + 50);
  EXPECT_EQ(c->GetGridColumns(), 4);
  c->pbCellsMouseMove(c->pbCells, ssLeft, 20, c->pbCells->Height() + 44);
  EXPECT_EQ(c->Height(), height + 44);
  EXPECT_EQ(c->GetGridRows(), 4);
  c->pbCellsMouseMove(c->pbCells, ssLeft, -10, 20);
  EXPECT_EQ(c->Left(), left - 10);
  EXPECT_EQ(c->Width(), width + 60);
  c->pbCellsMouseMove(c->pbCells, 0, c->pbCells->Width() + 80, 20);  // no button: no growth
  EXPECT_EQ(c->Width(), width + 60);
}

TEST_F(MatrixChooserTest, BordersCornersAndHeaderResizeAndMoveTheForm) {
  using Handler = void (Chooser::*)(TObject*, TShiftState, int, int);
  const struct {
    const char* name;
    Handler move;
    int dLeft, dTop, dWidth, dHeight;
  } cases[] = {
      {"header", &Chooser::pnlHeaderMouseMove, 30, 20, 0, 0},
      {"right", &Chooser::pnlRightBorderMouseMove, 0, 0, 30, 0},
      {"left", &Chooser::pnlLeftBorderMouseMove, 30, 0, -30, 0},
      {"bottom", &Chooser::pnlBottomBorderMouseMove, 0, 0, 0, 20},
      {"top", &Chooser::pnlTopBorderMouseMove, 0, 20, 0, -20},
      {"right bottom", &Chooser::pnlRightBottomMouseMove, 0, 0, 30, 20},
      {"left top", &Chooser::pnlLeftTopMouseMove, 30, 20, -30, -20},
      {"right top", &Chooser::pnlRightTopMouseMove, 0, 20, 30, -20},
      {"left bottom", &Chooser::pnlLeftBottomMouseMove, 30, 0, -30, 20},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.name);
    auto c = Make(4, 4, 1, 1, 1, true);
    const TRect before = c->BoundsRect();
    SetCursorPos(300, 300);
    c->pnlBorderMouseDown(c->pnlHeader, mbLeft, ssLeft, 0, 0);
    SetCursorPos(330, 320);
    (c.get()->*t.move)(c->pnlHeader, 0, 0, 0);  // button not held: nothing
    EXPECT_EQ(c->BoundsRect(), before);
    (c.get()->*t.move)(c->pnlHeader, ssLeft, 0, 0);
    EXPECT_EQ(c->Left(), before.Left + t.dLeft);
    EXPECT_EQ(c->Top(), before.Top + t.dTop);
    EXPECT_EQ(c->Width(), before.Width() + t.dWidth);
    EXPECT_EQ(c->Height(), before.Height() + t.dHeight);
    (c.get()->*t.move)(c->pnlHeader, ssLeft, 0, 0);  // the anchor moved along: no second step
    EXPECT_EQ(c->Width(), before.Width() + t.dWidth);
  }
}

TEST_F(MatrixChooserTest, HeaderAndTopCornersShowOnlyWhenAsked) {
  for (bool header : {false, true}) {
    auto c = Make(2, 2, 1, 1, 1, header);
    EXPECT_EQ(c->pnlHeader->Visible(), header);
    EXPECT_EQ(c->pnlLeftTop->Visible(), header);
    EXPECT_EQ(c->pnlRightTop->Visible(), header);
    EXPECT_TRUE(c->pnlRightBottom->Visible());
    EXPECT_EQ(c->GetGridRows(), 2);  // the form makes room for the header
    EXPECT_EQ(c->lblTitle->Caption(), L"Matrix Settings");
    EXPECT_EQ(c->pnlRightBottom->Left(), c->ClientWidth() - 30 - 2);
    EXPECT_EQ(c->pnlLeftBottom->Top(), c->ClientHeight() - 30 - 2);
  }
}

// The start-up record as the chooser reads it: colours by name, GUI pages by name.
struct FakeColors {
  std::map<std::wstring, TColor> colors;
  TColor GetColor(const std::wstring& key, TColor fallback) const {
    auto it = colors.find(key);
    return it == colors.end() ? fallback : it->second;
  }
};
struct FakeRecord {
  FakeColors colors;
  std::map<std::wstring, std::wstring> pages;
  FakeColors* GetColors() { return &colors; }
  std::wstring GetText(const std::wstring& name) { return pages.count(name) ? pages[name] : L""; }
  platform::ResourceModuleHandle GetImagesModule() { return nullptr; }
};

TEST_F(MatrixChooserTest, GuiResourcesGiveColoursAndTexts) {
  FakeRecord record;
  record.colors.colors = {{L"cMCEmptyCell", 0x111111},       {L"cMCMatrixCell", 0x222222},
                          {L"cMCMatrixFilledCell", 0x333333}, {L"cMCHoveredCell", 0x444444},
                          {L"cMCHoveredFilledCell", 0x555555}, {L"cMCCellsBkCancel", 0x666666},
                          {L"cMCInfoTextCancel", 0x777777},   {L"cMCHeader", 0x888888},
                          {L"cMCBorder", 0x999999},           {L"cMCHeaderText", 0xAAAAAA}};
  record.pages[L"GUI_STRINGS"] =
      L"<GUI_STRINGS><mcCancelMess value=\"Abbrechen\"/><matrix_settings value=\"Matrix\"/></GUI_STRINGS>";
  record.pages[L"GUI_IMAGES"] = L"<GUI_IMAGES><mc_matrix image=\"NO_SUCH_BITMAP\"/></GUI_IMAGES>";
  auto c = Make(2, 3, 1, 2, 1, true);
  SetCursorPos(0, 0);  // not over the grid
  c->ApplyGuiResources(&record);
  EXPECT_EQ(c->CancelText(), L"Abbrechen");
  EXPECT_EQ(c->lblInfo->Caption(), L"Abbrechen");
  EXPECT_EQ(c->lblTitle->Caption(), L"Matrix");
  EXPECT_EQ(c->lblTitle->Font.Color, 0xAAAAAA);
  EXPECT_EQ(c->pnlHeader->Color(), 0x888888);
  for (TPanel* b : {c->pnlTopBorder, c->pnlBottomBorder, c->pnlLeftBorder, c->pnlRightBorder})
    EXPECT_EQ(b->Color(), 0x999999) << b->Name();
  EXPECT_EQ(c->pnlCells->Color(), 0x666666);
  EXPECT_EQ(c->lblInfo->Font.Color, 0x777777);
  EXPECT_EQ(States(*c), "FS.|...");
  EXPECT_EQ(c->Cells()[0]->GetFillColor(), 0x333333);
  EXPECT_EQ(c->Cells()[1]->GetFillColor(), 0x222222);
  EXPECT_EQ(c->Cells()[2]->GetFillColor(), 0x111111);
  EXPECT_EQ(c->imgTitle->Picture()->Width(), 24);  // an unknown bitmap leaves the picture

  // Over the grid the label shows the current selection.
  const TPoint over = c->pbCells->ClientToScreen(CellCentre(1, 1));
  SetCursorPos(over.x, over.y);
  c->ApplyGuiResources<FakeRecord>(nullptr);
  EXPECT_EQ(c->lblInfo->Caption(), L"1 x 2 = 2 (1)");

  // Pages that are missing or do not parse change nothing.
  FakeRecord empty;
  empty.pages[L"GUI_STRINGS"] = L"<not xml";
  auto d = Make(2, 2, 1, 1, 1);
  SetCursorPos(0, 0);
  d->ApplyGuiResources(&empty);
  EXPECT_EQ(d->CancelText(), L"CANCEL");
  EXPECT_EQ(d->lblTitle->Caption(), L"Matrix Settings");
  EXPECT_EQ(d->pnlCells->Color(), 0xC0C0C0);
}

}  // namespace

// The program's chooser over the real grid cell: the selection and the pointer colour its
// cells with the cell's own colours.
TEST(MatrixChooserWithGridCells, SelectionAndHoverColourTheCells) {
  TMatrixControl c(nullptr, false, 2, 3, 1, 2, 1);
  c.Show();
  ASSERT_EQ(c.Cells().size(), 6u);
  const TColor filled = c.Cells()[0]->GetFillColor();
  const TColor selected = c.Cells()[1]->GetFillColor();
  const TColor outside = c.Cells()[2]->GetFillColor();
  EXPECT_NE(filled, selected);
  EXPECT_NE(selected, outside);
  EXPECT_EQ(c.Cells()[5]->GetFillColor(), outside);
  const TPoint p = CellCentre(2, 2);
  c.pbCellsMouseMove(c.pbCells, 0, p.x, p.y);
  EXPECT_NE(c.Cells()[4]->GetFillColor(), outside);   // in the hover rectangle
  EXPECT_EQ(c.Cells()[5]->GetFillColor(), outside);   // beyond it
}
