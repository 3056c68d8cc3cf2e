// How the main window calls the image frames' TFrameStackWindow: the frame's own operations
// behind the main window's stack-window interface. Operations whose part of the frame is not
// built yet (context-menu items, chronological classes, statistics) do nothing.
#pragma once

#include "app/mainwindow/ClientAreaOf.h"
#include "app/startup/TResourceInitialization.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

namespace vistrel_main {

template <>
struct TStackWindowOps<TFrameStackWindow> {
  using W = TFrameStackWindow;
  static bool IsInverse(W* w) { return w->IsInverse(); }
  static bool IsLinkDown(W* w) { return w->tbLink->Down(); }
  static bool IsPaletteColorDown(W* w) { return w->tbPaletteColor->Down(); }
  static void SetOppositePan(W*, bool) {}
  static bool GuiSettingsApplied(W* w) { return w->GuiSettingsApplied(); }
  static void ApplyGuiSettings(W* w, TResourceInitialization* r) {
    w->ApplyGuiSettings(r);
  }
  static void SetShown(W* w, bool on) { w->SetShown(on); }
  static void SetToolbarPinned(W* w, bool on) { w->SetToolbarPinned(on); }
  static void SetNavigatorPinned(W* w, bool on) { w->SetNavigatorPinned(on); }
  static void SetLinkAutomated(W* w, int32_t value) { w->SetLinkAutomated(value); }
  static void SetInfoShown(W* w, bool on) { w->tbInfo->SetDown(on); }
  static void SetLinked(W* w, bool on) { w->tbLink->SetDown(on); }
  static void SetInverse(W* w, bool on) {
    if (w->IsInverse() != on) w->ApplyInverse(on);
  }
  static void SetPaletteColor(W* w, bool on) { w->tbPaletteColor->SetDown(on); }
  static void SetStatisticsOptions(W*, bool, bool, bool, bool) {}
  static void SetChronologicalClass(W* w, int) { w->RefreshChronologicalOrder(); }
  static bool GetIdentity(W* w, int& study, int& series, int& stack) {
    if (!w->GetStackNumbers) return false;
    int32_t a = study, b = series, c = stack;
    w->GetStackNumbers(a, b, c);
    study = a, series = b, stack = c;
    return true;
  }
  static void SetEmbeddedObject(W* w, const TEmbeddedObjectTexts& t) {
    auto* d = w->GetEmbeddedObject();
    d->PatientName = t.PatientName;
    d->PatientId = t.PatientID;
    d->AccessionNumber = t.AccessionNumber;
    d->StudyId = t.StudyID;
    d->ModalitiesInStudy = t.Modalities;
    d->SeriesInstanceUid = t.SeriesInstanceUID;
    d->SeriesNumber = t.SeriesNumber;
  }
};

}  // namespace vistrel_main
