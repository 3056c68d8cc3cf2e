#include "app/widgets/FreeMatrixControl.h"

#include <algorithm>

#include "app/support/PropertiesPage.h"

namespace app {

namespace {

TPanel* MakePanel(TComponent* owner, TWinControl* parent, TAlign align, int size, TColor color) {
  auto* panel = new TPanel(owner);
  panel->SetParent(parent);
  panel->BevelOuter = bvNone;
  panel->SetColor(color);
  if (align == alTop || align == alBottom) panel->SetHeight(size);
  if (align == alLeft || align == alRight) panel->SetWidth(size);
  panel->SetAlign(align);
  return panel;
}

// A page read from a text without error, standing on its root; false otherwise.
bool OpenPage(TsgPropertiesPage& page, const std::wstring& text) {
  return !text.empty() && page.Init(text, -1) && !page.PopErrorFlag();
}

}  // namespace

TFreeMatrixControl::TFreeMatrixControl(TComponent* owner, bool showHeader, int rows, int columns) : TForm(owner) {
  SetBorderStyle(bsNone);
  SetColor(clWindow);
  SetCaption(L"Select Cell:");
  SetBounds(0, 0, 200, 200);
  OnShow = [this](TObject* s) { FormShow(s); };

  pnlForm = MakePanel(this, this, alClient, 0, clBtnFace);
  pnlTopBorder = MakePanel(this, pnlForm, alTop, 4, clWhite);
  pnlBottomBorder = MakePanel(this, pnlForm, alBottom, 4, clWhite);
  pnlLeftBorder = MakePanel(this, pnlForm, alLeft, 4, clWhite);
  pnlRightBorder = MakePanel(this, pnlForm, alRight, 4, clWhite);
  for (TPanel* strip : {pnlTopBorder, pnlBottomBorder, pnlLeftBorder, pnlRightBorder}) strip->SetCursor(crSizeAll);
  pnlLeftTop = MakePanel(this, pnlForm, alNone, 0, clWhite);
  pnlRightTop = MakePanel(this, pnlForm, alNone, 0, clWhite);
  pnlRightBottom = MakePanel(this, pnlForm, alNone, 0, clWhite);
  pnlLeftBottom = MakePanel(this, pnlForm, alNone, 0, clWhite);
  pnlLeftTop->SetBounds(0, 0, 20, 20);
  pnlRightTop->SetBounds(0, 0, 20, 20);
  pnlRightBottom->SetBounds(0, 0, 30, 30);
  pnlLeftBottom->SetBounds(0, 0, 30, 30);
  for (TPanel* corner : {pnlLeftTop, pnlRightTop, pnlRightBottom, pnlLeftBottom}) corner->Hide();

  pnlBase = MakePanel(this, pnlForm, alClient, 0, clBtnFace);
  pnlHeader = MakePanel(this, pnlBase, alTop, 30, clBlack);
  pnlHeader->SetCursor(crSizeAll);
  imgTitle = new TImage(this);
  imgTitle->SetParent(pnlHeader);
  imgTitle->SetBounds(3, 3, 24, 24);
  imgTitle->Center = true;
  imgTitle->Transparent = true;
  lblTitle = new TLabel(this);
  lblTitle->SetParent(pnlHeader);
  lblTitle->SetBounds(32, 8, 120, 16);
  lblTitle->Font.Color = clWhite;
  lblTitle->Font.Style = fsBold;
  lblTitle->FontChanged();
  lblTitle->SetTransparent(true);
  lblTitle->SetCaption(L"Select Cell:");

  pnlCells = MakePanel(this, pnlBase, alClient, 0, clBtnFace);
  lblInfo = new TLabel(this);
  lblInfo->SetParent(pnlCells);
  lblInfo->AutoSize = false;
  lblInfo->SetHeight(22);
  lblInfo->SetAlign(alBottom);
  lblInfo->SetAlignment(taCenter);
  lblInfo->SetLayout(tlCenter);
  lblInfo->Font.Style = fsBold;
  lblInfo->Font.SetHeight(-13);
  lblInfo->FontChanged();
  lblInfo->SetTransparent(true);
  lblInfo->SetCaption(L"CANCEL");
  pbCells = new TPaintBox(this);
  pbCells->SetParent(pnlCells);
  pbCells->SetAlign(alClient);
  ApplicationEvents1 = new TApplicationEvents(this);

  for (TControl* c : std::initializer_list<TControl*>{pnlTopBorder, pnlBottomBorder, pnlLeftBorder, pnlRightBorder,
                                                      pnlHeader, lblTitle, imgTitle}) {
    c->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
      pnlBorderMouseDown(s, b, sh, x, y);
    };
    c->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pnlHeaderMouseMove(s, sh, x, y); };
    // Moves carry no button state here: the drag lasts from the left press to its release.
    c->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) {
      if (b == mbLeft) leftDown_ = false;
    };
  }
  pbCells->OnPaint = [this](TObject* s) { pbCellsPaint(s); };
  pbCells->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { pbCellsMouseMove(s, sh, x, y); };
  pbCells->OnClick = [this](TObject* s) { pbCellsClick(s); };
  lblInfo->OnClick = [this](TObject* s) { lblInfoClick(s); };
  lblInfo->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { lblInfoMouseMove(s, sh, x, y); };
  ApplicationEvents1->OnShortCut = [this](uint16_t key, TShiftState shift, bool& handled) {
    ApplicationEvents1ShortCut(key, shift, handled);
  };

  pnlHeader->SetVisible(showHeader);
  cancelText_ = lblInfo->Caption();
  minWidth_ = Width() + pnlCells->Width() - pnlCells->ClientWidth() - pbCells->Width() + cellWidth_ + leftMargin_ +
              rightMargin_;
  minHeight_ = Height() + pnlCells->Height() - pnlCells->ClientHeight() - pbCells->Height() + cellHeight_ +
               bottomMargin_ + topMargin_;
  cellsBackground_ = pbCells->Color();
  infoText_ = lblInfo->Font.Color;
  OnResize = [this](TObject* s) { FormResize(s); };
  SetMatrixSize(rows, columns);
}

