#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrls.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QHelpEvent>
#include <QPainter>
#include <QPointer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"

QString ToQString(const System::WideString& text) {
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(text.data()), static_cast<qsizetype>(text.size()));
}

System::WideString FromQString(const QString& text) {
  const QList<uint> units = text.toUcs4();
  return System::WideString(units.begin(), units.end());
}

// Hands the widget's events to its control and tells the control when Qt has destroyed the
// widget (with a parent widget) before the control.
class ControlFilter : public QObject {
 public:
  ControlFilter(TControl* control, QWidget* widget) : QObject(widget), control_(control) {
    widget->installEventFilter(this);
  }
  ~ControlFilter() override {
    if (control_) control_->FWidget = nullptr;
  }
  void Detach() { control_ = nullptr; }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (control_ && watched == control_->FWidget) return control_->WidgetEvent(event);
    return false;
  }

 private:
  TControl* control_;
};

uint16_t VirtualKeyFromQtKey(int key) {
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return static_cast<uint16_t>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<uint16_t>(0x70 + key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    default: return 0;
  }
}

TShiftState ShiftOfQt(int modifiers) {
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  return s;
}

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers m) {
  TShiftState s = 0;
  if (m & Qt::ShiftModifier) s |= ssShift;
  if (m & Qt::ControlModifier) s |= ssCtrl;
  if (m & Qt::AltModifier) s |= ssAlt;
  return s;
}

TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons buttons) {
  TShiftState s = ShiftOf(m);
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

TMouseButton ButtonOf(Qt::MouseButton b) {
  return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

}  // namespace

TControl::TControl(TComponent* AOwner, QWidget* widget) : TComponent(AOwner), FWidget(widget) {
  FFilter = new ControlFilter(this, widget);
  // OnMouseMove runs whenever the pointer moves over the control, a button held or not.
  if (widget) widget->setMouseTracking(true);
}

TControl::~TControl() {
  if (FParent) {
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  if (FWidget) {
    FFilter->Detach();
    QWidget* widget = FWidget;
    FWidget = nullptr;
    delete widget;
  }
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) {
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    FParent->AlignControls();
  }
  FParent = parent;
  if (!FWidget) return;
  const QRect geometry = FWidget->geometry();
  FWidget->setParent(parent ? parent->ChildHost() : nullptr);
  FWidget->setGeometry(geometry);
  if (parent) {
    parent->FControls.push_back(this);
    FWidget->setVisible(FVisible);
    parent->AlignControls();
  }
}

int TControl::Left() const { return FWidget ? FWidget->x() : 0; }
int TControl::Top() const { return FWidget ? FWidget->y() : 0; }
int TControl::Width() const { return FWidget ? FWidget->width() : 0; }
int TControl::Height() const { return FWidget ? FWidget->height() : 0; }

void TControl::SetBounds(int left, int top, int width, int height) {
  if (!FWidget) return;
  FWidget->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
  // A hidden widget gets its resize event only when shown: place the children now.
  if (auto* self = dynamic_cast<TWinControl*>(this)) self->AlignControls();
  if (FParent && FAlign != alNone) FParent->AlignControls();
}

TPoint TControl::ClientToScreen(const TPoint& p) const {
  if (!FWidget) return p;
  const QPoint g = FWidget->mapToGlobal(QPoint(p.x, p.y));
  return {g.x(), g.y()};
}

TPoint TControl::ScreenToClient(const TPoint& p) const {
  if (!FWidget) return p;
  const QPoint l = FWidget->mapFromGlobal(QPoint(p.x, p.y));
  return {l.x(), l.y()};
}

void TControl::SetAlign(TAlign align) {
  FAlign = align;
  if (FParent) FParent->AlignControls();
}

void TControl::SetVisible(bool visible) {
  FVisible = visible;
  if (FWidget && (FParent || FWidget->isWindow())) FWidget->setVisible(visible);
  if (FParent) FParent->AlignControls();
}

void TControl::SetEnabled(bool enabled) {
  FEnabled = enabled;
  if (FWidget) FWidget->setEnabled(enabled);
}

void TControl::SetCaption(const System::WideString& caption) {
  FCaption = caption;
  if (FWidget) FWidget->update();
}

void TControl::SetHint(const System::WideString& hint) { FHint = hint; }

void TControl::SetColor(TColor color) {
  FColor = color;
  if (!FWidget) return;
  QPalette palette = FWidget->palette();
  const uint32_t rgb = ColorToRGB(color);
  palette.setColor(QPalette::Window, QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
  FWidget->setPalette(palette);
  FWidget->setAutoFillBackground(true);
}

void TControl::FontChanged() {
  if (!FWidget) return;
  FWidget->setFont(Font.ToQFont());
  QPalette palette = FWidget->palette();
  const uint32_t rgb = ColorToRGB(Font.Color);
  palette.setColor(QPalette::WindowText, QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
  palette.setColor(QPalette::ButtonText, QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
  FWidget->setPalette(palette);
  // An auto-sized label fits its text in the new font, as it does for a new caption.
  if (auto* label = dynamic_cast<TLabel*>(this); label && label->AutoSize) label->SetCaption(label->Caption());
}

void TControl::SetCursor(TCursor cursor) {
  FCursor = cursor;
  if (FWidget) FWidget->setCursor(Screen->CursorFor(cursor));
}

void TControl::Invalidate() {
  if (FWidget) FWidget->update();
}

void TControl::Repaint() {
  if (FWidget) FWidget->repaint();
}

void TControl::BringToFront() {
  if (FWidget) FWidget->raise();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

bool TControl::WidgetEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::Resize:
      if (OnResize) OnResize(this);
      return false;
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (OnMouseDown)
        OnMouseDown(this, ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()), e->position().toPoint().x(),
                    e->position().toPoint().y());
      return false;
    }
    case QEvent::MouseButtonRelease: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (OnMouseUp)
        OnMouseUp(this, ButtonOf(e->button()), ShiftOf(e->modifiers()), e->position().toPoint().x(),
                  e->position().toPoint().y());
      if (FClickFromMouse && e->button() == Qt::LeftButton && FEnabled && FWidget &&
          FWidget->rect().contains(e->position().toPoint()))
        Click();
      return false;
    }
    case QEvent::MouseButtonDblClick:
      if (OnDblClick) OnDblClick(this);
      return false;
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      if (OnMouseMove)
        OnMouseMove(this, ShiftOf(e->modifiers(), e->buttons()), e->position().toPoint().x(), e->position().toPoint().y());
      return false;
    }
    case QEvent::ToolTip:
      if (ShowHint && !FHint.empty()) {
        Application->ActivateHint(this, static_cast<QHelpEvent*>(event)->globalPos().x(),
                                  static_cast<QHelpEvent*>(event)->globalPos().y());
        return true;
      }
      return false;
    case QEvent::Leave:
      Application->CancelHint(this);
      return false;
    case QEvent::ContextMenu:
      if (PopupMenu) {
        auto* e = static_cast<QContextMenuEvent*>(event);
        PopupMenu->PopupComponent = this;
        PopupMenu->Popup(e->globalPos().x(), e->globalPos().y());
        return true;
      }
      return false;
    default:
      return false;
  }
}

