// The items made at run time (window/level presets, palette presets, presentation states,
// predefined texts) and the check marks that follow the stack window's values.
#include <cmath>

#include "app/support/PropertiesPage.h"
#include "platform/files/FileAttributes.h"
#include "platform/com/Library.h"
#include "platform/text/CodePageConversion.h"
#include "viewer/contextmenu/PaletteColorPresets.h"
#include "viewer/contextmenu/TsgStackPopupWrapper.h"

using W = TsgStackPopup;

namespace {

const wchar_t* const kMeasurementItemOfCode[] = {
    L"imMeasurementDistance",  L"imMeasurementEllipse", L"imMeasurementRectangle", L"imMeasurementAngle",
    L"imMeasurementAngleBtLines", nullptr,            L"imMeasurementDensity",   L"imMeasurementCallout",
    L"imMeasurementText",      L"imMeasurementArrow",   L"imMeasurementPolygon"};

}  // namespace

W::TItem* W::NewRunTimeItem(const std::wstring& name, const std::wstring& caption) {
  auto* item = new TItem(popup_);
  item->SetName(std::string(name.begin(), name.end()));
  item->SetCaption(caption);
  return item;
}

void W::FreeItems(std::vector<TItem*>& items) {
  for (TItem* item : items) delete item;  // leaves its menu and the popup's components
  items.clear();
}

void W::FreeFixedVOIPresetItems() {
  for (TItem* item : voiFixedItems_) {
    delete PresetOf(item);
    delete item;
  }
  voiFixedItems_.clear();
}

// ---- window/level presets ----

void W::SetUserVOIPresets(const platform::CopyDataStruct* record) {
  if (!record || !record->lpData || record->cbData < 2) return;
  const size_t count = record->cbData / 2;
  const auto* bytes = static_cast<const uint8_t*>(record->lpData);
  std::wstring text;
  text.reserve(count);
  for (size_t i = 0; i < count; ++i) text += static_cast<wchar_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  FreeItems(voiUserItems_);
  int tag = 0, unnamed = 0;
  size_t start = 0;
  for (size_t end = text.find(L'\n'); end != std::wstring::npos; start = end + 1, end = text.find(L'\n', start)) {
    const std::wstring line = text.substr(start, end - start);
    const wchar_t code = line.empty() ? 0 : line[0];
    std::wstring name = line.empty() ? std::wstring() : line.substr(1);
    if (name.empty()) name = L"Unknown_" + std::to_wstring(++unnamed);
    if (code >= L'0' && code <= L'2') name += L" (" + lutNames_[code - L'0'] + L")";
    TItem* item = NewRunTimeItem(L"imVOIUserPreset" + std::to_wstring(tag), name);
    item->Tag = tag++;
    item->OnClick = [this](TObject* sender) { OnUserVOIPresetClick(sender); };
    voiUserItems_.push_back(item);
  }
}

void W::SetFixedVOIPresets(const VOI_FORM_PRESETS* presets, int count) {
  if (!presets || count < 1) return;
  FreeFixedVOIPresetItems();
  for (int i = 0; i < count; ++i) {
    const VOI_FORM_PRESETS& preset = presets[i];
    const std::wstring caption = platform::Utf8ToWide(preset.Name);
    TItem* item = NewRunTimeItem(i == 0 ? L"imVOIFullRangePreset" : L"imVOIDefaultPreset" + std::to_wstring(i), caption);
    item->Tag = reinterpret_cast<intptr_t>(new VOI_FORM_PRESETS(preset));
    if (i == 0) {
      item->OnClick = [this](TObject* sender) { OnFullRangeVOIPresetClick(sender); };
      item->SetChecked(true);
    } else {
      item->OnClick = [this](TObject* sender) { OnDefaultVOIPresetClick(sender); };
    }
    voiFixedItems_.push_back(item);
  }
}

void W::CheckVOIPreset(bool user, int32_t index, bool click) {
  if (user) {
    for (TItem* item : voiUserItems_) item->SetChecked(item->Tag == index);
    if (!voiFixedItems_.empty()) voiFixedItems_[0]->SetChecked(false);
    return;
  }
  for (TItem* item : voiUserItems_) item->SetChecked(false);
  if (static_cast<uint32_t>(index) >= voiFixedItems_.size()) return;
  voiFixedItems_[0]->SetChecked(true);
  TItem* chosen = voiFixedItems_[static_cast<size_t>(index)];
  chosen->SetChecked(true);
  if (click) chosen->Click();
}

void W::OnUserVOIPresetClick(TObject* sender) {
  if (!voiFixedItems_.empty()) voiFixedItems_[0]->SetChecked(false);
  for (TItem* item : voiUserItems_) item->SetChecked(false);
  static_cast<TItem*>(sender)->SetChecked(true);
  if (OnMenuVoiUserPreset) OnMenuVoiUserPreset(sender);
}

