// The GUI settings of a stack window: colours, message texts, statistics headers and
// tool-bar pictures from the property pages (read once per process, later frames copy them)
// and the [GUI_DEFAULTS] keys (read for every frame).
#include <cstring>
#include <optional>
#include <stdexcept>

#include "app/startup/ColorsAndFonts.h"
#include "app/startup/TResourceInitialization.h"
#include "app/support/PropertiesPage.h"
#include "viewer/stackwindow/TFrameStackWindow.h"

namespace {

// What the first frame read, kept for the process; each value has its own once-flag (the
// optional's presence).
struct ProcessSettings {
  std::optional<std::wstring> stackFramePage, stringsPage;
  std::optional<bool> promptAddKeyImage;
  std::optional<TColor> active, inactive;
  std::optional<TColor> chrono[4];
  std::optional<std::wstring> sections[5];
  std::optional<std::wstring> messages[6];
  std::optional<std::wstring> headers[4];
};

ProcessSettings& Stored() {
  static ProcessSettings settings;
  return settings;
}

template <class T, class F>
const T& Once(std::optional<T>& slot, F read) {
  if (!slot) slot = read();
  return *slot;
}

void CopyHeader(char16_t (&field)[20], const std::wstring& text) {
  std::memset(field, 0, sizeof(field));
  // A longer text is cut: the field keeps its terminating zero.
  for (size_t i = 0; i < text.size() && i < 19; ++i) field[i] = char16_t(text[i]);
}

}  // namespace