TFreeMatrixControl::~TFreeMatrixControl() = default;

void TFreeMatrixControl::SetMatrixSize(int rows, int columns) {
  const int width = Width() - pnlCells->ClientWidth() + (pnlCells->Width() - pbCells->Width()) + columns * cellWidth_ +
                    (columns - 1) * columnGap_ + leftMargin_ + rightMargin_;
  const int height = Height() - pnlCells->ClientHeight() + (pnlCells->Height() - pbCells->Height()) +
                     rows * cellHeight_ + (rows - 1) * rowGap_ + topMargin_ + bottomMargin_;
  SetBounds(Left(), Top(), std::max(width, minWidth_), std::max(height, minHeight_));
  // A hidden form has its resize event only when shown: lay the grid out now.
  FormResize(this);
}

void TFreeMatrixControl::ColorCell(TMatrixCell<TCellRect>& cell) const {
  cell.SetHighlightBlend(highlightBlend_, filledHighlightBlend_);
  cell.SetColors(emptyCell_, matrixCell_, matrixFilledCell_, hoveredCell_, hoveredFilledCell_);
}

void TFreeMatrixControl::SetCellState(int index, bool filled) {
  if (index < 0 || index >= CellCount()) return;
  cells_[static_cast<size_t>(index)]->Highlight(false, false);
  cells_[static_cast<size_t>(index)]->SetState(filled, filled);
}

