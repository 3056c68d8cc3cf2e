// The start-up record as the shared controls read it.
#pragma once

#include "app/startup/TResourceInitialization.h"
#include "app/widgets/WidgetResources.h"

namespace app {

class TStartupResources : public iWIDGET_RESOURCES {
 public:
  // The record is not owned and must outlive this object.
  explicit TStartupResources(TResourceInitialization* record) : record_(record) {}
  TColor GetColor(const std::string& name, TColor fallback) override;
  std::wstring GetText(const std::wstring& page) override;
  platform::ResourceModuleHandle GetImagesModule() override;
  std::wstring GetStudyStatusSetting(const std::wstring& key, const std::wstring& fallback) override;

 private:
  TResourceInitialization* record_;
};

}  // namespace app
