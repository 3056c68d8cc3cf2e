#include "platform/vcl/Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <deque>

namespace {

TApplication theApplication;
TScreen theScreen;
std::deque<int> messageBoxAnswers;

TRect FromQRect(const QRect& r) { return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }

}  // namespace

TApplication* Application = &theApplication;
TScreen* Screen = &theScreen;

// ---- TCustomForm ----

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner, new QWidget(nullptr, Qt::Window)) {
  SetVisible(false);
  Widget()->resize(320, 240);
  Screen->FForms.push_back(this);
  if (!Application->MainForm) Application->MainForm = this;
}

TCustomForm::~TCustomForm() {
  if (OnDestroy) OnDestroy(this);
  if (FLoop) FLoop->quit();
  auto& forms = Screen->FForms;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (Application->MainForm == this) Application->MainForm = nullptr;
}

void TCustomForm::SetCaption(const System::WideString& caption) {
  TWinControl::SetCaption(caption);
  if (Widget()) Widget()->setWindowTitle(ToQString(caption));
  SetWindowTitle(caption);
}

void TCustomForm::SetVisible(bool visible) {
  const bool was = Visible();
  if (visible && !was) PlaceByPosition();
  TWinControl::SetVisible(visible);
  if (visible && !was) {
    AlignControls();
    if (OnShow) OnShow(this);
  } else if (!visible && was && OnHide) {
    OnHide(this);
  }
}

void TCustomForm::PlaceByPosition() {
  if (Position != poScreenCenter && Position != poMainFormCenter && Position != poOwnerFormCenter) return;
  TRect area = Screen->Monitors(0) ? Screen->Monitors(0)->WorkareaRect : Rect(0, 0, Width(), Height());
  auto* owner = dynamic_cast<TCustomForm*>(Owner());
  if (Position == poMainFormCenter && Application->MainForm && Application->MainForm != this)
    area = Application->MainForm->BoundsRect();
  if (Position == poOwnerFormCenter && owner) area = owner->BoundsRect();
  SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(), Height());
}

void TCustomForm::Show() {
  SetVisible(true);
  if (Widget()) {
    Widget()->raise();
    Widget()->activateWindow();
  }
}

void TCustomForm::Minimize() { Widget()->showMinimized(); }

void TCustomForm::Close() {
  if (FClosing) return;
  FClosing = true;
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  if (canClose) {
    if (Modal()) {
      if (FModalResult == mrNone) SetModalResult(mrCancel);
    } else {
      TCloseAction action = caHide;
      if (OnClose) OnClose(this, action);
      if (action == caHide || action == caFree) SetVisible(false);
      if (action == caFree) {
        FClosing = false;
        QObject* guard = Widget();
        QMetaObject::invokeMethod(guard, [this] { delete this; }, Qt::QueuedConnection);
        return;
      }
      if (Application->MainForm == this && action != caNone) Application->Terminate();
    }
  }
  FClosing = false;
}

int TCustomForm::ShowModal() {
  QEventLoop loop;
  FModalResult = mrNone;
  if (Widget()) Widget()->setWindowModality(Qt::ApplicationModal);
  Show();
  FLoop = &loop;
  if (FModalResult == mrNone) loop.exec();
  FLoop = nullptr;
  if (Widget()) {
    SetVisible(false);
    Widget()->setWindowModality(Qt::NonModal);
  }
  return FModalResult;
}

void TCustomForm::SetModalResult(int result) {
  FModalResult = result;
  if (result != mrNone && FLoop) {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) {
      FModalResult = mrNone;
      return;
    }
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    FLoop->quit();
  }
}

void TCustomForm::SetBorderStyle(TBorderStyle style) {
  if (!Widget()) return;
  Qt::WindowFlags flags = Qt::Window;
  if (style == bsNone) flags |= Qt::FramelessWindowHint;
  if (style == bsDialog || style == bsSingle) flags |= Qt::MSWindowsFixedSizeDialogHint;
  if (style == bsToolWindow || style == bsSizeToolWin) flags = Qt::Tool;
  Widget()->setWindowFlags(flags);
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (Widget()) Widget()->setWindowFlag(Qt::WindowStaysOnTopHint, style == fsStayOnTop);
}

bool TCustomForm::WidgetEvent(QEvent* event) {
  if (event->type() == QEvent::Close) {
    event->ignore();
    Close();
    return true;
  }
  if (event->type() == QEvent::WindowActivate && OnActivate) OnActivate(this);
  return TWinControl::WidgetEvent(event);
}

