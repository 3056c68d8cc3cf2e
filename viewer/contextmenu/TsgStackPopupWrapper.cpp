// The wrapper's construction, the fixed items and the routing of their clicks.
#include "viewer/contextmenu/TsgStackPopupWrapper.h"

#include "app/startup/ToolsIni.h"

using W = TsgStackPopup;

namespace {

const wchar_t* const kMeasurementKinds[] = {
    L"imMeasurementDensity", L"imMeasurementArrow",     L"imMeasurementDistance", L"imMeasurementAngle",
    L"imMeasurementAngleBtLines", L"imMeasurementEllipse", L"imMeasurementRectangle", L"imMeasurementText",
    L"imMeasurementCallout", L"imMeasurementPolygon"};

const wchar_t* const kProjections[] = {L"imMPRMIP", L"imMPRMIPWeighted", L"imMPRAverage", L"imMPRAverageWeighted"};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

W::TsgStackPopupWrapper(TTntPopupMenu* popup) : popup_(popup) {
  popup_->OwnerDraw = true;
  BuildMenu();
}

W::~TsgStackPopupWrapper() {
  // The preset records of the fixed window/level items are the wrapper's; the items are the
  // popup's and die with it.
  for (TItem* item : voiFixedItems_) delete PresetOf(item);
}

const VOI_FORM_PRESETS* W::PresetOf(const TItem* item) {
  return item ? reinterpret_cast<const VOI_FORM_PRESETS*>(item->Tag) : nullptr;
}

W::TItem* W::ItemByName(const std::wstring& name) const {
  auto it = items_.find(name);
  return it == items_.end() ? nullptr : it->second;
}

void W::CreateItem(std::wstring name, std::wstring caption, bool radio, bool autoCheck, TNotifyEvent onClick) {
  auto* item = new TItem(popup_);
  item->SetName(Narrow(name));
  item->SetCaption(caption);
  item->RadioItem = radio;
  item->OnClick = std::move(onClick);
  item->AutoCheck = autoCheck;
  items_.emplace(std::move(name), item);
}

void W::DetachItems(TItem* item) {
  const int n = item->Count();
  for (int i = 0; i < n; ++i) {
    TItem* first = item->Items(0);
    DetachItems(first);
    item->Delete(0);
  }
}

TNotifyEvent W::Raise(const TNotifyEvent& event) {
  return [&event](TObject* sender) {
    if (event) event(sender);
  };
}

void W::BuildMenu() {
  auto on = [this](void (W::*handler)(TObject*)) -> TNotifyEvent {
    return [this, handler](TObject* sender) { (this->*handler)(sender); };
  };
  struct Row {
    const wchar_t* name;
    const wchar_t* caption;
    bool autoCheck, radio;
    TNotifyEvent click;
  };
  const TNotifyEvent none;
  const TNotifyEvent link = on(&W::LinkItemClick), zoom = on(&W::ZoomItemClick), magnifier = on(&W::MagnifierItemClick),
                     kind = on(&W::MeasurementTypeClick), statistics = on(&W::StatisticsItemClick),
                     projection = on(&W::MprProjectionClick), tool = Raise(OnMenuToolMode),
                     rotate = Raise(OnMenuRotateFlip), marks = on(&W::MarksItemClick), locks = Raise(OnMenuLocks);
  const Row rows[] = {
      {L"imLinkSetAll", L"Set All", false, false, link},
      {L"imLinkClearAll", L"Clear All", false, false, link},
      {L"imLinkByZoom", L"Zoom", false, false, link},
      {L"imLinkByVOI", L"VOI", false, false, link},
      {L"imLinkByPan", L"Pan", false, false, link},
      {L"imLinkBySpatialTransform", L"Spatial Transform", false, false, link},
      {L"imLinkByNavigation", L"Navigation", false, false, link},
      {L"imLinkAutomated", L"Automated", false, false, link},
      {L"imZoomFitScreen", L"Fit to window", false, false, zoom},
      {L"imZoom50", L"50%", false, true, zoom},
      {L"imZoom100", L"100%", false, true, zoom},
      {L"imZoom150", L"150%", false, true, zoom},
      {L"imZoom200", L"200%", false, true, zoom},
      {L"imZoom300", L"300%", false, true, zoom},
      {L"imZoom400", L"400%", false, true, zoom},
      {L"imZoom500", L"500%", false, true, zoom},
      {L"imZoom1000", L"1000%", false, true, zoom},
      {L"imOppositePan", L"Opposite panning", true, false, on(&W::OppositePanClick)},
      {L"imMagnifier100", L"100%", true, true, magnifier},
      {L"imMagnifier150", L"150%", true, true, magnifier},
      {L"imMagnifier200", L"200%", true, true, magnifier},
      {L"imMagnifier300", L"300%", true, true, magnifier},
      {L"imMagnifier400", L"400%", true, true, magnifier},
      {L"imMagnifier500", L"500%", true, true, magnifier},
      {L"imMagnifier1000", L"1000%", true, true, magnifier},
      {L"imMagnifierCircle", L"Circle lense", true, true, magnifier},
      {L"imMagnifierRect", L"Rectangular lense", true, true, magnifier},
      {L"imMagnifierOptimized", L"Optimized", true, true, magnifier},
      {L"imMagnifierSmall", L"Small (128)", true, true, magnifier},
      {L"imMagnifierMedium", L"Medium (256)", true, true, magnifier},
      {L"imMagnifierLarge", L"Large (384)", true, true, magnifier},
      {L"imMagnifierExtraLarge", L"ExtraLarge (512)", true, true, magnifier},
      {L"imMagnifierLargest", L"Largest (640)", true, true, magnifier},
      {L"imMeasurementDensity", L"Density", false, false, kind},
      {L"imMeasurementArrow", L"Arrow", false, false, kind},
      {L"imMeasurementDistance", L"Distance", false, false, kind},
      {L"imMeasurementAngle", L"Angle", false, false, kind},
      {L"imMeasurementAngleBtLines", L"Angle Between Lines", false, false, kind},
      {L"imMeasurementEllipse", L"Ellipse", false, false, kind},
      {L"imMeasurementRectangle", L"Rectangle", false, false, kind},
      {L"imMeasurementText", L"Text", false, false, kind},
      {L"imMeasurementCallout", L"Callout", false, false, kind},
      {L"imMeasurementCalibrate", L"Calibrate", false, false, Raise(OnMenuCalibrate)},
      {L"imMeasurementEdit", L"Edit text", false, false, Raise(OnMenuEditText)},
      {L"imMeasurementPolygon", L"Polygon", false, false, kind},
      {L"imMeasurementPredefined", L"Predefined text", false, false, none},
      {L"imMeasurementPredefinedDialog", L"Advanced...", false, false, none},
      {L"imSUVStdDev", L"Statistics: standard deviation", true, false, statistics},
      {L"imSUVMean", L"Statistics: mean value", true, false, statistics},
      {L"imSUVMin", L"Statistics: min value", true, false, statistics},
      {L"imSUVMax", L"Statistics: max value", true, false, statistics},
      {L"imSUVClear", L"Clear all statistics", false, false, on(&W::StatisticsClearClick)},
      {L"imSUVSetAll", L"Set all statistics", false, false, on(&W::StatisticsSetAllClick)},
      {L"imMeasurementHide", L"Hide", false, false, on(&W::MeasurementHideClick)},
      {L"imMeasurementErase", L"Erase", false, false, Raise(OnMenuMeasurementErase)},
      {L"imMeasurementEraseAll", L"Erase All", false, false, on(&W::MeasurementEraseAllClick)},
      {L"imMPRThickness", L"MPR Thickness", false, false,
       [this](TObject* s) { MprPlaneToolClick(s, OnMenuMprThickness); }},
      {L"imMPRPosition", L"MPR Position", false, false, [this](TObject* s) { MprPlaneToolClick(s, OnMenuMprPosition); }},
      {L"imMPRSlabPointing", L"MPR Triangulation", false, false,
       [this](TObject* s) { MprPlaneToolClick(s, OnMenuMprSlabPointing); }},
      {L"imMPRMIP", L"MIP", true, false, projection},
      {L"imMPRMIPWeighted", L"MIP Weighted", true, false, projection},
      {L"imMPRAverage", L"Average", true, false, projection},
      {L"imMPRAverageWeighted", L"Average Weighted", true, false, projection},
      {L"imTools", L"Tools", false, false, none},
      {L"imLinkMode", L"Link", false, false, tool},
      {L"imZoomMode", L"Zoom", true, true, tool},
      {L"imVOIMode", L"VOI", true, true, tool},
      {L"imPanMode", L"Pan", true, true, tool},
      {L"imMagnifierMode", L"Magnifier", true, true, tool},
      {L"imEdgeEnhancementMode", L"Edge Enhancement", true, true, tool},
      {L"imMeasurementMode", L"Measurement", true, true, tool},
      {L"imNavigatorMode", L"Stack Position", true, true, tool},
      {L"imInverse", L"Inverse", true, false, tool},
      {L"imPaletteMode", L"Palette Color", true, false, tool},
      {L"imMatrix", L"Matrix", false, false, Raise(OnMenuMatrix)},
      {L"imPalettePresets", L"Palette presets", false, false, none},
      {L"imLinkPresets", L"Link presets", false, false, none},
      {L"imVOIPresets", L"VOI presets", false, false, none},
      {L"imPSPresets", L"Presentation states", false, false, none},
      {L"imMPRMode", L"MPR", false, false, on(&W::MprModeClick)},
      {L"imRotate", L"Rotate", false, false, none},
      {L"imRotateLeft", L"Left", false, false, rotate},
      {L"imRotateRight", L"Right", false, false, rotate},
      {L"imFlipHorizontal", L"Flip Horizontal", false, false, rotate},
      {L"imFlipVertical", L"Flip Vertical", false, false, rotate},
      {L"imLocksAndMarks", L"Lock && Mark", false, false, none},
      {L"imSetMark", L"Mark", false, false, marks},
      {L"imSelectMarks", L"Select Marks", false, false, marks},
      {L"imReleaseMarks", L"Release All Marks", false, false, marks},
      {L"imDicomPrint", L"DICOM Print", false, false, none},
      {L"imDicomPrint_PrintScreen", L"Print Screen", false, false, Raise(OnMenuPrintScreen)},
      {L"imDicomPrint_ShowComposer", L"Show Composer", false, false, Raise(OnMenuShowComposer)},
      {L"imDicomPrint_AddImage", L"Add Image", false, false, Raise(OnMenuAddImage)},
      {L"imDicomPrint_AddPage", L"Add Page", false, false, Raise(OnMenuAddPage)},
      {L"imDicomPrint_AddStack", L"Add Stack", false, false, Raise(OnMenuAddStack)},
      {L"imDicomPrint_AddRangeBox", L"Add Range", false, false, none},
      {L"imDicomPrint_MarkFirstImageOfRange", L"Mark First", false, false, Raise(OnMenuMarkFirstImageOfRange)},
      {L"imDicomPrint_AddRange", L"Add Range", false, false, Raise(OnMenuAddRange)},
      {L"imSecondaryMPRSeries", L"Create Secondary MPR Series", false, false, Raise(OnMenuSecondaryMprSeries)},
      {L"imLock", L"Lock", false, false, locks},
      {L"imReleaseLocks", L"Release All Locked", false, false, locks},
      {L"imLossyPresets", L"Lossy mode", false, false, none},
      {L"imSetLossless", L"Lossless mode", false, false, on(&W::SetLosslessClick)},
      {L"imLossyAll", L"Set all lossy", false, false, [this](TObject* s) { LossyClick(s, OnMenuLossyAll); }},
      {L"imLossyStudy", L"Set lossy study", false, false, [this](TObject* s) { LossyClick(s, OnMenuLossyStudy); }},
      {L"imLossyStack", L"Set lossy stack", false, false, [this](TObject* s) { LossyClick(s, OnMenuLossyStack); }},
      {L"imKeyImages", L"Key images", false, false, none},
      {L"imAddKeyImage", L"Add key image", false, false, Raise(OnMenuAddKeyImage)},
      {L"imRemoveKeyImage", L"Remove key image", false, false, Raise(OnMenuRemoveKeyImage)},
      {L"imVOIDivider1", L"-", false, false, none},
  };
  for (const Row& row : rows) {
    CreateItem(row.name, row.caption, row.radio, row.autoCheck, row.click);
    if (std::wstring(row.name) == L"imSUVMax") {
      const orn_ini::TanMeasurementStatisticsIni statistics;
      if (statistics.IsValid()) {
        SetChecked(L"imSUVStdDev", statistics.ShowStdDev());
        SetChecked(L"imSUVMean", statistics.ShowMean());
        SetChecked(L"imSUVMin", statistics.ShowMin());
        SetChecked(L"imSUVMax", statistics.ShowMax());
      }
    }
  }
  const std::pair<const wchar_t*, int> zoomTags[] = {{L"imZoomFitScreen", -1}, {L"imZoom50", 50},   {L"imZoom100", 100},
                                                     {L"imZoom150", 150},      {L"imZoom200", 200}, {L"imZoom300", 300},
                                                     {L"imZoom400", 400},      {L"imZoom500", 500}, {L"imZoom1000", 1000}};
  for (const auto& [name, tag] : zoomTags) ItemByName(name)->Tag = tag;
  const std::pair<const wchar_t*, uint8_t> magnifierGroups[] = {
      {L"imMagnifier100", kMagnifierZoomGroup},         {L"imMagnifier150", kMagnifierZoomGroup},
      {L"imMagnifier200", kMagnifierZoomGroup},         {L"imMagnifier300", kMagnifierZoomGroup},
      {L"imMagnifier400", kMagnifierZoomGroup},         {L"imMagnifier500", kMagnifierZoomGroup},
      {L"imMagnifier1000", kMagnifierZoomGroup},        {L"imMagnifierCircle", kMagnifierShapeGroup},
      {L"imMagnifierRect", kMagnifierShapeGroup},       {L"imMagnifierOptimized", kMagnifierOptimizedGroup},
      {L"imMagnifierSmall", kMagnifierSizeGroup},       {L"imMagnifierMedium", kMagnifierSizeGroup},
      {L"imMagnifierLarge", kMagnifierSizeGroup},       {L"imMagnifierExtraLarge", kMagnifierSizeGroup},
      {L"imMagnifierLargest", kMagnifierSizeGroup}};
  for (const auto& [name, group] : magnifierGroups) ItemByName(name)->GroupIndex = group;
  for (const wchar_t* name : {L"imMeasurementCalibrate", L"imMeasurementEdit", L"imMeasurementHide",
                              L"imMeasurementErase", L"imMeasurementEraseAll", L"imLossyPresets", L"imSetLossless",
                              L"imLossyAll", L"imLossyStudy", L"imLossyStack"})
    SetEnabled(name, false);
  SetChecked(L"imMeasurementDistance", true);
  SetChecked(L"imMPRMIPWeighted", true);
}

void W::SetChecked(const wchar_t* name, bool on) {
  if (TItem* item = ItemByName(name)) item->SetChecked(on);
}

void W::SetEnabled(const wchar_t* name, bool on) {
  if (TItem* item = ItemByName(name)) item->Enabled = on;
}

bool W::IsItemChecked(const std::wstring& name) const {
  const TItem* item = ItemByName(name);
  return item && item->Checked();
}

// ---- click routing ----

void W::LinkItemClick(TObject* sender) {
  auto* item = static_cast<TItem*>(sender);
  const std::string& name = item->Name();
  if (name == "imLinkSetAll") {
    link_.SetLinkByZoom(true);
    link_.SetLinkByVoi(true);
    link_.SetLinkByPan(true);
    link_.SetLinkBySpatialTransform(true);
    if (ItemByName(L"imLinkByNavigation")->Enabled) link_.SetLinkByNavigation(true);
  } else if (name == "imLinkClearAll") {
    link_.SetLinkByZoom(false);
    link_.SetLinkByVoi(false);
    link_.SetLinkByPan(false);
    link_.SetLinkBySpatialTransform(false);
    link_.SetLinkByNavigation(false);
  } else if (name == "imLinkAutomated") {
    item->SetChecked(!item->Checked());
    link_.SetAutomated(item->Checked() ? 1 : 0);
  } else if (name == "imLinkByZoom") {
    link_.SetLinkByZoom(!link_.LinkByZoom());
  } else if (name == "imLinkByVOI") {
    link_.SetLinkByVoi(!link_.LinkByVoi());
  } else if (name == "imLinkByPan") {
    link_.SetLinkByPan(!link_.LinkByPan());
  } else if (name == "imLinkBySpatialTransform") {
    link_.SetLinkBySpatialTransform(!link_.LinkBySpatialTransform());
  } else if (name == "imLinkByNavigation") {
    link_.SetLinkByNavigation(!link_.LinkByNavigation());
  }
  if (OnMenuLink) OnMenuLink(sender);
}

void W::ZoomItemClick(TObject* sender) {
  if (OnMenuZoom) OnMenuZoom(sender);
}

void W::OppositePanClick(TObject* sender) {
  if (OnMenuOppositePan) OnMenuOppositePan(static_cast<TItem*>(sender)->Checked());
}

void W::MagnifierItemClick(TObject* sender) {
  auto* item = static_cast<TItem*>(sender);
  const std::string& name = item->Name();
  const std::pair<const char*, int32_t> sizes[] = {{"imMagnifierLargest", 640},
                                                   {"imMagnifierExtraLarge", 512},
                                                   {"imMagnifierLarge", 384},
                                                   {"imMagnifierMedium", 256},
                                                   {"imMagnifierSmall", 128}};
  const std::pair<const char*, double> zooms[] = {{"imMagnifier1000", 1000.0}, {"imMagnifier500", 500.0},
                                                  {"imMagnifier400", 400.0},   {"imMagnifier300", 300.0},
                                                  {"imMagnifier200", 200.0},   {"imMagnifier150", 150.0},
                                                  {"imMagnifier100", 100.0}};
  for (const auto& [n, size] : sizes)
    if (name == n) magnifier_.Size = size;
  for (const auto& [n, zoom] : zooms)
    if (name == n) magnifier_.Zoom = zoom;
  if (name == "imMagnifierOptimized") magnifier_.Optimized = item->Checked();
  if (name == "imMagnifierRect") magnifier_.Shape = 0;
  if (name == "imMagnifierCircle") magnifier_.Shape = 1;
  if (OnMenuMagnifier) OnMenuMagnifier(sender);
}

void W::MeasurementTypeClick(TObject* sender) {
  auto* item = static_cast<TItem*>(sender);
  for (const wchar_t* name : kMeasurementKinds) SetChecked(name, false);
  item->SetChecked(!item->Checked());
  TItem* hide = ItemByName(L"imMeasurementHide");
  if (hide->Checked()) {
    hide->SetChecked(false);
    if (hide->Enabled) {
      SetEnabled(L"imMeasurementErase", true);
      SetEnabled(L"imMeasurementEraseAll", true);
      if (OnMenuMeasurementHide) OnMenuMeasurementHide(hide);
    }
  }
  if (OnMenuMeasurementType) OnMenuMeasurementType(sender);
}

void W::MeasurementHideClick(TObject* sender) {
  auto* hide = static_cast<TItem*>(sender);
  hide->SetChecked(!hide->Checked());
  SetEnabled(L"imMeasurementErase", !hide->Checked());
  SetEnabled(L"imMeasurementEraseAll", !hide->Checked());
  if (OnMenuMeasurementHide) OnMenuMeasurementHide(sender);
}

void W::MeasurementEraseAllClick(TObject* sender) {
  SetEnabled(L"imMeasurementHide", false);
  SetEnabled(L"imMeasurementErase", false);
  SetEnabled(L"imMeasurementEraseAll", false);
  if (OnMenuMeasurementEraseAll) OnMenuMeasurementEraseAll(sender);
}

void W::RaiseStatistics() {
  if (OnMenuStatistics)
    OnMenuStatistics(IsItemChecked(L"imSUVMin"), IsItemChecked(L"imSUVMax"), IsItemChecked(L"imSUVMean"),
                     IsItemChecked(L"imSUVStdDev"));
}

void W::StatisticsItemClick(TObject*) { RaiseStatistics(); }

void W::StatisticsSetAllClick(TObject*) {
  for (const wchar_t* name : {L"imSUVMin", L"imSUVMax", L"imSUVMean", L"imSUVStdDev"}) SetChecked(name, true);
  RaiseStatistics();
}

void W::StatisticsClearClick(TObject*) {
  for (const wchar_t* name : {L"imSUVMin", L"imSUVMax", L"imSUVMean", L"imSUVStdDev"}) SetChecked(name, false);
  RaiseStatistics();
}

void W::MprPlaneToolClick(TObject* sender, const TNotifyEvent& event) {
  auto* item = static_cast<TItem*>(sender);
  if (item->Checked()) return;
  item->SetChecked(true);
  if (event) event(sender);
}

void W::MprProjectionClick(TObject* sender) {
  for (const wchar_t* name : kProjections) SetChecked(name, false);
  static_cast<TItem*>(sender)->SetChecked(true);
  if (OnMenuMprProjection) OnMenuMprProjection(sender);
}

void W::MprModeClick(TObject* sender) {
  auto* item = static_cast<TItem*>(sender);
  item->SetChecked(!item->Checked());
  if (OnMenuMpr) OnMenuMpr(sender);
}

void W::MarksItemClick(TObject* sender) {
  if (static_cast<TItem*>(sender)->Name() == "imReleaseMarks") SetChecked(L"imSelectMarks", false);
  if (OnMenuMarks) OnMenuMarks(sender);
}

void W::SetLosslessClick(TObject* sender) {
  SetChecked(L"imSetLossless", true);
  if (OnMenuSetLossless) OnMenuSetLossless(sender);
}

void W::LossyClick(TObject* sender, const TNotifyEvent& event) {
  SetChecked(L"imSetLossless", false);
  if (event) event(sender);
}
