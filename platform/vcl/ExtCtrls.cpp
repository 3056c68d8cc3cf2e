#include "platform/vcl/ExtCtrls.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <algorithm>

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner, new QFrame) {
  Widget()->resize(185, 41);
  SetColor(clBtnFace);
}

void TPanel::SetCaption(const System::WideString& caption) {
  TWinControl::SetCaption(caption);
}

bool TPanel::WidgetEvent(QEvent* event) {
  if (event->type() == QEvent::Paint && Widget()) {
    QPainter painter(Widget());
    TCanvas canvas;
    canvas.BindPainter(&painter);
    const TRect r = ClientRect();
    if (BevelOuter != bvNone) {
      const QColor light(255, 255, 255), dark(160, 160, 160);
      painter.setPen(BevelOuter == bvRaised ? light : dark);
      painter.drawLine(0, 0, r.Right - 1, 0);
      painter.drawLine(0, 0, 0, r.Bottom - 1);
      painter.setPen(BevelOuter == bvRaised ? dark : light);
      painter.drawLine(r.Right - 1, 0, r.Right - 1, r.Bottom - 1);
      painter.drawLine(0, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
    }
    if (!Caption().empty()) {
      canvas.Font = Font;
      TRect box = r;
      const uint32_t align = Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
      DrawText(canvas, Caption(), box, DT_SINGLELINE | DT_VCENTER | align);
    }
    canvas.BindPainter(nullptr);
    return true;
  }
  return TWinControl::WidgetEvent(event);
}

TSplitter::TSplitter(TComponent* AOwner) : TControl(AOwner, new QWidget) {
  Widget()->resize(3, 100);
  SetAlign(alLeft);
  SetCursor(crHSplit);
  FClickFromMouse = false;
}

TControl* TSplitter::Neighbour() const {
  // The last visible control of the same alignment placed before the splitter.
  if (!Parent()) return nullptr;
  TControl* found = nullptr;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    TControl* c = Parent()->Controls(i);
    if (c == this) break;
    if (c->Align() == Align() && c->Visible()) found = c;
  }
  return found;
}

void TSplitter::MoveBy(int delta) {
  TControl* n = Neighbour();
  if (!n || delta == 0) return;
  switch (Align()) {
    case alLeft: n->SetWidth(std::max(MinSize, n->Width() + delta)); break;
    case alRight: n->SetWidth(std::max(MinSize, n->Width() - delta)); break;
    case alTop: n->SetHeight(std::max(MinSize, n->Height() + delta)); break;
    case alBottom: n->SetHeight(std::max(MinSize, n->Height() - delta)); break;
    default: return;
  }
  if (Parent()) Parent()->AlignControls();
  if (OnMoved) OnMoved(this);
}

bool TSplitter::WidgetEvent(QEvent* event) {
  const bool horizontal = Align() == alTop || Align() == alBottom;
  if (event->type() == QEvent::MouseButtonPress) {
    const QPointF p = static_cast<QMouseEvent*>(event)->globalPosition();
    FDragStart = horizontal ? static_cast<int>(p.y()) : static_cast<int>(p.x());
  } else if (event->type() == QEvent::MouseMove && FDragStart >= 0) {
    const QPointF p = static_cast<QMouseEvent*>(event)->globalPosition();
    const int now = horizontal ? static_cast<int>(p.y()) : static_cast<int>(p.x());
    MoveBy(now - FDragStart);
    FDragStart = now;
  } else if (event->type() == QEvent::MouseButtonRelease) {
    FDragStart = -1;
  }
  return TControl::WidgetEvent(event);
}

TScrollBox::TScrollBox(TComponent* AOwner) : TWinControl(AOwner, new QScrollArea) {
  auto* area = static_cast<QScrollArea*>(Widget());
  area->setWidget(new QWidget);
  area->setWidgetResizable(false);
  Widget()->resize(185, 41);
}

