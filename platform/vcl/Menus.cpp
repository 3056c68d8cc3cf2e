#include "platform/vcl/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidgetAction>

#include <algorithm>

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Controls.h"

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  if (FParent) FParent->Remove(this);
  Clear();
}

void TMenuItem::SetChecked(bool checked) {
  FChecked = checked;
  // Radio siblings are cleared only while the item sits in a menu.
  if (checked && RadioItem && FParent) {
    for (TMenuItem* sibling : FParent->FItems)
      if (sibling != this && sibling->RadioItem && sibling->GroupIndex == GroupIndex) sibling->FChecked = false;
  }
}

TBitmap* TMenuItem::Bitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}

void TMenuItem::SetBitmap(TBitmap* bitmap) {
  if (!bitmap) {
    FBitmap.reset();
    return;
  }
  Bitmap()->Assign(*bitmap);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item->FParent) throw EMenuError("Menu inserted twice");
  if (index < 0 || index > Count()) throw EMenuError("Menu index out of range");
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) throw EMenuError("Menu index out of range");
  TMenuItem* item = FItems[static_cast<size_t>(index)];
  FItems.erase(FItems.begin() + index);
  item->FParent = nullptr;
}

void TMenuItem::Remove(TMenuItem* item) {
  const int index = IndexOf(item);
  if (index < 0) throw EMenuError("Sub-menu is not in menu");
  Delete(index);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

void TMenuItem::Click() {
  if (!Enabled) return;
  if (AutoCheck) SetChecked(!FChecked);
  if (OnClick) OnClick(this);
}

System::WideString StripHotkey(const System::WideString& caption) {
  System::WideString out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

// ---- owner-drawn item widget ----

namespace {

// One owner-drawn entry of a Qt menu: sized by OnMeasureItem, painted by OnAdvancedDrawItem.
class OwnerDrawnItem : public QWidget {
 public:
  OwnerDrawnItem(TMenuItem* item, QWidgetAction* action) : item_(item), action_(action) {
    setMouseTracking(true);
    TCanvas canvas;
    int width = 120, height = item->IsLine() ? 8 : 20;
    if (item->OnMeasureItem) item->OnMeasureItem(item, &canvas, width, height);
    setFixedSize(std::max(width, 1), std::max(height, 1));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    TCanvas canvas;
    canvas.BindPainter(&painter);
    TOwnerDrawState state = 0;
    if (hovered_ && item_->Enabled) state |= odSelected;
    if (!item_->Enabled) state |= odGrayed | odDisabled;
    if (item_->Checked()) state |= odChecked;
    if (item_->Default) state |= odDefault;
    if (item_->OnAdvancedDrawItem) {
      item_->OnAdvancedDrawItem(item_, &canvas, Rect(0, 0, width(), height()), state);
    } else {
      canvas.Brush.Color = (state & odSelected) ? clHighlight : clMenu;
      canvas.FillRect(Rect(0, 0, width(), height()));
      TRect r = Rect(20, 0, width(), height());
      DrawText(canvas, item_->Caption(), r, DT_SINGLELINE | DT_VCENTER);
    }
    canvas.BindPainter(nullptr);
  }
  void enterEvent(QEnterEvent*) override {
    hovered_ = true;
    update();
  }
  void leaveEvent(QEvent*) override {
    hovered_ = false;
    update();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && !item_->IsLine()) action_->trigger();
  }

 private:
  TMenuItem* item_;
  QWidgetAction* action_;
  bool hovered_ = false;
};

}  // namespace

// ---- TMenu ----

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TMenu::~TMenu() { delete FItems; }

QMenu* TMenu::BuildQMenu(TMenuItem* root, QWidget* parent) {
  auto* menu = new QMenu(parent);
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    if (!item->Visible) continue;
    if (item->IsLine() && !OwnerDraw) {
      menu->addSeparator();
      continue;
    }
    QAction* action = nullptr;
    if (OwnerDraw) {
      auto* widgetAction = new QWidgetAction(menu);
      widgetAction->setDefaultWidget(new OwnerDrawnItem(item, widgetAction));
      menu->addAction(widgetAction);
      action = widgetAction;
    } else if (item->Count() > 0) {
      QMenu* sub = BuildQMenu(item, menu);
      sub->setTitle(ToQString(item->Caption()));
      action = menu->addMenu(sub);
    } else {
      action = menu->addAction(ToQString(item->Caption()));
      if (item->ShortCut) action->setText(action->text() + "\t" + QString::fromUtf8(ShortCutToText(item->ShortCut).c_str()));
      action->setCheckable(item->Checked() || item->AutoCheck || item->RadioItem);
      action->setChecked(item->Checked());
      if (item->HasBitmap() && !item->Bitmap()->Empty()) action->setIcon(QPixmap::fromImage(item->Bitmap()->Image()));
      if (item->Default) {
        QFont bold = action->font();
        bold.setBold(true);
        action->setFont(bold);
      }
    }
    action->setEnabled(item->Enabled);
    action->setToolTip(ToQString(item->Hint));
    if (item->Count() == 0)
      QObject::connect(action, &QAction::triggered, menu, [item] { item->Click(); });
  }
  // Every owner-drawn entry takes the width of the widest, as a Windows menu does.
  int widest = 0;
  for (QAction* a : menu->actions())
    if (auto* w = qobject_cast<QWidgetAction*>(a)) widest = std::max(widest, w->defaultWidget()->width());
  for (QAction* a : menu->actions())
    if (auto* w = qobject_cast<QWidgetAction*>(a)) w->defaultWidget()->setFixedWidth(widest);
  return menu;
}

// ---- TPopupMenu ----

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() { delete FShown; }

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  delete FShown;
  FShown = BuildQMenu(Items(), nullptr);
  QMenu* shown = FShown;
  QObject::connect(shown, &QMenu::aboutToHide, shown, [this, shown] {
    // Released after the click has run, since the click may rebuild the menu.
    QMetaObject::invokeMethod(shown, [this, shown] {
      if (FShown == shown) FShown = nullptr;
      shown->deleteLater();
    }, Qt::QueuedConnection);
  });
  shown->popup(QPoint(x, y));
}
