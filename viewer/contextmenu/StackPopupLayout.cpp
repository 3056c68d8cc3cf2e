// The wrapper's layouts: the groups of the ordinary and the MPR menu, the groups of the
// checked tool modes, and the frame state that decides between them.
#include "app/startup/ProgramEntry.h"
#include "app/startup/ToolsIni.h"
#include "viewer/contextmenu/MenuSettingsIni.h"
#include "viewer/contextmenu/TsgStackPopupWrapper.h"

using W = TsgStackPopup;

namespace {

// The shortcuts of the four main tools: all four, or none.
struct ToolShortCuts {
  TShortCut zoom = 0, voi = 0, pan = 0, navigation = 0;
  ToolShortCuts() {
    const orn_ini::TanToolsrIni tools;
    if (!tools.IsLoaded()) return;
    zoom = tools.GetZoomShortCut();
    voi = tools.GetVoiShortCut();
    pan = tools.GetPanShortCut();
    navigation = tools.GetNavigationShortCut();
  }
};

}  // namespace

W::TItem* W::InsertDividerItem() {
  auto* divider = new TItem(popup_);
  divider->SetName("Divider" + std::to_string(dividers_.size()));
  divider->SetCaption(L"-");
  dividers_.push_back(divider);
  return divider;
}

void W::FreeDividerItems() {
  for (TItem* divider : dividers_) delete divider;  // leaves its menu and the popup's components
  dividers_.clear();
}

void W::InsertAt(int position, TItem* item) { popup_->Items()->Insert(position, item); }

void W::InsertAt(int position, const wchar_t* name) { InsertAt(position, ItemByName(name)); }

void W::Append(TItem* parent, const wchar_t* name) {
  TItem* item = name[0] == L'-' ? InsertDividerItem() : ItemByName(name);
  parent->Add(item);
}

int W::TopLevelIndex(const TItem* item) const { return popup_ && item ? popup_->Items()->IndexOf(item) : -1; }

// ---- groups of the ordinary layout ----

int W::InsertMatrixItem(int position) {
  if (!ItemByName(L"imMatrix")->Enabled) return position;
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imMatrix");
  return position + 2;
}

int W::InsertToolModeItems(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imTools");
  TItem* tools = ItemByName(L"imTools");
  const ToolShortCuts keys;
  if (link_.LinkVisible()) {
    Append(tools, L"imLinkMode");
    Append(tools, L"-");
  }
  Append(tools, L"imZoomMode");
  ItemByName(L"imZoomMode")->ShortCut = keys.zoom;
  Append(tools, L"imVOIMode");
  ItemByName(L"imVOIMode")->ShortCut = keys.voi;
  Append(tools, L"imPanMode");
  ItemByName(L"imPanMode")->ShortCut = keys.pan;
  if (navigatorAvailable_ && !mprOn_) {
    Append(tools, L"imNavigatorMode");
    ItemByName(L"imNavigatorMode")->ShortCut = keys.navigation;
  }
  for (const wchar_t* name : {L"imMagnifierMode", L"imEdgeEnhancementMode", L"imMeasurementMode", L"-", L"imInverse",
                              L"-", L"imPaletteMode", L"-"})
    Append(tools, name);
  if (mprAvailable_) Append(tools, L"imMPRMode");
  return position + 2;
}

int W::InsertMPRToolModeItems(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imTools");
  TItem* tools = ItemByName(L"imTools");
  const ToolShortCuts keys;
  Append(tools, L"imZoomMode");
  ItemByName(L"imZoomMode")->ShortCut = keys.zoom;
  Append(tools, L"imPanMode");
  ItemByName(L"imPanMode")->ShortCut = keys.pan;
  Append(tools, L"imMagnifierMode");
  Append(tools, L"imMeasurementMode");
  Append(tools, L"imVOIMode");
  ItemByName(L"imVOIMode")->ShortCut = keys.voi;
  Append(tools, L"-");
  Append(tools, L"imPaletteMode");
  return position + 2;
}

