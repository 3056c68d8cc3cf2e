// The matrix cell: a borderless panel on the desk that shows the cell's rectangle while the
// cell is empty, and the window it holds placed over that rectangle (over the whole desk
// while maximized). The window is parented to the desk, not to the panel.
//
// W must offer: Parent/SetParent/SetBounds (a control), Handle(), SetShown(bool), IsActive(),
// Activate(WindowHandle initiator), DetachFromCell(), SetCellIndex(int) and the thirteen cell
// closures OnCellMaximize, OnLinkedZoom, OnLinkedVoi, OnLinkedPan, OnLinkedRotateLeft,
// OnLinkedRotateRight, OnLinkedFlipHorizontal, OnLinkedFlipVertical, OnLinkedImageStep,
// OnLinkedPositionStep, OnLinkedTimeStep, GetCellPosition and OnCellDetach.
#pragma once

#include <memory>

#include "platform/vcl/Colors.h"
#include "platform/vcl/ExtCtrls.h"
#include "viewer/matrix/iMATRIX_CELL.h"

template <class W>
class TanMatrixCell : public iMATRIX_CELL<W> {
 public:
  static constexpr TColor kHighlightColor = 0x808080;
  static constexpr TColor kNormalColor = 0x000000;

  TanMatrixCell(TWinControl* parent, int index, int left, int top, int width, int height, W* window)
      : FPanel(std::make_unique<TPanel>(nullptr)),
        FWindow(window),
        FIndex(index),
        FLeft(left),
        FTop(top),
        FWidth(width),
        FHeight(height) {
    FPanel->BevelInner = bvNone;
    FPanel->BevelOuter = bvNone;
    FPanel->SetColor(kNormalColor);
    FPanel->SetVisible(false);
    FPanel->SetParent(parent);
    // A window handed in here is only hidden, not wired: cells get their windows by AttachWindow.
    if (FWindow) FWindow->SetShown(false);
    UpdateLayout();
  }

  ~TanMatrixCell() override { ReleaseWindow(); }

  TanMatrixCell(const TanMatrixCell&) = delete;
  TanMatrixCell& operator=(const TanMatrixCell&) = delete;

  int GetLeft() const override { return FLeft; }
  void SetLeft(int value) override { FLeft = value; UpdateLayout(); }
  int GetTop() const override { return FTop; }
  void SetTop(int value) override { FTop = value; UpdateLayout(); }
  int GetWidth() const override { return FWidth; }
  void SetWidth(int value) override { FWidth = value; UpdateLayout(); }
  int GetHeight() const override { return FHeight; }
  void SetHeight(int value) override { FHeight = value; UpdateLayout(); }
  bool IsVisible() const override { return FVisible; }
  void SetVisible(bool value) override { FVisible = value; UpdateLayout(); }
  bool IsMaximized() const override { return FMaximized; }
  void SetMaximized(bool value) override { FMaximized = value; UpdateLayout(); }
  void GetBounds(int& left, int& top, int& width, int& height) const override {
    left = FLeft;
    top = FTop;
    width = FWidth;
    height = FHeight;
  }
  void SetBounds(int left, int top, int width, int height) override {
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    UpdateLayout();
  }

  bool HasWindow() const override { return FWindow != nullptr; }

  bool AttachWindow(W* window) override {
    if (FWindow) {
      W* old = FWindow;
      Unwire(old);
      FWindow = nullptr;
      old->DetachFromCell();
    }
    FWindow = window;
    if (FWindow) {
      if (!FWindow->Parent()) FWindow->SetParent(FPanel->Parent());
      Wire(FWindow);
    }
    UpdateLayout();
    return HasWindow();
  }

  void SwapWindows(iMATRIX_CELL<W>* other) override {
    auto* cell = dynamic_cast<TanMatrixCell*>(other);
    if (!cell || cell == this) return;
    std::swap(FWindow, cell->FWindow);
    if (FWindow) Wire(FWindow);
    if (cell->FWindow) cell->Wire(cell->FWindow);
    UpdateLayout();
    cell->UpdateLayout();
  }

  void ReleaseWindow() override {
    if (!FWindow) return;
    W* old = FWindow;
    Unwire(old);
    FWindow = nullptr;
    old->DetachFromCell();
    UpdateLayout();
  }

  platform::WindowHandle GetWindowHandle() override { return FWindow ? FWindow->Handle() : 0; }
  W* GetWindow() const override { return FWindow; }
  int GetIndex() const override { return FIndex; }

  // The panel keeps the cell's bounds while hidden, so this works for a cell under a window.
  bool ContainsScreenPoint(const TPoint& point) const override {
    return PtInRect(FPanel->ClientRect(), FPanel->ScreenToClient(point));
  }

