// The context menu of a stack window: a wrapper over the window's popup component that makes
// the 110 fixed items once, keeps them by component name, and lays the menu out again, group
// by group, whenever the window's state changes. Items that depend on data (window/level
// presets, palette presets, presentation states, predefined texts) are made at run time. A
// click brings the menu's marks and the option records into the state it asks for and raises
// one of the 43 events, which the stack window's command handlers take.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Menus.h"
#include "platform/windows/WindowTypes.h"
#include "viewer/frame/SLinkOptions.h"
#include "viewer/frame/SMagnifierOptions.h"
#include "viewer/frame/VoiPresets.h"

namespace app {
class TResourceInitialization;
}
namespace ORN_gui {
class iPALETTE_COLOR_PRESET_SET;
}

template <class TPopup, class TItem>
class TsgStackPopupWrapper;

// The one instance the system uses.
template <>
class TsgStackPopupWrapper<TTntPopupMenu, TTntMenuItem> {
 public:
  using TItem = TTntMenuItem;
  using TBoolEvent = std::function<void(bool)>;
  using TStatisticsEvent = std::function<void(bool min, bool max, bool mean, bool stdDev)>;

  // The popup must exist and outlive the wrapper (its items die with it).
  explicit TsgStackPopupWrapper(TTntPopupMenu* popup);
  TsgStackPopupWrapper(const TsgStackPopupWrapper&) = delete;
  TsgStackPopupWrapper& operator=(const TsgStackPopupWrapper&) = delete;

  // Pictures and captions of the fixed items from the GUI pages' sections.
  virtual void LoadItemBitmaps(platform::ResourceModuleHandle module, std::wstring section);
  virtual void ApplyItemCaptions(std::wstring section);
  // Makes one fixed item and enters it in the name map (a name already there keeps its item).
  virtual void CreateItem(std::wstring name, std::wstring caption, bool radio, bool autoCheck,
                          TNotifyEvent onClick);
  // Takes every sub-item out of the item, depth first; frees nothing.
  virtual void DetachItems(TItem* item);
  virtual void BuildMenu();
  // A separator of the current layout, named "Divider" and its number; the caller places it.
  virtual TItem* InsertDividerItem();
  virtual void FreeDividerItems();

  // Groups of the layouts: each inserts at a top-level position and returns the position
  // just below what it inserted.
  virtual int InsertMatrixItem(int position);
  virtual int InsertToolModeItems(int position);
  virtual int InsertMPRToolModeItems(int position);
  virtual int InsertMPRItems(int position);
  virtual int InsertRotateFlipItems(int position);
  virtual int InsertLocksAndMarksItems(int position);
  virtual int InsertDicomPrintItems(int position);
  virtual int InsertMPRDicomPrintItems(int position);
  virtual int InsertSecondaryMPRItem(int position);
  virtual int InsertLossyItems(int position);
  virtual int InsertKeyImageItems(int position);
  virtual int InsertLinkItems(int position);
  virtual int InsertZoomItems(int position);
  virtual int InsertFitToScreenItem(int position);
  virtual int InsertOppositePanItem(int position);
  virtual int InsertUserVOIPresetItems(int position);
  virtual int InsertFixedVOIPresetItems(int position);
  virtual int InsertPresentationStateItems(int position);
  virtual int InsertMagnifierItems(int position);
  virtual int InsertMeasurementItems(int position);
  virtual int InsertPaletteColorPresetItems(int position);
  // The groups of the checked tool modes, just below "imTools" and its divider.
  virtual void InsertModeDependentItems();
  virtual int LayOutNormal();
  virtual int LayOutMpr();

  virtual ~TsgStackPopupWrapper();

