// The menu's configuration: item pictures and captions from the GUI pages of the English
// language module, magnifier and link options from [GUI_DEFAULTS].
#include "app/startup/TResourceInitialization.h"
#include "platform/com/Library.h"
#include "platform/process/Process.h"
#include "platform/resources/ResourceModule.h"
#include "viewer/contextmenu/tests/MenuFixture.h"

using namespace menu_test;

namespace {

// A start-up record loaded from "<prefix>.ini" beside the test program.
class Record {
 public:
  explicit Record(const std::string& ini)
      : prefix_("menu_config_" + std::to_string(platform::CurrentProcessId())),
        file_(platform::ProgramFolder() + prefix_ + ".ini", ini) {
    record_.Load(-1, prefix_);
  }
  app::TResourceInitialization& Get() { return record_; }

 private:
  std::string prefix_;
  ScratchFile file_;
  app::TResourceInitialization record_;
};

const std::string kEnglish = "[GUI]\nTextDLL=Lingopack_English.dll\nImagesDLL=Lingopack_English.dll\nLanguageSelection=0\n";

}  // namespace

TEST_F(MenuTest, EnglishPagesGiveEveryItemItsPictureAndCaption) {
  Record record(kEnglish);
  menu_->Configure(record.Get());
  for (const auto& [name, item] : menu_->ItemMap()) {
    if (item->IsLine()) continue;
    EXPECT_TRUE(item->HasBitmap() && !item->Bitmap()->Empty()) << item->Name();
    EXPECT_EQ(item->ImageIndex, -1) << item->Name();
  }
  EXPECT_EQ(Item(L"imTools")->Caption(), L"&Tools");
  EXPECT_EQ(Item(L"imZoom50")->Caption(), L"50%");
  TBitmap* picture = Item(L"imZoomMode")->Bitmap();
  EXPECT_EQ(picture->Width(), 16);
  EXPECT_EQ(picture->Height(), 16);
  EXPECT_TRUE(picture->Transparent);
  EXPECT_EQ(picture->TransparentColor(), 0xFF00FFu);  // the bottom-left pixel: magenta

  // A second window takes the cached pictures.
  TTntPopupMenu popup(nullptr);
  TsgStackPopup second(&popup);
  second.Configure(record.Get());
  EXPECT_TRUE(second.ItemByName(L"imRotateLeft")->HasBitmap());
}

TEST_F(MenuTest, WithoutTheStackFramePageNothingIsDressed) {
  Record record("[GUI]\nLanguageSelection=0\n");
  menu_->Configure(record.Get());
  EXPECT_FALSE(Item(L"imZoomMode")->HasBitmap());
  EXPECT_EQ(Item(L"imTools")->Caption(), L"Tools");
}

TEST_F(MenuTest, CaptionSectionsChangeOnlyTheNamedItems) {
  menu_->ApplyItemCaptions(
      L"<workarea_popup><imZoomMode value=\"Loupe &amp;&amp; zoom\"/><imPanMode/><imPSItem1 value=\"x\"/>"
      L"<imzoommode value=\"wrong case\"/></workarea_popup>");
  EXPECT_EQ(Item(L"imZoomMode")->Caption(), L"Loupe && zoom");
  EXPECT_EQ(Item(L"imPanMode")->Caption(), L"Pan");
  menu_->ApplyItemCaptions(L"");
  menu_->ApplyItemCaptions(L"<broken");
  EXPECT_EQ(Item(L"imZoomMode")->Caption(), L"Loupe && zoom");
}

TEST_F(MenuTest, BitmapSectionsUseTheirSizeAndTheModulesResources) {
  const std::string path = platform::ProgramFolder() + "Lingopack_English.dll";
  platform::ResourceModuleHandle english = platform::LoadResourceModule(path);
  platform::ResourceModuleHandle again = platform::LoadResourceModule(path);
  ASSERT_NE(english, nullptr);
  // Without a size the pictures are 16 x 16; a name the module lacks gives no picture.
  menu_->LoadItemBitmaps(english, L"<popupBitmaps><imPanMode bitmap=\"MENU_PAN\"/><imVOIMode bitmap=\"NO_SUCH\"/>"
                                  L"<imInverse bitmap=\"\"/></popupBitmaps>");
  EXPECT_EQ(Item(L"imPanMode")->Bitmap()->Width(), 16);
  EXPECT_FALSE(Item(L"imVOIMode")->HasBitmap());
  EXPECT_FALSE(Item(L"imInverse")->HasBitmap());
  // The same name in another module is another entry of the cache, loaded at its own size.
  if (again != english) {
    menu_->LoadItemBitmaps(again, L"<popupBitmaps bitmap_width=\"24\" bitmap_height=\"24\">"
                                  L"<imMatrix bitmap=\"MENU_MATRIX\"/></popupBitmaps>");
    EXPECT_TRUE(Item(L"imMatrix")->HasBitmap());
  }
  platform::FreeResourceModule(again);
  platform::FreeResourceModule(english);
}

TEST_F(MenuTest, GuiDefaultsSetTheMagnifierAndLinkOptions) {
  const struct {
    const char* name;
    std::string defaults;
    int32_t size, shape;
    double zoom;
    bool optimized;
    bool linkZoom, linkPan;
    int32_t automated;
  } cases[] = {
      {"no keys", "", 256, 1, 200.0, true, false, false, 0},
      {"zoom no number", "MagnifierZoom=abc\n", 256, 1, 200.0, true, false, false, 0},
      {"values", "MagnifierZoom=150\nMagnifierSize=300\nMagnifierOptimized=maybe\nLinkZoom=1\nLinkPan=  yes  \n"
                 "LinkAutomated=True\n", 300, 1, 150.0, false, true, true, 1},
      {"rectangle", "MagnifierShape=rectangle\nLinkPan=no\n", 256, 0, 200.0, true, false, false, 0},
      {"rect", "MagnifierShape=Rect\n", 256, 0, 200.0, true, false, false, 0},
      {"circle", "MagnifierShape=Circle\n", 256, 1, 200.0, true, false, false, 0},
      {"empty shape", "MagnifierShape=\nLinkPan=\n", 256, 1, 200.0, true, false, false, 0},
  };
  for (const auto& c : cases) {
    TTntPopupMenu popup(nullptr);
    TsgStackPopup menu(&popup);
    Record record("[GUI_DEFAULTS]\n" + c.defaults);
    menu.Configure(record.Get());
    const SMagnifierOptions& lens = menu.GetMagnifierOptions();
    EXPECT_EQ(lens.GetSize(), c.size) << c.name;
    EXPECT_EQ(lens.GetShape(), c.shape) << c.name;
    EXPECT_EQ(lens.GetZoom(), c.zoom) << c.name;
    EXPECT_EQ(lens.IsOptimized(), c.optimized) << c.name;
    const SLinkOptions& link = menu.GetLinkOptions();
    EXPECT_EQ(link.LinkByZoom(), c.linkZoom) << c.name;
    EXPECT_EQ(link.LinkByPan(), c.linkPan) << c.name;
    EXPECT_FALSE(link.LinkByVoi()) << c.name;
    EXPECT_EQ(link.Automated(), c.automated) << c.name;
    EXPECT_TRUE(link.LinkByNavigation()) << c.name;  // not a setting
  }
}
