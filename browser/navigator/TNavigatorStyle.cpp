#include "browser/navigator/TNavigatorStyle.h"

#include "app/support/PropertiesPage.h"
#include "platform/text/CodePageConversion.h"

namespace ORN_browser {

void ReadGuiAttribute(const std::string& page, const wchar_t* child, const wchar_t* attribute, std::wstring& value,
                      bool& found) {
  found = false;
  if (page.empty()) return;
  std::wstring wide;
  if (!platform::MultiByteToWide(65001, page, wide)) return;
  app::TsgPropertiesPage properties;
  if (!properties.Init(wide, 0) || properties.IsEmpty()) return;
  if (!properties.SeekChild(child)) return;
  found = true;
  value = properties.GetChildAttribute<std::wstring>(attribute, L"", 0);
}

void ApplyGuiStrings(const std::string& page, std::initializer_list<TGuiText> texts) {
  for (const TGuiText& text : texts) {
    std::wstring value;
    bool found = false;
    ReadGuiAttribute(page, text.key, L"value", value, found);
    if (found) *text.target = value + text.suffix;
  }
}

}  // namespace ORN_browser
