// Test-only stand-ins for the parts of the main window that other subsystems build: a studies
// panel that records its boxes, and a client area of stack windows that are real windows (with
// handles that receive posted and sent messages) and log what reaches them.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/mainwindow/iSTACK_WINDOWS.h"
#include "app/mainwindow/iSTUDIES_PANEL.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

namespace vistrel_main::test {

struct FakeStudyBox : iSTUDY_BOX {
  std::wstring Title;
  int Study = -1, Stacks = -1;
  std::string Attachments;
  std::function<void(const std::string&)> OpenAttachments;
  int LossyState = -2;
  bool GuiApplied = false;
  TStudyBoxCallbacks Callbacks;
  void SetAttachments(const std::string& text, std::function<void(const std::string&)> open) override {
    Attachments = text;
    OpenAttachments = std::move(open);
  }
  void SetStatusHint(const std::wstring&) override {}
  void SetStatusImage(bool, TBitmap*) override {}
  void ApplyGuiSettings(TResourceInitialization*) override { GuiApplied = true; }
  void SetLossyState(int state) override { LossyState = state; }
  void SetCallbacks(const TStudyBoxCallbacks& callbacks) override { Callbacks = callbacks; }
};

struct FakeStudiesPanel : iSTUDIES_PANEL {
  FakeStudiesPanel() : Panel(new TPanel(nullptr)) {}
  std::unique_ptr<TPanel> Panel;
  std::vector<std::unique_ptr<FakeStudyBox>> Boxes;  // in display order
  int PreferredWidth = 60;
  int Reversals = 0;
  TControl* Control() override { return Panel.get(); }
  void SetCallbacks(const TStudiesPanelCallbacks&) override {}
  iSTUDY_BOX* Add(bool first, const std::wstring& title, int32_t study, int32_t stacks) {
    auto box = std::make_unique<FakeStudyBox>();
    box->Title = title;
    box->Study = study;
    box->Stacks = stacks;
    FakeStudyBox* raw = box.get();
    Boxes.insert(first ? Boxes.begin() : Boxes.end(), std::move(box));
    return raw;
  }
  iSTUDY_BOX* AddStudyFirst(const std::wstring& t, int32_t s, int32_t n) override { return Add(true, t, s, n); }
  iSTUDY_BOX* AddStudyLast(const std::wstring& t, int32_t s, int32_t n) override { return Add(false, t, s, n); }
  int GetStackCount() override {
    int n = 0;
    for (auto& b : Boxes) n += b->Stacks;
    return n;
  }
  int GetPreferredWidth() override { return PreferredWidth; }
  void ReverseStudyOrder() override { ++Reversals; }
  void StopStudyNavigators() override {}
};

struct Received {
  std::string window;
  uint32_t message;
  platform::WParam wParam;
  platform::LParam lParam;
  bool operator==(const Received& o) const {
    return window == o.window && message == o.message && wParam == o.wParam && lParam == o.lParam;
  }
};

// A stack window: a real window whose procedure logs the messages it gets.
class FakeStackWindow : public iSTACK_WINDOW {
 public:
  FakeStackWindow(std::vector<Received>* log, const std::string& name) : Frame(nullptr), Log(log), Name(name) {
    Frame.WindowProc = [this](uint32_t message, platform::WParam wParam, platform::LParam lParam) {
      Log->push_back({Name, message, wParam, lParam});
      return platform::LResult(0);
    };
  }
  TFrame Frame;
  std::vector<Received>* Log;
  std::string Name;
  bool Inverse = false, Link = false, Palette = false, OppositePan = false, Shown = false, GuiApplied = false;
  bool ToolbarPinned = false, NavigatorPinned = false, InfoShown = false, Linked = false, InverseSet = false,
       PaletteSet = false;
  int32_t LinkAutomated = -1;
  int Chronological = -1;
  int Study = -1, Series = -1, Stack = -1;
  bool Statistics[4] = {};
  TEmbeddedObjectTexts Embedded;

