#include "viewer/contextmenu/TsgCalibration.h"

#include "app/startup/TResourceInitialization.h"
#include "app/support/PropertiesPage.h"
#include "platform/com/Library.h"
#include "platform/vcl/SysUtils.h"
#include "viewer/contextmenu/TfmCalibrationTool.h"

using C = TsgCalibrationTool;

double C::GetUnitFactor() const {
  auto it = units_.find(unit_);
  return it == units_.end() ? 0.0 : it->second;
}

void C::LoadUnits(app::iRESOURCE_INITIALIZATION& record) {
  const std::wstring text = record.GetText(L"GUI_MENU_ITEMS");
  if (text.empty()) return;
  app::TsgPropertiesPage page;
  if (!page.Init(text, -1) || page.IsEmpty()) return;
  captions_ = page.GetSectionXML(L"calibration_units", -1);
}

double C::Execute(int32_t x, int32_t y, double value) {
  auto form = std::make_unique<TfmCalibrationTool>(nullptr);
  form->SetFormVisible(false);
  app::TsgPropertiesPage page;
  const bool lookUp = !captions_.empty() && page.Init(captions_, -1) && !page.IsEmpty();
  TfrmCalibrationEditor* editor = form->GetEditor();
  for (const auto& [name, factor] : units_) {
    std::wstring caption = platform::Utf8ToWide(name);
    if (lookUp && page.SeekChild(caption)) caption = page.GetChildAttribute<std::wstring>(L"value", caption, -1);
    editor->AddUnitItem(caption, name == unit_, name);
  }
  form->SetFormTop(y);
  form->SetFormLeft(x);
  editor->SetValue(value);
  if (OnDialogShown) OnDialogShown(*form);
  form->ShowModal();
  const double result = editor->GetValue();
  unit_ = editor->GetUnitKey();
  cancelled_ = form->IsCancelled();
  return result;
}

CalibrationForEngine ConvertCalibration(double value, const System::AnsiString& unit) {
  if (LowerCase(unit) == "fr") return {value * 0.33, "mm"};
  return {value, unit};
}
