// A stand-in for the stack window with exactly the members the cell and the client area call.
// It models what those callers rely on: shown or hidden (only with a parent), the active
// flag, the cell closures, the maximize button, and a cine that hiding stops in the engine
// without changing the window's own cine state, while PauseCine/ResumeCine mark it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/vcl/Forms.h"

class FakeStackWindow : public TFrame {
 public:
  FakeStackWindow(const std::string& name, std::vector<std::string>* log) : TFrame(nullptr), FLog(log) {
    SetName(name);
    SetVisible(false);
  }
  // A window that is destroyed leaves its cell first, as the real one does.
  ~FakeStackWindow() override {
    if (OnCellDetach) DetachFromCell();
  }

  // Cell closures.
  std::function<void(FakeStackWindow* sender)> OnCellMaximize;
  std::function<bool(FakeStackWindow*, double)> OnLinkedZoom;
  std::function<bool(FakeStackWindow*, double, double)> OnLinkedVoi;
  std::function<bool(FakeStackWindow*, double, double)> OnLinkedPan;
  std::function<bool(FakeStackWindow*)> OnLinkedRotateLeft;
  std::function<bool(FakeStackWindow*)> OnLinkedRotateRight;
  std::function<bool(FakeStackWindow*)> OnLinkedFlipHorizontal;
  std::function<bool(FakeStackWindow*)> OnLinkedFlipVertical;
  std::function<bool(FakeStackWindow*, int)> OnLinkedImageStep;
  std::function<bool(FakeStackWindow*, uint8_t, double)> OnLinkedPositionStep;
  std::function<bool(FakeStackWindow*, double)> OnLinkedTimeStep;
  std::function<void(int& count, int& row, int& column)> GetCellPosition;
  std::function<void(FakeStackWindow*)> OnCellDetach;

  int CellIndex = -1;
  void SetCellIndex(int index) { CellIndex = index; }

  bool IsActive() const { return FActive; }
  void Activate(platform::WindowHandle) {
    FActive = true;
    ++Activations;
  }
  void Deactivate() { FActive = false; }

  void SetShown(bool visible) {
    if (!Parent() || visible == Visible()) return;
    SetVisible(visible);
    if (!visible) {
      EngineCine = false;  // stopped in the engine, the window's cine state unchanged
      FActive = false;
    } else if (CineRunning) {
      EngineCine = true;
    }
  }

  void DetachFromCell() {
    SetShown(false);
    auto detach = OnCellDetach;  // the cell clears this closure while it runs
    if (detach) detach(this);
    Log("0x8804");
  }

  bool MaximizedButton = true;  // true: no cell is maximized
  void SetMaximizedButton(bool noCellMaximized) { MaximizedButton = noCellMaximized; }

  // The window's cine: running (not stopped), its pause mark, and whether the engine plays.
  bool CineRunning = false;
  bool CinePaused = false;
  bool EngineCine = false;
  void StartCine() {
    CineRunning = true;
    EngineCine = Visible();
  }
  void PauseCine() {
    if (CineRunning && !CinePaused) {
      EngineCine = false;
      CinePaused = true;
    }
  }
  void ResumeCine() {
    if (CineRunning && CinePaused) {
      EngineCine = true;
      CinePaused = false;
    }
  }

  void ApplyLinkedZoom(FakeStackWindow* s, double f) { Log("zoom " + From(s) + " " + Num(f)); }
  void ApplyLinkedVoi(FakeStackWindow* s, double a, double b) { Log("voi " + From(s) + " " + Num(a) + " " + Num(b)); }
  void ApplyLinkedPan(FakeStackWindow* s, double a, double b) { Log("pan " + From(s) + " " + Num(a) + " " + Num(b)); }
  void ApplyLinkedRotateLeft(FakeStackWindow* s) { Log("rotl " + From(s)); }
  void ApplyLinkedRotateRight(FakeStackWindow* s) { Log("rotr " + From(s)); }
  void ApplyLinkedFlipHorizontal(FakeStackWindow* s) { Log("fliph " + From(s)); }
  void ApplyLinkedFlipVertical(FakeStackWindow* s) { Log("flipv " + From(s)); }
  void ApplyLinkedImageStep(FakeStackWindow* s, int d) { Log("image " + From(s) + " " + std::to_string(d)); }
  void ApplyLinkedPositionStep(FakeStackWindow* s, uint8_t k, double d) {
    Log("position " + From(s) + " " + std::to_string(k) + " " + Num(d));
  }
  void ApplyLinkedTimeStep(FakeStackWindow* s, double d) { Log("time " + From(s) + " " + Num(d)); }

  int Activations = 0;

 private:
  void Log(const std::string& what) {
    if (FLog) FLog->push_back(Name() + ": " + what);
  }
  static std::string From(FakeStackWindow* s) { return s ? s->Name() : "null"; }
  static std::string Num(double v) {
    std::string t = std::to_string(v);
    while (!t.empty() && t.back() == '0') t.pop_back();
    if (!t.empty() && t.back() == '.') t.pop_back();
    return t;
  }

  std::vector<std::string>* FLog;
  bool FActive = false;
};
