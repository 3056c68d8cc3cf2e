// The image frames' TFrameStackWindow as a tile's stack window (iTILE_STACK_WINDOW) and, for the
// main window's client area, as an iSTACK_WINDOW. The tile owns this object and with it the
// frame; a frame that goes leaves its cell first, so the client area never holds a dead window.
#pragma once

#include <functional>
#include <memory>

#include "app/main/StackWindowOps.h"
#include "app/mainwindow/ClientAreaOf.h"
#include "browser/tiles/iTILE_STACK_WINDOW.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

namespace vistrel_program {

using TStackWindowView = vistrel_main::TStackWindowOf<TFrameStackWindow>;

class TTileStackWindow : public ORN_browser::iTILE_STACK_WINDOW {
 public:
  // `gone` is told when the window is destroyed (the host's registry of frames).
  TTileStackWindow(int cellIndex, platform::WindowHandle mainWindow, platform::WindowHandle tile,
                   std::function<void(TTileStackWindow*)> gone)
      : FFrame(new TFrameStackWindow(nullptr, cellIndex, 0, mainWindow, tile)), FView(FFrame), FGone(std::move(gone)) {}
  ~TTileStackWindow() override {
    if (FGone) FGone(this);
    if (FFrame->CellIndex() >= 0) FFrame->DetachFromCell();
    delete FFrame;
  }
  TTileStackWindow(const TTileStackWindow&) = delete;
  TTileStackWindow& operator=(const TTileStackWindow&) = delete;

  TFrameStackWindow* Frame() const { return FFrame; }
  // The main window's view of the same frame.
  vistrel_main::iSTACK_WINDOW& View() { return FView; }

  platform::WindowHandle Handle() override { return FFrame->Handle(); }
  platform::WindowHandle PanelHandle() override { return FFrame->WorkArea() ? FFrame->WorkArea()->Handle() : 0; }
  int CellIndex() const override { return FFrame->CellIndex(); }
  bool IsVisible() const override { return FFrame->Visible(); }
  bool GetScreenClientRect(TRect& rect) override {
    const TPoint origin = FFrame->ClientToScreen({0, 0});
    rect = {origin.x, origin.y, origin.x + FFrame->Width(), origin.y + FFrame->Height()};
    return true;
  }
  void SetRequests(const ORN_browser::TStackWindowRequests& r) override {
    FFrame->GetStackNumbers = r.StackIndexes;
    if (r.WheelOutside)
      FFrame->OnWheelOutsideRequest = [w = r.WheelOutside](const TPoint& p, uint16_t delta, uint16_t keys) {
        w(p.x, p.y, delta, keys);
      };
    else
      FFrame->OnWheelOutsideRequest = nullptr;
    FFrame->OnStackBefore = r.BeforeFirstImage;
    FFrame->OnStackAfter = r.PastLastImage;
    FFrame->OnPanelLeftUp = r.LeftUp;
    FFrame->OnPanelRightUp = r.RightUp;
    FFrame->OnPanelMiddleUp = r.MiddleUp;
    auto down = [](const std::function<void()>& f) -> std::function<void(int, int)> {
      if (!f) return nullptr;
      return [f](int, int) { f(); };
    };
    FFrame->OnPanelLeftDown = down(r.LeftDown);
    FFrame->OnPanelRightDown = down(r.RightDown);
    FFrame->OnPanelMiddleDown = down(r.MiddleDown);
  }
  // Key images, drag pictures and the series caption belong to parts of the frame not built yet.
  void SetKeyImageSeries(bool) override {}
  void SetDragIcon(TBitmap*) override {}
  void SetSeriesCaption(const std::wstring&) override {}
  bool IsEngineReady() const override { return FFrame->EngineReady(); }
  bool IsEngineFailed() const override { return FFrame->EngineFailed(); }
  int CurrentImage() const override { return FFrame->CurrentImageIndex(); }
  bool GoToImage(int index) override { return FFrame->GoToImage(index); }
  void SetMaximizedButton(bool notMaximized) override { FFrame->SetMaximizedButton(notMaximized); }
  void ReinitializeEngine() override { FFrame->ReinitializeEngine(); }

 private:
  TFrameStackWindow* FFrame;
  TStackWindowView FView;
  std::function<void(TTileStackWindow*)> FGone;
};

}  // namespace vistrel_program
