// The main window over the image frames' real client area (TFrameCleintArea) with a stand-in
// stack window: placing, the cell operations and the relay reach the windows in the cells.
#include <gtest/gtest.h>

#include <map>

#include "app/mainwindow/ClientAreaOf.h"
#include "viewer/matrix/tests/FakeStackWindow.h"

using namespace vistrel_main;

namespace {

// The settings of the matrix's stand-in windows, kept beside them.
struct WindowState {
  bool Inverse = false, Link = false, OppositePan = false, Applied = false;
  int Chronological = -1;
  bool HasIdentity = false;
  std::string SeriesUID;
};
std::map<FakeStackWindow*, WindowState> states;

struct Ops {
  static bool IsInverse(FakeStackWindow* w) { return states[w].Inverse; }
  static bool IsLinkDown(FakeStackWindow* w) { return states[w].Link; }
  static bool IsPaletteColorDown(FakeStackWindow*) { return false; }
  static void SetOppositePan(FakeStackWindow* w, bool on) { states[w].OppositePan = on; }
  static bool GuiSettingsApplied(FakeStackWindow* w) { return states[w].Applied; }
  static void ApplyGuiSettings(FakeStackWindow* w, app::TResourceInitialization*) { states[w].Applied = true; }
  static void SetShown(FakeStackWindow* w, bool on) { w->SetShown(on); }
  static void SetToolbarPinned(FakeStackWindow*, bool) {}
  static void SetNavigatorPinned(FakeStackWindow*, bool) {}
  static void SetLinkAutomated(FakeStackWindow*, int32_t) {}
  static void SetInfoShown(FakeStackWindow*, bool) {}
  static void SetLinked(FakeStackWindow*, bool) {}
  static void SetInverse(FakeStackWindow* w, bool on) { states[w].Inverse = on; }
  static void SetPaletteColor(FakeStackWindow*, bool) {}
  static void SetStatisticsOptions(FakeStackWindow*, bool, bool, bool, bool) {}
  static void SetChronologicalClass(FakeStackWindow* w, int value) { states[w].Chronological = value; }
  static bool GetIdentity(FakeStackWindow* w, int& study, int& series, int& stack) {
    if (!states[w].HasIdentity) return false;
    study = 1, series = 2, stack = 3;
    return true;
  }
  static void SetEmbeddedObject(FakeStackWindow* w, const TEmbeddedObjectTexts& t) {
    states[w].SeriesUID = t.SeriesInstanceUID;
  }
};

TEST(ClientAreaOf, CellsAndWindowsThroughTheInterfaces) {
  TClientAreaOf<FakeStackWindow, Ops> area;
  area.Control()->SetBounds(0, 0, 400, 200);
  area.SetGranularity(2, 1);
  area.SetMatrix(1, 1);
  EXPECT_EQ(area.Columns(), 2);  // rounded up to the granularity
  ASSERT_EQ(area.CellCount(), 2);
  EXPECT_EQ(area.FindFirstEmptyCell(), 0);

  std::vector<std::string> log;
  FakeStackWindow a("A", &log), b("B", &log);
  TStackWindowOf<FakeStackWindow, Ops> viewA(&a), viewB(&b);
  ASSERT_TRUE(area.AttachToCell(0, viewA));
  ASSERT_TRUE(area.AttachToCell(1, viewB));
  EXPECT_TRUE(area.CellHasWindow(0));
  EXPECT_EQ(area.CellWindowHandle(1), b.Handle());
  ASSERT_NE(area.CellWindow(0), nullptr);
  EXPECT_EQ(area.CellWindow(0)->Handle(), a.Handle());

  states[&a].Inverse = true;
  EXPECT_TRUE(area.CellWindow(0)->IsInverse());
  states[&b].Link = true;
  EXPECT_TRUE(area.CellWindow(1)->IsLinkDown());
  area.CellWindow(1)->SetOppositePan(true);
  EXPECT_TRUE(states[&b].OppositePan);
  EXPECT_TRUE(area.CellWindow(0)->ApplyGuiSettingsOnce(nullptr));
  EXPECT_FALSE(area.CellWindow(0)->ApplyGuiSettingsOnce(nullptr));
  area.CellWindow(0)->SetChronologicalClass(2);
  EXPECT_EQ(states[&a].Chronological, 2);
  int study = 0, series = 0, stack = 0;
  EXPECT_FALSE(area.CellWindow(0)->GetIdentity(study, series, stack));
  states[&a].HasIdentity = true;
  EXPECT_TRUE(area.CellWindow(0)->GetIdentity(study, series, stack));
  EXPECT_EQ(series, 2);
  TEmbeddedObjectTexts texts;
  texts.SeriesInstanceUID = "1.2.3";
  area.CellWindow(1)->SetEmbeddedObject(texts);
  EXPECT_EQ(states[&b].SeriesUID, "1.2.3");

  area.SwapCellWindows(0, 1);
  EXPECT_EQ(area.CellWindowHandle(0), b.Handle());
  area.ReleaseCellWindow(0);
  EXPECT_FALSE(area.CellHasWindow(0));
  EXPECT_EQ(area.CellWindow(0), nullptr);
  area.ReleaseAllWindows();
  EXPECT_EQ(area.FindFirstEmptyCell(), 0);
  EXPECT_FALSE(area.CellHasWindow(1));
}

}  // namespace
