// The matrix chooser: a small borderless modal form in which the user picks rows x columns by
// moving the mouse over a grid of square cells and clicking. It marks the current selection,
// fills as many of its cells as there are items, follows the pointer with a hover rectangle
// from the first cell and writes the choice below the grid. Dragging the borders and corners
// (or out of the grid with the button held) enlarges the grid; the header moves the form; the
// info label or Escape cancels.
//
// TGridCell is the GUI support library's grid cell (TMatrixCell<TCellRect>): SetTop, SetLeft,
// SetWidth, SetHeight, GetRect, GetFillColor, SetState, Highlight, SetColors, SetHighlightBlend,
// SetPosition, GetRow, GetColumn.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/support/PropertiesPage.h"
#include "app/widgets/MatrixCell.h"
#include "platform/vcl/Colors.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

// Rounds a hovered or clicked count up to a multiple of the granularity, as the client area
// rounds its matrix, so what the chooser offers is what the area will show.
inline int RoundUpToGranularity(int value, int granularity) {
  if (granularity < 1) return value;
  const int rest = value % granularity;
  return rest > 0 ? value + granularity - rest : value;
}

template <class TGridCell>
class TMatrixControlOf : public TForm {
 public:
  TMatrixControlOf(TComponent* AOwner, bool headerVisible, int gridRows, int gridColumns, int rows, int columns,
                   int maximumFilled)
      : TForm(AOwner), FRows(rows), FColumns(columns), FMaximum(maximumFilled) {
    BuildComponents();
    pnlHeader->SetVisible(headerVisible);
    pnlLeftTop->SetVisible(headerVisible);
    pnlRightTop->SetVisible(headerVisible);
    FCancelText = lblInfo->Caption();
    FCellsBackground = pbCells->Color();
    FInfoText = lblInfo->Font.Color;
    // The smallest form whose grid still holds one cell.
    FMinWidth = Width() + pnlCells->Width() + FCellWidth + FLeftMargin + FRightMargin - pnlCells->ClientWidth() -
                pbCells->Width();
    FMinHeight = Height() + pnlCells->Height() + FCellHeight + FBottomMargin + FTopMargin - pnlCells->ClientHeight() -
                 pbCells->Height();
    OnResize = [this](TObject* sender) { FormResize(sender); };
    SetMatrixSize(gridRows, gridColumns);
  }

  ~TMatrixControlOf() override { OnResize = nullptr; }

  TPanel *pnlForm = nullptr, *pnlBase = nullptr, *pnlCells = nullptr, *pnlHeader = nullptr;
  TPanel *pnlTopBorder = nullptr, *pnlBottomBorder = nullptr, *pnlLeftBorder = nullptr, *pnlRightBorder = nullptr;
  TPanel *pnlLeftTop = nullptr, *pnlRightTop = nullptr, *pnlRightBottom = nullptr, *pnlLeftBottom = nullptr;
  TPaintBox *pbCells = nullptr, *pbLeftTop = nullptr, *pbRightTop = nullptr, *pbRightBottom = nullptr,
            *pbLeftBottom = nullptr;
  TLabel *lblInfo = nullptr, *lblTitle = nullptr;
  TImage* imgTitle = nullptr;
  TApplicationEvents* ApplicationEvents1 = nullptr;

  // The form's size for a grid of a rows x b columns; the resize rebuilds the grid.
  virtual void SetMatrixSize(int a, int b) {
    SetBounds(Left(), Top(),
              Width() - pnlCells->ClientWidth() + pnlCells->Width() - pbCells->Width() + b * FCellWidth +
                  (b - 1) * FColumnGap + FLeftMargin + FRightMargin,
              Height() - pnlCells->ClientHeight() + pnlCells->Height() - pbCells->Height() + a * FCellHeight +
                  (a - 1) * FRowGap + FTopMargin + FBottomMargin);
  }
  virtual void ResizeGrid(int a, int b) { SetMatrixSize(a, b); }

