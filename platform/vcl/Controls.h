// The VCL's control classes on Qt widgets. A control owns its widget; a windowed control
// (TWinControl) places its children itself: Align (top, bottom, left, right and client,
// in that order, each in the order the children were added) and Anchors (a control anchored
// right or bottom keeps its distance to that edge when the parent resizes). Events are
// closures that the owner installs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/windows/Window.h"

class QWidget;
class QEvent;
class TWinControl;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;

// Cursor numbers: the VCL's negative standard cursors, positive numbers are the program's own
// (TScreen::SetCursorHandle).
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crNo = -18,
                  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

class TControl : public TComponent {
 public:
  TControl(TComponent* AOwner, QWidget* widget);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Rect(Left(), Top(), Left() + Width(), Top() + Height()); }
  int ClientWidth() const { return Width(); }
  int ClientHeight() const { return Height(); }
  TRect ClientRect() const { return Rect(0, 0, Width(), Height()); }
  TPoint ClientToScreen(const TPoint& p) const;
  TPoint ScreenToClient(const TPoint& p) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align);
  TAnchors Anchors = akLeft | akTop;

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool enabled);

  const System::WideString& Caption() const { return FCaption; }
  virtual void SetCaption(const System::WideString& caption);
  const System::WideString& Hint() const { return FHint; }
  void SetHint(const System::WideString& hint);
  bool ShowHint = false;
  TColor Color() const { return FColor; }
  virtual void SetColor(TColor color);
  TFont Font;
  void FontChanged();  // applies Font to the widget
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);
  TPopupMenu* PopupMenu = nullptr;

  TNotifyEvent OnClick, OnDblClick, OnResize;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  void Invalidate();
  void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  // Runs OnClick as a user's click does.
  virtual void Click();

  QWidget* Widget() const { return FWidget; }

  // Widget events reach the control here first; true ends their handling.
  virtual bool WidgetEvent(QEvent* event);

 protected:
  // The widget that holds the children (a scroll box's content); the widget itself by default.
  virtual QWidget* ChildHost() const { return FWidget; }
  // Controls whose widget handles clicks itself do not get OnClick from mouse releases.
  bool FClickFromMouse = true;

 private:
  friend class TWinControl;
  friend class ControlFilter;
  QWidget* FWidget;
  class ControlFilter* FFilter = nullptr;
  TWinControl* FParent = nullptr;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  System::WideString FCaption, FHint;
  TColor FColor = clBtnFace;
  TCursor FCursor = crDefault;
};

class TWinControl : public TControl {
 public:
  using TControl::TControl;
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
  // Places the aligned and anchored children in the client area.
  virtual void AlignControls();
  void SetFocus();
  bool Focused() const;
  TKeyEvent OnKeyDown, OnKeyUp;
  // The control got the keyboard focus.
  TNotifyEvent OnEnter;
  // Moves a child to `index` of the align order (controls of one alignment are placed in
  // this order), as the VCL re-aligns by position; the index is clamped to the children.
  void SetChildIndex(TControl* child, int index);
  int ChildIndex(const TControl* child) const;

  bool WidgetEvent(QEvent* event) override;
  QWidget* Host() const { return ChildHost(); }

  // The control's window handle, made on first use: other processes and threads post and
  // send messages to it, and WindowProc answers them on the GUI thread (0 when unset).
  platform::WindowHandle Handle();
  bool HandleAllocated() const { return FWindow != nullptr; }
  std::function<platform::LResult(uint32_t message, platform::WParam wParam, platform::LParam lParam)> WindowProc;

 protected:
  // The title other processes find the window by (a form's caption).
  void SetWindowTitle(const System::WideString& title);

 private:
  friend class TControl;
  std::unique_ptr<platform::Window> FWindow;
  std::vector<TControl*> FControls;
  int FLastWidth = -1, FLastHeight = -1;
};

// Suspends painting of one window until it is unlocked with null, as Win32's
// LockWindowUpdate: one lock at a time, so a second lock fails while one is held.
bool LockWindowUpdate(TWinControl* control);

// The mouse cursor's position on the screen, as Win32's GetCursorPos and SetCursorPos.
TPoint GetCursorPos();
void SetCursorPos(int x, int y);

// The hint window: the application shows the Hint of a control with ShowHint set in one of
// these when the mouse rests on the control. A program installs its own class through
// TApplication::HintWindowClass; SetHintText receives the 8-bit hint text (as WM_SETTEXT
// does), Paint draws the client area on Canvas() and NCPaint the frame.
class THintWindow : public TWinControl {
 public:
  explicit THintWindow(TComponent* AOwner);
  TCanvas* Canvas() { return &FCanvas; }
  virtual void SetHintText(const System::AnsiString& text);
  const System::AnsiString& HintText() const { return FText; }
  // The size the hint needs: the text's extent plus a margin.
  virtual TRect CalcHintRect(int maxWidth, const System::AnsiString& hint);
  // Sets the text and shows the window at the rectangle (screen coordinates).
  virtual void ActivateHint(const TRect& rect, const System::AnsiString& hint);
  void ReleaseHandle();  // hides it
  bool WidgetEvent(QEvent* event) override;

 protected:
  virtual void Paint();
  virtual void NCPaint();

 private:
  TCanvas FCanvas;
  System::AnsiString FText;
};

// The QString of a wide text and back (wide text holds code points).
class QString;
QString ToQString(const System::WideString& text);
System::WideString FromQString(const QString& text);
// The Windows virtual key of a Qt key (0 when it has none) and the shift state of Qt modifiers.
uint16_t VirtualKeyFromQtKey(int qtKey);
TShiftState ShiftOfQt(int modifiers);