TWinControl::~TWinControl() {
  // Children lose their parent; their widgets go with this control's widget.
  for (TControl* child : FControls) child->FParent = nullptr;
  FControls.clear();
}

void TWinControl::AlignControls() {
  QWidget* host = ChildHost();
  if (!host) return;
  const int width = host->width(), height = host->height();
  // Anchors: keep the distance to the right and bottom edges of the old client area.
  if (FLastWidth >= 0) {
    const int dw = width - FLastWidth, dh = height - FLastHeight;
    for (TControl* c : FControls) {
      if (c->Align() != alNone || !c->Widget() || (dw == 0 && dh == 0)) continue;
      QRect g = c->Widget()->geometry();
      if (c->Anchors & akRight) {
        if (c->Anchors & akLeft) g.setWidth(std::max(0, g.width() + dw));
        else g.moveLeft(g.left() + dw);
      }
      if (c->Anchors & akBottom) {
        if (c->Anchors & akTop) g.setHeight(std::max(0, g.height() + dh));
        else g.moveTop(g.top() + dh);
      }
      c->Widget()->setGeometry(g);
    }
  }
  FLastWidth = width;
  FLastHeight = height;

  QRect client(0, 0, width, height);
  auto place = [&](TAlign align) {
    for (TControl* c : FControls) {
      QWidget* w = c->Widget();
      if (c->Align() != align || !c->Visible() || !w) continue;
      switch (align) {
        case alTop:
          w->setGeometry(client.left(), client.top(), client.width(), w->height());
          client.setTop(client.top() + w->height());
          break;
        case alBottom:
          w->setGeometry(client.left(), client.bottom() + 1 - w->height(), client.width(), w->height());
          client.setBottom(client.bottom() - w->height());
          break;
        case alLeft:
          w->setGeometry(client.left(), client.top(), w->width(), std::max(0, client.height()));
          client.setLeft(client.left() + w->width());
          break;
        case alRight:
          w->setGeometry(client.right() + 1 - w->width(), client.top(), w->width(), std::max(0, client.height()));
          client.setRight(client.right() - w->width());
          break;
        case alClient:
          w->setGeometry(client.left(), client.top(), std::max(0, client.width()), std::max(0, client.height()));
          break;
        default:
          break;
      }
      // Nested controls are placed at once too: a hidden widget gets no resize event until
      // it is shown, and the VCL aligns synchronously.
      if (auto* nested = dynamic_cast<TWinControl*>(c)) nested->AlignControls();
    }
  };
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) place(a);
  // A hidden window gets no resize events: place the children's children now as well.
  for (TControl* c : FControls) {
    auto* child = dynamic_cast<TWinControl*>(c);
    QWidget* childHost = child ? child->ChildHost() : nullptr;
    if (childHost && (childHost->width() != child->FLastWidth || childHost->height() != child->FLastHeight))
      child->AlignControls();
  }
}