  // Run-time items.
  virtual void SetUserVOIPresets(const platform::CopyDataStruct* record);
  virtual void SetFixedVOIPresets(const VOI_FORM_PRESETS* presets, int count);
  virtual void CheckVOIPreset(bool user, int32_t index, bool click);
  virtual void SetPaletteColorPresets(const ORN_gui::iPALETTE_COLOR_PRESET_SET& set);
  virtual void SetIntValue(int32_t value) { intValue_ = value; }
  virtual bool FillPresentationStates(const char* data, uint32_t length);
  virtual int SelectPresentationStateItem(const wchar_t* name);
  virtual void FillPredefinedTexts(const std::string& fileName);
  virtual void CheckPresentationStateItem(int32_t index);
  virtual void Popup(int x, int y);

  // The window's state, in the order navigator usable, MPR available, MPR on, image matrix
  // on, link tool shown, link tool enabled, remove-key-image, key images enabled, session
  // mode; lays the menu out.
  virtual void SetFrameState(bool navigatorUsable, bool mprAvailable, bool mprOn, bool matrixOn, bool linkShown,
                             bool linkEnabled, bool removeKeyImage, bool keyImagesEnabled, bool sessionMode);
  virtual void SetMPRModeEnabled(bool on) { SetEnabled(L"imMPRMode", on); }
  virtual void SetLinkModeChecked(bool on) { SetChecked(L"imLinkMode", on); }
  virtual void SetZoomModeChecked(bool on) { SetChecked(L"imZoomMode", on); }
  virtual void SetNavigatorModeChecked(bool on) { SetChecked(L"imNavigatorMode", on); }
  virtual void SetVOIModeChecked(bool on) { SetChecked(L"imVOIMode", on); }
  virtual void SetPanModeChecked(bool on) { SetChecked(L"imPanMode", on); }
  virtual void SetMagnifierModeChecked(bool on) { SetChecked(L"imMagnifierMode", on); }
  virtual void SetMeasurementModeChecked(bool on) { SetChecked(L"imMeasurementMode", on); }
  virtual void SetEdgeEnhancementModeChecked(bool on) { SetChecked(L"imEdgeEnhancementMode", on); }
  virtual void SetMPRPositionChecked(bool on) { SetChecked(L"imMPRPosition", on); }
  virtual void SetMPRThicknessChecked(bool on) { SetChecked(L"imMPRThickness", on); }
  virtual void SetMPRSlabPointingChecked(bool on) { SetChecked(L"imMPRSlabPointing", on); }
  virtual void SetInverseChecked(bool on) { SetChecked(L"imInverse", on); }
  virtual void SetPaletteModeChecked(bool on) { SetChecked(L"imPaletteMode", on); }
  virtual void SetMatrixEnabled(bool on) { SetEnabled(L"imMatrix", on); }
  virtual void SetLossyPresetsEnabled(bool on) { SetEnabled(L"imLossyPresets", on); }
  virtual void SetLossyStackEnabled(bool on) { SetEnabled(L"imLossyStack", on); }
  virtual void SetLossyStudyEnabled(bool on) { SetEnabled(L"imLossyStudy", on); }
  virtual void SetLossyAllEnabled(bool on) { SetEnabled(L"imLossyAll", on); }
  virtual void SetLosslessEnabled(bool on) { SetEnabled(L"imSetLossless", on); }
  virtual void SetLosslessChecked(bool on) { SetChecked(L"imSetLossless", on); }
  virtual void SetCalibrateEnabled(bool on) { SetEnabled(L"imMeasurementCalibrate", on); }
  virtual void SetEditTextEnabled(bool on) { SetEnabled(L"imMeasurementEdit", on); }
  virtual void RefreshModeDependentItems() { InsertModeDependentItems(); }
  virtual void RefreshUserVOIPresetItems();
  // The engine's 0x8059: no kind checked; Erase follows the flag.
  virtual void ClearMeasurementType(bool eraseEnabled);
  // The kind of a measurement code (0 distance ... 10 polygon; 5 and above 10: none).
  virtual void SetMeasurementType(uint32_t code);
  virtual void SetOppositePanChecked(bool on) { SetChecked(L"imOppositePan", on); }
  // The engine's 0x805A: measurements present or not.
  virtual void SetMeasurementsPresent(bool present);
  virtual bool IsItemChecked(const std::wstring& name) const;
  virtual void SetStatisticsItems(bool min, bool max, bool mean, bool stdDev);
  // The zoom factor (1.0 is 100 %) checks the percentage item of its band.
  virtual void SetZoomItems(double factor);
  virtual void SetFixedVOIPresetChecks(double width, double centre);
  virtual int GetCheckedPresentationStateIndex() const;
  // Pictures and captions from the GUI pages, magnifier and link options from [GUI_DEFAULTS].
  virtual void Configure(app::TResourceInitialization& record);
  virtual SMagnifierOptions& GetMagnifierOptions() { return magnifier_; }
  virtual SLinkOptions& GetLinkOptions() { return link_; }