void W::OnFullRangeVOIPresetClick(TObject* sender) {
  if (!OnMenuVoiFullRange) return;
  for (TItem* item : voiUserItems_) item->SetChecked(false);
  if (!voiFixedItems_.empty()) voiFixedItems_[0]->SetChecked(true);
  OnMenuVoiFullRange(sender);
}

void W::OnDefaultVOIPresetClick(TObject* sender) {
  for (TItem* item : voiUserItems_) item->SetChecked(false);
  if (!voiFixedItems_.empty()) voiFixedItems_[0]->Click();
  if (OnMenuVoiDefaultPreset) OnMenuVoiDefaultPreset(sender);
}

void W::RefreshUserVOIPresetItems() {
  if (!popup_ || voiUserItems_.empty()) return;
  TItem* root = popup_->Items();
  TItem* divider = ItemByName(L"imVOIDivider1");
  int position = root->IndexOf(divider);
  if (position >= 0) {
    // The block put in earlier while the menu stayed open: its divider and the user items
    // that are still there (the new list may be longer or shorter than the old one).
    root->Delete(position);
    while (position < root->Count() && root->Items(position)->Name().rfind("imVOIUserPreset", 0) == 0)
      root->Delete(position);
  } else {
    TItem* anchor = voiFixedItems_.empty() ? ItemByName(L"imTools") : voiFixedItems_.back();
    const int index = root->IndexOf(anchor);
    position = index < 0 ? 0 : index + 1;
  }
  InsertUserVOIPresetItems(position);
}

void W::SetFixedVOIPresetChecks(double width, double centre) {
  if (voiFixedItems_.size() < 2) return;
  const bool fixed = voiFixedItems_[0]->Checked();
  for (size_t i = 1; i < voiFixedItems_.size(); ++i) {
    const VOI_FORM_PRESETS* preset = PresetOf(voiFixedItems_[i]);
    voiFixedItems_[i]->SetChecked(preset && fixed && static_cast<double>(preset->WindowWidth) == width &&
                                  static_cast<double>(preset->WindowCenter) == centre);
  }
}

// ---- palette presets ----

void W::SetPaletteColorPresets(const ORN_gui::iPALETTE_COLOR_PRESET_SET& set) {
  FreeItems(paletteItems_);
  for (uint32_t i = 0; i < set.GetCount(); ++i) {
    TItem* item = NewRunTimeItem(L"imPaletteColorPreset" + std::to_wstring(i + 1), L"");
    item->Tag = i;
    item->Hint = platform::Utf8ToWide(set.GetAt(i).GetName());
    item->OnAdvancedDrawItem = [this](TObject* sender, TCanvas* canvas, const TRect& rect, TOwnerDrawState state) {
      if (OnMenuDrawItem) OnMenuDrawItem(sender, canvas, rect, state);
    };
    item->OnMeasureItem = [this](TObject* sender, TCanvas* canvas, int& width, int& height) {
      if (OnMenuMeasureItem) OnMenuMeasureItem(sender, canvas, width, height);
    };
    item->OnClick = [this](TObject* sender) { OnPaletteColorPresetClick(sender); };
    paletteItems_.push_back(item);
  }
}

void W::OnPaletteColorPresetClick(TObject* sender) {
  if (OnMenuPalettePreset) OnMenuPalettePreset(sender);
}

// ---- presentation states ----

bool W::FillPresentationStates(const char* data, uint32_t length) {
  if (!data || length == 0) return false;
  FreeItems(psItems_);
  TItem* original = NewRunTimeItem(L"imPSOriginal", L"Original");
  original->RadioItem = true;
  original->Tag = 0;
  original->OnClick = [this](TObject* sender) { OnPresentationStateOriginalClick(sender); };
  psItems_.push_back(original);

  // The names, each read only within the record; a last name without its separator ends
  // where the record ends.
  std::vector<std::string> names;
  for (uint32_t start = 0; start < length;) {
    uint32_t end = start;
    while (end < length && data[end] != '\n' && data[end] != '\0') ++end;
    names.emplace_back(data + start, end - start);
    start = end + 1;
  }
  // The engine's entry 0 is the state the original item stands for ("DEFAULT"). A list that
  // does not begin with it is taken as having it implied, so its first state does not share
  // the original's tag 0 and choosing it never shows the original.
  const int shift = (!names.empty() && names[0] == "DEFAULT") ? 0 : 1;
  int unnamed = 0, made = 0;
  for (size_t index = 0; index < names.size(); ++index) {
    std::string name = names[index];
    if (name.empty()) name = "unknown #" + std::to_string(++unnamed);
    if (name == "DEFAULT") continue;
    std::wstring caption;
    platform::MultiByteToWide(0, name, caption);  // the ANSI code page
    TItem* item = NewRunTimeItem(L"imPSItem" + std::to_wstring(++made), caption);
    item->RadioItem = true;
    item->Tag = static_cast<intptr_t>(index) + shift;
    item->OnClick = [this](TObject* sender) { OnPresentationStateClick(sender); };
    psItems_.push_back(item);
  }
  SetEnabled(L"imPSPresets", true);
  return true;
}

