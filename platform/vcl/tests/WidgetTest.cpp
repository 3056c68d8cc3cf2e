// Widgets on the offscreen platform: tool buttons, track bars, modal loops, layout,
// ownership, monitors, cursors and shortcut keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSlider>
#include <QToolButton>

#include <atomic>
#include <thread>

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Screenshot.h"
#include "platform/vcl/Gauges.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"

namespace {

static_assert(sizeof(TComponent::Tag) == sizeof(void*), "Tag holds a pointer");

void UserClick(TControl* control) { static_cast<QToolButton*>(control->Widget())->click(); }

class ToolBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bar_ = new TToolBar(&form_);
    bar_->SetParent(&form_);
  }
  TToolButton* Button(TToolButtonStyle style, bool grouped = false, bool allowAllUp = false) {
    auto* b = new TTntToolButton(&form_);
    b->SetStyle(style);
    b->Grouped = grouped;
    b->AllowAllUp = allowAllUp;
    b->SetParent(bar_);
    b->OnClick = [this](TObject* sender) { log_.push_back({sender, static_cast<TToolButton*>(sender)->Down()}); };
    return b;
  }
  TForm form_{nullptr};
  TToolBar* bar_ = nullptr;
  std::vector<std::pair<TObject*, bool>> log_;  // (button, Down seen in OnClick)
};

TEST_F(ToolBarTest, CheckButtonsAndGroups) {
  TToolButton* plain = Button(tbsButton);
  TToolButton* check = Button(tbsCheck);
  TToolButton* a = Button(tbsCheck, true);
  TToolButton* b = Button(tbsCheck, true);
  TToolButton* sep = Button(tbsSeparator);
  TToolButton* c = Button(tbsCheck, true, true);  // a group of its own, all may be up
  TToolButton* d = Button(tbsCheck, true, true);

  struct Step {
    const char* what;
    TToolButton* click;  // user click; null: SetDown in code on `set`
    TToolButton* set;
    bool down;
    std::vector<bool> expected;  // Down of plain, check, a, b, c, d afterwards
    bool clickRuns;
  } steps[] = {
      {"plain button stays up", plain, nullptr, false, {false, false, false, false, false, false}, true},
      {"check goes down", check, nullptr, false, {false, true, false, false, false, false}, true},
      {"check comes up", check, nullptr, false, {false, false, false, false, false, false}, true},
      {"a down", a, nullptr, false, {false, false, true, false, false, false}, true},
      {"b releases a", b, nullptr, false, {false, false, false, true, false, false}, true},
      {"b stays down without AllowAllUp", b, nullptr, false, {false, false, false, true, false, false}, true},
      {"separator splits groups", c, nullptr, false, {false, false, false, true, true, false}, true},
      {"c comes up with AllowAllUp", c, nullptr, false, {false, false, false, true, false, false}, true},
      {"code: a down releases b, no OnClick", nullptr, a, true, {false, false, true, false, false, false}, false},
      {"code: check down, no OnClick", nullptr, check, true, {false, true, true, false, false, false}, false},
  };
  for (const auto& s : steps) {
    log_.clear();
    if (s.click) UserClick(s.click);
    else s.set->SetDown(s.down);
    const std::vector<bool> now = {plain->Down(), check->Down(), a->Down(), b->Down(), c->Down(), d->Down()};
    EXPECT_EQ(now, s.expected) << s.what;
    ASSERT_EQ(log_.size(), s.clickRuns ? 1u : 0u) << s.what;
    if (s.clickRuns) {
      // OnClick sees the new state.
      EXPECT_EQ(log_[0].second, static_cast<TToolButton*>(log_[0].first)->Down()) << s.what;
    }
    // The Qt button shows our state.
    for (TToolButton* t : {check, a, b, c, d})
      EXPECT_EQ(static_cast<QToolButton*>(t->Widget())->isChecked(), t->Down()) << s.what;
  }
  (void)sep;
  b->SetEnabled(false);
  log_.clear();
  b->Click();
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(bar_->ButtonCount(), 7);
  EXPECT_LT(a->Left(), b->Left());  // side by side in order
}

