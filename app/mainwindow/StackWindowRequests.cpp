// The main window as the hub of the stack windows: activation, a window leaving its cell, the
// measurement type, and the tool and setting changes that it relays to every window or mirrors
// on its own tool buttons.
#include "app/mainwindow/TFormApplication.h"
#include "platform/windows/Messages.h"

namespace vistrel_main {

namespace {

uint16_t LowWord(platform::LParam value) { return static_cast<uint16_t>(static_cast<uint64_t>(value) & 0xFFFF); }
uint16_t HighWord(platform::LParam value) {
  return static_cast<uint16_t>((static_cast<uint64_t>(value) >> 16) & 0xFFFF);
}

}  // namespace

void TFormApplication::OnStackWindowActivated(platform::WParam wParam, platform::LParam) {
  if (!FClientArea) return;
  for (int i = 0; i < FClientArea->CellCount(); ++i)
    if (FClientArea->CellHasWindow(i))
      platform::SendMessage(FClientArea->CellWindowHandle(i), kWmStackDeactivate, wParam, 0);
}

void TFormApplication::OnStackWindowDetach(platform::WParam wParam, platform::LParam) {
  if (!FClientArea) return;
  for (int i = 0; i < FClientArea->CellCount(); ++i) {
    if (FClientArea->CellHasWindow(i) &&
        FClientArea->CellWindowHandle(i) == static_cast<platform::WindowHandle>(wParam)) {
      FClientArea->ReleaseCellWindow(i);
      FClientArea->Relayout();
      break;
    }
  }
}

void TFormApplication::OnMeasurementType(platform::WParam wParam, platform::LParam lParam) {
  FMeasurementType = static_cast<int>(lParam);
  if (!FClientArea) return;
  for (int i = 0; i < FClientArea->CellCount(); ++i) {
    if (!FClientArea->CellHasWindow(i)) continue;
    const platform::WindowHandle handle = FClientArea->CellWindowHandle(i);
    if (handle != static_cast<platform::WindowHandle>(wParam))
      platform::PostMessage(handle, kWmMeasurementType, wParam, FMeasurementType);
  }
}

// Sets the main button up when no window shows the state, down when every window does
// (`emptyCellsCountOff`: an empty cell counts as off and stops the all-on case); a mixed
// matrix leaves the button as it is.
void TFormApplication::MirrorButton(TToolButton* button, bool (iSTACK_WINDOW::*state)(), bool emptyCellsCountOff) {
  if (!FClientArea) return;
  bool allOff = true, allOn = true;
  int windows = 0;
  for (int i = 0; i < FClientArea->CellCount(); ++i) {
    iSTACK_WINDOW* window = FClientArea->CellWindow(i);
    if (!window) {
      if (emptyCellsCountOff) allOn = false;
      continue;
    }
    ++windows;
    if ((window->*state)()) allOff = false;
    else allOn = false;
  }
  if (windows == 0) allOn = false;
  if (allOff) button->SetDown(false);
  else if (allOn) button->SetDown(true);
}

void TFormApplication::SyncPaletteColorButton() {
  MirrorButton(tbPaletteColor, &iSTACK_WINDOW::IsPaletteColorDown, true);
}

void TFormApplication::BroadcastTool(platform::WParam wParam, platform::LParam lParam, int code) {
  if (!FClientArea) return;
  for (int i = 0; i < FClientArea->CellCount(); ++i) {
    if (!FClientArea->CellHasWindow(i)) continue;
    const platform::WindowHandle handle = FClientArea->CellWindowHandle(i);
    platform::PostMessage(handle, kWmStackTool, wParam, lParam);
    if (code == 6) platform::PostMessage(handle, kWmMeasurementType, 0, FMeasurementType);
  }
}

void TFormApplication::OnStackWindowTool(platform::WParam wParam, platform::LParam lParam) {
  const int code = LowWord(lParam);
  const uint16_t value = HighWord(lParam);
  if (code == 20) FStatisticsFlags = value;

  if (code == 0 && static_cast<intptr_t>(wParam) > 0) {
    // A window asks for the current tool.
    const std::pair<TToolButton*, int> tools[] = {{tbZoom, 1},      {tbVOI, 2},       {tbPan, 3},
                                                  {tbNavigator, 4}, {tbMagnifier, 5}, {tbMeasurement, 6},
                                                  {tbEdgeEnhancement, 7}};
    for (const auto& [button, tool] : tools) {
      if (!button->Down()) continue;
      const auto asker = static_cast<platform::WindowHandle>(wParam);
      platform::PostMessage(asker, kWmStackTool, 0, tool);
      if (tool == 6) platform::PostMessage(asker, kWmMeasurementType, 0, FMeasurementType);
      break;
    }
    return;
  }
  switch (code) {
    case 8:
      MirrorButton(tbInverse, &iSTACK_WINDOW::IsInverse, true);
      return;
    case 17:
      MirrorButton(tbLink, &iSTACK_WINDOW::IsLinkDown, false);
      return;
    case 19:
      SyncPaletteColorButton();
      return;
    case 33:
      FOppositePan = value != 0;
      if (FClientArea)
        for (int i = 0; i < FClientArea->CellCount(); ++i) {
          iSTACK_WINDOW* window = FClientArea->CellWindow(i);
          if (window && window->Handle() != static_cast<platform::WindowHandle>(wParam))
            window->SetOppositePan(FOppositePan);
        }
      return;
    default:
      break;
  }

  switch (code) {
    case 1: tbZoom->SetDown(true); break;
    case 2: tbVOI->SetDown(true); break;
    case 3: tbPan->SetDown(true); break;
    case 4:
    case 10: tbNavigator->SetDown(true); break;
    case 5: tbMagnifier->SetDown(true); break;
    case 6: tbMeasurement->SetDown(true); break;
    case 7: tbEdgeEnhancement->SetDown(true); break;
    case 12: FStackToolsPanelFix = wParam != 0; break;
    case 13: FNavigatorPanelFix = wParam != 0; break;
    case 16: FLinkAutomated = static_cast<int32_t>(wParam); break;
    case 18: FShowStackInfo = wParam != 0; break;
    case 14: {
      // The container becomes the main window's. The one it replaces may still be named by
      // messages posted before: it is retired and freed only after they have been served.
      auto* incoming = reinterpret_cast<TgbReferenceLineContainer*>(wParam);
      if (incoming != FReferenceLines.get()) {
        // A container handed back while retired is the one already owned, not a new one.
        std::shared_ptr<TgbReferenceLineContainer> next;
        for (const auto& [serial, retired] : FRetiredReferenceLines)
          if (retired.get() == incoming) next = retired;
        if (!next && incoming) next.reset(incoming);
        if (FReferenceLines) {
          FRetiredReferenceLines.emplace_back(++FRetiredSerial, std::move(FReferenceLines));
          platform::PostMessage(Handle(), kWmFreeRetiredReferenceLines, static_cast<platform::WParam>(FRetiredSerial),
                                0);
        }
        FReferenceLines = std::move(next);
      }
      break;
    }
    default:
      break;
  }
  BroadcastTool(wParam, lParam, code);
}

}  // namespace vistrel_main
