#include "app/mainwindow/MainWindowTexts.h"

#include "app/startup/TResourceInitialization.h"
#include "app/support/PropertiesPage.h"

namespace vistrel_main {

void TMainWindowTexts::Load(app::iRESOURCE_INITIALIZATION* resources) {
  if (!resources) return;
  const std::wstring page = resources->GetText(L"GUI_STRINGS");
  app::TsgPropertiesPage strings;
  if (page.empty() || !strings.Init(page, -1)) return;
  ForEach([&](const wchar_t* key, std::wstring& text) {
    if (strings.SeekChild(key)) text = strings.GetChildAttribute<std::wstring>(L"value", text, -1);
  });
}

}  // namespace vistrel_main