void TFreeMatrixControl::ApplyGuiResources(iWIDGET_RESOURCES* resources) {
  if (resources) {
    struct Entry {
      const char* name;
      TColor* field;
    } entries[] = {{"cMCEmptyCell", &emptyCell_},         {"cMCHoveredCell", &hoveredCell_},
                   {"cMCHoveredFilledCell", &hoveredFilledCell_}, {"cMCMatrixCell", &matrixCell_},
                   {"cMCMatrixFilledCell", &matrixFilledCell_}, {"cMCCellsBackground", &cellsBackground_},
                   {"cMCCellsBkCancel", &cancelBackground_}, {"cMCInfoTextCancel", &cancelText_Color_},
                   {"cMCInfoText", &infoText_}};
    for (const auto& e : entries) *e.field = resources->GetColor(e.name, *e.field);
    pnlHeader->SetColor(resources->GetColor("cMCHeader", pnlHeader->Color()));
    pnlTopBorder->SetColor(resources->GetColor("cMCBorder", pnlTopBorder->Color()));
    lblTitle->Font.Color = resources->GetColor("cMCHeaderText", lblTitle->Font.Color);
    lblTitle->FontChanged();
    for (TPanel* strip : {pnlLeftBorder, pnlRightBorder, pnlBottomBorder}) strip->SetColor(pnlTopBorder->Color());

    TsgPropertiesPage images;
    if (OpenPage(images, resources->GetText(L"GUI_IMAGES")) && images.SeekChild(L"mc_freematrix")) {
      const std::wstring name = images.GetChildAttribute<std::wstring>(L"image", L"", -1);
      // A picture the images module lacks leaves the title without one.
      if (!name.empty() && !imgTitle->Picture()->LoadFromResourceName(resources->GetImagesModule(), name))
        imgTitle->Picture()->SetSize(0, 0);
      imgTitle->Invalidate();
    }
    TsgPropertiesPage strings;
    if (OpenPage(strings, resources->GetText(L"GUI_STRINGS"))) {
      const std::wstring cancel = cancelText_;
      if (strings.SeekChild(L"mcCancelMess"))
        cancelText_ = strings.GetChildAttribute<std::wstring>(L"value", cancel, -1);
      // The title falls back to its own text.
      if (strings.SeekChild(L"freematrix_settings"))
        lblTitle->SetCaption(strings.GetChildAttribute<std::wstring>(L"value", lblTitle->Caption(), -1));
    }
  }
  const TPoint cursor = pbCells->ScreenToClient(GetCursorPos());
  if (PtInRect(cellsBounds_, cursor)) {
    pnlCells->SetColor(cellsBackground_);
    lblInfo->Font.Color = infoText_;
    lblInfo->FontChanged();
    lblInfo->SetCaption(PositionText(chosenRow_, chosenColumn_));
  } else {
    ShowCancelLook();
  }
  for (auto& cell : cells_) ColorCell(*cell);
}

std::wstring TFreeMatrixControl::PositionText(int row, int column) const {
  return std::to_wstring(row) + L", " + std::to_wstring(column);
}

void TFreeMatrixControl::ShowCancelLook() {
  lblInfo->SetCaption(cancelText_);
  lblInfo->Font.Color = cancelText_Color_;
  lblInfo->FontChanged();
  pnlCells->SetColor(cancelBackground_);
}

void TFreeMatrixControl::UnhighlightAll() {
  for (auto& cell : cells_) cell->Highlight(false, false);
}

void TFreeMatrixControl::FormResize(TObject*) {
  const int w = pbCells->ClientWidth() - leftMargin_ - rightMargin_;
  const int h = pbCells->ClientHeight() - topMargin_ - bottomMargin_;
  const int rows = std::max(0, (h + rowGap_) / (cellHeight_ + rowGap_));
  const int columns = std::max(0, (w + columnGap_) / (cellWidth_ + columnGap_));
  const size_t count = static_cast<size_t>(rows) * static_cast<size_t>(columns);
  if (cells_.size() > count) cells_.resize(count);
  while (cells_.size() < count) {
    auto cell = std::make_unique<TMatrixCell<TCellRect>>();
    ColorCell(*cell);
    cells_.push_back(std::move(cell));
  }
  int y = topMargin_;
  for (int r = 0; r < rows; ++r) {
    int x = leftMargin_;
    for (int c = 0; c < columns; ++c) {
      auto& cell = *cells_[static_cast<size_t>(r * columns + c)];
      cell.Highlight(false, false);
      cell.SetTop(y);
      cell.SetLeft(x);
      cell.SetWidth(cellWidth_);
      cell.SetHeight(cellHeight_);
      cell.SetPosition(r + 1, c + 1);
      x += columnGap_ + cellWidth_;
    }
    y += rowGap_ + cellHeight_;
  }
  if (cells_.empty()) {
    cellsBounds_ = TRect{};
  } else {
    const TRect first = cells_.front()->GetRect(), last = cells_.back()->GetRect();
    cellsBounds_ = Rect(first.Left, first.Top, last.Right, last.Bottom);
  }
  Repaint();
}

