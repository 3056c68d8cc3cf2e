// A start-up record for tests: colours, pages and settings from tables.
#pragma once

#include <map>
#include <string>

#include "app/widgets/WidgetResources.h"

namespace app::test {

class FakeResources : public iWIDGET_RESOURCES {
 public:
  TColor GetColor(const std::string& name, TColor fallback) override {
    auto it = colors.find(name);
    return it == colors.end() ? fallback : it->second;
  }
  std::wstring GetText(const std::wstring& page) override {
    auto it = pages.find(page);
    return it == pages.end() ? L"" : it->second;
  }
  platform::ResourceModuleHandle GetImagesModule() override { return images; }
  std::wstring GetStudyStatusSetting(const std::wstring& key, const std::wstring& fallback) override {
    auto it = studyStatus.find(key);
    return it == studyStatus.end() ? fallback : it->second;
  }

  std::map<std::string, TColor> colors;
  std::map<std::wstring, std::wstring> pages;
  std::map<std::wstring, std::wstring> studyStatus;
  platform::ResourceModuleHandle images = nullptr;
};

}  // namespace app::test