TEST(SpeedButtonTest, GroupIndex) {
  TForm form(nullptr);
  auto* x = new TTntSpeedButton(&form);
  auto* y = new TTntSpeedButton(&form);
  auto* plain = new TTntSpeedButton(&form);
  for (auto* b : {x, y, plain}) b->SetParent(&form);
  x->GroupIndex = y->GroupIndex = 3;
  UserClick(x);
  EXPECT_TRUE(x->Down());
  UserClick(y);
  EXPECT_FALSE(x->Down());
  EXPECT_TRUE(y->Down());
  UserClick(plain);
  EXPECT_FALSE(plain->Down());  // GroupIndex 0 never stays down
}

TEST(TrackBarTest, OnChangeRunsWhenPositionChanges) {
  TForm form(nullptr);
  auto* bar = new TTrackBar(&form);
  bar->SetParent(&form);
  bar->SetMax(100);
  std::vector<int> seen;
  bar->OnChange = [&](TObject* s) { seen.push_back(static_cast<TTrackBar*>(s)->Position()); };
  struct Case {
    int set;
    std::vector<int> expected;
  } cases[] = {{40, {40}}, {40, {}}, {150, {100}}, {-5, {0}}};
  for (const auto& c : cases) {
    seen.clear();
    bar->SetPosition(c.set);
    EXPECT_EQ(seen, c.expected) << c.set;
  }
  seen.clear();
  static_cast<QSlider*>(bar->Widget())->setValue(7);  // the user moves it
  EXPECT_EQ(seen, std::vector<int>{7});
  seen.clear();
  bar->SetMax(5);  // clamps the position, which is a change
  EXPECT_EQ(seen, std::vector<int>{5});
}

TEST(ModalTest, TimersAndSentMessagesAreServedInsideTheModalLoop) {
  TForm form(nullptr);
  auto* timer = new TTimer(&form);
  timer->SetInterval(1);
  int ticks = 0;
  timer->OnTimer = [&](TObject*) {
    if (++ticks == 3) form.SetModalResult(mrOk);
  };
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(form.Visible());
  timer->SetEnabled(false);

  // A message sent from another thread is answered while the modal form is up.
  std::atomic<platform::LResult> answer{0};
  platform::Window window([&](uint32_t message, platform::WParam w, platform::LParam) -> platform::LResult {
    if (message != 0x8001) return 0;
    form.SetModalResult(static_cast<int>(w));
    return 42;
  });
  std::thread sender;
  auto* start = new TTimer(&form);
  start->SetInterval(1);
  start->OnTimer = [&](TObject*) {
    start->SetEnabled(false);
    sender = std::thread([&] { answer = platform::SendMessage(window.Handle(), 0x8001, mrYes, 0); });
  };
  EXPECT_EQ(form.ShowModal(), mrYes);
  sender.join();
  EXPECT_EQ(answer.load(), 42);

  // A button's ModalResult ends the loop; closing gives mrCancel.
  auto* ok = new TTntButton(&form);
  ok->SetParent(&form);
  ok->ModalResult = mrOk;
  start->OnTimer = [&](TObject*) {
    start->SetEnabled(false);
    ok->Click();
  };
  start->SetEnabled(true);
  EXPECT_EQ(form.ShowModal(), mrOk);
  start->OnTimer = [&](TObject*) {
    start->SetEnabled(false);
    form.Close();
  };
  start->SetEnabled(true);
  EXPECT_EQ(form.ShowModal(), mrCancel);
}