int W::InsertMPRItems(int position) {
  ItemByName(L"imMPRPosition")->ShortCut = ToolShortCuts().navigation;
  for (const wchar_t* name : {L"-", L"imMPRSlabPointing", L"imMPRThickness", L"imMPRPosition", L"-", L"imMPRMIPWeighted",
                              L"imMPRMIP", L"imMPRAverageWeighted", L"imMPRAverage", L"-", L"imMPRMode"})
    InsertAt(position, name[0] == L'-' ? InsertDividerItem() : ItemByName(name));
  return position + 11;
}

int W::InsertRotateFlipItems(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imRotate");
  TItem* rotate = ItemByName(L"imRotate");
  for (const wchar_t* name : {L"imRotateLeft", L"imRotateRight", L"imFlipHorizontal", L"imFlipVertical"})
    Append(rotate, name);
  return position + 2;
}

int W::InsertLocksAndMarksItems(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imLocksAndMarks");
  TItem* marks = ItemByName(L"imLocksAndMarks");
  for (const wchar_t* name : {L"imSetMark", L"imSelectMarks", L"imReleaseMarks", L"-", L"imLock", L"imReleaseLocks"})
    Append(marks, name);
  return position + 2;
}

// ---- print, series, lossy and key-image groups ----

namespace {

void PlaceWithShortCut(TsgStackPopup& menu, TTntMenuItem* parent, const wchar_t* name, TShortCut key) {
  TTntMenuItem* item = menu.ItemByName(name);
  parent->Add(item);
  item->ShortCut = key;
}

}  // namespace

int W::InsertDicomPrintItems(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imDicomPrint");
  TItem* print = ItemByName(L"imDicomPrint");
  const orn_ini::TanDicomPrintIni printIni;
  if (printIni.IsValid()) PlaceWithShortCut(*this, print, L"imDicomPrint_PrintScreen", printIni.GetPrintScreenShortCut());
  const orn_ini::TanComposerIni composer;
  if (composer.IsValid()) {
    PlaceWithShortCut(*this, print, L"imDicomPrint_ShowComposer", composer.GetShowComposerShortCut());
    print->Add(InsertDividerItem());
    PlaceWithShortCut(*this, print, L"imDicomPrint_AddImage", composer.GetAddImageShortCut());
    PlaceWithShortCut(*this, print, L"imDicomPrint_AddPage", composer.GetAddPageShortCut());
    TItem* range = ItemByName(L"imDicomPrint_AddRangeBox");
    print->Add(range);
    PlaceWithShortCut(*this, range, L"imDicomPrint_MarkFirstImageOfRange", composer.GetMarkFirstImageOfRangeShortCut());
    PlaceWithShortCut(*this, range, L"imDicomPrint_AddRange", composer.GetAddRangeShortCut());
    PlaceWithShortCut(*this, print, L"imDicomPrint_AddStack", composer.GetAddStackShortCut());
  }
  print->Enabled = printIni.IsValid() || composer.IsValid();
  return position + 2;
}

int W::InsertMPRDicomPrintItems(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imDicomPrint");
  TItem* print = ItemByName(L"imDicomPrint");
  const orn_ini::TanDicomPrintIni printIni;
  if (printIni.IsValid()) PlaceWithShortCut(*this, print, L"imDicomPrint_PrintScreen", printIni.GetPrintScreenShortCut());
  const orn_ini::TanComposerIni composer;
  if (composer.IsValid()) {
    PlaceWithShortCut(*this, print, L"imDicomPrint_ShowComposer", composer.GetShowComposerShortCut());
    print->Add(InsertDividerItem());
    PlaceWithShortCut(*this, print, L"imDicomPrint_AddImage", composer.GetAddImageShortCut());
    PlaceWithShortCut(*this, print, L"imDicomPrint_AddPage", composer.GetAddPageShortCut());
  }
  print->Enabled = printIni.IsValid() || composer.IsValid();
  return position + 2;
}

