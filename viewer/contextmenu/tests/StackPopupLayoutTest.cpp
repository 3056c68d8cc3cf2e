// The shapes of the stack context menu: the ordinary and MPR layouts for a table of frame
// states, the print, lossy and key-image groups from the settings, and the groups of the
// checked tool modes.
#include "platform/com/Library.h"
#include "platform/process/Process.h"
#include "platform/vcl/ShortCuts.h"
#include "viewer/contextmenu/tests/MenuFixture.h"

using namespace menu_test;
using V = std::vector<std::string>;

namespace {

const V kRotate = {"imRotate", "-"};
const V kMarks = {"imLocksAndMarks", "-"};

V Join(std::initializer_list<V> parts) {
  V all;
  for (const V& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// The program's own settings file, with the temporary folders and programs it names.
class PrintSettings {
 public:
  explicit PrintSettings(const std::string& sections) {
    const std::string dir = platform::ProgramFolder() + "menu_print_" + std::to_string(platform::CurrentProcessId());
    std::filesystem::create_directories(dir);
    tool_ = std::make_unique<ScratchFile>(dir + "/tool.exe", "x");
    std::string text = sections;
    for (std::string key : {"@TEMP@", "@TOOL@"}) {
      const std::string value = key == "@TEMP@" ? dir + "/temp/" : tool_->Path();
      for (size_t at = text.find(key); at != std::string::npos; at = text.find(key)) text.replace(at, key.size(), value);
    }
    ini_ = std::make_unique<ScratchFile>(orn_ini::ProgramIniPath(), text);
    dir_ = dir;
  }
  ~PrintSettings() {
    ini_.reset();
    tool_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

 private:
  std::string dir_;
  std::unique_ptr<ScratchFile> tool_, ini_;
};

const char* const kPrint = "[DICOM PRINT]\nTempDIR=@TEMP@\nPrintManager=@TOOL@\nPrintScreenShortCut=Ctrl+P\n";
const char* const kComposer =
    "[COMPOSER]\nTempDIR=@TEMP@\nExecutive=@TOOL@\nShowComposerShortCut=Ctrl+K\nAddImageShortCut=F7\n"
    "AddPageShortCut=F8\nAddRangeShortCut=Shift+F9\nAddStackShortCut=F10\nMarkFirstImageOfRangeShortCut=F9\n";

}  // namespace

TEST_F(MenuTest, OrdinaryLayoutFollowsTheFrameState) {
  const V toolsFull = {"imLinkMode", "-", "imZoomMode", "imVOIMode", "imPanMode", "imNavigatorMode", "imMagnifierMode",
                       "imEdgeEnhancementMode", "imMeasurementMode", "-", "imInverse", "-", "imPaletteMode", "-", "imMPRMode"};
  const struct {
    const char* name;
    bool matrixEnabled, navigator, mprAvailable, mprOn, linkShown;
    V top, tools;
  } cases[] = {
      {"everything", true, true, true, false, true, Join({{"imMatrix", "-", "imTools", "-"}, kRotate, kMarks}), toolsFull},
      {"matrix button hidden", false, true, true, false, true, Join({{"imTools", "-"}, kRotate, kMarks}), toolsFull},
      {"link button hidden", false, true, true, false, false, Join({{"imTools", "-"}, kRotate, kMarks}),
       V(toolsFull.begin() + 2, toolsFull.end())},
      {"MPR down but hidden: no navigator", false, true, false, true, true, Join({{"imTools", "-"}, kRotate, kMarks}),
       {"imLinkMode", "-", "imZoomMode", "imVOIMode", "imPanMode", "imMagnifierMode", "imEdgeEnhancementMode",
        "imMeasurementMode", "-", "imInverse", "-", "imPaletteMode", "-"}},
  };
  for (const auto& c : cases) {
    menu_->SetMatrixEnabled(c.matrixEnabled);
    menu_->SetFrameState(c.navigator, c.mprAvailable, c.mprOn, false, c.linkShown, true, false, false, false);
    EXPECT_EQ(Top(), c.top) << c.name;
    EXPECT_EQ(Sub(L"imTools"), c.tools) << c.name;
    EXPECT_FALSE(menu_->IsItemChecked(L"imMPRMode")) << c.name;
  }
  EXPECT_EQ(Sub(L"imRotate"), (V{"imRotateLeft", "imRotateRight", "imFlipHorizontal", "imFlipVertical"}));
  EXPECT_EQ(Sub(L"imLocksAndMarks"), (V{"imSetMark", "imSelectMarks", "imReleaseMarks", "-", "imLock", "imReleaseLocks"}));
}

TEST_F(MenuTest, MprLayoutHasItsOwnToolsAndProjectionItems) {
  menu_->SetFrameState(true, true, true, false, true, true, false, false, false);
  EXPECT_TRUE(menu_->IsItemChecked(L"imMPRMode"));
  EXPECT_EQ(Top(), (V{"imTools", "-", "imMPRMode", "-", "imMPRAverage", "imMPRAverageWeighted", "imMPRMIP",
                      "imMPRMIPWeighted", "-", "imMPRPosition", "imMPRThickness", "imMPRSlabPointing", "-"}));
  EXPECT_EQ(Sub(L"imTools"),
            (V{"imZoomMode", "imPanMode", "imMagnifierMode", "imMeasurementMode", "imVOIMode", "-", "imPaletteMode"}));
  // The dividers are named in the order they were made, anew for every layout.
  menu_->SetFrameState(true, true, true, false, true, true, false, false, false);
  ASSERT_FALSE(menu_->Dividers().empty());
  EXPECT_EQ(menu_->Dividers()[0]->Name(), "Divider0");
  EXPECT_EQ(menu_->Dividers().back()->Name(), "Divider" + std::to_string(menu_->Dividers().size() - 1));
}

TEST_F(MenuTest, ToolShortCutsComeOnlyWithAllFourKeys) {
  const std::string base = orn_ini::ProgramBaseIniPath();
  {
    ScratchFile file(base, "[MAIN TOOLS]\nZoomShortCut=Z\nVoiShortCut=W\nPanShortCut=P\nNavigationShortCut=N\n");
    menu_->SetFrameState(true, false, false, false, true, true, false, false, false);
    EXPECT_EQ(Item(L"imZoomMode")->ShortCut, TextToShortCut("Z"));
    EXPECT_EQ(Item(L"imVOIMode")->ShortCut, TextToShortCut("W"));
    EXPECT_EQ(Item(L"imPanMode")->ShortCut, TextToShortCut("P"));
    EXPECT_EQ(Item(L"imNavigatorMode")->ShortCut, TextToShortCut("N"));
    menu_->SetFrameState(true, true, true, false, true, true, false, false, false);
    EXPECT_EQ(Item(L"imMPRPosition")->ShortCut, TextToShortCut("N"));  // the navigation key in MPR
  }
  ScratchFile file(base, "[MAIN TOOLS]\nZoomShortCut=Z\nVoiShortCut=W\nPanShortCut=P\nNavigationShortCut=\n");
  menu_->SetFrameState(true, false, false, false, true, true, false, false, false);
  for (const wchar_t* name : {L"imZoomMode", L"imVOIMode", L"imPanMode", L"imNavigatorMode"})
    EXPECT_EQ(Item(name)->ShortCut, 0);
}

TEST_F(MenuTest, PrintLossyAndKeyImageGroupsFollowSessionAndSettings) {
  const V normalTop = {"imTools", "-", "imRotate", "-", "imLocksAndMarks", "-"};
  {
    // Without a session number there is no print group; lossy and key images follow the flags.
    menu_->SetFrameState(false, false, false, false, true, true, true, true, true);
    EXPECT_EQ(Top(), Join({normalTop, {"imLossyPresets", "-", "imKeyImages", "-"}}));
    menu_->SetFrameState(false, false, false, false, true, true, true, true, false);
    EXPECT_EQ(Top(), normalTop);
  }
  app::SessionNumber() = 7;
  {
    // No valid print settings: the print item stands disabled and empty.
    menu_->SetFrameState(false, false, false, false, true, true, false, false, true);
    EXPECT_EQ(Top(), Join({normalTop, {"imDicomPrint", "-", "imLossyPresets", "-"}}));
    EXPECT_FALSE(Item(L"imDicomPrint")->Enabled);
    EXPECT_TRUE(Sub(L"imDicomPrint").empty());
    EXPECT_EQ(Sub(L"imLossyPresets"), (V{"imSetLossless", "-", "imLossyAll", "imLossyStudy", "imLossyStack"}));
  }
  {
    PrintSettings settings(kComposer);
    menu_->SetFrameState(false, false, false, false, true, true, false, true, true);
    EXPECT_EQ(Top(), Join({normalTop, {"imDicomPrint", "-", "imLossyPresets", "-", "imKeyImages", "-"}}));
    EXPECT_TRUE(Item(L"imDicomPrint")->Enabled);
    EXPECT_EQ(Sub(L"imDicomPrint"), (V{"imDicomPrint_ShowComposer", "-", "imDicomPrint_AddImage", "imDicomPrint_AddPage",
                                       "imDicomPrint_AddRangeBox", "imDicomPrint_AddStack"}));
    EXPECT_EQ(Sub(L"imDicomPrint_AddRangeBox"), (V{"imDicomPrint_MarkFirstImageOfRange", "imDicomPrint_AddRange"}));
    EXPECT_EQ(Item(L"imDicomPrint_AddImage")->ShortCut, TextToShortCut("F7"));
    EXPECT_EQ(Item(L"imDicomPrint_AddRange")->ShortCut, TextToShortCut("Shift+F9"));
    EXPECT_EQ(Sub(L"imKeyImages"), (V{"imAddKeyImage"}));
  }
  {
    PrintSettings settings(std::string(kPrint) + kComposer +
                           "[SECONDARY MPR SERIES]\nAllow=1\nTempDIR=@TEMP@\nShortCut=Ctrl+M\n");
    menu_->SetFrameState(false, false, false, false, true, true, true, true, true);
    EXPECT_EQ(Sub(L"imDicomPrint")[0], "imDicomPrint_PrintScreen");
    EXPECT_EQ(Item(L"imDicomPrint_PrintScreen")->ShortCut, TextToShortCut("Ctrl+P"));
    EXPECT_EQ(Sub(L"imKeyImages"), (V{"imAddKeyImage", "imRemoveKeyImage"}));
    // MPR: secondary series, the shorter print group, key images; never the lossy group.
    menu_->SetFrameState(false, true, true, false, true, true, false, true, true);
    const V top = Top();
    const V tail(top.end() - 6, top.end());
    EXPECT_EQ(tail, (V{"imSecondaryMPRSeries", "-", "imDicomPrint", "-", "imKeyImages", "-"}));
    EXPECT_TRUE(Item(L"imSecondaryMPRSeries")->Enabled);
    EXPECT_EQ(Item(L"imSecondaryMPRSeries")->ShortCut, TextToShortCut("Ctrl+M"));
    EXPECT_EQ(Sub(L"imDicomPrint"), (V{"imDicomPrint_PrintScreen", "imDicomPrint_ShowComposer", "-",
                                       "imDicomPrint_AddImage", "imDicomPrint_AddPage"}));
  }
  // Without the series settings the item stands disabled with no shortcut.
  menu_->SetFrameState(false, true, true, false, true, true, false, false, true);
  EXPECT_FALSE(Item(L"imSecondaryMPRSeries")->Enabled);
  EXPECT_EQ(Item(L"imSecondaryMPRSeries")->ShortCut, 0);
}

TEST_F(MenuTest, ModeGroupsGoBelowTheToolsInTheirOrder) {
  menu_->SetMatrixEnabled(true);
  menu_->SetZoomModeChecked(true);
  menu_->SetMeasurementModeChecked(true);
  menu_->SetPaletteModeChecked(true);
  LayOut();
  menu_->RefreshModeDependentItems();
  const V top = Top();
  ASSERT_GE(top.size(), 4u + 10 + 27);
  EXPECT_EQ(V(top.begin(), top.begin() + 5), (V{"imMatrix", "-", "imTools", "-", "imZoomFitScreen"}));
  EXPECT_EQ(top[4 + 9], "-");
  EXPECT_EQ(top[4 + 10], "imMeasurementDensity");
  EXPECT_EQ(V(top.begin() + 4 + 10 + 27, top.end()), Join({kRotate, kMarks}));  // no palette presets: no submenu

  // Zoom in MPR: only fit to window; link adds nothing there.
  menu_->SetMeasurementModeChecked(false);
  menu_->SetLinkModeChecked(true);
  menu_->SetFrameState(false, true, true, false, true, true, false, false, false);
  menu_->RefreshModeDependentItems();
  const V mpr = Top();
  ASSERT_GE(mpr.size(), 5u);
  EXPECT_EQ(V(mpr.begin(), mpr.begin() + 5), (V{"imTools", "-", "imZoomFitScreen", "-", "imMPRMode"}));
  // Pan in MPR adds nothing either (pan and zoom are radio items of the tools submenu).
  menu_->SetPanModeChecked(true);
  EXPECT_FALSE(menu_->IsItemChecked(L"imZoomMode"));
  menu_->SetFrameState(false, true, true, false, true, true, false, false, false);
  menu_->RefreshModeDependentItems();
  EXPECT_EQ(Top()[2], "imMPRMode");

  // Link mode with the link button disabled: no link group.
  menu_->SetMatrixEnabled(false);
  menu_->SetZoomModeChecked(false);
  menu_->SetPanModeChecked(false);
  menu_->SetFrameState(false, false, false, false, true, false, false, false, false);
  menu_->RefreshModeDependentItems();
  EXPECT_EQ(Top(), Join({{"imTools", "-"}, kRotate, kMarks}));
  menu_->SetFrameState(false, false, false, false, true, true, false, false, false);
  menu_->RefreshModeDependentItems();
  EXPECT_EQ(Top(), Join({{"imTools", "-", "imLinkPresets", "-"}, kRotate, kMarks}));

  // Without "imTools" in the menu the groups go to the top.
  menu_->DetachItems(popup_->Items());
  menu_->SetLinkModeChecked(false);
  menu_->SetPanModeChecked(true);
  menu_->SetMPRModeEnabled(true);
  Item(L"imMPRMode")->SetChecked(false);
  menu_->InsertModeDependentItems();
  EXPECT_EQ(Top(), (V{"imOppositePan", "-"}));
}

TEST_F(MenuTest, BlocksAreInsertedAtTheirPositionInTheOrderOfTheTables) {
  for (int i = 0; i < 12; ++i) popup_->Items()->Add(menu_->InsertDividerItem());
  const int next = menu_->InsertMagnifierItems(5);
  EXPECT_EQ(next, 24);
  const V top = Top();
  ASSERT_EQ(top.size(), 31u);
  EXPECT_EQ(V(top.begin() + 5, top.begin() + 24),
            (V{"imMagnifier100", "imMagnifier150", "imMagnifier200", "imMagnifier300", "imMagnifier400",
               "imMagnifier500", "imMagnifier1000", "-", "imMagnifierCircle", "imMagnifierRect", "-",
               "imMagnifierOptimized", "-", "imMagnifierSmall", "imMagnifierMedium", "imMagnifierLarge",
               "imMagnifierExtraLarge", "imMagnifierLargest", "-"}));
  menu_->DetachItems(popup_->Items());
  menu_->FreeDividerItems();
  for (int i = 0; i < 10; ++i) popup_->Items()->Add(menu_->InsertDividerItem());
  EXPECT_EQ(menu_->InsertMeasurementItems(4), 31);
  const V measured = Top();
  ASSERT_EQ(measured.size(), 37u);
  EXPECT_EQ(V(measured.begin() + 4, measured.begin() + 31),
            (V{"imMeasurementDensity", "imMeasurementArrow", "imMeasurementDistance", "imMeasurementAngle",
               "imMeasurementAngleBtLines", "imMeasurementEllipse", "imMeasurementRectangle", "imMeasurementPolygon",
               "imMeasurementText", "imMeasurementCallout", "-", "imMeasurementEdit", "imMeasurementCalibrate", "-",
               "imMeasurementHide", "-", "imMeasurementErase", "imMeasurementEraseAll", "-", "imSUVMax", "imSUVMin",
               "imSUVMean", "imSUVStdDev", "-", "imSUVSetAll", "imSUVClear", "-"}));
}

TEST_F(MenuTest, MagnifierChecksShowTheOptions) {
  const struct {
    int32_t size, shape;
    double zoom;
    bool optimized;
    const wchar_t *sizeItem, *shapeItem, *zoomItem;
  } cases[] = {
      {256, 1, 200.0, true, L"imMagnifierMedium", L"imMagnifierCircle", L"imMagnifier200"},
      {200, 2, 150.9, false, L"imMagnifierMedium", L"imMagnifierCircle", L"imMagnifier150"},
      {640, 0, 99.5, true, L"imMagnifierLargest", L"imMagnifierRect", L"imMagnifier200"},
      {128, 0, 1000.0, false, L"imMagnifierSmall", L"imMagnifierRect", L"imMagnifier1000"},
  };
  const wchar_t* const all[] = {L"imMagnifier100", L"imMagnifier150", L"imMagnifier200", L"imMagnifier300",
                                L"imMagnifier400", L"imMagnifier500", L"imMagnifier1000", L"imMagnifierCircle",
                                L"imMagnifierRect", L"imMagnifierSmall", L"imMagnifierMedium", L"imMagnifierLarge",
                                L"imMagnifierExtraLarge", L"imMagnifierLargest"};
  for (const auto& c : cases) {
    SMagnifierOptions& lens = menu_->GetMagnifierOptions();
    lens.Size = c.size;
    lens.Shape = c.shape;
    lens.Zoom = c.zoom;
    lens.Optimized = c.optimized;
    menu_->SetMagnifierModeChecked(true);
    LayOut();
    menu_->RefreshModeDependentItems();
    for (const wchar_t* name : all) {
      const std::wstring n(name);
      const bool expected = n == c.sizeItem || n == c.shapeItem || n == c.zoomItem;
      EXPECT_EQ(menu_->IsItemChecked(name), expected) << Item(name)->Name() << " for size " << c.size;
    }
    EXPECT_EQ(menu_->IsItemChecked(L"imMagnifierOptimized"), c.optimized);
  }
}

TEST_F(MenuTest, LinkGroupShowsTheLinkOptions) {
  SLinkOptions& link = menu_->GetLinkOptions();
  struct Case {
    const char* name;
    bool zoom, voi, pan, spatial, navigation;
    int32_t automated;
    bool navChecked, navEnabled, autoChecked, autoEnabled, setAll, clearAll;
  };
  const Case cases[] = {
      {"all set, automated", true, true, true, true, true, 1, true, true, true, true, false, true},
      {"automated -1", true, true, true, true, true, -1, false, false, false, false, false, true},
      {"none set", false, false, false, false, false, 0, false, true, false, false, true, false},
      {"navigation off", true, true, true, true, false, 0, false, true, false, false, true, true},
  };
  menu_->SetLinkModeChecked(true);
  for (const Case& c : cases) {
    link.SetLinkByZoom(c.zoom);
    link.SetLinkByVoi(c.voi);
    link.SetLinkByPan(c.pan);
    link.SetLinkBySpatialTransform(c.spatial);
    link.SetLinkByNavigation(c.navigation);
    link.SetAutomated(c.automated);
    LayOut();
    menu_->RefreshModeDependentItems();
    EXPECT_EQ(Sub(L"imLinkPresets"), (V{"imLinkSetAll", "imLinkClearAll", "-", "imLinkByZoom", "imLinkByVOI",
                                        "imLinkByPan", "imLinkBySpatialTransform", "imLinkByNavigation", "-",
                                        "imLinkAutomated"}))
        << c.name;
    EXPECT_EQ(menu_->IsItemChecked(L"imLinkByZoom"), c.zoom) << c.name;
    EXPECT_EQ(menu_->IsItemChecked(L"imLinkByNavigation"), c.navChecked) << c.name;
    EXPECT_EQ(Item(L"imLinkByNavigation")->Enabled, c.navEnabled) << c.name;
    EXPECT_EQ(menu_->IsItemChecked(L"imLinkAutomated"), c.autoChecked) << c.name;
    EXPECT_EQ(Item(L"imLinkAutomated")->Enabled, c.autoEnabled) << c.name;
    EXPECT_EQ(Item(L"imLinkSetAll")->Enabled, c.setAll) << c.name;
    EXPECT_EQ(Item(L"imLinkClearAll")->Enabled, c.clearAll) << c.name;
  }
}

TEST_F(MenuTest, PresentationStatesStayOutOfMprAndImageMatrix) {
  const char list[] = "DEFAULT\nLung\n";
  ASSERT_TRUE(menu_->FillPresentationStates(list, sizeof list - 1));
  LayOut();
  EXPECT_EQ(Top(), Join({{"imTools", "-", "imPSPresets", "-"}, kRotate, kMarks}));
  EXPECT_EQ(Sub(L"imPSPresets"), (V{"imPSOriginal", "imPSItem1"}));
  LayOut(false, false, false, true);  // a 2 x 1 image matrix
  EXPECT_EQ(Top(), Join({{"imTools", "-"}, kRotate, kMarks}));
  LayOut(false, false, true, false);  // MPR down (hidden button: ordinary layout)
  EXPECT_EQ(Top(), Join({{"imTools", "-"}, kRotate, kMarks}));
}