TFrame::TFrame(TComponent* AOwner) : TWinControl(AOwner, new QWidget) { Widget()->resize(320, 240); }

// ---- TScreen ----

void TScreen::Refresh() {
  FMonitors.clear();
  if (!FFake.empty()) {
    for (size_t i = 0; i < FFake.size(); ++i)
      FMonitors.push_back(TMonitor{static_cast<int>(i), FFake[i], FFake[i], i == 0, {}});
    Number();
    return;
  }
  if (!qApp) return;
  const QList<QScreen*> screens = QGuiApplication::screens();
  for (qsizetype i = 0; i < screens.size(); ++i)
    FMonitors.push_back(TMonitor{static_cast<int>(i), FromQRect(screens[i]->geometry()),
                                 FromQRect(screens[i]->availableGeometry()),
                                 screens[i] == QGuiApplication::primaryScreen(), {}});
  // The primary monitor comes first, as Win32 lists it.
  std::stable_partition(FMonitors.begin(), FMonitors.end(), [](const TMonitor& m) { return m.Primary; });
  Number();
}

void TScreen::Number() {
  for (size_t i = 0; i < FMonitors.size(); ++i) {
    FMonitors[i].MonitorNum = static_cast<int>(i);
    FMonitors[i].DeviceName = L"\\\\.\\DISPLAY" + std::to_wstring(i + 1);
  }
}

int GetSystemMetrics(int index) {
  const TRect desktop = Screen->DesktopRect();
  TMonitor* primary = Screen->Monitors(0);
  switch (index) {
    case SM_CXSCREEN: return primary ? primary->Width() : 0;
    case SM_CYSCREEN: return primary ? primary->Height() : 0;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    case SM_XVIRTUALSCREEN: return desktop.Left;
    case SM_YVIRTUALSCREEN: return desktop.Top;
    case SM_CXVIRTUALSCREEN: return desktop.Width();
    case SM_CYVIRTUALSCREEN: return desktop.Height();
    case SM_CMONITORS: return Screen->MonitorCount();
    default: return 0;
  }
}

int TScreen::MonitorCount() {
  Refresh();
  return static_cast<int>(FMonitors.size());
}

TMonitor* TScreen::Monitors(int index) {
  Refresh();
  return index >= 0 && index < static_cast<int>(FMonitors.size()) ? &FMonitors[static_cast<size_t>(index)] : nullptr;
}

TMonitor* TScreen::MonitorFromPoint(const TPoint& point) {
  Refresh();
  TMonitor* best = nullptr;
  long bestDistance = 0;
  for (auto& m : FMonitors) {
    if (PtInRect(m.BoundsRect, point)) return &m;
    const long dx = point.x < m.BoundsRect.Left ? m.BoundsRect.Left - point.x
                    : point.x >= m.BoundsRect.Right ? point.x - m.BoundsRect.Right + 1 : 0;
    const long dy = point.y < m.BoundsRect.Top ? m.BoundsRect.Top - point.y
                    : point.y >= m.BoundsRect.Bottom ? point.y - m.BoundsRect.Bottom + 1 : 0;
    if (!best || dx * dx + dy * dy < bestDistance) {
      best = &m;
      bestDistance = dx * dx + dy * dy;
    }
  }
  return best;
}

TRect TScreen::DesktopRect() {
  Refresh();
  if (FMonitors.empty()) return {};
  TRect r = FMonitors[0].BoundsRect;
  for (const auto& m : FMonitors) {
    r.Left = std::min(r.Left, m.BoundsRect.Left);
    r.Top = std::min(r.Top, m.BoundsRect.Top);
    r.Right = std::max(r.Right, m.BoundsRect.Right);
    r.Bottom = std::max(r.Bottom, m.BoundsRect.Bottom);
  }
  return r;
}

void TScreen::SetFakeMonitors(const std::vector<TRect>& bounds) {
  FFake = bounds;
  Refresh();
}

void TScreen::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  if (FCursor != crDefault && qApp) QApplication::restoreOverrideCursor();
  FCursor = cursor;
  if (FCursor != crDefault && qApp) QApplication::setOverrideCursor(CursorFor(cursor));
}

void TScreen::SetCursorHandle(TCursor index, std::shared_ptr<QCursor> cursor) {
  if (index <= 0) return;
  if (cursor) FCursors[index] = std::move(cursor);
  else FCursors.erase(index);
}