TEST(HandleTest, FormsAnswerMessagesAndAreFoundByCaption) {
  TForm form(nullptr);
  form.SetCaption(L"Vistrel handle test");
  EXPECT_FALSE(form.HandleAllocated());
  form.WindowProc = [](uint32_t message, platform::WParam w, platform::LParam) -> platform::LResult {
    return message == 0x8002 ? static_cast<platform::LResult>(w * 2) : 0;
  };
  const platform::WindowHandle handle = form.Handle();
  EXPECT_EQ(form.Handle(), handle);
  EXPECT_EQ(platform::FindWindow("vistrel handle test"), handle);
  form.SetCaption(L"Renamed");
  EXPECT_EQ(platform::FindWindow("Renamed"), handle);
  // The GUI thread serves the send while it waits for events; the sender then posts a wake-up.
  std::atomic<platform::LResult> answer{0};
  std::atomic<bool> done{false};
  std::thread sender([&] {
    answer = platform::SendMessage(handle, 0x8002, 21, 0);
    done = true;
    platform::PostMessage(handle, 0x8003, 0, 0);
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  sender.join();
  EXPECT_EQ(answer.load(), 42);
}

TEST(LayoutTest, AlignAndAnchors) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* top = new TPanel(&form);
  auto* bottom = new TPanel(&form);
  auto* left = new TPanel(&form);
  auto* client = new TPanel(&form);
  auto* anchored = new TPanel(&form);
  top->SetHeight(30);
  bottom->SetHeight(20);
  left->SetWidth(50);
  anchored->SetBounds(300, 200, 50, 50);
  anchored->Anchors = akRight | akBottom;
  for (auto [c, a] : {std::pair<TControl*, TAlign>{client, alClient}, {top, alTop}, {bottom, alBottom},
                      {left, alLeft}, {anchored, alNone}}) {
    c->SetParent(&form);
    c->SetAlign(a);
  }
  struct Case {
    TControl* control;
    TRect expected;
  } cases[] = {
      {top, Rect(0, 0, 400, 30)},     {bottom, Rect(0, 280, 400, 300)}, {left, Rect(0, 30, 50, 280)},
      {client, Rect(50, 30, 400, 280)}, {anchored, Rect(300, 200, 350, 250)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.control->BoundsRect(), c.expected) << c.control;
  form.SetBounds(0, 0, 500, 350);
  QApplication::processEvents();
  EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 500, 330));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 330, 500, 350));
  EXPECT_EQ(anchored->BoundsRect(), Rect(400, 250, 450, 300));
  top->SetVisible(false);
  EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 50, 330));
}

TEST(LayoutTest, ChildIndexSetsTheAlignOrder) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 200);
  TPanel* panels[3];
  for (auto*& p : panels) {
    p = new TPanel(&form);
    p->SetHeight(40);
    p->SetParent(&form);
    p->SetAlign(alTop);
  }
  form.SetChildIndex(panels[2], 0);
  EXPECT_EQ(panels[2]->Top(), 0);
  EXPECT_EQ(panels[0]->Top(), 40);
  EXPECT_EQ(panels[1]->Top(), 80);
  EXPECT_EQ(form.ChildIndex(panels[1]), 2);
  form.SetChildIndex(panels[2], 99);  // clamped: the last place
  EXPECT_EQ(panels[2]->Top(), 80);
  EXPECT_EQ(form.ChildIndex(nullptr), -1);
}

TEST(LayoutTest, ScrollBoxRangeCountsTopAlignedChildren) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 200);
  auto* box = new TScrollBox(&form);
  box->SetParent(&form);
  box->SetAlign(alClient);
  form.Show();
  for (int i = 0; i < 4; ++i) {
    auto* p = new TPanel(&form);
    p->SetHeight(100);
    p->SetParent(box);
    p->SetAlign(alTop);
  }
  QApplication::processEvents();
  EXPECT_TRUE(box->VertScrollBarVisible());
  box->SetVertPosition(120);
  EXPECT_EQ(box->VertPosition(), 120);
  box->SetVertPosition(100000);  // clamped to the range
  EXPECT_GT(box->VertPosition(), 120);
  EXPECT_LT(box->VertPosition(), 400);
  box->SetVertScrollBarSize(24);
  EXPECT_EQ(box->VertScrollBarSize(), 24);
}