void TFrameStackWindow::ApplyGuiSettings(app::iRESOURCE_INITIALIZATION* record) {
  if (!record) return;
  ProcessSettings& s = Stored();
  Once(s.stackFramePage, [&] { return record->GetText(L"GUI_STACK_FRAME"); });
  Once(s.stringsPage, [&] { return record->GetText(L"GUI_STRINGS"); });
  FGuiRecord = record;
  FSettingsApplied = true;
  auto* full = dynamic_cast<app::TResourceInitialization*>(record);

  FPromptAddKeyImage = Once(s.promptAddKeyImage, [&] {
    return full ? full->GetGuiDefaultBool(L"PromptAddKeyImage", FPromptAddKeyImage) : FPromptAddKeyImage;
  });
  const app::TsgColors* colors = record->GetColors();
  auto colour = [&](const wchar_t* name, TColor fallback) { return colors ? colors->GetColor(name, fallback) : fallback; };
  FActiveColor = Once(s.active, [&] { return colour(L"cActive", 0xFFFFFF); });
  FInactiveColor = Once(s.inactive, [&] { return colour(L"cUnActive", 0); });
  const wchar_t* chronoNames[] = {L"cCOLatestStudy", L"cCONextToLastStudy", L"cCONextToNextToLastStudy",
                                  L"cCOEarlierStudies"};
  for (uint8_t i = 0; i < 4; ++i)
    FChronoColors[i] = Once(s.chrono[i], [&] { return colour(chronoNames[i], ChronologicalColor(i)); });
  lblVOIHint->SetAlign(alClient);
  lblVOIHint->Font.Color = colour(L"cVOIHintText", lblVOIHint->Font.Color);
  lblVOIHint->FontChanged();

  // Tool bars.
  app::TsgPropertiesPage page;
  if (!s.stackFramePage->empty() && page.Init(*s.stackFramePage, -1) && !page.PopErrorFlag()) {
    for (TImageList* list : {ilNormal16x16, ilStore16x16, ilHot16x16, ilDisabled16x16}) list->Clear();
    const wchar_t* names[] = {L"tbTools", L"tbSystem", L"tbNavigatorServices", L"tbNavigatorSistem",
                              L"tbHeaderTools"};
    for (int i = 0; i < 5; ++i)
      Once(s.sections[i], [&] { return page.GetSectionXML(names[i], -1); });
    const std::map<std::string, TImageList*> lists = {
        {"ilNormal16x16", ilNormal16x16}, {"ilNormal28x10", ilNormal28x10},
        {"ilHeaderToolsNormal", ilHeaderToolsNormal}, {"imlTools", imlTools},
        {"imlSystem", imlSystem}, {"imlNavigator", imlNavigator}};
    TToolBar* bars[] = {tbTools, tbSystem, tbNavigatorServices, tbNavigatorSistem, tbrHeaderTools};
    try {
      for (int i = 0; i < 5; ++i)
        FPictures.LoadToolBarPictures(lists, record->GetImagesModule(), *s.sections[i], bars[i], i == 4 ? 36 : 24,
                                      i == 4 ? 18 : 24);
    } catch (const std::runtime_error&) {
      // A bitmap the page names is missing from the images module: the pictures loaded so
      // far stay, the other buttons keep their built-in pictures.
    }
    pnlTools->SetHeight(tbTools->ButtonHeight + 4);
    pnlNavigator->SetHeight(tbNavigatorServices->ButtonHeight + 4);
    FitScrolledBars();
    ToolBarPicturesLoaded() = true;
  }

  // Texts.
  if (!s.stringsPage->empty() && page.Init(*s.stringsPage, -1) && !page.PopErrorFlag()) {
    const wchar_t* messageNames[] = {L"msgConfirmCaption",     L"msgWarningCaption",  L"msgExportToKeyQuery",
                                     L"msgRemoveFromKeySeries", L"msgErrorRemoveImage", L"msgErrorPersistentImage"};
    // The message texts sit at 0, 1 and 3 to 6; "Error" (2) is not read from the page.
    const int slots[] = {0, 1, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i) {
      FMessages[slots[i]] = Once(s.messages[i], [&] {
        return page.SeekChild(messageNames[i])
                   ? page.GetChildAttribute<std::wstring>(L"value", FMessages[slots[i]], -1)
                   : FMessages[slots[i]];
      });
    }
    const wchar_t* headerNames[] = {L"suv_min_header", L"suv_max_header", L"suv_mean_header", L"suv_stddev_header"};
    const wchar_t* headerDefaults[] = {L"min", L"max", L"mean", L"std.dev."};
    char16_t(*fields[])[20] = {&FStatistics.MinimumHeader, &FStatistics.MaximumHeader, &FStatistics.MeanHeader,
                               &FStatistics.DeviationHeader};
    for (int i = 0; i < 4; ++i) {
      if (!page.SeekChild(headerNames[i])) continue;
      const std::wstring& text = Once(s.headers[i], [&] {
        return page.GetChildAttribute<std::wstring>(L"value", headerDefaults[i], -1);
      });
      CopyHeader(*fields[i], text);
    }
  }

  // [GUI_DEFAULTS], for every frame.
  if (full) {
    FZoomPercent = full->GetGuiDefaultInt(L"Zoom", -1);
    FPaletteDefaultIndex = full->GetGuiDefaultInt(L"PaletteColorIndex", FPaletteDefaultIndex);
    FPaletteName = full->GetGuiDefault(L"PaletteColorName", FPaletteName);
    FAutoCinemator = full->GetGuiDefaultBool(L"AutoCinemator", FAutoCinemator);
    FAutoExport = full->GetGuiDefaultBool(L"AutoExport", FAutoExport);
    FExportBmpFolder = full->GetGuiDefault(L"ExportBMPDirectory", FExportBmpFolder);
    FExportAviFolder = full->GetGuiDefault(L"ExportAVIDirectory", FExportAviFolder);
    FHintDelay = full->GetGuiDefaultInt(L"WindowLevelHintDelay", FHintDelay);
  } else {
    FZoomPercent = -1;
  }
  // The context menu's options and the calibration units belong to the context menu and its
  // dialogs, which are not built yet.
  SetBorderColor(FActive ? FActiveColor : FInactiveColor);
  RefreshChronologicalOrder();
}
