// The start-up record, colours and fonts as far as the About window and the loading bar read
// them: pages and texts from tables or from a resource module, colours from a table.
#pragma once

#include <map>
#include <string>

#include "app/startup/ColorsAndFonts.h"
#include "app/startup/TResourceInitialization.h"
#include "app/support/PropertiesBag.h"
#include "platform/resources/ResourceModule.h"

namespace app::test {

class FakeStartup : public iRESOURCE_INITIALIZATION {
 public:
  void LoadHints() override {}
  void LoadCursors() override {}
  // A table entry first, else the module's resource of that name.
  std::wstring GetText(const std::wstring& name) override { return Find(pages, name, L"XML"); }
  std::wstring GetText2(const std::wstring& name) override { return Find(texts, name, L"ORN_TEXT"); }
  HMODULE GetTextModule() override { return module; }
  HMODULE GetImagesModule() override { return module; }
  HMODULE GetModule(const std::wstring&) override { return module; }
  TsgFonts<TFont>* GetFonts() override { return nullptr; }
  TsgColors* GetColors() override { return nullptr; }
  TsgVersionInfoSet<std::wstring>* GetVersionInfoSet() override { return nullptr; }
  bool GetDesktopRect(TRect*) override { return false; }
  void GetCalibrationFactors(TCalibrationFactors& factors) override { factors.clear(); }
  std::wstring GetDefaultCalibrationUnit() override { return L""; }
  System::AnsiString GetLanguageDll() override { return ""; }

  std::map<std::wstring, std::wstring> pages, texts;
  HMODULE module = nullptr;

 private:
  std::wstring Find(const std::map<std::wstring, std::wstring>& table, const std::wstring& name, const wchar_t* type) {
    auto it = table.find(name);
    if (it != table.end()) return it->second;
    if (!module) return L"";
    platform::ResourceHandle resource = platform::FindResource(module, name, type);
    if (!resource) return L"";
    return DecodeResourceText(platform::LoadResource(module, resource), platform::SizeofResource(module, resource));
  }
};

class FakeColors : public TvsColors {
 public:
  FakeColors() : TvsColors(nullptr) {}
  TColor GetColor(const std::wstring& name, TColor fallback) const override {
    auto it = colors.find(name);
    return it == colors.end() ? fallback : it->second;
  }
  std::map<std::wstring, TColor> colors;
};

}  // namespace app::test
