// vcl_demo <png>: builds a small form with a tool bar, a panel, a gauge, a track bar, a paint
// box and an owner-drawn popup menu with radio items, shows it, opens the menu and saves a
// picture of both. Under Xvfb (QT_QPA_PLATFORM=xcb) the picture is read back from the screen;
// on the offscreen platform the widgets are rendered and put together.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWidgetAction>
#include <QWindow>

#include <cstdio>

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gauges.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

namespace {

// A 16 x 16 tool picture drawn with the canvas, its magenta background transparent.
void AddPicture(TImageList* images, int kind) {
  TBitmap b;
  b.SetSize(16, 16);
  TCanvas* c = b.Canvas();
  c->Brush.Color = clFuchsia;
  c->FillRect(Rect(0, 0, 16, 16));
  c->Pen.Color = clNavy;
  c->Pen.Width = 2;
  c->Brush.Color = kind == 0 ? clYellow : kind == 1 ? clSkyBlue : kind == 2 ? clMoneyGreen : clCream;
  switch (kind) {
    case 0: c->Rectangle(1, 4, 15, 14); break;  // open: a folder
    case 1: c->MoveTo(3, 12); c->LineTo(12, 3); c->Rectangle(2, 2, 9, 9); break;  // zoom
    case 2: c->MoveTo(8, 1); c->LineTo(8, 15); c->MoveTo(1, 8); c->LineTo(15, 8); break;  // pan
    default: c->MoveTo(2, 13); c->LineTo(14, 3); c->Rectangle(1, 12, 4, 15); break;  // measure
  }
  images->AddMasked(&b, clFuchsia);
}

void Pump(const std::function<bool()>& ready) {
  QElapsedTimer clock;
  clock.start();
  while (!ready() && clock.elapsed() < 3000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  for (int i = 0; i < 10; ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vcl_demo <png>\n");
    return 2;
  }
  QApplication app(argc, argv);
  const bool xcb = QGuiApplication::platformName() == "xcb";

  TTntForm form(nullptr);
  form.SetCaption(L"Vistrel \u2013 VCL stand-in demo");
  form.SetBounds(40, 40, 560, 360);

  auto* images = new TImageList(&form);
  for (int i = 0; i < 4; ++i) AddPicture(images, i);
  auto* bar = new TToolBar(&form);
  bar->Images = images;
  bar->ButtonWidth = 28;
  bar->ButtonHeight = 26;
  bar->SetHeight(30);
  bar->SetParent(&form);
  const struct {
    const wchar_t* hint;
    TToolButtonStyle style;
    int image;
  } buttons[] = {{L"Open", tbsButton, 0}, {L"", tbsSeparator, -1}, {L"Zoom", tbsCheck, 1},
                 {L"Pan", tbsCheck, 2},   {L"Measure", tbsCheck, 3}};
  TToolButton* pan = nullptr;
  for (const auto& b : buttons) {
    auto* button = new TTntToolButton(&form);
    button->SetStyle(b.style);
    button->Grouped = b.style == tbsCheck;
    button->SetParent(bar);
    button->SetImageIndex(b.image);
    button->SetHint(b.hint);
    if (std::wstring(b.hint) == L"Pan") pan = button;
  }
  pan->SetDown(true);

  auto* status = new TTntPanel(&form);
  status->SetHeight(22);
  status->SetAlign(alBottom);
  status->Alignment = taLeftJustify;
  status->SetCaption(L"  Ready \u2013 3 studies, 12 series");
  status->SetParent(&form);

  auto* side = new TTntPanel(&form);
  side->SetWidth(170);
  side->SetAlign(alLeft);
  side->SetParent(&form);
  auto* title = new TTntLabel(&form);
  title->Font.Style = fsBold;
  title->FontChanged();
  title->SetCaption(L"Patient: M\u00fcller^Anna");
  title->SetParent(side);
  title->SetBounds(10, 10, 150, 16);
  auto* loading = new TTntLabel(&form);
  loading->SetCaption(L"Loading series 2 of 3");
  loading->SetParent(side);
  loading->SetBounds(10, 40, 150, 16);
  auto* gauge = new TCGauge(&form);
  gauge->SetParent(side);
  gauge->SetBounds(10, 60, 150, 18);
  gauge->SetProgress(65);
  auto* level = new TTntLabel(&form);
  level->SetCaption(L"Window level");
  level->SetParent(side);
  level->SetBounds(10, 95, 150, 16);
  auto* track = new TTrackBar(&form);
  track->SetParent(side);
  track->SetBounds(5, 112, 160, 40);
  track->SetMax(100);
  track->SetPosition(40);

  auto* splitter = new TSplitter(&form);
  splitter->SetParent(&form);

  auto* view = new TPaintBox(&form);
  view->SetAlign(alClient);
  view->SetParent(&form);
  view->OnPaint = [view](TObject*) {
    TCanvas* c = view->Canvas();
    GradientFill(*c, view->ClientRect(), 0x402010, clBlack, true);
    c->Font.Color = clWhite;
    c->Font.Size = 11;
    TRect r = view->ClientRect();
    DrawText(*c, L"Stack 1 of 3 \u2013 CT Thorax", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    c->Pen.Color = clLime;
    c->MoveTo(20, r.Bottom - 20);
    c->LineTo(120, r.Bottom - 20);
    c->Brush.Style = bsClear;
    c->Font.Size = 8;
    c->TextOut(20, r.Bottom - 38, L"100 mm");
  };

  // The popup: three radio items of one group, owner-drawn, with a divider and shortcuts.
  auto* popup = new TTntPopupMenu(&form);
  popup->OwnerDraw = true;
  const struct {
    const wchar_t* caption;
    bool radio;
    TShortCut shortcut;
    bool enabled;
  } items[] = {{L"Matrix &1 x 1", true, ShortCut('1', ssCtrl), true},
               {L"Matrix &2 x 2", true, ShortCut('2', ssCtrl), true},
               {L"Matrix &3 x 3", true, ShortCut('3', ssCtrl), true},
               {L"-", false, 0, true},
               {L"&Fit to screen", false, ShortCut(0x70 + 5, 0), true},
               {L"Show &overlay", false, 0, true},
               {L"Send to &printer", false, 0, false}};
  TMenuItem* overlay = nullptr;
  for (const auto& it : items) {
    auto* item = new TTntMenuItem(popup);
    item->SetCaption(it.caption);
    item->RadioItem = it.radio;
    item->AutoCheck = true;
    item->ShortCut = it.shortcut;
    item->Enabled = it.enabled;
    popup->Items()->Add(item);
    if (std::wstring(it.caption) == L"Show &overlay") overlay = item;
    item->OnMeasureItem = [item](TObject*, TCanvas* c, int& width, int& height) {
      width = c->TextWidth(StripHotkey(item->Caption())) + c->TextWidth(L"Ctrl+0") + 70;
      height = item->IsLine() ? 7 : 22;
    };
    item->OnAdvancedDrawItem = [item](TObject*, TCanvas* c, const TRect& r, TOwnerDrawState state) {
      c->Brush.Color = 0xF8F4F0;
      c->FillRect(r);
      if (item->IsLine()) {
        c->Pen.Color = clSilver;
        c->MoveTo(r.Left + 26, r.Top + 3);
        c->LineTo(r.Right - 4, r.Top + 3);
        return;
      }
      if (state & odSelected) GradientFill(*c, Rect(r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom - 1), 0xF0C080, 0xC07030, false);
      if (state & odChecked) {
        c->Brush.Color = item->RadioItem ? clNavy : 0x208020;
        if (item->RadioItem) {
          c->Rectangle(r.Left + 8, r.Top + 8, r.Left + 15, r.Top + 15);
        } else {
          c->Pen.Color = 0x208020;
          c->Pen.Width = 2;
          c->MoveTo(r.Left + 7, r.Top + 11);
          c->LineTo(r.Left + 10, r.Top + 15);
          c->LineTo(r.Left + 17, r.Top + 6);
          c->Pen.Width = 1;
        }
      }
      c->Font.Color = (state & odDisabled) ? clGray : (state & odSelected) ? clWhite : clBlack;
      TRect text = Rect(r.Left + 26, r.Top, r.Right - 8, r.Bottom);
      DrawText(*c, item->Caption(), text, DT_SINGLELINE | DT_VCENTER);
      if (item->ShortCut) {
        const std::string s = ShortCutToText(item->ShortCut);
        DrawText(*c, std::wstring(s.begin(), s.end()), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
      }
    };
  }
  popup->Items()->Items(1)->Click();  // 2 x 2 checked
  overlay->SetChecked(true);
  view->PopupMenu = popup;

  form.Show();
  Pump([&] { return form.Widget()->windowHandle() && form.Widget()->windowHandle()->isExposed(); });
  const TPoint at = view->ClientToScreen(Point(140, 60));
  popup->Popup(at.x, at.y);
  QMenu* menu = popup->Shown();
  Pump([&] { return menu->windowHandle() && menu->windowHandle()->isExposed(); });
  // Hover the third entry so the picture shows a selected item.
  QWidget* hovered = static_cast<QWidgetAction*>(menu->actions()[2])->defaultWidget();
  QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
  QApplication::sendEvent(hovered, &enter);
  Pump([] { return false; });

  const QRect formFrame = form.Widget()->frameGeometry();
  const QRect menuRect = menu->geometry();
  const QRect all = formFrame.united(menuRect).adjusted(-10, -10, 10, 10);
  QImage picture;
  if (xcb) picture = QGuiApplication::primaryScreen()->grabWindow(0, all.x(), all.y(), all.width(), all.height()).toImage();
  if (picture.isNull() || !xcb) {
    picture = QImage(all.size(), QImage::Format_RGB32);
    picture.fill(QColor(90, 100, 110));
    QPainter p(&picture);
    p.drawPixmap(form.Widget()->geometry().topLeft() - all.topLeft(), form.Widget()->grab());
    p.drawPixmap(menuRect.topLeft() - all.topLeft(), menu->grab());
  }
  QDir().mkpath(QFileInfo(QString::fromLocal8Bit(argv[1])).absolutePath());
  if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("screenshot (%s): %s\n", xcb ? "Xvfb" : "offscreen", argv[1]);
  menu->close();
  return 0;
}