int W::InsertSecondaryMPRItem(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imSecondaryMPRSeries");
  const orn_ini::TanSecondaryMPRSeriesIni series;
  TItem* item = ItemByName(L"imSecondaryMPRSeries");
  item->ShortCut = series.GetShortCut();
  item->Enabled = series.IsValid();
  return position + 2;
}

int W::InsertLossyItems(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imLossyPresets");
  TItem* lossy = ItemByName(L"imLossyPresets");
  for (const wchar_t* name : {L"imSetLossless", L"-", L"imLossyAll", L"imLossyStudy", L"imLossyStack"}) Append(lossy, name);
  return position + 2;
}

int W::InsertKeyImageItems(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imKeyImages");
  TItem* keys = ItemByName(L"imKeyImages");
  Append(keys, L"imAddKeyImage");
  if (keyImageTile_) Append(keys, L"imRemoveKeyImage");
  return position + 2;
}

// ---- tool-mode groups ----

int W::InsertLinkItems(int position) {
  const int32_t automated = link_.Automated();
  SetChecked(L"imLinkByZoom", link_.LinkByZoom());
  SetChecked(L"imLinkByVOI", link_.LinkByVoi());
  SetChecked(L"imLinkByPan", link_.LinkByPan());
  SetChecked(L"imLinkBySpatialTransform", link_.LinkBySpatialTransform());
  TItem* navigation = ItemByName(L"imLinkByNavigation");
  navigation->SetChecked(automated >= 0 && link_.LinkByNavigation());
  navigation->Enabled = automated >= 0;
  TItem* automatedItem = ItemByName(L"imLinkAutomated");
  automatedItem->Enabled = automated >= 0 && link_.LinkByNavigation();
  automatedItem->SetChecked(automated == 1);
  const bool four = IsItemChecked(L"imLinkByZoom") && IsItemChecked(L"imLinkByVOI") && IsItemChecked(L"imLinkByPan") &&
                    IsItemChecked(L"imLinkBySpatialTransform");
  ItemByName(L"imLinkSetAll")->Enabled = !(four && (navigation->Checked() || !navigation->Enabled));
  ItemByName(L"imLinkClearAll")->Enabled = IsItemChecked(L"imLinkByZoom") || IsItemChecked(L"imLinkByVOI") ||
                                           IsItemChecked(L"imLinkByPan") || IsItemChecked(L"imLinkBySpatialTransform") ||
                                           navigation->Checked();

  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imLinkPresets");
  TItem* presets = ItemByName(L"imLinkPresets");
  for (const wchar_t* name : {L"imLinkSetAll", L"imLinkClearAll", L"-", L"imLinkByZoom", L"imLinkByVOI", L"imLinkByPan",
                              L"imLinkBySpatialTransform", L"imLinkByNavigation", L"-", L"imLinkAutomated"})
    Append(presets, name);
  return position + 2;
}

int W::InsertZoomItems(int position) {
  for (const wchar_t* name : {L"-", L"imZoom1000", L"imZoom500", L"imZoom400", L"imZoom300", L"imZoom200", L"imZoom150",
                              L"imZoom100", L"imZoom50", L"imZoomFitScreen"})
    InsertAt(position, name[0] == L'-' ? InsertDividerItem() : ItemByName(name));
  return position + 10;
}

int W::InsertFitToScreenItem(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imZoomFitScreen");
  return position + 2;
}

int W::InsertOppositePanItem(int position) {
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imOppositePan");
  return position + 2;
}

int W::InsertUserVOIPresetItems(int position) {
  if (voiUserItems_.empty()) return position;
  for (auto it = voiUserItems_.rbegin(); it != voiUserItems_.rend(); ++it) InsertAt(position, *it);
  InsertAt(position, L"imVOIDivider1");
  return position + static_cast<int>(voiUserItems_.size()) + 1;
}

