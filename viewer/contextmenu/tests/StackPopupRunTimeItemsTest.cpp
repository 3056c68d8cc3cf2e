// Items made at run time (window/level presets, palette presets, presentation states,
// predefined texts) and the marks that follow the stack window's values.
#include <cmath>

#include "platform/com/Library.h"
#include "platform/process/Process.h"
#include "viewer/contextmenu/PaletteColorPresets.h"
#include "viewer/contextmenu/tests/MenuFixture.h"

using namespace menu_test;
using V = std::vector<std::string>;

namespace {

// A WM_COPYDATA record of UTF-16LE text, cut to `bytes` when given.
struct Utf16Record {
  explicit Utf16Record(const std::wstring& text, int bytes = -1) {
    for (wchar_t c : text) {
      data.push_back(static_cast<uint8_t>(c & 0xFF));
      data.push_back(static_cast<uint8_t>(c >> 8));
    }
    record = {0x8060, static_cast<uint32_t>(bytes < 0 ? data.size() : static_cast<size_t>(bytes)), data.data()};
  }
  std::vector<uint8_t> data;
  platform::CopyDataStruct record;
};

std::vector<std::wstring> Captions(const std::vector<TTntMenuItem*>& items) {
  std::vector<std::wstring> captions;
  for (const TTntMenuItem* item : items) captions.push_back(item->Caption());
  return captions;
}

std::vector<VOI_FORM_PRESETS> Presets(int count) {
  std::vector<VOI_FORM_PRESETS> presets{{"Full Range", 0, 0, 0}, {"Abdomen", 40, 400, 0}, {"Lung", -600, 1500, 0},
                                        {"Bone", 300, 1500, 0},     {"Brain", 40, 80, 0}};
  presets.resize(static_cast<size_t>(count));
  return presets;
}

}  // namespace

TEST_F(MenuTest, UserPresetTextBecomesItems) {
  Utf16Record three(L"0Soft\n1\n2Sigmoid tail");
  menu_->SetUserVOIPresets(&three.record);
  ASSERT_EQ(menu_->UserVOIPresetItems().size(), 2u);
  EXPECT_EQ(Captions(menu_->UserVOIPresetItems()),
            (std::vector<std::wstring>{L"Soft (Linear)", L"Unknown_1 (Lookup Table)"}));
  EXPECT_EQ(menu_->UserVOIPresetItems()[0]->Name(), "imVOIUserPreset0");
  EXPECT_EQ(menu_->UserVOIPresetItems()[1]->Tag, 1);

  Utf16Record odd(L"XAbc\n\nZ\n");
  menu_->SetUserVOIPresets(&odd.record);
  EXPECT_EQ(Captions(menu_->UserVOIPresetItems()), (std::vector<std::wstring>{L"Abc", L"Unknown_1", L"Unknown_2"}));

  Utf16Record cut(L"0ab\n", 7);  // three characters: no line end, no item
  menu_->SetUserVOIPresets(&cut.record);
  EXPECT_TRUE(menu_->UserVOIPresetItems().empty());

  Utf16Record again(L"0A\n");
  menu_->SetUserVOIPresets(&again.record);
  Utf16Record empty(L"", 0);
  menu_->SetUserVOIPresets(&empty.record);
  menu_->SetUserVOIPresets(nullptr);
  EXPECT_EQ(menu_->UserVOIPresetItems().size(), 1u);  // nothing usable: the old list stays
}

