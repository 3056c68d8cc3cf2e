// The wrapper's configuration: item pictures and captions from the GUI pages, magnifier and
// link options from [GUI_DEFAULTS].
#include <map>

#include "app/startup/TResourceInitialization.h"
#include "app/support/PropertiesPage.h"
#include "platform/com/Library.h"
#include "platform/vcl/SysUtils.h"
#include "viewer/contextmenu/TsgStackPopupWrapper.h"

using W = TsgStackPopup;

namespace {

// Decoded item pictures of the whole process, by resource name and module, so that every
// stack window after the first only copies them. Entries are never removed.
std::map<std::string, std::unique_ptr<TBitmap>>& BitmapCache() {
  static auto* cache = new std::map<std::string, std::unique_ptr<TBitmap>>();
  return *cache;
}

}  // namespace

void W::LoadItemBitmaps(platform::ResourceModuleHandle module, std::wstring section) {
  if (section.empty()) return;
  app::TsgPropertiesPage page;
  if (!page.Init(section, -1) || page.IsEmpty() || items_.empty()) return;
  const int width = page.GetAttribute<int>(L"bitmap_width", 16, -1);
  const int height = page.GetAttribute<int>(L"bitmap_height", 16, -1);
  for (const auto& [name, item] : items_) {
    if (!page.SeekChild(name)) continue;
    const std::string resource = platform::WideToUtf8(page.GetChildAttribute<std::wstring>(L"bitmap", L"", -1));
    const std::string key = resource + std::to_string(reinterpret_cast<intptr_t>(module));
    std::unique_ptr<TBitmap>& entry = BitmapCache()[key];
    if (!entry && !resource.empty()) {
      auto bitmap = std::make_unique<TBitmap>();
      bitmap->SetPixelFormat(pf24bit);
      bitmap->Transparent = true;
      bitmap->SetSize(width, height);
      // A name the module lacks leaves the item without a picture and the entry empty.
      if (bitmap->LoadFromResourceName(module, platform::Utf8ToWide(resource)) && !bitmap->Empty()) {
        bitmap->SetTransparentColor(bitmap->Canvas()->Pixel(0, bitmap->Height() - 1));
        bitmap->Transparent = true;
        entry = std::move(bitmap);
      }
    }
    if (entry) {
      item->ImageIndex = -1;
      item->SetBitmap(entry.get());
    }
  }
}

void W::ApplyItemCaptions(std::wstring section) {
  if (section.empty()) return;
  app::TsgPropertiesPage page;
  if (!page.Init(section, -1) || page.IsEmpty() || items_.empty()) return;
  for (const auto& [name, item] : items_)
    if (page.SeekChild(name)) item->SetCaption(page.GetChildAttribute<std::wstring>(L"value", item->Caption(), -1));
}

void W::Configure(app::TResourceInitialization& record) {
  app::TsgPropertiesPage page;
  const std::wstring frame = record.GetText(L"GUI_STACK_FRAME");
  const platform::ResourceModuleHandle images = record.GetImagesModule();
  if (!frame.empty() && page.Init(frame, -1) && !page.IsEmpty()) {
    const std::wstring bitmaps = page.GetSectionXML(L"popupBitmaps", -1);
    const std::wstring menuItems = record.GetText(L"GUI_MENU_ITEMS");
    if (!bitmaps.empty()) LoadItemBitmaps(images, bitmaps);
    app::TsgPropertiesPage itemsPage;
    if (!menuItems.empty() && itemsPage.Init(menuItems, -1) && !itemsPage.IsEmpty()) {
      const std::wstring captions = itemsPage.GetSectionXML(L"workarea_popup", -1);
      if (!captions.empty()) ApplyItemCaptions(captions);
    }
  }

  magnifier_.Size = record.GetGuiDefaultInt(L"MagnifierSize", magnifier_.Size);
  const double zoom = magnifier_.Zoom;
  const int currentZoom = (zoom > -2147483648.0 && zoom < 2147483648.0) ? static_cast<int>(zoom) : 0;
  magnifier_.Zoom = record.GetGuiDefaultInt(L"MagnifierZoom", currentZoom);
  magnifier_.Optimized = record.GetGuiDefaultBool(L"MagnifierOptimized", magnifier_.Optimized);
  const std::string shape = record.GetGuiDefault(L"MagnifierShape", magnifier_.Shape != 0 ? "1" : "0");
  // A rectangle is any non-empty text found within the list (Rect, rectangle, 0, ...).
  magnifier_.Shape = (!shape.empty() && std::string("Rectangle_RECTANGLE_rectangle_0").find(shape) != std::string::npos) ? 0 : 1;

  link_.SetLinkByZoom(record.GetGuiDefaultBool(L"LinkZoom", false));
  link_.SetLinkByVoi(record.GetGuiDefaultBool(L"LinkVOI", false));
  link_.SetLinkByPan(record.GetGuiDefaultBool(L"LinkPan", false));
  link_.SetLinkBySpatialTransform(record.GetGuiDefaultBool(L"LinkSpatialTransform", false));
  link_.SetAutomated(record.GetGuiDefaultBool(L"LinkAutomated", false) ? 1 : 0);
}
