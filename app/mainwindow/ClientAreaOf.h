// The main window's view of the image frames' client area (TFrameCleintArea<W>) and of its
// stack windows W: TClientAreaOf<W> implements iCLIENT_AREA over a client area it owns, and
// TStackWindowOf<W, Ops> implements iSTACK_WINDOW over one window (not owned). W offers the stack
// window's operations, called through TStackWindowOps<W>.
#pragma once

#include <map>
#include <memory>

#include "app/mainwindow/iSTACK_WINDOWS.h"
#include "viewer/matrix/TFrameCleintArea.h"

namespace vistrel_main {

// How the main window calls one stack window of type W: the one place that names the stack
// window's own operations. A client area of another window type brings its own.
template <class W>
struct TStackWindowOps {
  static bool IsInverse(W* w) { return w->IsInverse(); }
  static bool IsLinkDown(W* w) { return w->tbLink->Down(); }
  static bool IsPaletteColorDown(W* w) { return w->tbPaletteColor->Down(); }
  static void SetOppositePan(W* w, bool on) { w->SetOppositePan(on); }
  static bool GuiSettingsApplied(W* w) { return w->GuiSettingsApplied(); }
  static void ApplyGuiSettings(W* w, TResourceInitialization* r) { w->ApplyGuiSettings(r); }
  static void SetShown(W* w, bool on) { w->SetShown(on); }
  static void SetToolbarPinned(W* w, bool on) { w->SetToolbarPinned(on); }
  static void SetNavigatorPinned(W* w, bool on) { w->SetNavigatorPinned(on); }
  static void SetLinkAutomated(W* w, int32_t value) { w->SetLinkAutomated(value); }
  static void SetInfoShown(W* w, bool on) { w->SetInfoShown(on); }
  static void SetLinked(W* w, bool on) { w->SetLinked(on); }
  static void SetInverse(W* w, bool on) { w->SetInverse(on); }
  static void SetPaletteColor(W* w, bool on) { w->SetPaletteColor(on); }
  static void SetStatisticsOptions(W* w, bool a, bool b, bool c, bool d) { w->SetStatisticsOptions(a, b, c, d); }
  static void SetChronologicalClass(W* w, int value) {
    w->SetChronologicalOrder(value);
    w->RefreshChronologicalOrder();
  }
  static bool GetIdentity(W* w, int& study, int& series, int& stack) {
    if (!w->OnGetIdentity) return false;
    w->OnGetIdentity(study, series, stack);
    return true;
  }
  static void SetEmbeddedObject(W* w, const TEmbeddedObjectTexts& t) {
    w->SetEmbeddedObject(t.PatientName, t.PatientID, t.AccessionNumber, t.StudyID, t.Modalities, t.SeriesInstanceUID,
                         t.SeriesNumber);
  }
};

template <class W, class Ops = TStackWindowOps<W>>
class TStackWindowOf : public iSTACK_WINDOW {
 public:
  explicit TStackWindowOf(W* window) : FWindow(window) {}
  W* Get() const { return FWindow; }

  platform::WindowHandle Handle() override { return FWindow->Handle(); }
  bool IsInverse() override { return Ops::IsInverse(FWindow); }
  bool IsLinkDown() override { return Ops::IsLinkDown(FWindow); }
  bool IsPaletteColorDown() override { return Ops::IsPaletteColorDown(FWindow); }
  void SetOppositePan(bool on) override { Ops::SetOppositePan(FWindow, on); }
  bool ApplyGuiSettingsOnce(TResourceInitialization* resources) override {
    if (Ops::GuiSettingsApplied(FWindow)) return false;
    Ops::ApplyGuiSettings(FWindow, resources);
    return true;
  }
  void SetShown(bool shown) override { Ops::SetShown(FWindow, shown); }
  void SetToolbarPinned(bool on) override { Ops::SetToolbarPinned(FWindow, on); }
  void SetNavigatorPinned(bool on) override { Ops::SetNavigatorPinned(FWindow, on); }
  void SetLinkAutomated(int32_t value) override { Ops::SetLinkAutomated(FWindow, value); }
  void SetInfoShown(bool on) override { Ops::SetInfoShown(FWindow, on); }
  void SetLinked(bool on) override { Ops::SetLinked(FWindow, on); }
  void SetInverse(bool on) override { Ops::SetInverse(FWindow, on); }
  void SetPaletteColor(bool on) override { Ops::SetPaletteColor(FWindow, on); }
  void SetStatisticsOptions(bool a, bool b, bool c, bool d) override { Ops::SetStatisticsOptions(FWindow, a, b, c, d); }
  void SetChronologicalClass(int value) override { Ops::SetChronologicalClass(FWindow, value); }
  bool GetIdentity(int& study, int& series, int& stack) override {
    return Ops::GetIdentity(FWindow, study, series, stack);
  }
  void SetEmbeddedObject(const TEmbeddedObjectTexts& texts) override { Ops::SetEmbeddedObject(FWindow, texts); }

 private:
  W* FWindow;
};

template <class W, class Ops = TStackWindowOps<W>>
class TClientAreaOf : public iCLIENT_AREA {
 public:
  TClientAreaOf() : FArea(std::make_unique<TFrameCleintArea<W>>(nullptr)) {}
  TFrameCleintArea<W>& Area() { return *FArea; }

  TWinControl* Control() override { return FArea.get(); }
  void SetGranularity(int columns, int rows) override { FArea->SetGranularity(columns, rows); }
  void SetMatrix(int columns, int rows) override { FArea->SetMatrix(columns, rows); }
  int Columns() override { return FArea->Columns(); }
  int Rows() override { return FArea->Rows(); }
  void Relayout() override { FArea->Relayout(); }
  int CellCount() override { return FArea->CellCount(); }
  bool CellHasWindow(int cell) override { return FArea->Cells(cell)->HasWindow(); }
  platform::WindowHandle CellWindowHandle(int cell) override { return FArea->Cells(cell)->GetWindowHandle(); }
  iSTACK_WINDOW* CellWindow(int cell) override {
    W* window = FArea->Cells(cell)->GetWindow();
    if (!window) return nullptr;
    auto& view = FViews[window];
    if (!view) view = std::make_unique<TStackWindowOf<W, Ops>>(window);
    return view.get();
  }
  void ReleaseCellWindow(int cell) override { FArea->Cells(cell)->ReleaseWindow(); }
  bool AttachToCell(int cell, iSTACK_WINDOW& window) override {
    auto* view = dynamic_cast<TStackWindowOf<W, Ops>*>(&window);
    return view && FArea->Cells(cell)->AttachWindow(view->Get());
  }
  void GetCellBounds(int cell, int& left, int& top, int& width, int& height) override {
    FArea->Cells(cell)->GetBounds(left, top, width, height);
  }
  void ReleaseAllWindows() override { FArea->ReleaseAllWindows(); }
  int FindFirstEmptyCell() override { return FArea->FindFirstEmptyCell(); }
  int GetActiveCellIndex() override { return FArea->GetActiveCellIndex(); }
  void SwapCellWindows(int a, int b) override { FArea->SwapCellWindows(a, b); }
  int CellAtScreenPoint(int x, int y, bool dropping) override {
    return FArea->HighlightCellAtScreenPoint(x, y, dropping);
  }
  void SetMaximizeCallback(std::function<void(bool, int)> callback) override {
    FArea->OnMaximizeChanged = std::move(callback);
  }

 private:
  std::unique_ptr<TFrameCleintArea<W>> FArea;
  std::map<W*, std::unique_ptr<TStackWindowOf<W, Ops>>> FViews;
};

}  // namespace vistrel_main
