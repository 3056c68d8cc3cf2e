#include "platform/vcl/Grids.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableWidget>
#include <QWheelEvent>

#include <algorithm>

namespace {
QTableWidget* Table(const TControl* c) { return static_cast<QTableWidget*>(c->Widget()); }
}  // namespace

TStringGrid::TStringGrid(TComponent* AOwner) : TWinControl(AOwner, new QTableWidget(5, 5)) {
  Table(this)->horizontalHeader()->hide();
  Table(this)->verticalHeader()->hide();
  Table(this)->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Widget()->resize(320, 120);
}

int TStringGrid::ColCount() const { return Table(this)->columnCount(); }
int TStringGrid::RowCount() const { return Table(this)->rowCount(); }
void TStringGrid::SetColCount(int count) { Table(this)->setColumnCount(std::max(count, 0)); }
void TStringGrid::SetRowCount(int count) { Table(this)->setRowCount(std::max(count, 0)); }

System::WideString TStringGrid::Cells(int col, int row) const {
  const QTableWidgetItem* item = Table(this)->item(row, col);
  return item ? FromQString(item->text()) : System::WideString();
}

void TStringGrid::SetCell(int col, int row, const System::WideString& text) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return;
  auto* item = new QTableWidgetItem(ToQString(text));
  if (row < FixedRows || col < FixedCols) {
    item->setBackground(QColor(240, 240, 240));
    QFont bold = item->font();
    bold.setBold(row < FixedRows);
    item->setFont(bold);
  }
  Table(this)->setItem(row, col, item);
}

void TStringGrid::SetColWidth(int col, int width) { Table(this)->setColumnWidth(col, width); }
int TStringGrid::ColWidth(int col) const { return Table(this)->columnWidth(col); }
void TStringGrid::SetDefaultRowHeight(int height) { Table(this)->verticalHeader()->setDefaultSectionSize(height); }
int TStringGrid::Row() const { return Table(this)->currentRow(); }
int TStringGrid::Col() const { return Table(this)->currentColumn(); }

// TDrawGrid

TDrawGrid::TDrawGrid(TComponent* AOwner) : TWinControl(AOwner, new QWidget) {
  FScrollBar = new QScrollBar(Qt::Vertical, Widget());
  FScrollBar->hide();
  QObject::connect(FScrollBar, &QScrollBar::valueChanged, [this](int value) {
    FTopRow = FFixedRows + value;
    Widget()->update();
  });
  Widget()->setFocusPolicy(Qt::StrongFocus);
  Widget()->resize(320, 120);
  FColWidths.assign(size_t(FColCount), DefaultColWidth);
}

void TDrawGrid::SetColCount(int count) {
  FColCount = std::max(count, 1);
  FColWidths.resize(size_t(FColCount), DefaultColWidth);
  Widget()->update();
}

void TDrawGrid::SetRowCount(int count) {
  FRowCount = std::max(count, 1);
  if (FFixedRows >= FRowCount) FFixedRows = FRowCount - 1;
  if (FRow >= FRowCount) FRow = FRowCount - 1;
  if (FRow < FFixedRows) FRow = FFixedRows;
  FTopRow = std::clamp(FTopRow, FFixedRows, std::max(FFixedRows, FRowCount - 1));
  UpdateScrollBar();
  Widget()->update();
}

void TDrawGrid::SetFixedRows(int count) {
  FFixedRows = std::clamp(count, 0, FRowCount - 1);
  if (FRow < FFixedRows) FRow = FFixedRows;
  if (FTopRow < FFixedRows) FTopRow = FFixedRows;
  UpdateScrollBar();
  Widget()->update();
}

int TDrawGrid::ColWidths(int col) const {
  return col >= 0 && col < FColCount ? FColWidths[size_t(col)] : 0;
}

void TDrawGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= FColCount) return;
  FColWidths[size_t(col)] = std::max(width, 0);
  Widget()->update();
}

void TDrawGrid::SetDefaultRowHeight(int height) {
  FDefaultRowHeight = std::max(height, 1);
  UpdateScrollBar();
  Widget()->update();
}

void TDrawGrid::SetGridLineWidth(int width) {
  FGridLineWidth = std::max(width, 0);
  Widget()->update();
}

void TDrawGrid::SetMinSize(int width, int height) {
  FMinWidth = std::max(width, 0);
  FMinHeight = std::max(height, 0);
  Widget()->setMinimumSize(FMinWidth, FMinHeight);
}

void TDrawGrid::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, std::max(width, FMinWidth), std::max(height, FMinHeight));
  UpdateScrollBar();
}

int TDrawGrid::VisibleScrollRows() const {
  const int pitch = FDefaultRowHeight + FGridLineWidth;
  const int room = Height() - FFixedRows * pitch;
  return std::max(room / pitch, 1);
}