TEST(FocusTest, OnEnterRunsWhenAControlGetsTheFocus) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 200);
  auto* bar = new TTrackBar(&form);
  bar->SetParent(&form);
  int entered = 0;
  bar->OnEnter = [&](TObject*) { ++entered; };
  form.Show();
  QApplication::setActiveWindow(form.Widget());
  bar->SetFocus();
  QApplication::processEvents();
  EXPECT_TRUE(bar->Focused());
  EXPECT_EQ(entered, 1);
}

TEST(LayoutTest, AHiddenFormPlacesNestedChildrenAtOnce) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 200);
  auto* outer = new TPanel(&form);
  outer->SetParent(&form);
  outer->SetAlign(alClient);
  auto* header = new TPanel(&form);
  header->SetParent(outer);
  header->SetHeight(30);
  header->SetAlign(alTop);
  auto* inner = new TPanel(&form);
  inner->SetParent(outer);
  inner->SetAlign(alClient);
  auto* box = new TPaintBox(&form);
  box->SetParent(inner);
  box->SetAlign(alClient);
  // No resize event reaches a hidden form: the grandchildren follow each SetBounds.
  for (auto [w, h] : {std::pair{120, 90}, {300, 250}}) {
    form.SetBounds(0, 0, w, h);
    EXPECT_EQ(box->BoundsRect(), Rect(0, 0, w, h - 30)) << w;
  }
}

TEST(MouseTest, MovesReachOnMouseMoveWithoutAButtonHeld) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 100, 100);
  auto* box = new TPaintBox(&form);
  box->SetParent(&form);
  box->SetBounds(10, 10, 50, 50);
  std::vector<TPoint> seen;
  box->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { seen.push_back({x, y}); };
  form.Show();
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 7), QPointF(5, 7), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(box->Widget(), &move);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].x, 5);
  EXPECT_EQ(seen[0].y, 7);
  EXPECT_TRUE(box->Widget()->hasMouseTracking());
}

TEST(FormTest, AlphaBlendValueIsClampedAndKept) {
  TForm form(nullptr);
  EXPECT_FALSE(form.AlphaBlend());
  EXPECT_EQ(form.AlphaBlendValue(), 255);
  const std::pair<int, int> cases[] = {{127, 127}, {300, 255}, {-4, 0}, {0, 0}};
  form.SetAlphaBlend(true);
  for (auto [set, kept] : cases) {
    form.SetAlphaBlendValue(set);
    EXPECT_EQ(form.AlphaBlendValue(), kept) << set;
  }
}

TEST(OwnershipTest, OwnersFreeTheirComponents) {
  auto* form = new TForm(nullptr);
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  auto* label = new TTntLabel(form);
  label->SetParent(panel);
  label->SetName("lblTitle");
  label->Tag = reinterpret_cast<intptr_t>(form);
  EXPECT_EQ(form->FindComponent("LBLTITLE"), label);
  delete panel;  // the label stays owned by the form, without a parent
  EXPECT_EQ(label->Parent(), nullptr);
  EXPECT_EQ(form->ComponentCount(), 1);
  auto* gauge = new TCGauge(form);
  gauge->SetProgress(150);
  EXPECT_EQ(gauge->Progress(), 100);
  EXPECT_EQ(gauge->PercentDone(), 100);
  delete form;  // frees label and gauge (the sanitizer build sees leaks and double frees)
}