  // The fixed item of that exact name; null when none has it (the map is not changed).
  TItem* ItemByName(const std::wstring& name) const;
  const std::map<std::wstring, TItem*>& ItemMap() const { return items_; }
  TTntPopupMenu* PopupMenu() const { return popup_; }
  const std::vector<TItem*>& Dividers() const { return dividers_; }
  const std::vector<TItem*>& FixedVOIPresetItems() const { return voiFixedItems_; }
  const std::vector<TItem*>& UserVOIPresetItems() const { return voiUserItems_; }
  const std::vector<TItem*>& PalettePresetItems() const { return paletteItems_; }
  const std::vector<TItem*>& PresentationStateItems() const { return psItems_; }
  const std::vector<TItem*>& PredefinedTextItems() const { return textItems_; }
  // The preset record a fixed window/level item stands for (its Tag), or null.
  static const VOI_FORM_PRESETS* PresetOf(const TItem* item);

  // Events, raised only when assigned.
  TNotifyEvent OnMenuPalettePreset;
  TNotifyEvent OnMenuLink;
  TNotifyEvent OnMenuZoom;
  TNotifyEvent OnMenuMeasurementType;
  TNotifyEvent OnMenuMeasurementHide;
  TNotifyEvent OnMenuCalibrate;
  TNotifyEvent OnMenuEditText;
  TNotifyEvent OnMenuMeasurementErase;
  TNotifyEvent OnMenuMeasurementEraseAll;
  TNotifyEvent OnMenuMagnifier;
  TNotifyEvent OnMenuMprProjection;
  TNotifyEvent OnMenuMpr;
  TNotifyEvent OnMenuToolMode;
  TNotifyEvent OnMenuMarks;
  TNotifyEvent OnMenuPrintScreen;
  TNotifyEvent OnMenuShowComposer;
  TNotifyEvent OnMenuAddImage;
  TNotifyEvent OnMenuAddPage;
  TNotifyEvent OnMenuAddRange;
  TNotifyEvent OnMenuAddStack;
  TNotifyEvent OnMenuMarkFirstImageOfRange;
  TNotifyEvent OnMenuSecondaryMprSeries;
  TNotifyEvent OnMenuRotateFlip;
  TNotifyEvent OnMenuLocks;
  TNotifyEvent OnMenuPresentationState;
  TNotifyEvent OnMenuPresentationStateOriginal;
  TNotifyEvent OnMenuVoiUserPreset;
  TNotifyEvent OnMenuVoiDefaultPreset;
  TNotifyEvent OnMenuVoiFullRange;
  TNotifyEvent OnMenuMprThickness;
  TNotifyEvent OnMenuMprSlabPointing;
  TNotifyEvent OnMenuMprPosition;
  TNotifyEvent OnMenuMatrix;
  TNotifyEvent OnMenuAddKeyImage;
  TNotifyEvent OnMenuRemoveKeyImage;
  TNotifyEvent OnMenuSetLossless;
  TNotifyEvent OnMenuLossyAll;
  TNotifyEvent OnMenuLossyStudy;
  TNotifyEvent OnMenuLossyStack;
  TBoolEvent OnMenuOppositePan;
  TAdvancedMenuDrawItemEvent OnMenuDrawItem;
  TMenuMeasureItemEvent OnMenuMeasureItem;
  TStatisticsEvent OnMenuStatistics;