TEST_F(MenuTest, FixedPresetsAndTheirChecks) {
  const auto one = Presets(1);
  menu_->SetFixedVOIPresets(one.data(), 1);
  ASSERT_EQ(menu_->FixedVOIPresetItems().size(), 1u);
  EXPECT_TRUE(menu_->FixedVOIPresetItems()[0]->Checked());
  EXPECT_EQ(menu_->FixedVOIPresetItems()[0]->Name(), "imVOIFullRangePreset");

  const auto five = Presets(5);
  menu_->SetFixedVOIPresets(five.data(), 5);
  menu_->SetFixedVOIPresets(five.data(), 0);  // no presets: the old items stay
  const auto& fixed = menu_->FixedVOIPresetItems();
  ASSERT_EQ(fixed.size(), 5u);
  EXPECT_EQ(fixed[2]->Name(), "imVOIDefaultPreset2");
  EXPECT_EQ(TsgStackPopup::PresetOf(fixed[3])->WindowCenter, 300);

  Utf16Record users(L"0a\n0b\n0c\n0d\n0e\n");
  menu_->SetUserVOIPresets(&users.record);
  const auto& user = menu_->UserVOIPresetItems();
  menu_->CheckVOIPreset(true, 3, false);
  for (size_t i = 0; i < user.size(); ++i) EXPECT_EQ(user[i]->Checked(), i == 3);
  EXPECT_FALSE(fixed[0]->Checked());
  menu_->CheckVOIPreset(false, 2, false);
  EXPECT_TRUE(fixed[0]->Checked());
  EXPECT_TRUE(fixed[2]->Checked());
  for (const TTntMenuItem* item : user) EXPECT_FALSE(item->Checked());
  user[1]->SetChecked(true);
  menu_->CheckVOIPreset(false, -1, true);  // out of range: only the user marks go
  EXPECT_FALSE(user[1]->Checked());
  EXPECT_TRUE(fixed[2]->Checked());

  // Default presets are checked when the window's values are theirs and a fixed preset is on.
  menu_->SetFixedVOIPresetChecks(400.0, 40.0);
  EXPECT_TRUE(fixed[1]->Checked());
  EXPECT_FALSE(fixed[2]->Checked());
  menu_->SetFixedVOIPresetChecks(400.5, 40.0);
  EXPECT_FALSE(fixed[1]->Checked());
  fixed[0]->SetChecked(false);
  menu_->SetFixedVOIPresetChecks(400.0, 40.0);
  EXPECT_FALSE(fixed[1]->Checked());
}

TEST_F(MenuTest, PresetClicksRaiseTheirEventsInOrder) {
  const auto three = Presets(3);
  menu_->SetFixedVOIPresets(three.data(), 3);
  Utf16Record users(L"0a\n0b\n");
  menu_->SetUserVOIPresets(&users.record);
  std::vector<std::string> events;
  menu_->OnMenuVoiFullRange = [&](TObject* s) { events.push_back("full " + static_cast<TTntMenuItem*>(s)->Name()); };
  menu_->OnMenuVoiDefaultPreset = [&](TObject* s) { events.push_back("default " + static_cast<TTntMenuItem*>(s)->Name()); };
  menu_->OnMenuVoiUserPreset = [&](TObject* s) { events.push_back("user " + static_cast<TTntMenuItem*>(s)->Name()); };
  menu_->UserVOIPresetItems()[1]->Click();
  EXPECT_FALSE(menu_->FixedVOIPresetItems()[0]->Checked());
  EXPECT_TRUE(menu_->UserVOIPresetItems()[1]->Checked());
  menu_->FixedVOIPresetItems()[2]->Click();
  EXPECT_EQ(events, (V{"user imVOIUserPreset1", "full imVOIFullRangePreset", "default imVOIDefaultPreset2"}));
  EXPECT_TRUE(menu_->FixedVOIPresetItems()[0]->Checked());
  EXPECT_FALSE(menu_->UserVOIPresetItems()[1]->Checked());
  // The engine's report of a fixed preset may click it, as the user's choice.
  events.clear();
  menu_->CheckVOIPreset(false, 1, true);
  EXPECT_EQ(events, (V{"full imVOIFullRangePreset", "default imVOIDefaultPreset1"}));
}

TEST_F(MenuTest, VoiGroupAndUserBlockAreReplacedInPlace) {
  const auto three = Presets(3);
  menu_->SetFixedVOIPresets(three.data(), 3);
  menu_->SetVOIModeChecked(true);
  LayOut();
  menu_->RefreshModeDependentItems();
  const V laid = Top();
  EXPECT_EQ(V(laid.begin(), laid.begin() + 8), (V{"imTools", "-", "-", "imVOIFullRangePreset", "-",
                                                 "imVOIDefaultPreset1", "imVOIDefaultPreset2", "-"}));
  Utf16Record first(L"0a\n0b\n0c\n");
  menu_->SetUserVOIPresets(&first.record);
  menu_->RefreshUserVOIPresetItems();
  const V withUsers = Top();
  EXPECT_EQ(V(withUsers.begin() + 5, withUsers.begin() + 12), (V{"imVOIDefaultPreset1", "imVOIDefaultPreset2", "imVOIDivider1",
                                                         "imVOIUserPreset0", "imVOIUserPreset1", "imVOIUserPreset2", "-"}));
  // A second list while the menu stays open replaces the block; what follows stays.
  Utf16Record second(L"0x\n");
  menu_->SetUserVOIPresets(&second.record);
  menu_->RefreshUserVOIPresetItems();
  const V top = Top();
  EXPECT_EQ(V(top.begin() + 7, top.begin() + 10), (V{"imVOIDivider1", "imVOIUserPreset0", "-"}));
  EXPECT_EQ(V(top.end() - 4, top.end()), (V{"imRotate", "-", "imLocksAndMarks", "-"}));
  // The next layout drops the user block.
  LayOut();
  EXPECT_EQ(popup_->Items()->IndexOf(Item(L"imVOIDivider1")), -1);

  // One fixed preset only: a divider and the full-range item.
  const auto one = Presets(1);
  menu_->SetFixedVOIPresets(one.data(), 1);
  LayOut();
  menu_->RefreshModeDependentItems();
  const V single = Top();
  EXPECT_EQ(V(single.begin(), single.begin() + 5), (V{"imTools", "-", "-", "imVOIFullRangePreset", "imRotate"}));
}

