#include "viewer/stackwindow/ToolBarPictures.h"

#include <stdexcept>
#include <typeinfo>

#include "app/support/PropertiesPage.h"
#include "platform/vcl/SysUtils.h"

namespace {

std::string Trimmed(const std::string& name) {
  size_t b = 0, e = name.size();
  while (b < e && static_cast<unsigned char>(name[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(name[e - 1]) <= ' ') --e;
  return name.substr(b, e - b);
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out.push_back(c < 0x80 ? char(c) : '?');
  return out;
}

// A transparent 24-bit bitmap of the list's size holding the list's picture at `index`.
std::unique_ptr<TBitmap> CopyOf(TImageList& list, int index) {
  auto picture = std::make_unique<TBitmap>();
  picture->SetPixelFormat(pf24bit);
  picture->Transparent = true;
  picture->TransparentMode = tmAuto;
  picture->SetSize(list.Width, list.Height);
  TBitmap source;
  if (list.GetBitmap(index, &source)) {
    picture->Canvas()->Draw(0, 0, source);
  }
  return picture;
}

}  // namespace

TImageList& GetSharedImageList(const std::string& name) {
  static auto* registry = new std::map<std::string, std::unique_ptr<TImageList>>();
  auto& entry = (*registry)[Trimmed(name)];
  if (!entry) entry = std::make_unique<TImageList>(nullptr);
  return *entry;
}

bool& ToolBarPicturesLoaded() {
  static bool loaded = false;
  return loaded;
}

const ToolButtonPictures* PicturesOf(const TToolButton* button) {
  return button && button->Tag != 0 ? reinterpret_cast<const ToolButtonPictures*>(button->Tag) : nullptr;
}

bool IsToolButtonClass(const TObject* object) { return object && typeid(*object) == typeid(TToolButton); }

std::unique_ptr<TBitmap> LoadToolBitmap(platform::ResourceModuleHandle module, const std::string& name, int width,
                                        int height) {
  auto picture = std::make_unique<TBitmap>();
  picture->SetPixelFormat(pf24bit);
  picture->Transparent = true;
  picture->TransparentMode = tmAuto;
  if (!picture->LoadFromResourceName(module, System::WideString(name.begin(), name.end()))) {
    throw std::runtime_error("Resource " + name + " not found");
  }
  picture->SetPixelFormat(pf24bit);
  const TColor transparent = picture->Canvas()->Pixel(0, picture->Height() - 1);
  picture->SetSize(width, height);
  picture->SetTransparentColor(transparent);
  return picture;
}

void ShowButtonPicture(TToolButton* button, TImageList& target, TImageList& store, bool pressed) {
  const ToolButtonPictures* record = PicturesOf(button);
  if (!record || record->Pressed < 0) return;
  const int index = pressed ? record->Pressed : record->Normal;
  auto picture = CopyOf(store, index);
  const int at = button->ImageIndex();
  if (at < 0 || at >= target.Count()) return;
  // Replace the picture at the button's index: rebuild the list with the new one in place.
  std::vector<std::unique_ptr<TBitmap>> kept;
  for (int i = 0; i < target.Count(); ++i) kept.push_back(i == at ? std::move(picture) : CopyOf(target, i));
  target.Clear();
  for (auto& p : kept) target.AddMasked(p.get(), p->TransparentColor());
  button->UpdateLook();
}

ToolButtonPictures* TStackWindowPictures::RecordOf(TToolButton* button) {
  if (button->Tag == 0) {
    records_.push_back(std::make_unique<ToolButtonPictures>());
    button->Tag = reinterpret_cast<intptr_t>(records_.back().get());
  }
  return reinterpret_cast<ToolButtonPictures*>(button->Tag);
}

void TStackWindowPictures::LoadToolBarPictures(const std::map<std::string, TImageList*>& frameLists,
                                               platform::ResourceModuleHandle module, const std::wstring& section,
                                               TToolBar* bar, int defaultWidth, int defaultHeight) {
  if (section.empty() || !bar) return;
  app::TsgPropertiesPage page;
  if (!page.Init(section, -1) || page.PopErrorFlag()) return;
  const int height = page.GetAttribute<int32_t>(L"button_height", defaultHeight, -1);
  const int width = page.GetAttribute<int32_t>(L"button_width", defaultWidth, -1);
  const std::string normalName = Narrow(page.GetAttribute<std::wstring>(L"normal_il", L"ilNormal16x16", -1));
  TImageList& store = GetSharedImageList(Narrow(page.GetAttribute<std::wstring>(L"store_il", L"ilStore16x16", -1)));
  TImageList& hot = GetSharedImageList(Narrow(page.GetAttribute<std::wstring>(L"hot_il", L"ilHot16x16", -1)));
  TImageList& disabled =
      GetSharedImageList(Narrow(page.GetAttribute<std::wstring>(L"disabled_il", L"ilDisabled16x16", -1)));
  const auto found = frameLists.find(Trimmed(normalName));
  if (found == frameLists.end() || !found->second) return;
  TImageList& normal = *found->second;
  for (TImageList* list : {&normal, &store, &hot, &disabled}) {
    list->Height = height - 8;
    list->Width = width - 8;
  }
  bar->ButtonWidth = width;
  bar->ButtonHeight = height;

  const bool copying = ToolBarPicturesLoaded();
  for (int i = 0; i < bar->ControlCount(); ++i) {
    if (!IsToolButtonClass(bar->Controls(i))) continue;
    auto* button = static_cast<TToolButton*>(bar->Controls(i));
    ToolButtonPictures* record = RecordOf(button);
    const std::wstring name(button->Name().begin(), button->Name().end());
    if (!page.SeekChild(name)) continue;
    const std::string image = Narrow(page.GetChildAttribute<std::wstring>(L"image", L"", -1));
    const std::string pressed = Narrow(page.GetChildAttribute<std::wstring>(L"pressed", L"", -1));
    const std::string hotName = Narrow(page.GetChildAttribute<std::wstring>(L"hot", L"", -1));
    const std::string disabledName = Narrow(page.GetChildAttribute<std::wstring>(L"disabled", L"", -1));
    if (!image.empty()) {
      std::unique_ptr<TBitmap> picture;
      int32_t storeIndex;
      if (!copying) {
        picture = LoadToolBitmap(module, image, normal.Width, normal.Height);
        storeIndex = store.AddMasked(picture.get(), picture->TransparentColor());
      } else {
        storeIndex = NextCopy(&store);
        picture = CopyOf(store, storeIndex);
      }
      button->SetImageIndex(normal.AddMasked(picture.get(), picture->TransparentColor()));
      record->Normal = storeIndex;
      record->Pressed = -1;
    }
    if (!pressed.empty()) {
      if (!copying) {
        auto picture = LoadToolBitmap(module, pressed, store.Width, store.Height);
        record->Pressed = store.AddMasked(picture.get(), picture->TransparentColor());
      } else {
        record->Pressed = NextCopy(&store);
      }
      ShowButtonPicture(button, normal, store, button->Down());
    }
    if (!hotName.empty()) {
      if (!copying) {
        auto picture = LoadToolBitmap(module, hotName, hot.Width, hot.Height);
        record->Hot = hot.AddMasked(picture.get(), picture->TransparentColor());
      } else {
        record->Hot = NextCopy(&hot);
      }
    }
    if (!disabledName.empty()) {
      if (!copying) {
        auto picture = LoadToolBitmap(module, disabledName, disabled.Width, disabled.Height);
        record->Disabled = disabled.AddMasked(picture.get(), picture->TransparentColor());
      } else {
        record->Disabled = NextCopy(&disabled);
      }
    }
  }
  if (normal.Count() > 0) bar->Images = &normal;
  // The stand-in tool bar draws only its normal pictures; the hot and disabled lists are kept
  // for the records (and a tool bar that shows them).
}