  // The frame-state flags as last stored.
  bool MprOn() const { return mprOn_; }
  bool MprAvailable() const { return mprAvailable_; }
  bool NavigatorAvailable() const { return navigatorAvailable_; }
  bool MatrixOn() const { return matrixOn_; }
  bool SessionMode() const { return sessionMode_; }
  bool KeyImageTile() const { return keyImageTile_; }
  bool KeyImagesEnabled() const { return keyImagesEnabled_; }

 private:
  // Click handlers of the fixed items.
  void LinkItemClick(TObject* sender);
  void ZoomItemClick(TObject* sender);
  void OppositePanClick(TObject* sender);
  void MagnifierItemClick(TObject* sender);
  void MeasurementTypeClick(TObject* sender);
  void MeasurementHideClick(TObject* sender);
  void MeasurementEraseAllClick(TObject* sender);
  void StatisticsItemClick(TObject* sender);
  void StatisticsSetAllClick(TObject* sender);
  void StatisticsClearClick(TObject* sender);
  void MprPlaneToolClick(TObject* sender, const TNotifyEvent& event);
  void MprProjectionClick(TObject* sender);
  void MprModeClick(TObject* sender);
  void MarksItemClick(TObject* sender);
  void SetLosslessClick(TObject* sender);
  void LossyClick(TObject* sender, const TNotifyEvent& event);
  // Click handlers of the run-time items.
  void OnUserVOIPresetClick(TObject* sender);
  void OnFullRangeVOIPresetClick(TObject* sender);
  void OnDefaultVOIPresetClick(TObject* sender);
  void OnPaletteColorPresetClick(TObject* sender);
  void OnPresentationStateOriginalClick(TObject* sender);
  void OnPresentationStateClick(TObject* sender);

  void RaiseStatistics();
  TNotifyEvent Raise(const TNotifyEvent& event);
  void SetChecked(const wchar_t* name, bool on);
  void SetEnabled(const wchar_t* name, bool on);
  // Inserts the named fixed item (or the given item) at a top-level position.
  void InsertAt(int position, const wchar_t* name);
  void InsertAt(int position, TItem* item);
  void Append(TItem* parent, const wchar_t* name);
  // A new run-time item owned by the popup component.
  TItem* NewRunTimeItem(const std::wstring& name, const std::wstring& caption);
  void FreeItems(std::vector<TItem*>& items);
  void FreeFixedVOIPresetItems();
  int TopLevelIndex(const TItem* item) const;

  SMagnifierOptions magnifier_;
  SLinkOptions link_;
  TTntPopupMenu* popup_;
  int32_t intValue_ = 0;
  std::map<std::wstring, TItem*> items_;
  std::vector<TItem*> dividers_;
  std::vector<TItem*> voiFixedItems_;
  std::vector<TItem*> voiUserItems_;
  std::vector<TItem*> paletteItems_;
  std::vector<TItem*> psItems_;
  std::vector<TItem*> textItems_;
  std::wstring lutNames_[3] = {L"Linear", L"Lookup Table", L"Sigmoid"};
  bool mprOn_ = false;
  bool mprAvailable_ = false;
  bool navigatorAvailable_ = false;
  bool matrixOn_ = false;
  bool sessionMode_ = false;
  bool keyImageTile_ = false;
  bool keyImagesEnabled_ = false;
};

using TsgStackPopup = TsgStackPopupWrapper<TTntPopupMenu, TTntMenuItem>;

// Radio groups of the magnifier block: each choice is a group of its own, so that no other
// radio item of the menu's top level (the zoom percentages) clears its marks.
inline constexpr uint8_t kMagnifierZoomGroup = 1;
inline constexpr uint8_t kMagnifierShapeGroup = 2;
inline constexpr uint8_t kMagnifierOptimizedGroup = 3;
inline constexpr uint8_t kMagnifierSizeGroup = 4;
