#include "platform/vcl/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
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
    if (!item->IsLine() && !item->OnAdvancedDrawItem) {
      // The standard look: picture or check column, caption, shortcut.
      width = kTextLeft + canvas.TextWidth(StripHotkey(item->Caption())) + 24;
      if (item->ShortCut) width += canvas.TextWidth(ShortCutText(item)) + 16;
      if (item->HasBitmap() && !item->Bitmap()->Empty()) height = std::max(height, item->Bitmap()->Height() + 4);
    }
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
      PaintStandard(canvas, state);
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
  static constexpr int kTextLeft = 24;
  static System::WideString ShortCutText(const TMenuItem* item) {
    const std::string text = ShortCutToText(item->ShortCut);
    return System::WideString(text.begin(), text.end());
  }
  // What Windows draws for an owner-drawn menu without a drawing handler of its own.
  void PaintStandard(TCanvas& canvas, TOwnerDrawState state) {
    const TRect all = Rect(0, 0, width(), height());
    canvas.Brush.Color = (state & odSelected) ? clHighlight : clMenu;
    canvas.FillRect(all);
    if (item_->IsLine()) {
      canvas.Pen.Color = clGray;
      canvas.MoveTo(2, height() / 2);
      canvas.LineTo(width() - 2, height() / 2);
      return;
    }
    const TColor ink = (state & odDisabled) ? clGray : (state & odSelected) ? clHighlightText : clMenuText;
    if (state & odChecked) {
      canvas.Pen.Color = ink;
      canvas.Brush.Color = ink;
      const int cx = 11, cy = height() / 2;
      if (item_->RadioItem) {
        canvas.Ellipse(cx - 3, cy - 3, cx + 4, cy + 4);
      } else {
        canvas.Pen.Width = 2;
        canvas.MoveTo(cx - 5, cy);
        canvas.LineTo(cx - 2, cy + 3);
        canvas.LineTo(cx + 4, cy - 4);
        canvas.Pen.Width = 1;
      }
    } else if (item_->HasBitmap() && !item_->Bitmap()->Empty()) {
      TBitmap* bitmap = item_->Bitmap();
      canvas.Draw(std::max(0, (kTextLeft - bitmap->Width()) / 2), (height() - bitmap->Height()) / 2, *bitmap);
    }
    canvas.Brush.Style = bsClear;
    canvas.Font.Color = ink;
    TRect text = Rect(kTextLeft, 0, width() - 8, height());
    DrawText(canvas, item_->Caption(), text, DT_SINGLELINE | DT_VCENTER);
    if (item_->ShortCut) DrawText(canvas, ShortCutText(item_), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    canvas.Brush.Style = bsSolid;
  }

  TMenuItem* item_;
  QWidgetAction* action_;
  bool hovered_ = false;
};

}  // namespace

// The item's picture as a menu icon, its transparent colour left out.
static QPixmap ItemIcon(TMenuItem* item) {
  TBitmap* bitmap = item->Bitmap();
  QImage image = bitmap->Image().convertToFormat(QImage::Format_ARGB32);
  if (bitmap->Transparent) {
    const uint32_t rgb = ColorToRGB(bitmap->TransparentColor());
    const QRgb key = qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF) & 0xFFFFFF;
    for (int row = 0; row < image.height(); ++row) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
      for (int col = 0; col < image.width(); ++col)
        if ((line[col] & 0xFFFFFF) == key) line[col] = 0;
    }
  }
  return QPixmap::fromImage(image);
}

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
    if (OwnerDraw && item->Count() > 0) {
      // A submenu opens from a standard entry; its own items are owner-drawn again.
      QMenu* sub = BuildQMenu(item, menu);
      sub->setTitle(ToQString(item->Caption()));  // Qt reads "&" and "&&" as the VCL does
      if (item->HasBitmap() && !item->Bitmap()->Empty()) sub->setIcon(ItemIcon(item));
      action = menu->addMenu(sub);
    } else if (OwnerDraw) {
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
      if (item->HasBitmap() && !item->Bitmap()->Empty()) action->setIcon(ItemIcon(item));
      if (item->Default) {
        QFont bold = action->font();
        bold.setBold(true);
        action->setFont(bold);
      }
    }
    action->setEnabled(item->Enabled);
    action->setToolTip(ToQString(item->Hint));
    action->setData(QVariant::fromValue(static_cast<void*>(item)));
    if (item->Count() == 0)
      QObject::connect(action, &QAction::triggered, menu, [item] { item->Click(); });
  }
  // Every owner-drawn entry takes the width of the widest, as a Windows menu does.
  int widest = 0;
  for (QAction* a : menu->actions())
    if (auto* w = qobject_cast<QWidgetAction*>(a)) widest = std::max(widest, w->defaultWidget()->width());
  // Standard entries (submenus) beside them set the least width too.
  bool standard = false;
  for (QAction* a : menu->actions()) standard |= !qobject_cast<QWidgetAction*>(a) && !a->isSeparator();
  if (standard && widest > 0) {
    const int frame = 2 * (menu->style()->pixelMetric(QStyle::PM_MenuHMargin, nullptr, menu) +
                            menu->style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, menu));
    widest = std::max(widest, menu->sizeHint().width() - frame);
  }
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

namespace {

// The shown Qt menu (or an open submenu of it) holding the action of the item.
QAction* FindShownAction(QMenu* menu, const TMenuItem* item, QMenu** owner) {
  if (!menu) return nullptr;
  for (QAction* action : menu->actions()) {
    if (action->data().value<void*>() == item) {
      *owner = menu;
      return action;
    }
    if (action->menu())
      if (QAction* found = FindShownAction(action->menu(), item, owner)) return found;
  }
  return nullptr;
}

}  // namespace

bool TPopupMenu::ShownItemRect(const TMenuItem* item, TRect& rect) const {
  QMenu* owner = nullptr;
  QAction* action = FindShownAction(FShown, item, &owner);
  if (!action || !owner->isVisible()) return false;
  const QRect r = owner->actionGeometry(action);
  const QPoint topLeft = owner->mapToGlobal(r.topLeft());
  rect = Rect(topLeft.x(), topLeft.y(), topLeft.x() + r.width(), topLeft.y() + r.height());
  return true;
}

bool TPopupMenu::OpenShownSubmenu(const TMenuItem* item) {
  QMenu* owner = nullptr;
  QAction* action = FindShownAction(FShown, item, &owner);
  if (!action || !action->menu() || !owner->isVisible()) return false;
  owner->setActiveAction(action);
  if (!action->menu()->isVisible()) {
    const QRect r = owner->actionGeometry(action);
    action->menu()->popup(owner->mapToGlobal(QPoint(r.right(), r.top())));
  }
  return true;
}

void TPopupMenu::ClickShownItem(const TMenuItem* item) {
  QMenu* owner = nullptr;
  if (QAction* action = FindShownAction(FShown, item, &owner)) action->trigger();
}

std::vector<QMenu*> TPopupMenu::ShownMenus() const {
  std::vector<QMenu*> menus;
  std::vector<QMenu*> pending;
  if (FShown) pending.push_back(FShown);
  while (!pending.empty()) {
    QMenu* menu = pending.back();
    pending.pop_back();
    if (!menu->isVisible()) continue;
    menus.push_back(menu);
    for (QAction* action : menu->actions())
      if (action->menu()) pending.push_back(action->menu());
  }
  return menus;
}
