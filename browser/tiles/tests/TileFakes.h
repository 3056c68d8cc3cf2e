// Stand-ins for the tiles' tests: a main window (host) with a client area of cells, and a
// stack window that holds a real work-area panel, so a real engine draws into it and its
// progress reports reach the tile as they do from the real stack window.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "browser/tiles/TFrameStackInfo.h"
#include "platform/process/Process.h"
#include "platform/process/ProcessSnapshot.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"
#include "viewer/engine/EngineMessages.h"
#include "viewer/panel/TgbWorkAreaPanel.h"

namespace tile_tests {

using namespace ORN_browser;

class FakeStackWindow : public iTILE_STACK_WINDOW {
 public:
  FakeStackWindow(int cell, platform::WindowHandle tile)
      : cell_(cell),
        tile_(tile),
        window_([this](uint32_t m, platform::WParam w, platform::LParam l) -> platform::LResult {
          received.push_back({m, w, l});
          return 0;
        }) {
    panel = std::make_unique<TgbWorkAreaPanel>(nullptr);
    panel->SetBounds(0, 0, 64, 64);
    // Each report is handed to the tile at once, so a test sees what the tile did with it.
    panel->OnInitProgress = [this](TObject*, platform::WParam, platform::LParam l) {
      platform::SendMessage(tile_, ORN_image::engine_msg::kInitProgress, 0, l);
      if (progressHandled) progressHandled(int(l & 0xFFFF), int((l >> 16) & 0xFFFF));
    };
    panel->OnEngineReady = [this](TObject*) { ready = true; };
    ++alive;
  }
  ~FakeStackWindow() override { --alive; }

  platform::WindowHandle Handle() override { return window_.Handle(); }
  platform::WindowHandle PanelHandle() override { return panel->Handle(); }
  int CellIndex() const override { return cell_; }
  bool IsVisible() const override { return visible; }
  bool GetScreenClientRect(TRect& rect) override {
    rect = screenRect;
    return hasRect;
  }
  void SetRequests(const TStackWindowRequests& r) override { requests = r; }
  void SetKeyImageSeries(bool k) override { keyImages = k; }
  void SetDragIcon(TBitmap* p) override { dragIcon = p; }
  void SetSeriesCaption(const std::wstring& c) override { caption = c; }
  bool IsEngineReady() const override { return ready; }
  bool IsEngineFailed() const override { return failed; }
  int CurrentImage() const override { return current; }
  bool GoToImage(int index) override {
    goTo.push_back(index);
    return true;
  }
  void SetMaximizedButton(bool notMaximized) override { maximizedButton.push_back(notMaximized); }
  // The engine answers with its ready message, as after a start.
  void ReinitializeEngine() override {
    ready = false;
    ++reinitialised;
    if (answerReinitialise) platform::PostMessage(panel->Handle(), ORN_image::engine_msg::kEngineReady, 0, 0);
  }
  void SetCell(int cell) { cell_ = cell; }

  struct Message {
    uint32_t message;
    platform::WParam wParam;
    platform::LParam lParam;
  };
  std::vector<Message> received;
  std::unique_ptr<TgbWorkAreaPanel> panel;
  TStackWindowRequests requests;
  // Called after the tile has handled a progress report.
  std::function<void(int progress, int maximum)> progressHandled;
  bool answerReinitialise = true;
  bool keyImages = false, ready = false, failed = false, visible = true, hasRect = true;
  int current = 0, reinitialised = 0;
  TRect screenRect{0, 0, 0, 0};
  TBitmap* dragIcon = nullptr;
  std::wstring caption;
  std::vector<int> goTo;
  std::vector<bool> maximizedButton;
  static inline int alive = 0;

 private:
  int cell_;
  platform::WindowHandle tile_;
  platform::Window window_;
};

// The main window: a client area of `cells` cells holding the windows placed in them.
class FakeHost : public iTILE_HOST {
 public:
  explicit FakeHost(int cells = 4) : cells_(static_cast<size_t>(cells), nullptr) { SetTileHost(this); }
  ~FakeHost() override { SetTileHost(nullptr); }