  void SetIndex(int index) override {
    FIndex = index;
    if (FWindow) FWindow->SetCellIndex(index);
  }

  void SetHighlight(bool on) override { FPanel->SetColor(on ? kHighlightColor : kNormalColor); }

  // For tests and the area: the panel that marks the cell.
  TPanel* Panel() const { return FPanel.get(); }

 private:
  void UpdateLayout() {
    FPanel->SetVisible(false);
    FPanel->SetBounds(FLeft, FTop, FWidth, FHeight);
    if (!FWindow) {
      FPanel->SetVisible(FVisible);
      return;
    }
    const bool wasActive = FWindow->IsActive();
    FWindow->SetShown(false);
    if (FMaximized) {
      TWinControl* desk = FPanel->Parent();
      FWindow->SetBounds(0, 0, desk ? desk->Width() : 0, desk ? desk->Height() : 0);
    } else {
      FWindow->SetBounds(FLeft, FTop, FWidth, FHeight);
    }
    FWindow->SetShown(FVisible);
    if (wasActive && FVisible) FWindow->Activate(0);
  }

  // The window's cell closures point at this cell; each forwards to the cell's own callback.
  void Wire(W* w) {
    w->OnCellMaximize = [this](auto&&...) {
      if (this->OnToggleMaximize) this->OnToggleMaximize(FIndex);
      return true;
    };
    w->OnLinkedZoom = [this](W* sender, double f) { return this->OnLinkedZoom && this->OnLinkedZoom(sender, f); };
    w->OnLinkedVoi = [this](W* s, double a, double b) { return this->OnLinkedVoi && this->OnLinkedVoi(s, a, b); };
    w->OnLinkedPan = [this](W* s, double a, double b) { return this->OnLinkedPan && this->OnLinkedPan(s, a, b); };
    w->OnLinkedRotateLeft = [this](W* s) { return this->OnLinkedRotateLeft && this->OnLinkedRotateLeft(s); };
    w->OnLinkedRotateRight = [this](W* s) { return this->OnLinkedRotateRight && this->OnLinkedRotateRight(s); };
    w->OnLinkedFlipHorizontal = [this](W* s) {
      return this->OnLinkedFlipHorizontal && this->OnLinkedFlipHorizontal(s);
    };
    w->OnLinkedFlipVertical = [this](W* s) { return this->OnLinkedFlipVertical && this->OnLinkedFlipVertical(s); };
    w->OnLinkedImageStep = [this](W* s, int d) { return this->OnLinkedImageStep && this->OnLinkedImageStep(s, d); };
    w->OnLinkedPositionStep = [this](W* s, uint8_t kind, double d) {
      return this->OnLinkedPositionStep && this->OnLinkedPositionStep(s, kind, d);
    };
    w->OnLinkedTimeStep = [this](W* s, double d) { return this->OnLinkedTimeStep && this->OnLinkedTimeStep(s, d); };
    // A hidden cell (another one maximized) leaves the outputs as the window set them.
    w->GetCellPosition = [this](int& count, int& row, int& column) {
      if (!FVisible || !this->OnQueryCellPosition) return false;
      this->OnQueryCellPosition(FIndex, count, row, column);
      return true;
    };
    w->OnCellDetach = [this](auto&&...) {
      TanMatrixCell* cell = this;  // the closure is cleared below; only the local is used after
      cell->WindowLeft();
      return true;
    };
    w->SetCellIndex(FIndex);
  }

  static void Unwire(W* w) {
    w->OnCellMaximize = nullptr;
    w->OnLinkedZoom = nullptr;
    w->OnLinkedVoi = nullptr;
    w->OnLinkedPan = nullptr;
    w->OnLinkedRotateLeft = nullptr;
    w->OnLinkedRotateRight = nullptr;
    w->OnLinkedFlipHorizontal = nullptr;
    w->OnLinkedFlipVertical = nullptr;
    w->OnLinkedImageStep = nullptr;
    w->OnLinkedPositionStep = nullptr;
    w->OnLinkedTimeStep = nullptr;
    w->GetCellPosition = nullptr;
    w->OnCellDetach = nullptr;
  }

  // The window left the cell by itself: forget it without detaching it again.
  void WindowLeft() {
    if (!FWindow) return;
    Unwire(FWindow);
    FWindow = nullptr;
    UpdateLayout();
  }

  std::unique_ptr<TPanel> FPanel;
  W* FWindow;
  int FIndex;
  int FLeft, FTop, FWidth, FHeight;
  bool FVisible = true;
  bool FMaximized = false;
};
