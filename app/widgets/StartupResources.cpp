#include "app/widgets/StartupResources.h"

#include "app/startup/ColorsAndFonts.h"

namespace app {

TColor TStartupResources::GetColor(const std::string& name, TColor fallback) {
  TsgColors* colors = record_ ? record_->GetColors() : nullptr;
  return colors ? colors->GetColor(std::wstring(name.begin(), name.end()), fallback) : fallback;
}

std::wstring TStartupResources::GetText(const std::wstring& page) { return record_ ? record_->GetText(page) : L""; }

platform::ResourceModuleHandle TStartupResources::GetImagesModule() {
  return record_ ? record_->GetImagesModule() : nullptr;
}

std::wstring TStartupResources::GetStudyStatusSetting(const std::wstring& key, const std::wstring& fallback) {
  return record_ ? record_->GetStudyStatusSetting(key, fallback) : fallback;
}

}  // namespace app
