// A start-up record whose pages are given by the test, in place of the resource modules.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "app/startup/ColorsAndFonts.h"
#include "app/startup/TResourceInitialization.h"

namespace app::test {

class PagesRecord : public TResourceInitialization {
 public:
  explicit PagesRecord(std::map<std::wstring, std::wstring> pages) : pages_(std::move(pages)) {
    colors_ = std::make_unique<TsgColors>(this);
  }
  std::wstring GetText(const std::wstring& name) override {
    auto found = pages_.find(name);
    return found != pages_.end() ? found->second : std::wstring();
  }
  TsgColors* GetColors() override { return colors_.get(); }

 private:
  std::map<std::wstring, std::wstring> pages_;
  std::unique_ptr<TsgColors> colors_;
};

inline std::wstring Page(const std::wstring& name, const std::wstring& body, const std::wstring& attributes = L"") {
  return L"<?xml version=\"1.0\"?><" + name + attributes + L">" + body + L"</" + name + L">";
}

}  // namespace app::test
