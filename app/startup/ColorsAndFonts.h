// The named colours and fonts of the pages GUI_COLORS and GUI_FONTS: TsgColors and
// TsgFonts<TFont> that the start-up record builds and hands out, TvsColors and TvsFonts that
// the program entry builds for the main window and the About window (with the GUI scale
// factor "gui_ratio"), and three small text converters.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/vcl/Colors.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/SystemTypes.h"

namespace app {

class TResourceInitialization;

class TsgColors {
 public:
  explicit TsgColors(TResourceInitialization* resources);
  virtual ~TsgColors() = default;
  // The colour stored under the name (exact, letter case included), else the default.
  virtual TColor GetColor(const std::wstring& name, TColor fallback) const;
  virtual TColor GetColor(const std::wstring& name) const { return GetColor(name, 0); }
  int Count() const { return static_cast<int>(colors_.size()); }

 private:
  std::map<std::wstring, TColor> colors_;
};

class TvsColors {
 public:
  explicit TvsColors(TResourceInitialization* resources);
  virtual ~TvsColors() = default;
  virtual TColor GetColor(const std::wstring& name, TColor fallback) const;

 private:
  std::map<std::wstring, TColor> colors_;
};

template <class F>
class TsgFonts;

template <>
class TsgFonts<TFont> {
 public:
  explicit TsgFonts(TResourceInitialization* resources);
  virtual ~TsgFonts() = default;
  TsgFonts(const TsgFonts&) = delete;
  TsgFonts& operator=(const TsgFonts&) = delete;
  // Copies name, colour, height, pitch and style (not the character set) of the named font;
  // false, destination untouched, when the name is not held.
  virtual bool CopyFont(const std::wstring& name, TFont* destination) const;
  // The named font, else "fntDefault"; never null; the object keeps it.
  virtual TFont* GetFont(const std::wstring& name) const;
  virtual int32_t GetRatio() const { return ratio_; }

 private:
  std::map<std::wstring, std::unique_ptr<TFont>> fonts_;
  int32_t ratio_ = 1;
};

// A font entry of the main window and the About window: its name and size.
struct TvsFontEntry {
  System::AnsiString Name = "MS Sans Serif";
  int32_t Size = 8;
};

class TvsFonts {
 public:
  explicit TvsFonts(TResourceInitialization* resources);
  TvsFontEntry Title, Info, Default, Footer, Grid;
  int32_t Ratio = 1;
};

template <class T>
class TfuncConvertFrom;
template <class T>
class TfuncConvertTo;

template <>
class TfuncConvertFrom<System::WideString> {
 public:
  virtual ~TfuncConvertFrom() = default;
  // The characters up to the first NUL.
  virtual std::wstring operator()(const System::WideString& text) const;
};

template <>
class TfuncConvertFrom<System::AnsiString> {
 public:
  virtual ~TfuncConvertFrom() = default;
  virtual std::wstring operator()(const System::AnsiString& text) const;
};

template <>
class TfuncConvertTo<System::AnsiString> {
 public:
  virtual ~TfuncConvertTo() = default;
  virtual System::AnsiString operator()(const std::wstring& text) const;
};

}  // namespace app