platform::WindowHandle TWinControl::Handle() {
  if (!FWindow) {
    const std::string title = ToQString(Caption()).toUtf8().toStdString();
    FWindow = std::make_unique<platform::Window>(
        [this](uint32_t message, platform::WParam w, platform::LParam l) -> platform::LResult {
          return WindowProc ? WindowProc(message, w, l) : 0;
        },
        dynamic_cast<TCustomForm*>(this) ? title : std::string());
  }
  return FWindow->Handle();
}

void TWinControl::SetWindowTitle(const System::WideString& title) {
  if (FWindow) FWindow->SetTitle(ToQString(title).toUtf8().toStdString());
}

void TWinControl::SetFocus() {
  if (Widget()) Widget()->setFocus();
}

bool TWinControl::Focused() const { return Widget() && Widget()->hasFocus(); }

void TWinControl::SetChildIndex(TControl* child, int index) {
  auto it = std::find(FControls.begin(), FControls.end(), child);
  if (it == FControls.end()) return;
  FControls.erase(it);
  index = std::clamp(index, 0, static_cast<int>(FControls.size()));
  FControls.insert(FControls.begin() + index, child);
  AlignControls();
}

int TWinControl::ChildIndex(const TControl* child) const {
  auto it = std::find(FControls.begin(), FControls.end(), child);
  return it == FControls.end() ? -1 : static_cast<int>(it - FControls.begin());
}

bool TWinControl::WidgetEvent(QEvent* event) {
  if (event->type() == QEvent::Resize) AlignControls();
  if (event->type() == QEvent::FocusIn && OnEnter) OnEnter(this);
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    auto* e = static_cast<QKeyEvent*>(event);
    uint16_t key = VirtualKeyFromQtKey(e->key());
    auto& handler = event->type() == QEvent::KeyPress ? OnKeyDown : OnKeyUp;
    if (handler) {
      handler(this, key, ShiftOf(e->modifiers()));
      if (key == 0) return true;
    }
  }
  return TControl::WidgetEvent(event);
}

namespace {
QPointer<QWidget> lockedWindow;
}  // namespace

TPoint GetCursorPos() {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

void SetCursorPos(int x, int y) { QCursor::setPos(x, y); }

bool LockWindowUpdate(TWinControl* control) {
  if (!control) {
    if (lockedWindow) {
      lockedWindow->setUpdatesEnabled(true);
      lockedWindow->update();
    }
    lockedWindow = nullptr;
    return true;
  }
  if (lockedWindow || !control->Widget()) return false;
  lockedWindow = control->Widget();
  lockedWindow->setUpdatesEnabled(false);
  return true;
}

THintWindow::THintWindow(TComponent* AOwner)
    : TWinControl(AOwner, new QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)) {
  SetVisible(false);
  SetColor(clInfoBk);
}

void THintWindow::SetHintText(const System::AnsiString& text) {
  FText = text;
  TControl::SetCaption(FromQString(QString::fromUtf8(text.c_str())));
}

TRect THintWindow::CalcHintRect(int maxWidth, const System::AnsiString& hint) {
  FCanvas.Font = Font;
  TRect r = Rect(0, 0, maxWidth, 0);
  DrawText(FCanvas, FromQString(QString::fromUtf8(hint.c_str())), r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
  r.Right += 6;
  r.Bottom += 2;
  return r;
}

void THintWindow::ActivateHint(const TRect& rect, const System::AnsiString& hint) {
  SetHintText(hint);
  if (!Widget()) return;
  Widget()->setGeometry(rect.Left, rect.Top, std::max(rect.Width(), 1), std::max(rect.Height(), 1));
  Widget()->show();
  Widget()->update();
}

void THintWindow::ReleaseHandle() {
  if (Widget()) Widget()->hide();
}

void THintWindow::Paint() {
  FCanvas.Brush.Color = Color();
  FCanvas.FillRect(ClientRect());
  FCanvas.Font = Font;
  FCanvas.Font.Color = clInfoText;
  TRect r = Rect(2, 0, Width(), Height());
  DrawText(FCanvas, Caption(), r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

void THintWindow::NCPaint() {
  FCanvas.Pen.Color = clBlack;
  FCanvas.Brush.Style = bsClear;
  FCanvas.Rectangle(0, 0, Width(), Height());
  FCanvas.Brush.Style = bsSolid;
}

bool THintWindow::WidgetEvent(QEvent* event) {
  if (event->type() == QEvent::Paint && Widget()) {
    QPainter painter(Widget());
    FCanvas.BindPainter(&painter);
    Paint();
    NCPaint();
    FCanvas.BindPainter(nullptr);
    return true;
  }
  return TWinControl::WidgetEvent(event);
}