QCursor TScreen::CursorFor(TCursor index) const {
  switch (index) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass: return QCursor(Qt::WaitCursor);
    case crDrag: return QCursor(Qt::DragCopyCursor);
    case crNoDrop:
    case crNo: return QCursor(Qt::ForbiddenCursor);
    case crHSplit: return QCursor(Qt::SplitHCursor);
    case crVSplit: return QCursor(Qt::SplitVCursor);
    case crAppStart: return QCursor(Qt::BusyCursor);
    case crHelp: return QCursor(Qt::WhatsThisCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: break;
  }
  auto it = FCursors.find(index);
  return it != FCursors.end() ? *it->second : QCursor(Qt::ArrowCursor);
}

TCustomForm* TScreen::ActiveForm() {
  QWidget* active = QApplication::activeWindow();
  for (auto* f : FForms)
    if (f->Widget() == active) return f;
  return nullptr;
}

std::shared_ptr<QCursor> LoadCursorResource(platform::ResourceModuleHandle module, const System::WideString& name) {
  platform::ResourceHandle resource = platform::FindResource(module, name, platform::rt::Cursor);
  if (!resource) return nullptr;
  const auto* data = static_cast<const uint8_t*>(platform::LoadResource(module, resource));
  const uint32_t size = platform::SizeofResource(module, resource);
  // A .cur file: the icon directory with type 2, whose entry holds the hot spot.
  if (size < 22 || data[0] || data[1] || data[2] != 2 || data[3] || (data[4] | data[5]) == 0) return nullptr;
  const int hotX = data[10] | (data[11] << 8), hotY = data[12] | (data[13] << 8);
  QByteArray icon(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  icon[2] = 1;  // read as an icon file, which has the same layout
  QImage image;
  if (!image.loadFromData(icon, "ICO")) return nullptr;
  return std::make_shared<QCursor>(QPixmap::fromImage(image), hotX, hotY);
}

bool DrawSmallFileIcon(const System::AnsiString& path, int index, int width, int height, TBitmap* bitmap) {
  if (path.empty() || index < 0) return false;
  platform::ResourceModuleHandle module = platform::LoadResourceModule(path);
  if (!module) module = platform::LoadResourceModule(path + ".res");
  if (!module) return false;
  QImage icon;
  int at = 0;
  platform::EnumResourceNames(module, platform::rt::Icon,
                              [&](platform::ResourceModuleHandle m, const platform::ResourceId&,
                                  const platform::ResourceId& name) {
                                if (at++ != index) return true;
                                platform::ResourceHandle r = platform::FindResource(m, name, platform::rt::Icon);
                                const auto* data = static_cast<const char*>(platform::LoadResource(m, r));
                                QByteArray bytes(data, static_cast<qsizetype>(platform::SizeofResource(m, r)));
                                icon.loadFromData(bytes, "ICO");
                                return false;
                              });
  platform::FreeResourceModule(module);
  if (icon.isNull() || !bitmap) return false;
  // The small size: 16 x 16, as the shell's small icons.
  const QImage small = icon.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  bitmap->SetSize(width, height);
  bitmap->SetPixelFormat(pf32bit);
  QPainter painter(&bitmap->Image());
  painter.drawImage(0, 0, small);
  return true;
}

// ---- TApplication ----

void TApplication::Run() {
  if (MainForm) MainForm->Show();
  if (!FTerminated) QApplication::exec();
}

void TApplication::Terminate() {
  FTerminated = true;
  if (qApp) QCoreApplication::quit();
}

void TApplication::ProcessMessages() {
  if (!qApp) return;
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleMessage() {
  if (qApp) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TApplication::ActivateHint(TControl* control, int x, int y) {
  if (!ShowHint || !control) return;
  if (!FHint) {
    // The hint window goes before the application object does.
    qAddPostRoutine([] { Application->ReleaseHintWindow(); });
    FHint.reset(HintWindowClass ? HintWindowClass(nullptr) : new THintWindow(nullptr));
    FHintTimer = std::make_unique<QTimer>();
    FHintTimer->setSingleShot(true);
    QObject::connect(FHintTimer.get(), &QTimer::timeout, FHintTimer.get(), [this] { CancelHint(); });
  }
  FHintControl = control;
  // The window receives the 8-bit text, as WM_SETTEXT hands it over.
  const System::AnsiString text = ToQString(control->Hint()).toUtf8().toStdString();
  TRect r = FHint->CalcHintRect(300, text);
  const int dy = 20;
  FHint->ActivateHint(Rect(x, y + dy, x + r.Width(), y + dy + r.Height()), text);
  FHintTimer->start(HintHidePause);
}

void TApplication::ReleaseHintWindow() {
  FHintTimer.reset();
  FHint.reset();
  FHintControl = nullptr;
}

void TApplication::CancelHint(TControl* control) {
  if (!FHint || (control && control != FHintControl)) return;
  FHint->ReleaseHandle();
  FHintControl = nullptr;
}

void TApplication::BringToFront() {
  if (MainForm && MainForm->Widget()) {
    MainForm->Widget()->raise();
    MainForm->Widget()->activateWindow();
  }
}

void SetMessageBoxAnswers(std::vector<int> answers) { messageBoxAnswers.assign(answers.begin(), answers.end()); }

int TApplication::MessageBox(const System::WideString& text, const System::WideString& caption, uint32_t flags) {
  if (!messageBoxAnswers.empty()) {
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
  }
  QMessageBox box;
  box.setWindowTitle(ToQString(caption.empty() ? Title : caption));
  box.setText(ToQString(text));
  const uint32_t icon = flags & 0xF0;
  box.setIcon(icon == MB_ICONERROR ? QMessageBox::Critical : icon == MB_ICONQUESTION ? QMessageBox::Question
              : icon == MB_ICONWARNING ? QMessageBox::Warning : icon == MB_ICONINFORMATION ? QMessageBox::Information
              : QMessageBox::NoIcon);
  std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;
  switch (flags & 0xF) {
    case MB_OKCANCEL: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_ABORTRETRYIGNORE:
      buttons = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
      break;
    case MB_YESNOCANCEL: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_YESNO: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    case MB_RETRYCANCEL: buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
    default: buttons = {{QMessageBox::Ok, IDOK}}; break;
  }
  QMessageBox::StandardButtons set;
  for (auto& b : buttons) set |= b.first;
  box.setStandardButtons(set);
  const int chosen = box.exec();
  for (auto& b : buttons)
    if (b.first == chosen) return b.second;
  return buttons.size() == 1 ? IDOK : IDCANCEL;
}

// ---- TApplicationEvents ----

namespace {

class ShortCutFilter : public QObject {
 public:
  explicit ShortCutFilter(TApplicationEvents* owner) : owner_(owner) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    // A key the focused widget ignores travels on to its parents: see it once.
    auto* widget = static_cast<QWidget*>(watched);
    const bool propagated = event == last_ && last_widget_ && widget->isAncestorOf(last_widget_);
    last_ = event;
    last_widget_ = widget;
    if (propagated) return false;
    auto* e = static_cast<QKeyEvent*>(event);
    const uint16_t key = VirtualKeyFromQtKey(e->key());
    return key != 0 && owner_->ShortCut(key, ShiftOfQt(e->modifiers()));
  }

 private:
  TApplicationEvents* owner_;
  const QEvent* last_ = nullptr;
  QPointer<QWidget> last_widget_;
};

}  // namespace

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner), FFilter(new ShortCutFilter(this)) {
  if (qApp) qApp->installEventFilter(FFilter);
}

TApplicationEvents::~TApplicationEvents() { delete FFilter; }

bool TApplicationEvents::ShortCut(uint16_t key, TShiftState shift) {
  bool handled = false;
  if (OnShortCut) OnShortCut(key, shift, handled);
  return handled;
}

bool SaveScreenImage(const System::AnsiString& path, const TRect& area) {
  const QRect rect(area.Left, area.Top, area.Width(), area.Height());
  if (rect.isEmpty()) return false;
  QImage picture;
  if (QGuiApplication::platformName() == "xcb")
    if (QScreen* screen = QGuiApplication::primaryScreen())
      picture = screen->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage();
  if (picture.isNull()) {
    picture = QImage(rect.size(), QImage::Format_RGB32);
    picture.fill(QColor(90, 100, 110));
    QPainter p(&picture);
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible()) p.drawPixmap(w->geometry().topLeft() - rect.topLeft(), w->grab());
  }
  const QString file = QString::fromUtf8(path.c_str());
  QDir().mkpath(QFileInfo(file).absolutePath());
  return picture.save(file, "PNG");
}

void TCustomForm::SetAlphaBlend(bool on) {
  FAlphaBlend = on;
  Widget()->setWindowOpacity(on ? FAlphaBlendValue / 255.0 : 1.0);
}

void TCustomForm::SetAlphaBlendValue(int value) {
  FAlphaBlendValue = std::clamp(value, 0, 255);
  if (FAlphaBlend) Widget()->setWindowOpacity(FAlphaBlendValue / 255.0);
}