TEST_F(MenuTest, ZoomMarksFollowTheBands) {
  const struct {
    double factor;
    const wchar_t* checked;
  } cases[] = {{1.0, L"imZoom100"},  {1.004, L"imZoom100"}, {1.005, nullptr},     {0.495, L"imZoom50"},
               {0.75, nullptr},      {10.0, L"imZoom1000"}, {2.9999, L"imZoom300"}, {std::nan(""), nullptr}};
  const wchar_t* const items[] = {L"imZoom50",  L"imZoom100", L"imZoom150", L"imZoom200",
                                  L"imZoom300", L"imZoom400", L"imZoom500", L"imZoom1000"};
  menu_->SetZoomModeChecked(true);
  LayOut();
  menu_->RefreshModeDependentItems();  // in the menu, as the radio rules apply there
  for (const auto& c : cases) {
    menu_->SetZoomItems(c.factor);
    for (const wchar_t* name : items)
      EXPECT_EQ(menu_->IsItemChecked(name), c.checked && std::wstring(c.checked) == name)
          << Item(name)->Name() << " at " << c.factor;
  }
  EXPECT_FALSE(menu_->IsItemChecked(L"no such item"));
}

TEST_F(MenuTest, PresentationStateListBecomesRadioItems) {
  const struct {
    const char* name;
    std::string data;
    std::vector<std::wstring> captions;  // after "Original"
    std::vector<intptr_t> tags;
  } cases[] = {
      {"DEFAULT first", std::string("DEFAULT\nLung\nBone\n"), {L"Lung", L"Bone"}, {1, 2}},
      // The first state is not the original: it keeps a tag of its own.
      {"no DEFAULT", std::string("Lung\nBone\n"), {L"Lung", L"Bone"}, {1, 2}},
      {"two empty names", std::string("DEFAULT\n\n\n"), {L"unknown #1", L"unknown #2"}, {1, 2}},
      {"no final LF", std::string("DEFAULT\nLung\nLast"), {L"Lung", L"Last"}, {1, 2}},
      {"final NUL", std::string("DEFAULT\nLung\n\0", 14), {L"Lung", L"unknown #1"}, {1, 2}},
      {"ANSI text", std::string("DEFAULT\nS\xE9quence\n"), {L"S\u00E9quence"}, {1}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(menu_->FillPresentationStates(c.data.data(), static_cast<uint32_t>(c.data.size()))) << c.name;
    const auto& items = menu_->PresentationStateItems();
    ASSERT_EQ(items.size(), c.captions.size() + 1) << c.name;
    EXPECT_EQ(items[0]->Name(), "imPSOriginal");
    EXPECT_EQ(items[0]->Caption(), L"Original");
    EXPECT_EQ(items[0]->Tag, 0);
    for (size_t i = 0; i < c.captions.size(); ++i) {
      EXPECT_EQ(items[i + 1]->Caption(), c.captions[i]) << c.name;
      EXPECT_EQ(items[i + 1]->Tag, c.tags[i]) << c.name;
      EXPECT_EQ(items[i + 1]->Name(), "imPSItem" + std::to_string(i + 1));
      EXPECT_TRUE(items[i + 1]->RadioItem);
    }
  }
  // A record is read only within its length, also when the last name runs to its end.
  const char buffer[] = "DEFAULT\nLungXXXXXXXX";
  ASSERT_TRUE(menu_->FillPresentationStates(buffer, 12));
  EXPECT_EQ(menu_->PresentationStateItems().back()->Caption(), L"Lung");
  EXPECT_FALSE(menu_->FillPresentationStates(nullptr, 5));
  EXPECT_FALSE(menu_->FillPresentationStates(buffer, 0));
  EXPECT_EQ(menu_->PresentationStateItems().size(), 2u);
}

TEST_F(MenuTest, PresentationStateSelectionAndClicks) {
  EXPECT_EQ(menu_->SelectPresentationStateItem(L"Lung"), -1);
  const std::string list = "DEFAULT\nLung\nB&one\nHead\n";
  menu_->FillPresentationStates(list.data(), static_cast<uint32_t>(list.size()));
  const auto& items = menu_->PresentationStateItems();
  LayOut();
  EXPECT_EQ(menu_->SelectPresentationStateItem(L"Bone"), 2);  // "&" left out of the caption
  EXPECT_EQ(menu_->GetCheckedPresentationStateIndex(), 2);
  EXPECT_EQ(menu_->SelectPresentationStateItem(L"bone"), -1);
  EXPECT_EQ(menu_->SelectPresentationStateItem(nullptr), 0);
  EXPECT_TRUE(items[0]->Checked());
  EXPECT_FALSE(items[2]->Checked());  // radio siblings in "imPSPresets"

  menu_->CheckPresentationStateItem(3);
  EXPECT_EQ(menu_->GetCheckedPresentationStateIndex(), 3);
  menu_->CheckPresentationStateItem(4);  // the item count: nothing changes
  EXPECT_EQ(menu_->GetCheckedPresentationStateIndex(), 3);

  std::vector<std::string> events;
  menu_->OnMenuPresentationState = [&](TObject* s) { events.push_back("state " + std::to_string(static_cast<TTntMenuItem*>(s)->Tag)); };
  menu_->OnMenuPresentationStateOriginal = [&](TObject*) { events.push_back("original"); };
  items[1]->Click();
  EXPECT_EQ(menu_->GetCheckedPresentationStateIndex(), 1);
  items[0]->Click();
  EXPECT_EQ(events, (V{"state 1", "original"}));
  EXPECT_EQ(menu_->GetCheckedPresentationStateIndex(), 0);
}

TEST_F(MenuTest, PalettePresetItemsAreOwnerDrawnThroughTheEvents) {
  ORN_gui_impl::TanPaletteColorPresetSet<256> set;
  menu_->SetPaletteColorPresets(set);
  menu_->SetPaletteModeChecked(true);
  LayOut();
  menu_->RefreshModeDependentItems();
  EXPECT_EQ(popup_->Items()->IndexOf(Item(L"imPalettePresets")), -1);  // no presets: no submenu

  const std::string hex(512, 'F');
  ScratchFile file(platform::ProgramFolder() + "palette_menu_" + std::to_string(platform::CurrentProcessId()) + ".ini",
                   "[Hot]\nR-Channel-Data=" + hex + "\nG-Channel-Data=" + hex + "\nB-Channel-Data=" + hex +
                       "\n[Cold]\nR-Channel-Data=" + hex + "\nG-Channel-Data=" + hex + "\nB-Channel-Data=" + hex + "\n");
  ASSERT_TRUE(set.LoadFromFile(file.Path()));
  menu_->SetPaletteColorPresets(set);
  LayOut();
  menu_->RefreshModeDependentItems();
  const V top = Top();
  EXPECT_EQ(V(top.begin(), top.begin() + 4), (V{"imTools", "-", "imPalettePresets", "-"}));
  EXPECT_EQ(Sub(L"imPalettePresets"), (V{"imPaletteColorPreset1", "imPaletteColorPreset2"}));
  TTntMenuItem* cold = menu_->PalettePresetItems()[1];
  EXPECT_EQ(cold->Tag, 1);
  EXPECT_EQ(cold->Hint, L"Cold");
  EXPECT_FALSE(cold->RadioItem);
  int drawn = 0, measured = 0;
  TObject* chosen = nullptr;
  menu_->OnMenuDrawItem = [&](TObject*, TCanvas*, const TRect&, TOwnerDrawState) { ++drawn; };
  menu_->OnMenuMeasureItem = [&](TObject*, TCanvas*, int& w, int& h) {
    ++measured;
    w = 100;
    h = 18;
  };
  menu_->OnMenuPalettePreset = [&](TObject* s) { chosen = s; };
  TCanvas canvas;
  int w = 0, h = 0;
  cold->OnMeasureItem(cold, &canvas, w, h);
  cold->OnAdvancedDrawItem(cold, &canvas, Rect(0, 0, 100, 18), 0);
  cold->Click();
  EXPECT_EQ(drawn, 1);
  EXPECT_EQ(measured, 1);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(chosen, cold);
}

TEST_F(MenuTest, PredefinedTextsComeFromAnXmlFile) {
  menu_->FillPredefinedTexts("");
  menu_->FillPredefinedTexts(platform::ProgramFolder() + "no_such_texts.xml");
  EXPECT_TRUE(menu_->PredefinedTextItems().empty());
  // Property pages on disk are UTF-16LE with a byte-order mark.
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("<?xml version=\"1.0\"?><texts><a value=\"Left\" caption=\"L\"/><b value=\"Right\"/>"
                            "<c/></texts>")) {
    utf16 += c;
    utf16 += '\0';
  }
  ScratchFile file(platform::ProgramFolder() + "texts_" + std::to_string(platform::CurrentProcessId()) + ".xml", utf16);
  menu_->FillPredefinedTexts(file.Path());
  ASSERT_EQ(Captions(menu_->PredefinedTextItems()), (std::vector<std::wstring>{L"L", L"Right", L"text"}));
  EXPECT_EQ(menu_->PredefinedTextItems()[2]->Name(), "imPredefinedText3");
  ScratchFile broken(platform::ProgramFolder() + "broken_" + std::to_string(platform::CurrentProcessId()) + ".xml", "<a");
  menu_->FillPredefinedTexts(broken.Path());
  EXPECT_EQ(menu_->PredefinedTextItems().size(), 3u);
}

