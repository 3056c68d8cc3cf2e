#include "platform/vcl/Grids.h"

#include <QHeaderView>
#include <QTableWidget>

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