int W::InsertFixedVOIPresetItems(int position) {
  const int n = static_cast<int>(voiFixedItems_.size());
  if (n == 0) return position;
  if (n == 1) {
    InsertAt(position, voiFixedItems_[0]);
    InsertAt(position, InsertDividerItem());
    return position + 2;
  }
  InsertAt(position, InsertDividerItem());
  for (int i = n - 1; i >= 1; --i) InsertAt(position, voiFixedItems_[static_cast<size_t>(i)]);
  InsertAt(position, InsertDividerItem());
  InsertAt(position, voiFixedItems_[0]);
  InsertAt(position, InsertDividerItem());
  return position + n + 3;
}

int W::InsertPresentationStateItems(int position) {
  if (psItems_.empty() || mprOn_ || matrixOn_) return position;
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imPSPresets");
  TItem* states = ItemByName(L"imPSPresets");
  for (TItem* item : psItems_) states->Add(item);
  return position + 2;
}

int W::InsertMagnifierItems(int position) {
  for (const wchar_t* name :
       {L"imMagnifierLargest", L"imMagnifierExtraLarge", L"imMagnifierLarge", L"imMagnifierMedium", L"imMagnifierSmall",
        L"imMagnifierRect", L"imMagnifierCircle", L"imMagnifier1000", L"imMagnifier500", L"imMagnifier400",
        L"imMagnifier300", L"imMagnifier200", L"imMagnifier150", L"imMagnifier100"})
    SetChecked(name, false);
  SetChecked(L"imMagnifierOptimized", magnifier_.IsOptimized());
  switch (magnifier_.GetSize()) {
    case 128: SetChecked(L"imMagnifierSmall", true); break;
    case 384: SetChecked(L"imMagnifierLarge", true); break;
    case 512: SetChecked(L"imMagnifierExtraLarge", true); break;
    case 640: SetChecked(L"imMagnifierLargest", true); break;
    default: SetChecked(L"imMagnifierMedium", true); break;
  }
  const double zoom = magnifier_.GetZoom();
  // Cut toward zero; a value no integer holds checks the default item.
  const int64_t percent = (zoom > -1e15 && zoom < 1e15) ? static_cast<int64_t>(zoom) : 0;
  switch (percent) {
    case 100: SetChecked(L"imMagnifier100", true); break;
    case 150: SetChecked(L"imMagnifier150", true); break;
    case 300: SetChecked(L"imMagnifier300", true); break;
    case 400: SetChecked(L"imMagnifier400", true); break;
    case 500: SetChecked(L"imMagnifier500", true); break;
    case 1000: SetChecked(L"imMagnifier1000", true); break;
    default: SetChecked(L"imMagnifier200", true); break;
  }
  SetChecked(magnifier_.GetShape() == 0 ? L"imMagnifierRect" : L"imMagnifierCircle", true);
  for (const wchar_t* name :
       {L"-", L"imMagnifierLargest", L"imMagnifierExtraLarge", L"imMagnifierLarge", L"imMagnifierMedium",
        L"imMagnifierSmall", L"-", L"imMagnifierOptimized", L"-", L"imMagnifierRect", L"imMagnifierCircle", L"-",
        L"imMagnifier1000", L"imMagnifier500", L"imMagnifier400", L"imMagnifier300", L"imMagnifier200",
        L"imMagnifier150", L"imMagnifier100"})
    InsertAt(position, name[0] == L'-' ? InsertDividerItem() : ItemByName(name));
  return position + 19;
}