TEST_F(MenuTest, MeasurementMarksFollowTheEngine) {
  const struct {
    uint32_t code;
    const wchar_t* item;
  } cases[] = {{0, L"imMeasurementDistance"}, {9, L"imMeasurementArrow"}, {10, L"imMeasurementPolygon"},
               {6, L"imMeasurementDensity"},  {5, nullptr},           {11, nullptr},
               {static_cast<uint32_t>(static_cast<int8_t>(0xFF)), nullptr}};
  const wchar_t* const kinds[] = {L"imMeasurementDensity",  L"imMeasurementArrow",     L"imMeasurementDistance",
                                  L"imMeasurementAngle",    L"imMeasurementAngleBtLines", L"imMeasurementEllipse",
                                  L"imMeasurementRectangle", L"imMeasurementText",     L"imMeasurementCallout",
                                  L"imMeasurementPolygon"};
  for (const auto& c : cases) {
    menu_->SetMeasurementType(c.code);
    for (const wchar_t* name : kinds)
      EXPECT_EQ(menu_->IsItemChecked(name), c.item && std::wstring(c.item) == name) << c.code;
  }
  menu_->SetMeasurementType(3);
  menu_->ClearMeasurementType(true);
  for (const wchar_t* name : kinds) EXPECT_FALSE(menu_->IsItemChecked(name));
  EXPECT_TRUE(Item(L"imMeasurementErase")->Enabled);
  menu_->ClearMeasurementType(false);
  EXPECT_FALSE(Item(L"imMeasurementErase")->Enabled);

  Item(L"imMeasurementHide")->SetChecked(true);
  menu_->SetMeasurementsPresent(true);
  EXPECT_TRUE(Item(L"imMeasurementHide")->Enabled);
  EXPECT_TRUE(Item(L"imMeasurementHide")->Checked());
  EXPECT_FALSE(Item(L"imMeasurementEraseAll")->Enabled);
  Item(L"imMeasurementHide")->SetChecked(false);
  menu_->SetMeasurementsPresent(true);
  EXPECT_TRUE(Item(L"imMeasurementEraseAll")->Enabled);
  Item(L"imMeasurementHide")->SetChecked(true);
  menu_->SetMeasurementsPresent(false);
  EXPECT_FALSE(Item(L"imMeasurementHide")->Checked());
  EXPECT_FALSE(Item(L"imMeasurementHide")->Enabled);
  EXPECT_FALSE(Item(L"imMeasurementEraseAll")->Enabled);

  menu_->SetStatisticsItems(true, false, true, false);
  EXPECT_TRUE(menu_->IsItemChecked(L"imSUVMin"));
  EXPECT_FALSE(menu_->IsItemChecked(L"imSUVMax"));
  EXPECT_TRUE(menu_->IsItemChecked(L"imSUVMean"));
  EXPECT_FALSE(menu_->IsItemChecked(L"imSUVStdDev"));
}

TEST_F(MenuTest, RebuildingRunTimeItemsWhileTheyAreShownLeavesNoDanglingEntries) {
  const auto three = Presets(3);
  menu_->SetFixedVOIPresets(three.data(), 3);
  menu_->SetVOIModeChecked(true);
  LayOut();
  menu_->RefreshModeDependentItems();
  const int before = popup_->Items()->Count();
  const auto two = Presets(2);
  menu_->SetFixedVOIPresets(two.data(), 2);  // the shown items leave the menu with their records
  EXPECT_EQ(popup_->Items()->Count(), before - 3);
  LayOut();
  menu_->RefreshModeDependentItems();
  EXPECT_EQ(popup_->Items()->IndexOf(menu_->FixedVOIPresetItems()[1]), 5);
}