  platform::WindowHandle MainWindowHandle() override { return 0; }
  app::TGuiResources GuiResources() override {
    app::TGuiResources r;
    r.Scale = scale;
    r.Colors = colors;
    return r;
  }
  std::unique_ptr<iTILE_STACK_WINDOW> CreateStackWindow(int cell, platform::WindowHandle tile) override {
    auto w = std::make_unique<FakeStackWindow>(cell, tile);
    created.push_back(w.get());
    return w;
  }
  bool StackInitialization() override { return stackInitialisation; }
  bool HasClientArea() override { return clientArea; }
  int ClientColumns() override { return clientArea ? 2 : 0; }
  int ClientRows() override { return clientArea ? static_cast<int>(cells_.size()) / 2 : 0; }
  int MaximizedCell() override { return maximized; }
  int CellCount() override { return clientArea ? static_cast<int>(cells_.size()) : 0; }
  bool CellHasWindow(int cell) override { return CellWindow(cell) != nullptr; }
  iTILE_STACK_WINDOW* CellWindow(int cell) override {
    if (!clientArea || cell < 0 || cell >= static_cast<int>(cells_.size())) return nullptr;
    return cells_[static_cast<size_t>(cell)];
  }
  int MoveMaximizedTo(int cell) override {
    movedMaximized.push_back(cell);
    const int before = maximized;
    maximized = cell;
    return before;
  }
  int CellIndexAtScreenPoint(int x, int y, bool drop) override {
    pointQueries.push_back({x, y, drop});
    return drop ? dropCell : -1;
  }
  bool MoveCell(int from, int to) override {
    moves.push_back({from, to});
    if (from == to) return false;
    // The real area swaps by index and would throw for a cell outside it.
    if (from < 0 || to < 0 || from >= CellCount() || to >= CellCount()) throw std::out_of_range("deque");
    std::swap(cells_[size_t(from)], cells_[size_t(to)]);
    for (int i : {from, to})
      if (auto* w = dynamic_cast<FakeStackWindow*>(cells_[size_t(i)])) w->SetCell(i);
    return true;
  }

  // The owner's placement: the given cell, else the first empty one.
  bool Place(iTILE_STACK_WINDOW* window, int cell = -1) {
    ++placements;
    if (refusePlacement) return false;
    for (auto& c : cells_)
      if (c == window) c = nullptr;
    if (cell < 0)
      for (size_t i = 0; i < cells_.size(); ++i)
        if (!cells_[i]) {
          cell = static_cast<int>(i);
          break;
        }
    if (cell < 0 || cell >= static_cast<int>(cells_.size())) return false;
    cells_[size_t(cell)] = window;
    static_cast<FakeStackWindow*>(window)->SetCell(cell);
    return true;
  }
  // A window that goes leaves its cell.
  void Forget(iTILE_STACK_WINDOW* window) {
    for (auto& c : cells_)
      if (c == window) c = nullptr;
  }

  double scale = 1.0;
  const app::TvsColors* colors = nullptr;
  bool stackInitialisation = false;
  bool clientArea = true;
  bool refusePlacement = false;
  int maximized = -1;
  int dropCell = -1;
  int placements = 0;
  struct PointQuery {
    int x, y;
    bool drop;
  };
  std::vector<PointQuery> pointQueries;
  std::vector<std::pair<int, int>> moves;
  std::vector<int> movedMaximized;
  std::vector<FakeStackWindow*> created;

 private:
  std::vector<iTILE_STACK_WINDOW*> cells_;
};

inline void Pump(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    platform::ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  } while (std::chrono::steady_clock::now() < end);
}

template <class Condition>
bool PumpUntil(Condition done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    platform::ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// The engines this test program started that still run.
inline int RunningEngines() {
  const uint32_t self = platform::CurrentProcessId();
  int n = 0;
  for (const auto& p : platform::ProcessSnapshot())
    if (p.parentPid == self && p.exeName == "Pixtrane.exe") ++n;
  return n;
}

}  // namespace tile_tests