  virtual void SetSelection(int rows, int columns, int maximum) {
    FRows = rows;
    FColumns = columns;
    if (maximum > 0) FMaximum = maximum;
    ApplySelectionStates();
    if (Visible()) Repaint();
  }
  virtual void SetMaximumFilled(int maximum) {
    if (maximum > 0) SetSelection(FRows, FColumns, maximum);
  }
  virtual void SetGranularity(int columnGranularity, int rowGranularity) {
    FColumnGranularity = columnGranularity;
    FRowGranularity = rowGranularity;
  }
  virtual int GetColumns() { return FColumns; }
  virtual int GetRows() { return FRows; }
  virtual int GetGridRows() {
    return (pbCells->ClientHeight() + FRowGap - FTopMargin - FBottomMargin) / (FRowGap + FCellHeight);
  }
  virtual int GetGridColumns() {
    return (pbCells->ClientWidth() + FColumnGap - FLeftMargin - FRightMargin) / (FColumnGap + FCellWidth);
  }

  // Colours, the title picture and texts from the start-up record (null: only the label and
  // the cells are brought in line with the current values). R offers GetColors()->GetColor,
  // GetText and GetImagesModule.
  template <class R>
  void ApplyGuiResources(R* record) {
    if (record) ReadGuiResources(*record);
    ApplyCurrentResources();
  }
  void ApplyGuiResources(std::nullptr_t) { ApplyCurrentResources(); }

 private:
  template <class R>
  void ReadGuiResources(R& r) {
    R* record = &r;
    {
      auto* colors = record->GetColors();
      FEmptyColor = colors->GetColor(L"cMCEmptyCell", FEmptyColor);
      FHoveredColor = colors->GetColor(L"cMCHoveredCell", FHoveredColor);
      FHoveredFilledColor = colors->GetColor(L"cMCHoveredFilledCell", FHoveredFilledColor);
      FMatrixColor = colors->GetColor(L"cMCMatrixCell", FMatrixColor);
      FMatrixFilledColor = colors->GetColor(L"cMCMatrixFilledCell", FMatrixFilledColor);
      FCellsBackground = colors->GetColor(L"cMCCellsBackground", FCellsBackground);
      FCellsBackgroundCancel = colors->GetColor(L"cMCCellsBkCancel", FCellsBackgroundCancel);
      FInfoTextCancel = colors->GetColor(L"cMCInfoTextCancel", FInfoTextCancel);
      FInfoText = colors->GetColor(L"cMCInfoText", FInfoText);
      pnlHeader->SetColor(colors->GetColor(L"cMCHeader", pnlHeader->Color()));
      pnlTopBorder->SetColor(colors->GetColor(L"cMCBorder", pnlTopBorder->Color()));
      for (TPanel* border : {pnlBottomBorder, pnlLeftBorder, pnlRightBorder}) border->SetColor(pnlTopBorder->Color());
      lblTitle->Font.Color = colors->GetColor(L"cMCHeaderText", lblTitle->Font.Color);
      lblTitle->FontChanged();

      app::TsgPropertiesPage images;
      if (images.Init(record->GetText(L"GUI_IMAGES"), -1) && !images.IsEmpty() && images.SeekChild(L"mc_matrix")) {
        const std::wstring name = images.GetChildAttribute<std::wstring>(L"image", L"", -1);
        if (!name.empty()) {
          imgTitle->Picture()->LoadFromResourceName(record->GetImagesModule(), name);
          imgTitle->Invalidate();
        }
      }
      app::TsgPropertiesPage strings;
      if (strings.Init(record->GetText(L"GUI_STRINGS"), -1) && !strings.IsEmpty()) {
        if (strings.SeekChild(L"mcCancelMess"))
          FCancelText = strings.GetChildAttribute<std::wstring>(L"value", FCancelText, -1);
        if (strings.SeekChild(L"matrix_settings"))
          lblTitle->SetCaption(strings.GetChildAttribute<std::wstring>(L"value", lblTitle->Caption(), -1));
      }
    }
  }

  // The label and the cells in line with the current values.
  void ApplyCurrentResources() {
    if (PtInRect(FGridRect, pbCells->ScreenToClient(GetCursorPos()))) {
      ShowChoiceColors();
      lblInfo->SetCaption(ChoiceText(FRows, FColumns));
    } else {
      ShowCancel(true);
    }
    for (auto& cell : FCells) ColourCell(*cell);
  }

 public:

  // The grid, row-major, and the cell under the pointer (-1 none).
  const std::vector<std::unique_ptr<TGridCell>>& Cells() const { return FCells; }
  int HoveredIndex() const { return FHoveredIndex; }
  const TRect& GridRect() const { return FGridRect; }
  const std::wstring& CancelText() const { return FCancelText; }
  int MinWidth() const { return FMinWidth; }
  int MinHeight() const { return FMinHeight; }

