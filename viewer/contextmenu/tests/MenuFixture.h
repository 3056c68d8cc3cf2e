// A stack context menu over a real popup component, with helpers that read the menu's shape
// as names ("-" for a divider) and settings files beside the test program.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/startup/ProgramEntry.h"
#include "app/startup/ToolsIni.h"
#include "platform/vcl/Menus.h"
#include "viewer/contextmenu/MenuSettingsIni.h"
#include "viewer/contextmenu/TsgStackPopupWrapper.h"

namespace menu_test {

// Dividers of a layout read "-"; every other item, the fixed divider included, by its name.
inline std::string NameOf(const TTntMenuItem* item) {
  return item->IsLine() && item->Name().rfind("Divider", 0) == 0 ? "-" : item->Name();
}

inline std::vector<std::string> Names(const TTntMenuItem* parent) {
  std::vector<std::string> names;
  for (int i = 0; i < parent->Count(); ++i) names.push_back(NameOf(parent->Items(i)));
  return names;
}

// Writes a settings file and removes it again when the scope ends.
class ScratchFile {
 public:
  ScratchFile(std::string path, const std::string& text) : path_(std::move(path)) { std::ofstream(path_, std::ios::binary) << text; }
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    popup_ = std::make_unique<TTntPopupMenu>(nullptr);
    menu_ = std::make_unique<TsgStackPopup>(popup_.get());
    menu_->SetMatrixEnabled(false);  // a window without its matrix button, unless a test says
    app::SessionNumber() = -1;
  }
  void TearDown() override {
    menu_.reset();  // before the popup, whose items it names
    popup_.reset();
    app::SessionNumber() = -1;
  }
  TTntMenuItem* Item(const wchar_t* name) const {
    TTntMenuItem* item = menu_->ItemByName(name);
    EXPECT_NE(item, nullptr) << "no item";
    return item;
  }
  std::vector<std::string> Top() const { return Names(popup_->Items()); }
  std::vector<std::string> Sub(const wchar_t* name) const { return Names(Item(name)); }
  // The ordinary layout for a frame with only the given state (link shown and enabled).
  void LayOut(bool navigator = false, bool mprAvailable = false, bool mprOn = false, bool matrix = false) {
    menu_->SetFrameState(navigator, mprAvailable, mprOn, matrix, true, true, false, false, false);
  }

  std::unique_ptr<TTntPopupMenu> popup_;
  std::unique_ptr<TsgStackPopup> menu_;
};

}  // namespace menu_test