void W::OnPresentationStateOriginalClick(TObject* sender) {
  for (TItem* item : psItems_) item->SetChecked(false);
  psItems_.front()->SetChecked(true);
  if (OnMenuPresentationStateOriginal) OnMenuPresentationStateOriginal(sender);
}

void W::OnPresentationStateClick(TObject* sender) {
  for (TItem* item : psItems_) item->SetChecked(false);
  static_cast<TItem*>(sender)->SetChecked(true);
  if (OnMenuPresentationState) OnMenuPresentationState(sender);
}

int W::SelectPresentationStateItem(const wchar_t* name) {
  if (psItems_.empty()) return -1;
  if (!name || !*name) {
    psItems_.front()->SetChecked(true);
    return 0;
  }
  const std::wstring wanted(name);
  for (TItem* item : psItems_) {
    std::wstring caption;
    for (wchar_t c : item->Caption())
      if (c != L'&') caption += c;
    if (caption == wanted) {
      item->SetChecked(true);
      return static_cast<int>(item->Tag);
    }
  }
  return -1;
}

void W::CheckPresentationStateItem(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(psItems_.size())) return;
  for (TItem* item : psItems_) item->SetChecked(item->Tag == index);
}

int W::GetCheckedPresentationStateIndex() const {
  for (size_t i = 0; i < psItems_.size(); ++i)
    if (psItems_[i]->Checked()) return static_cast<int>(i);
  return -1;
}

// ---- predefined texts ----

void W::FillPredefinedTexts(const std::string& fileName) {
  if (fileName.empty()) return;
  const uint32_t attributes = platform::GetFileAttributes(fileName);
  if (attributes == platform::kInvalidFileAttributes || (attributes & platform::attr::Directory)) return;
  app::TsgPropertiesPage page;
  if (!page.InitFromFile(platform::Utf8ToWide(fileName), -1)) return;
  FreeItems(textItems_);
  int number = 0;
  for (bool more = page.FirstChild(); more; more = page.NextChild()) {
    const std::wstring value = page.GetChildAttribute<std::wstring>(L"value", L"text", -1);
    const std::wstring caption = page.GetChildAttribute<std::wstring>(L"caption", L"", -1);
    textItems_.push_back(NewRunTimeItem(L"imPredefinedText" + std::to_wstring(++number), caption.empty() ? value : caption));
  }
}

// ---- measurement, statistics and zoom marks ----

void W::SetMeasurementType(uint32_t code) {
  for (const wchar_t* name : kMeasurementItemOfCode)
    if (name) SetChecked(name, false);
  if (code < std::size(kMeasurementItemOfCode) && kMeasurementItemOfCode[code]) SetChecked(kMeasurementItemOfCode[code], true);
}

void W::ClearMeasurementType(bool eraseEnabled) {
  for (const wchar_t* name : kMeasurementItemOfCode)
    if (name) SetChecked(name, false);
  SetEnabled(L"imMeasurementErase", eraseEnabled);
}

void W::SetMeasurementsPresent(bool present) {
  TItem* hide = ItemByName(L"imMeasurementHide");
  if (!present) hide->SetChecked(false);
  hide->Enabled = present;
  SetEnabled(L"imMeasurementEraseAll", hide->Enabled && !hide->Checked());
}

void W::SetStatisticsItems(bool min, bool max, bool mean, bool stdDev) {
  SetChecked(L"imSUVStdDev", stdDev);
  SetChecked(L"imSUVMean", mean);
  SetChecked(L"imSUVMin", min);
  SetChecked(L"imSUVMax", max);
}

void W::SetZoomItems(double factor) {
  const std::pair<const wchar_t*, double> bands[] = {{L"imZoom50", 0.5}, {L"imZoom100", 1.0}, {L"imZoom150", 1.5},
                                                     {L"imZoom200", 2.0}, {L"imZoom300", 3.0}, {L"imZoom400", 4.0},
                                                     {L"imZoom500", 5.0}, {L"imZoom1000", 10.0}};
  for (const auto& [name, value] : bands) SetChecked(name, factor >= value - 0.005 && factor < value + 0.005);
}