  void SetBounds(int left, int top, int width, int height) override {
    TForm::SetBounds(left, top, std::max(width, FMinWidth), std::max(height, FMinHeight));
    // A hidden form gets its resize event only when shown: rebuild the grid now.
    if (pbCells) FormResize(this);
  }

  void FormResize(TObject*) {
    const int gridRows = std::max(0, GetGridRows()), gridColumns = std::max(0, GetGridColumns());
    const size_t count = static_cast<size_t>(gridRows) * static_cast<size_t>(gridColumns);
    if (FCells.size() > count) FCells.resize(count);
    while (FCells.size() < count) {
      auto cell = std::make_unique<TGridCell>();
      ColourCell(*cell);
      FCells.push_back(std::move(cell));
    }
    FGridColumns = gridColumns;
    for (int r = 0; r < gridRows; ++r) {
      for (int c = 0; c < gridColumns; ++c) {
        TGridCell& cell = *FCells[static_cast<size_t>(r * gridColumns + c)];
        cell.SetTop(FTopMargin + r * (FCellHeight + FRowGap));
        cell.SetLeft(FLeftMargin + c * (FCellWidth + FColumnGap));
        cell.SetWidth(FCellWidth);
        cell.SetHeight(FCellHeight);
        cell.SetPosition(r + 1, c + 1);
        cell.Highlight(false, false);
      }
    }
    ApplySelectionStates();
    FGridRect = FCells.empty() ? TRect{} : TRect{FCells.front()->GetRect().Left, FCells.front()->GetRect().Top,
                                                 FCells.back()->GetRect().Right, FCells.back()->GetRect().Bottom};
    Repaint();
  }

  void FormShow(TObject*) {
    for (TPanel* p : {pnlLeftTop, pnlLeftBottom}) p->SetLeft(0);
    for (TPanel* p : {pnlRightTop, pnlRightBottom}) p->SetLeft(ClientWidth() - p->Width() - 2);
    for (TPanel* p : {pnlLeftTop, pnlRightTop}) {
      p->SetTop(0);
      p->SetColor(pnlTopBorder->Color());
    }
    for (TPanel* p : {pnlLeftBottom, pnlRightBottom}) {
      p->SetTop(ClientHeight() - p->Height() - 2);
      p->SetColor(pnlBottomBorder->Color());
    }
    for (TPanel* p : {pnlLeftTop, pnlRightTop, pnlRightBottom, pnlLeftBottom}) p->BringToFront();
  }

  void pbCellsMouseMove(TObject*, TShiftState shift, int x, int y) {
    if (PtInRect(FGridRect, TPoint{x, y})) {
      const int n = RoundUpToGranularity((x - FLeftMargin + FCellWidth + FColumnGap) / (FCellWidth + FColumnGap),
                                         FColumnGranularity);
      const int m = RoundUpToGranularity((y - FTopMargin + FCellHeight + FRowGap) / (FCellHeight + FRowGap),
                                         FRowGranularity);
      const int right = n * (FCellWidth + FColumnGap) + FLeftMargin;
      const int bottom = m * (FCellHeight + FRowGap) + FTopMargin;
      int hovered = 0;
      FHoveredIndex = -1;
      for (size_t i = 0; i < FCells.size(); ++i) {
        TGridCell& cell = *FCells[i];
        TRect extended = cell.GetRect();
        extended.Right += FColumnGap;
        extended.Bottom += FRowGap;
        if (extended.Bottom > bottom || extended.Right > right) {
          cell.Highlight(false, false);
        } else {
          cell.Highlight(true, hovered < FMaximum);
          ++hovered;
        }
        if (PtInRect(extended, TPoint{x, y})) FHoveredIndex = static_cast<int>(i);
      }
      if (pnlCells->Color() == FCellsBackgroundCancel) ShowChoiceColors();
      if (FHoveredIndex >= 0) {
        const TGridCell& cell = *FCells[static_cast<size_t>(FHoveredIndex)];
        lblInfo->SetCaption(ChoiceText(RoundUpToGranularity(cell.GetRow(), FRowGranularity),
                                       RoundUpToGranularity(cell.GetColumn(), FColumnGranularity)));
      }
    } else {
      FHoveredIndex = -1;
      ShowCancel(true);
      for (auto& cell : FCells) cell->Highlight(false, false);
    }
    // The paint box keeps the mouse while the button is down: the form grows toward it.
    if (shift & ssLeft) {
      int left = Left(), top = Top(), width = Width(), height = Height();
      if (x > pbCells->Width()) width += x - pbCells->Width();
      if (y > pbCells->Height()) height += y - pbCells->Height();
      if (x < 0) {
        width -= x;
        left += x;
      }
      if (y < 0) {
        height -= y;
        top += y;
      }
      if (width != Width() || height != Height() || left != Left() || top != Top()) SetBounds(left, top, width, height);
    }
    pbCells->Invalidate();
    pbLeftBottom->Invalidate();
    pbRightBottom->Invalidate();
  }