TEST(ScreenTest, MonitorsRealAndFake) {
  EXPECT_EQ(Screen->MonitorCount(), 1);  // the offscreen platform has one screen
  EXPECT_TRUE(Screen->Monitors(0)->Primary);
  Screen->SetFakeMonitors({Rect(0, 0, 1920, 1080), Rect(1920, -120, 3200, 904)});
  EXPECT_EQ(Screen->MonitorCount(), 2);
  EXPECT_EQ(Screen->DesktopRect(), Rect(0, -120, 3200, 1080));
  struct Case {
    TPoint p;
    int monitor;
  } cases[] = {{{10, 10}, 0}, {{2000, 0}, 1}, {{5000, 500}, 1}, {{-50, 500}, 0}, {{1919, 1079}, 0}};
  for (const auto& c : cases) EXPECT_EQ(Screen->MonitorFromPoint(c.p)->MonitorNum, c.monitor) << c.p.x;
  EXPECT_EQ(Screen->Monitors(2), nullptr);
  EXPECT_EQ(Screen->Monitors(1)->DeviceName, L"\\\\.\\DISPLAY2");
  struct Metric {
    int index, value;
  } metrics[] = {{SM_XVIRTUALSCREEN, 0}, {SM_YVIRTUALSCREEN, -120}, {SM_CXVIRTUALSCREEN, 3200},
                 {SM_CYVIRTUALSCREEN, 1200}, {SM_CMONITORS, 2}, {SM_CXSCREEN, 1920}, {SM_CYSCREEN, 1080}};
  for (const auto& m : metrics) EXPECT_EQ(GetSystemMetrics(m.index), m.value) << m.index;
  Screen->SetFakeMonitors({});
  EXPECT_EQ(Screen->MonitorCount(), 1);
}

TEST(ScreenTest, CursorsByNumber) {
  platform::ResourceModuleHandle module = platform::LoadResourceModule("Lingopack_Testish.dll");
  ASSERT_NE(module, nullptr);
  auto cursor = LoadCursorResource(module, L"CUR_ZOOM");
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->hotSpot(), QPoint(5, 3));
  EXPECT_EQ(LoadCursorResource(module, L"CUR_NONE"), nullptr);
  EXPECT_EQ(LoadCursorResource(module, L"CHECKER"), nullptr);
  platform::FreeResourceModule(module);

  Screen->SetCursorHandle(7, cursor);
  EXPECT_EQ(Screen->CursorFor(7).hotSpot(), QPoint(5, 3));
  TForm form(nullptr);
  auto* box = new TPaintBox(&form);
  box->SetParent(&form);
  box->SetCursor(7);
  EXPECT_EQ(box->Widget()->cursor().hotSpot(), QPoint(5, 3));
  Screen->SetCursorHandle(7, nullptr);  // removed: the arrow
  EXPECT_EQ(Screen->CursorFor(7).shape(), Qt::ArrowCursor);
  EXPECT_EQ(Screen->CursorFor(crHourGlass).shape(), Qt::WaitCursor);
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ApplicationEventsTest, ShortCutsReachTheHandlerFirst) {
  TForm form(nullptr);
  auto* edit = new TTntEdit(&form);
  edit->SetParent(&form);
  TApplicationEvents events(&form);
  std::vector<std::pair<uint16_t, TShiftState>> keys;
  events.OnShortCut = [&](uint16_t key, TShiftState shift, bool& handled) {
    keys.push_back({key, shift});
    handled = key == 'S';
  };
  QKeyEvent ctrlS(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, "s");
  QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::ShiftModifier);
  QKeyEvent plainA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  for (QKeyEvent* e : {&ctrlS, &f5, &plainA}) QApplication::sendEvent(edit->Widget(), e);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0], (std::pair<uint16_t, TShiftState>{'S', ssCtrl}));
  EXPECT_EQ(keys[1], (std::pair<uint16_t, TShiftState>{0x74, ssShift}));
  EXPECT_EQ(edit->Text(), L"a");  // the handled Ctrl+S never reached the edit
}

// A program's own hint window class, as the hint page's window is one.
class RecordingHint : public THintWindow {
 public:
  using THintWindow::THintWindow;
  void SetHintText(const System::AnsiString& text) override {
    texts.push_back(text);
    THintWindow::SetHintText(text);
  }
  static inline std::vector<System::AnsiString> texts;
  static inline int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    THintWindow::Paint();
  }
};