  platform::WindowHandle Handle() override { return Frame.Handle(); }
  bool IsInverse() override { return Inverse; }
  bool IsLinkDown() override { return Link; }
  bool IsPaletteColorDown() override { return Palette; }
  void SetOppositePan(bool on) override { OppositePan = on; }
  bool ApplyGuiSettingsOnce(TResourceInitialization*) override {
    if (GuiApplied) return false;
    return GuiApplied = true;
  }
  void SetShown(bool shown) override { Shown = shown; }
  void SetToolbarPinned(bool on) override { ToolbarPinned = on; }
  void SetNavigatorPinned(bool on) override { NavigatorPinned = on; }
  void SetLinkAutomated(int32_t value) override { LinkAutomated = value; }
  void SetInfoShown(bool on) override { InfoShown = on; }
  void SetLinked(bool on) override { Linked = on; }
  void SetInverse(bool on) override { InverseSet = on; }
  void SetPaletteColor(bool on) override { PaletteSet = on; }
  void SetStatisticsOptions(bool a, bool b, bool c, bool d) override {
    Statistics[0] = a, Statistics[1] = b, Statistics[2] = c, Statistics[3] = d;
  }
  void SetChronologicalClass(int value) override { Chronological = value; }
  bool GetIdentity(int& study, int& series, int& stack) override {
    study = Study, series = Series, stack = Stack;
    return true;
  }
  void SetEmbeddedObject(const TEmbeddedObjectTexts& texts) override { Embedded = texts; }
};

// A matrix of cells holding fake windows (not owned).
class FakeClientArea : public iCLIENT_AREA {
 public:
  FakeClientArea() : Panel(new TPanel(nullptr)) {}
  std::unique_ptr<TPanel> Panel;
  std::vector<FakeStackWindow*> Cells{nullptr};
  int Granularity = 1, ColumnCount = 1, RowCount = 1, Active = -1, Relayouts = 0;
  std::function<void(bool, int)> Maximize;

  TWinControl* Control() override { return Panel.get(); }
  void SetGranularity(int columns, int) override { Granularity = columns; }
  void SetMatrix(int columns, int rows) override {
    ColumnCount = (columns + Granularity - 1) / Granularity * Granularity;
    RowCount = rows;
    Cells.resize(static_cast<size_t>(ColumnCount * RowCount), nullptr);
  }
  int Columns() override { return ColumnCount; }
  int Rows() override { return RowCount; }
  void Relayout() override { ++Relayouts; }
  int CellCount() override { return static_cast<int>(Cells.size()); }
  bool CellHasWindow(int cell) override { return Cells.at(static_cast<size_t>(cell)) != nullptr; }
  platform::WindowHandle CellWindowHandle(int cell) override {
    return Cells.at(static_cast<size_t>(cell)) ? Cells[static_cast<size_t>(cell)]->Handle() : 0;
  }
  iSTACK_WINDOW* CellWindow(int cell) override { return Cells.at(static_cast<size_t>(cell)); }
  void ReleaseCellWindow(int cell) override { Cells.at(static_cast<size_t>(cell)) = nullptr; }
  bool AttachToCell(int cell, iSTACK_WINDOW& window) override {
    Cells.at(static_cast<size_t>(cell)) = static_cast<FakeStackWindow*>(&window);
    return true;
  }
  void GetCellBounds(int, int& l, int& t, int& w, int& h) override { l = t = 0, w = h = 10; }
  void ReleaseAllWindows() override { std::fill(Cells.begin(), Cells.end(), nullptr); }
  int FindFirstEmptyCell() override {
    for (size_t i = 0; i < Cells.size(); ++i)
      if (!Cells[i]) return static_cast<int>(i);
    return -1;
  }
  int GetActiveCellIndex() override { return Active; }
  void SwapCellWindows(int a, int b) override { std::swap(Cells.at(static_cast<size_t>(a)), Cells.at(static_cast<size_t>(b))); }
  int CellAtScreenPoint(int, int, bool) override { return -1; }
  void SetMaximizeCallback(std::function<void(bool, int)> callback) override { Maximize = std::move(callback); }
};

}  // namespace vistrel_main::test
