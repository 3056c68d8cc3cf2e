// The fixed items of the stack context menu and the routing of their clicks to the events.
#include <array>

#include "platform/vcl/Forms.h"
#include "viewer/contextmenu/tests/MenuFixture.h"

using namespace menu_test;

namespace {

const char* const kAllItems[] = {
    "imLinkSetAll", "imLinkClearAll", "imLinkByZoom", "imLinkByVOI", "imLinkByPan", "imLinkBySpatialTransform",
    "imLinkByNavigation", "imLinkAutomated", "imZoomFitScreen", "imZoom50", "imZoom100", "imZoom150", "imZoom200",
    "imZoom300", "imZoom400", "imZoom500", "imZoom1000", "imOppositePan", "imMagnifier100", "imMagnifier150",
    "imMagnifier200", "imMagnifier300", "imMagnifier400", "imMagnifier500", "imMagnifier1000", "imMagnifierCircle",
    "imMagnifierRect", "imMagnifierOptimized", "imMagnifierSmall", "imMagnifierMedium", "imMagnifierLarge",
    "imMagnifierExtraLarge", "imMagnifierLargest", "imMeasurementDensity", "imMeasurementArrow",
    "imMeasurementDistance", "imMeasurementAngle", "imMeasurementAngleBtLines", "imMeasurementEllipse",
    "imMeasurementRectangle", "imMeasurementText", "imMeasurementCallout", "imMeasurementCalibrate",
    "imMeasurementEdit", "imMeasurementPolygon", "imMeasurementPredefined", "imMeasurementPredefinedDialog",
    "imSUVStdDev", "imSUVMean", "imSUVMin", "imSUVMax", "imSUVClear", "imSUVSetAll", "imMeasurementHide",
    "imMeasurementErase", "imMeasurementEraseAll", "imMPRThickness", "imMPRPosition", "imMPRSlabPointing", "imMPRMIP",
    "imMPRMIPWeighted", "imMPRAverage", "imMPRAverageWeighted", "imTools", "imLinkMode", "imZoomMode", "imVOIMode",
    "imPanMode", "imMagnifierMode", "imEdgeEnhancementMode", "imMeasurementMode", "imNavigatorMode", "imInverse",
    "imPaletteMode", "imMatrix", "imPalettePresets", "imLinkPresets", "imVOIPresets", "imPSPresets", "imMPRMode",
    "imRotate", "imRotateLeft", "imRotateRight", "imFlipHorizontal", "imFlipVertical", "imLocksAndMarks", "imSetMark",
    "imSelectMarks", "imReleaseMarks", "imDicomPrint", "imDicomPrint_PrintScreen", "imDicomPrint_ShowComposer",
    "imDicomPrint_AddImage", "imDicomPrint_AddPage", "imDicomPrint_AddStack", "imDicomPrint_AddRangeBox",
    "imDicomPrint_MarkFirstImageOfRange", "imDicomPrint_AddRange", "imSecondaryMPRSeries", "imLock", "imReleaseLocks",
    "imLossyPresets", "imSetLossless", "imLossyAll", "imLossyStudy", "imLossyStack", "imKeyImages", "imAddKeyImage",
    "imRemoveKeyImage", "imVOIDivider1"};

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

TEST_F(MenuTest, ConstructionMakesTheHundredAndTenItemsOutsideTheMenu) {
  EXPECT_EQ(popup_->Items()->Count(), 0);
  EXPECT_TRUE(popup_->OwnerDraw);
  ASSERT_EQ(menu_->ItemMap().size(), std::size(kAllItems));
  for (const char* name : kAllItems) {
    TTntMenuItem* item = menu_->ItemByName(Wide(name));
    ASSERT_NE(item, nullptr) << name;
    EXPECT_EQ(item->Name(), name);
    EXPECT_EQ(item->Owner(), popup_.get()) << name;
    EXPECT_EQ(item->Parent(), nullptr) << name;
    EXPECT_EQ(item->ShortCut, 0) << name;
    EXPECT_FALSE(item->HasBitmap()) << name;
  }
  // Exact, case-sensitive lookup; a failed lookup adds nothing.
  EXPECT_EQ(menu_->ItemByName(L"imlinksetall"), nullptr);
  EXPECT_EQ(menu_->ItemMap().size(), std::size(kAllItems));
}

TEST_F(MenuTest, ItemsCarryTheFlagsTagsAndStatesOfTheTable) {
  const struct {
    const wchar_t* name;
    bool radio, autoCheck, checked, enabled;
    intptr_t tag;
  } cases[] = {
      {L"imZoomFitScreen", false, false, false, true, -1},
      {L"imZoom50", true, false, false, true, 50},
      {L"imZoom1000", true, false, false, true, 1000},
      {L"imOppositePan", false, true, false, true, 0},
      {L"imMagnifierOptimized", true, true, false, true, 0},
      {L"imMeasurementDistance", false, false, true, true, 0},
      {L"imMeasurementDensity", false, false, false, true, 0},
      {L"imMPRMIPWeighted", false, true, true, true, 0},
      {L"imMPRMIP", false, true, false, true, 0},
      {L"imZoomMode", true, true, false, true, 0},
      {L"imLinkMode", false, false, false, true, 0},
      {L"imInverse", false, true, false, true, 0},
      {L"imLocksAndMarks", false, false, false, true, 0},
      {L"imVOIDivider1", false, false, false, true, 0},
  };
  for (const auto& c : cases) {
    TTntMenuItem* item = Item(c.name);
    EXPECT_EQ(item->RadioItem, c.radio) << item->Name();
    EXPECT_EQ(item->AutoCheck, c.autoCheck) << item->Name();
    EXPECT_EQ(item->Checked(), c.checked) << item->Name();
    EXPECT_EQ(item->Enabled, c.enabled) << item->Name();
    EXPECT_EQ(item->Tag, c.tag) << item->Name();
  }
  for (const wchar_t* name : {L"imMeasurementCalibrate", L"imMeasurementEdit", L"imMeasurementHide", L"imMeasurementErase",
                              L"imMeasurementEraseAll", L"imLossyPresets", L"imSetLossless", L"imLossyAll",
                              L"imLossyStudy", L"imLossyStack"})
    EXPECT_FALSE(Item(name)->Enabled) << Item(name)->Name();
  EXPECT_EQ(Item(L"imLocksAndMarks")->Caption(), L"Lock && Mark");
  EXPECT_TRUE(Item(L"imVOIDivider1")->IsLine());
}

TEST_F(MenuTest, StatisticsChecksFollowTheBaseIniOnlyWhenAllFourValuesRead) {
  const std::string base = orn_ini::ProgramBaseIniPath();
  const struct {
    const char* name;
    const char* text;  // nullptr: no file
    bool min, max, mean, stdDev;
  } cases[] = {
      {"no Base.ini", nullptr, false, false, false, false},
      {"no keys", "[OTHER]\nA=1\n", false, false, false, false},
      {"only Min", "[MEASUREMENT STATISTICS]\nMin=1\nMax=0\nMean=0\nStdDev=0\n", true, false, false, false},
      {"all", "[MEASUREMENT STATISTICS]\nMin=1\nMax=2\nMean=1\nStdDev=1\n", true, true, true, true},
      {"negative StdDev", "[MEASUREMENT STATISTICS]\nMin=1\nMax=1\nMean=1\nStdDev=-1\n", false, false, false, false},
  };
  for (const auto& c : cases) {
    std::unique_ptr<ScratchFile> file;
    if (c.text) file = std::make_unique<ScratchFile>(base, c.text);
    TTntPopupMenu popup(nullptr);
    TsgStackPopup menu(&popup);
    EXPECT_EQ(menu.IsItemChecked(L"imSUVMin"), c.min) << c.name;
    EXPECT_EQ(menu.IsItemChecked(L"imSUVMax"), c.max) << c.name;
    EXPECT_EQ(menu.IsItemChecked(L"imSUVMean"), c.mean) << c.name;
    EXPECT_EQ(menu.IsItemChecked(L"imSUVStdDev"), c.stdDev) << c.name;
  }
}

TEST_F(MenuTest, DetachingAfterALayoutEmptiesEverySubmenuAndKeepsEveryItem) {
  menu_->SetMatrixEnabled(true);
  LayOut(true, true);
  ASSERT_GT(Item(L"imTools")->Count(), 0);
  menu_->DetachItems(popup_->Items());
  EXPECT_EQ(popup_->Items()->Count(), 0);
  for (const char* name : kAllItems) {
    TTntMenuItem* item = menu_->ItemByName(Wide(name));
    ASSERT_NE(item, nullptr) << name;
    EXPECT_EQ(item->Count(), 0) << name;
    EXPECT_EQ(item->Parent(), nullptr) << name;
  }
}

// Every fixed item with a click handler reaches its event, with the item as sender.
TEST_F(MenuTest, EveryClickReachesItsEvent) {
  TsgStackPopup& m = *menu_;
  const struct {
    const wchar_t* name;
    TNotifyEvent TsgStackPopup::*event;
  } cases[] = {
      {L"imLinkSetAll", &TsgStackPopup::OnMenuLink},
      {L"imLinkByNavigation", &TsgStackPopup::OnMenuLink},
      {L"imZoomFitScreen", &TsgStackPopup::OnMenuZoom},
      {L"imZoom300", &TsgStackPopup::OnMenuZoom},
      {L"imMagnifierLarge", &TsgStackPopup::OnMenuMagnifier},
      {L"imMeasurementAngle", &TsgStackPopup::OnMenuMeasurementType},
      {L"imMeasurementPolygon", &TsgStackPopup::OnMenuMeasurementType},
      {L"imMeasurementCalibrate", &TsgStackPopup::OnMenuCalibrate},
      {L"imMeasurementEdit", &TsgStackPopup::OnMenuEditText},
      {L"imMeasurementHide", &TsgStackPopup::OnMenuMeasurementHide},
      {L"imMeasurementErase", &TsgStackPopup::OnMenuMeasurementErase},
      {L"imMeasurementEraseAll", &TsgStackPopup::OnMenuMeasurementEraseAll},
      {L"imMPRThickness", &TsgStackPopup::OnMenuMprThickness},
      {L"imMPRPosition", &TsgStackPopup::OnMenuMprPosition},
      {L"imMPRSlabPointing", &TsgStackPopup::OnMenuMprSlabPointing},
      {L"imMPRAverage", &TsgStackPopup::OnMenuMprProjection},
      {L"imLinkMode", &TsgStackPopup::OnMenuToolMode},
      {L"imNavigatorMode", &TsgStackPopup::OnMenuToolMode},
      {L"imPaletteMode", &TsgStackPopup::OnMenuToolMode},
      {L"imMatrix", &TsgStackPopup::OnMenuMatrix},
      {L"imMPRMode", &TsgStackPopup::OnMenuMpr},
      {L"imRotateLeft", &TsgStackPopup::OnMenuRotateFlip},
      {L"imFlipVertical", &TsgStackPopup::OnMenuRotateFlip},
      {L"imSetMark", &TsgStackPopup::OnMenuMarks},
      {L"imReleaseMarks", &TsgStackPopup::OnMenuMarks},
      {L"imDicomPrint_PrintScreen", &TsgStackPopup::OnMenuPrintScreen},
      {L"imDicomPrint_ShowComposer", &TsgStackPopup::OnMenuShowComposer},
      {L"imDicomPrint_AddImage", &TsgStackPopup::OnMenuAddImage},
      {L"imDicomPrint_AddPage", &TsgStackPopup::OnMenuAddPage},
      {L"imDicomPrint_AddStack", &TsgStackPopup::OnMenuAddStack},
      {L"imDicomPrint_MarkFirstImageOfRange", &TsgStackPopup::OnMenuMarkFirstImageOfRange},
      {L"imDicomPrint_AddRange", &TsgStackPopup::OnMenuAddRange},
      {L"imSecondaryMPRSeries", &TsgStackPopup::OnMenuSecondaryMprSeries},
      {L"imLock", &TsgStackPopup::OnMenuLocks},
      {L"imReleaseLocks", &TsgStackPopup::OnMenuLocks},
      {L"imSetLossless", &TsgStackPopup::OnMenuSetLossless},
      {L"imLossyAll", &TsgStackPopup::OnMenuLossyAll},
      {L"imLossyStudy", &TsgStackPopup::OnMenuLossyStudy},
      {L"imLossyStack", &TsgStackPopup::OnMenuLossyStack},
      {L"imAddKeyImage", &TsgStackPopup::OnMenuAddKeyImage},
      {L"imRemoveKeyImage", &TsgStackPopup::OnMenuRemoveKeyImage},
  };
  std::vector<std::pair<const TNotifyEvent*, TObject*>> raised;
  for (const auto& c : cases) {
    TNotifyEvent& event = m.*(c.event);
    event = [&raised, &event](TObject* sender) { raised.emplace_back(&event, sender); };
  }
  for (const auto& c : cases) {
    TTntMenuItem* item = Item(c.name);
    item->Enabled = true;
    raised.clear();
    item->Click();
    ASSERT_EQ(raised.size(), 1u) << item->Name();
    EXPECT_EQ(raised[0].first, &(m.*(c.event))) << item->Name();
    EXPECT_EQ(raised[0].second, item) << item->Name();
  }
  // Items that only hold a submenu do nothing.
  for (const wchar_t* name : {L"imTools", L"imRotate", L"imDicomPrint", L"imPSPresets", L"imVOIPresets"}) {
    raised.clear();
    Item(name)->Click();
    EXPECT_TRUE(raised.empty());
  }
}

TEST_F(MenuTest, UnassignedEventsAreSkippedAndDisabledItemsDoNothing) {
  for (const char* name : kAllItems) menu_->ItemByName(Wide(name))->Click();  // nothing assigned: no crash
  int zooms = 0;
  menu_->OnMenuZoom = [&](TObject*) { ++zooms; };
  Item(L"imZoom100")->Enabled = false;
  Item(L"imZoom100")->Click();
  EXPECT_EQ(zooms, 0);
}

TEST_F(MenuTest, OppositePanAndStatisticsPassTheirChecks) {
  std::vector<bool> pans;
  menu_->OnMenuOppositePan = [&](bool on) { pans.push_back(on); };
  Item(L"imOppositePan")->Click();
  Item(L"imOppositePan")->Click();
  EXPECT_EQ(pans, (std::vector<bool>{true, false}));

  std::vector<std::array<bool, 4>> statistics;
  menu_->OnMenuStatistics = [&](bool min, bool max, bool mean, bool sd) { statistics.push_back({min, max, mean, sd}); };
  menu_->SetStatisticsItems(false, true, false, true);
  Item(L"imSUVMin")->Click();
  Item(L"imSUVClear")->Click();
  Item(L"imSUVSetAll")->Click();
  ASSERT_EQ(statistics.size(), 3u);
  EXPECT_EQ(statistics[0], (std::array<bool, 4>{true, true, false, true}));
  EXPECT_EQ(statistics[1], (std::array<bool, 4>{false, false, false, false}));
  EXPECT_EQ(statistics[2], (std::array<bool, 4>{true, true, true, true}));
  EXPECT_TRUE(menu_->IsItemChecked(L"imSUVStdDev"));
}

TEST_F(MenuTest, MeasurementTypeClickLeavesOneKindAndEndsHiding) {
  std::vector<std::string> order;
  menu_->OnMenuMeasurementType = [&](TObject* s) { order.push_back("type " + static_cast<TTntMenuItem*>(s)->Name()); };
  menu_->OnMenuMeasurementHide = [&](TObject* s) {
    order.push_back(std::string("hide ") + (static_cast<TTntMenuItem*>(s)->Checked() ? "on" : "off"));
  };
  Item(L"imMeasurementDistance")->Click();  // already checked: stays the only one
  EXPECT_TRUE(menu_->IsItemChecked(L"imMeasurementDistance"));
  menu_->SetMeasurementsPresent(true);
  Item(L"imMeasurementHide")->Click();
  EXPECT_TRUE(menu_->IsItemChecked(L"imMeasurementHide"));
  EXPECT_FALSE(Item(L"imMeasurementErase")->Enabled);
  EXPECT_FALSE(Item(L"imMeasurementEraseAll")->Enabled);
  order.clear();
  Item(L"imMeasurementArrow")->Click();
  EXPECT_EQ(order, (std::vector<std::string>{"hide off", "type imMeasurementArrow"}));
  EXPECT_FALSE(menu_->IsItemChecked(L"imMeasurementHide"));
  EXPECT_TRUE(Item(L"imMeasurementErase")->Enabled);
  EXPECT_TRUE(Item(L"imMeasurementEraseAll")->Enabled);
  int checked = 0;
  for (const wchar_t* name : {L"imMeasurementDensity", L"imMeasurementArrow", L"imMeasurementDistance",
                              L"imMeasurementAngle", L"imMeasurementAngleBtLines", L"imMeasurementEllipse",
                              L"imMeasurementRectangle", L"imMeasurementText", L"imMeasurementCallout",
                              L"imMeasurementPolygon"})
    checked += menu_->IsItemChecked(name);
  EXPECT_EQ(checked, 1);
  Item(L"imMeasurementEraseAll")->Click();
  for (const wchar_t* name : {L"imMeasurementHide", L"imMeasurementErase", L"imMeasurementEraseAll"})
    EXPECT_FALSE(Item(name)->Enabled);
}

TEST_F(MenuTest, LinkItemsChangeTheLinkOptions) {
  SLinkOptions& link = menu_->GetLinkOptions();
  link.SetLinkByZoom(false);
  link.SetLinkByNavigation(false);
  Item(L"imLinkByNavigation")->Enabled = false;
  Item(L"imLinkSetAll")->Click();
  EXPECT_TRUE(link.LinkByZoom() && link.LinkByVoi() && link.LinkByPan() && link.LinkBySpatialTransform());
  EXPECT_FALSE(link.LinkByNavigation());
  Item(L"imLinkByNavigation")->Enabled = true;
  Item(L"imLinkSetAll")->Click();
  EXPECT_TRUE(link.LinkByNavigation());
  Item(L"imLinkByPan")->Click();
  EXPECT_FALSE(link.LinkByPan());
  Item(L"imLinkClearAll")->Click();
  EXPECT_FALSE(link.LinkByZoom() || link.LinkByVoi() || link.LinkByPan() || link.LinkBySpatialTransform() ||
               link.LinkByNavigation());
  Item(L"imLinkAutomated")->SetChecked(true);
  Item(L"imLinkAutomated")->Click();
  EXPECT_FALSE(Item(L"imLinkAutomated")->Checked());
  EXPECT_EQ(link.Automated(), 0);
  Item(L"imLinkAutomated")->Click();
  EXPECT_EQ(link.Automated(), 1);
}

TEST_F(MenuTest, MagnifierItemsSetOneOptionEach) {
  SMagnifierOptions& lens = menu_->GetMagnifierOptions();
  Item(L"imMagnifierCircle")->Click();
  EXPECT_EQ(lens.GetShape(), 1);
  EXPECT_EQ(lens.GetSize(), 256);
  EXPECT_EQ(lens.GetZoom(), 200.0);
  Item(L"imMagnifierRect")->Click();
  EXPECT_EQ(lens.GetShape(), 0);
  Item(L"imMagnifierLargest")->Click();
  Item(L"imMagnifier1000")->Click();
  EXPECT_EQ(lens.GetSize(), 640);
  EXPECT_EQ(lens.GetZoom(), 1000.0);
  const bool optimized = lens.IsOptimized();
  Item(L"imMagnifierOptimized")->SetChecked(optimized);
  Item(L"imMagnifierOptimized")->Click();
  EXPECT_EQ(lens.IsOptimized(), !optimized);
  Item(L"imMagnifierOptimized")->Click();
  EXPECT_EQ(lens.IsOptimized(), optimized);
}

TEST_F(MenuTest, MprAndLossyItemsKeepTheirMarks) {
  int thickness = 0;
  menu_->OnMenuMprThickness = [&](TObject*) { ++thickness; };
  Item(L"imMPRThickness")->Click();
  Item(L"imMPRThickness")->Click();  // already checked: nothing
  EXPECT_EQ(thickness, 1);
  EXPECT_TRUE(menu_->IsItemChecked(L"imMPRThickness"));

  Item(L"imMPRAverage")->Click();
  EXPECT_TRUE(menu_->IsItemChecked(L"imMPRAverage"));
  EXPECT_FALSE(menu_->IsItemChecked(L"imMPRMIPWeighted"));
  Item(L"imMPRAverage")->Click();  // a click on the checked projection keeps it
  EXPECT_TRUE(menu_->IsItemChecked(L"imMPRAverage"));

  Item(L"imMPRMode")->Click();
  EXPECT_TRUE(menu_->IsItemChecked(L"imMPRMode"));

  Item(L"imSelectMarks")->SetChecked(true);
  Item(L"imReleaseMarks")->Click();
  EXPECT_FALSE(menu_->IsItemChecked(L"imSelectMarks"));

  for (const wchar_t* name : {L"imSetLossless", L"imLossyStudy"}) Item(name)->Enabled = true;
  Item(L"imSetLossless")->Click();
  EXPECT_TRUE(menu_->IsItemChecked(L"imSetLossless"));
  Item(L"imLossyStudy")->Click();
  EXPECT_FALSE(menu_->IsItemChecked(L"imSetLossless"));
}

// The magnifier block and the zoom items stand side by side in the top level while both
// modes are checked: neither clears the other's marks.
TEST_F(MenuTest, MagnifierMarksSurviveTheZoomMarksAndTheirOwnClicks) {
  menu_->SetZoomModeChecked(true);
  menu_->SetMagnifierModeChecked(true);
  LayOut();
  menu_->RefreshModeDependentItems();
  ASSERT_GE(popup_->Items()->IndexOf(Item(L"imMagnifier200")), 0);
  ASSERT_GE(popup_->Items()->IndexOf(Item(L"imZoom100")), 0);
  menu_->SetZoomItems(1.0);
  EXPECT_TRUE(menu_->IsItemChecked(L"imZoom100"));
  for (const wchar_t* name : {L"imMagnifier200", L"imMagnifierCircle", L"imMagnifierMedium", L"imMagnifierOptimized"})
    EXPECT_TRUE(menu_->IsItemChecked(name)) << Item(name)->Name();
  Item(L"imMagnifierRect")->Click();
  EXPECT_TRUE(menu_->IsItemChecked(L"imMagnifierRect"));
  EXPECT_FALSE(menu_->IsItemChecked(L"imMagnifierCircle"));
  for (const wchar_t* name : {L"imZoom100", L"imMagnifier200", L"imMagnifierMedium", L"imMagnifierOptimized"})
    EXPECT_TRUE(menu_->IsItemChecked(name)) << Item(name)->Name();
  Item(L"imMagnifier400")->Click();
  EXPECT_TRUE(menu_->IsItemChecked(L"imMagnifier400"));
  EXPECT_FALSE(menu_->IsItemChecked(L"imMagnifier200"));
  EXPECT_TRUE(menu_->IsItemChecked(L"imMagnifierRect"));
}

// A click through the shown Qt menu takes the same road as the user's.
TEST_F(MenuTest, ClicksInTheShownMenuRaiseTheEvents) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  form.Show();
  menu_->SetMatrixEnabled(true);
  menu_->SetZoomModeChecked(true);
  LayOut();
  menu_->RefreshModeDependentItems();
  std::vector<std::string> events;
  menu_->OnMenuZoom = [&](TObject* s) { events.push_back("zoom " + static_cast<TTntMenuItem*>(s)->Name()); };
  menu_->OnMenuMatrix = [&](TObject*) { events.push_back("matrix"); };
  menu_->OnMenuRotateFlip = [&](TObject* s) { events.push_back("rotate " + static_cast<TTntMenuItem*>(s)->Name()); };
  menu_->Popup(150, 150);
  ASSERT_NE(popup_->Shown(), nullptr);
  popup_->ClickShownItem(Item(L"imZoom150"));
  Application->ProcessMessages();
  menu_->Popup(150, 150);
  popup_->ClickShownItem(Item(L"imMatrix"));
  Application->ProcessMessages();
  menu_->Popup(150, 150);
  ASSERT_TRUE(popup_->OpenShownSubmenu(Item(L"imRotate")));
  Application->ProcessMessages();
  TRect rect;
  EXPECT_TRUE(popup_->ShownItemRect(Item(L"imFlipHorizontal"), rect));
  popup_->ClickShownItem(Item(L"imFlipHorizontal"));
  Application->ProcessMessages();
  EXPECT_EQ(events, (std::vector<std::string>{"zoom imZoom150", "matrix", "rotate imFlipHorizontal"}));
}