TEST(HintTest, HintsGoThroughTheInstalledWindowClass) {
  Application->ReleaseHintWindow();
  Application->HintWindowClass = [](TComponent* owner) { return new RecordingHint(owner); };
  TForm form(nullptr);
  auto* label = new TTntLabel(&form);
  label->SetParent(&form);
  label->SetHint(L"Study: M\u00fcller");
  auto* quiet = new TTntLabel(&form);
  quiet->SetParent(&form);
  quiet->SetHint(L"never shown");
  label->ShowHint = true;
  QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), QPoint(100, 100));
  QApplication::sendEvent(label->Widget(), &help);
  QHelpEvent helpQuiet(QEvent::ToolTip, QPoint(2, 2), QPoint(100, 100));
  QApplication::sendEvent(quiet->Widget(), &helpQuiet);  // ShowHint is off
  ASSERT_EQ(RecordingHint::texts.size(), 1u);
  EXPECT_EQ(RecordingHint::texts[0], "Study: M\xc3\xbcller");  // UTF-8, the 8-bit text here
  THintWindow* hint = Application->HintWindow();
  ASSERT_NE(dynamic_cast<RecordingHint*>(hint), nullptr);
  EXPECT_TRUE(hint->Widget()->isVisible());
  EXPECT_EQ(hint->Left(), 100);
  hint->Widget()->grab();
  EXPECT_EQ(RecordingHint::paints, 1);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(label->Widget(), &leave);
  EXPECT_FALSE(hint->Widget()->isVisible());
  Application->ReleaseHintWindow();
  Application->HintWindowClass = nullptr;
}

TEST(LockWindowUpdateTest, OneLockAtATime) {
  TForm form(nullptr);
  auto* a = new TPanel(&form);
  auto* b = new TPanel(&form);
  EXPECT_TRUE(LockWindowUpdate(a));
  EXPECT_FALSE(a->Widget()->updatesEnabled());
  EXPECT_FALSE(LockWindowUpdate(b));
  EXPECT_TRUE(b->Widget()->updatesEnabled());
  EXPECT_TRUE(LockWindowUpdate(nullptr));
  EXPECT_TRUE(a->Widget()->updatesEnabled());
  EXPECT_TRUE(LockWindowUpdate(b));
  delete b;  // a locked window that goes away releases the lock
  EXPECT_TRUE(LockWindowUpdate(a));
  LockWindowUpdate(nullptr);
}

TEST(CursorPosTest, SetThenGetGivesThePoint) {
  const TPoint saved = GetCursorPos();
  const TPoint points[] = {{10, 20}, {300, 5}, {0, 0}};
  for (const TPoint& p : points) {
    SetCursorPos(p.x, p.y);
    const TPoint got = GetCursorPos();
    EXPECT_EQ(got.x, p.x);
    EXPECT_EQ(got.y, p.y);
  }
  SetCursorPos(saved.x, saved.y);
}

// Moves reach OnMouseMove without a button held too, with the held buttons in the shift state.
TEST(MouseMoveTest, ButtonsHeldJoinTheShiftState) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  std::vector<int> got;
  form.OnMouseMove = [&](TObject*, TShiftState shift, int x, int) { got.push_back(shift * 1000 + x); };
  EXPECT_TRUE(form.Widget()->hasMouseTracking());
  const struct {
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers keys;
    int shift;
  } cases[] = {{Qt::NoButton, Qt::NoModifier, 0},
               {Qt::LeftButton, Qt::NoModifier, ssLeft},
               {Qt::RightButton | Qt::MiddleButton, Qt::ShiftModifier, ssRight | ssMiddle | ssShift}};
  for (const auto& c : cases) {
    QMouseEvent move(QEvent::MouseMove, QPointF(7, 3), QPointF(7, 3), Qt::NoButton, c.buttons, c.keys);
    QApplication::sendEvent(form.Widget(), &move);
  }
  EXPECT_EQ(got, (std::vector<int>{7, ssLeft * 1000 + 7, (ssRight | ssMiddle | ssShift) * 1000 + 7}));
}

