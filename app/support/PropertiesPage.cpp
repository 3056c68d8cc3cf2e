#include "app/support/PropertiesPage.h"

namespace app {

bool TsgPropertiesPage::Init(const std::wstring& text, int32_t codePage) {
  parser_.SetCallback(Callback(), CallbackContext());
  const int32_t resolved = ResolveCodePage(codePage);
  if (Check(!parser_.SetXML(text, resolved), L"Proppage->Init Proppage: XML SetXML returns error!", 0)) return false;
  if (!parser_.FirstElement()) return false;
  return parser_.Dive();
}

bool TsgPropertiesPage::InitFromFile(const std::wstring& path, int32_t codePage) {
  if (!parser_.LoadFromFile(path, ResolveCodePage(codePage))) return false;
  if (!parser_.FirstElement()) return false;
  return parser_.Dive();
}

std::wstring TsgPropertiesPage::GetSectionXML(const std::wstring& name, int32_t codePage) {
  if (!parser_.SeekChild(name)) return {};
  return parser_.ChildXML(ResolveCodePage(codePage));
}

}  // namespace app
