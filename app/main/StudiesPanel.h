// The study browser's studies panel (TFrameStudyBoxFrameSet) and its study boxes
// (TFrameStudyBox) as the main window sees them (iSTUDIES_PANEL, iSTUDY_BOX). A box's tiles
// hand their new stack windows to the main window, which places them in its client area.
#pragma once

#include <map>
#include <memory>

#include "app/main/TileHost.h"
#include "app/mainwindow/iSTUDIES_PANEL.h"
#include "browser/studies/TFrameStudyBoxFrameSet.h"
#include "browser/studies/TileSetAdapter.h"

namespace vistrel_program {

class TStudyBoxOf : public vistrel_main::iSTUDY_BOX {
 public:
  TStudyBoxOf(ORN_browser::TFrameStudyBox* box, TVistrelTileHost& host) : FBox(box), FHost(host) {}

  void SetAttachments(const std::string& text, std::function<void(const std::string&)> open) override {
    FBox->SetAttachments(System::AnsiString(text));
    if (open)
      FBox->OnOpenAttachments = [open](const System::AnsiString& t) { open(std::string(t)); };
    else
      FBox->OnOpenAttachments = nullptr;
  }
  void SetStatusHint(const std::wstring& hint) override { FBox->SetStatusHint(hint); }
  void SetStatusImage(bool show, TBitmap* bitmap) override { FBox->SetStatusImage(show, bitmap); }
  void ApplyGuiSettings(vistrel_main::TResourceInitialization* resources) override {
    FBox->ApplyGuiSettings(resources);
  }
  void SetLossyState(int state) override { FBox->SetLossyState(state); }
  void SetCallbacks(const vistrel_main::TStudyBoxCallbacks& c) override {
    FBox->OnGetStackInfo = [get = c.TileDescription](int study, int stack, ORN_browser::STACK_INFO_INIT_STRUCT& info) {
      vistrel_main::TStackTileDescription d;
      if (!get || !get(study, stack, d)) return false;
      info.StudyIndex = d.StudyIndex;
      info.SeriesIndex = d.SeriesIndex;
      info.StackIndex = d.StackIndex;
      info.Icon = d.Icon;
      info.SeriesNumber = d.SeriesNumber;
      info.ImageCount = d.ImageCount;
      info.Protocol = d.MainLabel;
      info.Date = d.SeriesDate;
      info.Time = d.SeriesTime;
      info.Modality = d.Modality;
      info.BodyPart = d.BodyPart;
      info.Description = d.Description;
      return true;
    };
    FBox->OnEngineFilesRequest = c.EngineFileLists;
    FBox->OnWindowCreated = [this, place = c.PlaceNewWindow](ORN_browser::iTILE_STACK_WINDOW* w) {
      TTileStackWindow* window = FHost.WindowOf(w);
      return window && place && place(window->View());
    };
    FBox->OnWindowCreatedInCell = [this, place = c.PlaceWindowInCell](ORN_browser::iTILE_STACK_WINDOW* w, int cell) {
      TTileStackWindow* window = FHost.WindowOf(w);
      return window && place && place(window->View(), cell);
    };
  }

 private:
  ORN_browser::TFrameStudyBox* FBox;
  TVistrelTileHost& FHost;
};

class TStudiesPanelOf : public vistrel_main::iSTUDIES_PANEL {
 public:
  // The browser host is the program's and outlives every panel.
  TStudiesPanelOf(const ORN_browser::TStudyBrowserHost& browserHost, TVistrelTileHost& tileHost)
      : FPanel(std::make_unique<ORN_browser::TFrameStudyBoxFrameSet>(nullptr, &browserHost)), FHost(tileHost) {}
  ~TStudiesPanelOf() override {
    FPanel.reset();  // the boxes go with the panel before their views
  }

  TControl* Control() override { return FPanel.get(); }
  void SetCallbacks(const vistrel_main::TStudiesPanelCallbacks& c) override {
    FPanel->OnStudyEnabledChanged = c.StudyBoxEnabledChanged;
  }
  vistrel_main::iSTUDY_BOX* AddStudyFirst(const std::wstring& title, int32_t study, int32_t stackCount) override {
    return View(FPanel->AddStudyFirst(title, study, stackCount));
  }
  vistrel_main::iSTUDY_BOX* AddStudyLast(const std::wstring& title, int32_t study, int32_t stackCount) override {
    return View(FPanel->AddStudyLast(title, study, stackCount));
  }
  int GetStackCount() override { return FPanel->GetStackCount(); }
  int GetPreferredWidth() override { return FPanel->GetPreferredWidth(); }
  void ReverseStudyOrder() override { FPanel->ReverseStudyOrder(); }
  void StopStudyNavigators() override { FPanel->StopStudyNavigators(); }

 private:
  vistrel_main::iSTUDY_BOX* View(ORN_browser::TFrameStudyBox* box) {
    if (!box) return nullptr;
    auto& view = FViews[box];
    if (!view) view = std::make_unique<TStudyBoxOf>(box, FHost);
    return view.get();
  }

  std::unique_ptr<ORN_browser::TFrameStudyBoxFrameSet> FPanel;
  TVistrelTileHost& FHost;
  std::map<ORN_browser::TFrameStudyBox*, std::unique_ptr<TStudyBoxOf>> FViews;
};

}  // namespace vistrel_program