// Offscreen the picture is rendered from the widgets: a red panel on a shown form.
TEST(ScreenshotTest, SavesThePictureOfAControl) {
  TForm form(nullptr);
  form.SetBounds(10, 10, 120, 80);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->BevelOuter = bvNone;
  panel->SetColor(clRed);
  panel->SetBounds(0, 0, 60, 40);
  form.Show();
  QApplication::processEvents();
  const std::string path = (QDir::tempPath() + "/vistrel_shot_" + QString::number(QCoreApplication::applicationPid()) +
                            ".png").toStdString();
  ASSERT_TRUE(SaveScreenshot(panel, path));
  QImage picture(QString::fromStdString(path));
  QFile::remove(QString::fromStdString(path));
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.width(), 60);
  EXPECT_EQ(picture.height(), 40);
  EXPECT_EQ(picture.pixelColor(30, 20), QColor(255, 0, 0));
  EXPECT_FALSE(SaveScreenshot(nullptr, path));
}

TEST(StandardControlsTest, TextsChecksAndRadios) {
  TForm form(nullptr);
  auto* edit = new TTntEdit(&form);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->SetText(L"Fran\u00e7ais \u4e2d");
  EXPECT_EQ(edit->Text(), L"Fran\u00e7ais \u4e2d");
  EXPECT_EQ(changes, 1);
  auto* group = new TTntGroupBox(&form);
  group->SetParent(&form);
  auto* r1 = new TTntRadioButton(&form);
  auto* r2 = new TTntRadioButton(&form);
  auto* check = new TTntCheckBox(&form);
  for (TControl* c : std::initializer_list<TControl*>{r1, r2, check}) c->SetParent(group);
  int clicks = 0;
  check->OnClick = [&](TObject*) { ++clicks; };
  r1->SetChecked(true);
  r2->Click();
  EXPECT_FALSE(r1->Checked());
  EXPECT_TRUE(r2->Checked());
  check->SetChecked(true);
  check->SetChecked(true);
  EXPECT_EQ(clicks, 1);
  auto* combo = new TTntComboBox(&form);
  combo->AddItem(L"One");
  combo->AddItem(L"Two");
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), L"Two");
}

}  // namespace

TEST(MemoTest, ScrollBarsFollowTheStyle) {
  TForm form(nullptr);
  TMemo memo(&form);
  memo.SetParent(&form);
  auto* edit = qobject_cast<QPlainTextEdit*>(memo.Widget());
  ASSERT_NE(edit, nullptr);
  const struct {
    TScrollStyle style;
    Qt::ScrollBarPolicy vertical, horizontal;
  } cases[] = {
      {ssNone, Qt::ScrollBarAlwaysOff, Qt::ScrollBarAlwaysOff},
      {ssVertical, Qt::ScrollBarAlwaysOn, Qt::ScrollBarAlwaysOff},
      {ssHorizontal, Qt::ScrollBarAlwaysOff, Qt::ScrollBarAlwaysOn},
      {ssBoth, Qt::ScrollBarAlwaysOn, Qt::ScrollBarAlwaysOn},
  };
  EXPECT_EQ(memo.ScrollBars(), ssNone);
  for (const auto& c : cases) {
    memo.SetScrollBars(c.style);
    EXPECT_EQ(memo.ScrollBars(), c.style);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), c.vertical) << c.style;
    EXPECT_EQ(edit->horizontalScrollBarPolicy(), c.horizontal) << c.style;
  }
}

TEST(LabelTest, AnAutoSizedLabelFitsItsTextInANewFont) {
  const struct {
    bool autoSize;
    bool grows;
  } cases[] = {{true, true}, {false, false}};
  for (const auto& c : cases) {
    TForm form(nullptr);
    TLabel label(&form);
    label.SetParent(&form);
    label.AutoSize = c.autoSize;
    label.Font.Size = 8;
    label.FontChanged();
    label.SetCaption(L"Reading the file set");
    const int width = label.Width(), height = label.Height();
    label.Font.Size = 20;
    label.FontChanged();
    EXPECT_EQ(label.Width() > width, c.grows) << c.autoSize;
    EXPECT_EQ(label.Height() > height, c.grows) << c.autoSize;
    EXPECT_EQ(label.Caption(), L"Reading the file set");
  }
}
