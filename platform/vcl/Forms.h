// Forms, frames, the application object, the screen with its monitors and cursors, and the
// application events component. ShowModal runs a nested Qt event loop, so timers, posted and
// sent window messages are served while a modal form is up; setting ModalResult to a
// non-zero value (or closing the form) ends it.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/vcl/Controls.h"

class QCursor;
class QEventLoop;

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition { poDesigned, poDefault, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TFormStyle { fsNormal, fsStayOnTop };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  void SetCaption(const System::WideString& caption) override;
  void SetVisible(bool visible) override;
  void Show();
  void Close();
  // Minimises the window (to the task bar of a desktop).
  void Minimize();
  int ShowModal();
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result);
  bool Modal() const { return FLoop != nullptr; }
  void SetBorderStyle(TBorderStyle style);
  void SetFormStyle(TFormStyle style);
  TPosition Position = poDesigned;
  bool KeyPreview = false;
  // Window opacity 0 (transparent) to 255 (opaque), applied while AlphaBlend is on.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool on);
  int AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(int value);

  TNotifyEvent OnShow, OnHide, OnActivate, OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  bool WidgetEvent(QEvent* event) override;

 private:
  void PlaceByPosition();
  QEventLoop* FLoop = nullptr;
  int FModalResult = mrNone;
  bool FClosing = false;
  bool FAlphaBlend = false;
  int FAlphaBlendValue = 255;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};
using TTntForm = TForm;

class TFrame : public TWinControl {
 public:
  explicit TFrame(TComponent* AOwner);
};
using TTntFrame = TFrame;

class TMonitor {
 public:
  int MonitorNum = 0;
  TRect BoundsRect;
  TRect WorkareaRect;
  bool Primary = false;
  System::WideString DeviceName;  // \\.\DISPLAY1, \\.\DISPLAY2, ... in list order
  int Left() const { return BoundsRect.Left; }
  int Top() const { return BoundsRect.Top; }
  int Width() const { return BoundsRect.Width(); }
  int Height() const { return BoundsRect.Height(); }
};

class TScreen {
 public:
  int MonitorCount();
  TMonitor* Monitors(int index);
  // The monitor that holds the point, else the nearest one.
  TMonitor* MonitorFromPoint(const TPoint& point);
  // The union of all monitors (the virtual screen).
  TRect DesktopRect();
  int Width() { return Monitors(0) ? Monitors(0)->Width() : 0; }
  int Height() { return Monitors(0) ? Monitors(0)->Height() : 0; }
  // Tests stand in monitors of their own (the first is primary); an empty list returns to
  // the screens Qt reports.
  void SetFakeMonitors(const std::vector<TRect>& bounds);

  // The cursor shown over every window while not crDefault (an hourglass while busy).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);
  // The program's cursors by number; a null cursor removes the entry, which then shows the
  // arrow. Standard numbers (negative) cannot be replaced.
  void SetCursorHandle(TCursor index, std::shared_ptr<QCursor> cursor);
  bool HasCursor(TCursor index) const { return FCursors.count(index) != 0; }
  QCursor CursorFor(TCursor index) const;

  TCustomForm* ActiveForm();
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int index) const { return FForms.at(static_cast<size_t>(index)); }

 private:
  friend class TCustomForm;
  void Refresh();
  void Number();
  std::vector<TMonitor> FMonitors;
  std::vector<TRect> FFake;
  TCursor FCursor = crDefault;
  std::map<TCursor, std::shared_ptr<QCursor>> FCursors;
  std::vector<TCustomForm*> FForms;
};

// Win32's GetSystemMetrics for the values the windows read: the screen, the virtual screen,
// the monitor count and the menu check-mark size.
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXMENUCHECK = 71, SM_CYMENUCHECK = 72,
              SM_XVIRTUALSCREEN = 76, SM_YVIRTUALSCREEN = 77, SM_CXVIRTUALSCREEN = 78,
              SM_CYVIRTUALSCREEN = 79, SM_CMONITORS = 80;
int GetSystemMetrics(int index);

// Loads a cursor (a .cur file's bytes, as the packer stores RT_CURSOR) from a resource
// module; null when the module has no such cursor or it does not decode.
std::shared_ptr<QCursor> LoadCursorResource(platform::ResourceModuleHandle module, const System::WideString& name);

// ExtractIconEx's small icon with DrawIcon: the icon at the index (in resource order) of a
// file's icons (a resource module's, or a program's "<path>.res"; an .ico file is kept
// whole as one icon resource) drawn at (0, 0) into the bitmap, made width x height at 32
// bits per pixel. False, bitmap unchanged, when the file has no icon at that index.
bool DrawSmallFileIcon(const System::AnsiString& path, int index, int width, int height, TBitmap* bitmap);

class TApplication {
 public:
  void Initialize() {}
  // Runs the message loop until Terminate (or the main form closes).
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Serves every pending event, message and timer, then returns.
  void ProcessMessages();
  // Waits for one event and serves it.
  void HandleMessage();
  TCustomForm* MainForm = nullptr;
  System::WideString Title;
  // A message box with Win32's flags (MB_OK ... MB_YESNOCANCEL, icons); returns IDOK and the like.
  int MessageBox(const System::WideString& text, const System::WideString& caption, uint32_t flags);
  void BringToFront();

  // Makes the application's hint window; the default makes a THintWindow.
  std::function<THintWindow*(TComponent* owner)> HintWindowClass;
  bool ShowHint = true;
  int HintHidePause = 2500;  // milliseconds
  // Shows the hint of a control at a screen point (the mouse rests there); hides it again
  // after HintHidePause or when the mouse leaves the control.
  void ActivateHint(TControl* control, int x, int y);
  void CancelHint(TControl* control = nullptr);
  THintWindow* HintWindow() const { return FHint.get(); }
  // Frees the hint window (a new one is made for the next hint, from HintWindowClass).
  void ReleaseHintWindow();

 private:
  bool FTerminated = false;
  std::unique_ptr<THintWindow> FHint;
  TControl* FHintControl = nullptr;
  std::unique_ptr<class QTimer> FHintTimer;
};

extern TApplication* Application;
extern TScreen* Screen;

constexpr uint32_t MB_OK = 0, MB_OKCANCEL = 1, MB_ABORTRETRYIGNORE = 2, MB_YESNOCANCEL = 3, MB_YESNO = 4,
                   MB_RETRYCANCEL = 5, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30,
                   MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

// Saves a PNG picture of a screen area (screen coordinates): the screen's own pixels under a
// display server, else the shown top-level windows drawn in place over a grey ground.
bool SaveScreenImage(const System::AnsiString& path, const TRect& area);

// Tests answer message boxes without showing them: the next boxes return these results.
void SetMessageBoxAnswers(std::vector<int> answers);

using TShortCutEvent = std::function<void(uint16_t Key, TShiftState Shift, bool& Handled)>;

// Sees the application's key presses before the focused control (a window's shortcut keys).
class TApplicationEvents : public TComponent {
 public:
  explicit TApplicationEvents(TComponent* AOwner);
  ~TApplicationEvents() override;
  TShortCutEvent OnShortCut;
  TNotifyEvent OnIdle;
  // Delivers a key as a key press would (tests, and keys the program forwards).
  bool ShortCut(uint16_t key, TShiftState shift);

 private:
  class QObject* FFilter;
};
