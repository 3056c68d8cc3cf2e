#include "app/startup/ColorsAndFonts.h"

#include "app/startup/TResourceInitialization.h"
#include "app/support/PropertiesPage.h"
#include "platform/com/Library.h"
#include "platform/vcl/SysUtils.h"

namespace app {

namespace {

// Opens a page of the start-up record; false when it is missing, unreadable or empty.
bool OpenPage(TResourceInitialization* resources, const wchar_t* name, TsgPropertiesPage& page) {
  if (!resources) return false;
  const std::wstring text = resources->GetText(name);
  if (text.empty()) return false;
  if (!page.Init(text, -1)) return false;
  return !page.IsEmpty();
}

TColor RgbOf(TsgPropertiesPage& page, int red, int green, int blue) {
  red = page.GetChildAttribute<int32_t>(L"red", red, -1);
  green = page.GetChildAttribute<int32_t>(L"green", green, -1);
  blue = page.GetChildAttribute<int32_t>(L"blue", blue, -1);
  return static_cast<TColor>((red & 0xFF) + 256 * (green & 0xFF) + 65536 * (blue & 0xFF));
}

void ReadColors(TResourceInitialization* resources, std::map<std::wstring, TColor>& colors) {
  TsgPropertiesPage page;
  if (!OpenPage(resources, L"GUI_COLORS", page) || !page.FirstChild()) return;
  do {
    const std::wstring name = page.ChildName();
    const std::wstring value = page.GetChildAttribute<std::wstring>(L"value", L"", -1);
    TColor color;
    if (!value.empty()) {
      try {
        color = StringToColor(platform::WideToUtf8(value));
      } catch (...) {
        color = 0x808080;
      }
    } else {
      color = RgbOf(page, 128, 128, 128);
    }
    colors[name] = color;
  } while (page.NextChild());
}

}  // namespace

TsgColors::TsgColors(TResourceInitialization* resources) { ReadColors(resources, colors_); }

TColor TsgColors::GetColor(const std::wstring& name, TColor fallback) const {
  auto found = colors_.find(name);
  return found != colors_.end() ? found->second : fallback;
}

TvsColors::TvsColors(TResourceInitialization* resources) { ReadColors(resources, colors_); }

TColor TvsColors::GetColor(const std::wstring& name, TColor fallback) const {
  auto found = colors_.find(name);
  return found != colors_.end() ? found->second : fallback;
}

TsgFonts<TFont>::TsgFonts(TResourceInitialization* resources) {
  auto builtIn = std::make_unique<TFont>();
  builtIn->Name = "Arial";
  builtIn->Charset = DEFAULT_CHARSET;
  builtIn->Color = 0;
  builtIn->SetHeight(12);
  builtIn->Pitch = fpDefault;
  fonts_[L"fntDefault"] = std::move(builtIn);

  TsgPropertiesPage page;
  if (!OpenPage(resources, L"GUI_FONTS", page) || !page.FirstChild()) return;
  do {
    const std::wstring name = page.ChildName();
    if (name == L"gui_ratio") {
      ratio_ = page.GetChildAttribute<int32_t>(L"value", ratio_, -1);
      continue;
    }
    auto font = std::make_unique<TFont>();
    font->Name = platform::WideToUtf8(page.GetChildAttribute<std::wstring>(L"name", L"MS Sans Serif", -1));
    font->Color = 0;
    const std::wstring color = page.GetChildAttribute<std::wstring>(L"color", L"", -1);
    if (!color.empty()) {
      try {
        font->Color = StringToColor(platform::WideToUtf8(color));
      } catch (...) {
        font->Color = 0;
      }
    } else {
      const std::wstring resource = page.GetChildAttribute<std::wstring>(L"resource", L"", -1);
      if (!resource.empty()) {
        TsgColors* colors = resources->GetColors();
        font->Color = colors ? colors->GetColor(resource, font->Color) : font->Color;
      } else {
        font->Color = RgbOf(page, 0, 0, 0);
      }
    }
    font->SetHeight(page.GetChildAttribute<int32_t>(L"height", font->Height(), -1));
    const std::wstring pitch = page.GetChildAttribute<std::wstring>(L"pitch", L"", -1);
    font->Pitch = pitch == L"fixed" ? fpFixed : pitch == L"variable" ? fpVariable : fpDefault;
    TFontStyles style = 0;
    if (page.GetChildAttribute<bool>(L"underline", false, -1)) style |= fsUnderline;
    if (page.GetChildAttribute<bool>(L"strikeout", false, -1)) style |= fsStrikeOut;
    if (page.GetChildAttribute<bool>(L"bold", false, -1)) style |= fsBold;
    if (page.GetChildAttribute<bool>(L"italic", false, -1)) style |= fsItalic;
    font->Style = style;
    fonts_[name] = std::move(font);
  } while (page.NextChild());
}

bool TsgFonts<TFont>::CopyFont(const std::wstring& name, TFont* destination) const {
  auto found = fonts_.find(name);
  if (found == fonts_.end() || !destination) return false;
  const TFont& source = *found->second;
  destination->Name = source.Name;
  destination->Color = source.Color;
  destination->Size = source.Size;
  destination->Pitch = source.Pitch;
  destination->Style = source.Style;
  return true;
}

TFont* TsgFonts<TFont>::GetFont(const std::wstring& name) const {
  auto found = fonts_.find(name);
  return found != fonts_.end() ? found->second.get() : fonts_.at(L"fntDefault").get();
}

TvsFonts::TvsFonts(TResourceInitialization* resources) {
  TsgPropertiesPage page;
  if (!OpenPage(resources, L"GUI_FONTS", page)) return;
  if (page.SeekChild(L"gui_ratio")) Ratio = page.GetChildAttribute<int32_t>(L"value", 1, -1);
  const std::pair<const wchar_t*, TvsFontEntry*> entries[] = {
      {L"fntTitle", &Title}, {L"fntInfo", &Info}, {L"fntDefault", &Default}, {L"fntFooter", &Footer}, {L"fntGrid", &Grid}};
  for (const auto& [name, entry] : entries) {
    if (!page.SeekChild(name)) continue;
    entry->Name = platform::WideToUtf8(page.GetChildAttribute<std::wstring>(L"name", L"", -1));
    entry->Size = page.GetChildAttribute<int32_t>(L"height", 8, -1);
  }
}

std::wstring TfuncConvertFrom<System::WideString>::operator()(const System::WideString& text) const {
  return text.substr(0, text.find(L'\0'));
}

std::wstring TfuncConvertFrom<System::AnsiString>::operator()(const System::AnsiString& text) const {
  return platform::Utf8ToWide(text);
}

System::AnsiString TfuncConvertTo<System::AnsiString>::operator()(const std::wstring& text) const {
  return text.empty() ? System::AnsiString() : platform::WideToUtf8(text);
}

}  // namespace app