  void pbCellsClick(TObject*) {
    if (FHoveredIndex >= 0 && FHoveredIndex < static_cast<int>(FCells.size())) {
      const TGridCell& hovered = *FCells[static_cast<size_t>(FHoveredIndex)];
      FRows = RoundUpToGranularity(hovered.GetRow(), FRowGranularity);
      FColumns = RoundUpToGranularity(hovered.GetColumn(), FColumnGranularity);
      int counter = 0;
      for (auto& cell : FCells) {
        const bool selected = cell->GetRow() <= FRows && cell->GetColumn() <= FColumns;
        cell->SetState(selected, selected && counter < FMaximum);
        if (selected) ++counter;
      }
    }
    // A click on the paint box's first pixel row or column is not a choice.
    const TPoint p = pbCells->ScreenToClient(GetCursorPos());
    if (p.x >= 1 && p.y >= 1) SetModalResult(mrOk);
  }

  void pbCellsPaint(TObject*) {
    TCanvas* canvas = pbCells->Canvas();
    for (const auto& cell : FCells) {
      const TRect r = cell->GetRect();
      canvas->Brush.Color = cell->GetFillColor();
      canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    }
  }

  void lblInfoMouseMove(TObject*, TShiftState, int, int) {
    FHoveredIndex = -1;
    ShowCancel(false);
    for (auto& cell : FCells) cell->Highlight(false, false);
    pbCells->Invalidate();
  }
  void lblInfoClick(TObject*) { SetModalResult(mrCancel); }
  void ApplicationEvents1ShortCut(uint16_t key, TShiftState, bool& handled) {
    if (key != 27) return;
    SetModalResult(mrCancel);
    handled = true;
  }

