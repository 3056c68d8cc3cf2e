// Menu items behave as the context menus rely on, through code and through the Qt menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QWidgetAction>

#include "platform/vcl/Menus.h"

namespace {

class MenuTest : public ::testing::Test {
 protected:
  TTntMenuItem* Item(const wchar_t* caption, bool radio = false, bool autoCheck = false, uint8_t group = 0) {
    auto* item = new TTntMenuItem(&popup_);
    item->SetCaption(caption);
    item->RadioItem = radio;
    item->AutoCheck = autoCheck;
    item->GroupIndex = group;
    return item;
  }
  TTntPopupMenu popup_{nullptr};
};

TEST_F(MenuTest, ClickRules) {
  struct Case {
    const char* what;
    bool enabled, autoCheck, checkedBefore;
    bool clickRuns, checkedInHandler, checkedAfter;
  } cases[] = {
      {"plain", true, false, false, true, false, false},
      {"auto-check flips before OnClick", true, true, false, true, true, true},
      {"auto-check unchecks", true, true, true, true, false, false},
      {"disabled does nothing", false, true, false, false, false, false},
      {"disabled keeps a check", false, true, true, false, false, true},
  };
  for (const auto& c : cases) {
    TTntMenuItem* item = Item(L"Item", false, c.autoCheck);
    popup_.Items()->Add(item);
    item->Enabled = c.enabled;
    item->SetChecked(c.checkedBefore);
    bool ran = false, seen = false;
    item->OnClick = [&](TObject* sender) {
      ran = true;
      seen = static_cast<TMenuItem*>(sender)->Checked();
    };
    item->Click();
    EXPECT_EQ(ran, c.clickRuns) << c.what;
    if (ran) {
      EXPECT_EQ(seen, c.checkedInHandler) << c.what;
    }
    EXPECT_EQ(item->Checked(), c.checkedAfter) << c.what;
    delete item;
  }
  EXPECT_EQ(popup_.Items()->Count(), 0);
}

TEST_F(MenuTest, RadioItemsClearTheirGroupWhileInAMenu) {
  TMenuItem* root = popup_.Items();
  TTntMenuItem* a = Item(L"A", true, true, 1);
  TTntMenuItem* b = Item(L"B", true, true, 1);
  TTntMenuItem* c = Item(L"C", true, true, 2);    // another group
  TTntMenuItem* d = Item(L"D", false, true, 1);   // not a radio item
  TTntMenuItem* sub = Item(L"Sub");
  TTntMenuItem* e = Item(L"E", true, true, 1);    // same group, other parent
  for (auto* item : {a, b, c, d, sub}) root->Add(item);
  sub->Add(e);
  for (auto* item : {a, c, d, e}) item->SetChecked(true);

  b->Click();  // auto-check radio item
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(c->Checked());
  EXPECT_TRUE(d->Checked());
  EXPECT_TRUE(e->Checked());

  // Out of the menu an item clears nothing, and stays checked when put back.
  root->Remove(a);
  a->SetChecked(true);
  EXPECT_TRUE(b->Checked());
  root->Insert(0, a);
  EXPECT_TRUE(a->Checked());
  EXPECT_TRUE(b->Checked());
  a->SetChecked(true);  // now in the menu: clears b
  EXPECT_FALSE(b->Checked());
  a->SetChecked(false);  // unchecking touches no sibling
  EXPECT_FALSE(b->Checked());
}

TEST_F(MenuTest, TreeRules) {
  TTntPopupMenu other(nullptr);
  TTntMenuItem* item = Item(L"Item");
  popup_.Items()->Add(item);
  EXPECT_THROW(other.Items()->Add(item), EMenuError);
  EXPECT_THROW(popup_.Items()->Insert(0, item), EMenuError);
  EXPECT_EQ(item->GetParentMenu(), &popup_);
  popup_.Items()->Remove(item);
  EXPECT_EQ(item->GetParentMenu(), nullptr);
  other.Items()->Insert(0, item);
  EXPECT_EQ(item->Parent(), other.Items());

  // Destroying an item takes it out of its menu and destroys its sub-items.
  TTntMenuItem* parent = Item(L"Parent");
  auto* child = new TTntMenuItem(nullptr);  // no owner: only the parent frees it
  parent->Add(child);
  popup_.Items()->Add(parent);
  const int components = popup_.ComponentCount();
  delete parent;
  EXPECT_EQ(popup_.Items()->Count(), 0);
  EXPECT_EQ(popup_.ComponentCount(), components - 1);
  delete item;
  EXPECT_EQ(other.Items()->Count(), 0);

  // Run-time items may share a name; the first is found.
  TTntMenuItem* d1 = Item(L"-");
  TTntMenuItem* d2 = Item(L"-");
  d1->SetName("Divider0");
  d2->SetName("Divider0");
  EXPECT_EQ(popup_.FindComponent("Divider0"), d1);
  EXPECT_THROW(popup_.Items()->Insert(5, d1), EMenuError);
  // The popup frees every item it owns, in a menu or not (leaks and double frees show in
  // the sanitizer build).
  popup_.Items()->Add(d1);
}

TEST_F(MenuTest, QtMenuShowsCaptionsShortcutsDividersAndChecks) {
  TMenuItem* root = popup_.Items();
  TTntMenuItem* open = Item(L"&Open");
  open->ShortCut = ShortCut('O', ssCtrl);
  TTntMenuItem* line = Item(L"-");
  TTntMenuItem* mark = Item(L"Mark", false, true);
  mark->SetChecked(true);
  TTntMenuItem* off = Item(L"Off");
  off->Enabled = false;
  for (auto* item : {open, line, mark, off}) root->Add(item);
  int clicks = 0;
  mark->OnClick = [&](TObject*) { ++clicks; };
  off->OnClick = [&](TObject*) { ++clicks; };

  popup_.Popup(10, 10);
  QMenu* menu = popup_.Shown();
  ASSERT_NE(menu, nullptr);
  const QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), 4);
  EXPECT_EQ(actions[0]->text(), QString("&Open\tCtrl+O"));
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_TRUE(actions[2]->isChecked());
  EXPECT_FALSE(actions[3]->isEnabled());
  EXPECT_EQ(StripHotkey(L"&Save && close"), L"Save & close");

  actions[2]->trigger();  // as the user's choice
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(mark->Checked());
  actions[3]->trigger();  // a disabled entry runs nothing even when triggered
  EXPECT_EQ(clicks, 1);
  menu->close();
  QApplication::processEvents();
}

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredAndPaintedWithTheirState) {
  popup_.OwnerDraw = true;
  TTntMenuItem* plain = Item(L"Plain");
  TTntMenuItem* checked = Item(L"Checked", true);
  TTntMenuItem* grey = Item(L"Grey");
  grey->Enabled = false;
  for (auto* item : {plain, checked, grey}) popup_.Items()->Add(item);
  checked->SetChecked(true);
  std::map<TObject*, TOwnerDrawState> states;
  std::map<TObject*, TRect> rects;
  for (auto* item : {plain, checked, grey}) {
    item->OnMeasureItem = [](TObject*, TCanvas* canvas, int& width, int& height) {
      width = canvas->TextWidth(L"Measured width") + 40;
      height = 24;
    };
    item->OnAdvancedDrawItem = [&](TObject* sender, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
      states[sender] = state;
      rects[sender] = rect;
      canvas->Brush.Color = (state & odSelected) ? clHighlight : clMenu;
      canvas->FillRect(rect);
    };
  }
  popup_.Popup(0, 0);
  QMenu* menu = popup_.Shown();
  ASSERT_NE(menu, nullptr);
  const QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), 3);
  std::vector<QWidget*> widgets;
  for (QAction* a : actions) widgets.push_back(static_cast<QWidgetAction*>(a)->defaultWidget());
  for (QWidget* w : widgets) {
    EXPECT_EQ(w->height(), 24);
    EXPECT_EQ(w->width(), widgets[0]->width());  // all as wide as the widest
    EXPECT_GT(w->width(), 40);
    w->grab();  // paints
  }
  EXPECT_EQ(states[plain], 0);
  EXPECT_EQ(states[checked], odChecked);
  EXPECT_EQ(states[grey], odGrayed | odDisabled);
  EXPECT_EQ(rects[plain], Rect(0, 0, widgets[0]->width(), 24));

  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(widgets[0], &enter);
  widgets[0]->grab();
  EXPECT_EQ(states[plain], odSelected);
  QEnterEvent enterGrey(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(widgets[2], &enterGrey);
  widgets[2]->grab();
  EXPECT_EQ(states[grey], odGrayed | odDisabled);  // a disabled item is never selected

  int clicks = 0;
  plain->OnClick = [&](TObject*) { ++clicks; };
  actions[0]->trigger();
  EXPECT_EQ(clicks, 1);
  menu->close();
  QApplication::processEvents();
}

}  // namespace