int W::InsertMeasurementItems(int position) {
  for (const wchar_t* name :
       {L"-", L"imSUVClear", L"imSUVSetAll", L"-", L"imSUVStdDev", L"imSUVMean", L"imSUVMin", L"imSUVMax", L"-",
        L"imMeasurementEraseAll", L"imMeasurementErase", L"-", L"imMeasurementHide", L"-", L"imMeasurementCalibrate",
        L"imMeasurementEdit", L"-", L"imMeasurementCallout", L"imMeasurementText", L"imMeasurementPolygon",
        L"imMeasurementRectangle", L"imMeasurementEllipse", L"imMeasurementAngleBtLines", L"imMeasurementAngle",
        L"imMeasurementDistance", L"imMeasurementArrow", L"imMeasurementDensity"})
    InsertAt(position, name[0] == L'-' ? InsertDividerItem() : ItemByName(name));
  return position + 27;
}

int W::InsertPaletteColorPresetItems(int position) {
  if (paletteItems_.empty()) return position;
  InsertAt(position, InsertDividerItem());
  InsertAt(position, L"imPalettePresets");
  TItem* presets = ItemByName(L"imPalettePresets");
  for (TItem* item : paletteItems_) presets->Add(item);
  return position + 2;
}

void W::InsertModeDependentItems() {
  if (!popup_) return;
  const int tools = TopLevelIndex(ItemByName(L"imTools"));
  int position = tools < 0 ? 0 : tools + 2;
  const bool mpr = IsItemChecked(L"imMPRMode");
  if (IsItemChecked(L"imZoomMode")) position = mpr ? InsertFitToScreenItem(position) : InsertZoomItems(position);
  if (IsItemChecked(L"imPanMode") && !mpr) position = InsertOppositePanItem(position);
  if (IsItemChecked(L"imMeasurementMode")) position = InsertMeasurementItems(position);
  if (IsItemChecked(L"imMagnifierMode")) position = InsertMagnifierItems(position);
  if (IsItemChecked(L"imVOIMode")) position = InsertFixedVOIPresetItems(position);
  if (IsItemChecked(L"imLinkMode") && !mpr && link_.LinkEnabled()) position = InsertLinkItems(position);
  if (IsItemChecked(L"imPaletteMode")) position = InsertPaletteColorPresetItems(position);
}

// ---- layouts ----

int W::LayOutNormal() {
  if (!popup_) return 0;
  DetachItems(popup_->Items());
  FreeDividerItems();
  int position = InsertMatrixItem(0);
  position = InsertToolModeItems(position);
  position = InsertPresentationStateItems(position);
  position = InsertRotateFlipItems(position);
  position = InsertLocksAndMarksItems(position);
  if (app::SessionNumber() != -1) position = InsertDicomPrintItems(position);
  if (sessionMode_) {
    position = InsertLossyItems(position);
    if (keyImagesEnabled_) position = InsertKeyImageItems(position);
  }
  return position;
}

int W::LayOutMpr() {
  if (!popup_) return 0;
  DetachItems(popup_->Items());
  FreeDividerItems();
  int position = InsertMPRToolModeItems(0);
  position = InsertMPRItems(position);
  if (app::SessionNumber() != -1) {
    position = InsertSecondaryMPRItem(position);
    position = InsertMPRDicomPrintItems(position);
  }
  if (sessionMode_ && keyImagesEnabled_) position = InsertKeyImageItems(position);
  return position;
}

void W::SetFrameState(bool navigatorUsable, bool mprAvailable, bool mprOn, bool matrixOn, bool linkShown,
                      bool linkEnabled, bool removeKeyImage, bool keyImagesEnabled, bool sessionMode) {
  navigatorAvailable_ = navigatorUsable;
  mprAvailable_ = mprAvailable;
  mprOn_ = mprOn;
  matrixOn_ = matrixOn;
  keyImageTile_ = removeKeyImage;
  keyImagesEnabled_ = keyImagesEnabled;
  sessionMode_ = sessionMode;
  link_.SetLinkVisible(linkShown);
  link_.SetLinkEnabled(linkEnabled);
  SetChecked(L"imMPRMode", mprAvailable && mprOn);
  if (mprAvailable && mprOn)
    LayOutMpr();
  else
    LayOutNormal();
}

void W::Popup(int x, int y) {
  if (popup_) popup_->Popup(x, y);
}