  void pnlBorderMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button == mbLeft) FAnchor = GetCursorPos();
  }
  // Each drag handler acts only while the left button is held: (dx, dy) since the last move.
  void pnlHeaderMouseMove(TObject*, TShiftState s, int, int) { Drag(s, true, true, 0, 0); }
  void pnlTopBorderMouseMove(TObject*, TShiftState s, int, int) { Drag(s, false, true, 0, -1); }
  void pnlBottomBorderMouseMove(TObject*, TShiftState s, int, int) { Drag(s, false, false, 0, 1); }
  void pnlLeftBorderMouseMove(TObject*, TShiftState s, int, int) { Drag(s, true, false, -1, 0); }
  void pnlRightBorderMouseMove(TObject*, TShiftState s, int, int) { Drag(s, false, false, 1, 0); }
  void pnlLeftTopMouseMove(TObject*, TShiftState s, int, int) { Drag(s, true, true, -1, -1); }
  void pnlRightTopMouseMove(TObject*, TShiftState s, int, int) { Drag(s, false, true, 1, -1); }
  void pnlRightBottomMouseMove(TObject*, TShiftState s, int, int) { Drag(s, false, false, 1, 1); }
  void pnlLeftBottomMouseMove(TObject*, TShiftState s, int, int) { Drag(s, true, false, -1, 1); }

  void pbLeftTopPaint(TObject*) {
    const int w = pbLeftTop->Width(), h = pbLeftTop->Height();
    Triangle(pbLeftTop, pnlHeader->Color(), {{w, pnlTopBorder->Height()}, {w, h}, {pnlLeftBorder->Width(), h}});
  }
  void pbRightTopPaint(TObject*) {
    const int w = pbRightTop->Width(), h = pbRightTop->Height();
    Triangle(pbRightTop, pnlHeader->Color(), {{0, pnlTopBorder->Height()}, {w - pnlRightBorder->Width(), h}, {0, h}});
  }
  void pbRightBottomPaint(TObject*) {
    const int w = pbRightBottom->Width(), h = pbRightBottom->Height();
    Triangle(pbRightBottom, pnlCells->Color(), {{0, 0}, {0, h - pnlBottomBorder->Height()}, {w - pnlRightBorder->Width(), 0}});
  }
  void pbLeftBottomPaint(TObject*) {
    const int w = pbLeftBottom->Width(), h = pbLeftBottom->Height();
    Triangle(pbLeftBottom, pnlCells->Color(), {{pnlLeftBorder->Width(), 0}, {w, 0}, {w, h - pnlBottomBorder->Height()}});
  }

 private:
  TPanel* NewPanel(TWinControl* parent, const char* name, TAlign align) {
    auto* panel = new TPanel(this);
    panel->SetName(name);
    panel->BevelOuter = bvNone;
    panel->SetParent(parent);
    panel->SetAlign(align);
    return panel;
  }

  TPaintBox* NewCorner(TPanel*& panel, const char* panelName, const char* boxName, int size, TCursor cursor) {
    panel = NewPanel(pnlForm, panelName, alNone);
    panel->SetBounds(0, 0, size, size);
    auto* box = new TPaintBox(this);
    box->SetName(boxName);
    box->SetParent(panel);
    box->SetAlign(alClient);
    box->SetCursor(cursor);
    box->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { pnlBorderMouseDown(s, b, sh, x, y); };
    return box;
  }

  void BuildComponents() {
    SetBorderStyle(bsNone);
    SetColor(clWindow);
    Position = poDefault;
    TForm::SetBounds(Left(), Top(), 513, 529);
    OnShow = [this](TObject* s) { FormShow(s); };
    ApplicationEvents1 = new TApplicationEvents(this);
    ApplicationEvents1->OnShortCut = [this](uint16_t key, TShiftState shift, bool& handled) {
      ApplicationEvents1ShortCut(key, shift, handled);
    };

    pnlForm = NewPanel(this, "pnlForm", alClient);
    auto down = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { pnlBorderMouseDown(s, b, sh, x, y); };
    pnlTopBorder = NewPanel(pnlForm, "pnlTopBorder", alTop);
    pnlBottomBorder = NewPanel(pnlForm, "pnlBottomBorder", alBottom);
    pnlLeftBorder = NewPanel(pnlForm, "pnlLeftBorder", alLeft);
    pnlRightBorder = NewPanel(pnlForm, "pnlRightBorder", alRight);
    pnlTopBorder->SetHeight(4);
    pnlBottomBorder->SetHeight(4);
    pnlLeftBorder->SetWidth(4);
    pnlRightBorder->SetWidth(4);
    for (TPanel* b : {pnlTopBorder, pnlBottomBorder, pnlLeftBorder, pnlRightBorder}) {
      b->SetColor(clWhite);
      b->OnMouseDown = down;
    }
    pnlTopBorder->SetCursor(crSizeNS);
    pnlBottomBorder->SetCursor(crSizeNS);
    pnlLeftBorder->SetCursor(crSizeWE);
    pnlRightBorder->SetCursor(crSizeWE);
    pnlTopBorder->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlTopBorderMouseMove(s, sh, x, y); };
    pnlBottomBorder->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlBottomBorderMouseMove(s, sh, x, y); };
    pnlLeftBorder->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlLeftBorderMouseMove(s, sh, x, y); };
    pnlRightBorder->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlRightBorderMouseMove(s, sh, x, y); };

    pnlBase = NewPanel(pnlForm, "pnlBase", alClient);
    pnlHeader = NewPanel(pnlBase, "pnlHeader", alTop);
    pnlHeader->SetHeight(30);
    pnlHeader->SetColor(clBlack);
    pnlHeader->SetCursor(crSizeAll);
    pnlCells = NewPanel(pnlBase, "pnlCells", alClient);

    auto headerMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlHeaderMouseMove(s, sh, x, y); };
    pnlHeader->OnMouseDown = down;
    pnlHeader->OnMouseMove = headerMove;
    imgTitle = new TImage(this);
    imgTitle->SetName("imgTitle");
    imgTitle->SetParent(pnlHeader);
    imgTitle->SetBounds(4, 3, 24, 24);
    imgTitle->Center = true;
    imgTitle->Transparent = true;
    DrawTitlePicture();
    imgTitle->OnMouseDown = down;
    imgTitle->OnMouseMove = headerMove;
    lblTitle = new TLabel(this);
    lblTitle->SetName("lblTitle");
    lblTitle->SetParent(pnlHeader);
    lblTitle->SetBounds(34, 8, 200, 16);
    lblTitle->SetTransparent(true);
    lblTitle->Font.Color = clWhite;
    lblTitle->Font.Style = fsBold;
    lblTitle->Font.SetHeight(-11);
    lblTitle->FontChanged();
    lblTitle->SetCaption(L"Matrix Settings");
    lblTitle->OnMouseDown = down;
    lblTitle->OnMouseMove = headerMove;

    lblInfo = new TLabel(this);
    lblInfo->SetName("lblInfo");
    lblInfo->AutoSize = false;
    lblInfo->SetParent(pnlCells);
    lblInfo->SetHeight(22);
    lblInfo->SetAlign(alBottom);
    lblInfo->SetAlignment(taCenter);
    lblInfo->SetLayout(tlCenter);
    lblInfo->SetTransparent(true);
    lblInfo->Font.Style = fsBold;
    lblInfo->Font.SetHeight(-13);
    lblInfo->FontChanged();
    lblInfo->SetCaption(L"CANCEL");
    lblInfo->OnClick = [this](TObject* s) { lblInfoClick(s); };
    lblInfo->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { lblInfoMouseMove(s, sh, x, y); };
    pbCells = new TPaintBox(this);
    pbCells->SetName("pbCells");
    pbCells->SetParent(pnlCells);
    pbCells->SetAlign(alClient);
    pbCells->SetColor(clBtnFace);
    pbCells->OnClick = [this](TObject* s) { pbCellsClick(s); };
    pbCells->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pbCellsMouseMove(s, sh, x, y); };
    pbCells->OnPaint = [this](TObject* s) { pbCellsPaint(s); };

    pbLeftTop = NewCorner(pnlLeftTop, "pnlLeftTop", "pbLeftTop", 20, crSizeNWSE);
    pbRightTop = NewCorner(pnlRightTop, "pnlRightTop", "pbRightTop", 20, crSizeNESW);
    pbRightBottom = NewCorner(pnlRightBottom, "pnlRightBottom", "pbRightBottom", 30, crSizeNWSE);
    pbLeftBottom = NewCorner(pnlLeftBottom, "pnlLeftBottom", "pbLeftBottom", 30, crSizeNESW);
    pnlRightTop->Anchors = akTop | akRight;
    pnlRightBottom->Anchors = akRight | akBottom;
    pnlLeftBottom->Anchors = akLeft | akBottom;
    pbLeftTop->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlLeftTopMouseMove(s, sh, x, y); };
    pbRightTop->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlRightTopMouseMove(s, sh, x, y); };
    pbRightBottom->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlRightBottomMouseMove(s, sh, x, y); };
    pbLeftBottom->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlLeftBottomMouseMove(s, sh, x, y); };
    pbLeftTop->OnPaint = [this](TObject* s) { pbLeftTopPaint(s); };
    pbRightTop->OnPaint = [this](TObject* s) { pbRightTopPaint(s); };
    pbRightBottom->OnPaint = [this](TObject* s) { pbRightBottomPaint(s); };
    pbLeftBottom->OnPaint = [this](TObject* s) { pbLeftBottomPaint(s); };
  }

  // The title picture until a GUI page names another: a 3 x 3 grid, its first 2 x 2 filled.
  void DrawTitlePicture() {
    TBitmap* picture = imgTitle->Picture();
    picture->SetSize(24, 24);
    TCanvas* c = picture->Canvas();
    c->Brush.Color = clBlack;
    c->FillRect(Rect(0, 0, 24, 24));
    c->Pen.Color = clWhite;
    for (int r = 0; r < 3; ++r) {
      for (int col = 0; col < 3; ++col) {
        c->Brush.Color = r < 2 && col < 2 ? 0xC0A0A0 : 0xFFFFFF;
        c->Rectangle(1 + col * 8, 1 + r * 8, 8 + col * 8, 8 + r * 8);
      }
    }
  }

  void ColourCell(TGridCell& cell) {
    cell.SetHighlightBlend(FBlend1, FBlend2);
    cell.SetColors(FEmptyColor, FMatrixColor, FMatrixFilledColor, FHoveredColor, FHoveredFilledColor);
  }

  // Selected cells fill in grid order up to the maximum; selected columns beyond the grid's
  // right edge count too, so a row cut by the edge uses up its items.
  void ApplySelectionStates() {
    int counter = 0;
    size_t i = 0;
    const int gridColumns = FGridColumns;
    const int gridRows = gridColumns > 0 ? static_cast<int>(FCells.size()) / gridColumns : 0;
    for (int r = 0; r < gridRows; ++r) {
      for (int c = 0; c < gridColumns; ++c, ++i) {
        TGridCell& cell = *FCells[i];
        cell.Highlight(false, false);
        if (r < FRows && c < FColumns) {
          cell.SetState(true, counter < FMaximum);
          ++counter;
        } else {
          cell.SetState(false, false);
        }
      }
      if (r < FRows && FColumns > gridColumns) counter += FColumns - gridColumns;
    }
  }

  std::wstring ChoiceText(int rows, int columns) const {
    return std::to_wstring(rows) + L" x " + std::to_wstring(columns) + L" = " + std::to_wstring(rows * columns) + L" (" +
           std::to_wstring(FMaximum) + L")";
  }

  void ShowChoiceColors() {
    pnlCells->SetColor(FCellsBackground);
    lblInfo->Font.Color = FInfoText;
    lblInfo->FontChanged();
  }

  // The cancel text in the label; with `colours` also the cancel colours.
  void ShowCancel(bool colours) {
    lblInfo->SetCaption(FCancelText);
    if (!colours) return;
    lblInfo->Font.Color = FInfoTextCancel;
    lblInfo->FontChanged();
    pnlCells->SetColor(FCellsBackgroundCancel);
  }

  // Moves or resizes the form by the cursor's move since the last event: `moveX`/`moveY`
  // shift the left or top edge (which then also resizes when `growX`/`growY` is -1); a growth
  // of 1 moves the right or bottom edge.
  void Drag(TShiftState shift, bool moveX, bool moveY, int growX, int growY) {
    if (!(shift & ssLeft)) return;
    const TPoint p = GetCursorPos();
    const int dx = p.x - FAnchor.x, dy = p.y - FAnchor.y;
    int left = Left(), top = Top(), width = Width(), height = Height();
    if (moveX) left += dx;
    if (moveY) top += dy;
    width += growX * dx;
    height += growY * dy;
    SetBounds(left, top, width, height);
    FAnchor = p;
    Repaint();
  }

  void Triangle(TPaintBox* box, TColor colour, std::vector<TPoint> points) {
    TCanvas* canvas = box->Canvas();
    canvas->Pen.Style = psClear;
    canvas->Brush.Color = colour;
    canvas->Polygon(points);
  }

  std::vector<std::unique_ptr<TGridCell>> FCells;
  int FTopMargin = 4, FLeftMargin = 4, FRightMargin = 4, FBottomMargin = 4;
  int FRowGap = 4, FColumnGap = 4;
  int FCellWidth = 40, FCellHeight = 40;
  int FColumnGranularity = 1, FRowGranularity = 1;
  int FRows, FColumns;
  int FMaximum;
  int FGridColumns = 0;
  TRect FGridRect{};
  TPoint FAnchor{};
  std::wstring FCancelText;
  int FHoveredIndex = -1;
  TColor FEmptyColor = 0xFFFFFF;
  TColor FHoveredColor = 0x808080;
  TColor FHoveredFilledColor = 0x000000;
  TColor FMatrixColor = 0xFFDCDC;
  TColor FMatrixFilledColor = 0xC0A0A0;
  TColor FCellsBackground = clBtnFace;
  TColor FCellsBackgroundCancel = 0xC0C0C0;
  TColor FInfoTextCancel = 0xFFFFFF;
  TColor FInfoText = clWindowText;
  double FBlend1 = 1.0, FBlend2 = 1.0;
  int FMinWidth = 0, FMinHeight = 0;
};

// The chooser the stack windows show, over the GUI support library's grid cell.
using TMatrixControl = TMatrixControlOf<app::TMatrixCell<app::TCellRect>>;