void TFreeMatrixControl::pbCellsPaint(TObject*) {
  TCanvas* canvas = pbCells->Canvas();
  for (const auto& cell : cells_) {
    canvas->Brush.Color = cell->GetFillColor();
    const TRect r = cell->GetRect();
    canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
  }
}

void TFreeMatrixControl::pbCellsMouseMove(TObject*, TShiftState, int x, int y) {
  const TPoint p = Point(x, y);
  if (PtInRect(cellsBounds_, p)) {
    for (size_t i = 0; i < cells_.size(); ++i) {
      TRect r = cells_[i]->GetRect();
      r.Right += columnGap_;
      r.Bottom += rowGap_;
      if (PtInRect(r, p)) {
        hovered_ = static_cast<int>(i);
        cells_[i]->HighlightByState(true);
        lblInfo->SetCaption(PositionText(cells_[i]->GetRow(), cells_[i]->GetColumn()));
      } else {
        cells_[i]->HighlightByState(false);
      }
    }
    if (pnlCells->Color() == cancelBackground_) {
      lblInfo->Font.Color = infoText_;
      lblInfo->FontChanged();
      pnlCells->SetColor(cellsBackground_);
    }
  } else {
    hovered_ = -1;
    ShowCancelLook();
    UnhighlightAll();
  }
  pbCells->Refresh();
}

void TFreeMatrixControl::pbCellsClick(TObject*) {
  if (hovered_ == -1 || hovered_ >= CellCount()) {
    SetModalResult(mrCancel);
    return;
  }
  chosenRow_ = cells_[static_cast<size_t>(hovered_)]->GetRow();
  chosenColumn_ = cells_[static_cast<size_t>(hovered_)]->GetColumn();
  SetModalResult(mrOk);
}

void TFreeMatrixControl::lblInfoMouseMove(TObject*, TShiftState, int, int) {
  hovered_ = -1;
  lblInfo->SetCaption(cancelText_);
  UnhighlightAll();
  pbCells->Refresh();
}

void TFreeMatrixControl::lblInfoClick(TObject*) { SetModalResult(mrCancel); }

void TFreeMatrixControl::ApplicationEvents1ShortCut(uint16_t key, TShiftState, bool& handled) {
  if (key == 27) {
    SetModalResult(mrCancel);
    handled = true;
  }
}

void TFreeMatrixControl::pnlBorderMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
  if (button != mbLeft) return;
  dragPosition_ = GetCursorPos();
  leftDown_ = true;
}

void TFreeMatrixControl::pnlHeaderMouseMove(TObject*, TShiftState, int, int) {
  if (!leftDown_) return;
  const TPoint p = GetCursorPos();
  SetBounds(Left() + p.x - dragPosition_.x, Top() + p.y - dragPosition_.y, Width(), Height());
  dragPosition_ = p;
  Repaint();
}

void TFreeMatrixControl::FormShow(TObject*) {
  const int w = pnlForm->ClientWidth(), h = pnlForm->ClientHeight();
  pnlLeftTop->SetBounds(0, 0, pnlLeftTop->Width(), pnlLeftTop->Height());
  pnlRightTop->SetBounds(w - pnlRightTop->Width() - 2, 0, pnlRightTop->Width(), pnlRightTop->Height());
  pnlLeftBottom->SetBounds(0, h - pnlLeftBottom->Height() - 2, pnlLeftBottom->Width(), pnlLeftBottom->Height());
  pnlRightBottom->SetBounds(w - pnlRightBottom->Width() - 2, h - pnlRightBottom->Height() - 2,
                            pnlRightBottom->Width(), pnlRightBottom->Height());
  pnlLeftTop->SetColor(pnlTopBorder->Color());
  pnlRightTop->SetColor(pnlTopBorder->Color());
  pnlLeftBottom->SetColor(pnlBottomBorder->Color());
  pnlRightBottom->SetColor(pnlBottomBorder->Color());
}

}  // namespace app