QWidget* TScrollBox::ChildHost() const {
  auto* area = static_cast<QScrollArea*>(Widget());
  return area ? area->widget() : nullptr;
}

void TScrollBox::AlignControls() {
  // The content grows to hold every child; aligned children use the visible width and height.
  QWidget* host = ChildHost();
  if (!host) return;
  auto* area = static_cast<QScrollArea*>(Widget());
  int right = area->viewport()->width(), bottom = area->viewport()->height();
  // Top- and bottom-aligned children stack up and widen the range as the VCL's auto range
  // counts them; left- and right-aligned ones likewise across.
  int stackedHeight = 0, stackedWidth = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    if (c->Align() == alNone) {
      right = std::max(right, c->Left() + c->Width());
      bottom = std::max(bottom, c->Top() + c->Height());
    } else if (c->Align() == alTop || c->Align() == alBottom) {
      stackedHeight += c->Height();
    } else if (c->Align() == alLeft || c->Align() == alRight) {
      stackedWidth += c->Width();
    }
  }
  bottom = std::max(bottom, stackedHeight);
  right = std::max(right, stackedWidth);
  host->resize(right, bottom);
  TWinControl::AlignControls();
}

int TScrollBox::VertPosition() const { return static_cast<QScrollArea*>(Widget())->verticalScrollBar()->value(); }

void TScrollBox::SetVertPosition(int position) {
  static_cast<QScrollArea*>(Widget())->verticalScrollBar()->setValue(position);
}

bool TScrollBox::VertScrollBarVisible() const {
  // The bar shows while the content is higher than the visible area.
  return static_cast<QScrollArea*>(Widget())->verticalScrollBar()->maximum() > 0;
}

int TScrollBox::VertScrollBarSize() const { return static_cast<QScrollArea*>(Widget())->verticalScrollBar()->width(); }

void TScrollBox::SetVertScrollBarSize(int size) {
  static_cast<QScrollArea*>(Widget())->verticalScrollBar()->setFixedWidth(size);
}

TPaintBox::TPaintBox(TComponent* AOwner) : TControl(AOwner, new QWidget) { Widget()->resize(105, 105); }

bool TPaintBox::WidgetEvent(QEvent* event) {
  if (event->type() == QEvent::Paint && Widget()) {
    QPainter painter(Widget());
    FCanvas.BindPainter(&painter);
    if (OnPaint) OnPaint(this);
    FCanvas.BindPainter(nullptr);
    return true;
  }
  return TControl::WidgetEvent(event);
}

TImage::TImage(TComponent* AOwner) : TControl(AOwner, new QWidget) { Widget()->resize(105, 105); }

bool TImage::WidgetEvent(QEvent* event) {
  if (event->type() == QEvent::Paint && Widget()) {
    QPainter painter(Widget());
    TCanvas canvas;
    canvas.BindPainter(&painter);
    if (!FPicture.Empty()) {
      FPicture.Transparent = Transparent;
      if (Stretch) {
        canvas.StretchDraw(ClientRect(), FPicture);
      } else {
        const int x = Center ? (Width() - FPicture.Width()) / 2 : 0;
        const int y = Center ? (Height() - FPicture.Height()) / 2 : 0;
        canvas.Draw(x, y, FPicture);
      }
    }
    canvas.BindPainter(nullptr);
    return true;
  }
  return TControl::WidgetEvent(event);
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FTimer(new QTimer) {
  QObject::connect(FTimer, &QTimer::timeout, FTimer, [this] {
    if (OnTimer) OnTimer(this);
  });
  Update();
}

TTimer::~TTimer() { delete FTimer; }

void TTimer::SetEnabled(bool enabled) {
  FEnabled = enabled;
  Update();
}

void TTimer::SetInterval(int interval) {
  FInterval = interval;
  Update();
}

void TTimer::Update() {
  FTimer->stop();
  if (FEnabled && FInterval > 0) FTimer->start(FInterval);
}