void TDrawGrid::UpdateScrollBar() {
  if (!FScrollBar) return;
  const int scrollRows = FRowCount - FFixedRows;
  const int visible = VisibleScrollRows();
  const bool needed = scrollRows > visible;
  FScrollBar->setRange(0, needed ? scrollRows - visible : 0);
  FScrollBar->setPageStep(visible);
  const int barWidth = FScrollBar->sizeHint().width();
  FScrollBar->setGeometry(Width() - barWidth, 0, barWidth, Height());
  FScrollBar->setVisible(needed);
  if (!needed) FTopRow = FFixedRows;
}

void TDrawGrid::Scroll(int topRow) {
  if (FScrollBar) FScrollBar->setValue(std::max(topRow - FFixedRows, 0));
}

TRect TDrawGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount) return Rect(0, 0, 0, 0);
  const int pitch = FDefaultRowHeight + FGridLineWidth;
  int top;
  if (row < FFixedRows) {
    top = row * pitch;
  } else {
    if (row < FTopRow) return Rect(0, 0, 0, 0);
    top = (FFixedRows + row - FTopRow) * pitch;
    if (top >= Height()) return Rect(0, 0, 0, 0);
  }
  int left = 0;
  for (int c = 0; c < col; ++c) left += FColWidths[size_t(c)] + FGridLineWidth;
  return Rect(left, top, left + FColWidths[size_t(col)], top + FDefaultRowHeight);
}

int TDrawGrid::RowAt(int y) const {
  const int pitch = FDefaultRowHeight + FGridLineWidth;
  if (y < 0) return -1;
  const int slot = y / pitch;
  const int row = slot < FFixedRows ? slot : FTopRow + slot - FFixedRows;
  return row < FRowCount ? row : -1;
}

void TDrawGrid::MoveRow(int row) {
  if (row < FFixedRows || row >= FRowCount || row == FRow) return;
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(this, 0, row, canSelect);
  if (!canSelect) return;
  FRow = row;
  // Keep the new row in sight.
  const int visible = VisibleScrollRows();
  if (FRow < FTopRow) Scroll(FRow);
  else if (FRow >= FTopRow + visible) Scroll(FRow - visible + 1);
  Widget()->update();
  Click();
}

void TDrawGrid::SetRow(int row) { MoveRow(row); }

bool TDrawGrid::WidgetEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::Paint: {
      QPainter painter(Widget());
      // The window colour beyond the cells, the line colour between them.
      painter.fillRect(Widget()->rect(), QColor(Qt::white));
      int cellsWidth = 0;
      for (int c = 0; c < FColCount; ++c) cellsWidth += FColWidths[size_t(c)] + FGridLineWidth;
      const int shownRows = std::min(FRowCount, FFixedRows + (FRowCount - FTopRow));
      painter.fillRect(QRect(0, 0, cellsWidth, shownRows * (FDefaultRowHeight + FGridLineWidth)), QColor(0xA0, 0xA0, 0xA0));
      FCanvas.BindPainter(&painter);
      const int lastRow = FRowCount;
      for (int row = 0; row < lastRow; ++row) {
        for (int col = 0; col < FColCount; ++col) {
          const TRect r = CellRect(col, row);
          if (r.Right <= r.Left || r.Bottom <= r.Top) continue;
          TGridDrawState state = 0;
          if (row < FFixedRows) state |= gdFixed;
          if (row == FRow) state |= gdSelected | (Focused() ? gdFocused : 0);
          painter.save();
          painter.setClipRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top));
          if (OnDrawCell) {
            OnDrawCell(this, col, row, r, state);
          } else {
            FCanvas.Brush.Color = row < FFixedRows ? FixedColor : clWindow;
            FCanvas.FillRect(r);
          }
          painter.restore();
        }
      }
      FCanvas.BindPainter(nullptr);
      return true;
    }
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (e->button() == Qt::LeftButton) {
        const int row = RowAt(e->position().toPoint().y());
        // A press moves the current row without its own click; the release raises OnClick.
        if (row >= FFixedRows && row != FRow) {
          bool canSelect = true;
          if (OnSelectCell) OnSelectCell(this, 0, row, canSelect);
          if (canSelect) {
            FRow = row;
            Widget()->update();
          }
        }
      }
      return TWinControl::WidgetEvent(event);
    }
    case QEvent::KeyPress: {
      auto* e = static_cast<QKeyEvent*>(event);
      if (e->key() == Qt::Key_Down) MoveRow(FRow + 1);
      else if (e->key() == Qt::Key_Up) MoveRow(FRow - 1);
      else if (e->key() == Qt::Key_Home) MoveRow(FFixedRows);
      else if (e->key() == Qt::Key_End) MoveRow(FRowCount - 1);
      else return TWinControl::WidgetEvent(event);
      return true;
    }
    case QEvent::Wheel: {
      auto* e = static_cast<QWheelEvent*>(event);
      if (FScrollBar && FScrollBar->isVisible())
        FScrollBar->setValue(FScrollBar->value() + (e->angleDelta().y() > 0 ? -1 : 1));
      return true;
    }
    case QEvent::Resize:
      UpdateScrollBar();
      return TWinControl::WidgetEvent(event);
    default:
      return TWinControl::WidgetEvent(event);
  }
}
